#include "ui/compare_rows.h"

#include <algorithm>
#include <bit>
#include <string_view>

#include "listing/cp1252.h"
#include "listing/sort_keys.h"

namespace tov {
namespace {

// Column 1's text is a shared path prefix followed by the row's own name; it is compared in
// place, as the two pieces, without building the whole string.
struct TwoPieces {
    std::string_view first;
    std::string_view second;

    std::size_t size() const { return first.size() + second.size(); }
    unsigned char operator[](std::size_t i) const {
        return static_cast<unsigned char>(i < first.size() ? first[i] : second[i - first.size()]);
    }
};

std::string_view PrefixOf(const RowSet& rows, const FileRow& row) {
    return row.path_prefix < rows.prefixes.size() ? std::string_view(rows.prefixes[row.path_prefix])
                                                  : std::string_view();
}

TwoPieces TextOf(const RowSet& rows, const FileRow& row, int column) {
    switch (column) {
        case 0:
            return {row.status, {}};
        case 1:
            return {PrefixOf(rows, row), row.name};
        case 2:
            return {row.size, {}};
        case 3:
            return {row.date, {}};
        default:
            return {};
    }
}

int CompareNoCase(const TwoPieces& a, const TwoPieces& b) {
    if (a.second.empty() && b.second.empty()) {
        return CompareNoCaseCp1252(a.first, b.first);
    }
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const int la = LowerCp1252(a[i]);
        const int lb = LowerCp1252(b[i]);
        if (la != lb) {
            return la - lb;
        }
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
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

// Where a row stands before any comparison of its cell: empty cells first, then (by Name)
// subfolder rows, then the rest.
unsigned Rank(const FileRow& row, const TwoPieces& text, int column) {
    if (text.size() == 0) {
        return 0;
    }
    if (column == 1) {
        return row.subfolder != 0 ? 1 : 2;
    }
    return 1;
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

std::string CellText(const RowSet& rows, const FileRow& row, int column) {
    const TwoPieces text = TextOf(rows, row, column);
    std::string joined(text.first);
    joined.append(text.second);
    return joined;
}

int CompareRows(const RowSet& rows, const FileRow& a, const FileRow& b, SortSettings settings) {
    const int d = settings.direction;
    const int k = settings.column;
    const TwoPieces ta = TextOf(rows, a, k);
    const TwoPieces tb = TextOf(rows, b, k);
    if (ta.size() == 0 || tb.size() == 0) {
        return ta.size() == tb.size() ? 0 : (ta.size() == 0 ? -d : d);
    }
    switch (k) {
        case 1:
            if ((a.subfolder != 0) != (b.subfolder != 0)) {
                return a.subfolder != 0 ? -d : d;
            }
            return d * Sign(CompareNoCase(ta, tb));
        case 2: {
            const std::uint64_t sa = SizeKey(ta.first);
            const std::uint64_t sb = SizeKey(tb.first);
            return sa == sb ? 0 : (sa > sb ? d : -d);
        }
        case 3: {
            const std::int64_t da = ReadDateForSorting(ta.first);
            const std::int64_t db = ReadDateForSorting(tb.first);
            return da == db ? 0 : (da > db ? d : -d);
        }
        default:
            return d * Sign(CompareNoCase(ta, tb));
    }
}

namespace {

// Stable least-significant-digit radix sort of (key, row) pairs by key, one byte a pass; a byte
// that is the same in every key needs no pass.
struct NumericItem {
    std::uint64_t key;
    std::uint32_t row;
};

void RadixSort(std::vector<NumericItem>& items) {
    std::vector<NumericItem> buffer(items.size());
    for (int shift = 0; shift < 64; shift += 8) {
        std::size_t counts[257] = {};
        for (const NumericItem& item : items) {
            ++counts[((item.key >> shift) & 0xFF) + 1];
        }
        if (!items.empty() && counts[((items[0].key >> shift) & 0xFF) + 1] == items.size()) {
            continue;
        }
        for (int digit = 0; digit < 256; ++digit) {
            counts[digit + 1] += counts[digit];
        }
        for (const NumericItem& item : items) {
            buffer[counts[(item.key >> shift) & 0xFF]++] = item;
        }
        items.swap(buffer);
    }
}

std::vector<std::uint32_t> SortNumbers(const RowSet& rows, SortSettings settings,
                                       const std::vector<std::uint32_t>& current) {
    const std::size_t count = rows.rows.size();
    // Empty cells get the key 0, below every size and date key; descending order is the
    // ascending order of the complemented keys, so equal rows keep their order both ways.
    std::vector<std::uint64_t> keys(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view text = settings.column == 2 ? rows.rows[i].size : rows.rows[i].date;
        std::uint64_t key = 0;
        if (!text.empty()) {
            key = settings.column == 2 ? SizeKey(text) : DateKey(text);
        }
        keys[i] = settings.direction >= 0 ? key : ~key;
    }
    std::vector<NumericItem> items(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t row = current.size() == count && current[i] < count
                                      ? current[i]
                                      : static_cast<std::uint32_t>(i);
        items[i] = {keys[row], row};
    }
    RadixSort(items);
    std::vector<std::uint32_t> order(count);
    for (std::size_t i = 0; i < count; ++i) {
        order[i] = items[i].row;
    }
    return order;
}

}  // namespace

std::vector<std::uint32_t> SortOrder(const RowSet& rows, SortSettings settings,
                                     const std::vector<std::uint32_t>& current) {
    const int column = settings.column;
    if (column == 2 || column == 3) {
        return SortNumbers(rows, settings, current);
    }
    const std::size_t count = rows.rows.size();
    unsigned char lower[256];
    for (int byte = 0; byte < 256; ++byte) {
        lower[byte] = LowerCp1252(static_cast<unsigned char>(byte));
    }

    // Texts are ordered sixteen lower-cased bytes at a time: a first pass sorts by the rank and
    // the first sixteen bytes, then only runs of rows that still tie are sorted again by the next
    // sixteen bytes, read in place. Search results share long path beginnings, so comparing
    // whole texts would re-read those beginnings at every comparison.
    struct Key {
        std::uint64_t high;
        std::uint64_t low;
        std::uint32_t row;
        std::uint32_t rank;
    };
    auto fill_head = [&](Key& key, std::size_t depth) {
        const TwoPieces text = TextOf(rows, rows.rows[key.row], column);
        const std::size_t size = text.size();
        key.high = 0;
        key.low = 0;
        for (std::size_t b = 0; b < 16; ++b) {
            std::uint64_t& word = b < 8 ? key.high : key.low;
            const std::size_t at = depth + b;
            word = (word << 8) | (at < size ? lower[text[at]] : 0u);
        }
    };

    std::vector<Key> items;
    items.reserve(count);
    const bool keep_current = current.size() == count;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t row =
            keep_current ? (current[i] < count ? current[i] : 0) : static_cast<std::uint32_t>(i);
        Key key{0, 0, row, 0};
        key.rank = Rank(rows.rows[row], TextOf(rows, rows.rows[row], column), column);
        fill_head(key, 0);
        items.push_back(key);
    }

    // Descending is the ascending order turned round, so that rows that compare equal keep
    // their order both ways.
    const bool ascending = settings.direction >= 0;
    auto before = [ascending](const Key& a, const Key& b) {
        if (a.rank != b.rank) {
            return ascending ? a.rank < b.rank : a.rank > b.rank;
        }
        if (a.high != b.high) {
            return ascending ? a.high < b.high : a.high > b.high;
        }
        return ascending ? a.low < b.low : a.low > b.low;
    };
    auto same_head = [](const Key& a, const Key& b) {
        return a.rank == b.rank && a.high == b.high && a.low == b.low;
    };

    struct Run {
        std::size_t begin;
        std::size_t end;
        std::size_t depth;
    };
    std::vector<Run> runs{{0, count, 0}};
    while (!runs.empty()) {
        const Run run = runs.back();
        runs.pop_back();
        if (run.depth != 0) {
            for (std::size_t i = run.begin; i < run.end; ++i) {
                fill_head(items[i], run.depth);
            }
        }
        std::stable_sort(items.begin() + run.begin, items.begin() + run.end, before);
        // A head whose last byte is 0 holds the end of both texts (no text holds a NUL), so a
        // tie there is a tie of the whole texts.
        for (std::size_t first = run.begin; first < run.end;) {
            std::size_t last = first + 1;
            while (last < run.end && same_head(items[first], items[last])) {
                ++last;
            }
            if (last - first > 1 && (items[first].low & 0xFF) != 0) {
                runs.push_back({first, last, run.depth + 16});
            }
            first = last;
        }
    }

    std::vector<std::uint32_t> order(count);
    for (std::size_t i = 0; i < count; ++i) {
        order[i] = items[i].row;
    }
    return order;
}

}  // namespace tov
