#include "Unit1.h"

#include "baglantiu.h"
#include "connection.h"
#include "dbgrid.h"
#include "exitseam.h"
#include "messageseam.h"
#include "uppercaseedit.h"
#include "utils.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace {

class MainWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qv::MessageSeam::clear();
        qv::setTerminateHandler([this](int code) { exitCode = code; });
        form = std::make_unique<TForm1>();
    }
    void TearDown() override
    {
        form->hide();
        form.reset();
        qv::setTerminateHandler(nullptr);
        qv::MessageSeam::clear();
    }

    template<typename T>
    T *find(const char *name) const
    {
        return form->findChild<T *>(QString::fromLatin1(name));
    }

    // Shows the window at an outer width (frame included) and lets the
    // resize handlers run.
    void showAtWidth(int width)
    {
        form->show();
        QApplication::processEvents();
        const int frame = form->frameGeometry().width() - form->width();
        form->resize(width - frame, 652);
        QApplication::processEvents();
    }

    qv::DBGrid &grid(const char *name) const { return *find<qv::DBGrid>(name); }

    std::unique_ptr<TForm1> form;
    std::optional<int> exitCode;
};

QList<int> weightedWidths(const qv::DBGrid &g)
{
    int sum = 0;
    for (const qv::DBGridColumn *c : g.visibleColumns())
        sum += c->weight();
    QList<int> out;
    for (const qv::DBGridColumn *c : g.visibleColumns())
        out.append(c->weight() * ((g.width() - 30) / sum));
    return out;
}

// --- stock grid: the window width decides the price columns ---

struct StockCase
{
    int windowWidth;
    bool wide;
};

class StockGridLayout : public MainWindow, public ::testing::WithParamInterface<StockCase>
{
};

TEST_P(StockGridLayout, PriceColumnsRowHeightAndWidths)
{
    const StockCase c = GetParam();
    showAtWidth(c.windowWidth);
    ASSERT_EQ(form->MainWindowWidth(), c.windowWidth);
    form->LayoutStockGrid();

    qv::DBGrid &g = grid("cxGrid1");
    for (const char16_t *f : {u"KDVDAHIL", u"NETFIYAT", u"KAMPFIYAT", u"LISTEFIYAT1"})
        EXPECT_EQ(g.columnByFieldName(f)->visible(), c.wide) << QString::fromUtf16(f).toStdString();
    qv::DBGridColumn *fiyat = g.columnByFieldName(u"FiyatBilgisi");
    EXPECT_EQ(fiyat->visible(), !c.wide);
    EXPECT_EQ(g.dataRowHeight(), c.wide ? 60 : 100);

    QList<int> expected = weightedWidths(g);
    if (!c.wide) {
        const int at = int(g.visibleColumns().indexOf(fiyat));
        expected[at] = 150;
        for (const char16_t *f : {u"OEM1", u"OEM2", u"OEM3"})
            EXPECT_EQ(g.columnByFieldName(f)->width(), 80);
    }
    EXPECT_EQ(g.visibleColumnWidths(), expected);
}

INSTANTIATE_TEST_SUITE_P(Boundary,
                         StockGridLayout,
                         ::testing::Values(StockCase{1152, false}, StockCase{1153, true}));

TEST_F(MainWindow, StockGridResizeDuringSearchChangesNothing)
{
    showAtWidth(1400);
    qv::DBGrid &g = grid("cxGrid1");
    const QList<int> before = g.visibleColumnWidths();
    ASSERT_TRUE(g.columnByFieldName(u"KDVDAHIL")->visible());

    find<QWidget>("araedit")->setEnabled(false);
    form->resize(1100, 652);
    QApplication::processEvents();
    form->cxGrid1Resize();

    EXPECT_TRUE(g.columnByFieldName(u"KDVDAHIL")->visible());
    EXPECT_FALSE(g.columnByFieldName(u"FiyatBilgisi")->visible());
    EXPECT_EQ(g.dataRowHeight(), 60);
    EXPECT_EQ(g.visibleColumnWidths(), before);
}

