#include "Unit1.h"

#include "animatedpicture.h"
#include "baglantiu.h"
#include "connection.h"
#include "dataset.h"
#include "dbgrid.h"
#include "devserverfixture.h"
#include "exitseam.h"
#include "messageseam.h"
#include "proxim.h"
#include "stoklistesi.h"
#include "uppercaseedit.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <optional>

namespace {

// Names parameterised cases after their name field.
struct CaseName
{
    template<typename T>
    std::string operator()(const ::testing::TestParamInfo<T> &param) const
    {
        return param.param.name;
    }
};

const QString ConnectionFailed = QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!");

// --- the key folding of the search box ---

struct FoldCase
{
    char16_t typed;
    char16_t folded; // what the folding gives
    char16_t shown;  // what the upper case box then shows
};

class KeyFolding : public ::testing::TestWithParam<FoldCase>
{
};

TEST_P(KeyFolding, GivesThePlainLatinLetter)
{
    const FoldCase c = GetParam();
    EXPECT_EQ(FoldSearchKey(QChar(c.typed)), QChar(c.folded));
}

INSTANTIATE_TEST_SUITE_P(TurkishAndOthers,
                         KeyFolding,
                         ::testing::Values(FoldCase{u'ğ', u'g', u'G'},
                                           FoldCase{u'ü', u'u', u'U'},
                                           FoldCase{u'ş', u's', u'S'},
                                           FoldCase{u'ö', u'o', u'O'},
                                           FoldCase{u'ç', u'c', u'C'},
                                           FoldCase{u'Ğ', u'G', u'G'},
                                           FoldCase{u'Ü', u'U', u'U'},
                                           FoldCase{u'Ş', u'S', u'S'},
                                           FoldCase{u'İ', u'I', u'I'},
                                           FoldCase{u'Ö', u'O', u'O'},
                                           FoldCase{u'Ç', u'C', u'C'},
                                           FoldCase{u'ı', u'I', u'I'},
                                           FoldCase{u'i', u'i', u'I'},
                                           FoldCase{u'a', u'a', u'A'},
                                           FoldCase{u'7', u'7', u'7'},
                                           FoldCase{u' ', u' ', u' '}));

// --- the price summary text ---

struct SummaryCase
{
    const char *name;
    double liste, kamp, net, kdvDahil;
    const char16_t *text;
};

class PriceSummary : public ::testing::TestWithParam<SummaryCase>
{
};

TEST_P(PriceSummary, LinesByCampaignPrice)
{
    const SummaryCase c = GetParam();
    EXPECT_EQ(PriceSummaryText(c.liste, c.kamp, c.net, c.kdvDahil, QLocale(QLocale::Turkish)),
              QString::fromUtf16(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Rows,
    PriceSummary,
    ::testing::Values(
        SummaryCase{"NoCampaign",
                    1234.5,
                    0,
                    987.65,
                    1185.18,
                    u"Liste Fiyatı: 1.234,50\r\nNetFiyat: 987,65\r\nKDV li Fiyat: 1.185,18\r\n"},
        SummaryCase{"Campaign",
                    1234.5,
                    999,
                    999,
                    1198.8,
                    u"Liste Fiyatı: 1.234,50\r\nKampanyalı Fiyat: 999,00\r\nNetFiyat: "
                    u"999,00\r\nKDV li Fiyat: 1.198,80\r\n"},
        SummaryCase{"NegativeCampaignIsNone",
                    10,
                    -1,
                    8,
                    9.6,
                    u"Liste Fiyatı: 10,00\r\nNetFiyat: 8,00\r\nKDV li Fiyat: 9,60\r\n"}),
    CaseName());

// --- the main window's stock page ---

class StockSearch : public ::testing::Test
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
        qv::MessageSeam::clear();
        qv::setTerminateHandler([this](int code) { exitCode = code; });
        form = std::make_unique<TForm1>();
        form->sbilgi = loginRecord();
        usePort(server->port());
        form->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        waitIdle();
        form->hide();
        form.reset();
        qv::setTerminateHandler(nullptr);
        qv::MessageSeam::clear();
    }

    static std::unique_ptr<TSonucBilgisi> loginRecord()
    {
        qv::SQLConnection c;
        c.params()[QStringLiteral("HostName")] = QStringLiteral("127.0.0.1");
        c.params()[QStringLiteral("Port")] = QString::number(server->port());
        c.open();
        TServerMethods1Client proxy(c.DBXConnection_());
        auto copy = std::make_unique<TSonucBilgisi>();
        if (TSonucBilgisi *r = proxy.BuyukGetir(QStringLiteral("DEMO-BAYI-0001")))
            copy->Kopyala(*r);
        return copy;
    }

    void usePort(std::uint16_t port)
    {
        form->bagc->params()[QStringLiteral("HostName")] = QStringLiteral("127.0.0.1");
        form->bagc->params()[QStringLiteral("Port")] = QString::number(port);
    }

    template<typename T>
    T *find(const char *name) const
    {
        return form->findChild<T *>(QString::fromLatin1(name));
    }
    qv::UpperCaseEdit *araedit() const { return find<qv::UpperCaseEdit>("araedit"); }
    qv::DBGrid *grid() const { return find<qv::DBGrid>("cxGrid1"); }
    QString caption() const
    {
        const auto *tabs = find<QTabWidget>("sPageControl1");
        return tabs->tabText(tabs->indexOf(find<QWidget>("sstoklistesi")));
    }

    // A safety net against a hung search, not a measured time.
    void waitIdle()
    {
        QDeadlineTimer deadline(120000);
        while (form && form->stockSearchRunning() && !deadline.hasExpired())
            QApplication::processEvents(QEventLoop::AllEvents, 50);
    }

    // Types the text into the box and presses Enter, then waits.
    void search(const QString &text)
    {
        araedit()->setText(text);
        QTest::keyClick(araedit(), Qt::Key_Return);
        waitIdle();
    }

    static int count(const QList<qv::DialogRecord> &shown, const QString &text)
    {
        int n = 0;
        for (const qv::DialogRecord &r : shown)
            n += r.text == text ? 1 : 0;
        return n;
    }

    static qvtest::DevServer *server;
    std::unique_ptr<TForm1> form;
    std::optional<int> exitCode;
};

qvtest::DevServer *StockSearch::server = nullptr;

TEST_F(StockSearch, TypedTurkishLettersReachTheBoxAsPlainCapitals)
{
    araedit()->clear();
    // Key by key, as a keyboard delivers them; the test library knows no
    // key codes for these letters.
    for (const QChar ch : QStringLiteral("çğıöşüÇĞİÖŞÜ ix1")) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(araedit(), &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(araedit(), &release);
    }
    EXPECT_EQ(araedit()->text(), QStringLiteral("CGIOSUCGIOSU IX1"));
}

struct ShortCase
{
    const char *name;
    const char16_t *text;
};

class TooShort : public StockSearch, public ::testing::WithParamInterface<ShortCase>
{
};

TEST_P(TooShort, WarnsAndKeepsThePreviousList)
{
    search(QStringLiteral("FREN"));
    ASSERT_GT(form->stok->recordCount(), 0u);
    const std::size_t rows = form->stok->recordCount();
    const QString before = caption();
    qv::MessageSeam::clear();

    qv::MessageSeam::setAutoAnswer(qv::mrOk);
    search(QString::fromUtf16(GetParam().text));
    const QList<qv::DialogRecord> shown = qv::MessageSeam::shown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, QStringLiteral("Lütfen en az 3 harf giriniz !"));
    EXPECT_EQ(shown[0].kind, int(qv::DialogKind::Warning));
    EXPECT_EQ(shown[0].title, QStringLiteral("Uyarı"));
    EXPECT_EQ(shown[0].buttons, qv::buttonSet({qv::mbOK}));
    EXPECT_FALSE(form->stockSearchRunning());
    EXPECT_TRUE(araedit()->isEnabled());
    EXPECT_EQ(form->lastStockSearchText(), QStringLiteral("FREN"));
    EXPECT_EQ(form->stok->recordCount(), rows);
    EXPECT_EQ(caption(), before);
}

