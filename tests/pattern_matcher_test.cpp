#include "search/pattern_matcher.h"

#include <gtest/gtest.h>

#include "search/escape_typed_pattern.h"
#include "search/linear_pattern.h"

#include <random>
#include <string>
#include <vector>

namespace tov {
namespace {

bool Matches(std::string_view pattern, std::string_view name) {
    PatternCompileResult compiled = PatternMatcher::Compile(pattern);
    EXPECT_TRUE(compiled.ok()) << "refused: " << pattern << ": "
                               << (compiled.ok() ? "" : compiled.error().message);
    return compiled.ok() && compiled.matcher().Test(name);
}

struct Refusal {
    PatternErrorKind kind;
    std::size_t position;
};

Refusal RefusalOf(std::string_view pattern) {
    PatternCompileResult compiled = PatternMatcher::Compile(pattern);
    if (compiled.ok()) {
        ADD_FAILURE() << "accepted: " << pattern;
        return {PatternErrorKind::kUnsupported, std::string_view::npos};
    }
    EXPECT_FALSE(compiled.error().message.empty());
    return {compiled.error().kind, compiled.error().position};
}

// The file-type class table's expressions, character for character.
const char* const kClassExpressions[] = {
    "\\.*",
    "\\.(doc|dot)$",
    "\\.xls$",
    "\\.(ppt|pps)$",
    "\\.(zip|rar|ace|cab)$",
    "\\.(eml|pst|dbx)$",
    "\\.(jpeg|jpg|gif|bmp|png|tif|tiff|dwg)$",
    "\\.(mp3|wav|asf|wma|snd|mid|midi|au|aif)$",
    "\\.(avi|mpeg|mpg|mov|wmv|vob)$",
    "\\.(mdf|ldf)$",
};

std::vector<int> RowsMatching(std::string_view name) {
    std::vector<int> rows;
    for (int row = 0; row < 10; ++row) {
        if (Matches(kClassExpressions[row], name)) {
            rows.push_back(row);
        }
    }
    return rows;
}

TEST(PatternMatcherClasses, EdgeCasesOfTheClassTable) {
    // Names arrive lower-cased, as the search passes them.
    EXPECT_EQ(RowsMatching("report.doc"), (std::vector<int>{0, 1}));
    EXPECT_EQ(RowsMatching("report.dot"), (std::vector<int>{0, 1}));
    EXPECT_EQ(RowsMatching("a.b.doc"), (std::vector<int>{0, 1}));
    EXPECT_EQ(RowsMatching("report.docx"), (std::vector<int>{0}));
    EXPECT_EQ(RowsMatching("report.doc.bak"), (std::vector<int>{0}));
    EXPECT_EQ(RowsMatching("report.doc "), (std::vector<int>{0}));
    EXPECT_EQ(RowsMatching("plan.dwg"), (std::vector<int>{0, 6}));
    EXPECT_EQ(RowsMatching("song.mid"), (std::vector<int>{0, 7}));
    EXPECT_EQ(RowsMatching("song.midi"), (std::vector<int>{0, 7}));
    EXPECT_EQ(RowsMatching("x.tif"), (std::vector<int>{0, 6}));
    EXPECT_EQ(RowsMatching("x.tiff"), (std::vector<int>{0, 6}));
    EXPECT_EQ(RowsMatching("x.tif.zip"), (std::vector<int>{0, 4}));
    EXPECT_EQ(RowsMatching(".xls"), (std::vector<int>{0, 2}));
    EXPECT_EQ(RowsMatching("backup.zip"), (std::vector<int>{0, 4}));
    EXPECT_EQ(RowsMatching("readme"), (std::vector<int>{0}));
    EXPECT_EQ(RowsMatching("a.b"), (std::vector<int>{0}));
    EXPECT_EQ(RowsMatching(""), (std::vector<int>{0}));
    EXPECT_EQ(RowsMatching("docs.xls.mdf"), (std::vector<int>{0, 9}));
    EXPECT_EQ(RowsMatching("xls"), (std::vector<int>{0}));  // no dot before the extension
}

TEST(PatternMatcherClasses, EveryListedExtensionFindsOnlyItsOwnRow) {
    const std::vector<std::vector<std::string>> extensions = {
        {},
        {"doc", "dot"},
        {"xls"},
        {"ppt", "pps"},
        {"zip", "rar", "ace", "cab"},
        {"eml", "pst", "dbx"},
        {"jpeg", "jpg", "gif", "bmp", "png", "tif", "tiff", "dwg"},
        {"mp3", "wav", "asf", "wma", "snd", "mid", "midi", "au", "aif"},
        {"avi", "mpeg", "mpg", "mov", "wmv", "vob"},
        {"mdf", "ldf"},
    };
    for (int row = 1; row < 10; ++row) {
        for (const std::string& extension : extensions[row]) {
            EXPECT_EQ(RowsMatching("my file." + extension), (std::vector<int>{0, row}))
                << extension;
            EXPECT_EQ(RowsMatching("my file." + extension + "x"), (std::vector<int>{0}))
                << extension;
            EXPECT_EQ(RowsMatching("my file" + extension), (std::vector<int>{0})) << extension;
        }
    }
}

TEST(PatternMatcherTyped, ExpressionsThatTypedTextBecomes) {
    // typed "*.doc"
    EXPECT_TRUE(Matches("(.*)\\.doc", "a.doc"));
    EXPECT_TRUE(Matches("(.*)\\.doc", "a.docx"));
    EXPECT_TRUE(Matches("(.*)\\.doc", "x.doc.bak"));
    EXPECT_FALSE(Matches("(.*)\\.doc", "adoc"));
    // typed "?" and "a?c"
    EXPECT_TRUE(Matches(".", "x"));
    EXPECT_FALSE(Matches(".", ""));
    EXPECT_TRUE(Matches("a.c", "abc"));
    EXPECT_TRUE(Matches("a.c", "xabcx"));
    EXPECT_FALSE(Matches("a.c", "ac"));
    // typed "report"
    EXPECT_TRUE(Matches("report", "annual report.txt"));
    EXPECT_TRUE(Matches("report", "reports"));
    EXPECT_FALSE(Matches("report", "repor t"));
    // typed "copy (1)", "a+b", "c:", "a|b"
    EXPECT_TRUE(Matches("copy \\(1\\)", "copy (1).doc"));
    EXPECT_FALSE(Matches("copy \\(1\\)", "copy 1.doc"));
    EXPECT_TRUE(Matches("a\\+b", "a+b.txt"));
    EXPECT_FALSE(Matches("a\\+b", "aab.txt"));
    EXPECT_TRUE(Matches("c\\:", "disk c:"));
    EXPECT_FALSE(Matches("c\\:", "c.txt"));
    EXPECT_TRUE(Matches("a|b", "xxbxx"));
    EXPECT_TRUE(Matches("a|b", "a"));
    EXPECT_FALSE(Matches("a|b", "xyz"));
    // typed "\", "[x]", "^$~<>", "*"
    EXPECT_TRUE(Matches("\\\\", "dir\\file"));
    EXPECT_TRUE(Matches("\\[x\\]", "a[x]"));
    EXPECT_FALSE(Matches("\\[x\\]", "x"));
    EXPECT_TRUE(Matches("\\^\\$\\~\\<\\>", "^$~<>"));
    EXPECT_TRUE(Matches("(.*)", ""));
    // typed "{2}" stays a quantifier of what precedes it: "ab{2}" needs "abb"
    EXPECT_TRUE(Matches("ab{2}", "xabbx"));
    EXPECT_FALSE(Matches("ab{2}", "ab{2}"));
    EXPECT_TRUE(Matches("a{x}", "a{x}"));
}

TEST(PatternMatcherTyped, SixStarsRunInLinearTime) {
    PatternCompileResult compiled = PatternMatcher::Compile("(.*)(.*)(.*)(.*)(.*)(.*)a");
    ASSERT_TRUE(compiled.ok());
    const PatternMatcher& matcher = compiled.matcher();
    const std::string miss(60, 'b');
    const std::uint64_t before = matcher.WorkDone();
    EXPECT_FALSE(matcher.Test(miss));
    EXPECT_LE(matcher.WorkDone() - before, (miss.size() + 1) * (3 * matcher.ProgramSize() + 4));
    EXPECT_TRUE(matcher.Test(miss + "a"));
    // A long name costs about a step per byte once the states are built.
    const std::string long_miss(100000, 'b');
    const std::uint64_t start = matcher.WorkDone();
    EXPECT_FALSE(matcher.Test(long_miss));
    EXPECT_LE(matcher.WorkDone() - start, long_miss.size() + 1000);
}

TEST(PatternMatcherLanguage, Quantifiers) {
    EXPECT_TRUE(Matches("^ab*c$", "ac"));
    EXPECT_TRUE(Matches("^ab*c$", "abbbc"));
    EXPECT_FALSE(Matches("^ab+c$", "ac"));
    EXPECT_TRUE(Matches("^ab+c$", "abc"));
    EXPECT_TRUE(Matches("^ab?c$", "abc"));
    EXPECT_FALSE(Matches("^ab?c$", "abbc"));
    EXPECT_TRUE(Matches("^a{3}$", "aaa"));
    EXPECT_FALSE(Matches("^a{3}$", "aa"));
    EXPECT_FALSE(Matches("^a{3}$", "aaaa"));
    EXPECT_TRUE(Matches("^a{2,}$", "aaaaaa"));
    EXPECT_FALSE(Matches("^a{2,}$", "a"));
    EXPECT_TRUE(Matches("^a{2,3}$", "aaa"));
    EXPECT_FALSE(Matches("^a{2,3}$", "aaaa"));
    EXPECT_TRUE(Matches("^x{0}$", ""));
    EXPECT_TRUE(Matches("^(ab){2}$", "abab"));
    EXPECT_FALSE(Matches("^(ab){2}$", "aba"));
    EXPECT_TRUE(Matches("^(a|bc){1,2}d$", "bcad"));
    // Lazy forms give the same answer.
    EXPECT_TRUE(Matches("^a*?b$", "aab"));
    EXPECT_TRUE(Matches("^a+?b$", "ab"));
    EXPECT_TRUE(Matches("^a??b$", "ab"));
    EXPECT_TRUE(Matches("^a{1,2}?b$", "aab"));
    // A "{" that starts no valid count is a literal, and may itself be repeated.
    EXPECT_TRUE(Matches("a{", "a{"));
    EXPECT_TRUE(Matches("a{,3}", "a{,3}"));
    EXPECT_TRUE(Matches("a{2,x}", "a{2,x}"));
    EXPECT_TRUE(Matches("{a", "x{a"));
    EXPECT_TRUE(Matches("^{*$", "{{{"));
    EXPECT_TRUE(Matches("}", "}"));
    EXPECT_TRUE(Matches("^\\^{2}$", "^^"));
    EXPECT_TRUE(Matches("^a{1000}$", std::string(1000, 'a')));
    EXPECT_FALSE(Matches("^a{1000}$", std::string(999, 'a')));
    EXPECT_TRUE(Matches("b{0,500}", "a"));
}

TEST(PatternMatcherLanguage, AlternationAndGroups) {
    EXPECT_TRUE(Matches("a|", "zzz"));  // an empty alternative matches everywhere
    EXPECT_TRUE(Matches("|", ""));
    EXPECT_TRUE(Matches("^(?:doc|dot)$", "dot"));
    EXPECT_FALSE(Matches("^(?:doc|dot)$", "do"));
    EXPECT_TRUE(Matches("x(a|b(c|d))y", "xbdy"));
    EXPECT_FALSE(Matches("x(a|b(c|d))y", "xby"));
    EXPECT_TRUE(Matches("^()$", ""));
    EXPECT_TRUE(Matches("(a*)*b", "aaab"));
    EXPECT_FALSE(Matches("(a*)*b", std::string(5000, 'a')));
    EXPECT_TRUE(Matches("(|a)+c", "c"));
}

TEST(PatternMatcherLanguage, Anchors) {
    EXPECT_TRUE(Matches("^ab", "abc"));
    EXPECT_FALSE(Matches("^ab", "cab"));
    EXPECT_TRUE(Matches("ab$", "cab"));
    EXPECT_FALSE(Matches("ab$", "abc"));
    EXPECT_TRUE(Matches("^$", ""));
    EXPECT_FALSE(Matches("^$", "a"));
    EXPECT_FALSE(Matches("a^", "aa"));
    EXPECT_FALSE(Matches("$a", "aa"));
    EXPECT_TRUE(Matches("^a|b$", "xab"));
    EXPECT_TRUE(Matches("(^|x)y", "y"));
    EXPECT_TRUE(Matches("\\bcd", "ab cd"));
    EXPECT_FALSE(Matches("\\bcd", "abcd"));
    EXPECT_TRUE(Matches("\\Bcd", "abcd"));
    EXPECT_TRUE(Matches("ab\\b", "ab"));
    EXPECT_TRUE(Matches("ab\\b", "ab\xE9"));  // accented letters are not word characters
    EXPECT_FALSE(Matches("ab\\b", "ab_"));
}

TEST(PatternMatcherLanguage, BracketClasses) {
    EXPECT_TRUE(Matches("^[a-c]+$", "abcab"));
    EXPECT_FALSE(Matches("^[a-c]+$", "abd"));
    EXPECT_TRUE(Matches("^[^a-c]$", "d"));
    EXPECT_FALSE(Matches("^[^a-c]$", "b"));
    EXPECT_TRUE(Matches("[\\]]", "]"));
    EXPECT_TRUE(Matches("^[a\\-z]$", "-"));
    EXPECT_FALSE(Matches("^[a\\-z]$", "m"));
    EXPECT_TRUE(Matches("^[-a]$", "-"));
    EXPECT_TRUE(Matches("^[a-]$", "-"));
    EXPECT_TRUE(Matches("^[\\d.]+$", "3.14"));
    EXPECT_TRUE(Matches("^[\\d-z]$", "-"));  // "-" after a set is a literal
    EXPECT_FALSE(Matches("[]", "a"));        // the empty class matches nothing
    EXPECT_TRUE(Matches("^[^]$", "\n"));     // and its negation everything
    EXPECT_TRUE(Matches("[.]", "."));
    EXPECT_FALSE(Matches("[.]", "a"));
    EXPECT_TRUE(Matches("[(|)]", "|"));
    EXPECT_TRUE(Matches("[\\b]", "\b"));
    EXPECT_TRUE(Matches("[\\x41]", "A"));
    EXPECT_TRUE(Matches("[\\xZ]", "\\"));  // inside a class a bad "\x" is a backslash
    EXPECT_FALSE(Matches("[\\xZ]", "x"));
    EXPECT_TRUE(Matches("[\\101]", "A"));
    // Ranges and escapes are compared by code point, as the platform's UTF-16 text has them.
    EXPECT_TRUE(Matches("[\xE0-\xFF]", "caf\xE9"));
    EXPECT_TRUE(Matches("\\u20ac", "\x80"));
    EXPECT_FALSE(Matches("\\x80", "\x80"));
    EXPECT_TRUE(Matches("[\\x7e-\\xff]", "\x81"));
    EXPECT_FALSE(Matches("[\\x7e-\\xff]", "\x80"));  // the euro sign is U+20AC
    EXPECT_TRUE(Matches("[~-\x80]", "\xE9"));        // "~" to U+20AC spans all of Latin-1
    EXPECT_FALSE(Matches("[\\0]", std::string(1, '\0')));
}

TEST(PatternMatcherLanguage, EscapesAndDot) {
    EXPECT_TRUE(Matches("^\\d\\w\\s$", "7_ "));
    EXPECT_TRUE(Matches("\\s", "a\xA0z"));  // no-break space
    EXPECT_FALSE(Matches("\\s", "a\x1F"));
    EXPECT_TRUE(Matches("^\\D\\W\\S$", "a-b"));
    EXPECT_FALSE(Matches("\\w", "\xE9\xFF"));
    EXPECT_TRUE(Matches("\\x41\\u0042", "AB"));
    EXPECT_TRUE(Matches("\\xZ", "xZ"));
    EXPECT_TRUE(Matches("\\8", "\\8"));    // no group 8: a backslash and a digit
    EXPECT_TRUE(Matches("^\\101$", "A"));  // no group 1: octal
    EXPECT_TRUE(Matches("\\cJ", "\n"));
    EXPECT_TRUE(Matches("\\c1", "\\c1"));
    EXPECT_TRUE(Matches("\\q\\.", "q."));
    EXPECT_FALSE(Matches("\\.", "a"));
    EXPECT_TRUE(Matches("^.$", "\xFF"));
    EXPECT_FALSE(Matches(".", "\n"));
    EXPECT_FALSE(Matches(".", "\r"));
    EXPECT_TRUE(Matches("a.b", std::string("a\0b", 3)));
}

TEST(PatternMatcherRefusals, WhatThePlatformRefusesIsRefused) {
    struct Case {
        const char* pattern;
        PatternErrorKind kind;
        std::size_t position;
    };
    const Case cases[] = {
        {"{2}", PatternErrorKind::kNothingToRepeat, 0},
        {"*.doc", PatternErrorKind::kNothingToRepeat, 0},
        {"a|+", PatternErrorKind::kNothingToRepeat, 2},
        {"(?b)", PatternErrorKind::kNothingToRepeat, 1},
        {"a**", PatternErrorKind::kNothingToRepeat, 2},
        {"a{2}{3}", PatternErrorKind::kNothingToRepeat, 4},
        {"^*", PatternErrorKind::kNothingToRepeat, 1},
        {"a$?", PatternErrorKind::kNothingToRepeat, 2},
        {"\\b+", PatternErrorKind::kNothingToRepeat, 2},
        {"(", PatternErrorKind::kMissingParenthesis, 0},
        {"(a(b)", PatternErrorKind::kMissingParenthesis, 0},
        {")", PatternErrorKind::kUnmatchedParenthesis, 0},
        {"a)b", PatternErrorKind::kUnmatchedParenthesis, 1},
        {"[", PatternErrorKind::kUnterminatedClass, 0},
        {"x[a\\]", PatternErrorKind::kUnterminatedClass, 1},
        {"a\\", PatternErrorKind::kTrailingBackslash, 1},
        {"[z-a]", PatternErrorKind::kBadClassRange, 0},
        {"[a-\\d]", PatternErrorKind::kBadClassRange, 0},
        {"a{3,2}", PatternErrorKind::kCountsOutOfOrder, 1},
        {"a{65536}", PatternErrorKind::kCountTooLarge, 1},
        {"a{1000000}", PatternErrorKind::kCountTooLarge, 1},
        {"a{99999", PatternErrorKind::kCountTooLarge, 1},  // checked before the "}"
        {"a{1,70000}", PatternErrorKind::kCountTooLarge, 1},
        {"(a{1000}){1000}", PatternErrorKind::kPatternTooLarge, 9},
        {"b{0,65535}", PatternErrorKind::kPatternTooLarge, 1},  // the platform takes it
        {"a{50001}", PatternErrorKind::kPatternTooLarge, 1},
        {"(?=a)", PatternErrorKind::kUnsupported, 0},
        {"(a)\\1", PatternErrorKind::kUnsupported, 3},
        {"\\2(a)(b)", PatternErrorKind::kUnsupported, 0},
    };
    for (const Case& c : cases) {
        const Refusal refusal = RefusalOf(c.pattern);
        EXPECT_EQ(PatternErrorKindName(refusal.kind), std::string(PatternErrorKindName(c.kind)))
            << c.pattern;
        EXPECT_EQ(refusal.position, c.position) << c.pattern;
    }
    // Only a count right after something repeatable is checked: elsewhere a malformed one is
    // plain text.
    EXPECT_TRUE(Matches("^{99999", "{99999"));
    EXPECT_TRUE(Matches("a*{3,2", "a{3,2"));
}

TEST(PatternMatcherLimits, HugeExpansionsAreRefusedQuickly) {
    // Each of these would need millions of instructions if expanded.
    for (const char* pattern : {"((a{100}){100}){100}", "(.{65535}){65535}", "(x{60000})*"}) {
        EXPECT_EQ(RefusalOf(pattern).kind, PatternErrorKind::kPatternTooLarge) << pattern;
    }
    std::string alternatives;
    for (int i = 0; i < 20; ++i) {
        alternatives += "a{5000}|";
    }
    EXPECT_EQ(RefusalOf(alternatives).kind, PatternErrorKind::kPatternTooLarge);
    // The largest accepted expansion still compiles and answers.
    PatternCompileResult largest =
        PatternMatcher::Compile("a{" + std::to_string(PatternMatcher::kMaxProgramSize) + "}");
    ASSERT_TRUE(largest.ok());
    EXPECT_EQ(largest.matcher().ProgramSize(), PatternMatcher::kMaxProgramSize + 1);
    EXPECT_FALSE(largest.matcher().Test("aaaa"));
}

// "(a|b)*a(a|b){12}" needs thousands of states: the cache fills and is emptied many times and
// the answers stay those of a direct check.
TEST(PatternMatcherLimits, StateCacheRefillsKeepAnswersExact) {
    PatternCompileResult compiled = PatternMatcher::Compile("(a|b)*a(a|b){12}");
    ASSERT_TRUE(compiled.ok());
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string name(200, 'a');
        for (char& c : name) {
            const auto draw = random() % 20;
            c = draw == 0 ? 'c' : (draw % 2 ? 'a' : 'b');
        }
        bool expected = false;
        for (std::size_t i = 0; i + 12 < name.size() && !expected; ++i) {
            expected = name[i] == 'a' && name.substr(i + 1, 12).find('c') == std::string::npos;
        }
        const std::uint64_t before = compiled.matcher().WorkDone();
        EXPECT_EQ(compiled.matcher().Test(name), expected) << name;
        EXPECT_LE(compiled.matcher().WorkDone() - before,
                  (name.size() + 1) * (3 * compiled.matcher().ProgramSize() + 4));
    }
}

// Typed "a", many "?" and "c" keeps nearly every position alive on a name of "a" and "b": the
// states change at every byte. Once building them costs more than the bytes, the matcher steps
// machine words instead, a few per byte whatever the name.
TEST(PatternMatcherLimits, WideTypedPatternsCostFewWordsPerByte) {
    const std::string typed = "a" + std::string(1000, '?') + "c";
    PatternCompileResult compiled = PatternMatcher::Compile(EscapeTypedPattern(typed));
    ASSERT_TRUE(compiled.ok());
    std::mt19937 random(3);
    std::string name(100000, 'a');
    for (char& c : name) {
        c = random() % 2 ? 'a' : 'b';
    }
    const std::uint64_t before = compiled.matcher().WorkDone();
    EXPECT_FALSE(compiled.matcher().Test(name));
    name[1001] = 'c';
    EXPECT_EQ(compiled.matcher().Test(name), name[0] == 'a');
    // Allowance of the states built before the change, then 16 words of 64 positions a byte.
    EXPECT_LE(compiled.matcher().WorkDone() - before, (1u << 12) + 2 * name.size() * 18);
}

// The bit-parallel test answers as the automaton does for every kind of typed pattern.
TEST(PatternMatcherLimits, BitParallelTestAgreesWithTheAutomaton) {
    const char* const pieces[] = {"a", "b",  "?", "*", "{2}", "{0}",  "{1,3}", "{2,}",
                                  "|", "\\", ".", "{", "}",   "{,2}", "c",     "{0,}"};
    std::mt19937 random(5);
    int compared = 0;
    for (int round = 0; round < 6000; ++round) {
        std::string typed;
        for (int k = static_cast<int>(random() % 8); k > 0; --k) {
            typed += pieces[random() % std::size(pieces)];
        }
        const std::string pattern = EscapeTypedPattern(typed);
        PatternCompileResult compiled = PatternMatcher::Compile(pattern);
        if (!compiled.ok()) {
            continue;
        }
        const std::optional<LinearPattern> linear = ReadLinearPattern(pattern);
        ASSERT_TRUE(linear.has_value()) << pattern;
        BitParallelMatcher wide(*linear);
        for (int k = 0; k < 4; ++k) {
            std::string name;
            for (int n = static_cast<int>(random() % 8); n > 0; --n) {
                name += "abc.{}|\\"[random() % 8];
            }
            ASSERT_EQ(wide.Test(name), compiled.matcher().Test(name)) << pattern << " " << name;
            ++compared;
        }
    }
    EXPECT_GT(compared, 3000);
}

}  // namespace
}  // namespace tov
