// The thread's message loop: message filters that may take a message before it is dispatched
// (the last registered is asked first) and idle handlers run when the queue has emptied.
//
// A window finds the loop of its own thread with MessageLoop::Current() and registers itself:
//
//     if (MessageLoop* loop = MessageLoop::Current()) loop->AddMessageFilter(this);
//     ...
//     if (MessageLoop* loop = MessageLoop::Current()) loop->RemoveMessageFilter(this);
//
// Remove the filter before the object goes away (WM_DESTROY is a good place).
#pragma once

#include <windows.h>

#include <vector>

namespace tov {

class MessageFilter {
  public:
    // True when the message has been taken and must not be translated and dispatched.
    virtual bool PreTranslateMessage(MSG* message) = 0;

  protected:
    ~MessageFilter() = default;
};

class IdleHandler {
  public:
    // Called once each time the queue has emptied after a message that re-arms idle processing.
    // The result tells whether more idle time is wanted; the loop does not act on it.
    virtual bool OnIdle() = 0;

  protected:
    ~IdleHandler() = default;
};

class MessageLoop {
  public:
    // The loop registered for the calling thread with the application module, or nullptr.
    static MessageLoop* Current();

    bool AddMessageFilter(MessageFilter* filter);
    bool RemoveMessageFilter(MessageFilter* filter);
    bool AddIdleHandler(IdleHandler* handler);
    bool RemoveIdleHandler(IdleHandler* handler);

    // Runs until WM_QUIT and returns its exit code.
    int Run();

    // Offers the message to the filters, the last registered first; true when one took it.
    bool PreTranslateMessage(MSG* message);
    // Calls every idle handler once, in the order of registration.
    void RunIdleHandlers();

    // Filters, then translation and dispatch; re-arms idle processing where due.
    void HandleMessage(MSG* message);

    // For tests and tools that drive the loop themselves: handles every waiting message and
    // runs the idle step once the queue is empty, until nothing is left (kIdle), WM_QUIT was
    // taken from the queue (kQuit, its exit code in *exit_code) or the time is up (kTimedOut).
    enum class PumpResult { kIdle, kQuit, kTimedOut };
    PumpResult PumpUntilIdle(DWORD timeout_ms, int* exit_code = nullptr);

    // Whether the message re-arms idle processing: every message except mouse moves, paints
    // and the system timer.
    static bool IsIdleMessage(const MSG& message);

    bool idle_due() const { return idle_due_; }

  private:
    template <typename T>
    static bool Add(std::vector<T*>& list, T* item);
    template <typename T>
    bool Remove(std::vector<T*>& list, T* item);
    void Compact();

    std::vector<MessageFilter*> filters_;
    std::vector<IdleHandler*> idle_handlers_;
    bool idle_due_ = true;
    // While filters or handlers are being called, removals leave a hole that is closed later,
    // so that a filter may remove itself (or another) during its call.
    int calling_depth_ = 0;
};

}  // namespace tov
