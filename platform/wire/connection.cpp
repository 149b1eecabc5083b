#include "connection.h"

#include "errors.h"
#include "httpclient.h"
#include "marshal.h"
#include "wirejson.h"

#include <QBuffer>

#include <simdjson.h>

namespace qv {

// ---- SQLConnection ----

SQLConnection::SQLConnection()
{
    m_params.insert(QStringLiteral("DriverName"), QStringLiteral("DataSnap"));
    m_params.insert(QStringLiteral("CommunicationProtocol"), QStringLiteral("tcp/ip"));
    m_params.insert(QStringLiteral("HostName"), QString());
    m_params.insert(QStringLiteral("Port"), QStringLiteral("9090"));
    m_params.insert(QStringLiteral("DatasnapContext"), QStringLiteral("datasnap/"));
    m_params.insert(QStringLiteral("DSProxyPort"), QStringLiteral("8090"));
    m_params.insert(QStringLiteral("Filters"), QStringLiteral("{}"));
}

SQLConnection::~SQLConnection() = default;

std::unique_ptr<SQLConnection> SQLConnection::clone() const
{
    auto c = std::make_unique<SQLConnection>();
    c->ConnectionName = ConnectionName;
    c->DriverName = DriverName;
    c->LoginPrompt = LoginPrompt;
    c->m_params = m_params;
    c->callTimeout = callTimeout;
    c->connectTimeout = connectTimeout;
    return c;
}

void SQLConnection::open()
{
    if (m_dbx)
        return;
    wire::HttpEndpoint ep;
    ep.host = m_params.value(QStringLiteral("HostName")).trimmed().toStdString();
    ep.port = m_params.value(QStringLiteral("Port")).trimmed().toStdString();
    ep.context = m_params.value(QStringLiteral("DatasnapContext"), QStringLiteral("datasnap/"))
                     .toStdString();
    ep.connectTimeout = connectTimeout;
    ep.callTimeout = callTimeout;
    if (ep.host.empty())
        throw Error("No server host name is set for the connection");
    if (ep.port.empty())
        throw Error("No server port is set for the connection");
    m_dbx = wire::connectHttp(ep);
}

void SQLConnection::close()
{
    m_dbx.reset();
}

bool SQLConnection::connected() const
{
    return m_dbx != nullptr;
}

// ---- DBXParameter ----

namespace {

[[noreturn]] void wrongSetter(wire::WireType declared, const char *setter)
{
    throw Error(std::string("A parameter of type ") + wire::wireTypeName(declared)
                + " cannot be set with " + setter);
}

} // namespace

// An unprepared slot takes the setter's type; a declared one must match.
#define QV_SET(expected, setter)                                                                   \
    do {                                                                                           \
        if (m_value.type == wire::WireType::None)                                                  \
            m_value.type = expected;                                                               \
        else if (m_value.type != expected)                                                         \
            wrongSetter(m_value.type, setter);                                                     \
    } while (false)

void DBXParameter::SetInt32(std::int32_t v)
{
    QV_SET(wire::WireType::Integer, "SetInt32");
    m_value.i = v;
}

void DBXParameter::SetInt64(std::int64_t v)
{
    QV_SET(wire::WireType::Int64, "SetInt64");
    m_value.i = v;
}

void DBXParameter::SetDouble(double v)
{
    QV_SET(wire::WireType::Double, "SetDouble");
    m_value.d = v;
}

void DBXParameter::SetBoolean(bool v)
{
    QV_SET(wire::WireType::Boolean, "SetBoolean");
    m_value.b = v;
}

void DBXParameter::SetWideString(const QString &v)
{
    QV_SET(wire::WireType::String, "SetWideString");
    m_value.s = v;
}

void DBXParameter::SetJSONValue(std::string jsonText)
{
    QV_SET(wire::WireType::Object, "SetJSONValue");
    m_value.json = jsonText.empty() ? std::string("null") : std::move(jsonText);
}

void DBXParameter::SetNull()
{
    QV_SET(wire::WireType::Object, "SetNull");
    m_value.json = "null";
}

#undef QV_SET

std::int32_t DBXParameter::GetInt32() const
{
    return std::int32_t(m_value.i);
}

std::int64_t DBXParameter::GetInt64() const
{
    return m_value.i;
}

double DBXParameter::GetDouble() const
{
    return m_value.d;
}

bool DBXParameter::GetBoolean() const
{
    return m_value.b;
}

QString DBXParameter::GetWideString() const
{
    return m_value.s;
}

const std::string &DBXParameter::GetJSONValue() const
{
    static const std::string null("null");
    return m_value.json.empty() ? null : m_value.json;
}

bool DBXParameter::IsNull() const
{
    switch (m_value.type) {
    case wire::WireType::Object:
        return m_value.isNullObject();
    case wire::WireType::DataPacket:
    case wire::WireType::Reader:
        return !m_value.table;
    default:
        return false;
    }
}

std::shared_ptr<TableData> DBXParameter::GetDataPacket() const
{
    return m_value.table;
}

TableReader *DBXParameter::GetDBXReader()
{
    if (!m_reader && m_value.table)
        m_reader = std::make_unique<TableReader>(m_value.table);
    return m_reader.get();
}

QIODevice *DBXParameter::GetStream()
{
    if (!m_stream) {
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(m_value.bytes); // shared, not copied
        buffer->open(QIODevice::ReadOnly);
        m_stream = std::move(buffer);
    }
    return m_stream.get();
}

void DBXParameter::setResult(wire::Value v)
{
    const auto declared = m_value.type;
    m_reader.reset();
    m_stream.reset();
    m_value = std::move(v);
    m_value.type = declared;
}

// ---- DBXCommand ----

DBXCommand::DBXCommand(DBXConnection *connection)
    : m_connection(connection)
{}

DBXCommand::~DBXCommand() = default;

void DBXCommand::Prepare(const std::vector<wire::WireType> &inputs,
                         const std::vector<wire::WireType> &outs,
                         wire::WireType result)
{
    m_params.clear();
    for (auto t : inputs)
        m_params.emplace_back(t);
    for (auto t : outs)
        m_params.emplace_back(t);
    if (result != wire::WireType::None)
        m_params.emplace_back(result);
    m_inputCount = inputs.size();
    m_prepared = true;
    ++m_prepareCount;
}

void DBXCommand::ownObject(std::unique_ptr<wire::Record> object)
{
    m_owned = std::move(object);
}

QString DBXCommand::methodName() const
{
    const auto dot = Text.indexOf(QLatin1Char('.'));
    return dot < 0 ? Text : Text.mid(dot + 1);
}

void DBXCommand::ExecuteUpdate()
{
    if (!m_prepared)
        throw Error("The command " + Text + " is executed without being prepared");
    if (!m_connection)
        throw Error("The command " + Text + " has no connection");

    // Results of the previous run belong to that run.
    m_owned.reset();

    std::string body = "{\"_parameters\":[";
    for (std::size_t i = 0; i < m_inputCount; ++i) {
        if (i)
            body.push_back(',');
        wire::appendValue(body, m_params[i].value(), m_params[i].type());
    }
    body += "]}";
    if (body.size() > wire::kMaxRequestBytes)
        throw Error("The call of " + Text + " is larger than "
                    + QString::number(qulonglong(wire::kMaxRequestBytes)) + " bytes");

    QString path = Text;
    path.replace(Text.indexOf(QLatin1Char('.')), 1, QLatin1Char('/'));
    const std::string reply = m_connection->post(path.toStdString(), body);

    const std::string name = Text.toStdString();
    simdjson::dom::parser parser;
    simdjson::dom::element doc;
    if (auto err = parser.parse(reply).get(doc))
        throw Error("The reply to " + name + " is not valid JSON: " + simdjson::error_message(err));
    if (!doc.is_object())
        throw Error("The reply to " + name + " is not a JSON object");
    std::string_view errorText;
    if (!doc["error"].get_string().get(errorText))
        throw Error(std::string(errorText));
    simdjson::dom::array result;
    if (doc["result"].get_array().get(result))
        throw Error("The reply to " + name + " has no \"result\" array");

    const std::size_t expected = m_params.size() - m_inputCount;
    if (result.size() != expected)
        throw Error("The reply to " + name + " has " + std::to_string(result.size()) + " values, "
                    + std::to_string(expected) + " expected");
    std::size_t ordinal = m_inputCount;
    for (simdjson::dom::element e : result) {
        DBXParameter &p = m_params[ordinal];
        try {
            p.setResult(wire::decodeValue(e, p.type()));
        } catch (const Error &ex) {
            throw Error("The reply to " + name + ", value " + std::to_string(ordinal) + ": "
                        + ex.what());
        }
        ++ordinal;
    }
}

// ---- DBXConnection / DSAdminClient ----

DBXConnection::~DBXConnection() = default;

DSAdminClient::DSAdminClient(DBXConnection *connection)
    : FDBXConnection(connection)
{
    if (!connection)
        throw Error("Connection cannot be nil.  Make sure the connection has been opened.");
}

DSAdminClient::~DSAdminClient() = default;

DBXCommand &DSAdminClient::command(std::unique_ptr<DBXCommand> &slot,
                                   const char *method,
                                   const std::vector<wire::WireType> &inputs,
                                   const std::vector<wire::WireType> &outs,
                                   wire::WireType result)
{
    if (!slot) {
        slot = FDBXConnection->CreateCommand();
        slot->CommandType = QStringLiteral("DataSnap.ServerMethod");
        slot->Text = QStringLiteral("TServerMethods1.") + QLatin1String(method);
        slot->Prepare(inputs, outs, result);
        m_commands.push_back(slot.get());
    }
    return *slot;
}

const DBXCommand *DSAdminClient::findCommand(const QString &method) const
{
    for (const DBXCommand *c : m_commands)
        if (c->methodName() == method)
            return c;
    return nullptr;
}

// ---- DownloadStream ----

std::optional<QByteArray> DownloadStream(QIODevice *stream, std::int64_t announcedSize)
{
    if (announcedSize == 0 || !stream)
        return std::nullopt;
    constexpr qint64 kPiece = 1024;
    stream->seek(0);
    QByteArray bytes;
    char buffer[kPiece];
    for (;;) {
        const qint64 n = stream->read(buffer, kPiece);
        if (n > 0)
            bytes.append(buffer, qsizetype(n));
        if (n < kPiece)
            break;
    }
    if (bytes.size() != announcedSize)
        return std::nullopt;
    return bytes;
}

} // namespace qv
