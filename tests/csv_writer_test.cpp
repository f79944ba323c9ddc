#include "search/csv_writer.h"

#include "tests/path_levels_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tov {
namespace {

test::RowsBuilder SampleRows() {
    test::RowsBuilder rows;
    const std::uint32_t docs = rows.Path("C:\\Docs\\");
    rows.Folder("Docs")
        .File("a.doc", "1,5 KB", "01/02/03 04:05:06", "bien", docs)
        .File("say \"hi\".txt", "700", "31/12/99 23:59:59", "mal", docs)
        .File("\xE9t\xE9.txt", "2 MB", "", "", docs);
    return rows;
}

TEST(CsvWriter, LinesOfAFolderAFileAndAQuote) {
    const test::RowsBuilder sample = SampleRows();
    const RowSet& rows = sample.set;
    std::string out;
    AppendCsvRow(out, rows, rows.rows[0]);
    EXPECT_EQ(out, "\"\";\"Docs\";\"\";\"\"\r\n");
    out.clear();
    AppendCsvRow(out, rows, rows.rows[1]);
    EXPECT_EQ(out, "\"bien\";\"C:\\Docs\\a.doc\";\"1,5 KB\";\"01/02/03 04:05:06\"\r\n");
    out.clear();
    AppendCsvRow(out, rows, rows.rows[2]);
    EXPECT_EQ(out, "\"mal\";\"C:\\Docs\\say \"\"hi\"\".txt\";\"700\";\"31/12/99 23:59:59\"\r\n");
    out.clear();
    AppendCsvRow(out, rows, rows.rows[3]);  // Windows-1252 bytes pass unchanged
    EXPECT_EQ(out, "\"\";\"C:\\Docs\\\xE9t\xE9.txt\";\"2 MB\";\"\"\r\n");
    out.clear();
    AppendCsvLine(out, "\"", "\"\"", "", "a\"", "\"b");
    EXPECT_EQ(out, "\"\"\"\";\"\"\"\"\"\";\"a\"\"\";\"\"\"b\"\r\n");
}

TEST(CsvWriter, ByteCountIsExactWithDoubledQuotesAndSkipsUnknownRows) {
    test::RowsBuilder sample = SampleRows();
    const std::uint32_t quoted = sample.set.AddLevel(sample.set.rows[1].path_prefix, "\"q\"");
    sample.File("x", "1", "d", "bien", quoted);
    const RowSet& rows = sample.set;
    const std::vector<std::uint32_t> order{4, 3, 2, 1, 0, 99};
    std::string written;
    ASSERT_TRUE(WriteCsv(rows, order, [&](std::string_view chunk) {
        written += chunk;
        return true;
    }));
    EXPECT_EQ(written.substr(0, written.find('\n') + 1),
              "\"bien\";\"C:\\Docs\\\"\"q\"\"\\x\";\"1\";\"d\"\r\n");
    EXPECT_EQ(CsvByteCount(rows, order), written.size());
    // An order that does not hold every row once is counted; one that does is bounded from the
    // lengths alone.
    EXPECT_EQ(CsvByteBound(rows, order), written.size());
    const std::vector<std::uint32_t> all{4, 3, 2, 1, 0};
    EXPECT_GE(CsvByteBound(rows, all), written.size());
}

TEST(CsvWriter, WritesInTheGivenOrderAndInChunks) {
    const test::RowsBuilder sample = SampleRows();
    const RowSet& rows = sample.set;
    const std::vector<std::uint32_t> order{3, 1, 0};
    std::string expected;
    for (const std::uint32_t index : order) {
        AppendCsvRow(expected, rows, rows.rows[index]);
    }
    std::vector<std::string> chunks;
    ASSERT_TRUE(WriteCsv(
        rows, order,
        [&](std::string_view chunk) {
            chunks.emplace_back(chunk);
            return true;
        },
        10));
    EXPECT_EQ(chunks.size(), 3u);  // one chunk per line once a line exceeds the chunk size
    std::string joined;
    for (const std::string& chunk : chunks) {
        joined += chunk;
    }
    EXPECT_EQ(joined, expected);

    int calls = 0;
    EXPECT_FALSE(WriteCsv(
        rows, order,
        [&](std::string_view) {
            ++calls;
            return false;
        },
        10));
    EXPECT_EQ(calls, 1);  // the first failed write stops the export

    calls = 0;
    EXPECT_TRUE(WriteCsv(rows, {}, [&](std::string_view) { return ++calls, true; }));
    EXPECT_EQ(calls, 0);
}

// Rows shown in an order of their own are read a block at a time in the order they lie and
// written in the order shown: the same bytes as row by row, in steps of bounded size.
TEST(CsvWriter, WritesBlocksInTheShownOrderInStepsOfBoundedSize) {
    test::RowsBuilder sample;
    const std::uint32_t deep = sample.Path(std::string(1 << 20, 'd') + "\\");
    for (int i = 0; i < 40; ++i) {
        sample.File(std::to_string(i) + ".f", std::to_string(i), "", i % 2 ? "bien" : "\"", deep);
    }
    for (int i = 0; i < 150000; ++i) {
        sample.File(std::to_string(i) + ".n", "1", "d", "mal");
    }
    const RowSet& rows = sample.set;
    std::vector<std::uint32_t> order(rows.rows.size() + 1);
    for (std::uint32_t i = 0; i < order.size(); ++i) {
        order[i] = (i * 7919u) % static_cast<std::uint32_t>(order.size());  // one past the rows
    }
    std::string expected;
    for (const std::uint32_t index : order) {
        if (index < rows.rows.size()) {
            AppendCsvRow(expected, rows, rows.rows[index]);
        }
    }
    std::string written;
    std::size_t largest_step = 0;
    CsvWriter writer(rows, order);
    while (!writer.done()) {
        const std::size_t before = written.size();
        ASSERT_TRUE(writer.WriteBlock([&](std::string_view chunk) {
            written += chunk;
            return true;
        }));
        largest_step = std::max(largest_step, written.size() - before);
    }
    EXPECT_TRUE(written == expected);
    EXPECT_EQ(writer.bytes_formatted(), expected.size());
    EXPECT_LT(largest_step, expected.size() / 2);
}

}  // namespace
}  // namespace tov
