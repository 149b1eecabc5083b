// The remote-method wire end to end: an in-process server with test methods,
// real sockets, and raw bytes where the client would never send them.
#include "connection.h"
#include "devserverfixture.h"
#include "errors.h"
#include "marshal.h"
#include "rpcserver.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <thread>

using qv::DBXCommand;
using qv::SQLConnection;
using qv::rpc::CallContext;
using qv::rpc::MethodSignature;
using qv::rpc::RpcServer;
using qv::wire::Value;
using WT = qv::wire::WireType;

namespace {

class TDeneme : public qv::wire::Record
{
public:
    QString FAd;
    std::int32_t FSayi = 0;
    double FOran = 0;
    bool FVar = false;

    static const qv::wire::RecordClass &staticClass()
    {
        using qv::wire::field;
        static const qv::wire::RecordClass cls("deneme",
                                               "TDeneme",
                                               [] { return std::make_unique<TDeneme>(); },
                                               {field("FAd", &TDeneme::FAd),
                                                field("FSayi", &TDeneme::FSayi),
                                                field("FOran", &TDeneme::FOran),
                                                field("FVar", &TDeneme::FVar)});
        return cls;
    }
    const qv::wire::RecordClass &recordClass() const override { return staticClass(); }
};

std::shared_ptr<qv::TableData> sampleTable(int rows)
{
    auto t = std::make_shared<qv::TableData>();
    t->addField({QStringLiteral("ADI"), qv::FieldType::String, 50});
    t->addField({QStringLiteral("STOKNO"), qv::FieldType::Integer, 0});
    t->addField({QStringLiteral("FIYAT"), qv::FieldType::Float, 0});
    t->addField({QStringLiteral("VAR"), qv::FieldType::Boolean, 0});
    for (int r = 0; r < rows; ++r) {
        const QVariant name
            = r % 3 == 2 ? QVariant() : QVariant(QStringLiteral("Şaft \"%1\" ığüç").arg(r));
        t->appendRow({name, QVariant(r - 1), QVariant(r * 0.1), QVariant(r % 2 == 0)});
    }
    return t;
}

void expectSameTable(const qv::TableData &a, const qv::TableData &b)
{
    ASSERT_EQ(a.fieldDefs(), b.fieldDefs());
    ASSERT_EQ(a.rowCount(), b.rowCount());
    for (std::size_t r = 0; r < a.rowCount(); ++r)
        for (int c = 0; c < a.fieldCount(); ++c)
            EXPECT_EQ(a.value(r, c), b.value(r, c)) << "row " << r << " column " << c;
}

// Exchanges raw bytes with a server; the reply is whatever arrives until the
// server closes (requests ask for "Connection: close").
struct RawReply
{
    int status = 0; // 0: the server closed without answering
    std::string body;
    bool closedByServer = false; // as opposed to the test's own receive guard
};

int connectLoopback(std::uint16_t port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    timeval tv{10, 0}; // only a guard against a hung test
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

RawReply rawExchange(std::uint16_t port, const std::string &bytes, bool halfClose = false)
{
    RawReply reply;
    const int fd = connectLoopback(port);
    if (fd < 0)
        return reply;
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const auto n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            break; // the server may stop reading an oversize body
        sent += std::size_t(n);
    }
    if (halfClose)
        ::shutdown(fd, SHUT_WR);
    std::string all;
    char buf[4096];
    for (;;) {
        const auto n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) {
            reply.closedByServer = n == 0 || errno == ECONNRESET;
            break;
        }
        all.append(buf, std::size_t(n));
    }
    ::close(fd);
    if (all.rfind("HTTP/1.1 ", 0) == 0)
        reply.status = std::stoi(all.substr(9, 3));
    if (auto p = all.find("\r\n\r\n"); p != std::string::npos)
        reply.body = all.substr(p + 4);
    return reply;
}

