#include "Unit1.h"

#include "animatedpicture.h"
#include "baglantiu.h"
#include "beklesinu.h"
#include "checkconnection.h"
#include "config.h"
#include "connection.h"
#include "dataset.h"
#include "dbgrid.h"
#include "exitseam.h"
#include "girisformu.h"
#include "messageseam.h"
#include "proxim.h"
#include "stoklistesi.h"
#include "uithread.h"
#include "uppercaseedit.h"
#include "utils.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QSvgRenderer>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <initializer_list>

// The resources live in the client library; a static library needs them
// registered by hand. Outside any namespace, as the macro requires.
static void initAssets()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(assets);
        return true;
    }();
    Q_UNUSED(done);
}

const QString CorporateWebAddress = QStringLiteral(QV_CORPORATE_WEB);

namespace {

constexpr int NarrowBoundary = 1152;

QPixmap svgPixmap(const QString &path, QSize size)
{
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return {};
    const qreal dpr = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pm(size * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(size)));
    return pm;
}

const QString StockPageName = QStringLiteral("Stok Listesi");

// Hands every key press of one widget to a handler; true consumes it.
class KeyPressFilter : public QObject
{
public:
    KeyPressFilter(std::function<bool(QKeyEvent &)> handler, QObject *parent)
        : QObject(parent)
        , m_handler(std::move(handler))
    {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress)
            return m_handler(*static_cast<QKeyEvent *>(event));
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool(QKeyEvent &)> m_handler;
};

QFont tahoma(int pixels, bool bold)
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// One grid column as the grids define it: caption empty = none.
struct ColumnDef
{
    const char16_t *field;
    const char16_t *caption;
    int weight;
    bool shown;
    bool offered = true;
};

void defineColumns(qv::DBGrid &grid, std::initializer_list<ColumnDef> defs)
{
    for (const ColumnDef &d : defs) {
        qv::DBGridColumn &c
            = grid.addColumn(QString::fromUtf16(d.field), QString::fromUtf16(d.caption));
        c.setWeight(d.weight);
        c.setVisible(d.shown);
        c.setOffered(d.offered);
    }
}

qv::AnimatedPicture *busyIndicator(const char *name, QWidget *parent)
{
    auto *g = new qv::AnimatedPicture(parent);
    g->setObjectName(QString::fromLatin1(name));
    g->setFixedSize(28, 27);
    g->setStretch(true);
    g->setVisible(false);
    return g;
}

QToolButton *toolButton(const char *name, const QString &hint, const QString &icon, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setIcon(QIcon(svgPixmap(icon, QSize(20, 20))));
    b->setIconSize(QSize(20, 20));
    b->setFixedSize(31, 29);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

QString TabCountCaption(int count, const QString &name)
{
    return QString::number(count) + QLatin1Char('=') + name;
}

QPixmap StatusPicture(int index)
{
    initAssets();
    static const QList<QPixmap> pictures = [] {
        QList<QPixmap> list;
        for (int i = 0; i < StatusPictureCount; ++i) {
            const QString path = QStringLiteral(":/status/%1.svg").arg(i, 2, 10, QLatin1Char('0'));
            list.append(QFile::exists(path) ? svgPixmap(path, QSize(24, 24)) : QPixmap());
        }
        return list;
    }();
    if (index < 0 || index >= pictures.size())
        return {};
    return pictures.at(index);
}

QPixmap TabIcon(int index)
{
    initAssets();
    if (index < 0 || index >= TabIconCount)
        return {};
    return svgPixmap(QStringLiteral(":/tabs/%1.svg").arg(index, 2, 10, QLatin1Char('0')),
                     QSize(32, 32));
}

TForm1::TForm1(QWidget *parent)
    : QWidget(parent)
    , bagc(std::make_unique<qv::SQLConnection>())
    , stok(std::make_unique<qv::Dataset>())
    , sepet(std::make_unique<qv::Dataset>())
    , ONCEKILER(std::make_unique<qv::Dataset>())
    , EKSTRE(std::make_unique<qv::Dataset>())
    , YENILER(std::make_unique<qv::Dataset>())
    , kampstok(std::make_unique<qv::Dataset>())
{
    initAssets();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quorvel Otomotiv B2B Programı"));
    setFont(tahoma(13, true));
    resize(1350, 652);

    bagc->ConnectionName = QStringLiteral("DataSnapCONNECTION");
    bagc->DriverName = QStringLiteral("DataSnap");
    bagc->LoginPrompt = false;
    auto &params = bagc->params();
    params[QStringLiteral("DriverName")] = QStringLiteral("DataSnap");
    params[QStringLiteral("CommunicationProtocol")] = QStringLiteral("tcp/ip");
    params[QStringLiteral("Port")] = QStringLiteral("9090");
    params[QStringLiteral("HostName")] = QString();
    params[QStringLiteral("DatasnapContext")] = QStringLiteral("datasnap/");
    params[QStringLiteral("DSProxyPort")] = QStringLiteral("8090");
    params[QStringLiteral("Filters")] = QStringLiteral("{}");

    SaveDialog1.Filter = QStringLiteral("Excel|*.xls*");

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);

    BuildMenu();
    BuildHeader();
    BuildToolbar();
    RxGIFAnimator2 = new qv::AnimatedPicture(this);
    RxGIFAnimator2->setObjectName(QStringLiteral("RxGIFAnimator2"));
    RxGIFAnimator2->setStretch(true);
    RxGIFAnimator2->setProportional(false);
    RxGIFAnimator2->setSpinnerWhenEmpty(false);
    RxGIFAnimator2->setFixedHeight(0); // takes its picture's height when one arrives
    BuildPages();
    BuildLegend();
    BuildTicker();

    root->addWidget(Panel1);
    root->addWidget(Panel2);
    root->addWidget(RxGIFAnimator2);
    root->addWidget(sPageControl1, 1);
    root->addWidget(Panel3);
    root->addWidget(Panel5);
}

