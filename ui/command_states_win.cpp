#include "ui/command_states_win.h"

#include <commctrl.h>

namespace tov {

void CommandStates::AddCommand(UINT command) {
    if (Find(command) == nullptr) {
        entries_.push_back(Entry{command, true, false, false});
    }
}

void CommandStates::AddToolbar(HWND toolbar) {
    if (toolbar != nullptr) {
        toolbars_.push_back(toolbar);
    }
}

CommandStates::Entry* CommandStates::Find(UINT command) {
    for (Entry& entry : entries_) {
        if (entry.command == command) {
            return &entry;
        }
    }
    return nullptr;
}

const CommandStates::Entry* CommandStates::Find(UINT command) const {
    return const_cast<CommandStates*>(this)->Find(command);
}

bool CommandStates::SetEnabled(UINT command, bool enabled) {
    Entry* entry = Find(command);
    if (entry == nullptr) {
        return false;
    }
    if (entry->enabled != enabled) {
        entry->enabled = enabled;
        entry->pending = true;
    }
    return true;
}

bool CommandStates::SetChecked(UINT command, bool checked) {
    Entry* entry = Find(command);
    if (entry == nullptr) {
        return false;
    }
    if (entry->checked != checked) {
        entry->checked = checked;
        entry->pending = true;
    }
    return true;
}

bool CommandStates::IsEnabled(UINT command) const {
    const Entry* entry = Find(command);
    return entry != nullptr && entry->enabled;
}

bool CommandStates::IsChecked(UINT command) const {
    const Entry* entry = Find(command);
    return entry != nullptr && entry->checked;
}

bool CommandStates::HasPending() const {
    for (const Entry& entry : entries_) {
        if (entry.pending) {
            return true;
        }
    }
    return false;
}

bool CommandStates::UpdateToolbars() {
    for (Entry& entry : entries_) {
        if (!entry.pending) {
            continue;
        }
        for (HWND toolbar : toolbars_) {
            if (!IsWindow(toolbar)) {
                continue;
            }
            SendMessageA(toolbar, TB_ENABLEBUTTON, entry.command, MAKELPARAM(entry.enabled, 0));
            SendMessageA(toolbar, TB_CHECKBUTTON, entry.command, MAKELPARAM(entry.checked, 0));
        }
        entry.pending = false;
    }
    return false;
}

}  // namespace tov