std::string post(const std::string &method, const std::string &body)
{
    return "POST /datasnap/rest/TServerMethods1/" + method
           + " HTTP/1.1\r\nHost: test\r\nConnection: close\r\nContent-Type: "
             "application/json\r\nContent-Length: "
           + std::to_string(body.size()) + "\r\n\r\n" + body;
}

class WireTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (WT t : {WT::Integer,
                     WT::Int64,
                     WT::Double,
                     WT::Boolean,
                     WT::String,
                     WT::Object,
                     WT::Stream,
                     WT::DataPacket}) {
            server.registerMethod({QStringLiteral("Echo") + QString::number(int(t)), {t}, {}, t},
                                  [](CallContext &c) { c.setResult(c.in(0)); });
        }
        server.registerMethod({QStringLiteral("Resim"), {WT::Integer}, {WT::Int64}, WT::Stream},
                              [](CallContext &c) {
                                  QByteArray b(int(c.in(0).i), '\0');
                                  for (int i = 0; i < b.size(); ++i)
                                      b[i] = char(i * 7);
                                  c.setOut(0, Value::int64((std::int64_t(1) << 40) + b.size()));
                                  c.setResult(Value::stream(b));
                              });
        server.registerMethod(
            {QStringLiteral("Tablo"), {WT::Integer}, {}, WT::DataPacket},
            [](CallContext &c) { c.setResult(Value::dataPacket(sampleTable(int(c.in(0).i)))); });
        server.registerMethod({QStringLiteral("Okuyucu"), {}, {}, WT::Reader},
                              [](CallContext &c) { c.setResult(Value::reader(sampleTable(5))); });
        server.registerMethod({QStringLiteral("Bos"), {WT::Integer}, {}, WT::None},
                              [this](CallContext &c) { lastBos = int(c.in(0).i); });
        server.registerMethod({QStringLiteral("Hata"), {}, {}, WT::Integer}, [](CallContext &) {
            throw qv::Error(QStringLiteral("Stok bulunamadı: \"A-1\""));
        });
        server.registerMethod({QStringLiteral("NesneOku"), {WT::Object}, {}, WT::String},
                              [](CallContext &c) {
                                  auto r = qv::wire::unmarshalAs<TDeneme>(c.in(0).json);
                                  c.setResult(Value::string(r ? r->FAd : QStringLiteral("<null>")));
                              });
        server.registerMethod({QStringLiteral("Metin"), {}, {}, WT::String},
                              [](CallContext &c) { c.setResult(Value::string("metin")); });
        server.setLogger([this](const std::string &line) {
            std::lock_guard lock(logMutex);
            log.push_back(line);
        });
        server.start("127.0.0.1", 0);
        conn.params()[QStringLiteral("HostName")] = QStringLiteral("127.0.0.1");
        conn.params()[QStringLiteral("Port")] = QString::number(server.port());
    }

    std::unique_ptr<DBXCommand> prepared(const QString &method,
                                         std::vector<WT> inputs,
                                         std::vector<WT> outs,
                                         WT result)
    {
        if (!conn.connected())
            conn.open();
        auto cmd = conn.DBXConnection_()->CreateCommand();
        cmd->CommandType = QStringLiteral("DataSnap.ServerMethod");
        cmd->Text = QStringLiteral("TServerMethods1.") + method;
        cmd->Prepare(inputs, outs, result);
        return cmd;
    }

    Value echo(const Value &v)
    {
        auto cmd
            = prepared(QStringLiteral("Echo") + QString::number(int(v.type)), {v.type}, {}, v.type);
        cmd->Parameter(0).value() = v;
        cmd->ExecuteUpdate();
        return cmd->Parameter(1).value();
    }

    // A good call on a fresh connection: the server is still serving.
    void expectServing()
    {
        SQLConnection fresh;
        fresh.params() = conn.params();
        fresh.open();
        auto cmd = fresh.DBXConnection_()->CreateCommand();
        cmd->Text = QStringLiteral("TServerMethods1.Echo1");
        cmd->Prepare({WT::Integer}, {}, WT::Integer);
        cmd->Parameter(0).SetInt32(7);
        cmd->ExecuteUpdate();
        EXPECT_EQ(cmd->Parameter(1).GetInt32(), 7);
    }

    std::vector<std::string> logLines()
    {
        std::lock_guard lock(logMutex);
        return log;
    }

    RpcServer server;
    SQLConnection conn;
    std::atomic<int> lastBos{0};
    std::mutex logMutex;
    std::vector<std::string> log;
};

