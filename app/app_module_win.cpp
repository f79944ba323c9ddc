#include "app/app_module_win.h"

#include "ui/text_win.h"

namespace tov {

AppModule& Module() {
    static AppModule module;
    return module;
}

void AppModule::Init(HINSTANCE instance) {
    instance_ = instance;
    ui_thread_id_ = GetCurrentThreadId();
    SetResourceInstance(instance);
}

void AppModule::Term() {
    instance_ = nullptr;
    ui_thread_id_ = 0;
}

MessageLoop* AppModule::AddMessageLoop(MessageLoop* loop) {
    CriticalSectionLock lock(lock_);
    MessageLoop*& slot = loops_[GetCurrentThreadId()];
    MessageLoop* previous = slot;
    slot = loop;
    return previous;
}

bool AppModule::RemoveMessageLoop() {
    CriticalSectionLock lock(lock_);
    return loops_.erase(GetCurrentThreadId()) != 0;
}

MessageLoop* AppModule::GetMessageLoop(DWORD thread_id) {
    CriticalSectionLock lock(lock_);
    const auto found = loops_.find(thread_id);
    return found == loops_.end() ? nullptr : found->second;
}

}  // namespace tov