TForm1::~TForm1()
{
    // The grids read the datasets until they go; detach them first.
    for (qv::DBGrid *g : {cxGrid1, cxGrid2, cxGrid6, cxkampanyali})
        g->detach();
}

void TForm1::BuildMenu()
{
    Genelmenu = new QMenu(this);
    Genelmenu->setObjectName(QStringLiteral("Genelmenu"));
    const auto item = [this](const char *name, const QString &caption) {
        QAction *a = Genelmenu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    const auto separator = [this](const char *name) {
        QAction *a = Genelmenu->addSeparator();
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    M1 = item("M1", QStringLiteral("Mail Gönder"));
    N8 = separator("N8");
    N4 = item("N4", QStringLiteral("Şifre Değiştirme İsteği"));
    N3 = separator("N3");
    webitem = item("webitem", QString());
    N2 = separator("N2");
    G1 = item("G1", QStringLiteral("Çıkış"));
    N10 = separator("N10");
    R1 = item("R1", QStringLiteral("Raporlar"));
    R1->setVisible(false);

    connect(M1, &QAction::triggered, this, &TForm1::M1Click);
    connect(N4, &QAction::triggered, this, &TForm1::N4Click);
    connect(webitem, &QAction::triggered, this, &TForm1::webitemClick);
    connect(G1, &QAction::triggered, this, &TForm1::G1Click);
    connect(R1, &QAction::triggered, this, &TForm1::R1Click);
}

void TForm1::BuildHeader()
{
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(100);
    Panel1->setAutoFillBackground(true);
    QPalette pal = Panel1->palette();
    pal.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(pal);
    auto *row = new QHBoxLayout(Panel1);
    row->setContentsMargins(0, 0, 4, 0);
    row->setSpacing(0);

    Image1 = new qv::AnimatedPicture(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(350, 100);
    Image1->setProportional(true);
    Image1->setSpinnerWhenEmpty(false);
    Image1->setPixmap(svgPixmap(QStringLiteral(":/logo.svg"), QSize(350, 100)));
    row->addWidget(Image1);

    GridPanel1 = new QWidget(Panel1);
    GridPanel1->setObjectName(QStringLiteral("GridPanel1"));
    // 442 at design; on narrow windows the labels give way, not the banner.
    GridPanel1->setMinimumWidth(180);
    GridPanel1->setMaximumWidth(442);
    GridPanel1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto *grid = new QGridLayout(GridPanel1);
    grid->setContentsMargins(0, 10, 0, 10);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(0);
    grid->setColumnStretch(0, 18);
    grid->setColumnStretch(1, 82);
    const auto caption = [this, grid](const char *name, const QString &text, int r) {
        auto *l = new QLabel(text, GridPanel1);
        l->setObjectName(QString::fromLatin1(name));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(l, r, 0);
        return l;
    };
    const auto value = [this, grid](const char *name, int r) {
        auto *l = new QLabel(GridPanel1);
        l->setObjectName(QString::fromLatin1(name));
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        // Long salesperson texts must not push the banner away.
        l->setMinimumWidth(1);
        l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, QColor(0xE2, 0x0A, 0x17));
        l->setPalette(p);
        grid->addWidget(l, r, 1);
        return l;
    };
    Label1 = caption("Label1", QStringLiteral("Kullanıcı: "), 0);
    kullanicilbl = value("kullanicilbl", 0);
    Label2 = caption("Label2", QStringLiteral("Firma: "), 1);
    cariadilbl = value("cariadilbl", 1);
    Label3 = caption("Label3", QStringLiteral("Temsilci: "), 2);
    saticilbl = value("saticilbl", 2);
    row->addWidget(GridPanel1, 1);
    row->addStretch(0);

    RxGIFAnimator1 = new qv::AnimatedPicture(Panel1);
    RxGIFAnimator1->setObjectName(QStringLiteral("RxGIFAnimator1"));
    RxGIFAnimator1->setFixedSize(409, 100);
    RxGIFAnimator1->setStretch(true);
    RxGIFAnimator1->setProportional(false);
    RxGIFAnimator1->setSpinnerWhenEmpty(false);
    row->addWidget(RxGIFAnimator1);
    row->addSpacing(4);

    Button3 = new QToolButton(Panel1);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setFixedSize(84, 94);
    Button3->setIcon(QIcon(svgPixmap(QStringLiteral(":/menu.svg"), QSize(56, 56))));
    Button3->setIconSize(QSize(56, 56));
    Button3->setPopupMode(QToolButton::MenuButtonPopup);
    Button3->setMenu(Genelmenu);
    Button3->setFocusPolicy(Qt::NoFocus);
    row->addWidget(Button3);
}

void TForm1::BuildToolbar()
{
    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedHeight(35);
    auto *row = new QHBoxLayout(Panel2);
    row->setContentsMargins(6, 3, 6, 3);
    row->setSpacing(4);

    Image2 = new QLabel(Panel2);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(svgPixmap(QStringLiteral(":/search.svg"), QSize(22, 22)));
    Image2->setFixedSize(26, 29);
    Image2->setAlignment(Qt::AlignCenter);
    row->addWidget(Image2);

    araedit = new qv::UpperCaseEdit(Panel2);
    araedit->setObjectName(QStringLiteral("araedit"));
    araedit->setFixedSize(340, 29);
    araedit->setFont(tahoma(20, false));
    row->addWidget(araedit);

    SpeedButton2
        = toolButton("SpeedButton2", QStringLiteral("Ara"), QStringLiteral(":/find.svg"), Panel2);
    row->addWidget(SpeedButton2);
    SpeedButton1 = toolButton(
        "SpeedButton1", QStringLiteral("Temizle"), QStringLiteral(":/clear.svg"), Panel2);
    row->addWidget(SpeedButton1);

    musteritus = new QPushButton(QStringLiteral("Başka Cari Seç"), Panel2);
    musteritus->setObjectName(QStringLiteral("musteritus"));
    musteritus->setFixedSize(149, 29);
    musteritus->setVisible(false);
    connect(musteritus, &QPushButton::clicked, this, &TForm1::musteritusClick);
    row->addWidget(musteritus);

    gifstokara = busyIndicator("gifstokara", Panel2);
    gifyeniler = busyIndicator("gifyeniler", Panel2);
    gifkampanyali = busyIndicator("gifkampanyali", Panel2);
    gifduyuru = busyIndicator("gifduyuru", Panel2);
    gifoncekiler = busyIndicator("gifoncekiler", Panel2);
    gifsepet = busyIndicator("gifsepet", Panel2);
    gifekstre = busyIndicator("gifekstre", Panel2);
    for (qv::AnimatedPicture *g :
         {gifstokara, gifyeniler, gifkampanyali, gifduyuru, gifoncekiler, gifsepet, gifekstre})
        row->addWidget(g);
    row->addStretch(1);
}

void TForm1::BuildPages()
{
    sPageControl1 = new QTabWidget(this);
    sPageControl1->setObjectName(QStringLiteral("sPageControl1"));
    sPageControl1->setIconSize(QSize(32, 32));
    sPageControl1->setDocumentMode(true);
    sPageControl1->setFont(tahoma(13, false));
    sPageControl1->tabBar()->setExpanding(false);

    struct Page
    {
        QWidget **member;
        const char *name;
        QString caption;
        int icon;
    };
    const Page pages[] = {
        {&sstoklistesi, "sstoklistesi", QStringLiteral("Stok Listesi"), 0},
        {&ssepet, "ssepet", QStringLiteral("Sepet"), 8},
        {&sonceki, "sonceki", QStringLiteral("Önceki Siparişler"), 3},
        {&sccariekstre, "sccariekstre", QStringLiteral("Cari Ekstre"), 1},
        {&syeniler, "syeniler", QStringLiteral("Yeni Stoklar"), 10},
        {&skampanyali, "skampanyali", QStringLiteral("Kampanyalı Stoklar"), 6},
        {&sTabSheetduyuru, "sTabSheetduyuru", QStringLiteral("Duyurular"), 5},
        {&sTabbakiyeler, "sTabbakiyeler", QStringLiteral("Bakiyeler"), 7},
        {&ss, "ss", QStringLiteral("Sanal Pos"), 12},
    };
    for (const Page &p : pages) {
        auto *w = new QWidget;
        w->setObjectName(QString::fromLatin1(p.name));
        w->setFont(font()); // the page contents keep the window's font, not the tabs'
        auto *layout = new QVBoxLayout(w);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        sPageControl1->addTab(w, QIcon(TabIcon(p.icon)), p.caption);
        *p.member = w;
    }

    const auto grid = [](const char *name, const char *viewName, QWidget *page) {
        auto *g = new qv::DBGrid(page);
        g->setObjectName(QString::fromLatin1(name));
        g->view()->setObjectName(QString::fromLatin1(viewName));
        page->layout()->addWidget(g);
        return g;
    };
    cxGrid1 = grid("cxGrid1", "cxGrid1DBTableView1", sstoklistesi);
    cxGrid2 = grid("cxGrid2", "cxGridDBTableView1", ssepet);
    cxGrid6 = grid("cxGrid6", "cxGridDBTableView5", syeniler);
    cxkampanyali = grid("cxkampanyali", "cxGridDBTableViewkampanyali", skampanyali);

    DefineStockColumns();
    SetupStockGrid();
    DefineBasketColumns();
    DefineNewItemsColumns();
    DefineCampaignColumns();

    cxGrid1->setDataset(stok.get());
    cxGrid2->setDataset(sepet.get());
    cxGrid6->setDataset(YENILER.get());
    cxkampanyali->setDataset(kampstok.get());
    cxGrid1->setHeaderHeight(40);
    cxGrid2->setHeaderHeight(40);
    cxGrid2->setDataRowHeight(60);

    connect(cxGrid1, &qv::DBGrid::resized, this, &TForm1::cxGrid1Resize);
    connect(cxGrid2, &qv::DBGrid::resized, this, &TForm1::cxGrid2Resize);
    connect(cxGrid6, &qv::DBGrid::resized, this, &TForm1::cxGrid6Resize);
    connect(cxkampanyali, &qv::DBGrid::resized, this, &TForm1::cxkampanyaliResize);

    sPageControl1->setCurrentWidget(sstoklistesi);
}

void TForm1::BuildLegend()
{
    Panel3 = new QWidget(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFixedHeight(27);
    auto *row = new QHBoxLayout(Panel3);
    row->setContentsMargins(8, 0, 8, 0);
    row->setSpacing(0);

    QFont legendFont(QStringLiteral("MS Sans Serif"));
    legendFont.setPixelSize(11);
    legendFont.setBold(true);
    QPalette pal = Panel3->palette();
    pal.setColor(QPalette::WindowText, QColor(0x43, 0x4C, 0x58)); // BGR 5786691
    Panel3->setPalette(pal);
    Panel3->setFont(legendFont);

    Label4 = new QLabel(QStringLiteral("Durum Açıklaması:    "), Panel3);
    Label4->setObjectName(QStringLiteral("Label4"));
    row->addWidget(Label4);
    const std::pair<int, QString> pairs[] = {
        {0, QStringLiteral(" Stok mevcut  ")},
        {8, QStringLiteral(" Telefon Açınız  ")},
        {2, QStringLiteral(" Yolda  ")},
        {5, QStringLiteral(" Tedarik Sürecinde ")},
        {1, QStringLiteral(" Özel Sipariş  ")},
        {4, QStringLiteral(" Yok  ")},
    };
    for (const auto &[picture, text] : pairs) {
        auto *icon = new QLabel(Panel3);
        icon->setPixmap(StatusPicture(picture));
        icon->setFixedSize(24, 24);
        row->addWidget(icon);
        auto *label = new QLabel(text, Panel3);
        row->addWidget(label);
    }
    row->addStretch(1);
}

void TForm1::BuildTicker()
{
    Panel5 = new QWidget(this);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setFixedHeight(40);
    Panel5->setAutoFillBackground(true);
    QPalette pal = Panel5->palette();
    pal.setColor(QPalette::Window, Qt::white);
    Panel5->setPalette(pal);
    auto *row = new QHBoxLayout(Panel5);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    kayanyazi = new QWidget(Panel5);
    kayanyazi->setObjectName(QStringLiteral("kayanyazi"));
    kayanyazi->setFixedHeight(40);
    QFont tickerFont(QStringLiteral("Arial"));
    tickerFont.setPixelSize(24);
    kayanyazi->setFont(tickerFont);
    row->addWidget(kayanyazi, 1);

    RealTimeMarquee1 = new QWidget(Panel5);
    RealTimeMarquee1->setObjectName(QStringLiteral("RealTimeMarquee1"));
    RealTimeMarquee1->setVisible(false);
    row->addWidget(RealTimeMarquee1);

    Image3 = new QLabel(Panel5);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setVisible(false);
    row->addWidget(Image3);
}

void TForm1::DefineStockColumns()
{
    defineColumns(*cxGrid1,
                  {
                      {u"DURUM", u"Durum", 1, true},
                      {u"OEM1", u"Oem1", 2, false},
                      {u"OEM2", u"Oem2", 2, false},
                      {u"OEM3", u"Oem3", 2, false},
                      {u"BARKOD", u"Barkod", 2, true},
                      {u"ADI", u"Açıklama", 3, true},
                      {u"OEM4", u"Oem4", 2, false},
                      {u"STOK_STOKNO", u"", 1, false, false},
                      {u"FINISHKOD", u"Finish Kod", 2, false},
                      {u"URETICIKODU", u"Üretici Kod", 2, false},
                      {u"RESIM", u"Resim", 1, true},
                      {u"BARKOD_BARKODNO", u"", 1, false, false},
                      {u"DIGERADI", u"Diğer Adı", 3, false},
                      {u"DPKOD", u"", 2, false, false},
                      {u"OEMNO", u"Oem No", 2, false},
                      {u"BIRIM", u"Birim", 1, false},
                      {u"MARKA", u"Marka", 2, true},
                      {u"MODEL", u"Model", 2, true},
                      {u"ANAGRUP", u"Ana Grup", 2, false},
                      {u"OZELKOD", u"Özel Kod", 2, true},
                      {u"KALAN", u"", 1, false, false},
                      {u"PKOD", u"", 1, false, false},
                      {u"KDV", u"", 1, false},
                      {u"ALINANSIPARIS", u"", 1, false, false},
                      {u"VERILENSIPARIS", u"", 1, false, false},
                      {u"LISTEFIYAT1", u"Liste Fiyatı", 2, true},
                      {u"KAMPFIYAT", u"Kampanyalı Fiyat", 2, true},
                      {u"FIYAT", u"Liste Fiyatı", 2, false},
                      {u"Y", u"Yeni", 1, true},
                      {u"K", u"Kampanyalı", 1, true},
                      {u"INDIRIMYAZI", u"İndirim Oran", 2, true},
                      {u"NETFIYAT", u"Net Fiyatı", 2, true},
                      {u"KDVDAHIL", u"KDV Dahil Fiyat", 3, true},
                      // Not a dataset field: the price summary is drawn into it.
                      {u"FiyatBilgisi", u"Fiyat Bilgisi", 2, false},
                  });
    cxGrid1->setDataRowHeight(60);
}

void TForm1::SetupStockGrid()
{
    qv::DBGrid &g = *cxGrid1;
    qv::DBGridColumn &durum = *g.columnByFieldName(u"DURUM");
    durum.setCellKind(qv::CellKind::Picture);
    durum.setAlignment(Qt::AlignHCenter);
    const struct
    {
        int value;
        int picture;
        const char16_t *name;
    } statuses[] = {
        {0, 4, u"Yok"},
        {4, 1, u"Özel Sipariş"},
        {3, 2, u"Yolda"},
        {10, 3, u""},
        {1, 0, u"Var"},
        {6, 10, u"Kritik"},
        {2, 8, u"Ara"},
    };
    for (const auto &s : statuses)
        durum.addPicture(s.value, StatusPicture(s.picture), QString::fromUtf16(s.name));

    for (const char16_t *field : {u"LISTEFIYAT1", u"KAMPFIYAT", u"INDIRIMYAZI"})
        g.columnByFieldName(field)->setWordWrap(false);
    g.columnByFieldName(u"INDIRIMYAZI")->setAlignment(Qt::AlignHCenter);
    g.columnByFieldName(u"STOK_STOKNO")->setFiltering(false);

    g.columnByFieldName(u"OEM1")->setSummary(qv::SummaryKind::Count);
    g.setFooterVisible(true);
    g.setRowColors(QColor(239, 239, 239), Qt::white);
    g.columnByFieldName(u"FiyatBilgisi")
        ->setCustomDraw([this](QPainter &p, const QStyleOptionViewItem &option, int row) {
            return cxGrid1DBTableView1FiyatBilgisiCustomDrawCell(p, option, row);
        });

    QPointer<TForm1> self(this);
    auto refolding = std::make_shared<bool>(false);
    araedit->installEventFilter(new KeyPressFilter(
        [self, refolding](QKeyEvent &e) {
            if (!self || *refolding)
                return false;
            if (e.key() == Qt::Key_Return || e.key() == Qt::Key_Enter) {
                QChar key(u'\r');
                self->araeditKeyPress(key);
                return true;
            }
            if (e.text().size() != 1)
                return false;
            const QChar typed = e.text().at(0);
            QChar key = typed;
            self->araeditKeyPress(key);
            if (key == typed)
                return false;
            if (!key.isNull()) {
                // The folded letter goes in as if typed, so the edit's upper
                // case rule still applies to it.
                QKeyEvent folded(QEvent::KeyPress, 0, e.modifiers(), QString(key));
                *refolding = true;
                QCoreApplication::sendEvent(self->araedit, &folded);
                *refolding = false;
            }
            return true;
        },
        araedit));
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm1::SpeedButton2Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);
}

void TForm1::DefineBasketColumns()
{
    defineColumns(*cxGrid2,
                  {
                      {u"SEC", u"Seç", 1, true, false},
                      {u"VERILISTARIHI", u"Sipariş Tarihi", 1, true},
                      {u"SIRANO", u"", 0, false, false},
                      {u"SIPARISNO", u"Sipariş No", 0, false},
                      {u"CARINO", u"", 0, false, false},
                      {u"TARIH", u"Tarih", 1, false},
                      {u"AKTAR", u"", 0, false, false},
                      {u"STOKNO", u"", 0, false, false},
                      {u"BARKOD", u"Barkod", 2, true},
                      {u"FINISHKOD", u"FinishKod", 2, true},
                      {u"OEMNO", u"OEMNo", 2, true},
                      {u"STOKADI", u"Stok Açıklama", 3, true},
                      {u"MIKTAR", u"Miktar", 1, true},
                      {u"BIRIMFIYAT", u"Birim Fiyat", 1, true},
                      {u"TUTAR", u"Tutar", 1, true},
                      {u"INDIRIMYAZI", u"İndirim Oran", 2, true},
                      {u"INDIRIMORANI1", u"İndirim Oranı %", 1, false, false},
                      {u"INDIRIMORANI2", u"", 1, false, false},
                      {u"INDIRIMORANI3", u"", 1, false, false},
                      {u"INDIRIMTUTAR", u"İndirim Tutar", 1, false, false},
                      {u"NETBIRIMFIYAT", u"Net Fiyat", 1, true},
                      {u"KDV", u"", 1, true},
                      {u"VERGITUTARI", u"Vergi Tutarı", 1, true},
                      {u"NETTUTAR", u"Net Tutar", 1, true},
                      {u"KUR", u"Kur", 1, false},
                      {u"KURTL", u"", 1, false, false},
                      {u"VERENIDNO", u"", 1, false, false},
                      {u"SAAT", u"Saat", 1, false},
                      {u"TESLIMID", u"", 1, false, false},
                      {u"KARGOID", u"", 1, false, false},
                      {u"ACIKLAMA", u"Açıklama", 1, false},
                      {u"IDNO", u"", 1, false, false},
                      {u"VERENSIRANO", u"", 1, false, false},
                      {u"VEREN", u"Veren", 1, true},
                      {u"CARIKOD", u"Cari Kod", 1, false, false},
                      {u"CARIADI", u"Cari Adı", 1, false, false},
                      {u"OEM1", u"", 1, false},
                      {u"OEM2", u"", 1, false},
                      {u"OEM3", u"", 1, false},
                      {u"OEM4", u"", 1, false},
                      {u"STOK_STOKNO", u"", 1, false, false},
                      {u"URETICIKODU", u"", 1, false, false},
                      {u"DIGERADI", u"", 1, false},
                      {u"DPKOD", u"", 1, false},
                      {u"MARKA", u"Marka", 1, false},
                      {u"MODEL", u"Model", 1, false},
                      {u"ANAGRUP", u"Ana Grup", 1, false},
                      {u"OZELKOD", u"Özel Kod", 1, false},
                      {u"PKOD", u"", 1, false},
                      {u"DURUM", u"Durum", 1, true},
                      {u"KALAN", u"Kalan", 1, false, false},
                      {u"INDIRIMORANI4", u"", 0, false},
                  });
}

void TForm1::DefineNewItemsColumns()
{
    defineColumns(*cxGrid6,
                  {
                      {u"OEM1", u"Oem1", 2, false},
                      {u"OEM2", u"Oem2", 2, false},
                      {u"OEM3", u"Oem3", 2, false},
                      {u"BARKOD", u"Barkod", 2, true},
                      {u"ADI", u"Açıklama", 3, true},
                      {u"OEM4", u"Oem4", 2, false},
                      {u"STOK_STOKNO", u"", 1, false, false},
                      {u"FINISHKOD", u"Finish Kod", 2, true},
                      {u"URETICIKODU", u"Üretici Kod", 2, false},
                      {u"BARKOD_BARKODNO", u"", 1, false, false},
                      {u"DIGERADI", u"Diğer Adı", 3, false},
                      {u"DPKOD", u"", 2, false, false},
                      {u"OEMNO", u"Oem No", 2, false},
                      {u"BIRIM", u"Birim", 1, true},
                      {u"MARKA", u"Marka", 2, true},
                      {u"MODEL", u"Model", 2, true},
                      {u"ANAGRUP", u"Ana Grup", 2, false},
                      {u"OZELKOD", u"Özel Kod", 2, false},
                      {u"KALAN", u"", 1, false, false},
                      {u"PKOD", u"", 1, false, false},
                      {u"KDV", u"", 1, false},
                      {u"ALINANSIPARIS", u"", 1, false, false},
                      {u"VERILENSIPARIS", u"", 1, false, false},
                      {u"FIYAT", u"Liste Fiyatı2", 2, false},
                      {u"K", u"Kampanyalı", 1, true},
                      {u"LISTEFIYAT1", u"Liste Fiyatı", 2, true},
                      {u"KAMPFIYAT", u"Kampanyalı Fiyatı", 2, true},
                      {u"INDIRIMYAZI", u"Indirim Oran", 2, true},
                      {u"INDIRIM", u"İndirim Oran", 1, false, false},
                      {u"NETFIYAT", u"Net Fiyatı", 2, true},
                      {u"KDVDAHIL", u"KDV Dahil Fiyat", 2, true},
                  });
}

void TForm1::DefineCampaignColumns()
{
    defineColumns(*cxkampanyali,
                  {
                      {u"OEM1", u"Oem1", 2, false},
                      {u"OEM2", u"Oem2", 2, false},
                      {u"OEM3", u"Oem3", 2, false},
                      {u"BARKOD", u"Barkod", 2, true},
                      {u"ADI", u"Açıklama", 3, true},
                      {u"OEM4", u"Oem4", 2, false},
                      {u"STOK_STOKNO", u"", 1, false, false},
                      {u"RESIM", u"Resim", 1, true},
                      {u"FINISHKOD", u"Finish Kod", 2, true},
                      {u"URETICIKODU", u"Üretici Kod", 2, false},
                      {u"BARKOD_BARKODNO", u"", 1, false, false},
                      {u"DIGERADI", u"Diğer Adı", 3, false},
                      {u"DPKOD", u"", 2, false, false},
                      {u"OEMNO", u"Oem No", 2, false},
                      {u"BIRIM", u"Birim", 1, true},
                      {u"MARKA", u"Marka", 2, true},
                      {u"MODEL", u"Model", 2, true},
                      {u"ANAGRUP", u"Ana Grup", 2, false},
                      {u"OZELKOD", u"Özel Kod", 2, false},
                      {u"KALAN", u"", 1, false, false},
                      {u"PKOD", u"", 1, false, false},
                      {u"KDV", u"", 1, false},
                      {u"ALINANSIPARIS", u"", 1, false, false},
                      {u"VERILENSIPARIS", u"", 1, false, false},
                      {u"ESKIFIYAT", u"Liste Fiyatı", 2, true},
                      {u"FIYAT", u"Kampanyalı Fiyatı", 2, true},
                      {u"Y", u"Yeni", 1, true},
                      {u"K", u"Kampanyalı", 1, true},
                      {u"INDIRIM", u"İndirim Oran", 1, false, false},
                      {u"INDIRIMYAZI", u"İndirim Oran", 2, true},
                      {u"NETFIYAT", u"Net Fiyatı", 2, true},
                      {u"KDVDAHIL", u"KDV Dahil Fiyat", 2, true},
                      {u"DURUM", u"Durum", 1, true},
                  });
}

// --- start-up ---

void TForm1::FormCreate()
{
    _acilisadet = 0;
    ApplyTitles();
    CreateLoginRecord();
    SetServerAddress();
    SetWebSiteCaption();
    RunLogin();
    StartStartupContent();
}

void TForm1::ApplyTitles()
{
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Quorvel Otomotiv B2B"));
    setWindowTitle(QStringLiteral("Quorvel Otomotiv B2B Programı"));
    qv::MessageSeam::setFontPointSize(15);
}

void TForm1::CreateLoginRecord()
{
    sbilgi = std::make_unique<TSonucBilgisi>();
    sbilgi->setBilgiSayarAdi(ComputerName());
    sbilgi->setBilgisayarKullanici(WindowsUserName());
    sbilgi->setIcip(LocalIpAddress());
    sbilgi->setBILGISAYARID(MachineId());
}

void TForm1::SetServerAddress()
{
    bagc->params()[QStringLiteral("HostName")] = ServerHostName;
    bagc->params()[QStringLiteral("Port")] = QStringLiteral("9090");
}

void TForm1::SetWebSiteCaption()
{
    webitem->setText(QUrl(CorporateWebAddress).host());
}

void TForm1::RunLogin()
{
    auto login = std::make_unique<Tgirisform>(this);
    login->bagim = bagc.get();
    login->Bilgim = sbilgi.get();
    if (login->exec() != QDialog::Accepted) {
        qv::terminateProcess(0);
        return;
    }
    login.reset();
    if (sbilgi->Disip().trimmed().isEmpty()) {
        qv::terminateProcess(0);
        return;
    }
    ApplyUserType();
}

void TForm1::ApplyUserType()
{
    // Shown or hidden, and offered in the column customisation or not.
    const auto columns
        = [](qv::DBGrid *grid, std::initializer_list<const char16_t *> fields, bool on) {
              for (const char16_t *field : fields) {
                  if (qv::DBGridColumn *c = grid->columnByFieldName(field)) {
                      c->setVisible(on);
                      c->setOffered(on);
                  }
              }
          };
    switch (sbilgi->MusteriTipi()) {
    case 1:
    case 2:
        musteritus->setVisible(true);
        for (qv::DBGrid *g : {cxGrid1, cxGrid6, cxkampanyali})
            columns(g, {u"KALAN", u"ALINANSIPARIS", u"VERILENSIPARIS"}, true);
        columns(cxGrid2, {u"KALAN"}, true);
        R1->setVisible(true);
        break;
    case 3:
        columns(cxGrid2, {u"DURUM"}, false);
        R1->setVisible(false);
        break;
    case 4:
        sPageControl1->setTabVisible(sPageControl1->indexOf(skampanyali), false);
        for (qv::DBGrid *g : {cxGrid1, cxGrid6})
            columns(g, {u"KAMPFIYAT", u"K"}, false);
        R1->setVisible(false);
        break;
    default:
        break;
    }
}

void TForm1::AnaBilgiAl()
{
    kullanicilbl->setText(sbilgi->ADI());
    cariadilbl->setText(sbilgi->CariAdi());
    saticilbl->setText(sbilgi->SaticiAdi() + QStringLiteral(" Telefonu: ") + sbilgi->SaticiTelefon()
                       + QStringLiteral(" email: ") + sbilgi->SaticiMail());
}

void TForm1::StartStartupContent()
{
    QPointer<TForm1> self(this);
    Async([self] {
        if (self)
            self->LoadStartupContent();
    })->Await([self] {
        if (self)
            self->ShowOpeningScreens();
    });
}

void TForm1::LoadStartupContent()
{
    QPointer<TForm1> self(this);
    qv::runOnUiThreadBlocking([self] {
        if (self)
            self->AnaBilgiAl();
    });
    LoadTicker();
    BannerREsimAl();
    BannerREsimAlUst();
    BannerREsimAlAlt();
    AcilisReklamAdetAl();
    BalonYaz();
}

// Ticker text, banners, opening-screen count, balloon counters and the
// opening screens come with the announcements and promotions.
void TForm1::LoadTicker() {}
void TForm1::BannerREsimAl() {}
void TForm1::BannerREsimAlUst() {}
void TForm1::BannerREsimAlAlt() {}
void TForm1::AcilisReklamAdetAl() {}
void TForm1::BalonYaz() {}
void TForm1::ShowOpeningScreens() {}

// --- handlers ---

void TForm1::closeEvent(QCloseEvent *event)
{
    bool canClose = true;
    FormCloseQuery(canClose);
    if (canClose)
        event->accept();
    else
        event->ignore();
}

void TForm1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        araedit->setFocus();
    }
}

