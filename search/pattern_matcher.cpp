#include "search/pattern_matcher.h"

#include "search/linear_pattern.h"
#include "search/regex_char_sets.h"
#include "search/regex_parser.h"

#include <algorithm>
#include <array>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tov {
namespace {

// What a state knows of the byte before the current position: enough for "^" and "\b".
enum Context : char32_t { kAtStart = 0, kAfterWordByte = 1, kAfterOtherByte = 2 };

constexpr std::int32_t kUnknown = -1;     // transition not built yet
constexpr std::int32_t kMatchFound = -2;  // a match ends before the byte: the answer is true
constexpr int kAtEnd = -1;                // "next byte" at the end of the name

// The cache holds at most this many states; when full it is emptied and refilled, so a pattern
// whose automaton would be huge still runs in bounded memory and linear time.
constexpr std::size_t kMaxStates = 4096;
constexpr std::size_t kMaxCacheBytes = std::size_t{8} << 20;

// Building states is worth it while it stays small beside the bytes tested: past this much work
// plus a few instructions per byte, a linear pattern goes over to the bit-parallel test.
constexpr std::uint64_t kStateWorkAllowance = std::uint64_t{1} << 12;
constexpr std::uint64_t kStateWorkPerByte = 1;

}  // namespace

// A lazy DFA over the program: each state is the set of threads waiting at a position (before
// their epsilon closure, which depends on the next byte through "$" and "\b") plus the context
// of the previous byte. The start thread is added at every position, so the search is
// unanchored, and a transition that reaches the match instruction ends the test at once.
class PatternMatcher::Automaton {
  public:
    Automaton(RegexProgram program, std::optional<LinearPattern> linear)
        : program_(std::move(program)), linear_(std::move(linear)) {
        const std::size_t size = program_.insts.size();
        visited_sparse_.assign(size, 0);
        visited_dense_.reserve(size);
        stack_.reserve(size);
        byte_pcs_.reserve(size);
        next_kernel_.reserve(size + 1);
        BuildByteClasses();
        matches_everything_ = MatchReachableWithoutAssertions();
    }

    bool Test(std::string_view name) {
        if (matches_everything_) {
            return true;
        }
        if (wide_ != nullptr) {
            return TestWide(name);
        }
        bytes_offered_ += name.size();
        std::int32_t row = StartRow();
        const std::int32_t* table = table_.data();
        const auto* bytes = reinterpret_cast<const unsigned char*>(name.data());
        const std::size_t length = name.size();
        for (std::size_t i = 0; i < length; ++i) {
            std::int32_t next = table[row + byte_class_[bytes[i]]];
            if (next < 0) {
                if (next == kUnknown) {
                    next = Transition(row, bytes[i]);
                    table = table_.data();
                    if (StatesCostTooMuch()) {
                        work_ += i;
                        wide_ = std::make_unique<BitParallelMatcher>(*linear_);
                        return TestWide(name);
                    }
                }
                if (next == kMatchFound) {
                    work_ += i + 1;
                    return true;
                }
            }
            row = next;
        }
        work_ += length;
        return AcceptsAtEnd(row);
    }

    bool MatchesEverything() const { return matches_everything_; }
    std::size_t ProgramSize() const { return program_.insts.size(); }
    std::uint64_t WorkDone() const { return work_; }

  private:
    bool TestWide(std::string_view name) {
        work_ += name.size() * wide_->WordCount();
        return wide_->Test(name);
    }

    bool StatesCostTooMuch() const {
        return linear_ && state_work_ > kStateWorkAllowance + bytes_offered_ * kStateWorkPerByte;
    }

    // Bytes that no set of the program tells apart share a class. The partition is refined set
    // by set, a class at a time as a set of bytes, so a set costs a few words per class.
    void BuildByteClasses() {
        std::vector<ByteSet> classes(1);
        classes[0].Complement();  // every byte
        auto refine = [&](const ByteSet& set) {
            const std::size_t count = classes.size();
            for (std::size_t k = 0; k < count; ++k) {
                ByteSet inside = classes[k].Intersection(set);
                if (!inside.Empty() && !(inside == classes[k])) {
                    classes.push_back(classes[k].Without(set));
                    classes[k] = inside;
                }
            }
        };
        for (const ByteSet& set : program_.sets) {
            if (classes.size() == 256) {
                break;
            }
            refine(set);
        }
        if (program_.uses_word_boundary) {
            refine(WordBytes());
        }
        class_count_ = classes.size();
        for (std::size_t k = 0; k < classes.size(); ++k) {
            classes[k].ForEach(
                [&](unsigned char byte) { byte_class_[byte] = static_cast<std::uint8_t>(k); });
        }
    }

