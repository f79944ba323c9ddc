#include "listing/file_line.h"
#include "listing/listing_digest.h"
#include "listing/listing_document.h"
#include "listing/sort_keys.h"
#include "tools/writer/listing_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace tov {
namespace {

using writer::ListingBuilder;

bool Verifies(const std::string& listing) {
    return listing.size() >= 38 &&
           VerifyListingDigest(listing.data(), static_cast<std::uint32_t>(listing.size()));
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// What a walk over the tree section finds, checked against the rules every reader relies on.
struct TreeSummary {
    std::uint64_t folders = 0;
    std::uint64_t files = 0;
    std::uint64_t good = 0;
    std::uint64_t bad = 0;
    std::uint64_t deepest = 0;  // levels below the root
    std::vector<std::string> after_tree;
};

TreeSummary Walk(const std::string& listing) {
    TreeSummary summary;
    const ListingDocument document = ListingDocument::FromCopy(listing);
    LineOffset offset = 0;
    std::uint64_t open = 0;
    bool tree_done = false;
    while (!document.AtEnd(offset)) {
        const std::string_view line = document.Line(offset);
        if (tree_done) {
            summary.after_tree.emplace_back(line);
        } else if (line[0] == '>') {
            ++summary.folders;
            summary.deepest = std::max(summary.deepest, open);
            ++open;
            EXPECT_FALSE(FolderOwnName(line).empty()) << line;
        } else if (line[0] == '<') {
            --open;
            tree_done = open == 0;
        } else {
            ++summary.files;
            const FileLineFields fields = SplitFileLine(line);
            EXPECT_EQ(std::count(line.begin(), line.end(), '|'), 3) << line;
            EXPECT_FALSE(fields.name.empty()) << line;
            EXPECT_NE(ReadDateForSorting(fields.date), kUnreadableDateKey) << line;
            EXPECT_TRUE(fields.size == "0" || ReadSizeForSorting(fields.size) > 0) << line;
            summary.good += ReadCheckStatus(fields.status) == CheckStatus::Good;
            summary.bad += ReadCheckStatus(fields.status) == CheckStatus::Bad;
        }
        offset = document.NextLine(offset);
    }
    EXPECT_TRUE(tree_done);
    EXPECT_TRUE(!summary.after_tree.empty() && StartsWith(summary.after_tree.back(), "Hash|"));
    summary.after_tree.pop_back();
    EXPECT_EQ(offset + 1, document.size()) << "an empty line or NUL cut the walk short";
    EXPECT_EQ(listing.find('\r'), std::string::npos);
    return summary;
}

TEST(ListingWriter, DescriptionGivesTheListingItDescribes) {
    const std::string listing = writer::ListingFromDescription(
        "# comment\n"
        "> C:\n"
        "  Carta.doc|25 KB|12/03/09 10:15:00|bien\n"
        "\n"
        "  > C:\\Año\n"
        "    Foto.jpg|1,5 MB|01/02/08 08:00:00|mal\n"
        "    >\\Vacío\n"
        "  Nota.txt|700|01/02/08 08:00:00|\n"
        "  raro{x0D}|{x7C}{folders}\n"
        "[header]\n"
        "Nº de trabajo|2009/0001\n"
        "Total carpetas|{folders} {files} {good} {bad} {unchecked} {other}\n"
        "[statistics]\n"
        "Archivos analizados|{good}|{bad}\n");
    EXPECT_EQ(listing, writer::AppendDigestLine(">|C:\n"
                                                "Carta.doc|25 KB|12/03/09 10:15:00|bien\n"
                                                ">|C:\\A\xF1o\n"
                                                "Foto.jpg|1,5 MB|01/02/08 08:00:00|mal\n"
                                                ">\\Vac\xEDo\n"
                                                "<\n"
                                                "<\n"
                                                "Nota.txt|700|01/02/08 08:00:00|\n"
                                                "raro\r||{folders}\n"
                                                "<\n"
                                                "N\xBA de trabajo|2009/0001\n"
                                                "Total carpetas|3 4 1 1 2 {other}\n"
                                                "Archivos analizados|1|1\n"));
    EXPECT_TRUE(Verifies(listing));
}

TEST(ListingWriter, AutomaticStatisticsCountByExtension) {
    const std::string listing = writer::ListingFromDescription(
        "> D:\n"
        "  a.XLS|1|01/01/01 00:00:00|bien\n"
        "  b.docx|1|01/01/01 00:00:00|mal\n"
        "  c.pdf|1|01/01/01 00:00:00|bien\n"
        "  d.jpg|1|01/01/01 00:00:00|\n"
        "[statistics auto]\n");
    const TreeSummary summary = Walk(listing);
    const std::vector<std::string> expected = {"Archivos analizados|2|1",
                                               "Documento de Microsoft Excel|1|0",
                                               "Documento de Microsoft PowerPoint|0|0",
                                               "Documento de Microsoft Word|0|1",
                                               "Documento comprimido ZIP|0|0",
                                               "AutoCAD|0|0",
                                               "Imagen|0|0",
                                               "Archivo de sonido|0|0"};
    EXPECT_EQ(summary.after_tree, expected);
}

TEST(ListingWriter, DescriptionErrorsNameTheLine) {
    const struct {
        const char* description;
        int line;
    } cases[] = {{"> C:\n\ta|1|2|\n", 2},
                 {"> C:\n<\n", 2},
                 {"> C:\n[footer]\n", 2},
                 {"> C:\n  \xE2\x86\x92.doc|1|2|\n", 2},  // an arrow has no Windows-1252 byte
                 {"> C:\n[header]\nMarca|X\n> D:\n", 4},
                 {"> C:\n[statistics]\n<x|1|2\n", 3},
                 {"> C:\n[header]\nMarca|X\n[tree]\n", 4}};
    for (const auto& c : cases) {
        try {
            writer::ListingFromDescription(c.description);
            ADD_FAILURE() << "accepted: " << c.description;
        } catch (const writer::DescriptionError& error) {
            EXPECT_EQ(error.line(), c.line) << c.description;
        }
    }
}

// Malformed listings that still carry a correct digest, as a hostile author could write them.
TEST(ListingWriter, RawLinesKeepEveryByteAndStillVerify) {
    ListingBuilder builder;
    builder.Line("no separator at all")
        .Line("<")
        .Line("<<<")
        .Raw("crlf|1|2|bien\r\n")
        .Line("")
        .Raw(std::string("nul\0byte\n", 9))
        .Line("after the empty line");
    const std::string listing = builder.Finish();
    const char kExpected[] =
        "no separator at all\n<\n<<<\ncrlf|1|2|bien\r\n\nnul\0byte\nafter the empty line\n";
    EXPECT_EQ(listing.substr(0, listing.size() - 38), std::string(kExpected, sizeof kExpected - 1));
    EXPECT_TRUE(Verifies(listing));
    EXPECT_EQ(builder.size(), listing.size());
    EXPECT_EQ(builder.digest(), listing.substr(listing.size() - 33, 32));
    EXPECT_THROW(builder.Line("late"), std::logic_error);
}

TEST(ListingWriter, TextConversionToAndFromWindows1252) {
    EXPECT_EQ(writer::Cp1252FromUtf8("Nº año €5 Œuvre ü"),
              "N\xBA a\xF1o \x80"
              "5 \x8Cuvre \xFC");
    EXPECT_EQ(writer::Utf8FromCp1252("N\xBA a\xF1o \x80"
                                     "5 \x8Cuvre \xFC"),
              "Nº año €5 Œuvre ü");
    EXPECT_EQ(writer::Cp1252FromUtf8("caf\xE9 \xC3"), "caf\xE9 \xC3");  // not UTF-8: kept
    EXPECT_THROW(writer::Cp1252FromUtf8("日本"), std::invalid_argument);
    EXPECT_EQ(writer::kHeaderKeys[0], "N\xBA de trabajo");
    EXPECT_EQ(writer::kHeaderKeys[10], "Tama\xF1o");
}

TEST(ListingWriter, SizesReadBackAsWritten) {
    EXPECT_EQ(writer::FormatSize(700), "700");
    EXPECT_EQ(writer::FormatSize(1536), "1,5 KB");
    EXPECT_EQ(writer::FormatSize(240 * 1024), "240 KB");
    EXPECT_EQ(writer::FormatSize(2097152), "2,0 MB");
    EXPECT_EQ(writer::FormatSize(3ull << 40), "3072 GB");
    for (std::uint64_t bytes = 1000; bytes < (1ull << 36); bytes = bytes * 3 + 17) {
        const double read = ReadSizeForSorting(writer::FormatSize(bytes));
        EXPECT_NEAR(read, static_cast<double>(bytes), static_cast<double>(bytes) * 0.06) << bytes;
    }
}

TEST(ListingWriter, SyntheticListingHasTheRequestedShape) {
    writer::SyntheticOptions options;
    options.files = 3000;
    options.folders = 120;
    options.depth = 7;
    options.seed = 42;
    ListingBuilder builder;
    writer::WriteSyntheticListing(options, builder);
    const std::string listing = builder.Finish();
    ASSERT_TRUE(Verifies(listing));

    const TreeSummary summary = Walk(listing);
    EXPECT_EQ(summary.files, 3000u);
    EXPECT_EQ(summary.folders, 120u);
    EXPECT_EQ(summary.deepest, 7u);
    EXPECT_EQ(builder.files(), 3000u);
    EXPECT_EQ(builder.good(), summary.good);
    EXPECT_EQ(builder.bad(), summary.bad);
    const std::uint64_t unchecked = summary.files - summary.good - summary.bad;
    EXPECT_GT(summary.good, summary.bad);
    EXPECT_GT(summary.bad, 100u);
    EXPECT_GT(unchecked, 300u);

    // All 13 header rows in order, then the 8 statistics rows; totals agree with the tree.
    ASSERT_EQ(summary.after_tree.size(), 21u);
    for (std::size_t row = 0; row < 13; ++row) {
        EXPECT_TRUE(
            StartsWith(summary.after_tree[row], std::string(writer::kHeaderKeys[row]) + "|"))
            << summary.after_tree[row];
    }
    EXPECT_EQ(summary.after_tree[11], "Total carpetas|120");
    EXPECT_EQ(summary.after_tree[12], "Total archivos|3000");
    EXPECT_EQ(summary.after_tree[13], "Archivos analizados|" + std::to_string(summary.good) + "|" +
                                          std::to_string(summary.bad));
    std::uint64_t typed_good = 0;
    for (std::size_t row = 1; row < 8; ++row) {
        const std::string& line = summary.after_tree[13 + row];
        ASSERT_TRUE(StartsWith(line, std::string(writer::kStatisticsKeys[row]) + "|")) << line;
        typed_good += std::stoull(line.substr(writer::kStatisticsKeys[row].size() + 1));
    }
    EXPECT_EQ(typed_good, summary.good);  // only files of the checked types are checked

    for (const char* accented : {"\xF1", "\xE9", "\xFC", "\xF3"}) {
        EXPECT_NE(listing.find(accented), std::string::npos) << "no byte " << accented;
    }
    EXPECT_NE(listing.find(">|C:\\"), std::string::npos);  // sub-folders with full paths
}

TEST(ListingWriter, SyntheticListingIsDeterministicAndStreamsAlike) {
    writer::SyntheticOptions options;
    options.files = 25000;  // over one streaming chunk
    options.folders = 300;
    options.depth = 3;
    options.seed = 7;
    const std::string in_memory = writer::MakeSyntheticListing(options);
    ASSERT_GT(in_memory.size(), std::size_t{1} << 20);

    // A second run, streamed in chunks, gives the same bytes.
    std::ostringstream stream(std::ios::binary);
    ListingBuilder streaming(stream);
    writer::WriteSyntheticListing(options, streaming);
    EXPECT_EQ(streaming.Finish(), "");
    EXPECT_EQ(stream.str(), in_memory);
    EXPECT_EQ(streaming.size(), in_memory.size());

    options.files = 100;
    const std::string seed_7 = writer::MakeSyntheticListing(options);
    options.seed = 8;
    EXPECT_NE(writer::MakeSyntheticListing(options), seed_7);
}

TEST(ListingWriter, SyntheticEdgeShapes) {
    writer::SyntheticOptions options;
    options.files = 0;
    options.folders = 1;
    options.depth = 0;
    TreeSummary summary = Walk(writer::MakeSyntheticListing(options));
    EXPECT_EQ(summary.folders, 1u);
    EXPECT_EQ(summary.files, 0u);

    // A deep chain with bare names: every folder-open line holds only its own name.
    options.files = 50;
    options.folders = 2000;
    options.depth = 2000;
    options.full_paths = false;
    const std::string chain = writer::MakeSyntheticListing(options);
    summary = Walk(chain);
    EXPECT_EQ(summary.folders, 2000u);
    EXPECT_EQ(summary.deepest, 1999u);  // as deep as the folders allow
    EXPECT_EQ(chain.find(">|C:\\"), std::string::npos);

    options.folders = 2;
    options.depth = 0;
    EXPECT_THROW(writer::MakeSyntheticListing(options), std::invalid_argument);
    options.folders = 0;
    EXPECT_THROW(writer::MakeSyntheticListing(options), std::invalid_argument);
}

TEST(ListingWriter, SampleIsASmallRealisticJob) {
    const std::string sample = writer::MakeSampleListing();
    ASSERT_TRUE(Verifies(sample));
    const TreeSummary summary = Walk(sample);
    EXPECT_EQ(summary.files, 200u);
    EXPECT_EQ(summary.folders, 25u);
    EXPECT_GT(summary.good, 0u);
    EXPECT_GT(summary.bad, 0u);
    EXPECT_GT(summary.files - summary.good - summary.bad, 0u);
    ASSERT_EQ(summary.after_tree.size(), 21u);
    EXPECT_EQ(summary.after_tree[11], "Total carpetas|25");
    EXPECT_EQ(summary.after_tree[12], "Total archivos|200");

    // The committed copy in examples/ is this listing, byte for byte.
    std::ifstream committed(TOV_SOURCE_DIR "/examples/sample.tov", std::ios::binary);
    if (!committed) {
        GTEST_SKIP() << "examples/sample.tov not reachable from here";
    }
    const std::string bytes{std::istreambuf_iterator<char>(committed),
                            std::istreambuf_iterator<char>()};
    EXPECT_EQ(bytes, sample) << "regenerate with: listing_writer sample examples/sample.tov";
}

}  // namespace
}  // namespace tov