void TForm1::FormCloseQuery(bool &CanClose)
{
    const int answer = ShowMessageDialog(QStringLiteral("Programdan Çıkmak İstiyor musunuz ?"),
                                         int(qv::DialogKind::Question),
                                         qv::buttonSet({qv::mbYes, qv::mbNo}),
                                         qv::mbYes,
                                         this);
    if (answer == qv::mrYes) {
        qv::terminateProcess(0);
        return;
    }
    CanClose = false;
}

void TForm1::G1Click()
{
    close();
}

void TForm1::M1Click() {}

void TForm1::N4Click() {}

void TForm1::R1Click() {}

void TForm1::musteritusClick() {}

void TForm1::webitemClick()
{
    QDesktopServices::openUrl(QUrl(CorporateWebAddress));
    araedit->selectAll();
    araedit->setFocus();
}

void TForm1::cxGrid1Resize()
{
    if (araedit->isEnabled())
        LayoutStockGrid();
}

void TForm1::cxGrid2Resize()
{
    if (cxGrid2->isEnabled())
        LayoutBasketGrid();
}

void TForm1::cxGrid6Resize()
{
    LayoutNewItemsGrid();
}

void TForm1::cxkampanyaliResize()
{
    if (cxkampanyali->isEnabled())
        LayoutCampaignGrid();
}