// ---- values ----

TEST_F(WireTest, ScalarValuesRoundTripExactly)
{
    const std::vector<Value> cases = {
        Value::integer(0),
        Value::integer(std::numeric_limits<std::int32_t>::min()),
        Value::integer(std::numeric_limits<std::int32_t>::max()),
        Value::int64(std::numeric_limits<std::int64_t>::min()),
        Value::int64(std::numeric_limits<std::int64_t>::max()),
        Value::dbl(0.1),
        Value::dbl(-1.0 / 3.0),
        Value::dbl(1e300),
        Value::dbl(5e-324),
        Value::dbl(45678.999988426),
        Value::boolean(true),
        Value::boolean(false),
        Value::string(QString()),
        Value::string(QStringLiteral("İĞÜŞÖÇ ığüşöç \"tırnak\" \\ / \r\n\t \x01 €")),
    };
    for (const Value &v : cases) {
        SCOPED_TRACE(qv::wire::wireTypeName(v.type));
        const Value r = echo(v);
        EXPECT_EQ(r.type, v.type);
        EXPECT_EQ(r.i, v.i);
        EXPECT_EQ(std::memcmp(&r.d, &v.d, sizeof(double)), 0) << r.d << " vs " << v.d;
        EXPECT_EQ(r.b, v.b);
        EXPECT_EQ(r.s, v.s);
    }
}

TEST_F(WireTest, ObjectsAndNullObjectRoundTrip)
{
    TDeneme d;
    d.FAd = QStringLiteral("Çağrı \"ş\"");
    d.FSayi = -5;
    d.FOran = 18.25;
    d.FVar = true;
    const std::string json = qv::wire::marshal(&d);
    EXPECT_EQ(echo(Value::object(json)).json, json);
    EXPECT_TRUE(echo(Value::nullObject()).isNullObject());

    auto cmd = prepared(QStringLiteral("NesneOku"), {WT::Object}, {}, WT::String);
    cmd->Parameter(0).SetJSONValue(json);
    cmd->ExecuteUpdate();
    EXPECT_EQ(cmd->Parameter(1).GetWideString(), d.FAd);
    cmd->Parameter(0).SetNull();
    cmd->ExecuteUpdate();
    EXPECT_EQ(cmd->Parameter(1).GetWideString(), QStringLiteral("<null>"));
}

TEST_F(WireTest, StreamsRoundTripEmptyAndBinary)
{
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    for (const QByteArray &b : {QByteArray(), all, all.repeated(20), QByteArray(1, '\0')}) {
        const Value r = echo(Value::stream(b));
        EXPECT_EQ(r.bytes, b) << b.size();
    }
}

TEST_F(WireTest, StreamResultWithInt64Length)
{
    auto cmd = prepared(QStringLiteral("Resim"), {WT::Integer}, {WT::Int64}, WT::Stream);
    ASSERT_EQ(cmd->ParameterCount(), 3); // input, out, return value
    cmd->Parameter(0).SetInt32(3000);
    cmd->ExecuteUpdate();
    EXPECT_EQ(cmd->Parameter(1).GetInt64(), (std::int64_t(1) << 40) + 3000);
    QIODevice *s = cmd->Parameter(2).GetStream();
    ASSERT_NE(s, nullptr);
    const QByteArray bytes = s->readAll();
    ASSERT_EQ(bytes.size(), 3000);
    EXPECT_EQ(bytes[2999], char(2999 * 7));
}

