// Start-up: the common controls, COM, the module, the language switch, the message loop and
// the main window centred at 800 x 600; then the loop until the window is gone, and the
// shutdown in reverse order.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <memory>

#include "app/app_module_win.h"
#include "app/language_win.h"
#include "app/message_loop_win.h"
#include "app/window_rect.h"
#include "ui/main_frame_win.h"

namespace {

int Run(HINSTANCE instance, const char* command_line, int show) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_BAR_CLASSES | ICC_COOL_CLASSES;
    InitCommonControlsEx(&controls);
    CoInitialize(nullptr);

    tov::AppModule& module = tov::Module();
    module.Init(instance);
    tov::ApplyLanguageSwitch(command_line);

    auto loop = std::make_unique<tov::MessageLoop>();
    module.AddMessageLoop(loop.get());

    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    const tov::Rect centred = tov::CenteredWindowRect(
        tov::Rect{desktop.left, desktop.top, desktop.right, desktop.bottom});

    auto frame = std::make_unique<tov::MainFrame>();
    if (frame->CreateMain(RECT{centred.left, centred.top, centred.right, centred.bottom}) !=
        nullptr) {
        ShowWindow(frame->hwnd(), show);
        loop->Run();
    }

    module.RemoveMessageLoop();
    module.Term();
    CoUninitialize();
    frame.reset();
    loop.reset();
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int show) {
    try {
        Run(instance, command_line, show);
    } catch (...) {
        // Nothing is reported; the program ends as it would after its window closed.
    }
    return 0;
}
