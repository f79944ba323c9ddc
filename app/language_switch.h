// The command line's only setting: "-l " followed by a two-letter language code.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tov {

struct LanguageCode {
    const char* code;
    std::uint32_t locale;       // thread locale identifier
    std::uint16_t ui_language;  // the language whose resources supply the texts
};

// The codes in the order they are compared. Dutch has no texts of its own: its user-interface
// language is Dutch (Netherlands), for which the resource lookup falls back.
inline constexpr LanguageCode kLanguageTable[] = {
    {"es", 0x000A, 3082}, {"en", 0x0009, 1033}, {"fr", 0x000C, 1036}, {"de", 0x0007, 1031},
    {"it", 0x0010, 1040}, {"nl", 0x0013, 1043}, {"pt", 0x0816, 2070},
};

// The table entry that the command line (without the program's name) asks for: exactly "-l ",
// then two characters equal to a code of the table (case-sensitive). Anything else asks for
// none.
const LanguageCode* FindLanguageSwitch(std::string_view command_line);

// The locale of that entry.
std::optional<std::uint32_t> ParseLanguageSwitch(std::string_view command_line);

}  // namespace tov