TEST_F(WireTest, DataPacketsKeepStructureRowsAndNulls)
{
    for (int rows : {0, 1, 50}) {
        auto cmd = prepared(QStringLiteral("Tablo"), {WT::Integer}, {}, WT::DataPacket);
        cmd->Parameter(0).SetInt32(rows);
        cmd->ExecuteUpdate();
        auto t = cmd->Parameter(1).GetDataPacket();
        ASSERT_TRUE(t);
        expectSameTable(*t, *sampleTable(rows));
    }
    const Value r = echo(Value::dataPacket(sampleTable(4)));
    ASSERT_TRUE(r.table);
    expectSameTable(*r.table, *sampleTable(4));
}

TEST_F(WireTest, ReaderStaysReadableWhileAnotherCommandRuns)
{
    auto reading = prepared(QStringLiteral("Okuyucu"), {}, {}, WT::Reader);
    reading->ExecuteUpdate();
    qv::TableReader *reader = reading->Parameter(0).GetDBXReader();
    ASSERT_NE(reader, nullptr);
    ASSERT_TRUE(reader->next());

    auto other = prepared(QStringLiteral("Tablo"), {WT::Integer}, {}, WT::DataPacket);
    other->Parameter(0).SetInt32(100);
    other->ExecuteUpdate();

    std::vector<int> stokno{reader->intValue(1)};
    while (reader->next())
        stokno.push_back(reader->intValue(1));
    EXPECT_EQ(stokno, (std::vector<int>{-1, 0, 1, 2, 3}));
    EXPECT_EQ(reader->columnName(0), QStringLiteral("ADI"));
}

TEST_F(WireTest, MethodWithoutResultAndSocketReuse)
{
    auto cmd = prepared(QStringLiteral("Bos"), {WT::Integer}, {}, WT::None);
    EXPECT_EQ(cmd->ParameterCount(), 1);
    cmd->Parameter(0).SetInt32(42);
    cmd->ExecuteUpdate();
    EXPECT_EQ(lastBos, 42);
    cmd->Parameter(0).SetInt32(43);
    cmd->ExecuteUpdate();
    EXPECT_EQ(lastBos, 43);

    // Both calls came from the same client port: one socket, kept alive.
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 2u);
    const auto peerOf = [](const std::string &l) {
        return l.substr(0, l.rfind(" ok "));
    };
    EXPECT_EQ(peerOf(lines[0]), peerOf(lines[1]));
    EXPECT_NE(lines[0].find("TServerMethods1.Bos 127.0.0.1:"), std::string::npos) << lines[0];
}

// ---- errors reaching the caller ----

TEST_F(WireTest, ServerErrorTextArrivesUnchanged)
{
    auto cmd = prepared(QStringLiteral("Hata"), {}, {}, WT::Integer);
    try {
        cmd->ExecuteUpdate();
        FAIL() << "no error";
    } catch (const qv::Error &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Stok bulunamadı: \"A-1\""));
    }
    // The connection is still usable after an error reply.
    EXPECT_EQ(echo(Value::integer(9)).i, 9);
}

