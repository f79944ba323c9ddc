#include "app/message_loop_win.h"

#include <algorithm>

#include "app/app_module_win.h"

namespace tov {
namespace {

constexpr UINT kSystemTimer = 0x0118;

// Counts a call in progress so that removals made meanwhile only blank their entry.
class CallingScope {
  public:
    explicit CallingScope(int& depth) : depth_(depth) { ++depth_; }
    ~CallingScope() { --depth_; }
    CallingScope(const CallingScope&) = delete;
    CallingScope& operator=(const CallingScope&) = delete;

  private:
    int& depth_;
};

}  // namespace

MessageLoop* MessageLoop::Current() {
    return Module().GetMessageLoop();
}

template <typename T>
bool MessageLoop::Add(std::vector<T*>& list, T* item) {
    if (item == nullptr || std::find(list.begin(), list.end(), item) != list.end()) {
        return false;
    }
    list.push_back(item);
    return true;
}

template <typename T>
bool MessageLoop::Remove(std::vector<T*>& list, T* item) {
    const auto found = std::find(list.begin(), list.end(), item);
    if (item == nullptr || found == list.end()) {
        return false;
    }
    if (calling_depth_ > 0) {
        *found = nullptr;
    } else {
        list.erase(found);
    }
    return true;
}

void MessageLoop::Compact() {
    if (calling_depth_ > 0) {
        return;
    }
    std::erase(filters_, nullptr);
    std::erase(idle_handlers_, nullptr);
}

bool MessageLoop::AddMessageFilter(MessageFilter* filter) {
    return Add(filters_, filter);
}
bool MessageLoop::RemoveMessageFilter(MessageFilter* filter) {
    return Remove(filters_, filter);
}
bool MessageLoop::AddIdleHandler(IdleHandler* handler) {
    return Add(idle_handlers_, handler);
}
bool MessageLoop::RemoveIdleHandler(IdleHandler* handler) {
    return Remove(idle_handlers_, handler);
}

bool MessageLoop::PreTranslateMessage(MSG* message) {
    bool taken = false;
    {
        CallingScope scope(calling_depth_);
        // Index loop: a filter may register another one while it runs.
        for (std::size_t i = filters_.size(); i-- > 0;) {
            if (filters_[i] != nullptr && filters_[i]->PreTranslateMessage(message)) {
                taken = true;
                break;
            }
        }
    }
    Compact();
    return taken;
}

void MessageLoop::RunIdleHandlers() {
    {
        CallingScope scope(calling_depth_);
        for (std::size_t i = 0; i < idle_handlers_.size(); ++i) {
            if (idle_handlers_[i] != nullptr) {
                idle_handlers_[i]->OnIdle();
            }
        }
    }
    Compact();
}

bool MessageLoop::IsIdleMessage(const MSG& message) {
    switch (message.message) {
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
        case WM_PAINT:
        case kSystemTimer:
            return false;
        default:
            return true;
    }
}

void MessageLoop::HandleMessage(MSG* message) {
    if (!PreTranslateMessage(message)) {
        TranslateMessage(message);
        DispatchMessageA(message);
    }
    if (IsIdleMessage(*message)) {
        idle_due_ = true;
    }
}

int MessageLoop::Run() {
    MSG message{};
    for (;;) {
        while (idle_due_ && !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            RunIdleHandlers();
            idle_due_ = false;
        }
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == -1) {
            continue;
        }
        if (!got) {
            return static_cast<int>(message.wParam);
        }
        HandleMessage(&message);
    }
}

MessageLoop::PumpResult MessageLoop::PumpUntilIdle(DWORD timeout_ms, int* exit_code) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    MSG message{};
    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                if (exit_code != nullptr) {
                    *exit_code = static_cast<int>(message.wParam);
                }
                return PumpResult::kQuit;
            }
            HandleMessage(&message);
        } else if (idle_due_) {
            RunIdleHandlers();
            idle_due_ = false;
        } else {
            // Sent and posted messages may still be on their way (timers, other threads):
            // one more look after the idle step before calling the queue empty.
            if (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
                return PumpResult::kIdle;
            }
        }
        if (GetTickCount64() > deadline) {
            return PumpResult::kTimedOut;
        }
    }
}

}  // namespace tov
