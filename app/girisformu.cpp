#include "girisformu.h"

#include "animatedpicture.h"
#include "baglantiu.h"
#include "beklesinu.h"
#include "checkconnection.h"
#include "config.h"
#include "connection.h"
#include "dosyaindiru.h"
#include "exitseam.h"
#include "formistekyeniu.h"
#include "messageseam.h"
#include "proxim.h"
#include "uppercaseedit.h"
#include "utils.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGraphicsDropShadowEffect>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QStringList>
#include <QSvgRenderer>

#include <memory>

// Outside any namespace, as the macro requires.
static void initLoginAssets()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(girisformu);
        return true;
    }();
    Q_UNUSED(done);
}

namespace {

const QString SettingsSection = QStringLiteral("kullanici");
const QString KeyIsim = QStringLiteral("isim");
const QString KeySifre = QStringLiteral("sifre");
const QString KeyHatirla = QStringLiteral("hatırla");

std::function<int(Tdosyaindir &, int)> &updateRunner()
{
    static std::function<int(Tdosyaindir &, int)> runner;
    return runner;
}

// A section header "[name]" gives the name, anything else an empty text.
QString sectionName(const QString &line)
{
    const QString t = line.trimmed();
    if (t.size() >= 2 && t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
        return t.mid(1, t.size() - 2).trimmed();
    return {};
}

// "key=value" split at the first "="; false for comments and other lines.
bool keyValue(const QString &line, QString &key, QString &value)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
        return false;
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return false;
    key = t.left(eq).trimmed();
    value = t.mid(eq + 1).trimmed();
    return true;
}

bool readLines(const QString &path, QStringList &lines)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    QString text = QString::fromUtf8(f.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return true;
}

// Integer reading of a Boolean: "0" false, other numbers true, the rest the
// default.
bool boolValue(const QString &text, bool fallback)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok ? n != 0 : fallback;
}

QFont arial(int points, bool bold)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

QPixmap background(QSize size)
{
    initLoginAssets();
    QSvgRenderer renderer(QStringLiteral(":/login/background.svg"));
    const qreal dpr = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pm(size * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::white);
    if (renderer.isValid()) {
        QPainter p(&pm);
        renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    return pm;
}

} // namespace

QString ExternalAddress()
{
    return QStringLiteral("127.0.0.1");
}

QString SettingsFilePath()
{
    return AppDataFolder() + QStringLiteral("/ayar.ini");
}

bool ReadLoginSettings(const QString &path, LoginSettings &out)
{
    QStringList lines;
    if (!readLines(path, lines))
        return false;
    LoginSettings s;
    bool inSection = false;
    for (const QString &line : std::as_const(lines)) {
        const QString section = sectionName(line);
        if (!section.isEmpty()) {
            inSection = section.compare(SettingsSection, Qt::CaseInsensitive) == 0;
            continue;
        }
        QString key, value;
        if (!inSection || !keyValue(line, key, value))
            continue;
        if (key.compare(KeyIsim, Qt::CaseInsensitive) == 0)
            s.isim = value;
        else if (key.compare(KeySifre, Qt::CaseInsensitive) == 0)
            s.sifre = value;
        else if (key == KeyHatirla)
            s.hatirla = boolValue(value, true);
    }
    out = s;
    return true;
}

