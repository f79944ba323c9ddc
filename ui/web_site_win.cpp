#include "ui/web_site_win.h"

#include <shellapi.h>

namespace tov {
namespace {

ShellExecuteFunction g_shell_execute = &ShellExecuteA;

}  // namespace

ShellExecuteFunction SetShellExecuteForTesting(ShellExecuteFunction replacement) {
    const ShellExecuteFunction previous = g_shell_execute;
    g_shell_execute = replacement != nullptr ? replacement : &ShellExecuteA;
    return previous;
}

void OpenWebAddress(const char* address) {
    if (address == nullptr || *address == '\0') {
        return;
    }
    g_shell_execute(nullptr, "open", address, nullptr, nullptr, SW_SHOWDEFAULT);
}

}  // namespace tov