INSTANTIATE_TEST_SUITE_P(Texts,
                         TooShort,
                         ::testing::Values(ShortCase{"Empty", u""},
                                           ShortCase{"TwoLetters", u"FR"},
                                           ShortCase{"TwoLettersWithBlanks", u"   FR   "},
                                           ShortCase{"OnlyBlanks", u"      "}),
                         CaseName());

struct StartCase
{
    const char *name;
    bool byButton; // "Ara" instead of Enter
};

class Searching : public StockSearch, public ::testing::WithParamInterface<StartCase>
{
};

TEST_P(Searching, SendsTheUntrimmedTextAndFillsTheGrid)
{
    qv::DBGrid &g = *grid();
    // A filter left from before must not hide the new rows.
    search(QStringLiteral("FREN"));
    const int durum = g.columnByFieldName(u"DURUM")->index();
    g.setColumnFilter(durum, {QStringLiteral("no such status")});
    ASSERT_TRUE(g.filtered());
    form->sPageControl1->setCurrentWidget(form->ssepet);

    araedit()->setText(QStringLiteral("  FRE  "));
    if (GetParam().byButton)
        find<QToolButton>("SpeedButton2")->click();
    else
        QTest::keyClick(araedit(), Qt::Key_Return);

    // While it runs: box disabled, indicator shown, grid detached; neither a
    // second start nor "Temizle" changes anything.
    ASSERT_TRUE(form->stockSearchRunning());
    EXPECT_FALSE(araedit()->isEnabled());
    EXPECT_FALSE(find<qv::AnimatedPicture>("gifstokara")->isHidden());
    EXPECT_FALSE(g.attached());
    EXPECT_EQ(form->sPageControl1->currentWidget(), form->sstoklistesi);
    araedit()->setText(QStringLiteral("OTHER"));
    form->SpeedButton2Click();
    form->SpeedButton1Click();
    EXPECT_EQ(form->lastStockSearchText(), QStringLiteral("  FRE  "));
    waitIdle();

    EXPECT_TRUE(qv::MessageSeam::shown().isEmpty());
    EXPECT_EQ(form->lastStockSearchText(), QStringLiteral("  FRE  "));
    const int rows = int(form->stok->recordCount());
    ASSERT_GT(rows, 0);
    EXPECT_EQ(caption(), TabCountCaption(rows, QStringLiteral("Stok Listesi")));
    EXPECT_EQ(caption(), QString::number(rows) + QStringLiteral("=Stok Listesi"));
    EXPECT_TRUE(g.attached());
    EXPECT_FALSE(g.updateLocked());
    EXPECT_FALSE(g.filtered());
    EXPECT_EQ(g.view()->model()->rowCount(), rows);
    EXPECT_EQ(g.footerText(g.columnByFieldName(u"OEM1")->index()), QString::number(rows));
    EXPECT_TRUE(araedit()->isEnabled());
    EXPECT_TRUE(find<qv::AnimatedPicture>("gifstokara")->isHidden());
    EXPECT_FALSE(form->stok->controlsDisabled());
    const int netFiyat = form->stok->fieldIndex(u"NETFIYAT");
    ASSERT_GE(netFiyat, 0);
    if (form->stok->data().fieldDef(netFiyat).type == qv::FieldType::Float) {
        EXPECT_EQ(form->stok->displayFormat(netFiyat), QStringLiteral("#,###,##0.00"));
    }
}

