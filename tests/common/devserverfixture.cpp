#include "devserverfixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QTcpServer>

#include <stdexcept>

namespace qvtest {

QString DevServer::executable()
{
    const QByteArray env = qgetenv("QV_DEVSERVER");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
#ifdef QV_DEVSERVER_PATH
    return QStringLiteral(QV_DEVSERVER_PATH);
#else
    return QStringLiteral("quorvel-devserver");
#endif
}

DevServer::DevServer(const QStringList &extraArgs)
{
    m_proc = std::make_unique<QProcess>();
    m_proc->setProcessChannelMode(QProcess::MergedChannels);
    QStringList args{QStringLiteral("--port"),
                     QStringLiteral("0"),
                     QStringLiteral("--web-port"),
                     QStringLiteral("0"),
                     QStringLiteral("--db"),
                     databasePath()};
    args += extraArgs;
    // A small catalogue keeps start-up quick; tests that need more say so.
    if (!extraArgs.contains(QStringLiteral("--seed-stock")))
        args += {QStringLiteral("--seed-stock"), QStringLiteral("500")};
    m_proc->start(executable(), args);
    if (!m_proc->waitForStarted(10000))
        throw std::runtime_error("dev server did not start: " + executable().toStdString());

    // The server prints "listening on <address>:<port>" once it accepts calls.
    static const QRegularExpression re(QStringLiteral("listening on [^\\s:]+:(\\d+)"));
    QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired()) {
        m_proc->waitForReadyRead(100);
        m_log += QString::fromUtf8(m_proc->readAll());
        const auto m = re.match(m_log);
        if (m.hasMatch()) {
            m_port = std::uint16_t(m.captured(1).toUInt());
            static const QRegularExpression web(QStringLiteral("web site on [^\\s:]+:(\\d+)"));
            if (const auto w = web.match(m_log); w.hasMatch())
                m_webPort = std::uint16_t(w.captured(1).toUInt());
            return;
        }
        if (m_proc->state() == QProcess::NotRunning)
            break;
    }
    throw std::runtime_error("dev server did not come up: " + m_log.toStdString());
}

DevServer::~DevServer()
{
    stop();
}

bool DevServer::running() const
{
    return m_proc && m_proc->state() == QProcess::Running;
}

QString DevServer::databasePath() const
{
    return m_dir.filePath(QStringLiteral("devserver.sqlite"));
}

QString DevServer::log() const
{
    // Nothing reaches the buffer unless someone waits for it.
    if (m_proc) {
        if (m_proc->state() == QProcess::Running)
            m_proc->waitForReadyRead(20);
        m_log += QString::fromUtf8(m_proc->readAll());
    }
    return m_log;
}

void DevServer::kill()
{
    if (running()) {
        m_proc->kill();
        m_proc->waitForFinished(5000);
    }
}

void DevServer::stop()
{
    if (running()) {
        m_proc->terminate();
        if (!m_proc->waitForFinished(10000)) {
            m_proc->kill();
            m_proc->waitForFinished(5000);
        }
    }
}

std::uint16_t closedPort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    const auto p = s.serverPort();
    s.close();
    return p;
}

} // namespace qvtest
