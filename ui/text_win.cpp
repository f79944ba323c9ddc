#include "ui/text_win.h"

#include <cstdio>
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

void SetResourceInstance(HINSTANCE instance) { g_resource_instance = instance; }

std::string LoadText(UINT id) {
    // With a buffer size of 0, LoadStringW hands out the stored text in place with its length,
    // so embedded NULs survive and nothing is cut.
    const wchar_t* stored = nullptr;
    const int length =
        LoadStringW(ResourceInstance(), id, reinterpret_cast<LPWSTR>(&stored), 0);
    if (length <= 0 || stored == nullptr) {
        return {};
    }
    const UINT code_page = ThreadAnsiCodePage();
    const int bytes = WideCharToMultiByte(code_page, 0, stored, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(code_page, 0, stored, length, text.data(), bytes, nullptr, nullptr);
    return text;
}

std::string FormatText(UINT id, const char* argument) {
    const std::string format = LoadText(id);
    const int length = std::snprintf(nullptr, 0, format.c_str(), argument);
    if (length <= 0) {
        return {};
    }
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    std::snprintf(text.data(), text.size(), format.c_str(), argument);
    return std::string(text.data(), static_cast<std::size_t>(length));
}

}  // namespace tov
