// The table codec on stock search replies: encoding, decoding into columns
// and into a dataset, against simdjson's plain DOM parse of the same bytes.
//
//   bench_codec --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "stockfixture.h"
#include "tablecodec.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>

namespace {

constexpr double kMiB = 1024.0 * 1024.0;

// One reply per size, made once: generating is not what is measured.
struct Reply
{
    qv::TableData table;
    std::string json;
    simdjson::padded_string padded;
};

const Reply &reply(std::size_t rows)
{
    static std::map<std::size_t, Reply> replies;
    auto it = replies.find(rows);
    if (it == replies.end()) {
        Reply r;
        r.table = qvbench::makeStockTable(rows);
        qv::encodeTable(r.table, r.json);
        r.padded = simdjson::padded_string(r.json);
        it = replies.emplace(rows, std::move(r)).first;
    }
    return it->second;
}

void setBytes(benchmark::State &state, std::size_t bytes)
{
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
    state.counters["json_MB"] = double(bytes) / kMiB;
}

void BM_Encode(benchmark::State &state)
{
    const Reply &r = reply(std::size_t(state.range(0)));
    std::string out;
    for (auto _ : state) {
        out.clear();
        qv::encodeTable(r.table, out);
        benchmark::DoNotOptimize(out.data());
    }
    setBytes(state, r.json.size());
}

void BM_SimdjsonParse(benchmark::State &state)
{
    const Reply &r = reply(std::size_t(state.range(0)));
    simdjson::dom::parser parser;
    for (auto _ : state) {
        simdjson::dom::element root;
        if (parser.parse(r.padded).get(root) != simdjson::SUCCESS)
            state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(root);
    }
    setBytes(state, r.json.size());
}

void BM_DecodeTable(benchmark::State &state)
{
    const Reply &r = reply(std::size_t(state.range(0)));
    simdjson::dom::parser parser;
    std::size_t memory = 0;
    for (auto _ : state) {
        qv::TableData table;
        qv::decodeTable(parser.parse(r.padded).value(), table);
        memory = table.memoryBytes();
        benchmark::DoNotOptimize(table);
    }
    setBytes(state, r.json.size());
    state.counters["table_MB"] = double(memory) / kMiB;
}

void BM_DecodeIntoDataset(benchmark::State &state)
{
    const Reply &r = reply(std::size_t(state.range(0)));
    simdjson::dom::parser parser;
    qv::Dataset stok;
    std::size_t memory = 0;
    for (auto _ : state) {
        auto table = std::make_shared<qv::TableData>();
        qv::decodeTable(parser.parse(r.padded).value(), *table);
        qv::TableReader reader(std::move(table));
        stok.disableControls();
        qv::CopyReaderToDataset(reader, stok);
        qv::FormatFloatFields(stok);
        stok.enableControls();
        memory = stok.data().memoryBytes();
    }
    setBytes(state, r.json.size());
    state.counters["dataset_MB"] = double(memory) / kMiB;
}

// Both in one loop, so that the ratio compares like with like.
void BM_DecodeOverParse(benchmark::State &state)
{
    using Clock = std::chrono::steady_clock;
    const Reply &r = reply(std::size_t(state.range(0)));
    simdjson::dom::parser parser;
    Clock::duration parse{}, decode{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        simdjson::dom::element root = parser.parse(r.padded).value();
        benchmark::DoNotOptimize(root);
        const auto t1 = Clock::now();
        qv::TableData table;
        qv::decodeTable(parser.parse(r.padded).value(), table);
        benchmark::DoNotOptimize(table);
        const auto t2 = Clock::now();
        parse += t1 - t0;
        decode += t2 - t1;
    }
    state.counters["ratio"] = double(decode.count()) / double(parse.count());
}

BENCHMARK(BM_Encode)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SimdjsonParse)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeTable)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeIntoDataset)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeOverParse)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Where the memory of a 100,000-row result goes, column by column.
void printColumnMemory()
{
    qv::TableData table;
    simdjson::dom::parser parser;
    qv::decodeTable(parser.parse(reply(100000).padded).value(), table);
    std::fprintf(stderr, "Column memory of %zu decoded rows:\n", table.rowCount());
    for (int col = 0; col < table.fieldCount(); ++col) {
        std::fprintf(stderr,
                     "  %-16s %-8s %8.2f MB\n",
                     table.fieldDef(col).name.toUtf8().constData(),
                     qv::fieldTypeName(table.fieldDef(col).type),
                     table.column(col).memoryBytes() / kMiB);
    }
    std::fprintf(stderr,
                 "  total %.2f MB (JSON %.2f MB)\n\n",
                 table.memoryBytes() / kMiB,
                 reply(100000).json.size() / kMiB);
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    printColumnMemory();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
