#include "beklesinu.h"

#include "dataset.h"
#include "errors.h"
#include "messageseam.h"
#include "uithread.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSemaphore>
#include <QTableView>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>

using namespace qv;

namespace {

const QString kFailure = QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!");

// Generous, only so that a broken build fails instead of hanging.
constexpr int kSafetyMs = 30000;

class BeklesinuTest : public ::testing::Test
{
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    static void reset()
    {
        MessageSeam::clear();
        MessageSeam::setAutoAnswer(mrNone);
        MessageSeam::setInspector(nullptr);
        MessageSeam::setAnswerFunction(nullptr);
    }
};

// Runs the event loop until done() holds.
template<typename Pred>
void spinUntil(Pred done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
}

// One page: its busy indicator and its grid, found by object name.
struct Page
{
    explicit Page(const QString &name)
    {
        window.setObjectName(name);
        auto *gif = new QLabel(&window);
        gif->setObjectName(QStringLiteral("gif") + name);
        gif->hide();
        auto *grid = new QTableView(&window);
        grid->setObjectName(QStringLiteral("cxGrid") + name);
        model.setDataset(&dataset);
        grid->setModel(&model);
        load = new PageLoad(gif, grid, &model, &dataset, &window);
        load->onCompleted = [this](bool) {
            ++completions;
        };
    }
    QWidget *gif()
    {
        return window.findChild<QWidget *>(QStringLiteral("gif") + window.objectName());
    }
    QWidget *grid()
    {
        return window.findChild<QWidget *>(QStringLiteral("cxGrid") + window.objectName());
    }

    QWidget window;
    Dataset dataset;
    DatasetModel model;
    PageLoad *load = nullptr;
    int completions = 0;
};

} // namespace

TEST_F(BeklesinuTest, CompletionRunsOnTheUiThreadAfterTheBackground)
{
    std::atomic<bool> backgroundDone{false};
    Qt::HANDLE backgroundThread = nullptr;
    bool completed = false;
    Async([&] {
        backgroundThread = QThread::currentThreadId();
        backgroundDone = true;
    })->Await([&] {
        EXPECT_TRUE(isUiThread());
        EXPECT_TRUE(backgroundDone);
        completed = true;
    });
    spinUntil([&] { return completed; });
    EXPECT_NE(backgroundThread, QThread::currentThreadId());
}

TEST_F(BeklesinuTest, CompletionRunsWhileAModalDialogIsOpen)
{
    QMessageBox *open = nullptr;
    bool ranInsideModal = false;
    MessageSeam::setInspector([&](QMessageBox *box) {
        open = box;
        // Safety only: a completion that never comes must not hang the run.
        QTimer::singleShot(kSafetyMs, box, [box] { box->findChild<QPushButton *>("OK")->click(); });
    });
    Async([] {})->Await([&] {
        ranInsideModal = open && QApplication::activeModalWidget() == open;
        if (open)
            open->findChild<QPushButton *>("OK")->click();
    });
    MessageSeam::messageDialog(
        QStringLiteral("bekle"), DialogKind::Information, buttonSet({mbOK}), mbOK);
    EXPECT_TRUE(ranInsideModal);
}

TEST_F(BeklesinuTest, BackgroundErrorRunsTheCompletionFirstThenTheDefaultErrorDisplay)
{
    MessageSeam::setAutoAnswer(mrOk);
    int shownAtCompletion = -1;
    bool completed = false;
    Async([] { throw Error("Sunucu hatası: stok yok"); })->Await([&] {
        shownAtCompletion = int(MessageSeam::shown().size());
        completed = true;
    });
    spinUntil([&] { return !MessageSeam::shown().isEmpty(); });
    EXPECT_TRUE(completed);
    EXPECT_EQ(shownAtCompletion, 0);
    ASSERT_EQ(MessageSeam::shown().size(), 1);
    const DialogRecord r = MessageSeam::shown().first();
    EXPECT_EQ(r.text, QStringLiteral("Sunucu hatası: stok yok"));
    EXPECT_EQ(r.kind, int(DialogKind::Error));
}

TEST_F(BeklesinuTest, DetachedThreadRunsWithoutAnyoneWaiting)
{
    std::atomic<bool> ran{false};
    QSemaphore done;
    RunDetached([&] {
        ran = !isUiThread();
        done.release();
    });
    ASSERT_TRUE(done.tryAcquire(1, kSafetyMs));
    EXPECT_TRUE(ran);
}

