// The search's matching object: a pattern in the ECMAScript subset that typed text and the
// file-type classes produce, compiled once into an automaton that tests a name in time linear in
// its length, whatever the pattern. Patterns and names are Windows-1252 bytes; a construct means
// what it means to the platform's regular-expression object given the same text converted from
// that code page (so a class range or a "\u" escape is compared by code point).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tov {

enum class PatternErrorKind {
    kNothingToRepeat,       // a quantifier with no atom before it, or after another quantifier
    kMissingParenthesis,    // a "(" that is never closed
    kUnmatchedParenthesis,  // a ")" without its "("
    kUnterminatedClass,     // a "[" without its "]"
    kTrailingBackslash,     // the pattern ends in a lone "\"
    kBadClassRange,         // a class range whose ends are out of order or not characters
    kCountTooLarge,         // a repetition count above 65535
    kCountsOutOfOrder,      // "{n,m}" with n greater than m
    kPatternTooLarge,       // the expanded automaton would exceed its size bound
    kUnsupported,           // a back-reference or a look-ahead: not a regular construct
};

struct PatternError {
    PatternErrorKind kind;
    std::size_t position;  // byte offset in the pattern where the fault was found
    std::string message;   // English description for logs and tests
};

class PatternCompileResult;
struct RegexProgram;

class PatternMatcher {
  public:
    // Bound of the compiled automaton, in instructions: "a{1024}" fits, "a{1025}" not. It also
    // bounds the cost of a byte of name: a typed pattern whose states keep changing is tested
    // bit-parallel, one machine word per 64 positions, so at most 17 words a byte.
    static constexpr std::size_t kMaxProgramSize = 1024;

    static PatternCompileResult Compile(std::string_view pattern);

    PatternMatcher(PatternMatcher&&) noexcept;
    PatternMatcher& operator=(PatternMatcher&&) noexcept;
    ~PatternMatcher();

    // True when the pattern matches somewhere in the name. Case-sensitive, bytes as they are.
    // Not thread-safe: the automaton's states are built lazily into a cache held by the object.
    bool Test(std::string_view name) const;

    // True when every name matches (an empty match is possible at the start, as in "*").
    bool MatchesEverything() const;

    // Number of automaton instructions, and a running count of the work done by every Test so
    // far (bytes stepped plus instructions visited while building states, or machine words
    // stepped once a typed pattern has gone over to the bit-parallel test), for bound checks.
    std::size_t ProgramSize() const;
    std::uint64_t WorkDone() const;

  private:
    class Automaton;
    explicit PatternMatcher(std::unique_ptr<Automaton> automaton);
    std::unique_ptr<Automaton> automaton_;
};

// Either a matcher or the reason the pattern was refused.
class PatternCompileResult {
  public:
    explicit PatternCompileResult(PatternMatcher matcher) : matcher_(std::move(matcher)) {}
    explicit PatternCompileResult(PatternError error) : error_(std::move(error)) {}

    bool ok() const { return matcher_.has_value(); }
    explicit operator bool() const { return ok(); }
    // Valid only when ok() / !ok() respectively.
    const PatternMatcher& matcher() const& { return *matcher_; }
    PatternMatcher&& matcher() && { return std::move(*matcher_); }
    const PatternError& error() const { return *error_; }

  private:
    std::optional<PatternMatcher> matcher_;
    std::optional<PatternError> error_;
};

const char* PatternErrorKindName(PatternErrorKind kind);

}  // namespace tov
