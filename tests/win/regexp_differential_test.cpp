// Our pattern matcher against the platform's regular-expression object: on a corpus of patterns
// (the class expressions, typed text as the search escapes it, hand-picked corner cases and
// generated patterns) and of names, both must give the same answer for every pair, and refuse
// the same patterns.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "search/escape_typed_pattern.h"
#include "search/file_type_class.h"
#include "search/pattern_matcher.h"

namespace tov {

// The object's documented interface; only Pattern and Test are called. It must not sit in an
// unnamed namespace: GCC then sees no implementation of it anywhere and may treat every call
// through it as unreachable. The methods of IUnknown and IDispatch are declared here rather than
// inherited, in their order, so that the interface can close its destructor to callers (only
// Release ends the object) without changing the table of methods.
struct IRegExp {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count,
                                                    LCID locale, DISPID* ids) = 0;
    virtual HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                             DISPPARAMS* parameters, VARIANT* result,
                                             EXCEPINFO* exception, UINT* argument_error) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Pattern(BSTR* pattern) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Pattern(BSTR pattern) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IgnoreCase(VARIANT_BOOL* ignore_case) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IgnoreCase(VARIANT_BOOL ignore_case) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Global(VARIANT_BOOL* global) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Global(VARIANT_BOOL global) = 0;
    virtual HRESULT STDMETHODCALLTYPE Execute(BSTR source, IDispatch** matches) = 0;
    virtual HRESULT STDMETHODCALLTYPE Test(BSTR source, VARIANT_BOOL* match) = 0;
    virtual HRESULT STDMETHODCALLTYPE Replace(BSTR source, BSTR replacement, BSTR* result) = 0;

  protected:
    ~IRegExp() = default;
};

namespace {

const CLSID kRegExpClsid = {
    0x3F4DACA4, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}};
const IID kIRegExpIid = {
    0x3F4DACA0, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}};

template <typename Interface>
class ComRef {
  public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (pointer_ != nullptr) {
            pointer_->Release();
        }
    }
    Interface** Out() { return &pointer_; }
    Interface* operator->() const { return pointer_; }
    Interface* get() const { return pointer_; }

  private:
    Interface* pointer_ = nullptr;
};

class Bstr {
  public:
    explicit Bstr(const std::string& text) {
        const int length =
            MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
        value_ = SysAllocStringLen(nullptr, static_cast<UINT>(length));
        MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), value_, length);
    }
    Bstr(Bstr&& other) noexcept : value_(other.value_) { other.value_ = nullptr; }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(value_); }
    BSTR get() const { return value_; }

  private:
    BSTR value_ = nullptr;
};

// A deterministic generator that gives the same corpus on every system.
class Draw {
  public:
    explicit Draw(std::uint32_t seed) : state_(seed) {}
    std::uint32_t Below(std::uint32_t bound) {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_ % bound;
    }
    bool Chance(std::uint32_t percent) { return Below(100) < percent; }
    template <typename T, std::size_t N>
    const T& Pick(const T (&items)[N]) {
        return items[Below(N)];
    }

  private:
    std::uint32_t state_;
};

