#include "search/regex_parser.h"

#include "search/regex_char_sets.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tov {
namespace {

constexpr std::uint32_t kMaxCount = 0xFFFF;
constexpr std::uint32_t kUnbounded = 0xFFFFFFFFu;

// A piece of program whose jump targets count from its own first instruction and which
// continues, when it is done, at the instruction just past its end.
using Fragment = std::vector<RegexInst>;

RegexInst Split(std::size_t x, std::size_t y) {
    return {RegexOp::kSplit, static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)};
}
RegexInst Jump(std::size_t x) {
    return {RegexOp::kJump, static_cast<std::uint32_t>(x), 0};
}

void Append(Fragment& head, const Fragment& tail) {
    const auto offset = static_cast<std::uint32_t>(head.size());
    for (RegexInst inst : tail) {
        if (inst.op == RegexOp::kSplit) {
            inst.x += offset;
            inst.y += offset;
        } else if (inst.op == RegexOp::kJump) {
            inst.x += offset;
        }
        head.push_back(inst);
    }
}

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool IsOctal(unsigned char c) {
    return c >= '0' && c <= '7';
}
bool IsAsciiLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
int HexValue(unsigned char c) {
    if (IsDigit(c)) {
        return c - '0';
    }
    c |= 0x20;
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// Capturing groups of the whole pattern: a "\" followed by digits is a back-reference only when
// that many groups exist anywhere in it, before or after.
std::size_t CountCaptureGroups(std::string_view p) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i] == '\\') {
            ++i;
        } else if (p[i] == '[') {
            ++i;
            while (i < p.size() && p[i] != ']') {
                i += p[i] == '\\' ? 2 : 1;
            }
        } else if (p[i] == '(') {
            const bool special = i + 2 < p.size() && p[i + 1] == '?' &&
                                 (p[i + 2] == '=' || p[i + 2] == '!' || p[i + 2] == ':');
            if (!special) {
                ++count;
            }
        }
    }
    return count;
}

enum class AtomKind { kNone, kQuantifiable, kQuantified, kAssertion };

struct Level {
    std::vector<Fragment> alternatives;  // finished alternatives before the last "|"
    Fragment sequence;                   // terms of the current alternative before the last
    Fragment atom;                       // the last term: what a quantifier would repeat
    AtomKind atom_kind = AtomKind::kNone;
    std::size_t open_position = 0;
};

// What follows a "{": the digits of "{n}", "{n,}" or "{n,m}" and whether "}" closes them.
struct CountScan {
    bool has_min = false;
    bool min_too_large = false;
    bool has_max = false;
    bool max_too_large = false;
    bool closed = false;
    std::uint32_t min = 0;
    std::uint32_t max = 0;
    std::size_t end = 0;  // just past the "}"
};

class Parser {
  public:
    Parser(std::string_view pattern, std::size_t limit) : p_(pattern), limit_(limit) {}

    RegexParseResult Run() {
        total_groups_ = CountCaptureGroups(p_);
        levels_.emplace_back();
        while (i_ < p_.size() && !error_) {
            ParseOne();
        }
        if (!error_ && levels_.size() > 1) {
            Fail(PatternErrorKind::kMissingParenthesis, levels_.back().open_position,
                 "a \"(\" is never closed");
        }
        RegexParseResult result;
        if (error_) {
            result.error = std::move(error_);
            return result;
        }
        Fragment whole = CloseLevel(levels_.back());
        whole.push_back({RegexOp::kMatch, 0, 0});
        program_.insts = std::move(whole);
        result.program = std::move(program_);
        return result;
    }

