// Base of the program's own windows: binds the C++ object to its window when the window is
// created (WM_NCCREATE) or subclassed, and passes every message to HandleMessage. No exception
// ever leaves the window procedure: one that reaches it is caught there and the message gets a
// neutral result (WM_CREATE: -1, WM_NCCREATE: FALSE, otherwise 0).
//
// A derived class handles messages in HandleMessage, in the order it tests them, and passes
// everything else to DefaultProc:
//
//     class Thing : public Window {
//     protected:
//         LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
//             switch (message) {
//                 case WM_PAINT: OnPaint(); return 0;
//             }
//             return DefaultProc(message, wparam, lparam);
//         }
//     };
//
// Create registers the derived class's window class on first use, with a generated name
// "Tov:" followed by a hexadecimal address; DescribeClass adjusts the class before that.
// Subclass attaches the object to an existing window (a standard control, a dialog's child);
// DefaultProc then calls the window's previous procedure.
#pragma once

#include <windows.h>

#include <string>

namespace tov {

class Window {
  public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return window_; }
    explicit operator bool() const { return window_ != nullptr; }

    // Creates a window of this object's own class. For a child window `id` is the control
    // identifier; for a top-level window it is a menu handle value (0 for none).
    HWND Create(HWND parent, const RECT& rect, const char* text, DWORD style, DWORD ex_style = 0,
                UINT_PTR id = 0);

    // Attaches this object to a window created elsewhere. False if already attached.
    bool Subclass(HWND window);
    // Restores the previous procedure and detaches; the window itself stays.
    void Unsubclass();

    // The object bound to a window by Create or Subclass, nullptr for any other window.
    static Window* FromHandle(HWND window);

    // The generated class name of a derived class (registered on its first Create).
    const std::string& ClassName() const;

  protected:
    virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
    // The window class's own handling: DefWindowProcA, or the previous procedure of a
    // subclassed window.
    LRESULT DefaultProc(UINT message, WPARAM wparam, LPARAM lparam);
    // Adjusts the window class before registration. Defaults: style 0, arrow cursor, no icon,
    // no background brush.
    virtual void DescribeClass(WNDCLASSEXA& window_class) const;
    // Called after the window's last message (WM_NCDESTROY); the object is detached by then.
    virtual void OnFinalMessage(HWND) {}

  private:
    static LRESULT CALLBACK ClassProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT Dispatch(UINT message, WPARAM wparam, LPARAM lparam);
    bool RegisterOwnClass() const;

    HWND window_ = nullptr;
    WNDPROC previous_proc_ = nullptr;  // set while subclassing
};

// The result a message gets when its handler throws.
LRESULT FallbackResult(UINT message);

}  // namespace tov
