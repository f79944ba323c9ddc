#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = DefWindowProcA;
    window_class.hInstance = instance;
    window_class.lpszClassName = "TovPlaceholder";
    RegisterClassA(&window_class);
    HWND window = CreateWindowA("TovPlaceholder", "Tov", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600,
                                nullptr, nullptr, instance, nullptr);
    ShowWindow(window, show);
    DestroyWindow(window);
    return 0;
}
