#include "ui/path_order.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "listing/byte_scan.h"
#include "listing/cp1252.h"
#include "ui/text_heads_sort.h"

namespace tov {
namespace {

// The parts of the texts between "\", each stored once per parent part without regard to case.
// Node 0 is the beginning of every text.
class PartTree {
  public:
    explicit PartTree(std::size_t expected) {
        for (int byte = 0; byte < 256; ++byte) {
            lower_[byte] = LowerCp1252(static_cast<unsigned char>(byte));
        }
        nodes_.reserve(expected + 1);
        nodes_.push_back({0, {}});
        std::size_t slots = 16;
        while (slots < 2 * expected) {
            slots *= 2;
        }
        slots_.assign(slots, 0);
    }

    std::uint32_t size() const { return static_cast<std::uint32_t>(nodes_.size()); }
    std::uint32_t parent(std::uint32_t node) const { return nodes_[node].parent; }
    std::string_view part(std::uint32_t node) const { return nodes_[node].part; }

    // The node reached from `node` by every part of `text` ("a\b" is two parts).
    std::uint32_t Descend(std::uint32_t node, std::string_view text) {
        for (;;) {
            const std::size_t backslash = FindByte(text, '\\');
            node = Child(node, text.substr(0, backslash));
            if (backslash == std::string_view::npos) {
                return node;
            }
            text.remove_prefix(backslash + 1);
        }
    }

  private:
    struct Node {
        std::uint32_t parent;
        std::string_view part;
    };

    std::uint64_t Hash(std::uint32_t parent, std::string_view part) const {
        std::uint64_t hash = (parent + 1) * 0x9E3779B97F4A7C15ull;
        for (const char c : part) {
            hash = (hash ^ lower_[static_cast<unsigned char>(c)]) * 0x100000001B3ull;
        }
        return hash ^ (hash >> 29);
    }

    bool Same(const Node& node, std::uint32_t parent, std::string_view part) const {
        if (node.parent != parent || node.part.size() != part.size()) {
            return false;
        }
        for (std::size_t i = 0; i < part.size(); ++i) {
            if (lower_[static_cast<unsigned char>(node.part[i])] !=
                lower_[static_cast<unsigned char>(part[i])]) {
                return false;
            }
        }
        return true;
    }

    std::uint32_t Child(std::uint32_t parent, std::string_view part) {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t slot = Hash(parent, part) & mask;; slot = (slot + 1) & mask) {
            const std::uint32_t found = slots_[slot];
            if (found == 0) {
                break;
            }
            if (Same(nodes_[found], parent, part)) {
                return found;
            }
        }
        nodes_.push_back({parent, part});
        const std::uint32_t added = size() - 1;
        if (2 * nodes_.size() > slots_.size()) {
            Rehash();
        } else {
            Place(added);
        }
        return added;
    }

    void Place(std::uint32_t node) {
        const std::size_t mask = slots_.size() - 1;
        std::size_t slot = Hash(nodes_[node].parent, nodes_[node].part) & mask;
        while (slots_[slot] != 0) {
            slot = (slot + 1) & mask;
        }
        slots_[slot] = node;
    }

    void Rehash() {
        slots_.assign(slots_.size() * 2, 0);
        for (std::uint32_t node = 1; node < size(); ++node) {
            Place(node);
        }
    }

    std::vector<Node> nodes_;
    std::vector<std::uint32_t> slots_;  // 0: empty (the first node is never looked up)
    unsigned char lower_[256];
};

// Where a row stands before its text is compared: the empty text first, then subfolder rows.
std::uint32_t RankOf(const RowSet& rows, const FileRow& row) {
    if (rows.PathLength(row.path_prefix) == 0 && row.name_length == 0) {
        return 0;
    }
    return row.subfolder() != 0 ? 1 : 2;
}

// The last part of a row's name: after its last "\", if it holds one.
std::string_view LastPart(const RowSet& rows, const FileRow& row) {
    const std::string_view name = rows.Name(row);
    const std::size_t backslash = name.rfind('\\');
    return backslash == std::string_view::npos ? name : name.substr(backslash + 1);
}

}  // namespace

