#include "search/escape_typed_pattern.h"

namespace tov {

// The fifteen replacements, applied one after the other over the whole text, never touch what an
// earlier one produced ("\" first, "." before "?" becomes ".", "*" last). That makes them the
// same as one pass that replaces each character of the original text on its own.
std::string EscapeTypedPattern(std::string_view typed) {
    std::string expression;
    expression.reserve(typed.size() * 2);
    for (const char c : typed) {
        switch (c) {
            case '\\':
            case '+':
            case '(':
            case ')':
            case '[':
            case ']':
            case '^':
            case '$':
            case '~':
            case '<':
            case '>':
            case ':':
            case '.':
                expression += '\\';
                expression += c;
                break;
            case '?':
                expression += '.';
                break;
            case '*':
                expression += "(.*)";
                break;
            default:
                expression += c;
                break;
        }
    }
    return expression;
}

}  // namespace tov
