// MD5 throughput: whole digests of 16 KiB messages (as `openssl speed -bytes 16384 md5`
// measures) and of one 100 MB buffer (a large listing digested in one update).
#include "listing/md5.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

std::vector<unsigned char> PseudoRandomBytes(std::size_t size) {
    std::vector<unsigned char> bytes(size);
    std::uint32_t state = 2463534242u;
    for (unsigned char& byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<unsigned char>(state);
    }
    return bytes;
}

void DigestWhole(benchmark::State& state, std::size_t size) {
    const std::vector<unsigned char> bytes = PseudoRandomBytes(size);
    for (auto _ : state) {
        tov::MD5 md5;
        md5.update(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        md5.finalize();
        benchmark::DoNotOptimize(md5.raw_digest()[0]);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(size));
}

void BM_MD5_16KiB(benchmark::State& state) {
    DigestWhole(state, 16384);
}
void BM_MD5_100MB(benchmark::State& state) {
    DigestWhole(state, 100'000'000);
}

}  // namespace

BENCHMARK(BM_MD5_16KiB);
BENCHMARK(BM_MD5_100MB)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
