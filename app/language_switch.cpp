#include "app/language_switch.h"

namespace tov {

const LanguageCode* FindLanguageSwitch(std::string_view command_line) {
    constexpr std::string_view kSwitch = "-l ";
    if (command_line.size() != kSwitch.size() + 2 || command_line.substr(0, 3) != kSwitch) {
        return nullptr;
    }
    const std::string_view code = command_line.substr(kSwitch.size());
    for (const LanguageCode& entry : kLanguageTable) {
        if (code == entry.code) {
            return &entry;
        }
    }
    return nullptr;
}

std::optional<std::uint32_t> ParseLanguageSwitch(std::string_view command_line) {
    if (const LanguageCode* entry = FindLanguageSwitch(command_line)) {
        return entry->locale;
    }
    return std::nullopt;
}

}  // namespace tov
