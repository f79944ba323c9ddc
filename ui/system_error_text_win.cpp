#include "ui/system_error_text_win.h"

#include <cstdio>
#include <memory>

namespace tov {
namespace {

struct LocalFreer {
    void operator()(char* text) const { LocalFree(text); }
};

}  // namespace

std::string SystemErrorText(DWORD code) {
    char* allocated = nullptr;
    // With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument receives a pointer to the text.
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, code,
                       0, reinterpret_cast<LPSTR>(&allocated), 0, nullptr);
    const std::unique_ptr<char, LocalFreer> owned(allocated);
    if (length != 0 && allocated != nullptr) {
        std::string text;
        text.reserve(length);
        for (DWORD i = 0; i < length; ++i) {
            if (allocated[i] != '\r' && allocated[i] != '\n') {
                text += allocated[i];
            }
        }
        return text;
    }
    char fallback[40];
    std::snprintf(fallback, sizeof(fallback), "error %lu (%#lx)", static_cast<unsigned long>(code),
                  static_cast<unsigned long>(code));
    return fallback;
}

}  // namespace tov