std::string Printable(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x20 || c >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof(hex), "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::vector<std::string> MakeNames() {
    const char* const stems[] = {"report",
                                 "annual report 2003",
                                 "img_0012",
                                 "copy (1)",
                                 "backup",
                                 "a+b",
                                 "c:",
                                 "data[1]",
                                 "notes~1",
                                 "r\xE9sum\xE9",
                                 "fa\xE7"
                                 "ade",
                                 "\xF1"
                                 "and\xFA",
                                 "canci\xF3n",
                                 "\xFC"
                                 "bersicht",
                                 "\x80uro",
                                 "plan",
                                 "song",
                                 "x",
                                 "a.b",
                                 "readme",
                                 "dsc 0001",
                                 "copia de seguridad",
                                 "{2}",
                                 "a|b",
                                 "$money$",
                                 "^up^",
                                 "<tag>",
                                 "100%",
                                 "q&a",
                                 "it's",
                                 "tab\there",
                                 "nbsp\xA0x",
                                 "word_word",
                                 "a-b-c",
                                 "...",
                                 ".hidden",
                                 "\x81\x8D\x8F\x90\x9D",
                                 "\xAB\xBB\xB0",
                                 "ab"};
    const char* const extensions[] = {
        "doc",  "dot",  "docx", "xls", "ppt",     "pps",     "zip", "rar", "ace",
        "cab",  "eml",  "pst",  "dbx", "jpeg",    "jpg",     "gif", "bmp", "png",
        "tif",  "tiff", "dwg",  "mp3", "wav",     "asf",     "wma", "snd", "mid",
        "midi", "au",   "aif",  "avi", "mpeg",    "mpg",     "mov", "wmv", "vob",
        "mdf",  "ldf",  "txt",  "bak", "doc.bak", "tif.zip", "",    "DOC", "Jpg"};
    std::vector<std::string> names = {"", ".", ".xls", "a", "\\", "\xA0", " ", "aaaa", "abab"};
    for (const char* stem : stems) {
        for (const char* extension : extensions) {
            std::string name = stem;
            if (*extension != '\0') {
                name += '.';
                name += extension;
            }
            names.push_back(name);
        }
    }
    Draw draw(20261208);
    const char alphabet[] = "abcdoxyz.-_ ()[]{}|+^$\\:~<>0123456789tifpg";
    while (names.size() < 2600) {
        std::string name;
        const std::uint32_t length = draw.Below(41);
        for (std::uint32_t i = 0; i < length; ++i) {
            const std::uint32_t kind = draw.Below(20);
            if (kind == 0) {
                name += static_cast<char>(0x80 + draw.Below(128));
            } else if (kind == 1 && draw.Chance(15)) {
                name += static_cast<char>(1 + draw.Below(31));  // controls, line ends included
            } else if (kind == 1) {
                name += static_cast<char>(draw.Chance(50) ? 'A' + draw.Below(26) : '\t');
            } else {
                name += alphabet[draw.Below(sizeof(alphabet) - 1)];
            }
        }
        names.push_back(name);
    }
    return names;
}

// Patterns of the language, shaped so that the platform's backtracking stays fast on names of
// up to 40 characters: few unbounded repetitions and none nested, alternatives inside a
// repetition only under a small bound.
class PatternGenerator {
  public:
    explicit PatternGenerator(std::uint32_t seed) : draw_(seed) {}

    std::string Next() {
        unbounded_left_ = 2;
        std::string pattern = Alternation(0, false);
        if (draw_.Chance(12)) {
            // A fault at a random place: the platform's refusals must be ours.
            const char faults[] = "()[]{}*+?|";
            const std::size_t at = draw_.Below(static_cast<std::uint32_t>(pattern.size() + 1));
            pattern.insert(at, 1, faults[draw_.Below(sizeof(faults) - 1)]);
        }
        return pattern;
    }

  private:
    std::string Alternation(int depth, bool inside_repeat) {
        std::string out = Sequence(depth, inside_repeat);
        while (draw_.Chance(depth == 0 ? 15 : 30)) {
            out += '|';
            out += Sequence(depth, inside_repeat);
        }
        return out;
    }

    std::string Sequence(int depth, bool inside_repeat) {
        std::string out;
        const std::uint32_t terms = 1 + draw_.Below(4);
        for (std::uint32_t i = 0; i < terms; ++i) {
            out += Term(depth, inside_repeat);
        }
        return out;
    }

    std::string Term(int depth, bool inside_repeat) {
        const std::uint32_t kind = draw_.Below(100);
        if (kind < 8) {
            const char* const assertions[] = {"^", "$", "\\b", "\\B"};
            return draw_.Pick(assertions);
        }
        if (kind < 18 && depth < 2) {
            const bool repeated = !inside_repeat && draw_.Chance(40);
            const bool capturing = draw_.Chance(60);
            std::string group = capturing ? "(" : "(?:";
            group += repeated ? Sequence(depth + 1, true) : Alternation(depth + 1, inside_repeat);
            group += ')';
            if (repeated) {
                group += Quantifier(inside_repeat, true);
            }
            return group;
        }
        std::string atom = Atom();
        if (draw_.Chance(30)) {
            atom += Quantifier(inside_repeat, false);
        }
        return atom;
    }