std::vector<std::uint32_t> NameColumnOrder(const RowSet& rows, std::vector<std::uint32_t> current,
                                           bool ascending) {
    PartTree tree(rows.levels.size());
    std::vector<std::uint32_t> level_node(rows.levels.size(), 0);
    for (std::size_t i = 1; i < rows.levels.size(); ++i) {
        const PathLevel& level = rows.levels[i];
        // A level is added after its parent, so its parent's node is known here.
        level_node[i] = level.parent < i ? tree.Descend(level_node[level.parent], level.name) : 0;
    }

    // Each row ends in a last part (after its name's last "\") under a node of the tree. The
    // part itself is found again from the row when it is read: eight bytes a row, not twenty.
    struct Leaf {
        std::uint32_t node;
        std::uint32_t row;
    };
    std::vector<Leaf> leaves(current.size());
    std::vector<std::uint8_t> ranks(current.size());
    for (std::size_t i = 0; i < current.size(); ++i) {
        if (i + RowSet::kRowsAhead < current.size()) {
            rows.Prefetch(current[i + RowSet::kRowsAhead], 0);
        }
        if (i + RowSet::kLinesAhead < current.size()) {
            rows.Prefetch(current[i + RowSet::kLinesAhead], 1);
        }
        const FileRow& row = rows.rows[current[i]];
        std::uint32_t node = row.path_prefix < level_node.size() ? level_node[row.path_prefix] : 0;
        const std::string_view name = rows.Name(row);
        const std::size_t backslash = name.rfind('\\');
        if (backslash != std::string_view::npos) {
            node = tree.Descend(node, name.substr(0, backslash));
        }
        leaves[i] = {node, current[i]};
        ranks[i] = static_cast<std::uint8_t>(RankOf(rows, row));
    }
    std::vector<std::uint32_t>& order = current;
    order.clear();
    // Items are numbered nodes first, then leaves: a node sorts as its part followed by "\",
    // which puts it exactly where the texts below it belong among the leaves beside it.
    const std::uint32_t node_count = tree.size();
    auto text_of = [&](std::uint32_t item) {
        return item < node_count
                   ? TwoPieces{tree.part(item), "\\"}
                   : TwoPieces{LastPart(rows, rows.rows[leaves[item - node_count].row]), {}};
    };
    auto prefetch = [&](std::uint32_t item, int stage) {
        if (item >= node_count) {
            rows.Prefetch(leaves[item - node_count].row, stage);
        }
    };
    TextHeadsSorter sorter;
    std::vector<std::size_t> begin(node_count + 1);
    std::vector<HeadKey> items;
    std::vector<std::pair<std::uint32_t, std::size_t>> walk;
    for (int step = 0; step < 3; ++step) {
        const std::uint32_t rank = static_cast<std::uint32_t>(ascending ? step : 2 - step);
        std::fill(begin.begin(), begin.end(), 0);
        bool any = false;
        for (std::uint32_t node = 1; node < node_count; ++node) {
            ++begin[tree.parent(node) + 1];
        }
        for (std::size_t i = 0; i < leaves.size(); ++i) {
            if (ranks[i] == rank) {
                ++begin[leaves[i].node + 1];
                any = true;
            }
        }
        if (!any) {
            continue;
        }
        for (std::uint32_t node = 0; node < node_count; ++node) {
            begin[node + 1] += begin[node];
        }
        items.assign(begin[node_count], HeadKey{});
        std::vector<std::size_t> next(begin.begin(), begin.end() - 1);
        for (std::uint32_t node = 1; node < node_count; ++node) {
            items[next[tree.parent(node)]++].item = node;
        }
        // Leaves go in in the current order, so that equal texts keep it.
        for (std::size_t i = 0; i < leaves.size(); ++i) {
            if (ranks[i] == rank) {
                items[next[leaves[i].node]++].item = node_count + static_cast<std::uint32_t>(i);
            }
        }
        for (std::uint32_t node = 0; node < node_count; ++node) {
            sorter.Sort(std::span(items).subspan(begin[node], begin[node + 1] - begin[node]),
                        text_of, ascending, prefetch);
        }
        // The walk keeps its own stack: the tree is as deep as the deepest path.
        walk.assign(1, {0, begin[0]});
        while (!walk.empty()) {
            auto& [node, at] = walk.back();
            if (at == begin[node + 1]) {
                walk.pop_back();
                continue;
            }
            const std::uint32_t item = items[at++].item;
            if (item < node_count) {
                walk.push_back({item, begin[item]});
            } else {
                order.push_back(leaves[item - node_count].row);
            }
        }
    }
    return order;
}

}  // namespace tov