    char32_t Normalized(Context context) const {
        if (context == kAtStart && !program_.uses_beginning) {
            context = kAfterOtherByte;
        }
        if (context == kAfterWordByte && !program_.uses_word_boundary) {
            context = kAfterOtherByte;
        }
        return context;
    }

    bool AssertionHolds(RegexAssertion assertion, char32_t context, int next) const {
        switch (assertion) {
            case RegexAssertion::kBeginning:
                return context == kAtStart;
            case RegexAssertion::kEnd:
                return next == kAtEnd;
            case RegexAssertion::kWordBoundary:
            case RegexAssertion::kNotWordBoundary: {
                const bool before = context == kAfterWordByte;
                const bool after = next != kAtEnd && IsWordByte(static_cast<unsigned char>(next));
                return (before != after) == (assertion == RegexAssertion::kWordBoundary);
            }
        }
        return false;
    }

    // Follows every thread of `kernel` through splits, jumps and assertions; collects the byte
    // instructions reached into byte_pcs_. True when the match instruction is reached.
    bool Closure(const char32_t* kernel, std::size_t size, char32_t context, int next,
                 bool block_assertions) {
        visited_dense_.clear();
        byte_pcs_.clear();
        stack_.clear();
        for (std::size_t k = size; k > 0; --k) {
            stack_.push_back(kernel[k - 1]);
        }
        while (!stack_.empty()) {
            const std::uint32_t pc = stack_.back();
            stack_.pop_back();
            const std::uint32_t slot = visited_sparse_[pc];
            if (slot < visited_dense_.size() && visited_dense_[slot] == pc) {
                continue;
            }
            visited_sparse_[pc] = static_cast<std::uint32_t>(visited_dense_.size());
            visited_dense_.push_back(pc);
            ++work_;
            ++state_work_;
            const RegexInst& inst = program_.insts[pc];
            switch (inst.op) {
                case RegexOp::kByte:
                    byte_pcs_.push_back(pc);
                    break;
                case RegexOp::kSplit:
                    stack_.push_back(inst.y);
                    stack_.push_back(inst.x);
                    break;
                case RegexOp::kJump:
                    stack_.push_back(inst.x);
                    break;
                case RegexOp::kAssert:
                    if (!block_assertions &&
                        AssertionHolds(static_cast<RegexAssertion>(inst.x), context, next)) {
                        stack_.push_back(pc + 1);
                    }
                    break;
                case RegexOp::kMatch:
                    return true;
            }
        }
        return false;
    }

    bool MatchReachableWithoutAssertions() {
        const char32_t start = 0;
        return Closure(&start, 1, kAfterOtherByte, kAtEnd, true);
    }

    std::int32_t StartRow() {
        if (start_row_ < 0) {
            scratch_key_.assign({Normalized(kAtStart), 0});
            start_row_ = RowOf(scratch_key_);
        }
        return start_row_;
    }

    std::int32_t Transition(std::int32_t row, unsigned char byte) {
        const std::size_t state = static_cast<std::size_t>(row) / class_count_;
        scratch_key_ = *keys_[state];
        if (Closure(scratch_key_.data() + 1, scratch_key_.size() - 1, scratch_key_[0], byte,
                    false)) {
            table_[static_cast<std::size_t>(row) + byte_class_[byte]] = kMatchFound;
            return kMatchFound;
        }
        next_kernel_.clear();
        next_kernel_.push_back(IsWordByte(byte) ? Normalized(kAfterWordByte)
                                                : Normalized(kAfterOtherByte));
        next_kernel_.push_back(0);  // a new match may start at every position
        for (std::uint32_t pc : byte_pcs_) {
            ++work_;
            ++state_work_;
            if (program_.sets[program_.insts[pc].x].Contains(byte)) {
                next_kernel_.push_back(pc + 1);
            }
        }
        std::sort(next_kernel_.begin() + 1, next_kernel_.end());
        next_kernel_.erase(std::unique(next_kernel_.begin() + 1, next_kernel_.end()),
                           next_kernel_.end());
        const std::size_t generation = generation_;
        const std::int32_t next = RowOf(next_kernel_);
        if (generation == generation_) {
            table_[static_cast<std::size_t>(row) + byte_class_[byte]] = next;
        }
        return next;
    }

    bool AcceptsAtEnd(std::int32_t row) {
        const std::size_t state = static_cast<std::size_t>(row) / class_count_;
        if (accepts_at_end_[state] < 0) {
            const std::u32string& key = *keys_[state];
            accepts_at_end_[state] = Closure(key.data() + 1, key.size() - 1, key[0], kAtEnd, false);
        }
        return accepts_at_end_[state] == 1;
    }

