#include "ui/text_win.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace tov {
namespace {

HINSTANCE g_resource_instance = nullptr;

UINT ThreadAnsiCodePage() {
    char digits[8] = {};
    if (GetLocaleInfoA(GetThreadLocale(), LOCALE_IDEFAULTANSICODEPAGE, digits, sizeof(digits)) >
        0) {
        const UINT code_page = static_cast<UINT>(std::atoi(digits));
        if (code_page != 0) {
            return code_page;
        }
    }
    return GetACP();
}

}  // namespace

HINSTANCE ResourceInstance() {
    return g_resource_instance ? g_resource_instance : GetModuleHandleA(nullptr);
}

void SetResourceInstance(HINSTANCE instance) {
    g_resource_instance = instance;
}

std::string LoadText(UINT id) {
    // With a buffer size of 0, LoadStringW hands out the stored text in place with its length,
    // so embedded NULs survive and nothing is cut.
    const wchar_t* stored = nullptr;
    const int length = LoadStringW(ResourceInstance(), id, reinterpret_cast<LPWSTR>(&stored), 0);
    if (length <= 0 || stored == nullptr) {
        return {};
    }
    const UINT code_page = ThreadAnsiCodePage();
    const int bytes =
        WideCharToMultiByte(code_page, 0, stored, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(code_page, 0, stored, length, text.data(), bytes, nullptr, nullptr);
    return text;
}

std::wstring LoadTextW(UINT id) {
    const wchar_t* stored = nullptr;
    const int length = LoadStringW(ResourceInstance(), id, reinterpret_cast<LPWSTR>(&stored), 0);
    if (length <= 0 || stored == nullptr) {
        return {};
    }
    return std::wstring(stored, static_cast<std::size_t>(length));
}

namespace {

// The argument list is fixed by each caller; the format comes from the resources, whose
// conversions a test keeps equal across languages.
template <typename... Arguments>
std::string FormatLoaded(UINT id, Arguments... arguments) {
    const std::string format = LoadText(id);
    if (format.empty()) {
        return {};
    }
    const int length = std::snprintf(nullptr, 0, format.c_str(), arguments...);
    if (length <= 0) {
        return {};
    }
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    std::snprintf(text.data(), text.size(), format.c_str(), arguments...);
    return std::string(text.data(), static_cast<std::size_t>(length));
}

}  // namespace

std::string FormatText(UINT id, const char* argument) {
    return FormatLoaded(id, argument ? argument : "");
}

std::string FormatText2(UINT id, const char* text, unsigned number) {
    return FormatLoaded(id, text ? text : "", number);
}

}  // namespace tov
