#include "search/escape_typed_pattern.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>

namespace tov {
namespace {

// The fifteen replacements done literally, one whole-text pass after the other.
std::string ReplaceInTurn(std::string text) {
    const std::pair<const char*, const char*> steps[] = {
        {"\\", "\\\\"}, {"+", "\\+"}, {"(", "\\("}, {")", "\\)"}, {"[", "\\["},
        {"]", "\\]"},   {"^", "\\^"}, {"$", "\\$"}, {"~", "\\~"}, {"<", "\\<"},
        {">", "\\>"},   {":", "\\:"}, {".", "\\."}, {"?", "."},   {"*", "(.*)"},
    };
    for (const auto& [from, to] : steps) {
        std::string out;
        for (const char c : text) {
            if (c == from[0]) {
                out += to;
            } else {
                out += c;
            }
        }
        text = std::move(out);
    }
    return text;
}

TEST(EscapeTypedPattern, WildcardsAndEscapes) {
    EXPECT_EQ(EscapeTypedPattern("*.doc"), "(.*)\\.doc");
    EXPECT_EQ(EscapeTypedPattern("a?c"), "a.c");
    EXPECT_EQ(EscapeTypedPattern("?"), ".");
    EXPECT_EQ(EscapeTypedPattern("copy (1)"), "copy \\(1\\)");
    EXPECT_EQ(EscapeTypedPattern("a+b"), "a\\+b");
    EXPECT_EQ(EscapeTypedPattern("c:"), "c\\:");
    EXPECT_EQ(EscapeTypedPattern("a\\b"), "a\\\\b");
    EXPECT_EQ(EscapeTypedPattern("[^$~<>]"), "\\[\\^\\$\\~\\<\\>\\]");
    // Characters outside the fifteen keep their meaning in the expression.
    EXPECT_EQ(EscapeTypedPattern("a|b{2}-"), "a|b{2}-");
    EXPECT_EQ(EscapeTypedPattern(""), "");
    // A class label edited by the user is searched as typed text.
    EXPECT_EQ(EscapeTypedPattern("Word files(*.doc; *.dot)x"),
              "Word files\\((.*)\\.doc; (.*)\\.dot\\)x");
}

TEST(EscapeTypedPattern, SameAsTheReplacementsInTurn) {
    const std::string alphabet = "\\+()[]^$~<>:.?*|{}-aZ \xE9\x80";
    std::mt19937 random(8);
    for (int round = 0; round < 2000; ++round) {
        std::string typed;
        const int length = static_cast<int>(random() % 12);
        for (int i = 0; i < length; ++i) {
            typed += alphabet[random() % alphabet.size()];
        }
        ASSERT_EQ(EscapeTypedPattern(typed), ReplaceInTurn(typed)) << typed;
    }
}

}  // namespace
}  // namespace tov
