// A stable sort of items by their texts without regard to case, eight lower-cased bytes at a
// time: a first pass sorts by the first eight bytes, then only runs of items that still tie are
// sorted again by the next eight bytes, read in place. Texts that share long beginnings are so
// read once per eight bytes, not at every comparison; a key is 12 bytes a row.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "listing/cp1252.h"

namespace tov {

// A text in two pieces read as one: a path's folder and name, or a name and its "\".
struct TwoPieces {
    std::string_view first;
    std::string_view second;

    std::size_t size() const { return first.size() + second.size(); }
    unsigned char operator[](std::size_t i) const {
        return static_cast<unsigned char>(i < first.size() ? first[i] : second[i - first.size()]);
    }
};

struct HeadKey {
    std::uint32_t high = 0;  // bytes 0-3 of the head
    std::uint32_t low = 0;   // bytes 4-7
    std::uint32_t item = 0;
};
static_assert(sizeof(HeadKey) == 12);

class TextHeadsSorter {
  public:
    TextHeadsSorter() {
        for (int byte = 0; byte < 256; ++byte) {
            lower_[byte] = LowerCp1252(static_cast<unsigned char>(byte));
        }
    }

    // Sorts `keys` (item set) by `text_of(item)` (a TwoPieces), ascending or descending; keys
    // that tie keep their order both ways. Texts must not hold a NUL. `prefetch(item, stage)`
    // is told of the items sixteen (stage 0) and eight (stage 1) places ahead of the one read.
    template <typename TextOf, typename Prefetch>
    void Sort(std::span<HeadKey> keys, const TextOf& text_of, bool ascending,
              const Prefetch& prefetch) {
        if (keys.size() < 2) {
            return;
        }
        auto fill_head = [&](HeadKey& key, std::size_t depth) {
            const TwoPieces text = text_of(key.item);
            if (depth + kHeadBytes <= text.first.size()) {
                // The whole head lies in the first piece, as for most names.
                const auto* at = reinterpret_cast<const unsigned char*>(text.first.data()) + depth;
                key.high = (lower_[at[0]] << 24) | (lower_[at[1]] << 16) | (lower_[at[2]] << 8) |
                           lower_[at[3]];
                key.low = (lower_[at[4]] << 24) | (lower_[at[5]] << 16) | (lower_[at[6]] << 8) |
                          lower_[at[7]];
                return;
            }
            const std::size_t size = text.size();
            key.high = 0;
            key.low = 0;
            for (std::size_t b = 0; b < kHeadBytes; ++b) {
                const std::size_t at = depth + b;
                const unsigned byte = at < size ? lower_[text[at]] : 0u;
                if (b < 4) {
                    key.high = (key.high << 8) | byte;
                } else {
                    key.low = (key.low << 8) | byte;
                }
            }
        };
        auto before = [ascending](const HeadKey& a, const HeadKey& b) {
            if (a.high != b.high) {
                return ascending ? a.high < b.high : a.high > b.high;
            }
            return ascending ? a.low < b.low : a.low > b.low;
        };
        auto same_head = [](const HeadKey& a, const HeadKey& b) {
            return a.high == b.high && a.low == b.low;
        };

        runs_.assign(1, {0, keys.size(), 0});
        while (!runs_.empty()) {
            const Run run = runs_.back();
            runs_.pop_back();
            for (std::size_t i = run.begin; i < run.end; ++i) {
                if (i + 16 < run.end) {
                    prefetch(keys[i + 16].item, 0);
                }
                if (i + 8 < run.end) {
                    prefetch(keys[i + 8].item, 1);
                }
                fill_head(keys[i], run.depth);
            }
            if (run.end - run.begin <= kFewKeys) {
                // A folder's few names: sorting them in place spares the merge sort's buffer.
                for (std::size_t i = run.begin + 1; i < run.end; ++i) {
                    const HeadKey key = keys[i];
                    std::size_t j = i;
                    for (; j > run.begin && before(key, keys[j - 1]); --j) {
                        keys[j] = keys[j - 1];
                    }
                    keys[j] = key;
                }
            } else {
                std::stable_sort(keys.begin() + run.begin, keys.begin() + run.end, before);
            }
            // A head whose last byte is 0 holds the end of both texts (no text holds a NUL), so
            // a tie there is a tie of the whole texts.
            for (std::size_t first = run.begin; first < run.end;) {
                std::size_t last = first + 1;
                while (last < run.end && same_head(keys[first], keys[last])) {
                    ++last;
                }
                if (last - first > 1 && (keys[first].low & 0xFF) != 0) {
                    runs_.push_back({first, last, run.depth + kHeadBytes});
                }
                first = last;
            }
        }
    }

  private:
    static constexpr std::size_t kHeadBytes = 8;
    static constexpr std::size_t kFewKeys = 64;

    struct Run {
        std::size_t begin;
        std::size_t end;
        std::size_t depth;
    };
    std::vector<Run> runs_;
    unsigned char lower_[256];
};

}  // namespace tov
