#include "ui/text_win.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

#include "listing/work_summary.h"

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

namespace {

// With a buffer size of 0, LoadStringW hands out the stored text in place with its length, so
// embedded NULs survive and nothing is cut.
std::wstring_view StoredText(UINT id) {
    const wchar_t* stored = nullptr;
    const int length = LoadStringW(ResourceInstance(), id, reinterpret_cast<LPWSTR>(&stored), 0);
    if (length <= 0 || stored == nullptr) {
        return {};
    }
    return {stored, static_cast<std::size_t>(length)};
}

}  // namespace

std::string LoadText(UINT id) {
    const std::wstring_view stored = StoredText(id);
    if (stored.empty()) {
        return {};
    }
    const int length = static_cast<int>(stored.size());
    const UINT code_page = ThreadAnsiCodePage();
    const int bytes =
        WideCharToMultiByte(code_page, 0, stored.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(code_page, 0, stored.data(), length, text.data(), bytes, nullptr, nullptr);
    return text;
}

std::wstring LoadTextW(UINT id) {
    return std::wstring(StoredText(id));
}

// The texts are printf formats; they are filled here rather than by printf, so that no
// translation can make the formatting read an argument that was not passed. The resource tests
// keep the conversions of every language equal to the English ones.
std::string FormatText(UINT id, const char* argument) {
    return FormatLabel(LoadText(id), argument ? argument : "");
}

std::string FormatText2(UINT id, const char* text, unsigned number) {
    std::string format = LoadText(id);
    format.resize(std::min(format.size(), format.find('\0')));  // printf ends the format there
    // The number goes where the first "%u" stands; its digits hold no "%", so the text then goes
    // where "%s" stands, as for a format with one argument.
    for (std::size_t percent = format.find('%');
         percent != std::string::npos && percent + 1 < format.size();
         percent = format.find('%', percent + 2)) {
        if (format[percent + 1] == 'u') {
            format.replace(percent, 2, std::to_string(number));
            break;
        }
    }
    return FormatLabel(format, text ? text : "");
}

}  // namespace tov
