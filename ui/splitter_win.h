// A window split in two panes by a movable bar: vertical bar (panes left and right) or
// horizontal bar (panes top and bottom).
//
// The bar is as thick as the sizing frame; each pane keeps at least twice the edge width.
// The bar moves with the left mouse button (live or as an outline, as the system's
// drag-full-windows setting says) and a double click on it puts it in the middle. In
// single-pane mode only one pane is shown and fills the splitter. The focus given to the
// splitter goes on to the single pane, or else to the default pane. WM_NOTIFY and WM_COMMAND
// of the panes go on to the splitter's parent unchanged.
#pragma once

#include <windows.h>

#include "ui/window_win.h"

namespace tov {

class Splitter : public Window {
  public:
    enum Orientation { kVertical, kHorizontal };  // of the bar
    static constexpr int kPaneNone = -1;          // single-pane mode off
    static constexpr int kPane1 = 0;              // left or top
    static constexpr int kPane2 = 1;              // right or bottom
    // Extended styles; 0: pane 1 keeps its size when the splitter is resized.
    static constexpr DWORD kProportional = 0x1;  // both panes keep their share
    static constexpr DWORD kPane2Fixed = 0x2;    // pane 2 keeps its size

    explicit Splitter(Orientation orientation) : orientation_(orientation) {}

    HWND Create(HWND parent, DWORD style, DWORD ex_style = 0);

    void SetPanes(HWND pane1, HWND pane2, bool update = true);
    HWND pane(int index) const { return panes_[index]; }

    // Position of the bar from the left or top edge; -1 means the middle. Held within the
    // limits below when the splitter has a size. False when nothing changed.
    bool SetBarPosition(int position, bool update = true);
    int bar_position() const { return position_; }
    // The bar as it is shown, in client coordinates (empty in single-pane mode).
    RECT BarRect() const;
    int bar_thickness() const;
    int min_pane() const;

    void SetExtendedStyle(DWORD ex_style) { splitter_style_ = ex_style; }
    DWORD extended_style() const { return splitter_style_; }

    // kPaneNone shows both panes at the kept position.
    void SetSinglePaneMode(int pane, bool update = true);
    int single_pane_mode() const { return single_pane_; }

    // Gives the pane the focus and makes it the default pane.
    void SetActivePane(int pane);
    void SetDefaultPane(int pane) { default_pane_ = pane; }
    int default_pane() const { return default_pane_; }

    // Places the panes (and the bar) for the current client size.
    void UpdateLayout();

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void DescribeClass(WNDCLASSEXA& window_class) const override;

  private:
    int Extent() const;                     // client width or height across the bar
    int ClampPosition(int position) const;  // within the position rules
    int EffectivePosition() const;          // the kept position, held within the limits
    int PositionFromPoint(POINT client) const;
    bool IsOverBar(POINT client) const;
    void OnSize();
    void OnPaint();
    void OnLeftButtonDown(POINT point);
    void OnMouseMove(POINT point);
    void OnLeftButtonUp();
    void EndDrag(bool apply);
    void DrawGhostBar();  // XOR; drawn twice it is gone
    void OnMouseActivate();

    Orientation orientation_;
    HWND panes_[2] = {nullptr, nullptr};
    int position_ = -1;     // -1 until set: the middle
    int last_extent_ = -1;  // for the proportional and pane-2-fixed styles
    DWORD splitter_style_ = 0;
    int single_pane_ = kPaneNone;
    int default_pane_ = kPane1;

    bool dragging_ = false;
    bool full_drag_ = true;
    int drag_offset_ = 0;    // cursor within the bar when the drag began
    int drag_position_ = 0;  // bar position while dragging with an outline
    bool ghost_shown_ = false;
};

}  // namespace tov
