// The patterns that typed text produces are linear: alternatives made of single bytes, "." and
// "(.*)", each possibly repeated by a count. Their automaton can have as many live states as
// the pattern has positions, which makes a lazy DFA build a new state at nearly every byte.
// For them a bit-parallel simulation steps one machine word per 64 positions for each byte,
// whatever the name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "search/regex_program.h"

namespace tov {

// One position of a linear pattern: the bytes it takes, whether it may be skipped, and whether
// it may take any number of bytes (a star).
struct LinearPosition {
    ByteSet bytes;
    bool optional = false;
    bool repeats = false;
};

// Alternatives, each a run of positions; an empty alternative matches everything.
struct LinearPattern {
    std::vector<std::vector<LinearPosition>> alternatives;
    std::size_t PositionCount() const;
};

// The pattern as positions when it is linear and valid; nothing when it uses any other
// construct. Only called for patterns the parser has accepted, so it need not report errors.
std::optional<LinearPattern> ReadLinearPattern(std::string_view pattern);

// The bit-parallel test of a linear pattern: unanchored, true when a match ends anywhere in the
// name. Not thread-safe: the state words are kept between calls.
class BitParallelMatcher {
  public:
    explicit BitParallelMatcher(const LinearPattern& pattern);

    bool Test(std::string_view name);
    std::size_t WordCount() const { return words_; }

  private:
    // The fixed masks of one word of positions, kept together so that a step reads them in one
    // stream.
    struct Masks {
        std::uint64_t repeats = 0;    // positions that may take more bytes
        std::uint64_t first = 0;      // first position of every alternative
        std::uint64_t always = 0;     // optional positions at the start of an alternative
        std::uint64_t optional = 0;   // other optional positions
        std::uint64_t span_low = 0;   // the position before each run of optional ones
        std::uint64_t span_high = 0;  // the last position of each such run
        std::uint64_t last = 0;       // last position of every alternative
    };

    std::size_t words_ = 0;
    bool matches_everything_ = false;   // an empty alternative
    std::vector<std::uint64_t> takes_;  // 256 rows of `words_`: positions taking the byte
    std::vector<Masks> masks_;
    std::vector<std::uint64_t> state_;
    std::vector<std::uint64_t> next_;
};

}  // namespace tov
