// Builds each window of the client that exists, fills it with a few demo
// rows and grabs it to a PNG file, without a display (offscreen platform).
//
//   qv-renderwindows <output folder>

#include "Unit1.h"
#include "girisformu.h"

#include "dataset.h"
#include "dbgrid.h"
#include "fonts.h"
#include "messageseam.h"
#include "theme.h"
#include "utils.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QTabWidget>
#include <QTimer>

#include <clocale>
#include <cstdio>

namespace {

void fillDemoStock(qv::Dataset &stok)
{
    qv::TableData t;
    using qv::FieldType;
    const std::pair<const char *, FieldType> fields[] = {
        {"DURUM", FieldType::Integer},
        {"OEM1", FieldType::String},
        {"BARKOD", FieldType::String},
        {"ADI", FieldType::String},
        {"STOK_STOKNO", FieldType::Integer},
        {"RESIM", FieldType::Integer},
        {"MARKA", FieldType::String},
        {"MODEL", FieldType::String},
        {"OZELKOD", FieldType::String},
        {"LISTEFIYAT1", FieldType::Float},
        {"KAMPFIYAT", FieldType::Float},
        {"Y", FieldType::Integer},
        {"K", FieldType::Integer},
        {"INDIRIMYAZI", FieldType::String},
        {"NETFIYAT", FieldType::Float},
        {"KDVDAHIL", FieldType::Float},
        {"IND1", FieldType::Float},
    };
    for (const auto &[name, type] : fields)
        t.addField({QString::fromLatin1(name), type, 0});
    const auto row = [&t](int durum,
                          const char *oem,
                          const char *barkod,
                          const QString &adi,
                          int no,
                          const char *marka,
                          const QString &model,
                          const char *ozel,
                          double liste,
                          double kamp,
                          const char *ind,
                          double net) {
        t.appendRow({durum,
                     QString::fromLatin1(oem),
                     QString::fromLatin1(barkod),
                     adi,
                     no,
                     1,
                     QString::fromUtf8(marka),
                     model,
                     QString::fromLatin1(ozel),
                     liste,
                     kamp,
                     0,
                     kamp > 0 ? 1 : 0,
                     QString::fromLatin1(ind),
                     net,
                     net * 1.2,
                     25.0});
    };
    row(1,
        "7700274177",
        "QV-10231",
        QStringLiteral("FREN BALATASI ÖN TAKIM"),
        10231,
        "BREVA",
        QStringLiteral("CLIO IV 1.5 DCI"),
        "A1",
        1450.0,
        0,
        "25+10",
        978.75);
    row(3,
        "1K0698151",
        "QV-10877",
        QStringLiteral("FREN DİSKİ ÖN HAVALI 288MM"),
        10877,
        "BREVA",
        QStringLiteral("GOLF VII 1.6 TDI"),
        "A1",
        2210.5,
        1990.0,
        "25+5",
        1575.38);
    row(2,
        "55188055",
        "QV-20411",
        QStringLiteral("DEBRİYAJ SETİ BASKI+DİSK+RULMAN"),
        20411,
        "KORTEKS",
        QStringLiteral("DOBLO 1.3 MULTIJET"),
        "B2",
        6890.0,
        0,
        "20",
        5512.0);
    row(0,
        "6Q0407151",
        "QV-30552",
        QStringLiteral("SALINCAK ALT SOL"),
        30552,
        "MARTAŞ",
        QStringLiteral("POLO 1.4"),
        "C",
        980.0,
        0,
        "25",
        735.0);
    row(4,
        "8200768913",
        "QV-41007",
        QStringLiteral("TRİGER SETİ DEVİRDAİMLİ"),
        41007,
        "BREVA",
        QStringLiteral("MEGANE III 1.5 DCI"),
        "A1",
        4375.25,
        3990.0,
        "25+10+5",
        2805.46);
    row(1,
        "04E115561H",
        "QV-52290",
        QStringLiteral("YAĞ FİLTRESİ"),
        52290,
        "FİLTRON",
        QStringLiteral("OCTAVIA III 1.4 TSI"),
        "D",
        185.9,
        0,
        "30",
        130.13);
    stok.setData(std::move(t));
    qv::FormatFloatFields(stok);
}

bool save(QWidget &w, const QString &path)
{
    const QPixmap pm = w.grab();
    if (!pm.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s (%dx%d)\n", qPrintable(path), pm.width(), pm.height());
    return true;
}

bool renderMainWindow(const QString &path, int width, int height, bool outerWidth)
{
    TForm1 form;
    form.ApplyTitles();
    form.SetWebSiteCaption();
    form.kullanicilbl->setText(QStringLiteral("DEMO KULLANICI"));
    form.cariadilbl->setText(QStringLiteral("ÖRNEK OTO YEDEK PARÇA LTD. ŞTİ."));
    form.saticilbl->setText(
        QStringLiteral("Ayşe Yılmaz Telefonu: 0212 555 01 02 email: ayse@quorvel.com.tr"));
    fillDemoStock(*form.stok);
    form.sPageControl1->setTabText(
        0, TabCountCaption(int(form.stok->recordCount()), QStringLiteral("Stok Listesi")));
    form.setScreenWidth(width);
    form.show();
    QApplication::processEvents();
    // The design width is the client area; the narrow check is the outer width.
    if (outerWidth) {
        const int frame = form.frameGeometry().width() - form.width();
        form.resize(width - frame, height);
    } else {
        form.resize(width, height);
    }
    QApplication::processEvents();
    form.LayoutStockGrid(); // the size settles after the first show
    QApplication::processEvents();
    const bool ok = save(form, path);
    form.hide();
    return ok;
}

bool renderMessageDialog(const QString &path)
{
    bool ok = false;
    qv::MessageSeam::setFontPointSize(15);
    qv::MessageSeam::setInspector([&](QMessageBox *box) {
        box->show();
        QApplication::processEvents();
        ok = save(*box, path);
        QTimer::singleShot(0, box, [box] { box->reject(); });
    });
    ShowMessageDialog(QStringLiteral("Programdan Çıkmak İstiyor musunuz ?"),
                      int(qv::DialogKind::Question),
                      qv::buttonSet({qv::mbYes, qv::mbNo}),
                      qv::mbYes);
    qv::MessageSeam::setInspector(nullptr);
    return ok;
}

bool renderLoginWindow(const QString &path)
{
    Tgirisform login(nullptr);
    login.show();
    QApplication::processEvents();
    const bool ok = save(login, path);
    login.hide();
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    qv::installFontSubstitutes();
    qv::applyStyle(app);

    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screens");
    QDir().mkpath(out);
    bool ok = true;
    ok &= renderMainWindow(out + QStringLiteral("/mainwindow.png"), 1350, 652, false);
    ok &= renderMainWindow(out + QStringLiteral("/mainwindow-1152.png"), 1152, 652, true);
    ok &= renderMessageDialog(out + QStringLiteral("/messagedialog.png"));
    ok &= renderLoginWindow(out + QStringLiteral("/loginwindow.png"));
    return ok ? 0 : 1;
}