bool WriteLoginSettings(const QString &path, const LoginSettings &settings)
{
    QStringList lines;
    readLines(path, lines); // a missing file starts empty

    const QList<QPair<QString, QString>> values{
        {KeyIsim, settings.isim},
        {KeySifre, settings.sifre},
        {KeyHatirla, settings.hatirla ? QStringLiteral("1") : QStringLiteral("0")},
    };
    QList<bool> written(values.size(), false);

    // Replace the keys where they stand; add missing ones at the section end.
    qsizetype sectionEnd = -1;
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString section = sectionName(lines.at(i));
        if (!section.isEmpty()) {
            inSection = section.compare(SettingsSection, Qt::CaseInsensitive) == 0;
            if (inSection)
                sectionEnd = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        QString key, value;
        if (keyValue(lines.at(i), key, value)) {
            for (qsizetype k = 0; k < values.size(); ++k) {
                if (key.compare(values.at(k).first, Qt::CaseInsensitive) == 0) {
                    lines[i] = values.at(k).first + QLatin1Char('=') + values.at(k).second;
                    written[k] = true;
                }
            }
        }
        if (!lines.at(i).trimmed().isEmpty())
            sectionEnd = i + 1;
    }
    if (sectionEnd < 0) {
        if (!lines.isEmpty() && !lines.constLast().trimmed().isEmpty())
            lines.append(QString());
        lines.append(QLatin1Char('[') + SettingsSection + QLatin1Char(']'));
        sectionEnd = lines.size();
    }
    for (qsizetype k = 0; k < values.size(); ++k) {
        if (!written.at(k))
            lines.insert(sectionEnd++, values.at(k).first + QLatin1Char('=') + values.at(k).second);
    }

    // Written whole or not at all: a broken write must not lose the old file.
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
    return f.commit();
}

bool FetchLoginRecord(const qv::SQLConnection &bag, const QString &idsi, TSonucBilgisi &into)
{
    const std::unique_ptr<qv::SQLConnection> clone = bag.clone();
    if (!qv::CheckConnection(*clone, false))
        return false;
    try {
        clone->open();
        TServerMethods1Client proxy(clone->DBXConnection_());
        const TSonucBilgisi *answer = proxy.BuyukGetir(idsi);
        // A null answer is no login record; it must not pass as one.
        if (!answer) {
            clone->close();
            return false;
        }
        into.Kopyala(*answer);
    } catch (...) {
        clone->close();
        return false;
    }
    clone->close();

    into.setBilgiSayarAdi(ComputerName());
    into.setBilgisayarKullanici(WindowsUserName());
    into.setIcip(LocalIpAddress());
    into.setBILGISAYARID(MachineId());
    into.setDisip(ExternalAddress());
    return true;
}

Tgirisform::Tgirisform(QWidget *owner)
    : QDialog(nullptr)
{
    Q_UNUSED(owner);
    setObjectName(QStringLiteral("girisform"));
    setWindowTitle(QStringLiteral("Giriş"));
    // A tool-window border: a title with a close button, nothing else.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(368, 550);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 368, 550);
    Image1->setPixmap(background(QSize(368, 550)));

    RxLabel1 = new QLabel(this);
    RxLabel1->setObjectName(QStringLiteral("RxLabel1"));
    RxLabel1->setGeometry(0, 112, 368, 160);
    RxLabel1->setAlignment(Qt::AlignCenter);
    RxLabel1->setFont(arial(15, true));
    RxLabel1->setText(QStringLiteral("Quorvel Otomotiv Yedek Parça\n"
                                     "Oto Sanayi Sitesi 12. Blok No:34\n"
                                     "Maslak / İSTANBUL\n"
                                     "info@quorvel.com.tr\n"
                                     "Tel: 0212 555 01 23\n"
                                     "Faks: 0212 555 01 24"));
    {
        QPalette p = RxLabel1->palette();
        p.setColor(QPalette::WindowText, Qt::black);
        RxLabel1->setPalette(p);
        auto *shadow = new QGraphicsDropShadowEffect(RxLabel1);
        shadow->setColor(Qt::white);
        shadow->setOffset(1, 1);
        shadow->setBlurRadius(0);
        RxLabel1->setGraphicsEffect(shadow);
    }

    const QColor captionColour(0xE2, 0x0A, 0x17); // 1510114, blue-green-red order
    const auto caption = [this, &captionColour](const char *name, const QString &text, int y) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(40, y, 288, 22);
        l->setAutoFillBackground(true);
        QPalette p = l->palette();
        p.setColor(QPalette::Window, captionColour);
        p.setColor(QPalette::WindowText, Qt::white);
        l->setPalette(p);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        return l;
    };
    const auto edit = [this](const char *name, int y) {
        auto *e = new qv::UpperCaseEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setGeometry(40, y, 288, 28);
        e->installEventFilter(this);
        return e;
    };

    Label1 = caption("Label1", QStringLiteral(" Kullanıcı Adı:"), 318);
    adi = edit("adi", 340);
    Label2 = caption("Label2", QStringLiteral(" Şifre:"), 378);
    sifre = edit("sifre", 400);
    sifre->setEchoMode(QLineEdit::Password);
    // The platform's bullet would hide the "*" the users know.
    sifre->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));

    benihatirla = new QCheckBox(QStringLiteral("Beni hatırla"), this);
    benihatirla->setObjectName(QStringLiteral("benihatirla"));
    benihatirla->setGeometry(40, 436, 288, 22);
    benihatirla->setChecked(true);
    {
        QPalette p = benihatirla->palette();
        p.setColor(QPalette::WindowText, Qt::white);
        benihatirla->setPalette(p);
    }

    const auto button = [this](const char *name, const QString &text, int x) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(x, 468, 138, 34);
        // Enter belongs to the edits' own handling, not to a default button.
        b->setAutoDefault(false);
        b->setDefault(false);
        return b;
    };
    Button1 = button("Button1", QStringLiteral("Giriş"), 40);
    Button2 = button("Button2", QStringLiteral("Vazgeç"), 190);
    connect(Button1, &QPushButton::clicked, this, &Tgirisform::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tgirisform::Button2Click);

    RxGIFAnimator1 = new qv::AnimatedPicture(this);
    RxGIFAnimator1->setObjectName(QStringLiteral("RxGIFAnimator1"));
    RxGIFAnimator1->setGeometry(170, 512, 28, 28);
    RxGIFAnimator1->setVisible(false);

    setTabOrder(adi, sifre);
    setTabOrder(sifre, benihatirla);
    setTabOrder(benihatirla, Button1);
    setTabOrder(Button1, Button2);

    FormCreate();
}