INSTANTIATE_TEST_SUITE_P(Starts,
                         Searching,
                         ::testing::Values(StartCase{"Enter", false}, StartCase{"AraButton", true}),
                         CaseName());

TEST_F(StockSearch, NoRowsGiveZeroCaption)
{
    search(QStringLiteral("QQXQZZWQ"));
    EXPECT_TRUE(qv::MessageSeam::shown().isEmpty());
    EXPECT_EQ(form->stok->recordCount(), 0u);
    EXPECT_EQ(caption(), QStringLiteral("0=Stok Listesi"));
    EXPECT_EQ(grid()->view()->model()->rowCount(), 0);
}

TEST_F(StockSearch, ServerDownEmptiesTheListWithOneCommonMessage)
{
    search(QStringLiteral("FREN"));
    ASSERT_GT(form->stok->recordCount(), 0u);
    qv::MessageSeam::clear();

    usePort(qvtest::closedPort());
    qv::MessageSeam::setAutoAnswer(qv::mrOk);
    search(QStringLiteral("FREN"));

    const QList<qv::DialogRecord> shown = qv::MessageSeam::shown();
    ASSERT_EQ(shown.size(), 12);
    for (int i = 0; i < 11; ++i)
        EXPECT_TRUE(shown[i].plain) << i;
    EXPECT_EQ(count(shown, ConnectionFailed), 1);
    EXPECT_EQ(shown.last().text, ConnectionFailed);
    EXPECT_FALSE(shown.last().plain);
    EXPECT_EQ(shown.last().kind, int(qv::DialogKind::Error));
    EXPECT_EQ(shown.last().title, QStringLiteral("Hata"));
    EXPECT_EQ(form->stok->recordCount(), 0u);
    EXPECT_EQ(grid()->view()->model()->rowCount(), 0);
    EXPECT_EQ(caption(), QStringLiteral("Stok Listesi"));
    EXPECT_TRUE(araedit()->isEnabled());
    EXPECT_TRUE(grid()->attached());
    EXPECT_FALSE(form->stok->controlsDisabled());
}

