// Search walk and CSV export on a synthetic listing of 1,000,000 files: names tested per second
// for a typed pattern and for a class, and CSV bytes written per second. The reference is a plain
// scan of the same buffer for line feeds (NULs), the least any walk must do.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "listing/listing_document.h"
#include "search/csv_writer.h"
#include "search/file_type_class.h"
#include "search/search_walk.h"
#include "tools/writer/listing_writer.h"

namespace {

const tov::ListingDocument& MillionFiles() {
    static const tov::ListingDocument document = [] {
        tov::writer::SyntheticOptions options;
        options.files = 1'000'000;
        options.folders = 20'000;
        options.depth = 8;
        const std::string text = tov::writer::MakeSyntheticListing(options);
        auto buffer = std::make_unique<char[]>(text.size() + 1);
        std::memcpy(buffer.get(), text.data(), text.size());
        return tov::ListingDocument::FromFileBytes(std::move(buffer),
                                                   static_cast<std::uint32_t>(text.size()));
    }();
    return document;
}

constexpr double kNames = 1'020'000;  // files and folders tested per search

void BM_ScanLines(benchmark::State& state) {
    const tov::ListingDocument& document = MillionFiles();
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
}

void Search(benchmark::State& state, const char* pattern, bool is_class) {
    const tov::ListingDocument& document = MillionFiles();
    std::size_t found = 0;
    for (auto _ : state) {
        tov::SearchOutcome outcome = tov::SearchListing(document, pattern, is_class, {});
        found = outcome.rows.rows.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["names/s"] =
        benchmark::Counter(kNames * state.iterations(), benchmark::Counter::kIsRate);
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

void BM_CsvAllFiles(benchmark::State& state) {
    tov::SearchOutcome outcome =
        tov::SearchListing(MillionFiles(), tov::FileTypeClasses()[0].expression, true, {});
    std::vector<std::uint32_t> order(outcome.rows.rows.size());
    std::iota(order.begin(), order.end(), 0u);
    std::int64_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        tov::WriteCsv(outcome.rows, order, [&](std::string_view chunk) {
            bytes += static_cast<std::int64_t>(chunk.size());
            benchmark::DoNotOptimize(chunk.data());
            return true;
        });
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

BENCHMARK(BM_ScanLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchTypedDoc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchTypedWord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchClassAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchClassImages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvAllFiles)->Unit(benchmark::kMillisecond);

}  // namespace