Tgirisform::~Tgirisform() = default;

void Tgirisform::setUpdateWindowRunner(std::function<int(Tdosyaindir &, int)> runner)
{
    updateRunner() = std::move(runner);
}

void Tgirisform::FormCreate()
{
    ServerHostName = QStringLiteral(QV_SERVER_HOST);
    PictureUrlBase = QStringLiteral(QV_PICTURE_URL_BASE);
    WebSiteBase = QStringLiteral(QV_WEBSITE_BASE);
    idsi = MachineId();
    LoadSettings();
}

void Tgirisform::LoadSettings()
{
    LoginSettings s;
    if (!ReadLoginSettings(SettingsFilePath(), s))
        return;
    benihatirla->setChecked(s.hatirla);
    if (benihatirla->isChecked()) {
        adi->setText(s.isim);
        sifre->setText(s.sifre);
    }
}

void Tgirisform::SaveSettings()
{
    WriteLoginSettings(SettingsFilePath(),
                       LoginSettings{adi->text(), sifre->text(), benihatirla->isChecked()});
}

void Tgirisform::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen()) {
        QRect r = frameGeometry();
        r.moveCenter(s->availableGeometry().center());
        move(r.topLeft());
    }
}

bool Tgirisform::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (watched == adi) {
                adiKeyPress(key);
                return true;
            }
            if (watched == sifre) {
                sifreKeyPress(key);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool Tgirisform::EmptyFieldWarning(qv::UpperCaseEdit *edit, const QString &message)
{
    if (!edit->text().trimmed().isEmpty())
        return false;
    QApplication::beep();
    ShowMessageDialog(
        message, int(qv::DialogKind::Warning), qv::buttonSet({qv::mbOK}), qv::mbOK, this);
    edit->selectAll();
    edit->setFocus();
    return true;
}

void Tgirisform::adiKeyPress(QKeyEvent *event)
{
    Q_UNUSED(event);
    if (EmptyFieldWarning(adi, QStringLiteral("Lütfen kullanıcı adını giriniz !")))
        return;
    sifre->selectAll();
    sifre->setFocus();
}

void Tgirisform::sifreKeyPress(QKeyEvent *event)
{
    Q_UNUSED(event);
    if (EmptyFieldWarning(sifre, QStringLiteral("Lütfen kullanıcı şifresini giriniz !")))
        return;
    // A login already under way is not started twice from the keyboard.
    if (Button1->isEnabled())
        Button1Click();
}

void Tgirisform::Button1Click()
{
    Button1->setText(QStringLiteral("Bağlanıyor..."));
    Button1->setEnabled(false);
    RxGIFAnimator1->setVisible(true);
    RxGIFAnimator1->setAnimate(true);

    auto address = std::make_shared<QString>();
    QPointer<Tgirisform> self(this);
    Async([address] { *address = ExternalAddress(); })->Await([self, address] {
        if (!self)
            return;
        self->Button1->setText(QStringLiteral("Giriş!"));
        self->RxGIFAnimator1->setVisible(false);
        self->RxGIFAnimator1->setAnimate(false);
        self->Devamet(*address);
    });
}

void Tgirisform::Devamet(const QString &address)
{
    Bilgim->setDisip(address);
    bagim->params()[QStringLiteral("HostName")] = ServerHostName;

    auto fetched = std::make_shared<bool>(false);
    QPointer<Tgirisform> self(this);
    qv::SQLConnection *bag = bagim;
    TSonucBilgisi *record = Bilgim;
    const QString id = idsi;
    Async([fetched, bag, record, id] {
        *fetched = FetchLoginRecord(*bag, id, *record);
    })->Await([self, fetched] {
        if (self)
            self->ResultStep(*fetched);
    });
}

void Tgirisform::BackToIdle()
{
    Button1->setEnabled(true);
    adi->selectAll();
    adi->setFocus();
}

void Tgirisform::ResultStep(bool fetched)
{
    const qv::DialogButtons ok = qv::buttonSet({qv::mbOK});
    if (!fetched) {
        ShowMessageDialog(QStringLiteral("Bağlantı Kurulamadı !"),
                          int(qv::DialogKind::Error),
                          ok,
                          qv::mbOK,
                          this);
        BackToIdle();
        return;
    }
    if (Bilgim->Version() != ClientVersion)
        StartUpdate();
    if (!Bilgim->Varmi()) {
        ShowRequestForm();
        qv::terminateProcess(0);
        return;
    }
    if (adi->text() == Bilgim->ADI() && sifre->text() == Bilgim->SIFRE()) {
        SaveSettings();
        if (Bilgim->AKTIF() == 1) {
            const int type = Bilgim->MusteriTipi();
            if ((type == 1 || type == 2) && !ChooseCustomer()) {
                qv::terminateProcess(0);
                return;
            }
            accept();
            return;
        }
    }
    ShowMessageDialog(QStringLiteral("Kullanıcı Adı ve Şifre Hatalı Lütfen Tekrar Deneyiniz !"),
                      int(qv::DialogKind::Warning),
                      ok,
                      qv::mbOK,
                      this);
    BackToIdle();
}

void Tgirisform::StartUpdate()
{
    const int version = Bilgim->Version();
    std::unique_ptr<Tdosyaindir> window(Tdosyaindir::Yeni(this, version));
    window->bag = bagim;
    if (updateRunner())
        updateRunner()(*window, version);
    else
        window->exec();
}

void Tgirisform::ShowRequestForm()
{
    auto window = std::make_unique<Tformistekyeni>(this);
    window->setWindowTitle(QStringLiteral("Quorvel Otomotiv B2B İstek Formu"));
    window->Navigate(WebSiteBase + QStringLiteral("formmailgonder.aspx?carino=0&kullanici= &id=")
                     + MachineId());
    window->exec();
}

bool Tgirisform::ChooseCustomer()
{
    // The customer selection window is not part of this version yet; a
    // salesperson cannot work without a customer, so this counts as no choice.
    ShowMessageDialog(QStringLiteral("Müşteri seçimi bu sürümde henüz kullanılamıyor."),
                      int(qv::DialogKind::Information),
                      qv::buttonSet({qv::mbOK}),
                      qv::mbOK,
                      this);
    return false;
}

void Tgirisform::Button2Click()
{
    qv::terminateProcess(0);
}
