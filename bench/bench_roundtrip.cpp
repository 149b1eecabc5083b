// One stock search through the real transport to the development server over
// loopback, beside the raw loopback transfer of the same number of bytes.

#include "stockfixture.h"

#include "baglantiu.h"
#include "connection.h"
#include "devserver.h"
#include "proxim.h"
#include "tablecodec.h"

#include <QDir>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <boost/asio.hpp>

#include <memory>
#include <thread>

namespace {

// Enough items that a broad text finds more than the 10,000 rows we ask for.
constexpr int kSeedItems = 100000;
constexpr int kRows = 10000;

struct Fixture
{
    std::unique_ptr<qv::DevServer> server;
    std::unique_ptr<TSonucBilgisi> login;

    Fixture()
    {
        qv::DevServerOptions o;
        // Kept between runs: seeding 100,000 items is not what we measure.
        const QString dir = QDir::tempPath() + QStringLiteral("/quorvel-bench");
        QDir().mkpath(dir);
        o.database.path = dir + QStringLiteral("/roundtrip-%1.sqlite").arg(kSeedItems);
        o.database.stockCount = kSeedItems;
        o.database.searchLimit = kRows;
        o.port = 0;
        server = std::make_unique<qv::DevServer>(o);
        server->start();
        auto c = connect();
        TServerMethods1Client proxy(c->DBXConnection_());
        login = std::make_unique<TSonucBilgisi>();
        login->Kopyala(*proxy.BuyukGetir(QStringLiteral("DEMO-BAYI-0001")));
    }

    std::unique_ptr<qv::SQLConnection> connect() const
    {
        auto c = std::make_unique<qv::SQLConnection>();
        c->params()[QStringLiteral("HostName")] = QStringLiteral("127.0.0.1");
        c->params()[QStringLiteral("Port")] = QString::number(server->port());
        c->open();
        return c;
    }

    std::shared_ptr<qv::TableData> search(const QString &kod) const
    {
        auto c = connect();
        TServerMethods1Client proxy(c->DBXConnection_());
        auto copy = std::make_unique<TSonucBilgisi>();
        copy->Kopyala(*login);
        return proxy.StokAraGetir(kod, std::move(copy));
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

// A search text with many hits: the most frequent brand of the seed.
const QString &broadText()
{
    static const QString text = [] {
        QString best;
        std::size_t bestRows = 0;
        for (const char *t : {"BOSCH", "VALEO", "MANN", "FİLTRE", "FREN", "SACHS", "TRW", "FEBI"}) {
            const auto rows = fixture().search(QString::fromUtf8(t))->rowCount();
            if (rows > bestRows) {
                bestRows = rows;
                best = QString::fromUtf8(t);
            }
        }
        return best;
    }();
    return text;
}

void BM_StokAraGetirRoundTrip(benchmark::State &state)
{
    const QString &text = broadText();
    std::size_t rows = 0;
    for (auto _ : state) {
        auto t = fixture().search(text);
        rows = t->rowCount();
        benchmark::DoNotOptimize(t);
    }
    state.counters["rows"] = double(rows);
}
BENCHMARK(BM_StokAraGetirRoundTrip)->Unit(benchmark::kMillisecond)->UseRealTime();

// The transfer limit: the same number of bytes through a loopback socket.
void BM_RawLoopbackTransfer(benchmark::State &state)
{
    std::string body;
    qv::encodeTable(*fixture().search(broadText()), body);
    namespace asio = boost::asio;
    asio::io_context io;
    asio::ip::tcp::acceptor acceptor(io, {asio::ip::address_v4::loopback(), 0});
    const auto port = acceptor.local_endpoint().port();
    std::thread peer([&] {
        asio::ip::tcp::socket s = acceptor.accept();
        std::uint8_t go = 0;
        boost::system::error_code ec;
        while (asio::read(s, asio::buffer(&go, 1), ec) == 1)
            asio::write(s, asio::buffer(body), ec);
    });
    asio::ip::tcp::socket client(io);
    client.connect({asio::ip::address_v4::loopback(), port});
    std::string in(body.size(), '\0');
    for (auto _ : state) {
        const std::uint8_t go = 1;
        asio::write(client, asio::buffer(&go, 1));
        asio::read(client, asio::buffer(in));
    }
    client.close();
    peer.join();
    state.counters["bytes"] = double(body.size());
    state.SetBytesProcessed(std::int64_t(state.iterations() * body.size()));
}
BENCHMARK(BM_RawLoopbackTransfer)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fixture().server->stop();
    return 0;
}
