// Names tested per second by the pattern matcher on 1,000,000 generated lower-case names: typed
// "*.doc", the image class, and six typed stars before "a" on 60-character names (compared with
// "*.doc" on the same names), and the worst typed pattern on one long name.
#include "search/pattern_matcher.h"

#include "search/escape_typed_pattern.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kNameCount = 1000000;

// All names in one buffer, so that the loop measures the matcher and not the allocator.
struct NameSet {
    std::string buffer;
    std::vector<std::string_view> names;
};

class Draw {
  public:
    explicit Draw(std::uint32_t seed) : state_(seed) {}
    std::uint32_t Below(std::uint32_t bound) {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_ % bound;
    }

  private:
    std::uint32_t state_;
};

// Realistic names: words, digits and separators, then a common extension; `length` 0 means
// 15 to 30 bytes, otherwise exactly that many. `letters` are those the stem may use.
NameSet MakeNames(std::size_t length, std::string_view letters, std::uint32_t seed) {
    const char* const extensions[] = {".doc",  ".jpg", ".txt",  ".xls", ".pdf", ".png", ".zip",
                                      ".tiff", ".mp3", ".docx", ".htm", ".dwg", ".bak", ".dat"};
    Draw draw(seed);
    NameSet set;
    std::vector<std::size_t> ends;
    ends.reserve(kNameCount);
    for (std::size_t i = 0; i < kNameCount; ++i) {
        const std::string extension = extensions[draw.Below(14)];
        const std::size_t total = length != 0 ? length : 15 + draw.Below(16);
        const std::size_t stem = total > extension.size() ? total - extension.size() : 0;
        for (std::size_t k = 0; k < stem; ++k) {
            const std::uint32_t kind = draw.Below(12);
            set.buffer += kind == 0 ? ' '
                          : kind == 1
                              ? static_cast<char>('0' + draw.Below(10))
                              : letters[draw.Below(static_cast<std::uint32_t>(letters.size()))];
        }
        set.buffer += extension;
        ends.push_back(set.buffer.size());
    }
    std::size_t begin = 0;
    for (std::size_t end : ends) {
        set.names.emplace_back(set.buffer.data() + begin, end - begin);
        begin = end;
    }
    return set;
}

const NameSet& ShortNames() {
    static const NameSet set = MakeNames(0, "abcdefghijklmnopqrstuvwxyz", 1);
    return set;
}

const NameSet& LongNames() {
    static const NameSet set = MakeNames(60, "abcdefghijklmnopqrstuvwxyz", 2);
    return set;
}

// 60-character names without an "a" anywhere: the six stars must scan every byte.
const NameSet& LongNamesWithoutA() {
    static const NameSet set = MakeNames(60, "bcdefghijklmnopqrstuvwxyz", 3);
    return set;
}

void RunPattern(benchmark::State& state, const char* pattern, const NameSet& set) {
    tov::PatternCompileResult compiled = tov::PatternMatcher::Compile(pattern);
    if (!compiled.ok()) {
        state.SkipWithError("pattern refused");
        return;
    }
    const tov::PatternMatcher& matcher = compiled.matcher();
    std::size_t matches = 0;
    for (auto _ : state) {
        for (std::string_view name : set.names) {
            matches += matcher.Test(name) ? 1 : 0;
        }
        benchmark::DoNotOptimize(matches);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * set.names.size()));
    state.counters["match_share"] =
        static_cast<double>(matches) / static_cast<double>(state.iterations() * set.names.size());
}

void BM_TypedStarDoc(benchmark::State& state) {
    RunPattern(state, "(.*)\\.doc", ShortNames());
}
void BM_ImageClass(benchmark::State& state) {
    RunPattern(state, "\\.(jpeg|jpg|gif|bmp|png|tif|tiff|dwg)$", ShortNames());
}
void BM_TypedStarDoc60(benchmark::State& state) {
    RunPattern(state, "(.*)\\.doc", LongNames());
}
void BM_SixStarsA60(benchmark::State& state) {
    RunPattern(state, "(.*)(.*)(.*)(.*)(.*)(.*)a", LongNames());
}
void BM_TypedStarDoc60NoA(benchmark::State& state) {
    RunPattern(state, "(.*)\\.doc", LongNamesWithoutA());
}
void BM_SixStarsA60NoA(benchmark::State& state) {
    RunPattern(state, "(.*)(.*)(.*)(.*)(.*)(.*)a", LongNamesWithoutA());
}

// The worst typed pattern the search bar accepts: "a", as many "?" as the size bound allows and
// "c", on one 100 KB name of "a" and "b" that it never matches, so that nearly every position
// stays alive at every byte. Bytes per second; compare with "*.doc" on the same name.
const std::string& WideName() {
    static const std::string name = [] {
        Draw draw(4);
        std::string text(100000, 'a');
        for (char& c : text) {
            c = draw.Below(2) != 0 ? 'a' : 'b';
        }
        return text;
    }();
    return name;
}

void RunOnWideName(benchmark::State& state, const std::string& typed) {
    tov::PatternCompileResult compiled =
        tov::PatternMatcher::Compile(tov::EscapeTypedPattern(typed));
    if (!compiled.ok()) {
        state.SkipWithError("pattern refused");
        return;
    }
    const std::string& name = WideName();
    std::size_t matches = 0;
    for (auto _ : state) {
        matches += compiled.matcher().Test(name) ? 1 : 0;
        benchmark::DoNotOptimize(matches);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * name.size()));
}

void BM_TypedStarDocWideName(benchmark::State& state) {
    RunOnWideName(state, "*.doc");
}
void BM_WorstTypedPatternWideName(benchmark::State& state) {
    RunOnWideName(state, "a" + std::string(tov::PatternMatcher::kMaxProgramSize - 3, '?') + "c");
}
// The pattern of the report that set the bound: now refused as too large.
void BM_TwentyThousandQuestionMarksWideName(benchmark::State& state) {
    RunOnWideName(state, "a" + std::string(20000, '?'));
}

BENCHMARK(BM_TypedStarDoc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypedStarDocWideName)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WorstTypedPatternWideName)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwentyThousandQuestionMarksWideName)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImageClass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypedStarDoc60)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SixStarsA60)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypedStarDoc60NoA)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SixStarsA60NoA)->Unit(benchmark::kMillisecond);

}  // namespace
