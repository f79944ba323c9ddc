// Parses a pattern and compiles it into a RegexProgram, refusing what the platform's object
// refuses and what cannot be matched in linear time or within the size bound.
#pragma once

#include "search/pattern_matcher.h"
#include "search/regex_program.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace tov {

struct RegexParseResult {
    std::optional<RegexProgram> program;
    std::optional<PatternError> error;
};

RegexParseResult ParseRegex(std::string_view pattern, std::size_t max_program_size);

}  // namespace tov
