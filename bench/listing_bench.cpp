// Loading and browsing a listing: read and verify, LF to NUL, the folder index, one folder's
// rows and sorting the rows of a whole search. Each cost sits beside the least any code could
// spend on the same bytes: touching a fresh buffer of the file's size, a memchr scan for the
// line feeds.
#include <benchmark/benchmark.h>

#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "bench/bench_listing.h"
#include "listing/listing_digest.h"
#include "ui/compare_rows.h"

namespace {

constexpr std::size_t kPage = 4096;

std::int64_t FileSize() {
    return static_cast<std::int64_t>(tov::bench::ListingBytes().size());
}

// A fresh allocation of the file's size, one byte written per page: the cost of the pages a
// load must fault in whatever it does with them.
void BM_TouchFreshBuffer(benchmark::State& state) {
    const std::size_t size = tov::bench::ListingBytes().size() + 1;
    for (auto _ : state) {
        auto buffer = std::make_unique_for_overwrite<char[]>(size);
        for (std::size_t at = 0; at < size; at += kPage) {
            buffer[at] = 1;
        }
        benchmark::DoNotOptimize(buffer.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * FileSize());
}

// What the loader does: the file read into a buffer of its size plus one, the digest line
// checked and the line feeds made NULs.
void BM_LoadAndVerify(benchmark::State& state) {
    const char* path = std::getenv("TOV_BENCH_LISTING");
    if (path == nullptr || *path == '\0') {
        state.SkipWithError("TOV_BENCH_LISTING names no file");
        return;
    }
    for (auto _ : state) {
        std::FILE* file = std::fopen(path, "rb");
        if (file == nullptr) {
            state.SkipWithError("cannot open the listing");
            return;
        }
        std::fseek(file, 0, SEEK_END);
        const long length = std::ftell(file);
        std::fseek(file, 0, SEEK_SET);
        auto buffer = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(length) + 1);
        const std::size_t read =
            std::fread(buffer.get(), 1, static_cast<std::size_t>(length), file);
        std::fclose(file);
        const auto size = static_cast<std::uint32_t>(read);
        if (read != static_cast<std::size_t>(length) || size < tov::kDigestLineLength ||
            !tov::VerifyListingDigest(buffer.get(), size)) {
            state.SkipWithError("the listing does not verify");
            return;
        }
        tov::ListingDocument document =
            tov::ListingDocument::FromFileBytes(std::move(buffer), size);
        benchmark::DoNotOptimize(document.data());
    }
    state.SetBytesProcessed(state.iterations() * FileSize());
}

// CPU time of this thread: the machine the figures come from is shared with builds, and wall
// time there measures the neighbours as much as the code.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// LF to NUL alone, timed on a fresh copy of the file's bytes (the copy is not timed).
void BM_LfToNul(benchmark::State& state) {
    const std::string& bytes = tov::bench::ListingBytes();
    for (auto _ : state) {
        auto buffer = std::make_unique_for_overwrite<char[]>(bytes.size() + 1);
        std::memcpy(buffer.get(), bytes.data(), bytes.size());
        const double start = ThreadSeconds();
        tov::ListingDocument document = tov::ListingDocument::FromFileBytes(
            std::move(buffer), static_cast<std::uint32_t>(bytes.size()));
        state.SetIterationTime(ThreadSeconds() - start);
        benchmark::DoNotOptimize(document.data());
    }
    state.SetBytesProcessed(state.iterations() * FileSize());
}

// The reference for LF to NUL: every line feed of the same bytes found with memchr.
void BM_MemchrScan(benchmark::State& state) {
    const std::string& bytes = tov::bench::ListingBytes();
    for (auto _ : state) {
        std::size_t lines = 0;
        const char* at = bytes.data();
        const char* end = at + bytes.size();
        while (const void* found = std::memchr(at, '\n', static_cast<std::size_t>(end - at))) {
            at = static_cast<const char*>(found) + 1;
            ++lines;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * FileSize());
}

void BM_FolderIndex(benchmark::State& state) {
    const tov::ListingDocument& document = tov::bench::BenchDocument();
    std::size_t folders = 0;
    for (auto _ : state) {
        tov::FolderIndex index = tov::FolderIndex::Build(document);
        folders = index.size();
        benchmark::DoNotOptimize(folders);
    }
    state.SetBytesProcessed(state.iterations() * FileSize());
    state.counters["folders"] = static_cast<double>(folders);
}

// The folder with the most rows: the worst a click in the tree can ask for.
tov::FolderIndex::Folder LargestFolder() {
    static const tov::FolderIndex::Folder largest = [] {
        const tov::FolderIndex& index = tov::bench::BenchFolderIndex();
        tov::FolderIndex::Folder best = 0;
        std::size_t most = 0;
        for (tov::FolderIndex::Folder folder = 0; folder < index.size(); ++folder) {
            const std::size_t rows =
                tov::BuildFolderRows(tov::bench::BenchDocument(), index, folder).rows.size();
            if (rows > most) {
                most = rows;
                best = folder;
            }
        }
        return best;
    }();
    return largest;
}

void ListFolder(benchmark::State& state, tov::FolderIndex::Folder folder) {
    const tov::ListingDocument& document = tov::bench::BenchDocument();
    const tov::FolderIndex& index = tov::bench::BenchFolderIndex();
    std::size_t rows = 0;
    for (auto _ : state) {
        tov::RowSet set = tov::BuildFolderRows(document, index, folder);
        rows = set.rows.size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
}

void BM_ListRootFolder(benchmark::State& state) {
    ListFolder(state, tov::bench::BenchFolderIndex().FirstTopLevel());
}
void BM_ListLargestFolder(benchmark::State& state) {
    ListFolder(state, LargestFolder());
}

// The rows of an "All files" search ordered by one column, from listing order.
void BM_SortAllRows(benchmark::State& state) {
    const tov::RowSet& rows = tov::bench::AllRows();
    const tov::SortSettings settings{static_cast<int>(state.range(0)), 1};
    for (auto _ : state) {
        std::vector<std::uint32_t> order = tov::SortOrder(rows, settings);
        benchmark::DoNotOptimize(order.data());
    }
    state.counters["rows"] = static_cast<double>(rows.rows.size());
}

}  // namespace

BENCHMARK(BM_TouchFreshBuffer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndVerify)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LfToNul)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemchrScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FolderIndex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListRootFolder)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListLargestFolder)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SortAllRows)->ArgName("column")->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
