#pragma once

// Starts the real development server executable on a free loopback port with
// a fresh temporary database, and stops it again.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <memory>

namespace qvtest {

class DevServer
{
public:
    // extraArgs go to the server, e.g. {"--seed-stock", "200"}.
    explicit DevServer(const QStringList &extraArgs = {});
    ~DevServer();

    bool running() const;
    std::uint16_t port() const { return m_port; }
    std::uint16_t webPort() const { return m_webPort; } // the web-site stand-in; 0 when none
    QString databasePath() const;
    QString log() const; // what the server wrote so far

    void kill(); // drops every connection at once
    void stop(); // SIGTERM and wait
    int exitCode() const { return m_proc ? m_proc->exitCode() : -1; }

    static QString executable();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_proc;
    std::uint16_t m_port = 0;
    std::uint16_t m_webPort = 0;
    mutable QString m_log;
};

// A loopback port nothing listens on (bound, then released).
std::uint16_t closedPort();

} // namespace qvtest