TEST_F(WireTest, ReplyNotMatchingTheDeclarationIsAnError)
{
    struct Case
    {
        const char *name;
        std::vector<WT> outs;
        WT result;
        const char *text;
    };
    const Case cases[] = {
        {"wrong type", {}, WT::Integer, "expected Integer, got string"},
        {"wrong count", {WT::Int64}, WT::String, "has 1 values, 2 expected"},
        {"nothing expected", {}, WT::None, "has 1 values, 0 expected"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto cmd = prepared(QStringLiteral("Metin"), {}, c.outs, c.result);
        try {
            cmd->ExecuteUpdate();
            ADD_FAILURE() << "no error";
        } catch (const qv::Error &e) {
            EXPECT_NE(std::string(e.what()).find(c.text), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("TServerMethods1.Metin"), std::string::npos);
        }
    }
}

TEST_F(WireTest, UnknownMethodThroughTheClientNamesIt)
{
    auto cmd = prepared(QStringLiteral("YokBoyle"), {}, {}, WT::Integer);
    try {
        cmd->ExecuteUpdate();
        FAIL();
    } catch (const qv::Error &e) {
        EXPECT_EQ(std::string(e.what()), "Server method TServerMethods1.YokBoyle not found");
    }
}

TEST_F(WireTest, SettersOfTheWrongTypeAreRefused)
{
    auto cmd = prepared(QStringLiteral("Echo1"), {WT::Integer}, {}, WT::Integer);
    EXPECT_THROW(cmd->Parameter(0).SetWideString(QStringLiteral("x")), qv::Error);
    EXPECT_THROW(cmd->Parameter(0).SetNull(), qv::Error);
}

// ---- malformed input never stops the server ----

TEST_F(WireTest, MalformedRequestsGetClearErrorsAndServerKeepsServing)
{
    const std::string oversize = "POST /datasnap/rest/TServerMethods1/Echo1 HTTP/1.1\r\nHost: "
                                 "t\r\nContent-Length: 17000000\r\n\r\n"
                                 + std::string(64 * 1024, '[');
    struct Case
    {
        const char *name;
        std::string request;
        bool halfClose;
        int status; // 0: closed without a reply
        const char *text;
    };
    const Case cases[] = {
        {"oversize body", oversize, false, 413, "larger than 16777216 bytes"},
        {"truncated body then close",
         "POST /datasnap/rest/TServerMethods1/Echo1 HTTP/1.1\r\nHost: t\r\nContent-Length: "
         "100\r\n\r\n{\"_param",
         true,
         0,
         ""},
        {"invalid HTTP", "BOZUK ISTEK\r\n\r\n", false, 400, "Invalid HTTP request"},
        {"binary junk", std::string("\x00\x01\x02\xff\r\n\r\n", 8), false, 400, "Invalid HTTP"},
        {"invalid JSON", post("Echo1", "{\"_parameters\":[1,"), false, 400, "not valid JSON"},
        {"no _parameters",
         post("Echo1", "{\"x\":[1]}"),
         false,
         400,
         "has no \\\"_parameters\\\" array"},
        {"_parameters not an array",
         post("Echo1", "{\"_parameters\":1}"),
         false,
         400,
         "has no \\\"_parameters\\\" array"},
        {"unknown method",
         post("Yok", "{\"_parameters\":[]}"),
         false,
         404,
         "Server method TServerMethods1.Yok not found"},
        {"wrong parameter count",
         post("Echo1", "{\"_parameters\":[1,2]}"),
         false,
         400,
         "TServerMethods1.Echo1 expects 1 parameters, got 2"},
        {"wrong parameter type",
         post("Echo1", "{\"_parameters\":[\"1\"]}"),
         false,
         400,
         "TServerMethods1.Echo1 parameter 0: expected Integer, got string"},
        {"integer out of range",
         post("Echo1", "{\"_parameters\":[2147483648]}"),
         false,
         400,
         "out of range"},
        {"bad base64 stream",
         post("Echo9", "{\"_parameters\":[\"@@@\"]}"),
         false,
         400,
         "not valid base64"},
        {"unknown record type",
         post("NesneOku", R"({"_parameters":[{"type":"deneme.TYok","id":1,"fields":{}}]})"),
         false,
         500,
         "Internal: Cannot instantiate type deneme.TYok"},
        {"unknown record field",
         post("NesneOku",
              R"({"_parameters":[{"type":"deneme.TDeneme","id":1,"fields":{"FYok":1}}]})"),
         false,
         500,
         "Internal: Field FYok cannot be found in type deneme.TDeneme"},
        {"GET",
         "GET /datasnap/rest/TServerMethods1/Echo1 HTTP/1.1\r\nHost: t\r\nConnection: "
         "close\r\n\r\n",
         false,
         405,
         "Only POST"},
    };
    TDeneme::staticClass();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const RawReply r = rawExchange(server.port(), c.request, c.halfClose);
        EXPECT_EQ(r.status, c.status) << r.body;
        EXPECT_TRUE(r.closedByServer);
        EXPECT_NE(r.body.find(c.text), std::string::npos) << r.body;
        if (c.status) {
            EXPECT_EQ(r.body.rfind("{\"error\":\"", 0), 0u) << r.body;
        }
        expectServing();
    }
}