  private:
    void ParseOne() {
        const std::size_t pos = i_;
        const auto c = static_cast<unsigned char>(p_[i_]);
        switch (c) {
            case '(': {
                const bool special = i_ + 2 < p_.size() && p_[i_ + 1] == '?' &&
                                     (p_[i_ + 2] == '=' || p_[i_ + 2] == '!' || p_[i_ + 2] == ':');
                if (special && p_[i_ + 2] != ':') {
                    Fail(PatternErrorKind::kUnsupported, pos,
                         "look-ahead groups are not supported");
                    return;
                }
                i_ += special ? 3 : 1;
                levels_.emplace_back();
                levels_.back().open_position = pos;
                return;
            }
            case ')': {
                if (levels_.size() == 1) {
                    Fail(PatternErrorKind::kUnmatchedParenthesis, pos, "a \")\" has no \"(\"");
                    return;
                }
                ++i_;
                Fragment group = CloseLevel(levels_.back());
                levels_.pop_back();
                SetAtom(std::move(group), AtomKind::kQuantifiable);
                return;
            }
            case '|': {
                ++i_;
                Level& level = levels_.back();
                FlushAtom(level);
                level.alternatives.push_back(std::move(level.sequence));
                level.sequence.clear();
                Grow(2, pos);  // the split and the jump that join the alternatives
                return;
            }
            case '^':
                ++i_;
                program_.uses_beginning = true;
                SetAssertion(RegexAssertion::kBeginning, pos);
                return;
            case '$':
                ++i_;
                SetAssertion(RegexAssertion::kEnd, pos);
                return;
            case '\\':
                ParseEscape();
                return;
            case '[':
                ParseClass();
                return;
            case '.':
                ++i_;
                SetSet(DotBytes(), pos);
                return;
            case '*':
                ++i_;
                Quantify(pos, 0, kUnbounded);
                return;
            case '+':
                ++i_;
                Quantify(pos, 1, kUnbounded);
                return;
            case '?':
                ++i_;
                Quantify(pos, 0, 1);
                return;
            case '{':
                ParseBrace();
                return;
            default:
                ++i_;
                SetByte(c, pos);
                return;
        }
    }

    void Fail(PatternErrorKind kind, std::size_t position, const char* message) {
        if (!error_) {
            error_ = PatternError{kind, position, message};
        }
    }

    // Every instruction that will end up in the program is counted when it is made, so that
    // no expansion is ever built beyond the bound.
    bool Grow(std::uint64_t added, std::size_t pos) {
        if (live_ + added > limit_) {
            Fail(PatternErrorKind::kPatternTooLarge, pos,
                 "the pattern expands beyond the size the matcher accepts");
            return false;
        }
        live_ += added;
        return true;
    }

    std::uint32_t Intern(const ByteSet& set) {
        auto [it, inserted] =
            set_index_.try_emplace(set, static_cast<std::uint32_t>(program_.sets.size()));
        if (inserted) {
            program_.sets.push_back(set);
        }
        return it->second;
    }

    void FlushAtom(Level& level) {
        Append(level.sequence, level.atom);
        level.atom.clear();
        level.atom_kind = AtomKind::kNone;
    }

    void SetAtom(Fragment fragment, AtomKind kind) {
        Level& level = levels_.back();
        FlushAtom(level);
        level.atom = std::move(fragment);
        level.atom_kind = kind;
    }

    void SetSet(const ByteSet& set, std::size_t pos) {
        if (Grow(1, pos)) {
            SetAtom(Fragment{{RegexOp::kByte, Intern(set), 0}}, AtomKind::kQuantifiable);
        }
    }

    void SetByte(unsigned char byte, std::size_t pos) {
        ByteSet set;
        set.Add(byte);
        SetSet(set, pos);
    }

    void SetCodePoint(std::uint32_t code, std::size_t pos) {
        SetSet(BytesInCodePointRange(code, code), pos);
    }

    void SetAssertion(RegexAssertion assertion, std::size_t pos) {
        if (Grow(1, pos)) {
            SetAtom(Fragment{{RegexOp::kAssert, static_cast<std::uint32_t>(assertion), 0}},
                    AtomKind::kAssertion);
        }
    }

    Fragment CloseLevel(Level& level) {
        FlushAtom(level);
        if (level.alternatives.empty()) {
            return std::move(level.sequence);
        }
        level.alternatives.push_back(std::move(level.sequence));
        std::size_t total = 0;
        for (const Fragment& alternative : level.alternatives) {
            total += alternative.size() + 2;
        }
        total -= 2;
        Fragment out;
        out.reserve(total);
        for (std::size_t k = 0; k + 1 < level.alternatives.size(); ++k) {
            const std::size_t at = out.size();
            out.push_back(Split(at + 1, at + 2 + level.alternatives[k].size()));
            Append(out, level.alternatives[k]);
            out.push_back(Jump(total));
        }
        Append(out, level.alternatives.back());
        return out;
    }

    void Quantify(std::size_t pos, std::uint32_t min, std::uint32_t max) {
        Level& level = levels_.back();
        if (level.atom_kind != AtomKind::kQuantifiable) {
            Fail(PatternErrorKind::kNothingToRepeat, pos, "a quantifier has nothing to repeat");
            return;
        }
        if (i_ < p_.size() && p_[i_] == '?') {
            ++i_;  // lazy: the same names match
        }
        Repeat(level, min, max, pos);
        level.atom_kind = AtomKind::kQuantified;
    }

