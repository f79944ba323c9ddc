#include "ui/anchor_layout.h"

#include <algorithm>
#include <cmath>

namespace tov {
namespace {

// The new near and far edges of one control along one axis.
void ArrangeAxis(Anchor anchor, int near_edge, int far_edge, int group_start, int group_end,
                 int extra, int& new_near, int& new_far) {
    const double span = group_end - group_start;
    auto share = [&](int edge) {
        if (span <= 0) {
            return 0;
        }
        return static_cast<int>(std::lround(extra * ((edge - group_start) / span)));
    };
    switch (anchor) {
        case Anchor::Fixed:
            new_near = near_edge;
            new_far = far_edge;
            break;
        case Anchor::Stretch:
            new_near = near_edge;
            new_far = far_edge + extra;
            break;
        case Anchor::Scale:
            new_near = near_edge + share(near_edge);
            new_far = far_edge + share(far_edge);
            break;
        case Anchor::Shift:
            new_near = near_edge + share(near_edge);
            new_far = new_near + (far_edge - near_edge);
            break;
    }
    new_far = std::max(new_far, new_near);
}

}  // namespace

AnchorLayout::AnchorLayout(std::span<const AnchorRule> rules, std::span<const LayoutRect> originals,
                           int width, int height)
    : rules_(rules.begin(), rules.end()),
      originals_(originals.begin(), originals.end()),
      width_(width),
      height_(height) {
    bool first = true;
    for (std::size_t i = 0; i < rules_.size() && i < originals_.size(); ++i) {
        if (!rules_[i].grouped) {
            continue;
        }
        const LayoutRect& rect = originals_[i];
        if (first) {
            group_left_ = rect.left;
            group_right_ = rect.right;
            group_top_ = rect.top;
            group_bottom_ = rect.bottom;
            first = false;
        } else {
            group_left_ = std::min(group_left_, rect.left);
            group_right_ = std::max(group_right_, rect.right);
            group_top_ = std::min(group_top_, rect.top);
            group_bottom_ = std::max(group_bottom_, rect.bottom);
        }
    }
}

std::vector<LayoutRect> AnchorLayout::Arrange(int width, int height) const {
    const int extra_x = width - width_;
    const int extra_y = height - height_;
    std::vector<LayoutRect> arranged;
    arranged.reserve(rules_.size());
    for (std::size_t i = 0; i < rules_.size() && i < originals_.size(); ++i) {
        const LayoutRect& old = originals_[i];
        LayoutRect rect;
        ArrangeAxis(rules_[i].horizontal, old.left, old.right, group_left_, group_right_, extra_x,
                    rect.left, rect.right);
        ArrangeAxis(rules_[i].vertical, old.top, old.bottom, group_top_, group_bottom_, extra_y,
                    rect.top, rect.bottom);
        arranged.push_back(rect);
    }
    return arranged;
}

}  // namespace tov