// --- layouts ---

int TForm1::MainWindowWidth() const
{
    return frameGeometry().width();
}

int TForm1::ScreenWidth() const
{
    if (m_screenWidth > 0)
        return m_screenWidth;
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 0;
}

void TForm1::LayoutStockGrid()
{
    qv::DBGrid &g = *cxGrid1;
    const bool wide = MainWindowWidth() > NarrowBoundary;
    for (const char16_t *field : {u"KDVDAHIL", u"NETFIYAT", u"KAMPFIYAT", u"LISTEFIYAT1"})
        if (qv::DBGridColumn *c = g.columnByFieldName(field))
            c->setVisible(wide);
    qv::DBGridColumn *fiyatBilgisi = g.columnByFieldName(u"FiyatBilgisi");
    fiyatBilgisi->setVisible(!wide);
    g.setDataRowHeight(wide ? 60 : 100);

    qv::WeightedColumnWidths(g);

    if (!wide) {
        for (const char16_t *field : {u"OEM1", u"OEM2", u"OEM3"})
            g.columnByFieldName(field)->setWidth(80);
        fiyatBilgisi->setWidth(150);
        g.setDataRowHeight(100);
    }
}

void TForm1::LayoutBasketGrid()
{
    if (ScreenWidth() > NarrowBoundary)
        qv::WeightedColumnWidths(*cxGrid2);
    else
        cxGrid2->bestFit();
}

