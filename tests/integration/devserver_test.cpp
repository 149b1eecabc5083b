// The client's transport and proxy against the real development server.

#include "devserverfixture.h"

#include "baglantiu.h"
#include "connection.h"
#include "dataset.h"
#include "errors.h"
#include "proxim.h"

#include <QImage>
#include <QtConcurrent>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

const QString kDemoMachine = QStringLiteral("DEMO-BAYI-0001");

class DevServerTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { server = new qvtest::DevServer({"--seed-stock", "400"}); }
    static void TearDownTestSuite()
    {
        delete server;
        server = nullptr;
    }

    static std::unique_ptr<qv::SQLConnection> connection()
    {
        auto c = std::make_unique<qv::SQLConnection>();
        c->params()[QStringLiteral("HostName")] = QStringLiteral("127.0.0.1");
        c->params()[QStringLiteral("Port")] = QString::number(server->port());
        c->params()[QStringLiteral("DatasnapContext")] = QStringLiteral("datasnap/");
        return c;
    }

    static std::unique_ptr<TSonucBilgisi> login(const QString &machine)
    {
        auto c = connection();
        c->open();
        TServerMethods1Client proxy(c->DBXConnection_());
        TSonucBilgisi *r = proxy.BuyukGetir(machine);
        EXPECT_NE(r, nullptr);
        auto copy = std::make_unique<TSonucBilgisi>();
        if (r)
            copy->Kopyala(*r);
        return copy;
    }

    static inline qvtest::DevServer *server = nullptr;
};

TEST_F(DevServerTest, LoginRecordOfRegisteredAndUnknownComputer)
{
    const auto known = login(kDemoMachine);
    EXPECT_TRUE(known->Varmi());
    EXPECT_GT(known->CARINO(), 0);
    EXPECT_FALSE(known->ADI().isEmpty());
    EXPECT_EQ(known->AKTIF(), 1);

    const auto unknown = login(QStringLiteral("NO-SUCH-COMPUTER"));
    EXPECT_FALSE(unknown->Varmi());
    EXPECT_EQ(unknown->CARINO(), 0);
}

TEST_F(DevServerTest, StockSearchBringsTheStockListColumns)
{
    const auto bilgi = login(kDemoMachine);
    auto c = connection();
    c->open();
    TServerMethods1Client proxy(c->DBXConnection_());
    auto copy = std::make_unique<TSonucBilgisi>();
    copy->Kopyala(*bilgi);
    const auto table = proxy.StokAraGetir(QStringLiteral("FREN"), std::move(copy));
    ASSERT_TRUE(table);
    const QStringList expected
        = QStringLiteral(
              "DURUM OEM1 OEM2 OEM3 OEM4 BARKOD ADI STOK_STOKNO FINISHKOD URETICIKODU RESIM "
              "BARKOD_BARKODNO DIGERADI DPKOD OEMNO BIRIM MARKA MODEL ANAGRUP OZELKOD KALAN PKOD "
              "KDV "
              "ALINANSIPARIS VERILENSIPARIS LISTEFIYAT1 KAMPFIYAT FIYAT Y K INDIRIMYAZI NETFIYAT "
              "KDVDAHIL IND1 IND2 IND3 IND4")
              .split(QLatin1Char(' '));
    QStringList got;
    for (const auto &f : table->fieldDefs())
        got << f.name;
    EXPECT_EQ(got, expected);
    EXPECT_GT(table->rowCount(), 0u);

    // The rows land in a page dataset with the money format.
    qv::Dataset stok;
    stok.setData(std::move(*table));
    qv::FormatFloatFields(stok);
    EXPECT_EQ(stok.displayFormat(stok.fieldIndex(u"NETFIYAT")), QStringLiteral("#,###,##0.00"));
}

TEST_F(DevServerTest, StockPictureStreamIsAVerifiedJpeg)
{
    auto c = connection();
    c->open();
    TServerMethods1Client proxy(c->DBXConnection_());
    // Find an item with a picture through the search.
    auto bilgi = login(kDemoMachine);
    const auto table = proxy.StokAraGetir(QStringLiteral("FİLTRE"), std::move(bilgi));
    ASSERT_TRUE(table);
    const int resim = table->indexOf(u"RESIM");
    const int stokno = table->indexOf(u"STOK_STOKNO");
    ASSERT_GE(resim, 0);
    int withPicture = -1;
    for (std::size_t r = 0; r < table->rowCount(); ++r) {
        if (table->value(r, resim).toInt() != 0) {
            withPicture = table->value(r, stokno).toInt();
            break;
        }
    }
    ASSERT_GT(withPicture, 0) << "no item with a picture among the search rows";

    std::int64_t boy = 0;
    QIODevice *stream = proxy.ResimVer5(withPicture, boy);
    ASSERT_NE(stream, nullptr);
    EXPECT_GT(boy, 0);
    const auto bytes = qv::DownloadStream(stream, boy);
    ASSERT_TRUE(bytes.has_value());
    QImage img;
    EXPECT_TRUE(img.loadFromData(*bytes, "JPEG"));
    EXPECT_FALSE(img.isNull());
}

TEST_F(DevServerTest, ManyConnectionsAtOnce)
{
    std::atomic<int> ok{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&] {
            try {
                auto c = connection();
                c->open();
                TServerMethods1Client proxy(c->DBXConnection_());
                for (int i = 0; i < 5; ++i) {
                    if (proxy.BuyukGetir(kDemoMachine))
                        ++ok;
                }
            } catch (const std::exception &) {
            }
        });
    }
    for (auto &t : threads)
        t.join();
    EXPECT_EQ(ok.load(), 40);
}

TEST_F(DevServerTest, OneLogLinePerCall)
{
    const QString before = server->log();
    login(QStringLiteral("LOG-LINE-PROBE"));
    QString after;
    for (int i = 0; i < 50 && !after.contains(QStringLiteral("BuyukGetir")); ++i) {
        QThread::msleep(20);
        after = server->log().mid(before.size());
    }
    EXPECT_EQ(after.count(QStringLiteral("BuyukGetir")), 1) << after.toStdString();
}

TEST(DevServerLifecycle, StopsCleanlyOnSigterm)
{
    qvtest::DevServer s({"--seed-stock", "50"});
    EXPECT_TRUE(s.log().contains(QStringLiteral("seeded")));
    s.stop();
    EXPECT_FALSE(s.running());
    EXPECT_EQ(s.exitCode(), 0);
    EXPECT_TRUE(s.log().contains(QStringLiteral("stopped")));
}

} // namespace