    void Repeat(Level& level, std::uint32_t min, std::uint32_t max, std::size_t pos) {
        const Fragment atom = std::move(level.atom);
        level.atom.clear();
        const std::uint64_t a = atom.size();
        std::uint64_t size = 0;
        if (max == kUnbounded) {
            size = min == 0 ? a + 2 : min * a + 1;
        } else {
            size = min * a + std::uint64_t{max - min} * (a + 1);
        }
        live_ -= a;
        if (!Grow(size, pos)) {
            return;
        }
        Fragment out;
        out.reserve(static_cast<std::size_t>(size));
        if (max == kUnbounded && min == 0) {
            out.push_back(Split(1, a + 2));
            Append(out, atom);
            out.push_back(Jump(0));
        } else if (max == kUnbounded) {
            std::size_t last = 0;
            for (std::uint32_t k = 0; k < min; ++k) {
                last = out.size();
                Append(out, atom);
            }
            out.push_back(Split(last, out.size() + 1));
        } else {
            for (std::uint32_t k = 0; k < min; ++k) {
                Append(out, atom);
            }
            for (std::uint32_t k = min; k < max; ++k) {
                out.push_back(Split(out.size() + 1, size));
                Append(out, atom);
            }
        }
        level.atom = std::move(out);
    }

    CountScan ScanCount(std::size_t brace) const {
        CountScan scan;
        std::size_t j = brace + 1;
        auto read_number = [&](std::uint32_t& value, bool& too_large) {
            std::uint64_t number = 0;
            while (j < p_.size() && IsDigit(static_cast<unsigned char>(p_[j]))) {
                number = number * 10 + static_cast<unsigned>(p_[j] - '0');
                if (number > kMaxCount) {
                    too_large = true;
                    number = kMaxCount + 1;
                }
                ++j;
            }
            value = static_cast<std::uint32_t>(number);
        };
        if (j >= p_.size() || !IsDigit(static_cast<unsigned char>(p_[j]))) {
            return scan;
        }
        scan.has_min = true;
        read_number(scan.min, scan.min_too_large);
        scan.max = scan.min;
        if (j < p_.size() && p_[j] == ',') {
            ++j;
            if (j < p_.size() && IsDigit(static_cast<unsigned char>(p_[j]))) {
                scan.has_max = true;
                read_number(scan.max, scan.max_too_large);
            } else {
                scan.max = kUnbounded;
            }
        }
        scan.closed = j < p_.size() && p_[j] == '}';
        scan.end = j + 1;
        return scan;
    }

    // A "{" is a quantifier only when a well-formed count follows; otherwise it is a literal.
    // Right after a repeatable atom the counts themselves are checked as they are read, even
    // when no "}" follows, as the platform's object does.
    void ParseBrace() {
        const std::size_t pos = i_;
        const CountScan scan = ScanCount(pos);
        if (levels_.back().atom_kind == AtomKind::kQuantifiable && scan.has_min) {
            if (scan.min_too_large || scan.max_too_large) {
                Fail(PatternErrorKind::kCountTooLarge, pos, "a repetition count exceeds 65535");
                return;
            }
            if (scan.has_max && scan.min > scan.max) {
                Fail(PatternErrorKind::kCountsOutOfOrder, pos,
                     "a repetition's minimum exceeds its maximum");
                return;
            }
        }
        if (scan.has_min && scan.closed) {
            i_ = scan.end;
            Quantify(pos, scan.min, scan.max);
            return;
        }
        ++i_;
        SetByte('{', pos);
    }

    // Octal digits after "\0" or after a "\" whose number names no group; a third digit that
    // would pass 0377 is consumed and dropped, as the platform's object does.
    std::uint32_t ReadOctal() {
        std::uint32_t number = 0;
        while (i_ < p_.size() && IsOctal(static_cast<unsigned char>(p_[i_]))) {
            const std::uint32_t next = number * 8 + static_cast<unsigned>(p_[i_] - '0');
            ++i_;
            if (next > 0377) {
                break;
            }
            number = next;
        }
        return number;
    }

    // What an escape stands for where it reads the same inside and outside a class: a control
    // character, a "\c" letter, a "\x" or "\u" code, or one of the sets.
    struct Escape {
        enum class Kind { kCode, kSet, kBadHex, kOther } kind = Kind::kOther;
        std::uint32_t code = 0;
        ByteSet set;
    };

