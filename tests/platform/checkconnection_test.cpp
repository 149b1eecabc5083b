#include "checkconnection.h"

#include "connection.h"
#include "devserverfixture.h"
#include "messageseam.h"

#include <QEventLoop>
#include <QFutureWatcher>
#include <QMessageBox>
#include <QPushButton>
#include <QTcpServer>
#include <QTimer>
#include <QtConcurrent>

#include <gtest/gtest.h>

using namespace qv;

namespace {

const QString kFinal = QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!");

class CheckConnectionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        reset();
        connection.params()[QStringLiteral("HostName")] = QStringLiteral("127.0.0.1");
        connection.params()[QStringLiteral("Port")] = QString::number(port);
        connection.params()[QStringLiteral("DatasnapContext")] = QStringLiteral("datasnap/");
    }
    void TearDown() override { reset(); }
    static void reset()
    {
        MessageSeam::clear();
        MessageSeam::setAutoAnswer(mrNone);
        MessageSeam::setInspector(nullptr);
        MessageSeam::setAnswerFunction(nullptr);
    }

    // Runs the check on a pool thread while this (UI) thread serves its messages.
    bool checkInBackground(bool reportFailure)
    {
        QFutureWatcher<bool> watcher;
        QEventLoop loop;
        QObject::connect(&watcher, &QFutureWatcher<bool>::finished, &loop, &QEventLoop::quit);
        watcher.setFuture(QtConcurrent::run(
            [this, reportFailure] { return CheckConnection(connection, reportFailure); }));
        if (!watcher.isFinished())
            loop.exec();
        return watcher.result();
    }

    static QList<DialogRecord> plainMessages()
    {
        QList<DialogRecord> list;
        for (const DialogRecord &r : MessageSeam::shown())
            if (r.plain)
                list.append(r);
        return list;
    }

    std::uint16_t port = qvtest::closedPort();
    SQLConnection connection;
};

void expectElevenTransportMessages(const QList<DialogRecord> &plain)
{
    ASSERT_EQ(plain.size(), 11);
    EXPECT_FALSE(plain.first().text.isEmpty());
    for (const DialogRecord &r : plain) {
        EXPECT_EQ(r.text, plain.first().text);
        EXPECT_TRUE(r.uiThread);
        EXPECT_EQ(r.buttons, buttonSet({mbOK}));
    }
}

} // namespace

TEST_F(CheckConnectionTest, SilentFormFromABackgroundTaskGivesUpQuietly)
{
    MessageSeam::setAutoAnswer(mrOk);
    EXPECT_FALSE(checkInBackground(false));
    EXPECT_FALSE(connection.connected());
    expectElevenTransportMessages(plainMessages());
    EXPECT_EQ(MessageSeam::shown().size(), 11); // no final dialog
}

TEST_F(CheckConnectionTest, ReportingFormOnTheUiThreadEndsWithTheErrorDialog)
{
    QString title;
    QStringList captions;
    MessageSeam::setAnswerFunction(
        [](const DialogRecord &r) { return r.plain ? int(mrOk) : int(mrNone); });
    MessageSeam::setInspector([&](QMessageBox *box) {
        title = box->windowTitle();
        for (QAbstractButton *b : box->buttons())
            captions.append(b->text());
        QTimer::singleShot(0, box, [box] { box->findChild<QPushButton *>("OK")->click(); });
    });

    EXPECT_FALSE(CheckConnection(connection, true));

    expectElevenTransportMessages(plainMessages());
    const auto all = MessageSeam::shown();
    ASSERT_EQ(all.size(), 12);
    const DialogRecord final = all.last();
    EXPECT_FALSE(final.plain);
    EXPECT_EQ(final.text, kFinal);
    EXPECT_EQ(final.kind, int(DialogKind::Error));
    EXPECT_EQ(final.buttons, buttonSet({mbOK}));
    EXPECT_EQ(title, QStringLiteral("Hata"));
    EXPECT_EQ(captions, QStringList{QStringLiteral("Tamam")});
}

TEST_F(CheckConnectionTest, ServerReachableAtTheFourthAttempt)
{
    QTcpServer server;
    MessageSeam::setAnswerFunction([&](const DialogRecord &r) {
        if (r.plain && plainMessages().size() == 3)
            server.listen(QHostAddress::LocalHost, port);
        return int(mrOk);
    });
    EXPECT_TRUE(checkInBackground(true));
    EXPECT_TRUE(server.isListening());
    EXPECT_TRUE(connection.connected());
    EXPECT_EQ(plainMessages().size(), 3);
    EXPECT_EQ(MessageSeam::shown().size(), 3);
}
