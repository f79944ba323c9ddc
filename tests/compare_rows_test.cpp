#include "ui/compare_rows.h"

#include "tests/path_levels_support.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace tov {
namespace {

// Folder rows here are subfolder rows of a folder list.
struct Rows : test::RowsBuilder {
    Rows& File(std::string_view name, std::string_view size = "", std::string_view date = "",
               std::string_view status = "") {
        RowsBuilder::File(name, size, date, status);
        return *this;
    }
    Rows& Folder(std::string_view name) {
        RowsBuilder::Folder(name, static_cast<std::uint32_t>(set.rows.size()) + 1);
        return *this;
    }
};

std::vector<std::string> Sorted(Rows& rows, int column, int direction) {
    std::vector<std::string> texts;
    for (std::uint32_t index : SortOrder(rows.set, {column, direction})) {
        const FileRow& row = rows.set.rows[index];
        std::string text = CellText(rows.set, row, column);
        if (column != 1) {
            text.append("=").append(rows.set.Name(row));
        }
        texts.push_back(std::move(text));
    }
    return texts;
}

TEST(CompareRows, NamePutsSubfoldersFirstAndIgnoresCase) {
    Rows rows;
    rows.File("b.txt")
        .Folder("zeta")
        .File("A.doc")
        .Folder("Alpha")
        .File("\xC9t\xE9.txt")
        .File("\xE9t\xE9.TXT")
        .File("");
    EXPECT_EQ(Sorted(rows, 1, 1), (std::vector<std::string>{"", "Alpha", "zeta", "A.doc", "b.txt",
                                                            "\xC9t\xE9.txt", "\xE9t\xE9.TXT"}));
    // Descending: files Z to A, then the subfolders, the empty cell last. Equal names keep
    // their order.
    EXPECT_EQ(Sorted(rows, 1, -1),
              (std::vector<std::string>{"\xC9t\xE9.txt", "\xE9t\xE9.TXT", "b.txt", "A.doc", "zeta",
                                        "Alpha", ""}));
}

TEST(CompareRows, ResultPathsCompareAsPrefixAndName) {
    Rows rows;
    const std::uint32_t b = rows.Path("C:\\B\\");
    const std::uint32_t a = rows.Path("c:\\a\\");
    rows.File("zz.txt").File("x").File("yyyyyyyyyy").File("C:");
    rows.set.rows[0].path_prefix = b;  // C:\B\zz.txt
    rows.set.rows[1].path_prefix = a;  // c:\a\x
    rows.set.rows[2].path_prefix = b;  // C:\B\yyyyyyyyyy
    EXPECT_EQ(Sorted(rows, 1, 1),
              (std::vector<std::string>{"C:", "c:\\a\\x", "C:\\B\\yyyyyyyyyy", "C:\\B\\zz.txt"}));
}

TEST(CompareRows, SizesAreNumbers) {
    Rows rows;
    rows.File("a", "3 GB")
        .File("b", "1,2 MB")
        .File("c", "900 KB")
        .File("d", "500")
        .Folder("dir")
        .File("e", "2.5 GB")
        .File("f", "0")
        .File("g", "3 gb");
    EXPECT_EQ(Sorted(rows, 2, 1),
              (std::vector<std::string>{"=dir", "0=f", "3 gb=g", "500=d", "900 KB=c", "1,2 MB=b",
                                        "2.5 GB=e", "3 GB=a"}));
    EXPECT_EQ(Sorted(rows, 2, -1),
              (std::vector<std::string>{"3 GB=a", "2.5 GB=e", "1,2 MB=b", "900 KB=c", "500=d",
                                        "3 gb=g", "0=f", "=dir"}));
    // 3 GB after 500 bytes: the difference exceeds any 32-bit count.
    const FileRow& big = rows.set.rows[0];
    const FileRow& small = rows.set.rows[3];
    EXPECT_GT(CompareRows(rows.set, big, small, {2, 1}), 0);
    EXPECT_LT(CompareRows(rows.set, small, big, {2, 1}), 0);
    EXPECT_LT(CompareRows(rows.set, big, small, {2, -1}), 0);
}

TEST(CompareRows, DatesAreTimesAndEqualDatesAreEqual) {
    Rows rows;
    rows.File("y69", "", "01/01/69 00:00:00")
        .File("y99", "", "31/12/99 23:59:59")
        .File("y70", "", "01/01/70 00:00:01")
        .File("bad", "", "garbage")
        .File("same", "", "01/01/69 00:00:00")
        .Folder("dir");
    EXPECT_EQ(Sorted(rows, 3, 1),
              (std::vector<std::string>{"=dir", "garbage=bad", "01/01/70 00:00:01=y70",
                                        "31/12/99 23:59:59=y99", "01/01/69 00:00:00=y69",
                                        "01/01/69 00:00:00=same"}));
    const FileRow& y69 = rows.set.rows[0];
    const FileRow& same = rows.set.rows[4];
    EXPECT_EQ(CompareRows(rows.set, y69, same, {3, 1}), 0);
    EXPECT_EQ(CompareRows(rows.set, y69, same, {3, -1}), 0);
    EXPECT_EQ(Sorted(rows, 3, -1),
              (std::vector<std::string>{"01/01/69 00:00:00=y69", "01/01/69 00:00:00=same",
                                        "31/12/99 23:59:59=y99", "01/01/70 00:00:01=y70",
                                        "garbage=bad", "=dir"}));
}

TEST(CompareRows, StatusColumnComparesTextWithoutCase) {
    Rows rows;
    rows.File("a", "", "", "mal")
        .File("b", "", "", "")
        .File("c", "", "", "Bien")
        .File("d", "", "", "bien");
    EXPECT_EQ(Sorted(rows, 0, 1), (std::vector<std::string>{"=b", "Bien=c", "bien=d", "mal=a"}));
    EXPECT_EQ(Sorted(rows, 0, -1), (std::vector<std::string>{"mal=a", "Bien=c", "bien=d", "=b"}));
}

TEST(SortSettings, ColumnClicksAndRequests) {
    SortSettings settings;  // Name ascending
    EXPECT_EQ(settings.column, 1);
    EXPECT_EQ(settings.direction, 1);
    settings = ClickColumn(settings, 1);  // same column: reversed
    EXPECT_EQ(settings.column, 1);
    EXPECT_EQ(settings.direction, -1);
    settings = ClickColumn(settings, 3);  // new column keeps descending
    EXPECT_EQ(settings.column, 3);
    EXPECT_EQ(settings.direction, -1);
    settings = ClickColumn(settings, 2);
    EXPECT_EQ(settings.column, 2);
    EXPECT_EQ(settings.direction, -1);
    settings = ClickColumn(settings, 2);
    EXPECT_EQ(settings.direction, 1);

    settings = ApplySortRequest(settings, -1, -1);  // column -1 keeps everything
    EXPECT_EQ(settings.column, 2);
    EXPECT_EQ(settings.direction, 1);
    settings = ApplySortRequest(settings, 0, 0);  // direction 0 keeps the direction
    EXPECT_EQ(settings.column, 0);
    EXPECT_EQ(settings.direction, 1);
    settings = ApplySortRequest(settings, 3, -1);
    EXPECT_EQ(settings.column, 3);
    EXPECT_EQ(settings.direction, -1);
}

// The keyed sort must give the order that CompareRows defines, for every column both ways,
// also on names that share long prefixes and differ only in case.
TEST(SortRows, AgreesWithCompareRows) {
    std::mt19937 random(7);
    // Names with "\\" make texts that other levels also make ("c:\\abcdefgh\\x" twice over).
    const std::vector<std::string> names = {
        "",        "a",       "A",  "abcdefgh",     "ABCDEFGHI",   "abcdefghj",
        "\xC0gua", "\xE0GUA", "zz", "abcdefgh.txt", "abcdefgh\\x", "A\\",
        "\\",      "a b"};
    const std::vector<std::string> sizes = {"",     "1", "1,5 KB", "1.5 KB", "2 MB",
                                            "3 GB", "x", "-4",     "1e400"};
    const std::vector<std::string> dates = {
        "",      "01/01/69 00:00:00", "01/01/70 00:00:00", "99/99/99 99:99:99",
        "short", "29/02/01 00:00:00"};
    Rows rows;
    // Long shared beginnings make the sort read past its first eight bytes, twice over.
    std::vector<std::uint32_t> levels = {0, rows.Path("C:\\"), rows.Path("c:\\abcdefgh\\"),
                                         rows.Path("C:\\Documentos\\Proyectos 2008\\"),
                                         rows.Path("c:\\documentos\\proyectos 2008\\Informes\\")};
    levels.push_back(rows.set.AddLevel(0, rows.Keep("C:\\ABCDEFGH")));
    levels.push_back(rows.set.AddLevel(levels[1], rows.Keep("a")));
    for (int i = 0; i < 600; ++i) {
        if (random() % 5 == 0) {
            rows.Folder(names[random() % names.size()]);
        } else {
            rows.File(names[random() % names.size()], sizes[random() % sizes.size()],
                      dates[random() % dates.size()], names[random() % names.size()]);
        }
        rows.set.rows.back().path_prefix = levels[random() % levels.size()];
    }
    std::vector<std::uint32_t> previous;  // each sort starts from the order of the one before
    for (int column = 0; column <= 4; ++column) {
        for (int direction : {1, -1}) {
            const std::vector<std::uint32_t> order =
                SortOrder(rows.set, {column, direction}, previous);
            ASSERT_EQ(order.size(), rows.set.rows.size());
            std::vector<std::size_t> was_at(order.size());
            for (std::size_t i = 0; i < order.size(); ++i) {
                was_at[previous.empty() ? i : previous[i]] = i;
            }
            for (std::size_t i = 0; i + 1 < order.size(); ++i) {
                const int compared = CompareRows(rows.set, rows.set.rows[order[i]],
                                                 rows.set.rows[order[i + 1]], {column, direction});
                ASSERT_LE(compared, 0)
                    << "column " << column << " direction " << direction << " at " << i;
                if (compared == 0) {
                    ASSERT_LT(was_at[order[i]], was_at[order[i + 1]]) << "equal rows keep order";
                }
            }
            std::vector<std::uint32_t> sorted_rows = order;
            std::sort(sorted_rows.begin(), sorted_rows.end());
            for (std::size_t i = 0; i < sorted_rows.size(); ++i) {
                ASSERT_EQ(sorted_rows[i], i) << "every row exactly once";
            }
            previous = order;
        }
    }
}

TEST(SortRows, ManyRowsSortInOrder) {
    std::mt19937 random(11);
    Rows rows;
    constexpr int kRows = 200000;
    rows.set.rows.reserve(kRows);
    const char* extensions[] = {".jpg", ".doc", ".xls", ".txt", ".PDF"};
    for (int i = 0; i < kRows; ++i) {
        const unsigned n = random();
        rows.File("IMG_" + std::to_string(n % 1000000) + extensions[n % 5],
                  std::to_string(n % 9999) + (n % 3 == 0   ? ",5 KB"
                                              : n % 3 == 1 ? " MB"
                                                           : ""),
                  "01/02/" + std::to_string(10 + n % 90) + " 12:34:56", n % 2 ? "bien" : "mal");
    }
    std::vector<std::uint32_t> order;
    for (int column : {1, 2, 3}) {
        order = SortOrder(rows.set, {column, 1}, order);
        for (std::size_t i = 0; i + 1 < order.size(); i += 97) {
            ASSERT_LE(CompareRows(rows.set, rows.set.rows[order[i]], rows.set.rows[order[i + 1]],
                                  {column, 1}),
                      0);
        }
    }
}

}  // namespace
}  // namespace tov
