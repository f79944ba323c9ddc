// Turns the text a user types into the search box (a wildcard pattern) into an expression.
#pragma once

#include <string>
#include <string_view>

namespace tov {

// "*" stands for any run of characters, "?" for one character; "\ + ( ) [ ] ^ $ ~ < > : ." stand
// for themselves. Every other character passes unchanged and keeps its meaning in the
// expression language ("|" stays alternation). The result is not anchored.
std::string EscapeTypedPattern(std::string_view typed);

}  // namespace tov