    std::string Atom() {
        const char* const literals[] = {"a", "b", "c", "d", "o",    "x",    "t",    "i", "f", " ",
                                        "-", "_", "1", "0", "\xE9", "\x80", "\xA0", "}", ","};
        const char* const escaped[] = {"\\.", "\\(", "\\)", "\\+", "\\\\", "\\:", "\\{", "\\-",
                                       "\\[", "\\]", "\\|", "\\$", "\\^",  "\\*", "\\?", "\\~"};
        const char* const sets[] = {"\\d",     "\\w",   "\\s",     "\\D",   "\\W",
                                    "\\S",     "\\x41", "\\u00e9", "\\t",   "\\x2e",
                                    "\\u20ac", "\\x80", "\\0",     "\\101", "\\q"};
        const char* const classes[] = {"[a-c]",
                                       "[^a-c]",
                                       "[.]",
                                       "[\\d.]",
                                       "[^.]",
                                       "[abc-]",
                                       "[-x]",
                                       "[\\w-]",
                                       "[\\]\\[]",
                                       "[\xE0-\xFF]",
                                       "[^\\s]",
                                       "[a-z0-9]",
                                       "[^a-z]",
                                       "[(|)]",
                                       "[\\x7e-\\xff]",
                                       "[~-\x80]",
                                       "[\\u0100-\\uffff]",
                                       "[]",
                                       "[^]",
                                       "[{}]",
                                       "[\\^a]",
                                       "[a^]",
                                       "[\\b]",
                                       "[\\s\\d]"};
        const std::uint32_t kind = draw_.Below(100);
        if (kind < 45) {
            return draw_.Pick(literals);
        }
        if (kind < 60) {
            return draw_.Pick(escaped);
        }
        if (kind < 70) {
            return ".";
        }
        if (kind < 80) {
            return draw_.Pick(sets);
        }
        if (kind < 97) {
            return draw_.Pick(classes);
        }
        return "{";
    }

    std::string Quantifier(bool inside_repeat, bool group) {
        std::string out;
        const bool may_be_unbounded = !inside_repeat && !group && unbounded_left_ > 0;
        const std::uint32_t kind = draw_.Below(may_be_unbounded ? 7 : 4);
        switch (kind) {
            case 0:
                out = "?";
                break;
            case 1:
                out = "{" + std::to_string(draw_.Below(3)) + "}";
                break;
            case 2: {
                const std::uint32_t low = draw_.Below(3);
                out = "{" + std::to_string(low) + "," + std::to_string(low + draw_.Below(2)) + "}";
                break;
            }
            case 3:
                out = "{1,2}";
                break;
            case 4:
                out = "*";
                break;
            case 5:
                out = "+";
                break;
            default:
                out = "{" + std::to_string(draw_.Below(3)) + ",}";
                break;
        }
        if (kind >= 4) {
            --unbounded_left_;
        }
        if (draw_.Chance(20)) {
            out += '?';
        }
        return out;
    }

    Draw draw_;
    int unbounded_left_ = 2;
};

std::vector<std::string> MakePatterns() {
    std::vector<std::string> patterns;
    for (const FileTypeClass& row : FileTypeClasses()) {
        patterns.push_back(row.expression);
    }
    const char* const typed[] = {"*.doc",   "?",      "a?c",    "report", "copy (1)",  "a+b",
                                 "c:",      "a|b",    "*",      "*.*",    "img_*.jpg", "[1]",
                                 "{2}",     "a{2}",   "{",      "}",      "a{1,2}b",   "*{2}",
                                 "x{,3}",   "re*rt",  "\xE9*",  "~1",     "<tag>",     "$",
                                 "^",       "\\",     "a\\b",   "*.tif?", "????",      "*(*",
                                 "*)",      "*]",     "a-b",    "a{2,1}", "a{99999}",  "*.d?c",
                                 "*a*b*c*", "copia*", "*\xA0*", "\x80*",  "|",         "a||b",
                                 "**",      "*.{2}",  "100%",   "d{1,}",  "{1}a",      "x|*",
                                 "?|?"};
    for (const char* text : typed) {
        patterns.push_back(EscapeTypedPattern(text));
    }
    const char* const corners[] = {"",
                                   "(?x)",
                                   "a{99999",
                                   "a{2,1",
                                   "^{99999",
                                   "\\x",
                                   "[\\xZ]",
                                   "\\8",
                                   "\\400",
                                   "[\\0]",
                                   "[^]",
                                   "\\cJ",
                                   "\\c1",
                                   "a{,3}",
                                   "a{2,x}",
                                   "{a",
                                   "{*",
                                   "x{0}",
                                   "(){2}",
                                   "(|a)+c",
                                   "a|",
                                   "[a-]",
                                   "[-a]",
                                   "[\\d-z]",
                                   "[a-\\d]",
                                   "[z-a]",
                                   "[]a]",
                                   "[\\]]",
                                   "\\",
                                   "a\\",
                                   "(",
                                   ")",
                                   "(a",
                                   "a)",
                                   "[",
                                   "[a",
                                   "\\u20ac",
                                   "\\x80",
                                   "\\uZZ",
                                   "\\xa",
                                   "\\0",
                                   "\\012",
                                   "\\101",
                                   "a{65536}",
                                   "a{3,2}",
                                   "a**",
                                   "a*?",
                                   "a*??",
                                   "a+*",
                                   "a{2}{3}",
                                   "a{2}*",
                                   "^*",
                                   "$+",
                                   "\\b?",
                                   "(?:a|b)*c",
                                   "^$",
                                   "a^",
                                   "$a",
                                   "(^a|b$)",
                                   "^.{3}$",
                                   "\\.*",
                                   "(.*)(.*)(.*)a",
                                   "\\bb",
                                   "a\\b",
                                   "\\B\\.",
                                   "^[^.]*$",
                                   "^\\w+\\.\\w{3}$",
                                   "\\s\\d",
                                   "(a|ab)(c|bcd)(d*)",
                                   "x*y*z*$",
                                   "^(a|b|c|d)+\\.",
                                   "[\\x7e-\\xff]",
                                   "[~-\x80]",
                                   "[\xE0-\xFF]+",
                                   "\\u0041",
                                   "o{2,}",
                                   "(do|dot)$",
                                   "\\.(doc|dot)$|\\.xls$",
                                   "^\\.",
                                   "\\.$",
                                   "^\\s|\\s$"};
    for (const char* text : corners) {
        patterns.push_back(text);
    }
    PatternGenerator generator(4242);
    while (patterns.size() < 1000) {
        patterns.push_back(generator.Next());
    }
    return patterns;
}

