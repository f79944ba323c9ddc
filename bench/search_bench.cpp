// Search walk and CSV export on the benchmark listing: names tested per second
// for a typed pattern and for a class, and CSV bytes written per second. The reference is a plain
// scan of the same buffer for line feeds (NULs), the least any walk must do.
#include <benchmark/benchmark.h>

#include <cstring>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "bench/bench_listing.h"
#include "listing/listing_document.h"
#include "search/csv_writer.h"
#include "search/file_type_class.h"
#include "search/search_walk.h"
#include "ui/compare_rows.h"

namespace {

const tov::ListingDocument& Listing() {
    return tov::bench::BenchDocument();
}

void BM_ScanLines(benchmark::State& state) {
    const tov::ListingDocument& document = Listing();
    for (auto _ : state) {
        std::size_t lines = 0;
        const char* at = document.data();
        const char* end = at + document.size();
        while (at < end) {
            const void* nul = std::memchr(at, '\0', end - at);
            if (nul == nullptr) {
                break;
            }
            at = static_cast<const char*>(nul) + 1;
            ++lines;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(document.size()));
    state.counters["names/s"] =
        benchmark::Counter(tov::bench::NamesInTree() * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}

void Search(benchmark::State& state, const char* pattern, bool is_class) {
    const tov::ListingDocument& document = Listing();
    std::size_t found = 0;
    for (auto _ : state) {
        tov::SearchOutcome outcome = tov::SearchListing(document, pattern, is_class, {});
        found = outcome.rows.rows.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["names/s"] =
        benchmark::Counter(tov::bench::NamesInTree() * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    state.counters["rows"] = static_cast<double>(found);
}

void BM_SearchTypedDoc(benchmark::State& state) {
    Search(state, "*.doc", false);
}
void BM_SearchTypedWord(benchmark::State& state) {
    Search(state, "factura", false);
}
void BM_SearchClassAll(benchmark::State& state) {
    Search(state, tov::FileTypeClasses()[0].expression, true);
}
void BM_SearchClassImages(benchmark::State& state) {
    Search(state, tov::FileTypeClasses()[6].expression, true);
}

void TimeCsv(benchmark::State& state, const std::vector<std::uint32_t>& order) {
    const tov::RowSet& rows = tov::bench::AllRows();
    std::int64_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        tov::WriteCsv(rows, order, [&](std::string_view chunk) {
            bytes += static_cast<std::int64_t>(chunk.size());
            benchmark::DoNotOptimize(chunk.data());
            return true;
        });
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_CsvAllFiles(benchmark::State& state) {
    std::vector<std::uint32_t> order(tov::bench::AllRows().rows.size());
    std::iota(order.begin(), order.end(), 0u);
    TimeCsv(state, order);
}

// The order the window benchmark saves in: sorted by name, size, date and last by status, which
// leaves rows of one status in date order, at random in the listing.
std::vector<std::uint32_t> StatusOrder(const tov::RowSet& rows) {
    std::vector<std::uint32_t> order;
    for (const int column : {1, 2, 3, 0}) {
        order = tov::SortOrder(rows, tov::SortSettings{column, 1}, std::move(order));
    }
    return order;
}

void BM_CsvByStatus(benchmark::State& state) {
    TimeCsv(state, StatusOrder(tov::bench::AllRows()));
}

// What the save counts before it writes, to refuse a file that cannot fit.
void BM_CsvByteCountByStatus(benchmark::State& state) {
    const tov::RowSet& rows = tov::bench::AllRows();
    const std::vector<std::uint32_t> order = StatusOrder(rows);
    for (auto _ : state) {
        benchmark::DoNotOptimize(tov::CsvByteCount(rows, order));
    }
}

BENCHMARK(BM_ScanLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchTypedDoc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchTypedWord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchClassAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchClassImages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvAllFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvByStatus)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvByteCountByStatus)->Unit(benchmark::kMillisecond);

}  // namespace