TEST_F(WireTest, OversizeCallIsRefusedBeforeSending)
{
    auto cmd = prepared(QStringLiteral("Echo5"), {WT::String}, {}, WT::String);
    cmd->Parameter(0).SetWideString(QString(17 * 1024 * 1024, QLatin1Char('a')));
    try {
        cmd->ExecuteUpdate();
        FAIL();
    } catch (const qv::Error &e) {
        EXPECT_NE(std::string(e.what()).find("larger than 16777216 bytes"), std::string::npos);
    }
    EXPECT_TRUE(logLines().empty());
}

TEST(WireServer, StalledPeerIsDropped)
{
    RpcServer server;
    server.setIdleTimeout(std::chrono::milliseconds(200));
    server.start("127.0.0.1", 0);
    for (const char *partial : {"", "POST /datasnap/rest/TServerMethods1/X HTTP/1.1\r\nHost:"}) {
        const RawReply r = rawExchange(server.port(), partial);
        EXPECT_EQ(r.status, 0);
        EXPECT_TRUE(r.closedByServer);
    }
}

TEST_F(WireTest, ManyConnectionsAtOnce)
{
    std::vector<std::thread> threads;
    std::atomic<int> good{0};
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            SQLConnection c;
            c.params() = conn.params();
            c.open();
            auto cmd = c.DBXConnection_()->CreateCommand();
            cmd->Text = QStringLiteral("TServerMethods1.Echo1");
            cmd->Prepare({WT::Integer}, {}, WT::Integer);
            for (int i = 0; i < 20; ++i) {
                cmd->Parameter(0).SetInt32(t * 100 + i);
                cmd->ExecuteUpdate();
                if (cmd->Parameter(1).GetInt32() == t * 100 + i)
                    ++good;
            }
        });
    }
    // An idle peer that never sends must not hold up the others.
    const int idle = connectLoopback(server.port());
    for (auto &th : threads)
        th.join();
    EXPECT_EQ(good, 160);
    ::close(idle);
}

// ---- transport failures ----

TEST(WireTransport, OpenOnAClosedPortGivesTheTransportText)
{
    SQLConnection c;
    c.params()[QStringLiteral("HostName")] = QStringLiteral("127.0.0.1");
    c.params()[QStringLiteral("Port")] = QString::number(qvtest::closedPort());
    try {
        c.open();
        FAIL();
    } catch (const qv::Error &e) {
        EXPECT_NE(std::string(e.what()).find("Connection refused"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(c.connected());
}

TEST(WireTransport, OpenCloseAndClone)
{
    RpcServer server;
    server.start("127.0.0.1", 0);
    SQLConnection c;
    c.params()[QStringLiteral("HostName")] = QStringLiteral("127.0.0.1");
    c.params()[QStringLiteral("Port")] = QString::number(server.port());
    EXPECT_EQ(c.params().value(QStringLiteral("DatasnapContext")), QStringLiteral("datasnap/"));
    auto copy = c.clone();
    EXPECT_FALSE(copy->connected());
    EXPECT_EQ(copy->params(), c.params());
    c.open();
    EXPECT_TRUE(c.connected());
    EXPECT_NE(c.DBXConnection_(), nullptr);
    c.close();
    EXPECT_FALSE(c.connected());
    EXPECT_EQ(c.DBXConnection_(), nullptr);
    copy->open();
    EXPECT_TRUE(copy->connected());
    server.stop(); // with a client still connected
}

// A listening socket that is never accepted: the connect succeeds, the
// request is never read and no reply comes.
TEST(WireTransport, ServerThatNeverAnswersTimesOut)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr), 0);
    ASSERT_EQ(::listen(fd, 4), 0);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len);

    SQLConnection c;
    c.params()[QStringLiteral("HostName")] = QStringLiteral("127.0.0.1");
    c.params()[QStringLiteral("Port")] = QString::number(ntohs(addr.sin_port));
    c.callTimeout = std::chrono::milliseconds(300);
    c.open();
    auto cmd = c.DBXConnection_()->CreateCommand();
    cmd->Text = QStringLiteral("TServerMethods1.Echo1");
    cmd->Prepare({WT::Integer}, {}, WT::Integer);
    cmd->Parameter(0).SetInt32(1);
    try {
        cmd->ExecuteUpdate();
        FAIL();
    } catch (const qv::Error &e) {
        EXPECT_NE(std::string(e.what()).find("No reply from the server within 300 ms"),
                  std::string::npos)
            << e.what();
    }
    ::close(fd);
}