void TForm1::LayoutNewItemsGrid()
{
    if (ScreenWidth() > NarrowBoundary)
        qv::WeightedColumnWidths(*cxGrid6);
    else
        cxGrid6->bestFit();
}

void TForm1::LayoutCampaignGrid()
{
    if (ScreenWidth() > NarrowBoundary)
        qv::WeightedColumnWidths(*cxkampanyali);
    else
        cxkampanyali->bestFit();
}

// --- stock search ---

void TForm1::araeditKeyPress(QChar &Key)
{
    Key = FoldSearchKey(Key);
    if (Key == u'\r') {
        Key = QChar();
        StartStockSearch();
    }
}

void TForm1::SpeedButton2Click()
{
    if (!araedit->isEnabled())
        return;
    QChar key(u'\r');
    araeditKeyPress(key);
}

void TForm1::SpeedButton1Click()
{
    ResetSearch();
}

bool TForm1::stockSearchRunning() const
{
    return m_stockSearch && m_stockSearch->running();
}

void TForm1::StartStockSearch()
{
    // A running search keeps the box disabled; nothing may start a second one.
    if (!araedit->isEnabled() || stockSearchRunning())
        return;
    sPageControl1->setCurrentWidget(sstoklistesi);
    if (araedit->text().trimmed().size() < 3) {
        ShowMessageDialog(QStringLiteral("Lütfen en az 3 harf giriniz !"),
                          int(qv::DialogKind::Warning),
                          qv::buttonSet({qv::mbOK}),
                          qv::mbOK,
                          this);
        return;
    }

    const QString kod = araedit->text();
    m_lastStockSearchText = kod;
    // Copied and cloned here, on the UI thread that owns the originals.
    auto bilgi
        = std::make_shared<std::unique_ptr<TSonucBilgisi>>(std::make_unique<TSonucBilgisi>());
    (*bilgi)->Kopyala(*sbilgi);
    auto connection = std::make_shared<std::unique_ptr<qv::SQLConnection>>(bagc->clone());
    auto result = std::make_shared<StockSearchResult>();

    // The page-load pattern with the search's differences: the box is locked
    // instead of the grid, the grid is detached by itself (it keeps its column
    // states) and its filter cleared, and a failure empties the list.
    if (!m_stockSearch)
        m_stockSearch = new PageLoad(gifstokara, araedit, nullptr, nullptr, this);
    TForm1 *form = this;
    m_stockSearch->loader = [form, kod, bilgi, connection, result] {
        *result = form->SearchStock(kod, std::move(*bilgi), std::move(*connection));
        return !result->failed;
    };
    m_stockSearch->onStart = [this] {
        cxGrid1->detach();
        cxGrid1->beginUpdate();
        cxGrid1->clearFilter();
    };
    m_stockSearch->beforeAttach = [this](bool failed) {
        if (failed)
            stok->close();
        cxGrid1->setDataset(stok.get());
        cxGrid1->endUpdate();
    };
    m_stockSearch->onCompleted = [this, result](bool) {
        FinishStockSearch(*result);
    };
    m_stockSearch->start();
}

