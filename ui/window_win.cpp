#include "ui/window_win.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <new>
#include <typeindex>
#include <unordered_map>

#include "ui/out_of_memory_win.h"
#include "ui/text_win.h"

namespace tov {
namespace {

// The objects of subclassed windows (their GWLP_USERDATA belongs to whoever created the
// control). Not a window property: under Wine each property lookup is a round trip to the
// server, and a subclassed control looks its object up at every message it gets, such as each
// folder put into the tree.
class SubclassedWindows {
  public:
    Window* Find(HWND window) {
        const std::lock_guard lock(mutex_);
        const auto found = objects_.find(window);
        return found == objects_.end() ? nullptr : found->second;
    }
    bool Add(HWND window, Window* object) {
        const std::lock_guard lock(mutex_);
        return objects_.emplace(window, object).second;
    }
    void Remove(HWND window) {
        const std::lock_guard lock(mutex_);
        objects_.erase(window);
    }

  private:
    std::mutex mutex_;
    std::unordered_map<HWND, Window*> objects_;
};

SubclassedWindows& Subclassed() {
    static SubclassedWindows windows;
    return windows;
}

struct RegisteredClass {
    std::string name;
    ATOM atom = 0;
};

// One class per derived C++ type; windows are only created on the user-interface thread.
std::map<std::type_index, RegisteredClass>& Classes() {
    static std::map<std::type_index, RegisteredClass> classes;
    return classes;
}

}  // namespace

LRESULT FallbackResult(UINT message) {
    switch (message) {
        case WM_CREATE:
            return -1;
        case WM_NCCREATE:
            return FALSE;
        default:
            return 0;
    }
}

Window::~Window() {
    if (window_ == nullptr) {
        return;
    }
    // The derived part is gone: detach first so that the destruction's messages reach only
    // the default handling.
    HWND window = window_;
    if (previous_proc_ != nullptr) {
        Unsubclass();
    } else {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        window_ = nullptr;
        DestroyWindow(window);
    }
}

const std::string& Window::ClassName() const {
    RegisteredClass& entry = Classes()[std::type_index(typeid(*this))];
    if (entry.name.empty()) {
        char name[40];
        std::snprintf(name, sizeof(name), "Tov:%p", static_cast<const void*>(&typeid(*this)));
        entry.name = name;
    }
    return entry.name;
}

void Window::DescribeClass(WNDCLASSEXA& window_class) const {
    window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
}

bool Window::RegisterOwnClass() const {
    const std::string& name = ClassName();
    RegisteredClass& entry = Classes()[std::type_index(typeid(*this))];
    if (entry.atom != 0) {
        return true;
    }
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = ClassProc;
    window_class.hInstance = ResourceInstance();
    window_class.lpszClassName = name.c_str();
    DescribeClass(window_class);
    window_class.lpfnWndProc = ClassProc;
    window_class.lpszClassName = name.c_str();
    entry.atom = RegisterClassExA(&window_class);
    return entry.atom != 0;
}

HWND Window::Create(HWND parent, const RECT& rect, const char* text, DWORD style, DWORD ex_style,
                    UINT_PTR id) {
    if (window_ != nullptr || !RegisterOwnClass()) {
        return nullptr;
    }
    const HWND created = CreateWindowExA(
        ex_style, ClassName().c_str(), text, style, rect.left, rect.top, rect.right - rect.left,
        rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(id), ResourceInstance(), this);
    if (created == nullptr) {
        window_ = nullptr;
    }
    return created;
}

bool Window::Subclass(HWND window) {
    if (window_ != nullptr || window == nullptr || !Subclassed().Add(window, this)) {
        return false;
    }
    window_ = window;
    previous_proc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::SubclassProc)));
    if (previous_proc_ == nullptr) {
        Subclassed().Remove(window);
        window_ = nullptr;
        return false;
    }
    return true;
}

void Window::Unsubclass() {
    if (window_ == nullptr || previous_proc_ == nullptr) {
        return;
    }
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_proc_));
    Subclassed().Remove(window_);
    previous_proc_ = nullptr;
    window_ = nullptr;
}

Window* Window::FromHandle(HWND window) {
    if (window == nullptr) {
        return nullptr;
    }
    if (Window* subclassed = Subclassed().Find(window)) {
        return subclassed;
    }
    if (GetClassLongPtrA(window, GCLP_WNDPROC) == reinterpret_cast<ULONG_PTR>(&Window::ClassProc)) {
        return reinterpret_cast<Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    }
    return nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    return DefaultProc(message, wparam, lparam);
}

LRESULT Window::DefaultProc(UINT message, WPARAM wparam, LPARAM lparam) {
    if (previous_proc_ != nullptr) {
        return CallWindowProcA(previous_proc_, window_, message, wparam, lparam);
    }
    return DefWindowProcA(window_, message, wparam, lparam);
}

LRESULT Window::Dispatch(UINT message, WPARAM wparam, LPARAM lparam) {
    const HWND window = window_;
    LRESULT result = 0;
    try {
        result = HandleMessage(message, wparam, lparam);
    } catch (const std::bad_alloc&) {
        // Whatever the message started is abandoned; the user learns why.
        ReportOutOfMemory(window);
        result = FallbackResult(message);
    } catch (...) {
        result = FallbackResult(message);
    }
    if (message == WM_NCDESTROY && window_ == window) {
        if (previous_proc_ != nullptr) {
            Unsubclass();
        } else {
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            window_ = nullptr;
        }
        OnFinalMessage(window);
    }
    return result;
}

LRESULT CALLBACK Window::ClassProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lparam);
        self = static_cast<Window*>(create->lpCreateParams);
        if (self != nullptr) {
            self->window_ = window;
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    }
    if (self == nullptr) {
        // Messages before WM_NCCREATE (WM_GETMINMAXINFO) and after the object let go.
        return DefWindowProcA(window, message, wparam, lparam);
    }
    return self->Dispatch(message, wparam, lparam);
}

LRESULT CALLBACK Window::SubclassProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Window* self = Subclassed().Find(window);
    if (self == nullptr) {
        return DefWindowProcA(window, message, wparam, lparam);
    }
    return self->Dispatch(message, wparam, lparam);
}

}  // namespace tov
