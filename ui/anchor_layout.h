// Resizing a dialog's controls by a small declarative table: each control says, per axis,
// whether it stays, follows the dialog's far edge, or takes a share of the extra space of a
// group in proportion to its place and size in the group.
#pragma once

#include <span>
#include <vector>

namespace tov {

struct LayoutRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

enum class Anchor {
    Fixed,    // keeps its place and size
    Stretch,  // keeps its near edge; its far edge takes all the extra space
    Scale,    // both edges move in proportion to their place in the group: moves and widens
    Shift,    // its near edge moves in proportion to its place in the group; keeps its size
};

struct AnchorRule {
    int id;
    Anchor horizontal;
    Anchor vertical;
    bool grouped;  // whether its rectangle counts towards the group's extent
};

class AnchorLayout {
  public:
    // `rules` and `originals` correspond one to one: the controls' rectangles when the dialog
    // had the size `width` by `height`.
    AnchorLayout(std::span<const AnchorRule> rules, std::span<const LayoutRect> originals,
                 int width, int height);

    // The rectangles of the controls, in the order of the rules, for the new size. Sizes
    // never turn negative when the dialog is made smaller than it was.
    std::vector<LayoutRect> Arrange(int width, int height) const;

  private:
    std::vector<AnchorRule> rules_;
    std::vector<LayoutRect> originals_;
    int width_;
    int height_;
    // The group's extent on each axis.
    int group_left_ = 0;
    int group_right_ = 0;
    int group_top_ = 0;
    int group_bottom_ = 0;
};

}  // namespace tov