TForm1::StockSearchResult TForm1::SearchStock(const QString &kod,
                                              std::unique_ptr<TSonucBilgisi> bilgi,
                                              std::unique_ptr<qv::SQLConnection> connection)
{
    StockSearchResult result;
    bool disabled = false;
    try {
        if (!qv::CheckConnection(*connection, false))
            return result;
        {
            TServerMethods1Client proxy(connection->DBXConnection_());
            stok->disableControls();
            disabled = true;
            const std::shared_ptr<qv::TableData> table = proxy.StokAraGetir(kod, std::move(bilgi));
            stok->setData(table ? *table : qv::TableData());
            // A result without the discount column is no stock list.
            stok->fieldIndexOrThrow(u"IND1");
            result.count = int(stok->recordCount());
            qv::FormatFloatFields(*stok);
        }
        result.failed = false;
    } catch (...) {
        result.failed = true;
        result.count = 0;
    }
    if (disabled)
        stok->enableControls();
    // The clone closes when it goes, on success and on failure alike.
    connection.reset();
    return result;
}

// After the grid is attached again and the box enabled; the common failure
// message follows from the page load.
void TForm1::FinishStockSearch(const StockSearchResult &result)
{
    araedit->selectAll();
    araedit->setFocus();
    const int page = sPageControl1->indexOf(sstoklistesi);
    sPageControl1->setTabText(
        page, result.failed ? StockPageName : TabCountCaption(result.count, StockPageName));
}

