#include "girisformu.h"

#include "Unit1.h"
#include "baglantiu.h"
#include "connection.h"
#include "dbgrid.h"
#include "devserverfixture.h"
#include "dosyaindiru.h"
#include "exitseam.h"
#include "formistekyeniu.h"
#include "messageseam.h"
#include "uppercaseedit.h"
#include "utils.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace {

// The embedded browser of the request form cannot use its sandbox when the
// tests run as root; this has to be in place before it first starts.
const bool browserEnvironment = [] {
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    return true;
}();

// Runs the event loop until done() holds or a generous deadline passes.
bool waitFor(const std::function<bool()> &done)
{
    QDeadlineTimer deadline(60000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// Calls act with the first modal window of type W, once, from the event loop.
template<typename W>
void whenModal(const std::function<void(W &)> &act)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto *w = dynamic_cast<W *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(*w);
        }
    });
    timer->start();
}

QString fileText(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QList<qv::DialogRecord> messagesWithText(const QString &text)
{
    QList<qv::DialogRecord> out;
    for (const qv::DialogRecord &r : qv::MessageSeam::shown())
        if (r.text == text)
            out.append(r);
    return out;
}

const QString WrongCredentials
    = QStringLiteral("Kullanıcı Adı ve Şifre Hatalı Lütfen Tekrar Deneyiniz !");

// Settings in a folder of their own, exits and dialogs caught.
class LoginBase : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(config.isValid());
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        qv::MessageSeam::clear();
        qv::setTerminateHandler([this](int code) { exitCode = code; });
    }
    void TearDown() override
    {
        Tgirisform::setUpdateWindowRunner(nullptr);
        qv::setTerminateHandler(nullptr);
        qv::MessageSeam::clear();
    }

    QString iniPath() const { return AppDataFolder() + QStringLiteral("/ayar.ini"); }

    QTemporaryDir config;
    std::optional<int> exitCode;
};

// The login window against a real development server.
class LoginWindow : public LoginBase
{
protected:
    static void SetUpTestSuite() { server = new qvtest::DevServer(); }
    static void TearDownTestSuite()
    {
        delete server;
        server = nullptr;
    }

    void SetUp() override
    {
        LoginBase::SetUp();
        usePort(server->port());
    }
    void TearDown() override
    {
        if (form) {
            form->hide();
            form.reset();
        }
        LoginBase::TearDown();
    }

    void usePort(std::uint16_t port)
    {
        bag.params()[QStringLiteral("Port")] = QString::number(port);
    }

    void open(const QString &machine)
    {
        form = std::make_unique<Tgirisform>(nullptr);
        form->bagim = &bag;
        form->Bilgim = &record;
        form->idsi = machine;
        form->show();
    }

    template<typename T>
    T *find(const char *name) const
    {
        return form->findChild<T *>(QString::fromLatin1(name));
    }
    qv::UpperCaseEdit *adi() const { return find<qv::UpperCaseEdit>("adi"); }
    qv::UpperCaseEdit *sifre() const { return find<qv::UpperCaseEdit>("sifre"); }
    QPushButton *giris() const { return find<QPushButton>("Button1"); }

    // Types as a user does, so the edits deliver upper case.
    void type(const QString &name, const QString &password)
    {
        adi()->clear();
        sifre()->clear();
        QTest::keyClicks(adi(), name);
        QTest::keyClicks(sifre(), password);
    }

    // Clicks "Giriş" and waits until the window is idle again, closed, or
    // the program ended.
    void login()
    {
        QTest::mouseClick(giris(), Qt::LeftButton);
        ASSERT_TRUE(waitFor([this] {
            return giris()->isEnabled() || form->result() != 0 || exitCode.has_value();
        }));
    }

    static qvtest::DevServer *server;
    qv::SQLConnection bag;
    TSonucBilgisi record;
    std::unique_ptr<Tgirisform> form;
};

qvtest::DevServer *LoginWindow::server = nullptr;

