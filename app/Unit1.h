#pragma once

// The main window: every page of the ordering client is a tab of its page
// control. The window lays out the header, toolbar, legend and ticker, owns
// the main connection, the page datasets and the login record, and runs the
// start-up steps in their fixed order.

#include <QPixmap>
#include <QString>
#include <QWidget>

#include <memory>

class QAction;
class QChar;
class QCloseEvent;
class QLabel;
class QMenu;
class QPainter;
class QStyleOptionViewItem;
class QPushButton;
class QTabWidget;
class QToolButton;
class PageLoad;
class TSonucBilgisi;

namespace qv {
class AnimatedPicture;
class DBGrid;
class Dataset;
class SQLConnection;
class UpperCaseEdit;
} // namespace qv

// The count form of tab captions: "0=Stok Listesi".
QString TabCountCaption(int count, const QString &name);

// The list of status pictures the legend and the stock grids show, 24 x 24,
// addressed by picture index (0 stock present, 1 special order, 2 on the way,
// 3 unknown, 4 none, 5 in supply, 8 call us, 10 critical). Unused indexes and
// indexes out of range give a null pixmap.
inline constexpr int StatusPictureCount = 11;
QPixmap StatusPicture(int index);

// The tab icons, 32 x 32, by icon index 0..12; null out of range.
inline constexpr int TabIconCount = 13;
QPixmap TabIcon(int index);

// The corporate web site the general menu opens; the caption shows its host.
extern const QString CorporateWebAddress;

// Where the basket is exported; the dialog itself is made when it is needed.
struct TSaveDialog
{
    QString Filter;
    QString FileName;
};

class TForm1 : public QWidget
{
    Q_OBJECT
public:
    // Builds the window only; FormCreate runs the start-up steps.
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // --- start-up, in this order ---
    void FormCreate();
    void ApplyTitles();         // step 2
    void CreateLoginRecord();   // step 3
    void SetServerAddress();    // step 4
    void SetWebSiteCaption();   // step 5
    void RunLogin();            // step 6
    void StartStartupContent(); // step 7

    // The user type's changes to the window, once right after the login.
    void ApplyUserType();
    // The header labels from the login record.
    void AnaBilgiAl();

    // The start-up content step: the loaders run one after another on a
    // background thread and change controls only by blocking hand-overs;
    // the opening screens follow on the UI thread.
    void LoadStartupContent();
    void LoadTicker();
    void BannerREsimAl();
    void BannerREsimAlUst();
    void BannerREsimAlAlt();
    void AcilisReklamAdetAl();
    void BalonYaz();
    void ShowOpeningScreens();

    // --- handlers ---
    void FormCloseQuery(bool &CanClose);
    void G1Click();
    void M1Click();
    void N4Click();
    void R1Click();
    void webitemClick();
    void musteritusClick();
    void cxGrid1Resize();
    void cxGrid2Resize();
    void cxGrid6Resize();
    void cxkampanyaliResize();

    // --- stock search ---
    // The key filter of the search box; Enter ('\r') starts a search.
    void araeditKeyPress(QChar &Key);
    void SpeedButton2Click();
    // The price summary cell of the narrow layout; true when it drew.
    bool cxGrid1DBTableView1FiyatBilgisiCustomDrawCell(QPainter &painter,
                                                       const QStyleOptionViewItem &option,
                                                       int row);
    void SpeedButton1Click();
    void ResetSearch();
    // Background part of a search, on its own connection and login copy.
    struct StockSearchResult
    {
        bool failed = true;
        int count = 0;
    };
    StockSearchResult SearchStock(const QString &kod,
                                  std::unique_ptr<TSonucBilgisi> bilgi,
                                  std::unique_ptr<qv::SQLConnection> connection);
    void FinishStockSearch(const StockSearchResult &result);
    bool stockSearchRunning() const;
    // The text the last search sent, as typed.
    QString lastStockSearchText() const { return m_lastStockSearchText; }

    // --- column layout of the four weighted grids ---
    void LayoutStockGrid();
    void LayoutBasketGrid();
    void LayoutNewItemsGrid();
    void LayoutCampaignGrid();

    // The width the stock grid's layout compares with 1152: the outer width.
    int MainWindowWidth() const;
    // The screen width the lower grids compare with 1152; a test may fix it
    // (0 goes back to the real screen).
    int ScreenWidth() const;
    void setScreenWidth(int pixels) { m_screenWidth = pixels; }

    // --- data ---
    int _acilisadet = 0;
    std::unique_ptr<TSonucBilgisi> sbilgi;
    std::unique_ptr<qv::SQLConnection> bagc;
    std::unique_ptr<qv::Dataset> stok;
    std::unique_ptr<qv::Dataset> sepet;
    std::unique_ptr<qv::Dataset> ONCEKILER;
    std::unique_ptr<qv::Dataset> EKSTRE;
    std::unique_ptr<qv::Dataset> YENILER;
    std::unique_ptr<qv::Dataset> kampstok;
    TSaveDialog SaveDialog1;

    // --- controls (owned by the window through their parents) ---
    QWidget *Panel1;
    qv::AnimatedPicture *Image1;
    QWidget *GridPanel1;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *kullanicilbl;
    QLabel *cariadilbl;
    QLabel *saticilbl;
    qv::AnimatedPicture *RxGIFAnimator1;
    QToolButton *Button3;

    QWidget *Panel2;
    QLabel *Image2;
    qv::UpperCaseEdit *araedit;
    QToolButton *SpeedButton2;
    QToolButton *SpeedButton1;
    QPushButton *musteritus;
    qv::AnimatedPicture *gifstokara;
    qv::AnimatedPicture *gifyeniler;
    qv::AnimatedPicture *gifkampanyali;
    qv::AnimatedPicture *gifduyuru;
    qv::AnimatedPicture *gifoncekiler;
    qv::AnimatedPicture *gifsepet;
    qv::AnimatedPicture *gifekstre;

    qv::AnimatedPicture *RxGIFAnimator2;

    QTabWidget *sPageControl1;
    QWidget *sstoklistesi;
    QWidget *ssepet;
    QWidget *sonceki;
    QWidget *sccariekstre;
    QWidget *syeniler;
    QWidget *skampanyali;
    QWidget *sTabSheetduyuru;
    QWidget *sTabbakiyeler;
    QWidget *ss;
    qv::DBGrid *cxGrid1;
    qv::DBGrid *cxGrid2;
    qv::DBGrid *cxGrid6;
    qv::DBGrid *cxkampanyali;

    QWidget *Panel3;
    QLabel *Label4;
    QWidget *Panel5;
    QWidget *kayanyazi;
    QWidget *RealTimeMarquee1;
    QLabel *Image3;

    QMenu *Genelmenu;
    QAction *M1;
    QAction *N8;
    QAction *N4;
    QAction *N3;
    QAction *webitem;
    QAction *N2;
    QAction *G1;
    QAction *N10;
    QAction *R1;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void BuildHeader();
    void BuildToolbar();
    void BuildPages();
    void BuildLegend();
    void BuildTicker();
    void BuildMenu();
    void DefineStockColumns();
    void DefineBasketColumns();
    void DefineNewItemsColumns();
    void DefineCampaignColumns();
    void SetupStockGrid();
    void StartStockSearch();

    int m_screenWidth = 0;
    bool m_shownOnce = false;
    PageLoad *m_stockSearch = nullptr; // owned by this window (QObject parent)
    QString m_lastStockSearchText;
};
