// Pattern and name from one input (the pattern up to the first NUL byte, the name after it):
// compiling never crashes, and testing stays within the linear bound of work and gives the
// same answer from a warm cache (after the pattern itself was tested as a name) as from the
// fresh automaton, and for a typed pattern from the bit-parallel test.
#include "search/pattern_matcher.h"

#include "search/linear_pattern.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

void CheckedTest(const tov::PatternMatcher& matcher, std::string_view name, bool* answer) {
    const std::uint64_t before = matcher.WorkDone();
    *answer = matcher.Test(name);
    const std::uint64_t work = matcher.WorkDone() - before;
    // The automaton's bound, plus the words of the bit-parallel test once a typed pattern has
    // gone over to it (the name is then stepped again from its start).
    const std::uint64_t bound = (name.size() + 1) * (3 * matcher.ProgramSize() + 4) +
                                name.size() * (matcher.ProgramSize() / 64 + 1);
    if (work > bound) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    const void* nul = std::memchr(text, '\0', size);
    const std::size_t pattern_size =
        nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : size;
    const std::string_view pattern(text, pattern_size);
    const std::string_view name =
        pattern_size < size ? std::string_view(text + pattern_size + 1, size - pattern_size - 1)
                            : std::string_view();

    tov::PatternCompileResult compiled = tov::PatternMatcher::Compile(pattern);
    if (!compiled.ok()) {
        if (compiled.error().position > pattern.size() || compiled.error().message.empty()) {
            std::abort();
        }
        return 0;
    }
    const tov::PatternMatcher& matcher = compiled.matcher();
    // The first test runs on a fresh automaton, the last on states built for both texts.
    bool first = false;
    bool again = false;
    bool of_pattern = false;
    CheckedTest(matcher, name, &first);
    CheckedTest(matcher, pattern, &of_pattern);
    CheckedTest(matcher, name, &again);
    if (again != first) {
        std::abort();
    }
    if (const std::optional<tov::LinearPattern> linear = tov::ReadLinearPattern(pattern)) {
        tov::BitParallelMatcher wide(*linear);
        if (wide.Test(name) != first) {
            std::abort();
        }
    }
    return 0;
}
