#include "webpages.h"

#include "database.h"
#include "dataset.h"
#include "errors.h"
#include "sqlutil.h"

#include <QBuffer>
#include <QDateTime>
#include <QImage>

#include <array>

namespace qv {

namespace {

constexpr int kTurIstekFormu = 2; // GELEN_MAIL.TUR of a request from the web form
constexpr std::size_t kInstallerSize = 320 * 1024;

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

QString percentDecode(std::string_view s, bool plusIsBlank)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(s.size()));
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '+' && plusIsBlank) {
            bytes.append(' ');
        } else if (c == '%' && i + 2 < s.size() && hexDigit(s[i + 1]) >= 0
                   && hexDigit(s[i + 2]) >= 0) {
            bytes.append(char(hexDigit(s[i + 1]) * 16 + hexDigit(s[i + 2])));
            i += 2;
        } else {
            bytes.append(c);
        }
    }
    return QString::fromUtf8(bytes);
}

WebReply html(int status, const QString &page, std::string note = {})
{
    return {status, "text/html; charset=utf-8", page.toStdString(), std::move(note)};
}

QString pageFrame(const QString &title, const QString &content)
{
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"tr\"><head><meta charset=\"utf-8\">"
                          "<title>%1</title><style>"
                          "body{font-family:Tahoma,sans-serif;margin:24px;color:#434c58}"
                          "table{border-collapse:collapse}td{padding:4px 8px}"
                          "input,textarea{width:320px}.hata{color:#b00020}"
                          "</style></head><body>\n%2\n</body></html>\n")
        .arg(htmlEscape(title), content);
}

WebReply notFound(std::string_view path)
{
    return html(
        404,
        pageFrame(QStringLiteral("Bulunamadı"),
                  QStringLiteral("<h1>Sayfa bulunamadı</h1><p>%1</p>")
                      .arg(htmlEscape(QString::fromUtf8(path.data(), qsizetype(path.size()))))));
}

// --- stock pictures ----------------------------------------------------------

WebReply picture(DevDatabase &db, const QMap<QString, QString> &query)
{
    const QString id = query.value(QStringLiteral("id"));
    bool ok = !id.isEmpty() && id.size() <= 9;
    for (QChar c : id)
        ok = ok && c >= u'0' && c <= u'9';
    const int stokno = ok ? id.toInt(&ok) : 0;
    if (!ok)
        return html(400,
                    pageFrame(QStringLiteral("Hatalı istek"),
                              QStringLiteral("<p>Geçersiz stok numarası</p>")),
                    "bad id");
    const QByteArray jpeg = db.stockPicture(stokno);
    if (jpeg.isEmpty())
        return {404, "text/plain; charset=utf-8", "no picture\n", "no picture"};
    if (!webPictureIsPng(stokno))
        return {200, "image/jpeg", jpeg.toStdString(), "jpeg"};
    QImage image;
    if (!image.loadFromData(jpeg, "JPEG"))
        throw Error("The picture of item " + std::to_string(stokno) + " cannot be decoded");
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        throw Error("The picture of item " + std::to_string(stokno) + " cannot be encoded");
    return {200, "image/png", png.toStdString(), "png"};
}

// --- payment page ------------------------------------------------------------

WebReply paymentPage(const QMap<QString, QString> &query)
{
    const auto row = [&](const QString &label, const QString &key) {
        return QStringLiteral("<tr><td>%1</td><td id=\"%2\">%3</td></tr>")
            .arg(label, key, htmlEscape(query.value(key)));
    };
    const QString content = QStringLiteral("<h1>Quorvel Otomotiv Sanal Pos</h1>"
                                           "<p>Geliştirme ortamı: kart bilgisi alınmaz, ödeme "
                                           "yapılmaz.</p><table>")
                            + row(QStringLiteral("Cari No:"), QStringLiteral("carino"))
                            + row(QStringLiteral("Şube:"), QStringLiteral("sube"))
                            + row(QStringLiteral("Firma:"), QStringLiteral("firmasi"))
                            + row(QStringLiteral("Bakiye:"), QStringLiteral("bakiye"))
                            + QStringLiteral("</table>");
    return html(200, pageFrame(QStringLiteral("Sanal Pos"), content));
}