// --- the lower grids: the screen width decides ---

TEST_F(MainWindow, BasketWithOnlyWeightZeroColumnsKeepsWidths)
{
    showAtWidth(1350);
    form->setScreenWidth(1920);
    qv::DBGrid &g = grid("cxGrid2");
    for (int i = 0; i < g.columnCount(); ++i)
        g.column(i).setVisible(false);
    for (const char16_t *f : {u"SIRANO", u"CARINO", u"INDIRIMORANI4"}) {
        g.columnByFieldName(f)->setVisible(true);
        g.columnByFieldName(f)->setWidth(77);
    }
    form->cxGrid2Resize();
    EXPECT_EQ(g.visibleColumnWidths(), (QList<int>{77, 77, 77}));
}

TEST_F(MainWindow, LowerGridsFollowScreenNotWindow)
{
    showAtWidth(1350);
    struct Case
    {
        const char *grid;
        const char *tab;
        void (TForm1::*resize)();
    };
    const Case cases[] = {
        {"cxGrid2", "ssepet", &TForm1::cxGrid2Resize},
        {"cxGrid6", "syeniler", &TForm1::cxGrid6Resize},
        {"cxkampanyali", "skampanyali", &TForm1::cxkampanyaliResize},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.grid);
        find<QTabWidget>("sPageControl1")->setCurrentWidget(find<QWidget>(c.tab));
        QApplication::processEvents();
        qv::DBGrid &g = grid(c.grid);
        for (int i = 0; i < g.columnCount(); ++i)
            g.column(i).setWidth(5);

        form->setScreenWidth(1153);
        (form.get()->*c.resize)();
        EXPECT_EQ(g.visibleColumnWidths(), weightedWidths(g));

        // Narrow screen: a best fit, which sizes by caption, not by weight.
        for (int i = 0; i < g.columnCount(); ++i)
            g.column(i).setWidth(5);
        form->setScreenWidth(1152);
        (form.get()->*c.resize)();
        EXPECT_NE(g.visibleColumnWidths(), weightedWidths(g));
        for (int w : g.visibleColumnWidths())
            EXPECT_GT(w, 5);
    }
}

TEST_F(MainWindow, DisabledLowerGridsAreNotLaidOut)
{
    showAtWidth(1350);
    form->setScreenWidth(1600);
    for (const char *name : {"cxGrid2", "cxkampanyali"}) {
        SCOPED_TRACE(name);
        qv::DBGrid &g = grid(name);
        for (int i = 0; i < g.columnCount(); ++i)
            g.column(i).setWidth(5);
        g.setEnabled(false);
        if (QString::fromLatin1(name) == u"cxGrid2")
            form->cxGrid2Resize();
        else
            form->cxkampanyaliResize();
        for (int w : g.visibleColumnWidths())
            EXPECT_EQ(w, 5);
    }
}

// --- ending the program ---

TEST_F(MainWindow, CloseQuestionAnsweredNoKeepsWindow)
{
    form->show();
    qv::MessageSeam::pushAnswer(qv::mrNo);
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(exitCode.has_value());

    const QList<qv::DialogRecord> shown = qv::MessageSeam::shown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, QStringLiteral("Programdan Çıkmak İstiyor musunuz ?"));
    EXPECT_EQ(shown[0].kind, int(qv::DialogKind::Question));
    EXPECT_EQ(shown[0].buttons, qv::buttonSet({qv::mbYes, qv::mbNo}));
    EXPECT_EQ(shown[0].defaultButton, 0);
    EXPECT_EQ(shown[0].title, QStringLiteral("Soru"));
}

TEST_F(MainWindow, CloseQuestionAnsweredYesEndsProcessWithZero)
{
    form->show();
    qv::MessageSeam::pushAnswer(qv::mrYes);
    form->close();
    ASSERT_TRUE(exitCode.has_value());
    EXPECT_EQ(*exitCode, 0);
}

