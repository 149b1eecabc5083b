#pragma once

// Client side of the remote-method wire: the connection with its settings,
// clones, the low-level handle that runs calls, commands with typed
// parameters by ordinal, and the proxy base the server proxy derives from.

#include "dataset.h"
#include "wirevalue.h"

#include <QByteArray>
#include <QIODevice>
#include <QMap>
#include <QString>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace qv {

class DBXConnection;
namespace wire {
class Record;
}

// The settings table of a server connection. Keys of params() include
// "HostName", "Port", "DatasnapContext", "CommunicationProtocol",
// "DSProxyPort", "Filters" and "DriverName".
class SQLConnection
{
public:
    SQLConnection();
    ~SQLConnection();
    SQLConnection(const SQLConnection &) = delete;
    SQLConnection &operator=(const SQLConnection &) = delete;

    QString ConnectionName = QStringLiteral("DataSnapCONNECTION");
    QString DriverName = QStringLiteral("DataSnap");
    bool LoginPrompt = false;

    QMap<QString, QString> &params() { return m_params; }
    const QMap<QString, QString> &params() const { return m_params; }

    // A new, unopened connection with the same driver and parameters.
    std::unique_ptr<SQLConnection> clone() const;

    // Opening is the TCP connect; throws qv::Error with the transport's text.
    void open();
    void close();
    bool connected() const;

    // The low-level handle of an open connection, nullptr when closed.
    DBXConnection *DBXConnection_() const { return m_dbx.get(); }

    // Longest wait for one call's reply (default 120 s) and for the connect.
    std::chrono::milliseconds callTimeout{120000};
    std::chrono::milliseconds connectTimeout{10000};

private:
    QMap<QString, QString> m_params;
    std::unique_ptr<DBXConnection> m_dbx;
};

// A typed parameter slot of a command, addressed by ordinal.
class DBXParameter
{
public:
    explicit DBXParameter(wire::WireType type = wire::WireType::None) { m_value.type = type; }

    wire::WireType type() const { return m_value.type; }
    void setType(wire::WireType t) { m_value.type = t; }

    void SetInt32(std::int32_t v);
    void SetInt64(std::int64_t v);
    void SetDouble(double v);
    void SetBoolean(bool v);
    void SetWideString(const QString &v);
    void SetJSONValue(std::string jsonText); // "null" for an absent object
    void SetNull();

    std::int32_t GetInt32() const;
    std::int64_t GetInt64() const;
    double GetDouble() const;
    bool GetBoolean() const;
    QString GetWideString() const;
    const std::string &GetJSONValue() const; // "null" when absent
    bool IsNull() const;
    std::shared_ptr<TableData> GetDataPacket() const;
    TableReader *GetDBXReader(); // owned by the command
    QIODevice *GetStream();      // owned by the command; a buffer over the bytes

    wire::Value &value() { return m_value; }
    const wire::Value &value() const { return m_value; }

    // Stores a decoded reply value under the declared type and drops the
    // reader and stream handed out for the previous one.
    void setResult(wire::Value v);

private:
    wire::Value m_value;
    std::unique_ptr<TableReader> m_reader;
    std::unique_ptr<QIODevice> m_stream;
};

class DBXCommand
{
public:
    explicit DBXCommand(DBXConnection *connection);
    ~DBXCommand();
    DBXCommand(const DBXCommand &) = delete;
    DBXCommand &operator=(const DBXCommand &) = delete;

    QString CommandType;
    QString Text;

    // Declares the parameter list: inputs, then outs, then the return value.
    void Prepare(const std::vector<wire::WireType> &inputs,
                 const std::vector<wire::WireType> &outs,
                 wire::WireType result);
    bool prepared() const { return m_prepared; }
    int prepareCount() const { return m_prepareCount; }

    DBXParameter &Parameter(int ordinal) { return m_params.at(std::size_t(ordinal)); }
    int ParameterCount() const { return int(m_params.size()); }

    // One request and its reply. Server errors come back as qv::Error with
    // the server's text unchanged.
    void ExecuteUpdate();

    // An object result handed to the command lives until the command runs
    // again or is destroyed.
    void ownObject(std::unique_ptr<wire::Record> object);
    wire::Record *ownedObject() const { return m_owned.get(); }

    // "BuyukGetir" for the text "TServerMethods1.BuyukGetir".
    QString methodName() const;

private:
    DBXConnection *m_connection;
    std::unique_ptr<wire::Record> m_owned;
    std::vector<DBXParameter> m_params;
    std::size_t m_inputCount = 0;
    bool m_prepared = false;
    int m_prepareCount = 0;
};

// The open socket of a connection; runs calls in sequence on one thread.
class DBXConnection
{
public:
    virtual ~DBXConnection();
    std::unique_ptr<DBXCommand> CreateCommand() { return std::make_unique<DBXCommand>(this); }

    // Sends POST <context>rest/<path> with the body and returns the reply body.
    virtual std::string post(const std::string &path, const std::string &body) = 0;
    virtual QString context() const = 0;
};

// Base of generated proxies: borrows the handle, owns the commands it makes.
class DSAdminClient
{
public:
    // A null handle fails with
    // "Connection cannot be nil.  Make sure the connection has been opened.".
    explicit DSAdminClient(DBXConnection *connection);
    virtual ~DSAdminClient();
    DSAdminClient(const DSAdminClient &) = delete;
    DSAdminClient &operator=(const DSAdminClient &) = delete;

    // The command this proxy made for a method, nullptr before its first
    // call (tests look at prepareCount()).
    const DBXCommand *findCommand(const QString &method) const;

protected:
    // The slot's command, created and prepared on first use:
    // type "DataSnap.ServerMethod", text "TServerMethods1." + method.
    DBXCommand &command(std::unique_ptr<DBXCommand> &slot,
                        const char *method,
                        const std::vector<wire::WireType> &inputs,
                        const std::vector<wire::WireType> &outs,
                        wire::WireType result);

    DBXConnection *FDBXConnection;
    bool FInstanceOwner = true;

private:
    std::vector<DBXCommand *> m_commands; // the slots of the derived proxy
};

// Reads a stream result completely in 1024-byte pieces and checks its length;
// returns an empty optional when announced as 0 or when the length differs.
std::optional<QByteArray> DownloadStream(QIODevice *stream, std::int64_t announcedSize);

} // namespace qv
