#include "search/linear_pattern.h"

#include <unordered_map>
#include <utility>

#include "search/regex_char_sets.h"

namespace tov {
namespace {

constexpr std::uint32_t kLargestCount = 65535;
constexpr std::uint32_t kNoMaximum = 0xFFFFFFFFu;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "{n}", "{n,}" or "{n,m}" at `at`, as the parser reads a count; nothing when the brace is a
// literal there.
struct Count {
    std::uint32_t min = 0;
    std::uint32_t max = 0;
    std::size_t end = 0;
};

std::optional<Count> ReadCount(std::string_view pattern, std::size_t at) {
    std::size_t i = at + 1;
    auto number = [&](std::uint32_t& value) {
        std::uint64_t read = 0;
        while (i < pattern.size() && IsDigit(pattern[i])) {
            read = read * 10 + static_cast<unsigned>(pattern[i] - '0');
            if (read > kLargestCount) {
                return false;
            }
            ++i;
        }
        value = static_cast<std::uint32_t>(read);
        return true;
    };
    if (i >= pattern.size() || !IsDigit(pattern[i])) {
        return std::nullopt;
    }
    Count count;
    if (!number(count.min)) {
        return std::nullopt;
    }
    count.max = count.min;
    if (i < pattern.size() && pattern[i] == ',') {
        ++i;
        count.max = kNoMaximum;
        if (i < pattern.size() && IsDigit(pattern[i]) && !number(count.max)) {
            return std::nullopt;
        }
    }
    if (i >= pattern.size() || pattern[i] != '}') {
        return std::nullopt;
    }
    count.end = i + 1;
    return count;
}

// The bytes that typed text escapes with "\".
bool IsEscapedLiteral(char c) {
    return std::string_view("\\+()[]^$~<>:.").find(c) != std::string_view::npos;
}

void Repeat(const LinearPosition& atom, const Count& count, std::vector<LinearPosition>& out) {
    if (atom.repeats) {
        if (count.max != 0) {
            out.push_back(atom);  // any number of stars is one star
        }
        return;
    }
    for (std::uint32_t k = 0; k < count.min; ++k) {
        out.push_back(atom);
    }
    if (count.max == kNoMaximum) {
        out.push_back({atom.bytes, true, true});
        return;
    }
    for (std::uint32_t k = count.min; k < count.max; ++k) {
        out.push_back({atom.bytes, true, false});
    }
}

}  // namespace

std::size_t LinearPattern::PositionCount() const {
    std::size_t count = 0;
    for (const auto& alternative : alternatives) {
        count += alternative.size();
    }
    return count;
}

std::optional<LinearPattern> ReadLinearPattern(std::string_view pattern) {
    LinearPattern linear;
    linear.alternatives.emplace_back();
    std::optional<LinearPosition> atom;  // the last atom, until a count or the next atom
    bool counted = false;                // the last atom already had a count
    auto flush = [&] {
        if (atom) {
            linear.alternatives.back().push_back(*atom);
            atom.reset();
        }
    };
    auto literal = [&](unsigned char byte) {
        flush();
        LinearPosition position;
        position.bytes.Add(byte);
        atom = position;
        counted = false;
    };
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        switch (c) {
            case '|':
                flush();
                counted = false;
                linear.alternatives.emplace_back();
                ++i;
                break;
            case '{': {
                const std::optional<Count> count = ReadCount(pattern, i);
                if (!count) {
                    literal('{');
                    ++i;
                    break;
                }
                if (!atom || counted) {
                    return std::nullopt;
                }
                Repeat(*atom, *count, linear.alternatives.back());
                atom.reset();
                counted = true;
                i = count->end;
                break;
            }
            case '.':
                flush();
                atom = LinearPosition{DotBytes(), false, false};
                counted = false;
                ++i;
                break;
            case '(':
                if (pattern.substr(i, 4) != "(.*)") {
                    return std::nullopt;
                }
                flush();
                atom = LinearPosition{DotBytes(), true, true};
                counted = false;
                i += 4;
                break;
            case '\\':
                if (i + 1 >= pattern.size() || !IsEscapedLiteral(pattern[i + 1])) {
                    return std::nullopt;
                }
                literal(static_cast<unsigned char>(pattern[i + 1]));
                i += 2;
                break;
            case '*':
            case '+':
            case '?':
            case ')':
            case '[':
            case '^':
            case '$':
                return std::nullopt;
            default:
                literal(static_cast<unsigned char>(c));
                ++i;
                break;
        }
    }
    flush();
    return linear;
}