TEST(RegExpDifferential, OurMatcherAnswersAsThePlatformObject) {
    ComRef<IUnknown> unknown;
    ASSERT_EQ(CoCreateInstance(kRegExpClsid, nullptr, 23, IID_IUnknown,
                               reinterpret_cast<void**>(unknown.Out())),
              S_OK);
    ASSERT_EQ(OleRun(unknown.get()), S_OK);
    ComRef<IRegExp> regexp;
    ASSERT_EQ(unknown->QueryInterface(kIRegExpIid, reinterpret_cast<void**>(regexp.Out())), S_OK);

    const std::vector<std::string> names = MakeNames();
    const std::vector<std::string> patterns = MakePatterns();
    ASSERT_GE(names.size(), 2000u);
    ASSERT_GE(patterns.size(), 200u);
    std::vector<Bstr> name_texts;
    name_texts.reserve(names.size());
    for (const std::string& name : names) {
        name_texts.emplace_back(name);
    }

    std::size_t mismatches = 0;
    std::size_t refused = 0;
    std::size_t matched_pairs = 0;
    std::size_t compared = 0;
    auto report = [&](const std::string& text) {
        if (++mismatches <= 40) {
            ADD_FAILURE() << text;
        }
    };
    for (const std::string& pattern : patterns) {
        const Bstr pattern_text(pattern);
        ASSERT_EQ(regexp->put_Pattern(pattern_text.get()), S_OK);
        const PatternCompileResult ours = PatternMatcher::Compile(pattern);
        VARIANT_BOOL first = VARIANT_FALSE;
        const HRESULT first_result = regexp->Test(name_texts[0].get(), &first);
        if (FAILED(first_result)) {
            ++refused;
            if (ours.ok()) {
                report("the platform refuses, we accept: pattern \"" + Printable(pattern) + "\"");
            }
            continue;
        }
        if (!ours.ok()) {
            report("we refuse (" + ours.error().message + "), the platform accepts: pattern \"" +
                   Printable(pattern) + "\"");
            continue;
        }
        for (std::size_t i = 0; i < names.size(); ++i) {
            VARIANT_BOOL platform = VARIANT_FALSE;
            const HRESULT result = regexp->Test(name_texts[i].get(), &platform);
            const bool mine = ours.matcher().Test(names[i]);
            ++compared;
            matched_pairs += mine ? 1 : 0;
            if (result != S_OK || mine != (platform != VARIANT_FALSE)) {
                report("pattern \"" + Printable(pattern) + "\" name \"" + Printable(names[i]) +
                       "\": platform " +
                       (result != S_OK ? "error"
                        : platform     ? "true"
                                       : "false") +
                       ", ours " + (mine ? "true" : "false"));
            }
        }
    }
    std::printf("%zu patterns (%zu refused by both), %zu names, %zu pairs compared, %zu match\n",
                patterns.size(), refused, names.size(), compared, matched_pairs);
    EXPECT_EQ(mismatches, 0u);
    // The corpus is only worth something if it holds both answers in quantity.
    EXPECT_GT(matched_pairs, compared / 20);
    EXPECT_LT(matched_pairs, compared - compared / 20);
    EXPECT_GT(refused, 20u);
}

}  // namespace
}  // namespace tov
