#include "app/language_win.h"

#include <windows.h>

#include "app/language_switch.h"

namespace tov {

bool ApplyLanguageSwitch(const char* command_line) {
    const LanguageCode* language = FindLanguageSwitch(command_line ? command_line : "");
    if (language == nullptr) {
        return false;
    }
    SetThreadLocale(language->locale);
    SetThreadUILanguage(language->ui_language);
    return true;
}

}  // namespace tov