BitParallelMatcher::BitParallelMatcher(const LinearPattern& pattern) {
    const std::size_t count = pattern.PositionCount();
    words_ = count / 64 + 1;  // at least one word, also for a pattern of no positions
    takes_.assign(256 * words_, 0);
    masks_.assign(words_, Masks{});
    state_.assign(words_, 0);
    next_.assign(words_, 0);
    auto set = [&](std::uint64_t Masks::*mask, std::size_t position) {
        masks_[position / 64].*mask |= std::uint64_t{1} << (position % 64);
    };
    std::size_t at = 0;
    for (const auto& alternative : pattern.alternatives) {
        if (alternative.empty()) {
            matches_everything_ = true;
            continue;
        }
        set(&Masks::first, at);
        set(&Masks::last, at + alternative.size() - 1);
        std::size_t k = 0;
        for (; k < alternative.size() && alternative[k].optional; ++k) {
            set(&Masks::always, at + k);
        }
        for (; k < alternative.size(); ++k) {
            const LinearPosition& position = alternative[k];
            if (position.optional) {
                set(&Masks::optional, at + k);
                if (!alternative[k - 1].optional) {
                    set(&Masks::span_low, at + k - 1);
                }
                if (k + 1 == alternative.size() || !alternative[k + 1].optional) {
                    set(&Masks::span_high, at + k);
                }
            }
        }
        for (k = 0; k < alternative.size(); ++k) {
            if (alternative[k].repeats) {
                set(&Masks::repeats, at + k);
            }
        }
        at += alternative.size();
    }
    // Positions with the same bytes (most of a typed pattern: "." and a few letters) fill the
    // rows of those bytes together, a word at a time.
    struct SetHash {
        std::size_t operator()(const ByteSet& set) const { return set.Hash(); }
    };
    std::unordered_map<ByteSet, std::vector<std::uint64_t>, SetHash> positions_of;
    at = 0;
    for (const auto& alternative : pattern.alternatives) {
        for (const LinearPosition& position : alternative) {
            std::vector<std::uint64_t>& same = positions_of[position.bytes];
            same.resize(words_, 0);
            same[at / 64] |= std::uint64_t{1} << (at % 64);
            ++at;
        }
    }
    for (const auto& entry : positions_of) {
        const std::vector<std::uint64_t>& same = entry.second;
        entry.first.ForEach([&](unsigned char byte) {
            std::uint64_t* row = &takes_[static_cast<std::size_t>(byte) * words_];
            for (std::size_t w = 0; w < words_; ++w) {
                row[w] |= same[w];
            }
        });
    }
}

// A bit of the state is a position that a match can have reached at the current byte. Each
// byte moves every bit one position on where the position takes it, keeps the stars that take
// it, and lets every alternative start anew; then each run of optional positions is filled from
// its lowest reached bit upwards by one subtraction, the borrow stopping at the run's end.
bool BitParallelMatcher::Test(std::string_view name) {
    if (matches_everything_) {
        return true;
    }
    std::uint64_t* state = state_.data();
    std::uint64_t* next = next_.data();
    const Masks* masks = masks_.data();
    std::uint64_t hit = 0;
    for (std::size_t w = 0; w < words_; ++w) {
        state[w] = masks[w].always;
        hit |= state[w] & masks[w].last;
    }
    if (hit != 0) {
        return true;
    }
    for (const char c : name) {
        const std::uint64_t* takes = &takes_[static_cast<unsigned char>(c) * words_];
        std::uint64_t carry = 0;
        std::uint64_t borrow = 0;
        for (std::size_t w = 0; w < words_; ++w) {
            const Masks& mask = masks[w];
            const std::uint64_t reached = state[w];
            const std::uint64_t moved = (reached << 1) | carry;
            carry = reached >> 63;
            std::uint64_t taken =
                ((moved | mask.first | (reached & mask.repeats)) & takes[w]) | mask.always;
            const std::uint64_t with_ends = taken | mask.span_high;
            const std::uint64_t difference = with_ends - mask.span_low - borrow;
            borrow = (with_ends < mask.span_low || with_ends - mask.span_low < borrow) ? 1 : 0;
            taken |= mask.optional & (~difference ^ with_ends);
            next[w] = taken;
            hit |= taken & mask.last;
        }
        std::swap(state, next);
        if (hit != 0) {
            return true;
        }
    }
    return false;
}

}  // namespace tov