TEST_F(MainWindow, ExitItemAsksTheSameQuestion)
{
    form->show();
    qv::MessageSeam::pushAnswer(qv::mrCancel); // anything but Yes refuses
    find<QMenu>("Genelmenu")->findChild<QAction *>(QStringLiteral("G1"))->trigger();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(exitCode.has_value());
    ASSERT_EQ(qv::MessageSeam::shown().size(), 1);
    EXPECT_EQ(qv::MessageSeam::shown()[0].text,
              QStringLiteral("Programdan Çıkmak İstiyor musunuz ?"));
}

// --- layout ---

TEST_F(MainWindow, TabsInOrder)
{
    const std::pair<const char *, QString> expected[] = {
        {"sstoklistesi", QStringLiteral("Stok Listesi")},
        {"ssepet", QStringLiteral("Sepet")},
        {"sonceki", QStringLiteral("Önceki Siparişler")},
        {"sccariekstre", QStringLiteral("Cari Ekstre")},
        {"syeniler", QStringLiteral("Yeni Stoklar")},
        {"skampanyali", QStringLiteral("Kampanyalı Stoklar")},
        {"sTabSheetduyuru", QStringLiteral("Duyurular")},
        {"sTabbakiyeler", QStringLiteral("Bakiyeler")},
        {"ss", QStringLiteral("Sanal Pos")},
    };
    auto *pages = find<QTabWidget>("sPageControl1");
    ASSERT_EQ(pages->count(), int(std::size(expected)));
    for (int i = 0; i < pages->count(); ++i) {
        EXPECT_EQ(pages->widget(i)->objectName(), QString::fromLatin1(expected[i].first));
        EXPECT_EQ(pages->tabText(i), expected[i].second);
        EXPECT_FALSE(pages->tabIcon(i).isNull()) << i;
    }
    EXPECT_EQ(pages->currentIndex(), 0);
}

TEST(TabCountCaption, CountEqualsNameWithoutBlanks)
{
    const std::tuple<int, QString, QString> cases[] = {
        {0, QStringLiteral("Stok Listesi"), QStringLiteral("0=Stok Listesi")},
        {1250, QStringLiteral("Sepet"), QStringLiteral("1250=Sepet")},
        {7, QStringLiteral("Kampanyalı Stoklar"), QStringLiteral("7=Kampanyalı Stoklar")},
    };
    for (const auto &[count, name, caption] : cases)
        EXPECT_EQ(TabCountCaption(count, name), caption);
}

TEST_F(MainWindow, GeneralMenuItems)
{
    form->SetWebSiteCaption();
    auto *menu = find<QMenu>("Genelmenu");
    const std::tuple<const char *, QString, bool, bool> expected[] = {
        {"M1", QStringLiteral("Mail Gönder"), false, true},
        {"N8", QString(), true, true},
        {"N4", QStringLiteral("Şifre Değiştirme İsteği"), false, true},
        {"N3", QString(), true, true},
        {"webitem", QStringLiteral("www.quorvel.com.tr"), false, true},
        {"N2", QString(), true, true},
        {"G1", QStringLiteral("Çıkış"), false, true},
        {"N10", QString(), true, true},
        {"R1", QStringLiteral("Raporlar"), false, false},
    };
    const QList<QAction *> actions = menu->actions();
    ASSERT_EQ(actions.size(), int(std::size(expected)));
    for (int i = 0; i < actions.size(); ++i) {
        const auto &[name, caption, separator, visible] = expected[i];
        SCOPED_TRACE(name);
        EXPECT_EQ(actions[i]->objectName(), QString::fromLatin1(name));
        EXPECT_EQ(actions[i]->isSeparator(), separator);
        if (!separator) {
            EXPECT_EQ(actions[i]->text(), caption);
        }
        EXPECT_EQ(actions[i]->isVisible(), visible);
    }
}

