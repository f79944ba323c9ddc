// The modeless work-summary dialog: job details of the listing in a read-only edit and the
// check statistics in a three-column list. The close box only asks the owner to hide it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/message_loop_win.h"
#include "listing/listing_document.h"
#include "ui/anchor_layout.h"
#include "ui/dialog_win.h"

namespace tov {

class WorkSummaryDialog : public Dialog, public MessageFilter {
  public:
    WorkSummaryDialog() = default;
    ~WorkSummaryDialog() override;

    // Creates the dialog from its template, hidden, owned by `owner`.
    bool Create(HWND owner);

    // Appends one line to the work information, after a line break unless it is empty.
    void AppendWorkLine(std::string_view line);
    // The same text as appending the lines one by one, but set in one go: appending one at a
    // time reads and rewrites the whole text for each line.
    void AppendWorkLines(const std::vector<std::string>& lines);
    // Adds a row at the end of the statistics list.
    void AddCheckRow(const std::string& type, const std::string& good, const std::string& bad);

    // Keyboard navigation of the modeless dialog, offered by the thread's message loop.
    bool PreTranslateMessage(MSG* message) override;

  protected:
    bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) override;

  private:
    void OnInitDialog();
    void OnSize(int width, int height);
    void RemoveFilter();
    std::string WorkText() const;

    MessageLoop* filter_loop_ = nullptr;  // where the dialog is registered as a filter
    std::optional<AnchorLayout> layout_;
    std::vector<int> layout_ids_;
};

// Reads the header and the statistics of `document` under the labels of the user-interface
// language into the dialog, then gives the dialog the keyboard focus.
void FillWorkSummary(WorkSummaryDialog& dialog, const ListingDocument& document);

}  // namespace tov
