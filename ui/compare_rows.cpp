#include "ui/compare_rows.h"

#include <bit>
#include <string_view>

#include "listing/cp1252.h"
#include "listing/sort_keys.h"
#include "ui/path_order.h"
#include "ui/text_heads_sort.h"

namespace tov {
namespace {

// The text of a row's cell; column 1's path is built, which only the comparison of two rows
// needs (the sort never builds it).
std::string_view TextOf(const RowSet& rows, const FileRow& row, int column) {
    switch (column) {
        case 0:
            return rows.Fields(row).status;
        case 2:
            return rows.Fields(row).size;
        case 3:
            return rows.Fields(row).date;
        default:
            return {};
    }
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

// Sizes as an unsigned key in the order of the numbers: -0 and +0 are one key, and a value
// that is not a number (which no reading should give) sorts after all others.
std::uint64_t SizeKey(std::string_view size) {
    double value = ReadSizeForSorting(size);
    if (value == 0) {
        value = 0;
    }
    if (value != value) {
        return ~std::uint64_t{0};
    }
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    return (bits & 0x8000000000000000ull) ? ~bits : bits | 0x8000000000000000ull;
}

std::uint64_t DateKey(std::string_view date) {
    return static_cast<std::uint64_t>(ReadDateForSorting(date)) ^ 0x8000000000000000ull;
}

}  // namespace

SortSettings ApplySortRequest(SortSettings current, int column, int direction) {
    if (column == -1) {
        return current;
    }
    current.column = column;
    if (direction != 0) {
        current.direction = direction;
    }
    return current;
}

SortSettings ClickColumn(SortSettings current, int column) {
    const int direction = column == current.column ? -current.direction : current.direction;
    return ApplySortRequest(current, column, direction);
}

std::string CellText(const RowSet& rows, const FileRow& row, int column, std::size_t limit) {
    std::string text;
    if (column == 1) {
        rows.AppendPath(text, row.path_prefix, limit);
        text.append(rows.Name(row).substr(0, limit - text.size()));
    } else {
        text = TextOf(rows, row, column).substr(0, limit);
    }
    return text;
}

int CompareRows(const RowSet& rows, const FileRow& a, const FileRow& b, SortSettings settings) {
    const int d = settings.direction;
    const int k = settings.column;
    const std::string ta = CellText(rows, a, k);
    const std::string tb = CellText(rows, b, k);
    if (ta.empty() || tb.empty()) {
        return ta.size() == tb.size() ? 0 : (ta.empty() ? -d : d);
    }
    switch (k) {
        case 1:
            if ((a.subfolder() != 0) != (b.subfolder() != 0)) {
                return a.subfolder() != 0 ? -d : d;
            }
            return d * Sign(CompareNoCaseCp1252(ta, tb));
        case 2: {
            const std::uint64_t sa = SizeKey(ta);
            const std::uint64_t sb = SizeKey(tb);
            return sa == sb ? 0 : (sa > sb ? d : -d);
        }
        case 3: {
            const std::int64_t da = ReadDateForSorting(ta);
            const std::int64_t db = ReadDateForSorting(tb);
            return da == db ? 0 : (da > db ? d : -d);
        }
        default:
            return d * Sign(CompareNoCaseCp1252(ta, tb));
    }
}

namespace {

// Stable least-significant-digit radix sort of (key, row) pairs by key, one byte a pass; a byte
// that is the same in every key needs no pass. The key is kept in two halves, so that an item is
// 12 bytes and the sort of ten million rows holds 240 MB, not 320 MB.
struct NumericItem {
    std::uint32_t key_low;
    std::uint32_t key_high;
    std::uint32_t row;

    NumericItem() = default;
    NumericItem(std::uint64_t key, std::uint32_t row_index)
        : key_low(static_cast<std::uint32_t>(key)),
          key_high(static_cast<std::uint32_t>(key >> 32)),
          row(row_index) {}
    unsigned Digit(int shift) const {
        return (shift < 32 ? key_low >> shift : key_high >> (shift - 32)) & 0xFFu;
    }
};
static_assert(sizeof(NumericItem) == 12);

void RadixSort(std::vector<NumericItem>& items) {
    std::vector<NumericItem> buffer(items.size());
    for (int shift = 0; shift < 64; shift += 8) {
        std::size_t counts[257] = {};
        for (const NumericItem& item : items) {
            ++counts[item.Digit(shift) + 1];
        }
        if (!items.empty() && counts[items[0].Digit(shift) + 1] == items.size()) {
            continue;
        }
        for (int digit = 0; digit < 256; ++digit) {
            counts[digit + 1] += counts[digit];
        }
        for (const NumericItem& item : items) {
            buffer[counts[item.Digit(shift)]++] = item;
        }
        items.swap(buffer);
    }
}

std::vector<std::uint32_t> SortNumbers(const RowSet& rows, SortSettings settings,
                                       std::vector<std::uint32_t> order) {
    const std::size_t count = order.size();
    // Empty cells get the key 0, below every size and date key; descending order is the
    // ascending order of the complemented keys, so equal rows keep their order both ways. The
    // keys are read in the order the rows lie, which reads the listing from start to end.
    std::vector<std::uint64_t> keys(rows.rows.size());
    for (std::size_t row = 0; row < keys.size(); ++row) {
        const FileLineFields fields = rows.Fields(rows.rows[row]);
        const std::string_view text = settings.column == 2 ? fields.size : fields.date;
        std::uint64_t key = 0;
        if (!text.empty()) {
            key = settings.column == 2 ? SizeKey(text) : DateKey(text);
        }
        keys[row] = settings.direction >= 0 ? key : ~key;
    }
    std::vector<NumericItem> items(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (i + 16 < count) {
            __builtin_prefetch(&keys[order[i + 16]]);
        }
        items[i] = {keys[order[i]], order[i]};
    }
    keys = {};
    RadixSort(items);
    for (std::size_t i = 0; i < count; ++i) {
        order[i] = items[i].row;
    }
    return order;
}

// The rows in the order they show now, when `current` is one; else in the order of `rows`.
std::vector<std::uint32_t> ShownOrder(const RowSet& rows, std::vector<std::uint32_t> current) {
    const std::size_t count = rows.rows.size();
    bool valid = current.size() == count;
    for (std::size_t i = 0; valid && i < count; ++i) {
        valid = current[i] < count;
    }
    if (!valid) {
        current.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            current[i] = static_cast<std::uint32_t>(i);
        }
    }
    return current;
}

}  // namespace

std::vector<std::uint32_t> SortOrder(const RowSet& rows, SortSettings settings,
                                     std::vector<std::uint32_t> current) {
    const int column = settings.column;
    std::vector<std::uint32_t> order = ShownOrder(rows, std::move(current));
    if (column == 2 || column == 3) {
        return SortNumbers(rows, settings, std::move(order));
    }
    const bool ascending = settings.direction >= 0;
    if (column == 1) {
        return NameColumnOrder(rows, std::move(order), ascending);
    }
    // Empty cells first: their heads are all zero bytes, below every text.
    const std::size_t count = order.size();
    std::vector<HeadKey> keys(count);
    for (std::size_t i = 0; i < count; ++i) {
        keys[i].item = order[i];
    }
    TextHeadsSorter().Sort(
        keys,
        [&rows, column](std::uint32_t row) {
            return TwoPieces{TextOf(rows, rows.rows[row], column), {}};
        },
        ascending, [&rows](std::uint32_t row, int stage) { rows.Prefetch(row, stage); });
    for (std::size_t i = 0; i < count; ++i) {
        order[i] = keys[i].item;
    }
    return order;
}

}  // namespace tov
