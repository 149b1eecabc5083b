// The server proxy over a real socket: an in-process server that answers
// with the shapes of the real methods, then the development server itself.
#include "baglantiu.h"
#include "connection.h"
#include "devserverfixture.h"
#include "errors.h"
#include "proxim.h"
#include "rpcserver.h"

#include <gtest/gtest.h>

#include <atomic>

using qv::rpc::CallContext;
using qv::wire::Value;
using WT = qv::wire::WireType;

namespace {

class ProximTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server.registerMethod({QStringLiteral("BuyukGetir"), {WT::String}, {}, WT::Object},
                              [](CallContext &c) {
                                  if (c.in(0).s == QStringLiteral("yok")) {
                                      c.setResult(Value::nullObject());
                                      return;
                                  }
                                  TSonucBilgisi b;
                                  b.setBILGISAYARID(c.in(0).s);
                                  b.setCARINO(77);
                                  b.setVarmi(true);
                                  c.setResult(Value::object(qv::wire::marshal(&b)));
                              });
        server.registerMethod(
            {QStringLiteral("StokAraGetir"), {WT::String, WT::Object}, {}, WT::DataPacket},
            [this](CallContext &c) {
                lastObject = c.in(1).json;
                auto bilgi = qv::wire::unmarshalAs<TSonucBilgisi>(c.in(1).json);
                auto t = std::make_shared<qv::TableData>();
                t->addField({QStringLiteral("BARKOD"), qv::FieldType::String, 30});
                t->addField({QStringLiteral("CARINO"), qv::FieldType::Integer, 0});
                t->appendRow({c.in(0).s, bilgi ? bilgi->CARINO() : -1});
                c.setResult(Value::dataPacket(t));
            });
        server.registerMethod({QStringLiteral("ResimVer5"), {WT::Integer}, {WT::Int64}, WT::Stream},
                              [](CallContext &c) {
                                  const QByteArray b(int(c.in(0).i), 'j');
                                  c.setOut(0, Value::int64(b.size()));
                                  c.setResult(Value::stream(b));
                              });
        server.start("127.0.0.1", 0);
        conn.params()[QStringLiteral("HostName")] = QStringLiteral("127.0.0.1");
        conn.params()[QStringLiteral("Port")] = QString::number(server.port());
        conn.open();
    }

    qv::rpc::RpcServer server;
    qv::SQLConnection conn;
    std::string lastObject;
};

TEST_F(ProximTest, CommandIsPreparedOnceAcrossCalls)
{
    TServerMethods1Client proxy(conn.DBXConnection_());
    EXPECT_EQ(proxy.findCommand(QStringLiteral("BuyukGetir")), nullptr);
    TSonucBilgisi *first = proxy.BuyukGetir(QStringLiteral("M1"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->BILGISAYARID(), QStringLiteral("M1"));
    TSonucBilgisi *second = proxy.BuyukGetir(QStringLiteral("M2"));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->BILGISAYARID(), QStringLiteral("M2"));
    EXPECT_EQ(second->CARINO(), 77);
    EXPECT_TRUE(second->Varmi());
    EXPECT_EQ(second->MusteriTipi(), 1);

    const qv::DBXCommand *cmd = proxy.findCommand(QStringLiteral("BuyukGetir"));
    ASSERT_NE(cmd, nullptr);
    EXPECT_EQ(cmd->prepareCount(), 1);
    EXPECT_EQ(cmd->CommandType, QStringLiteral("DataSnap.ServerMethod"));
    EXPECT_EQ(cmd->Text, QStringLiteral("TServerMethods1.BuyukGetir"));
}

TEST_F(ProximTest, NullObjectResultIsNoRecord)
{
    TServerMethods1Client proxy(conn.DBXConnection_());
    EXPECT_EQ(proxy.BuyukGetir(QStringLiteral("yok")), nullptr);
}

