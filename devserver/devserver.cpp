#include "devserver.h"

#include "methods.h"

#include <QDir>
#include <QStandardPaths>

namespace qv {

DevServer::DevServer(DevServerOptions options)
    : m_options(std::move(options))
{}

DevServer::~DevServer()
{
    stop();
}

void DevServer::start()
{
    if (!m_db)
        m_db = std::make_unique<DevDatabase>(m_options.database);
    registerMethods();
    m_rpc.start(m_options.address, m_options.port);
}

void DevServer::stop()
{
    m_rpc.stop();
}

std::uint16_t DevServer::port() const
{
    return m_rpc.port();
}

void DevServer::setLogger(std::function<void(const std::string &)> logger)
{
    m_logger = logger;
    m_rpc.setLogger(std::move(logger));
}

void DevServer::registerMethods()
{
    devmethods::registerLoginAndStockMethods(m_rpc, *m_db, m_options);
    devmethods::registerCatalogueAndOrderMethods(m_rpc, *m_db, m_options);
    devmethods::registerAccountAndPromotionMethods(m_rpc, *m_db, m_options);
}

QString defaultDatabasePath()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        base = QDir::homePath();
    const QString dir = base + QStringLiteral("/quorvelb2b-devserver");
    QDir().mkpath(dir);
    return dir + QStringLiteral("/devserver.sqlite");
}

} // namespace qv
