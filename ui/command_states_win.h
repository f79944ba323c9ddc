// The enabled and checked states of the toolbar commands. Setting a state only marks the
// entry; UpdateToolbars (the idle step) writes pending entries to every registered toolbar.
#pragma once

#include <windows.h>

#include <vector>

namespace tov {

class CommandStates {
  public:
    // Entries start enabled and unchecked, nothing pending.
    void AddCommand(UINT command);
    void AddToolbar(HWND toolbar);

    // False for a command without an entry. Setting the value it already has changes nothing.
    bool SetEnabled(UINT command, bool enabled);
    bool SetChecked(UINT command, bool checked);

    bool IsEnabled(UINT command) const;
    bool IsChecked(UINT command) const;
    bool HasPending() const;

    // TB_ENABLEBUTTON and TB_CHECKBUTTON for each pending entry on each toolbar, then clears
    // the pending flags. Returns false: no further idle time is needed.
    bool UpdateToolbars();

  private:
    struct Entry {
        UINT command;
        bool enabled;
        bool checked;
        bool pending;
    };
    Entry* Find(UINT command);
    const Entry* Find(UINT command) const;

    std::vector<Entry> entries_;
    std::vector<HWND> toolbars_;
};

}  // namespace tov