    std::int32_t RowOf(const std::u32string& key) {
        auto found = index_.find(key);
        if (found != index_.end()) {
            return found->second;
        }
        const std::size_t bytes_per_state =
            class_count_ * sizeof(std::int32_t) + key.size() * sizeof(char32_t) + 64;
        if (keys_.size() >= kMaxStates || cache_bytes_ + bytes_per_state > kMaxCacheBytes) {
            Flush();
        }
        const auto row = static_cast<std::int32_t>(keys_.size() * class_count_);
        auto inserted = index_.emplace(key, row).first;
        keys_.push_back(&inserted->first);
        table_.resize(table_.size() + class_count_, kUnknown);
        accepts_at_end_.push_back(-1);
        cache_bytes_ += bytes_per_state;
        return row;
    }

    void Flush() {
        index_.clear();
        keys_.clear();
        table_.clear();
        accepts_at_end_.clear();
        cache_bytes_ = 0;
        start_row_ = -1;
        ++generation_;
    }

    RegexProgram program_;
    std::optional<LinearPattern> linear_;
    std::unique_ptr<BitParallelMatcher> wide_;  // once the states cost too much
    std::uint64_t state_work_ = 0;
    std::uint64_t bytes_offered_ = 0;
    std::array<std::uint8_t, 256> byte_class_{};
    std::size_t class_count_ = 1;
    bool matches_everything_ = false;

    // The state cache: a row of transitions per state, keyed by context and thread set.
    std::vector<std::int32_t> table_;
    std::vector<std::int8_t> accepts_at_end_;
    std::unordered_map<std::u32string, std::int32_t> index_;
    std::vector<const std::u32string*> keys_;
    std::size_t cache_bytes_ = 0;
    std::size_t generation_ = 0;
    std::int32_t start_row_ = -1;

    // Scratch space sized once, so that building a state allocates little.
    std::vector<std::uint32_t> visited_sparse_;
    std::vector<std::uint32_t> visited_dense_;
    std::vector<std::uint32_t> stack_;
    std::vector<std::uint32_t> byte_pcs_;
    std::u32string next_kernel_;
    std::u32string scratch_key_;
    std::uint64_t work_ = 0;
};

PatternCompileResult PatternMatcher::Compile(std::string_view pattern) {
    RegexParseResult parsed = ParseRegex(pattern, kMaxProgramSize);
    if (parsed.error) {
        return PatternCompileResult(std::move(*parsed.error));
    }
    return PatternCompileResult(PatternMatcher(
        std::make_unique<Automaton>(std::move(*parsed.program), ReadLinearPattern(pattern))));
}

PatternMatcher::PatternMatcher(std::unique_ptr<Automaton> automaton)
    : automaton_(std::move(automaton)) {}
PatternMatcher::PatternMatcher(PatternMatcher&&) noexcept = default;
PatternMatcher& PatternMatcher::operator=(PatternMatcher&&) noexcept = default;
PatternMatcher::~PatternMatcher() = default;

bool PatternMatcher::Test(std::string_view name) const {
    return automaton_->Test(name);
}
bool PatternMatcher::MatchesEverything() const {
    return automaton_->MatchesEverything();
}
std::size_t PatternMatcher::ProgramSize() const {
    return automaton_->ProgramSize();
}
std::uint64_t PatternMatcher::WorkDone() const {
    return automaton_->WorkDone();
}

const char* PatternErrorKindName(PatternErrorKind kind) {
    switch (kind) {
        case PatternErrorKind::kNothingToRepeat:
            return "NothingToRepeat";
        case PatternErrorKind::kMissingParenthesis:
            return "MissingParenthesis";
        case PatternErrorKind::kUnmatchedParenthesis:
            return "UnmatchedParenthesis";
        case PatternErrorKind::kUnterminatedClass:
            return "UnterminatedClass";
        case PatternErrorKind::kTrailingBackslash:
            return "TrailingBackslash";
        case PatternErrorKind::kBadClassRange:
            return "BadClassRange";
        case PatternErrorKind::kCountTooLarge:
            return "CountTooLarge";
        case PatternErrorKind::kCountsOutOfOrder:
            return "CountsOutOfOrder";
        case PatternErrorKind::kPatternTooLarge:
            return "PatternTooLarge";
        case PatternErrorKind::kUnsupported:
            return "Unsupported";
    }
    return "Unknown";
}

}  // namespace tov
