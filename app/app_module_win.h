// The application module: the instance every resource lookup uses, the user-interface thread,
// and the message loop of each thread that runs one.
#pragma once

#include <windows.h>

#include <map>

namespace tov {

class MessageLoop;

// A critical section that lives as long as its owner.
class CriticalSection {
  public:
    CriticalSection() { InitializeCriticalSection(&section_); }
    ~CriticalSection() { DeleteCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter() { EnterCriticalSection(&section_); }
    void Leave() { LeaveCriticalSection(&section_); }

  private:
    CRITICAL_SECTION section_;
};

// Holds a critical section for the lifetime of the guard.
class CriticalSectionLock {
  public:
    explicit CriticalSectionLock(CriticalSection& section) : section_(section) { section_.Enter(); }
    ~CriticalSectionLock() { section_.Leave(); }
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

  private:
    CriticalSection& section_;
};

class AppModule {
  public:
    // Records the instance (also for the text lookups) and the calling thread as the
    // user-interface thread.
    void Init(HINSTANCE instance);
    // Forgets the instance; loops still registered stay findable until they are removed.
    void Term();

    HINSTANCE instance() const { return instance_; }
    DWORD ui_thread_id() const { return ui_thread_id_; }

    // The table of message loops, one per thread. Adding replaces an earlier loop of the same
    // thread; the previous one is returned (nullptr when there was none).
    MessageLoop* AddMessageLoop(MessageLoop* loop);
    // Removes the current thread's loop; false when it had none.
    bool RemoveMessageLoop();
    // The loop of the given thread (the current one by default), nullptr when there is none.
    MessageLoop* GetMessageLoop(DWORD thread_id = GetCurrentThreadId());

  private:
    HINSTANCE instance_ = nullptr;
    DWORD ui_thread_id_ = 0;
    CriticalSection lock_;
    std::map<DWORD, MessageLoop*> loops_;
};

// The process's one module.
AppModule& Module();

}  // namespace tov