TEST_F(LoginWindow, WindowAsDesigned)
{
    open(QStringLiteral("DEMO-BAYI-0001"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Giriş"));
    EXPECT_EQ(form->size(), QSize(368, 550));
    EXPECT_EQ(form->parentWidget(), nullptr);
    EXPECT_EQ(find<QLabel>("RxLabel1")->text().count(QLatin1Char('\n')), 5);
    EXPECT_TRUE(find<QCheckBox>("benihatirla")->isChecked());
    EXPECT_EQ(find<QCheckBox>("benihatirla")->text(), QStringLiteral("Beni hatırla"));
    EXPECT_EQ(find<QLabel>("Label1")->text(), QStringLiteral(" Kullanıcı Adı:"));
    EXPECT_EQ(find<QLabel>("Label1")->palette().color(QPalette::Window), QColor(0xE2, 0x0A, 0x17));
    EXPECT_EQ(find<QLabel>("Label2")->text(), QStringLiteral(" Şifre:"));
    EXPECT_EQ(sifre()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(giris()->text(), QStringLiteral("Giriş"));
    EXPECT_EQ(find<QPushButton>("Button2")->text(), QStringLiteral("Vazgeç"));
    QWidget *busy = find<QWidget>("RxGIFAnimator1");
    EXPECT_TRUE(busy->isHidden());
    EXPECT_EQ(busy->size(), QSize(28, 28));
    EXPECT_FALSE(ServerHostName.isEmpty());
    EXPECT_TRUE(WebSiteBase.endsWith(QLatin1Char('/')));
    EXPECT_TRUE(PictureUrlBase.endsWith(QStringLiteral("resimgoster.ashx?id=")));
}

TEST_F(LoginWindow, NoConnectionReportsOnceAndGoesBackToIdle)
{
    usePort(qvtest::closedPort());
    qv::MessageSeam::setAutoAnswer(qv::mrOk);
    open(QStringLiteral("DEMO-BAYI-0001"));
    type(QStringLiteral("BAYI1"), QStringLiteral("1234"));
    login();

    const QList<qv::DialogRecord> shown = qv::MessageSeam::shown();
    ASSERT_FALSE(shown.isEmpty());
    int plain = 0;
    for (const qv::DialogRecord &r : shown)
        plain += r.plain ? 1 : 0;
    EXPECT_EQ(plain, 11); // the connection check's own attempts, silent at the end
    const qv::DialogRecord last = shown.constLast();
    EXPECT_EQ(last.text, QStringLiteral("Bağlantı Kurulamadı !"));
    EXPECT_EQ(last.kind, int(qv::DialogKind::Error));
    EXPECT_EQ(last.buttons, qv::buttonSet({qv::mbOK}));
    EXPECT_EQ(last.defaultButton, int(qv::mbOK));
    EXPECT_TRUE(messagesWithText(QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!"))
                    .isEmpty());

    EXPECT_TRUE(giris()->isEnabled());
    EXPECT_EQ(giris()->text(), QStringLiteral("Giriş!"));
    EXPECT_TRUE(find<QWidget>("RxGIFAnimator1")->isHidden());
    EXPECT_EQ(form->focusWidget(), adi());
    EXPECT_EQ(form->result(), 0);
    EXPECT_FALSE(exitCode.has_value());
    EXPECT_FALSE(QFile::exists(iniPath()));
}

// --- the typed name and password against the registered ones ---

struct CredentialCase
{
    const char *machine;
    const char *typedName;
    const char *typedPassword;
    bool accepted;
    bool saved; // ayar.ini written with the typed values
};

class Credentials : public LoginWindow, public ::testing::WithParamInterface<CredentialCase>
{
};

TEST_P(Credentials, ComparedExactlyAndSavedOnMatch)
{
    const CredentialCase c = GetParam();
    qv::MessageSeam::setAutoAnswer(qv::mrOk);
    open(QString::fromLatin1(c.machine));
    type(QString::fromLatin1(c.typedName), QString::fromLatin1(c.typedPassword));
    login();

    EXPECT_FALSE(exitCode.has_value());
    EXPECT_EQ(form->result() == QDialog::Accepted, c.accepted);
    const QList<qv::DialogRecord> warnings = messagesWithText(WrongCredentials);
    if (c.accepted) {
        EXPECT_TRUE(warnings.isEmpty());
        EXPECT_EQ(record.Disip(), QStringLiteral("127.0.0.1"));
        EXPECT_EQ(record.BILGISAYARID(), MachineId());
    } else {
        ASSERT_EQ(warnings.size(), 1);
        EXPECT_EQ(warnings.first().kind, int(qv::DialogKind::Warning));
        EXPECT_EQ(warnings.first().buttons, qv::buttonSet({qv::mbOK}));
        EXPECT_EQ(warnings.first().defaultButton, int(qv::mbOK));
        EXPECT_TRUE(giris()->isEnabled());
        EXPECT_EQ(form->focusWidget(), adi());
    }

    LoginSettings saved;
    EXPECT_EQ(ReadLoginSettings(iniPath(), saved), c.saved);
    if (c.saved) {
        EXPECT_EQ(saved.isim, adi()->text());
        EXPECT_EQ(saved.sifre, sifre()->text());
    }
}

INSTANTIATE_TEST_SUITE_P(Accounts,
                         Credentials,
                         ::testing::Values(
                             // the registered name is "Bayi8"; the edit delivers capitals
                             CredentialCase{"DEMO-BAYI-0008", "BAYI8", "1234", false, false},
                             CredentialCase{"DEMO-BAYI-0001", "BAYI1", "9999", false, false},
                             CredentialCase{"DEMO-BAYI-0001", "BAYI", "1234", false, false},
                             // inactive: right name and password are saved, then refused
                             CredentialCase{"DEMO-BAYI-0005", "BAYI5", "1234", false, true},
                             CredentialCase{"DEMO-BAYI-0001", "BAYI1", "1234", true, true},
                             // typed in lower case: the edit's capitals match the name
                             CredentialCase{"DEMO-BAYI-0001", "bayi1", "1234", true, true},
                             CredentialCase{"DEMO-BAYI-0004", "BAYI4", "1234", true, true}));

TEST_F(LoginWindow, SalespersonWithoutCustomerSelectionEndsTheProgram)
{
    qv::MessageSeam::setAutoAnswer(qv::mrOk);
    open(QStringLiteral("DEMO-SATICI-0001"));
    type(QStringLiteral("SATICI1"), QStringLiteral("1234"));
    login();

    EXPECT_EQ(exitCode, 0);
    EXPECT_NE(form->result(), int(QDialog::Accepted));
    const auto info
        = messagesWithText(QStringLiteral("Müşteri seçimi bu sürümde henüz kullanılamıyor."));
    ASSERT_EQ(info.size(), 1);
    EXPECT_EQ(info.first().kind, int(qv::DialogKind::Information));
    EXPECT_TRUE(messagesWithText(WrongCredentials).isEmpty());
}

TEST_F(LoginWindow, UnregisteredComputerGetsTheRequestFormThenEnds)
{
    qv::MessageSeam::setAutoAnswer(qv::mrOk);
    open(QStringLiteral("DEMO-YOK-4711"));
    type(QStringLiteral("BAYI1"), QStringLiteral("1234"));
    QString caption;
    whenModal<Tformistekyeni>([&caption](Tformistekyeni &w) {
        caption = w.windowTitle();
        QTimer::singleShot(0, &w, &QDialog::reject);
    });
    login();

    EXPECT_EQ(caption, QStringLiteral("Quorvel Otomotiv B2B İstek Formu"));
    EXPECT_EQ(exitCode, 0);
    EXPECT_NE(form->result(), int(QDialog::Accepted));
    EXPECT_FALSE(QFile::exists(iniPath())); // neither compared nor saved
    EXPECT_TRUE(messagesWithText(WrongCredentials).isEmpty());
}

TEST_F(LoginWindow, CancelEndsTheProgram)
{
    open(QStringLiteral("DEMO-BAYI-0001"));
    QTest::mouseClick(find<QPushButton>("Button2"), Qt::LeftButton);
    EXPECT_EQ(exitCode, 0);
}

// --- Enter in the edits ---

struct EnterCase
{
    const char *edit;
    const char *name;
    const char *password;
    const char *message;    // nullptr: none
    const char *focusAfter; // the edit that has the focus afterwards
    bool loginStarts;
};

class EnterKey : public LoginWindow, public ::testing::WithParamInterface<EnterCase>
{
};

TEST_P(EnterKey, ChecksTheFieldAndMovesOn)
{
    const EnterCase c = GetParam();
    qv::MessageSeam::setAutoAnswer(qv::mrOk);
    open(QStringLiteral("DEMO-BAYI-0001"));
    adi()->setText(QString::fromUtf8(c.name));
    sifre()->setText(QString::fromUtf8(c.password));

    qv::UpperCaseEdit *pressed = find<qv::UpperCaseEdit>(c.edit);
    pressed->setFocus();
    QTest::keyClick(pressed, Qt::Key_Return);

    const QList<qv::DialogRecord> shown = qv::MessageSeam::shown();
    if (c.message) {
        ASSERT_EQ(shown.size(), 1);
        EXPECT_EQ(shown.first().text, QString::fromUtf8(c.message));
        EXPECT_EQ(shown.first().kind, int(qv::DialogKind::Warning));
        EXPECT_EQ(shown.first().buttons, qv::buttonSet({qv::mbOK}));
    } else {
        EXPECT_TRUE(shown.isEmpty());
    }
    EXPECT_EQ(form->focusWidget(), find<QWidget>(c.focusAfter));
    EXPECT_EQ(!giris()->isEnabled(), c.loginStarts);
    if (c.loginStarts) {
        // Enter again while it runs does not start a second login.
        QTest::keyClick(sifre(), Qt::Key_Return);
        ASSERT_TRUE(waitFor([this] { return form->result() != 0; }));
        EXPECT_EQ(form->result(), int(QDialog::Accepted));
        EXPECT_TRUE(qv::MessageSeam::shown().isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys,
    EnterKey,
    ::testing::Values(
        EnterCase{"adi", "", "1234", "Lütfen kullanıcı adını giriniz !", "adi", false},
        EnterCase{"adi", "   ", "", "Lütfen kullanıcı adını giriniz !", "adi", false},
        EnterCase{"adi", "BAYI1", "", nullptr, "sifre", false},
        EnterCase{"sifre", "BAYI1", " ", "Lütfen kullanıcı şifresini giriniz !", "sifre", false},
        EnterCase{"sifre", "BAYI1", "1234", nullptr, "sifre", true}));

// --- the update window comes before the comparison ---

class Update : public LoginBase, public ::testing::WithParamInterface<int>
{
};

TEST_P(Update, OtherServerVersionOpensTheUpdateWindowFirst)
{
    const int version = GetParam();
    qvtest::DevServer server({QStringLiteral("--program-version"), QString::number(version)});
    qv::SQLConnection bag;
    bag.params()[QStringLiteral("Port")] = QString::number(server.port());
    TSonucBilgisi record;

    std::optional<int> shownVersion;
    qv::SQLConnection *handedOver = nullptr;
    bool comparedBefore = false;
    Tgirisform::setUpdateWindowRunner([&](Tdosyaindir &w, int v) {
        shownVersion = v;
        handedOver = w.bag;
        comparedBefore = !qv::MessageSeam::shown().isEmpty();
        return 0;
    });
    qv::MessageSeam::setAutoAnswer(qv::mrOk);

    Tgirisform form(nullptr);
    form.bagim = &bag;
    form.Bilgim = &record;
    form.idsi = QStringLiteral("DEMO-BAYI-0001");
    form.show();
    form.adi->setText(QStringLiteral("BAYI1"));
    form.sifre->setText(QStringLiteral("WRONG"));
    form.Button1Click();
    ASSERT_TRUE(waitFor([&form] { return form.Button1->isEnabled(); }));

    EXPECT_EQ(shownVersion, version);
    EXPECT_EQ(handedOver, &bag);
    EXPECT_FALSE(comparedBefore);
    // When the update window returns the login goes on.
    EXPECT_EQ(messagesWithText(WrongCredentials).size(), 1);
}

INSTANTIATE_TEST_SUITE_P(ServerVersions, Update, ::testing::Values(5, 3));

// --- ayar.ini ---

TEST_F(LoginWindow, SettingsFileIsReadableTextWithTheTurkishKey)
{
    qv::MessageSeam::setAutoAnswer(qv::mrOk);
    open(QStringLiteral("DEMO-BAYI-0001"));
    type(QStringLiteral("BAYI1"), QStringLiteral("1234"));
    login();
    ASSERT_EQ(form->result(), int(QDialog::Accepted));

    QFile f(iniPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.contains("[kullanici]"));
    EXPECT_TRUE(bytes.contains("isim=BAYI1"));
    EXPECT_TRUE(bytes.contains("sifre=1234"));
    EXPECT_TRUE(bytes.contains(QStringLiteral("hatırla=1").toUtf8()));
    EXPECT_FALSE(bytes.contains('%'));
}

struct RememberCase
{
    bool ticked;
    const char *flag;
};

class RememberMe : public LoginWindow, public ::testing::WithParamInterface<RememberCase>
{
};

TEST_P(RememberMe, WrittenAlwaysFilledOnlyWhenTicked)
{
    const RememberCase c = GetParam();
    qv::MessageSeam::setAutoAnswer(qv::mrOk);
    open(QStringLiteral("DEMO-BAYI-0001"));
    find<QCheckBox>("benihatirla")->setChecked(c.ticked);
    type(QStringLiteral("BAYI1"), QStringLiteral("1234"));
    login();
    ASSERT_EQ(form->result(), int(QDialog::Accepted));

    const QString text = fileText(iniPath());
    EXPECT_TRUE(text.contains(QStringLiteral("isim=BAYI1")));
    EXPECT_TRUE(text.contains(QStringLiteral("hatırla=") + QLatin1String(c.flag)));

    // The next start.
    form.reset();
    open(QStringLiteral("DEMO-BAYI-0001"));
    EXPECT_EQ(find<QCheckBox>("benihatirla")->isChecked(), c.ticked);
    EXPECT_EQ(adi()->text(), c.ticked ? QStringLiteral("BAYI1") : QString());
    EXPECT_EQ(sifre()->text(), c.ticked ? QStringLiteral("1234") : QString());
}

INSTANTIATE_TEST_SUITE_P(Flag,
                         RememberMe,
                         ::testing::Values(RememberCase{true, "1"}, RememberCase{false, "0"}));

struct SettingsCase
{
    const char *name;
    const char *fileText; // nullptr: no file
    bool ticked;
    const char *isim;
    const char *sifre;
};

class SettingsFile : public LoginBase, public ::testing::WithParamInterface<SettingsCase>
{
};

TEST_P(SettingsFile, FillsTheWindowAtCreation)
{
    const SettingsCase c = GetParam();
    if (c.fileText)
        writeFile(iniPath(), QByteArray(c.fileText));
    Tgirisform form(nullptr);
    EXPECT_EQ(form.benihatirla->isChecked(), c.ticked);
    EXPECT_EQ(form.adi->text(), QString::fromUtf8(c.isim));
    EXPECT_EQ(form.sifre->text(), QString::fromUtf8(c.sifre));
}

INSTANTIATE_TEST_SUITE_P(
    Files,
    SettingsFile,
    ::testing::Values(
        SettingsCase{"missing", nullptr, true, "", ""},
        SettingsCase{"full",
                     "[kullanici]\r\nisim=BAYI1\r\nsifre=1234\r\nhatırla=1\r\n",
                     true,
                     "BAYI1",
                     "1234"},
        SettingsCase{"flagMissing", "[kullanici]\nisim=BAYI2\nsifre=55\n", true, "BAYI2", "55"},
        SettingsCase{
            "notRemembered", "[kullanici]\nisim=BAYI1\nsifre=1234\nhatırla=0\n", false, "", ""},
        SettingsCase{"notANumber", "[kullanici]\nisim=A\nhatırla=evet\n", true, "A", ""},
        SettingsCase{
            "otherSection", "[baska]\nisim=X\nhatırla=0\n[kullanici]\nsifre=9\n", true, "", "9"},
        SettingsCase{"withBom",
                     "\xEF\xBB\xBF[kullanici]\nisim=\xC5\x9E"
                     "AH\n",
                     true,
                     "\xC5\x9E"
                     "AH",
                     ""},
        SettingsCase{"valueWithEquals", "[kullanici]\nsifre=a=b\n", true, "", "a=b"}),
    [](const ::testing::TestParamInfo<SettingsCase> &p) { return std::string(p.param.name); });

TEST_F(LoginBase, UnreadableSettingsFileLeavesTheDefaults)
{
    ASSERT_TRUE(QDir().mkpath(iniPath())); // a folder where the file should be
    Tgirisform form(nullptr);
    EXPECT_TRUE(form.benihatirla->isChecked());
    EXPECT_TRUE(form.adi->text().isEmpty());
    form.adi->setText(QStringLiteral("BAYI1"));
    form.SaveSettings(); // cannot be written; nothing else happens
    EXPECT_TRUE(QFileInfo(iniPath()).isDir());
}

TEST_F(LoginBase, WritingKeepsOtherSectionsAndKeys)
{
    writeFile(iniPath(), "[genel]\r\ntema=koyu\r\n\r\n[kullanici]\r\nisim=ESKI\r\nnot=kalsin\r\n");
    ASSERT_TRUE(WriteLoginSettings(
        iniPath(), LoginSettings{QStringLiteral("YENİ"), QStringLiteral("42"), false}));
    EXPECT_EQ(
        fileText(iniPath()),
        QStringLiteral("[genel]\r\ntema=koyu\r\n\r\n[kullanici]\r\nisim=YENİ\r\nnot=kalsin\r\n"
                       "sifre=42\r\nhatırla=0\r\n"));
}

// --- the main window side ---

class MainWindowLogin : public LoginBase
{
protected:
    static void SetUpTestSuite() { server = new qvtest::DevServer(); }
    static void TearDownTestSuite()
    {
        delete server;
        server = nullptr;
    }
    void SetUp() override
    {
        LoginBase::SetUp();
        form = std::make_unique<TForm1>();
        form->CreateLoginRecord();
        form->bagc->params()[QStringLiteral("Port")] = QString::number(server->port());
    }
    void TearDown() override
    {
        form.reset();
        LoginBase::TearDown();
    }

    // Answers the login window RunLogin shows.
    void signInAs(const QString &machine, const QString &name, const QString &password)
    {
        whenModal<Tgirisform>([machine, name, password](Tgirisform &w) {
            w.idsi = machine;
            w.adi->setText(name);
            w.sifre->setText(password);
            w.Button1Click();
        });
    }

    bool campaignTabVisible() const
    {
        return form->sPageControl1->isTabVisible(form->sPageControl1->indexOf(form->skampanyali));
    }

    static qvtest::DevServer *server;
    std::unique_ptr<TForm1> form;
};

qvtest::DevServer *MainWindowLogin::server = nullptr;

struct DealerCase
{
    const char *machine;
    const char *name;
    int type;
};

class DealerLogin : public MainWindowLogin, public ::testing::WithParamInterface<DealerCase>
{
};

TEST_P(DealerLogin, EndsWithOkAndAppliesTheUserType)
{
    const DealerCase c = GetParam();
    qv::MessageSeam::setAutoAnswer(qv::mrOk);
    signInAs(QString::fromLatin1(c.machine), QString::fromLatin1(c.name), QStringLiteral("1234"));
    form->RunLogin();

    EXPECT_FALSE(exitCode.has_value());
    EXPECT_EQ(form->sbilgi->MusteriTipi(), c.type);
    EXPECT_EQ(form->sbilgi->ADI(), QString::fromLatin1(c.name));
    EXPECT_TRUE(form->musteritus->isHidden());
    EXPECT_FALSE(form->R1->isVisible());
    EXPECT_EQ(campaignTabVisible(), c.type != 4);
    EXPECT_EQ(form->cxGrid2->columnByFieldName(u"DURUM")->visible(), c.type != 3);
    EXPECT_EQ(form->cxGrid1->columnByFieldName(u"KAMPFIYAT")->visible(), c.type != 4);
}

INSTANTIATE_TEST_SUITE_P(Dealers,
                         DealerLogin,
                         ::testing::Values(DealerCase{"DEMO-BAYI-0001", "BAYI1", 0},
                                           DealerCase{"DEMO-BAYI-0003", "BAYI3", 3},
                                           DealerCase{"DEMO-BAYI-0004", "BAYI4", 4}));

TEST_F(MainWindowLogin, ClosingTheLoginWindowEndsTheProgram)
{
    whenModal<Tgirisform>([](Tgirisform &w) { w.close(); });
    form->RunLogin();
    EXPECT_EQ(exitCode, 0);
}

TEST_F(MainWindowLogin, NoExternalAddressEndsTheProgram)
{
    whenModal<Tgirisform>([this](Tgirisform &w) {
        w.accept();
        form->sbilgi->setDisip(QStringLiteral("  "));
    });
    form->RunLogin();
    EXPECT_EQ(exitCode, 0);
}

struct TypeCase
{
    int type;
    bool salesperson;
    bool basketStatus;
    bool campaigns;
    bool reports; // "Raporlar", shown before
};

class UserType : public MainWindowLogin, public ::testing::WithParamInterface<TypeCase>
{
};

TEST_P(UserType, ChangesTheMainWindow)
{
    const TypeCase c = GetParam();
    form->R1->setVisible(true); // so that hiding it is seen
    form->sbilgi->setMusteriTipi(c.type);
    form->ApplyUserType();

    EXPECT_EQ(!form->musteritus->isHidden(), c.salesperson);
    EXPECT_EQ(form->R1->isVisible(), c.reports);
    for (qv::DBGrid *g : {form->cxGrid1, form->cxGrid6, form->cxkampanyali})
        for (const char16_t *f : {u"KALAN", u"ALINANSIPARIS", u"VERILENSIPARIS"}) {
            EXPECT_EQ(g->columnByFieldName(f)->visible(), c.salesperson);
            EXPECT_EQ(g->columnByFieldName(f)->offered(), c.salesperson);
        }
    EXPECT_EQ(form->cxGrid2->columnByFieldName(u"KALAN")->visible(), c.salesperson);
    EXPECT_EQ(form->cxGrid2->columnByFieldName(u"DURUM")->visible(), c.basketStatus);
    EXPECT_EQ(form->cxGrid2->columnByFieldName(u"DURUM")->offered(), c.basketStatus);
    EXPECT_EQ(campaignTabVisible(), c.campaigns);
    for (qv::DBGrid *g : {form->cxGrid1, form->cxGrid6})
        for (const char16_t *f : {u"KAMPFIYAT", u"K"}) {
            EXPECT_EQ(g->columnByFieldName(f)->visible(), c.campaigns);
            EXPECT_EQ(g->columnByFieldName(f)->offered(), c.campaigns);
        }
}

INSTANTIATE_TEST_SUITE_P(Types,
                         UserType,
                         ::testing::Values(TypeCase{0, false, true, true, true},
                                           TypeCase{1, true, true, true, true},
                                           TypeCase{2, true, true, true, true},
                                           TypeCase{3, false, false, true, false},
                                           TypeCase{4, false, true, false, false},
                                           TypeCase{7, false, true, true, true}));

TEST_F(MainWindowLogin, HeaderLabelsFromTheRecord)
{
    form->sbilgi->setADI(QStringLiteral("BAYI1"));
    form->sbilgi->setCariAdi(QStringLiteral("DEMO OTO"));
    form->sbilgi->setSaticiAdi(QStringLiteral("Ayşe"));
    form->sbilgi->setSaticiTelefon(QStringLiteral("0532"));
    form->sbilgi->setSaticiMail(QStringLiteral("a@b.c"));
    form->AnaBilgiAl();
    EXPECT_EQ(form->kullanicilbl->text(), QStringLiteral("BAYI1"));
    EXPECT_EQ(form->cariadilbl->text(), QStringLiteral("DEMO OTO"));
    EXPECT_EQ(form->saticilbl->text(), QStringLiteral("Ayşe Telefonu: 0532 email: a@b.c"));
}

} // namespace

namespace {

TEST_F(MainWindowLogin, StartupContentFillsTheHeaderOnTheUiThread)
{
    form->sbilgi->setADI(QStringLiteral("BAYI2"));
    form->sbilgi->setCariAdi(QStringLiteral("ÖRNEK OTO"));
    form->StartStartupContent();
    // The step runs in the background and hands the labels over.
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return form->kullanicilbl->text() == QStringLiteral("BAYI2"); }, 10000));
    EXPECT_EQ(form->cariadilbl->text(), QStringLiteral("ÖRNEK OTO"));
}

} // namespace