// --- request form ------------------------------------------------------------

struct FormField
{
    const char *name; // the GELEN_MAIL column and the form's field name
    const char *label;
    bool required;
};

constexpr std::array<FormField, 15> kFormFields{{
    {"FIRMAADI", "Firma Adı:", true},
    {"ADRES1", "Adres:", false},
    {"ADRES2", "Adres2:", false},
    {"ILCE", "İlçe:", false},
    {"SEHIR", "Şehir:", false},
    {"TELEFON", "Telefon:", true},
    {"FAX", "Fax:", false},
    {"VD", "Vergi Dairesi:", false},
    {"VN", "Vergi No:", false},
    {"YETKILI", "Yetkili:", true},
    {"KULLANICIADI", "Kullanıcı Adı:", false},
    {"SIFRE", "Şifre:", false},
    {"MAIL", "Mail:", false},
    {"KARGOAMBAR", "Kargo Ambar:", false},
    {"KONU", "Açıklama:", false},
}};

WebReply requestForm(int status,
                     const QMap<QString, QString> &values,
                     const QString &id,
                     const QString &problem)
{
    QString content = QStringLiteral("<h1>Bilgisayar Kayıt İsteği</h1>"
                                     "<p>Bu bilgisayar henüz bir cari hesaba kayıtlı değil. "
                                     "Bilgilerinizi gönderin, kaydınız yapılsın.</p>"
                                     "<p id=\"bilgisayarid\">Bilgisayar ID: %1</p>")
                          .arg(htmlEscape(id));
    if (!problem.isEmpty())
        content += QStringLiteral("<p class=\"hata\" id=\"hata\">%1</p>").arg(htmlEscape(problem));
    content += QStringLiteral("<form id=\"istekformu\" method=\"post\" "
                              "action=\"formmailgonder.aspx\" accept-charset=\"utf-8\">"
                              "<input type=\"hidden\" name=\"id\" value=\"%1\"><table>")
                   .arg(htmlEscape(id));
    for (const FormField &f : kFormFields) {
        const QString name = QString::fromLatin1(f.name);
        const QString value = htmlEscape(values.value(name));
        const QString req = f.required ? QStringLiteral(" required") : QString();
        const QString input
            = name == u"KONU"
                  ? QStringLiteral("<textarea name=\"%1\" rows=\"4\">%2</textarea>")
                        .arg(name, value)
                  : QStringLiteral("<input name=\"%1\" value=\"%2\"%3>").arg(name, value, req);
        content += QStringLiteral("<tr><td>%1</td><td>%2</td></tr>")
                       .arg(QString::fromUtf8(f.label), input);
    }
    content += QStringLiteral("</table><p><button type=\"submit\" id=\"gonder\">Gönder</button>"
                              "</p></form>");
    return html(status, pageFrame(QStringLiteral("Quorvel Otomotiv B2B İstek Formu"), content));
}

WebReply storeRequest(DevDatabase &db,
                      const QMap<QString, QString> &query,
                      std::string_view contentType,
                      std::string_view body)
{
    if (contentType.substr(0, 33) != "application/x-www-form-urlencoded")
        return {415, "text/plain; charset=utf-8", "form data expected\n", "not a form"};
    const QMap<QString, QString> form = decodeQuery(body, true);
    const QString id
        = form.value(QStringLiteral("id"), query.value(QStringLiteral("id"))).trimmed();

    QStringList missing;
    if (id.isEmpty())
        missing << QStringLiteral("Bilgisayar ID");
    for (const FormField &f : kFormFields)
        if (f.required && form.value(QString::fromLatin1(f.name)).trimmed().isEmpty())
            missing << QString::fromUtf8(f.label).chopped(1);
    if (!missing.isEmpty()) {
        WebReply reply = requestForm(400,
                                     form,
                                     id,
                                     QStringLiteral("Lütfen doldurunuz: ")
                                         + missing.join(QStringLiteral(", ")));
        reply.note = "incomplete";
        return reply;
    }

    QString columns = QStringLiteral("TUR, TARIH, BILGISAYARID, BASLIK");
    QString marks = QStringLiteral("?, ?, ?, ?");
    for (const FormField &f : kFormFields) {
        columns += QStringLiteral(", ") + QString::fromLatin1(f.name);
        marks += QStringLiteral(", ?");
    }
    DevQuery q(db.connection(),
               QStringLiteral("INSERT INTO GELEN_MAIL (%1) VALUES (%2)").arg(columns, marks));
    int pos = 0;
    q.bind(pos++, kTurIstekFormu);
    q.bind(pos++, toDayNumber(QDateTime::currentDateTime()));
    q.bind(pos++, id);
    q.bind(pos++, QStringLiteral("İstek Formu"));
    for (const FormField &f : kFormFields)
        q.bind(pos++, form.value(QString::fromLatin1(f.name), QStringLiteral("")));
    q.exec();

    return html(200,
                pageFrame(QStringLiteral("Teşekkürler"),
                          QStringLiteral("<h1 id=\"tesekkur\">Teşekkür ederiz</h1><p>İsteğiniz "
                                         "alındı. Bilgisayarınız kaydedildiğinde size "
                                         "haber verilecektir.</p>")),
                "stored");
}

} // namespace