TEST_F(BeklesinuTest, PageLoadLocksThePageWhileLoadingAndUnlocksAfter)
{
    struct Case
    {
        const char *name;
        bool succeeds;
        int failureMessages;
    };
    const Case cases[] = {{"success", true, 0}, {"failure", false, 1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        reset();
        MessageSeam::setAutoAnswer(mrOk);
        Page page(QStringLiteral("sepet"));
        page.window.show();
        QSemaphore gate;
        page.load->loader = [&gate, &c] {
            gate.tryAcquire(1, kSafetyMs);
            return c.succeeds;
        };

        page.load->start();
        EXPECT_TRUE(page.gif()->isVisible());
        EXPECT_FALSE(page.grid()->isEnabled());
        EXPECT_EQ(page.model.dataset(), nullptr); // detached while it fills
        EXPECT_TRUE(page.load->running());

        gate.release();
        spinUntil([&] { return page.completions == 1; });
        EXPECT_FALSE(page.gif()->isVisible());
        EXPECT_TRUE(page.grid()->isEnabled());
        EXPECT_EQ(page.model.dataset(), &page.dataset);
        EXPECT_FALSE(page.load->running());

        const auto records = MessageSeam::shown();
        ASSERT_EQ(records.size(), c.failureMessages);
        for (const DialogRecord &r : records) {
            EXPECT_EQ(r.text, kFailure);
            EXPECT_EQ(r.kind, int(DialogKind::Error));
            EXPECT_EQ(r.buttons, buttonSet({mbOK}));
            EXPECT_EQ(r.defaultButton, int(mbOK));
        }
    }
}

TEST_F(BeklesinuTest, PageLoadThatThrowsReenablesThePageBeforeTheErrorBox)
{
    Page page(QStringLiteral("yeniler"));
    page.window.show();
    bool enabledWhenShown = false;
    MessageSeam::setAnswerFunction([&](const DialogRecord &) {
        enabledWhenShown = page.grid()->isEnabled() && !page.gif()->isVisible();
        return int(mrOk);
    });
    page.load->loader = []() -> bool {
        throw Error("Beklenmeyen hata");
    };
    page.load->start();
    spinUntil([&] { return !MessageSeam::shown().isEmpty(); });
    EXPECT_EQ(page.completions, 1);
    EXPECT_TRUE(enabledWhenShown);
    ASSERT_EQ(MessageSeam::shown().size(), 1); // no connection message on top
    EXPECT_EQ(MessageSeam::shown().first().text, QStringLiteral("Beklenmeyen hata"));
}

TEST_F(BeklesinuTest, ShowingsDuringALoadGiveOneReloadAfterIt)
{
    Page page(QStringLiteral("oncekiler"));
    QSemaphore gate;
    std::atomic<int> calls{0};
    std::atomic<int> inside{0};
    std::atomic<int> mostInside{0};
    page.load->loader = [&] {
        ++calls;
        const int now = ++inside;
        mostInside = std::max(mostInside.load(), now);
        gate.tryAcquire(1, kSafetyMs);
        --inside;
        return true;
    };

    page.load->start();
    page.load->start();
    page.load->start();
    EXPECT_TRUE(page.load->reloadPending());
    gate.release(2);
    spinUntil([&] { return page.completions == 2; });
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(mostInside, 1);
    EXPECT_FALSE(page.load->running());
    EXPECT_FALSE(page.load->reloadPending());
    EXPECT_TRUE(page.grid()->isEnabled());
}

TEST_F(BeklesinuTest, TwoPagesLoadAtOnceAndEachUnlocksOnlyItself)
{
    Page a(QStringLiteral("sepet"));
    Page b(QStringLiteral("ekstre"));
    QSemaphore bothRunning;
    QSemaphore releaseB;
    std::atomic<bool> overlapped{true};
    a.load->loader = [&] {
        bothRunning.release();
        overlapped = overlapped && bothRunning.tryAcquire(2, kSafetyMs);
        return true;
    };
    b.load->loader = [&] {
        bothRunning.release(2);
        releaseB.tryAcquire(1, kSafetyMs);
        return true;
    };

    a.load->start();
    b.load->start();
    spinUntil([&] { return a.completions == 1; });
    EXPECT_TRUE(overlapped);
    EXPECT_TRUE(a.grid()->isEnabled());
    EXPECT_FALSE(b.grid()->isEnabled());
    EXPECT_TRUE(b.load->running());

    releaseB.release();
    spinUntil([&] { return b.completions == 1; });
    EXPECT_TRUE(b.grid()->isEnabled());
    EXPECT_TRUE(MessageSeam::shown().isEmpty());
}
