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

    void ParseEscape() {
        const std::size_t pos = i_;
        if (i_ + 1 >= p_.size()) {
            Fail(PatternErrorKind::kTrailingBackslash, pos, "the pattern ends in a \"\\\"");
            return;
        }
        const auto c = static_cast<unsigned char>(p_[i_ + 1]);
        i_ += 2;
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
            case 'f':
                SetCodePoint(0x0C, pos);
                return;
            case 'n':
                SetCodePoint(0x0A, pos);
                return;
            case 'r':
                SetCodePoint(0x0D, pos);
                return;
            case 't':
                SetCodePoint(0x09, pos);
                return;
            case 'v':
                SetCodePoint(0x0B, pos);
                return;
            case 'c':
                if (i_ < p_.size() && IsAsciiLetter(static_cast<unsigned char>(p_[i_]))) {
                    SetCodePoint(static_cast<unsigned char>(p_[i_]) & 0x1F, pos);
                    ++i_;
                } else {
                    --i_;  // a literal "\" and then the "c" itself
                    SetByte('\\', pos);
                }
                return;
            case 'x':
            case 'u': {
                const std::size_t digits = c == 'x' ? 2 : 4;
                std::uint32_t code = 0;
                for (std::size_t k = 0; k < digits && i_ < p_.size(); ++k) {
                    const int value = HexValue(static_cast<unsigned char>(p_[i_++]));
                    if (value < 0) {
                        i_ -= k + 1;  // not an escape: the letter stands for itself
                        SetByte(c, pos);
                        return;
                    }
                    code = code * 16 + static_cast<std::uint32_t>(value);
                }
                SetCodePoint(code, pos);
                return;
            }
            case 'd':
                SetSet(DigitBytes(), pos);
                return;
            case 'D':
                SetSet(Complemented(DigitBytes()), pos);
                return;
            case 's':
                SetSet(SpaceBytes(), pos);
                return;
            case 'S':
                SetSet(Complemented(SpaceBytes()), pos);
                return;
            case 'w':
                SetSet(WordBytes(), pos);
                return;
            case 'W':
                SetSet(Complemented(WordBytes()), pos);
                return;
            default:
                SetByte(c, pos);
                return;
        }
    }

    static ByteSet Complemented(ByteSet set) {
        set.Complement();
        return set;
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
                k += 2;
                switch (e) {
                    case 'b':
                        code = 0x08;
                        break;
                    case 'f':
                        code = 0x0C;
                        break;
                    case 'n':
                        code = 0x0A;
                        break;
                    case 'r':
                        code = 0x0D;
                        break;
                    case 't':
                        code = 0x09;
                        break;
                    case 'v':
                        code = 0x0B;
                        break;
                    case 'c':
                        if (k < end && IsAsciiLetter(static_cast<unsigned char>(p_[k]))) {
                            code = static_cast<unsigned char>(p_[k++]) & 0x1F;
                        } else {
                            --k;
                            code = '\\';
                        }
                        break;
                    case 'x':
                    case 'u': {
                        const std::size_t digits = e == 'x' ? 2 : 4;
                        for (std::size_t d = 0; d < digits && k < end; ++d) {
                            const int value = HexValue(static_cast<unsigned char>(p_[k++]));
                            if (value < 0) {
                                k -= d + 1;  // inside a class the "\" stands for itself
                                code = '\\';
                                break;
                            }
                            code = code * 16 + static_cast<std::uint32_t>(value);
                        }
                        break;
                    }
                    case '0':
                    case '1':
                    case '2':
                    case '3':
                    case '4':
                    case '5':
                    case '6':
                    case '7':
                        code = e - '0';
                        if (k < end && IsOctal(static_cast<unsigned char>(p_[k]))) {
                            code = code * 8 + static_cast<unsigned>(p_[k++] - '0');
                            if (k < end && IsOctal(static_cast<unsigned char>(p_[k]))) {
                                const std::uint32_t third =
                                    code * 8 + static_cast<unsigned>(p_[k] - '0');
                                if (third <= 0377) {
                                    code = third;
                                    ++k;
                                }
                            }
                        }
                        break;
                    case 'd':
                        is_set = true;
                        escape_set = DigitBytes();
                        break;
                    case 'D':
                        is_set = true;
                        escape_set = Complemented(DigitBytes());
                        break;
                    case 's':
                        is_set = true;
                        escape_set = SpaceBytes();
                        break;
                    case 'S':
                        is_set = true;
                        escape_set = Complemented(SpaceBytes());
                        break;
                    case 'w':
                        is_set = true;
                        escape_set = WordBytes();
                        break;
                    case 'W':
                        is_set = true;
                        escape_set = Complemented(WordBytes());
                        break;
                    default:
                        code = Cp1252CodePoint(e);
                        break;
                }
                if (is_set) {
                    highest = std::max<std::uint32_t>(highest, e == 'd' ? '9' : 0xFFFF);
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