    // Reads the escape whose letter is at `at` (just past the "\"), without passing `end`, and
    // leaves `at` just past what it used. A "\c" without a letter is a literal "\" and leaves
    // `at` on the "c"; a "\x" or "\u" without its hex digits is kBadHex and leaves `at` on the
    // first character after the letter; kOther leaves `at` just past the letter.
    Escape ReadEscape(std::size_t& at, std::size_t end) const {
        struct Entry {
            char letter;
            std::uint32_t code;
            ByteSet (*set)();
            bool complement;
        };
        static constexpr Entry kTable[] = {
            {'f', 0x0C, nullptr, false}, {'n', 0x0A, nullptr, false}, {'r', 0x0D, nullptr, false},
            {'t', 0x09, nullptr, false}, {'v', 0x0B, nullptr, false}, {'d', 0, DigitBytes, false},
            {'D', 0, DigitBytes, true},  {'s', 0, SpaceBytes, false}, {'S', 0, SpaceBytes, true},
            {'w', 0, WordBytes, false},  {'W', 0, WordBytes, true},
        };
        Escape escape;
        const auto letter = static_cast<unsigned char>(p_[at++]);
        for (const Entry& entry : kTable) {
            if (static_cast<unsigned char>(entry.letter) != letter) {
                continue;
            }
            if (entry.set == nullptr) {
                escape.kind = Escape::Kind::kCode;
                escape.code = entry.code;
            } else {
                escape.kind = Escape::Kind::kSet;
                escape.set = entry.set();
                if (entry.complement) {
                    escape.set.Complement();
                }
            }
            return escape;
        }
        if (letter == 'c') {
            escape.kind = Escape::Kind::kCode;
            if (at < end && IsAsciiLetter(static_cast<unsigned char>(p_[at]))) {
                escape.code = static_cast<unsigned char>(p_[at++]) & 0x1F;
            } else {
                --at;  // a literal "\" and then the "c" itself
                escape.code = '\\';
            }
        } else if (letter == 'x' || letter == 'u') {
            const std::size_t first_digit = at;
            const std::size_t digits = letter == 'x' ? 2 : 4;
            escape.kind = Escape::Kind::kCode;
            for (std::size_t k = 0; k < digits && at < end; ++k) {
                const int value = HexValue(static_cast<unsigned char>(p_[at++]));
                if (value < 0) {
                    at = first_digit;
                    escape.kind = Escape::Kind::kBadHex;
                    escape.code = 0;
                    break;
                }
                escape.code = escape.code * 16 + static_cast<std::uint32_t>(value);
            }
        }
        return escape;
    }

    void ParseEscape() {
        const std::size_t pos = i_;
        if (i_ + 1 >= p_.size()) {
            Fail(PatternErrorKind::kTrailingBackslash, pos, "the pattern ends in a \"\\\"");
            return;
        }
        const auto c = static_cast<unsigned char>(p_[i_ + 1]);
        ++i_;
        const Escape escape = ReadEscape(i_, p_.size());
        switch (escape.kind) {
            case Escape::Kind::kCode:
                SetCodePoint(escape.code, pos);
                return;
            case Escape::Kind::kSet:
                SetSet(escape.set, pos);
                return;
            case Escape::Kind::kBadHex:
                SetByte(c, pos);  // not an escape: the letter stands for itself
                return;
            case Escape::Kind::kOther:
                break;
        }
        switch (c) {
            case 'b':
                program_.uses_word_boundary = true;
                SetAssertion(RegexAssertion::kWordBoundary, pos);
                return;
            case 'B':
                program_.uses_word_boundary = true;
                SetAssertion(RegexAssertion::kNotWordBoundary, pos);
                return;
            case '0':
                SetCodePoint(ReadOctal(), pos);
                return;
            case '1':
            case '2':
            case '3':
            case '4':
            case '5':
            case '6':
            case '7':
            case '8':
            case '9': {
                const std::size_t first_digit = i_ - 1;
                std::uint64_t number = 0;
                for (std::size_t j = first_digit;
                     j < p_.size() && IsDigit(static_cast<unsigned char>(p_[j])); ++j) {
                    number = std::min<std::uint64_t>(number * 10 + (p_[j] - '0'), 1u << 30);
                }
                if (number <= total_groups_) {
                    Fail(PatternErrorKind::kUnsupported, pos, "back-references are not supported");
                    return;
                }
                i_ = first_digit;
                if (c >= '8') {
                    SetByte('\\', pos);  // the digits follow as literals
                } else {
                    SetCodePoint(ReadOctal(), pos);
                }
                return;
            }
            default:
                SetByte(c, pos);
                return;
        }
    }