TEST_F(MainWindow, LegendTexts)
{
    auto *legend = find<QWidget>("Panel3");
    QStringList texts;
    int pictures = 0;
    for (QLabel *l : legend->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        if (!l->pixmap().isNull())
            ++pictures;
        else
            texts << l->text();
    }
    EXPECT_EQ(texts,
              (QStringList{QStringLiteral("Durum Açıklaması:    "),
                           QStringLiteral(" Stok mevcut  "),
                           QStringLiteral(" Telefon Açınız  "),
                           QStringLiteral(" Yolda  "),
                           QStringLiteral(" Tedarik Sürecinde "),
                           QStringLiteral(" Özel Sipariş  "),
                           QStringLiteral(" Yok  ")}));
    EXPECT_EQ(pictures, 6);
}

TEST(StatusPicture, LegendPicturesExistAndDiffer)
{
    QList<QImage> seen;
    for (int index : {0, 8, 2, 5, 1, 4, 3, 10}) {
        const QPixmap pm = StatusPicture(index);
        ASSERT_FALSE(pm.isNull()) << index;
        EXPECT_EQ(pm.deviceIndependentSize().toSize(), QSize(24, 24));
        const QImage img = pm.toImage();
        EXPECT_FALSE(seen.contains(img)) << index;
        seen.append(img);
    }
    for (int unused : {-1, 6, 7, 9, 11})
        EXPECT_TRUE(StatusPicture(unused).isNull()) << unused;
}

TEST_F(MainWindow, SearchEditUpperCasesLikeTheEditControl)
{
    auto *edit = find<qv::UpperCaseEdit>("araedit");
    ASSERT_NE(edit, nullptr);
    // Key by key, as typing delivers them (the test library cannot type non-ASCII).
    for (QChar ch : QStringLiteral("fren iı çşğüö")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(edit, &press);
    }
    // "i" gets the plain capital, as the registered names and codes are written;
    // the search box's key filter folds the Turkish letters to plain ones.
    EXPECT_EQ(edit->text(), QStringLiteral("FREN II CSGUO"));
}

TEST_F(MainWindow, SearchEditFocusedAtFirstShow)
{
    form->show();
    QApplication::setActiveWindow(form.get());
    QApplication::processEvents();
    EXPECT_EQ(form->focusWidget(), find<QWidget>("araedit"));
}

TEST_F(MainWindow, StartupStepsFillConnectionAndLoginRecord)
{
    const QMap<QString, QString> designed = form->bagc->params();
    EXPECT_EQ(designed.value(QStringLiteral("CommunicationProtocol")), QStringLiteral("tcp/ip"));
    EXPECT_EQ(designed.value(QStringLiteral("DatasnapContext")), QStringLiteral("datasnap/"));
    EXPECT_EQ(designed.value(QStringLiteral("DSProxyPort")), QStringLiteral("8090"));
    EXPECT_EQ(designed.value(QStringLiteral("Filters")), QStringLiteral("{}"));
    EXPECT_FALSE(form->bagc->LoginPrompt);

    const QString savedHost = ServerHostName;
    ServerHostName = QStringLiteral("b2b.example.test");
    form->bagc->params()[QStringLiteral("Port")] = QStringLiteral("1");
    form->SetServerAddress();
    EXPECT_EQ(form->bagc->params().value(QStringLiteral("HostName")),
              QStringLiteral("b2b.example.test"));
    EXPECT_EQ(form->bagc->params().value(QStringLiteral("Port")), QStringLiteral("9090"));
    ServerHostName = savedHost;

    form->CreateLoginRecord();
    ASSERT_NE(form->sbilgi, nullptr);
    EXPECT_EQ(form->sbilgi->BilgiSayarAdi(), ComputerName());
    EXPECT_EQ(form->sbilgi->BilgisayarKullanici(), WindowsUserName());
    EXPECT_EQ(form->sbilgi->Icip(), LocalIpAddress());
    EXPECT_EQ(form->sbilgi->BILGISAYARID(), MachineId());
    EXPECT_EQ(form->sbilgi->MusteriTipi(), 1); // the record's own default, untouched
}

} // namespace