WebReply answerWebRequest(DevDatabase &db,
                          std::string_view method,
                          std::string_view target,
                          std::string_view contentType,
                          std::string_view body)
{
    std::string_view path = target;
    std::string_view queryText;
    if (const auto q = target.find('?'); q != std::string_view::npos) {
        path = target.substr(0, q);
        queryText = target.substr(q + 1);
    }
    const QMap<QString, QString> query = decodeQuery(queryText, false);
    const bool get = method == "GET";

    if (path == "/resimgoster.ashx" && get)
        return picture(db, query);
    if (path == "/brevakart.html" && get)
        return paymentPage(query);
    if (path == "/formmailgonder.aspx") {
        if (get)
            return requestForm(200, {}, query.value(QStringLiteral("id")), {});
        if (method == "POST")
            return storeRequest(db, query, contentType, body);
    }
    if ((path == "/QuorvelSetup.exe" || path == "/exe/QuorvelSetup.exe") && get)
        return {200, "application/octet-stream", installerBytes(), {}};
    if (path == "/resimgoster.ashx" || path == "/brevakart.html" || path == "/QuorvelSetup.exe"
        || path == "/exe/QuorvelSetup.exe")
        return {405, "text/plain; charset=utf-8", "method not allowed\n", "method"};
    return notFound(path);
}

bool webPictureIsPng(int stokno)
{
    return stokno % 2 == 0;
}

const std::string &installerBytes()
{
    static const std::string bytes = [] {
        std::string s = "#!/bin/sh\n"
                        "# Quorvel B2B kurulum programının geliştirme sürümü: hiçbir şey kurmaz.\n"
                        "echo \"Quorvel B2B kurulumu başladı $*\"\n"
                        "exit 0\n";
        // Comment lines after the exit, so the shell never reads them.
        std::size_t n = 0;
        while (s.size() < kInstallerSize) {
            std::string line = "# " + std::to_string(n++) + " ";
            line.resize(63, '-');
            line += '\n';
            s += line;
        }
        s.resize(kInstallerSize - 1);
        s += '\n';
        return s;
    }();
    return bytes;
}

QString htmlEscape(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += QStringLiteral("&amp;");
            break;
        case u'<':
            out += QStringLiteral("&lt;");
            break;
        case u'>':
            out += QStringLiteral("&gt;");
            break;
        case u'"':
            out += QStringLiteral("&quot;");
            break;
        case u'\'':
            out += QStringLiteral("&#39;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QMap<QString, QString> decodeQuery(std::string_view query, bool plusIsBlank)
{
    QMap<QString, QString> result;
    while (!query.empty()) {
        const auto amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view{} : query.substr(amp + 1);
        if (pair.empty())
            continue;
        const auto eq = pair.find('=');
        const QString key = percentDecode(pair.substr(0, eq), plusIsBlank);
        const QString value = eq == std::string_view::npos
                                  ? QString()
                                  : percentDecode(pair.substr(eq + 1), plusIsBlank);
        if (!result.contains(key))
            result.insert(key, value);
    }
    return result;
}

} // namespace qv