TEST_F(StockSearch, ClearEmptiesTheListAndTheBox)
{
    search(QStringLiteral("FREN"));
    ASSERT_GT(form->stok->recordCount(), 0u);
    grid()->setColumnFilter(grid()->columnByFieldName(u"DURUM")->index(),
                            {QStringLiteral("no such status")});
    form->sPageControl1->setCurrentWidget(form->ssepet);

    find<QToolButton>("SpeedButton1")->click();
    EXPECT_EQ(form->stok->recordCount(), 0u);
    EXPECT_EQ(caption(), QStringLiteral("Stok Listesi"));
    EXPECT_EQ(form->sPageControl1->currentWidget(), form->sstoklistesi);
    EXPECT_FALSE(grid()->filtered());
    EXPECT_TRUE(araedit()->text().isEmpty());
    EXPECT_TRUE(qv::MessageSeam::shown().isEmpty());
}

// --- the status pictures of the stock grid ---

struct StatusCase
{
    int value;
    int picture; // -1: none
    const char16_t *name;
};

class StatusColumn : public StockSearch, public ::testing::WithParamInterface<StatusCase>
{
};

TEST_P(StatusColumn, PictureAndName)
{
    const StatusCase c = GetParam();
    qv::DBGridColumn &durum = *grid()->columnByFieldName(u"DURUM");
    EXPECT_EQ(durum.cellKind(), qv::CellKind::Picture);
    const QPixmap shown = durum.picture(c.value);
    if (c.picture < 0) {
        EXPECT_TRUE(shown.isNull());
    } else {
        ASSERT_FALSE(StatusPicture(c.picture).isNull());
        EXPECT_EQ(shown.toImage(), StatusPicture(c.picture).toImage());
    }
    EXPECT_EQ(durum.pictureName(c.value), QString::fromUtf16(c.name));
}

INSTANTIATE_TEST_SUITE_P(Values,
                         StatusColumn,
                         ::testing::Values(StatusCase{0, 4, u"Yok"},
                                           StatusCase{4, 1, u"Özel Sipariş"},
                                           StatusCase{3, 2, u"Yolda"},
                                           StatusCase{1, 0, u"Var"},
                                           StatusCase{6, 10, u"Kritik"},
                                           StatusCase{2, 8, u"Ara"},
                                           StatusCase{5, -1, u""},
                                           StatusCase{99, -1, u""}));

} // namespace
