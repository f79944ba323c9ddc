// Finding a row by the text a user types into a list: the text of column 0 of each row, matched
// whole or as a prefix, without regard to case in Windows-1252, from a start row onwards and, when
// asked, around from the first row. This is what a standard list does with its own items; the
// owner-data lists answer the control's find requests with it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "listing/cp1252.h"

namespace tov {

class RowFind {
  public:
    static constexpr std::int64_t kNotFound = -1;

    // `wanted` is the typed text; `prefix` accepts every text that begins with it.
    RowFind(std::string_view wanted, bool prefix);

    bool Matches(std::string_view text) const;

    // The first of `count` rows from `start` (negative: from the first row) whose text, read
    // with text_at(row), matches; with `wrap`, the rows before `start` are tried next. kNotFound
    // when none does. Linear, and nothing is allocated per row.
    template <typename TextAt>
    std::int64_t Find(std::size_t count, std::int64_t start, bool wrap, TextAt&& text_at) const {
        return FindIf(count, start, wrap,
                      [this, &text_at](std::size_t row) { return Matches(text_at(row)); });
    }

    // The same with the test of a row given: matches_at(row) says whether it matches.
    template <typename MatchesAt>
    static std::int64_t FindIf(std::size_t count, std::int64_t start, bool wrap,
                               MatchesAt&& matches_at) {
        const std::size_t first =
            start < 0 ? 0 : static_cast<std::size_t>(std::min<std::uint64_t>(start, count));
        for (std::size_t row = first; row < count; ++row) {
            if (matches_at(row)) {
                return static_cast<std::int64_t>(row);
            }
        }
        if (wrap) {
            for (std::size_t row = 0; row < first; ++row) {
                if (matches_at(row)) {
                    return static_cast<std::int64_t>(row);
                }
            }
        }
        return kNotFound;
    }

  private:
    std::string lower_wanted_;
    bool prefix_;
};

}  // namespace tov
