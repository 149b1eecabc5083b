#pragma once

// The development application server: the database behind the methods of
// TServerMethods1, served over the remote-method wire.

#include "database.h"
#include "rpcserver.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace qv {

struct DevServerOptions
{
    DevDatabaseOptions database;
    std::string address = "127.0.0.1";
    std::uint16_t port = 9090;
    bool autoRegister = false; // unknown computers sign in as the demo dealer
};

class DevServer
{
public:
    explicit DevServer(DevServerOptions options);
    ~DevServer();

    // Opens the database (seeding a new one) and starts listening.
    void start();
    void stop();
    std::uint16_t port() const;

    void setLogger(std::function<void(const std::string &)> logger);
    DevDatabase &database() { return *m_db; }

private:
    void registerMethods();

    DevServerOptions m_options;
    std::unique_ptr<DevDatabase> m_db;
    rpc::RpcServer m_rpc;
    std::function<void(const std::string &)> m_logger;
};

// The per-user place of the database when no path is given.
QString defaultDatabasePath();

} // namespace qv