TEST(WireTransport, ServerDroppingTheConnectionMidReply)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr), 0);
    ASSERT_EQ(::listen(fd, 4), 0);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len);
    std::thread peer([fd] {
        const int c = ::accept(fd, nullptr, nullptr);
        char buf[4096];
        std::string got;
        while (got.find("\r\n\r\n") == std::string::npos) {
            const auto n = ::recv(c, buf, sizeof buf, 0);
            if (n <= 0)
                break;
            got.append(buf, std::size_t(n));
        }
        const std::string half = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\n"
                                 "Content-Length: 200\r\n\r\n{\"result\":[";
        ::send(c, half.data(), half.size(), MSG_NOSIGNAL);
        ::close(c);
    });

    SQLConnection c;
    c.params()[QStringLiteral("HostName")] = QStringLiteral("127.0.0.1");
    c.params()[QStringLiteral("Port")] = QString::number(ntohs(addr.sin_port));
    c.open();
    auto cmd = c.DBXConnection_()->CreateCommand();
    cmd->Text = QStringLiteral("TServerMethods1.Echo1");
    cmd->Prepare({WT::Integer}, {}, WT::Integer);
    cmd->Parameter(0).SetInt32(1);
    try {
        cmd->ExecuteUpdate();
        ADD_FAILURE();
    } catch (const qv::Error &e) {
        EXPECT_NE(std::string(e.what()).find("closed the connection"), std::string::npos)
            << e.what();
    }
    peer.join();
    ::close(fd);
}

// ---- proxy base and stream download ----

TEST(WireProxy, NullHandleIsRefusedWithTheText)
{
    try {
        qv::DSAdminClient client(nullptr);
        FAIL();
    } catch (const qv::Error &e) {
        EXPECT_EQ(std::string(e.what()),
                  "Connection cannot be nil.  Make sure the connection has been opened.");
    }
}

TEST(WireDownload, LengthMustMatchTheAnnouncedSize)
{
    struct Case
    {
        int size;
        std::int64_t announced;
        bool accepted;
    };
    const Case cases[] = {
        {1024, 1024, true},
        {2048, 2048, true},
        {1500, 1500, true},
        {1, 1, true},
        {100, 200, false},   // shorter than announced
        {3000, 2048, false}, // longer than announced
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.size);
        QByteArray data(c.size, 'x');
        data[c.size - 1] = 'z';
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        buffer.seek(c.size / 2); // the download starts from the beginning anyway
        const auto got = qv::DownloadStream(&buffer, c.announced);
        EXPECT_EQ(got.has_value(), c.accepted);
        if (got) {
            EXPECT_EQ(*got, data);
        }
    }
}

TEST(WireDownload, AnnouncedZeroReadsNothing)
{
    QByteArray data("abc");
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(1);
    EXPECT_FALSE(qv::DownloadStream(&buffer, 0).has_value());
    EXPECT_EQ(buffer.pos(), 1);
}

} // namespace
