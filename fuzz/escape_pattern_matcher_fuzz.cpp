// Typed search text made an expression and compiled, then tested on a name: the input is the
// typed text up to the first NUL and the name after it. Escaping never makes an expression the
// matcher refuses unless the text holds one of the characters that keep their meaning, and where
// the text holds only literals, "*" and "?" the answer equals a plain wildcard match anywhere in
// the name.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "search/escape_typed_pattern.h"
#include "search/pattern_matcher.h"

namespace {

// Characters that typed text leaves as expression syntax.
bool KeepsMeaning(char c) {
    return c == '|' || c == '{' || c == '}';
}

// Whether the wildcard text matches a substring of the name ("*" any run, "?" one byte other
// than a line terminator, which "." does not match either).
bool WildcardFound(std::string_view typed, std::string_view name) {
    auto one = [](char c) { return c != '\n' && c != '\r'; };
    // reachable[j]: the text so far can end just before name[j], starting anywhere.
    std::vector<char> reachable(name.size() + 1, 1);
    for (const char t : typed) {
        std::vector<char> next(name.size() + 1, 0);
        for (std::size_t j = 0; j <= name.size(); ++j) {
            if (!reachable[j]) {
                continue;
            }
            if (t == '*') {
                for (std::size_t k = j; k <= name.size(); ++k) {
                    next[k] = 1;
                    if (k < name.size() && !one(name[k])) {
                        break;
                    }
                }
            } else if (j < name.size() && (t == '?' ? one(name[j]) : name[j] == t)) {
                next[j + 1] = 1;
            }
        }
        reachable.swap(next);
    }
    for (const char r : reachable) {
        if (r) {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string_view typed = input.substr(0, nul);
    const std::string_view name =
        nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1);
    if (typed.size() > 256 || name.size() > 4096) {
        return 0;  // keeps the quadratic oracle quick; long inputs add nothing here
    }

    bool plain = true;
    for (const char c : typed) {
        plain = plain && !KeepsMeaning(c);
    }
    const std::string expression = tov::EscapeTypedPattern(typed);
    const tov::PatternCompileResult compiled = tov::PatternMatcher::Compile(expression);
    if (!compiled) {
        if (plain && compiled.error().kind != tov::PatternErrorKind::kPatternTooLarge) {
            std::abort();
        }
        return 0;
    }
    const bool found = compiled.matcher().Test(name);
    if (plain && found != WildcardFound(typed, name)) {
        std::abort();
    }
    return 0;
}