void TForm1::ResetSearch()
{
    if (!araedit->isEnabled())
        return;
    if (stok->fieldCount() > 0) {
        stok->close();
        sPageControl1->setTabText(sPageControl1->indexOf(sstoklistesi), StockPageName);
    }
    sPageControl1->setCurrentWidget(sstoklistesi);
    cxGrid1->clearFilter();
    araedit->clear();
    araedit->selectAll();
    araedit->setFocus();
}

bool TForm1::cxGrid1DBTableView1FiyatBilgisiCustomDrawCell(QPainter &painter,
                                                           const QStyleOptionViewItem &option,
                                                           int row)
{
    const auto amount = [this, row](QStringView field) {
        const int col = stok->fieldIndex(field);
        if (col < 0 || row < 0 || std::size_t(row) >= stok->recordCount())
            return 0.0;
        return stok->value(std::size_t(row), col).toDouble();
    };
    QString text = PriceSummaryText(
        amount(u"LISTEFIYAT1"), amount(u"KAMPFIYAT"), amount(u"NETFIYAT"), amount(u"KDVDAHIL"));
    // The last line break would only add an empty line under the text.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.chop(1);

    const int visualRow = option.index.isValid() ? option.index.row() : row;
    QColor fill;
    if (option.state & QStyle::State_Selected)
        fill = QColor(210, 240, 249);
    else
        fill = visualRow % 2 ? QColor(Qt::white) : QColor(239, 239, 239);
    painter.save();
    painter.fillRect(option.rect, fill);
    painter.setFont(option.font);
    painter.setPen(Qt::black);
    painter.drawText(option.rect.adjusted(10, 0, -10, 0), Qt::AlignRight | Qt::AlignVCenter, text);
    painter.restore();
    return true;
}