TEST_F(ProximTest, ObjectParameterTravelsAndResultsOutliveOtherCalls)
{
    TServerMethods1Client proxy(conn.DBXConnection_());
    TSonucBilgisi *login = proxy.BuyukGetir(QStringLiteral("M1"));
    ASSERT_NE(login, nullptr);

    auto copy = std::make_unique<TSonucBilgisi>();
    copy->Kopyala(*login);
    auto table = proxy.StokAraGetir(QStringLiteral("ABC"), std::move(copy));
    EXPECT_EQ(lastObject, qv::wire::marshal(login));
    ASSERT_TRUE(table);
    ASSERT_EQ(table->rowCount(), 1u);
    EXPECT_EQ(table->value(0, 0).toString(), QStringLiteral("ABC"));
    EXPECT_EQ(table->value(0, 1).toInt(), 77);

    auto second = proxy.StokAraGetir(QStringLiteral("XYZ"), nullptr);
    EXPECT_EQ(lastObject, "null");
    EXPECT_EQ(second->value(0, 1).toInt(), -1);
    // The first packet and the login record are still intact.
    EXPECT_EQ(table->value(0, 0).toString(), QStringLiteral("ABC"));
    EXPECT_EQ(login->BILGISAYARID(), QStringLiteral("M1"));
    EXPECT_EQ(proxy.findCommand(QStringLiteral("StokAraGetir"))->prepareCount(), 1);
}

TEST_F(ProximTest, StreamResultWithAnnouncedLength)
{
    TServerMethods1Client proxy(conn.DBXConnection_());
    for (int size : {0, 1, 1024, 2048, 5000}) {
        SCOPED_TRACE(size);
        std::int64_t boy = -1;
        QIODevice *s = proxy.ResimVer5(size, boy);
        EXPECT_EQ(boy, size);
        ASSERT_NE(s, nullptr);
        const auto bytes = qv::DownloadStream(s, boy);
        EXPECT_EQ(bytes.has_value(), size > 0);
        if (bytes) {
            EXPECT_EQ(*bytes, QByteArray(size, 'j'));
        }
    }
}

TEST_F(ProximTest, ServerErrorReachesTheCaller)
{
    server.registerMethod({QStringLiteral("BuyukGetir"), {WT::String}, {}, WT::Object},
                          [](CallContext &) { throw qv::Error("Makine kayıtlı değil"); });
    TServerMethods1Client proxy(conn.DBXConnection_());
    try {
        proxy.BuyukGetir(QStringLiteral("M1"));
        FAIL();
    } catch (const qv::Error &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Makine kayıtlı değil"));
    }
}

TEST(Proxim, NullHandleIsRefused)
{
    try {
        TServerMethods1Client proxy(nullptr);
        FAIL();
    } catch (const qv::Error &e) {
        EXPECT_EQ(std::string(e.what()),
                  "Connection cannot be nil.  Make sure the connection has been opened.");
    }
}

// Against the development server, once it serves these methods.
TEST(ProximDevServer, MethodsAnswerWithTheirShapes)
{
    std::unique_ptr<qvtest::DevServer> dev;
    try {
        dev = std::make_unique<qvtest::DevServer>();
    } catch (const std::exception &e) {
        GTEST_SKIP() << "development server not available: " << e.what();
    }
    qv::SQLConnection c;
    c.params()[QStringLiteral("HostName")] = QStringLiteral("127.0.0.1");
    c.params()[QStringLiteral("Port")] = QString::number(dev->port());
    c.open();
    TServerMethods1Client proxy(c.DBXConnection_());
    TSonucBilgisi *b = proxy.BuyukGetir(QStringLiteral("BILINMEYEN-MAKINE"));
    if (b) {
        EXPECT_EQ(b->recordClass().qualifiedName(), "baglantiu.TSonucBilgisi");
    }
    auto table = proxy.StokAraGetir(QStringLiteral("A"), std::make_unique<TSonucBilgisi>());
    ASSERT_TRUE(table);
    EXPECT_GE(table->indexOf(u"STOK_STOKNO"), 0);
    std::int64_t boy = 0;
    QIODevice *s = proxy.ResimVer5(1, boy);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->size(), boy);
}

} // namespace
