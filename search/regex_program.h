// The compiled form of a pattern: a Thompson automaton laid out as a program of instructions,
// as the pattern matcher's parser produces it and its lazy DFA runs it.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <vector>

namespace tov {

// A set of bytes, one bit per byte value.
class ByteSet {
  public:
    bool Contains(unsigned char byte) const { return (bits_[byte >> 6] >> (byte & 63)) & 1u; }
    void Add(unsigned char byte) { bits_[byte >> 6] |= std::uint64_t{1} << (byte & 63); }
    void Complement() {
        for (auto& word : bits_) {
            word = ~word;
        }
    }
    void Union(const ByteSet& other) {
        for (int i = 0; i < 4; ++i) {
            bits_[i] |= other.bits_[i];
        }
    }
    ByteSet Intersection(const ByteSet& other) const {
        ByteSet both;
        for (int i = 0; i < 4; ++i) {
            both.bits_[i] = bits_[i] & other.bits_[i];
        }
        return both;
    }
    ByteSet Without(const ByteSet& other) const {
        ByteSet rest;
        for (int i = 0; i < 4; ++i) {
            rest.bits_[i] = bits_[i] & ~other.bits_[i];
        }
        return rest;
    }
    bool Empty() const { return (bits_[0] | bits_[1] | bits_[2] | bits_[3]) == 0; }
    // Calls `visit` with every byte of the set, in increasing order.
    template <typename Visit>
    void ForEach(Visit visit) const {
        for (int i = 0; i < 4; ++i) {
            for (std::uint64_t word = bits_[i]; word != 0; word &= word - 1) {
                visit(static_cast<unsigned char>(i * 64 + std::countr_zero(word)));
            }
        }
    }
    bool operator==(const ByteSet&) const = default;
    std::size_t Hash() const {
        std::uint64_t h = 0x9E3779B97F4A7C15ull;
        for (auto word : bits_) {
            h = (h ^ word) * 0x100000001B3ull;
        }
        return static_cast<std::size_t>(h ^ (h >> 29));
    }

  private:
    std::array<std::uint64_t, 4> bits_{};
};

enum class RegexOp : std::uint8_t {
    kByte,    // consume one byte of set `x`, continue at the next instruction
    kSplit,   // continue at both `x` and `y`
    kJump,    // continue at `x`
    kAssert,  // continue at the next instruction if assertion `x` holds here
    kMatch,   // a match ends here
};

enum class RegexAssertion : std::uint32_t {
    kBeginning,        // "^": at the start of the name
    kEnd,              // "$": at the end of the name
    kWordBoundary,     // "\b"
    kNotWordBoundary,  // "\B"
};

struct RegexInst {
    RegexOp op;
    std::uint32_t x;
    std::uint32_t y;
};

struct RegexProgram {
    std::vector<RegexInst> insts;  // starts at 0; ends with the one kMatch
    std::vector<ByteSet> sets;     // referenced by kByte instructions, each distinct
    bool uses_beginning = false;
    bool uses_word_boundary = false;
};

}  // namespace tov
