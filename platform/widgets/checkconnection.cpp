#include "checkconnection.h"

#include "connection.h"
#include "errors.h"
#include "messageseam.h"
#include "uithread.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <chrono>

namespace qv {

namespace {

void waitBetweenAttempts(std::chrono::milliseconds wait)
{
    if (wait.count() <= 0)
        return;
    if (!isUiThread()) {
        QThread::msleep(static_cast<unsigned long>(wait.count()));
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(wait, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

constexpr int kAttempts = 11;
constexpr std::chrono::milliseconds kWait{500};

} // namespace

bool CheckConnection(SQLConnection &connection, bool reportFailure)
{
    connection.close();
    int attempts = 0;
    do {
        try {
            connection.open();
            return connection.connected();
        } catch (const std::exception &e) {
            MessageSeam::showMessage(errorText(e));
            connection.close();
            ++attempts;
            waitBetweenAttempts(kWait);
        }
    } while (attempts < kAttempts);

    if (reportFailure)
        MessageSeam::messageDialog(
            QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!"),
            DialogKind::Error,
            buttonSet({mbOK}),
            mbOK);
    return connection.connected();
}

} // namespace qv
