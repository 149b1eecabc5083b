#include "uithread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <exception>

namespace qv {

bool isUiThread()
{
    const QCoreApplication *app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void runOnUiThreadBlocking(const std::function<void()> &fn)
{
    QCoreApplication *app = QCoreApplication::instance();
    // Without an application there is no UI thread to wait for.
    if (!app || isUiThread()) {
        fn();
        return;
    }
    // Exceptions must not cross the event loop; carry them back to the caller.
    std::exception_ptr error;
    QMetaObject::invokeMethod(
        app,
        [&fn, &error] {
            try {
                fn();
            } catch (...) {
                error = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (error)
        std::rethrow_exception(error);
}

void postToUiThread(std::function<void()> fn)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app) {
        fn();
        return;
    }
    QMetaObject::invokeMethod(app, std::move(fn), Qt::QueuedConnection);
}

} // namespace qv