    // The escapes that read differently inside a class: "\b" is a backspace, digits are up to
    // three octal digits, and any other letter stands for itself.
    std::uint32_t ClassEscapeCode(unsigned char e, std::size_t& k, std::size_t end) const {
        if (e == 'b') {
            return 0x08;
        }
        if (!IsOctal(e)) {
            return Cp1252CodePoint(e);
        }
        std::uint32_t code = e - '0';
        if (k < end && IsOctal(static_cast<unsigned char>(p_[k]))) {
            code = code * 8 + static_cast<unsigned>(p_[k++] - '0');
            if (k < end && IsOctal(static_cast<unsigned char>(p_[k]))) {
                const std::uint32_t third = code * 8 + static_cast<unsigned>(p_[k] - '0');
                if (third <= 0377) {
                    code = third;
                    ++k;
                }
            }
        }
        return code;
    }

    void ParseClass() {
        const std::size_t pos = i_;
        std::size_t end = i_ + 1;
        for (;;) {
            if (end >= p_.size()) {
                Fail(PatternErrorKind::kUnterminatedClass, pos, "a \"[\" has no \"]\"");
                return;
            }
            if (p_[end] == '\\') {
                end += end + 1 < p_.size() ? 2 : 1;
                continue;
            }
            if (p_[end] == ']') {
                break;
            }
            ++end;
        }
        i_ = end + 1;

        std::size_t k = pos + 1;
        bool negated = false;
        if (k < end && p_[k] == '^') {
            negated = true;
            ++k;
        }
        ByteSet set;
        std::uint32_t highest = 0;  // the highest code point named, as the platform sizes it
        bool in_range = false;
        std::uint32_t range_first = 0;
        while (k < end) {
            std::uint32_t code = 0;
            bool is_set = false;
            ByteSet escape_set;
            if (p_[k] == '\\' && k + 1 < end) {
                const auto e = static_cast<unsigned char>(p_[k + 1]);
                ++k;
                const Escape escape = ReadEscape(k, end);
                switch (escape.kind) {
                    case Escape::Kind::kCode:
                        code = escape.code;
                        break;
                    case Escape::Kind::kSet:
                        is_set = true;
                        escape_set = escape.set;
                        highest = std::max<std::uint32_t>(highest, e == 'd' ? '9' : 0xFFFF);
                        break;
                    case Escape::Kind::kBadHex:
                        code = '\\';  // inside a class the "\" stands for itself
                        break;
                    case Escape::Kind::kOther:
                        code = ClassEscapeCode(e, k, end);
                        break;
                }
            } else {
                code = Cp1252CodePoint(static_cast<unsigned char>(p_[k++]));
            }
            if (is_set) {
                if (in_range) {
                    Fail(PatternErrorKind::kBadClassRange, pos,
                         "a class range ends in a set such as \\d");
                    return;
                }
                set.Union(escape_set);
                continue;  // a "-" after a set is a literal
            }
            if (in_range) {
                if (range_first > code) {
                    Fail(PatternErrorKind::kBadClassRange, pos,
                         "a class range's ends are out of order");
                    return;
                }
                set.Union(BytesInCodePointRange(range_first, code));
                highest = std::max(highest, code);
                in_range = false;
                continue;
            }
            if (k + 1 < end && p_[k] == '-') {
                ++k;
                in_range = true;
                range_first = code;
                continue;
            }
            set.Union(BytesInCodePointRange(code, code));
            highest = std::max(highest, code);
        }
        if (highest == 0) {
            // The platform sizes a class by its highest code point; a class that names nothing
            // above NUL matches nothing, and its negation everything.
            set = ByteSet{};
        }
        if (negated) {
            set.Complement();
        }
        SetSet(set, pos);
    }

    std::string_view p_;
    std::size_t limit_;
    std::size_t i_ = 0;
    std::uint64_t live_ = 0;
    std::size_t total_groups_ = 0;
    std::vector<Level> levels_;
    std::optional<PatternError> error_;
    RegexProgram program_;
    struct SetHash {
        std::size_t operator()(const ByteSet& set) const { return set.Hash(); }
    };
    std::unordered_map<ByteSet, std::uint32_t, SetHash> set_index_;
};

}  // namespace

RegexParseResult ParseRegex(std::string_view pattern, std::size_t max_program_size) {
    return Parser(pattern, max_program_size).Run();
}

}  // namespace tov
