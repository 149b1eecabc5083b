#include "errors.h"
#include "uithread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QThread>
#include <QtConcurrent>

#include <gtest/gtest.h>

using namespace qv;

namespace {

// Runs fn on a pool thread while this thread keeps its event loop going.
template<typename Fn>
auto inWorker(Fn fn)
{
    QFutureWatcher<decltype(fn())> watcher;
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(QtConcurrent::run(fn));
    if (!watcher.isFinished())
        loop.exec();
    return watcher.result();
}

} // namespace

TEST(UiThread, BlockingHandOverRunsOnTheUiThreadAndWaits)
{
    EXPECT_TRUE(isUiThread());
    const auto result = inWorker([] {
        bool ranOnUi = false;
        bool workerSawUi = isUiThread();
        runOnUiThreadBlocking([&] { ranOnUi = isUiThread(); });
        return std::pair{workerSawUi, ranOnUi}; // read after the wait
    });
    EXPECT_FALSE(result.first);
    EXPECT_TRUE(result.second);
}

TEST(UiThread, BlockingHandOverOnTheUiThreadRunsAtOnce)
{
    bool ran = false;
    runOnUiThreadBlocking([&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST(UiThread, ErrorsOfTheHandedOverWorkReachTheCaller)
{
    const QString text = inWorker([] {
        try {
            runOnUiThreadBlocking([] { throw Error("Kayıt bulunamadı"); });
        } catch (const Error &e) {
            return e.message();
        }
        return QString();
    });
    EXPECT_EQ(text, QStringLiteral("Kayıt bulunamadı"));
}

TEST(UiThread, PostedWorkRunsLaterFromTheEventLoopInOrder)
{
    QStringList order;
    postToUiThread([&] { order.append(QStringLiteral("a")); });
    postToUiThread([&] { order.append(QStringLiteral("b")); });
    EXPECT_TRUE(order.isEmpty());
    inWorker([&] {
        postToUiThread([&] { order.append(QStringLiteral("c")); });
        return 0;
    });
    while (order.size() < 3)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ(order, (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
}
