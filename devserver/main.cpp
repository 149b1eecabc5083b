// quorvel-devserver: the development application server.

#include "demoadmin.h"
#include "devserver.h"
#include "errors.h"
#include "website.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QGuiApplication>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <pthread.h>

int main(int argc, char **argv)
{
    // Pictures are drawn with QPainter; no display is needed for that.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // Block the stop signals before any thread starts, so that only the
    // sigwait below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvel-devserver"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Quorvel B2B development application server"));
    parser.addHelpOption();
    const QCommandLineOption portOpt(QStringLiteral("port"),
                                     QStringLiteral("TCP port (0: any free one)."),
                                     QStringLiteral("port"),
                                     QStringLiteral("9090"));
    const QCommandLineOption addrOpt(QStringLiteral("address"),
                                     QStringLiteral("Address to listen on."),
                                     QStringLiteral("address"),
                                     QStringLiteral("127.0.0.1"));
    const QCommandLineOption dbOpt(
        QStringLiteral("db"), QStringLiteral("SQLite database file."), QStringLiteral("path"));
    const QCommandLineOption seedOpt(QStringLiteral("seed-stock"),
                                     QStringLiteral("Stock items seeded into a new database."),
                                     QStringLiteral("count"),
                                     QStringLiteral("20000"));
    const QCommandLineOption limitOpt(
        QStringLiteral("search-limit"),
        QStringLiteral("Most rows one stock search returns (0: all)."),
        QStringLiteral("rows"),
        QStringLiteral("2000"));
    const QCommandLineOption autoRegOpt(
        QStringLiteral("auto-register"),
        QStringLiteral("Register unknown computers to the demo dealer."));
    const QCommandLineOption webPortOpt(
        QStringLiteral("web-port"),
        QStringLiteral("TCP port of the web-site stand-in (0: any free one)."),
        QStringLiteral("port"),
        QStringLiteral("9091"));
    const QCommandLineOption versionOpt(
        QStringLiteral("program-version"),
        QStringLiteral("Program version the server reports (the client is 4; 5 makes it update)."),
        QStringLiteral("n"),
        QStringLiteral("4"));
    const QCommandLineOption registerOpt(
        QStringLiteral("register-machine"),
        QStringLiteral(
            "Register a computer as a copy of a demo user, e.g. MACHINEID=SATICI1 (repeatable)."),
        QStringLiteral("id=user"));
    const QCommandLineOption quietOpt(QStringLiteral("quiet"),
                                      QStringLiteral("No log line per call."));
    parser.addOptions({portOpt,
                       addrOpt,
                       dbOpt,
                       seedOpt,
                       limitOpt,
                       autoRegOpt,
                       webPortOpt,
                       versionOpt,
                       registerOpt,
                       quietOpt});
    parser.process(app);

    bool ok = false;
    const uint port = parser.value(portOpt).toUInt(&ok);
    bool webOk = false;
    const uint webPort = parser.value(webPortOpt).toUInt(&webOk);
    if (!ok || port > 65535 || !webOk || webPort > 65535) {
        std::cerr << "invalid --port or --web-port\n";
        return 2;
    }

    qv::DevServerOptions options;
    options.address = parser.value(addrOpt).toStdString();
    options.port = std::uint16_t(port);
    options.autoRegister = parser.isSet(autoRegOpt);
    options.database.path = parser.isSet(dbOpt) ? parser.value(dbOpt) : qv::defaultDatabasePath();
    options.database.stockCount = parser.value(seedOpt).toInt();
    options.database.searchLimit = parser.value(limitOpt).toInt();

    std::mutex logMutex;
    auto log = [&logMutex](const std::string &line) {
        const std::string stamp = QDateTime::currentDateTime()
                                      .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"))
                                      .toStdString();
        std::lock_guard lock(logMutex);
        std::fprintf(stdout, "%s %s\n", stamp.c_str(), line.c_str());
        std::fflush(stdout);
    };

    qv::DevServer server(options);
    if (!parser.isSet(quietOpt))
        server.setLogger(log);
    try {
        log("database " + options.database.path.toStdString());
        server.start();
        qv::setProgramVersion(server.database(), parser.value(versionOpt).toInt());
        for (const QString &r : parser.values(registerOpt)) {
            const qsizetype eq = r.lastIndexOf(QLatin1Char('='));
            if (eq <= 0)
                throw qv::Error(QStringLiteral("--register-machine wants ID=USER, got %1").arg(r));
            qv::registerMachineAs(server.database(), r.left(eq), r.mid(eq + 1));
            log("registered " + r.toStdString());
        }
    } catch (const std::exception &e) {
        log(std::string("cannot start: ") + e.what());
        return 1;
    }
    qv::WebSite site(server.database());
    if (!parser.isSet(quietOpt))
        site.setLogger(log);
    try {
        site.start(options.address, std::uint16_t(webPort));
        log("web site on " + options.address + ":" + std::to_string(site.port()));
    } catch (const std::exception &e) {
        log(std::string("web site not started: ") + e.what());
    }
    if (server.database().seededOnOpen())
        log("seeded a new database in " + std::to_string(server.database().seedSeconds()) + " s");
    log("listening on " + options.address + ":" + std::to_string(server.port()));

    int sig = 0;
    sigwait(&stopSignals, &sig);
    log(std::string("stopping on ") + (sig == SIGINT ? "SIGINT" : "SIGTERM"));
    site.stop();
    server.stop();
    log("stopped");
    return 0;
}
