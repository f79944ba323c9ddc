#include "listing/work_summary.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace tov {
namespace {

WorkSummaryLabels EnglishLabels() {
    return {{"Work #%s", "Reception date%s", "Firm name%s", "Address%s", "Town%s", "Province%s",
             "Country%s", "Manufacturer%s", "Model%s", "Analisys date%s", "Size%s",
             "Total folders%s", "Total files%s"},
            {"Analized files%s", "Microsoft Excel files%s", "Microsoft PowerPoint files%s",
             "Microsoft Word files%s", "ZIP Compressed files%s", "AutoCAD files%s", "Image files%s",
             "Sound files%s"},
            "... %s more lines left out"};
}

// Spanish labels are the keys themselves, accents included.
WorkSummaryLabels SpanishLabels() {
    WorkSummaryLabels labels;
    for (std::size_t i = 0; i < kHeaderKeyCount; ++i) {
        labels.header[i] = std::string(kHeaderKeys[i]) + "%s";
    }
    for (std::size_t i = 0; i < kStatisticsKeyCount; ++i) {
        labels.statistics[i] = std::string(kStatisticsKeys[i]) + "%s";
    }
    return labels;
}

const std::string kTree = ">|C:\nleft.doc|1 KB|01/02/03 04:05:06|bien\n>|C:\\Sub\n<\n<\n";
const std::string kHash = "Hash|0123456789abcdef0123456789abcdef\n";

void ExpectRow(const CheckRow& row, const std::string& type, const std::string& good,
               const std::string& bad) {
    EXPECT_EQ(row.type, type);
    EXPECT_EQ(row.good, good);
    EXPECT_EQ(row.bad, bad);
}

TEST(WorkSummary, TranslatesTheHeaderAndTheStatisticsOfAWholeListing) {
    const ListingDocument document = ListingDocument::FromCopy(
        kTree +
        "N\xBA de trabajo|4711\nRaz\xF3n social|Acme, S.L.\nTama\xF1o|500 GB\n"
        "Archivos analizados|120|4\nDocumento de Microsoft Word|20|1\n"
        "AutoCAD|0|0\n" +
        kHash);
    const WorkSummary summary = ReadWorkSummary(document, EnglishLabels());
    ASSERT_EQ(summary.work_lines.size(), 3u);
    EXPECT_EQ(summary.work_lines[0], "Work #:\t4711");
    EXPECT_EQ(summary.work_lines[1], "Firm name:\tAcme, S.L.");
    EXPECT_EQ(summary.work_lines[2], "Size:\t500 GB");
    ASSERT_EQ(summary.check_rows.size(), 3u);
    // The line that ends the header is the first row.
    ExpectRow(summary.check_rows[0], "Analized files", "120", "4");
    ExpectRow(summary.check_rows[1], "Microsoft Word files", "20", "1");
    ExpectRow(summary.check_rows[2], "AutoCAD files", "0", "0");

    const WorkSummary spanish = ReadWorkSummary(document, SpanishLabels());
    EXPECT_EQ(spanish.work_lines[1], "Raz\xF3n social:\tAcme, S.L.");
    ExpectRow(spanish.check_rows[0], "Archivos analizados", "120", "4");
}

TEST(WorkSummary, KeysMatchAsExactCaseSensitivePrefixes) {
    const ListingDocument document = ListingDocument::FromCopy(
        kTree +
        "Pais|Espa\xF1"
        "a\nPa\xEDs|Espa\xF1"
        "a\npais|x\nMarca\nMarcas|3\n"
        "Marca|Seagate|ST3000|rev 2\nArchivos analizados|1|2\nImagenes JPEG|3|1\n"
        "Imagen\n" +
        kHash);
    for (const WorkSummaryLabels& labels : {EnglishLabels(), SpanishLabels()}) {
        const WorkSummary summary = ReadWorkSummary(document, labels);
        ASSERT_EQ(summary.work_lines.size(), 6u);
        // The accented spelling is no key in any language: only its "|" changes.
        EXPECT_EQ(summary.work_lines[1],
                  "Pa\xEDs:\tEspa\xF1"
                  "a");
        EXPECT_EQ(summary.work_lines[2], "pais:\tx");
    }
    const WorkSummary summary = ReadWorkSummary(document, EnglishLabels());
    EXPECT_EQ(summary.work_lines[0],
              "Country:\tEspa\xF1"
              "a");
    EXPECT_EQ(summary.work_lines[3], "Manufacturer");  // a line that is exactly a key
    EXPECT_EQ(summary.work_lines[4], "Manufacturers:\t3");
    EXPECT_EQ(summary.work_lines[5], "Manufacturer:\tSeagate:\tST3000:\trev 2");
    ASSERT_EQ(summary.check_rows.size(), 3u);
    ExpectRow(summary.check_rows[1], "Image fileses JPEG", "3", "1");
    ExpectRow(summary.check_rows[2], "Image files", "", "");
}

TEST(WorkSummary, PercentInAValueIsNeverAFormat) {
    const ListingDocument document =
        ListingDocument::FromCopy(kTree +
                                  "Raz\xF3n social|100% %s %n %%d\nOtro|50%\n"
                                  "Archivos analizados|%s|%n\n" +
                                  kHash);
    const WorkSummary summary = ReadWorkSummary(document, EnglishLabels());
    ASSERT_EQ(summary.work_lines.size(), 2u);
    EXPECT_EQ(summary.work_lines[0], "Firm name:\t100% %s %n %%d");
    EXPECT_EQ(summary.work_lines[1], "Otro:\t50%");
    ASSERT_EQ(summary.check_rows.size(), 1u);
    ExpectRow(summary.check_rows[0], "Analized files", "%s", "%n");
}

TEST(WorkSummary, AnyLineBeginningWithHashEndsTheStatistics) {
    for (const std::string& end :
         {std::string("Hash"), std::string("Hash|x"), std::string("Hashes|1|2"), kHash}) {
        const ListingDocument document = ListingDocument::FromCopy(
            kTree + "Archivos analizados|1|2\nHas|3|4\nhash|5|6\n" + end + "\nAutoCAD|7|8\n");
        const WorkSummary summary = ReadWorkSummary(document, EnglishLabels());
        ASSERT_EQ(summary.check_rows.size(), 3u) << end;
        ExpectRow(summary.check_rows[1], "Has", "3", "4");
        ExpectRow(summary.check_rows[2], "hash", "5", "6");
    }
}

TEST(WorkSummary, StatisticsLinesWithFewSeparatorsKeepEveryByte) {
    const ListingDocument document = ListingDocument::FromCopy(
        kTree + "Archivos analizados\nImagen|5\nOtro tipo\n|7|8\nAutoCAD|1|2|3\n" + kHash);
    const WorkSummary summary = ReadWorkSummary(document, EnglishLabels());
    ASSERT_EQ(summary.check_rows.size(), 5u);
    ExpectRow(summary.check_rows[0], "Analized files", "", "");
    ExpectRow(summary.check_rows[1], "Image files", "5", "");
    ExpectRow(summary.check_rows[2], "Otro tipo", "", "");
    ExpectRow(summary.check_rows[3], "", "7", "8");
    ExpectRow(summary.check_rows[4], "AutoCAD files", "1", "2|3");
}

TEST(WorkSummary, MissingSectionsAndTheEndsOfTheWalk) {
    const WorkSummaryLabels labels = EnglishLabels();
    // An empty document and a listing that is only its digest line (skipped as the tree).
    EXPECT_TRUE(ReadWorkSummary(ListingDocument(), labels).work_lines.empty());
    WorkSummary summary = ReadWorkSummary(ListingDocument::FromCopy(kHash), labels);
    EXPECT_TRUE(summary.work_lines.empty());
    EXPECT_TRUE(summary.check_rows.empty());

    // No "Archivos analizados": everything after the tree is header, the digest line too.
    summary = ReadWorkSummary(ListingDocument::FromCopy(kTree + "Marca|X\n" + kHash), labels);
    ASSERT_EQ(summary.work_lines.size(), 2u);
    EXPECT_EQ(summary.work_lines[1], "Hash:\t0123456789abcdef0123456789abcdef");
    EXPECT_TRUE(summary.check_rows.empty());

    // No "Hash": every line to the end is a row.
    summary = ReadWorkSummary(
        ListingDocument::FromCopy(kTree + "Archivos analizados|1|2\nAutoCAD|3|4\n"), labels);
    EXPECT_TRUE(summary.work_lines.empty());
    ASSERT_EQ(summary.check_rows.size(), 2u);

    // A tree that never closes leaves nothing for the header and statistics.
    summary = ReadWorkSummary(
        ListingDocument::FromCopy(">|C:\n>|D\n<\nMarca|X\nArchivos analizados|1|2\n"), labels);
    EXPECT_TRUE(summary.work_lines.empty() && summary.check_rows.empty());

    // A first line that is no folder line is skipped alone.
    summary = ReadWorkSummary(ListingDocument::FromCopy("plain\nMarca|X\n"), labels);
    ASSERT_EQ(summary.work_lines.size(), 1u);
    EXPECT_EQ(summary.work_lines[0], "Manufacturer:\tX");

    // An empty line ends the walk.
    summary = ReadWorkSummary(ListingDocument::FromCopy(kTree + "Marca|X\n\nModelo|Y\n"), labels);
    EXPECT_EQ(summary.work_lines.size(), 1u);
}

TEST(WorkSummary, LaterKeysAreTestedAgainstTheReplacedLine) {
    WorkSummaryLabels labels = EnglishLabels();
    labels.header[0] = "Marca%s";  // row 0 turns the line into one that row 7 matches
    labels.header[7] = "<%s>";
    const WorkSummary summary = ReadWorkSummary(
        ListingDocument::FromCopy(kTree + "N\xBA de trabajo|1\nArchivos analizados|1|2\n"), labels);
    ASSERT_EQ(summary.work_lines.size(), 1u);
    EXPECT_EQ(summary.work_lines[0], "<:\t1>");
}

TEST(WorkSummary, LabelsBehaveAsTheirPrintfWould) {
    EXPECT_EQ(FormatLabel("Work #%s", "|1"), "Work #|1");
    EXPECT_EQ(FormatLabel("", "|value"), "");
    EXPECT_EQ(FormatLabel("No argument", "|value"), "No argument");
    EXPECT_EQ(FormatLabel("100%% of%s", "|x"), "100% of|x");
    EXPECT_EQ(FormatLabel("%s and %s", "a"), "a and ");
    EXPECT_EQ(FormatLabel("trailing %", "a"), "trailing %");
    EXPECT_EQ(FormatLabel(std::string_view("cut\0%s", 6), "a"), "cut");
}

// A listing written with a hundred thousand lines in each section shows the first ones and a
// line that says how many more there were, which the summary's controls take at once.
TEST(WorkSummary, HundredThousandLinesAreShownUpToTheBoundAndCounted) {
    std::string text = kTree;
    for (int i = 0; i < 100000; ++i) {
        text += "Provincia|Provincia n\xFAmero " + std::to_string(i) + "|extra\n";
    }
    text += "Archivos analizados|1|2\n";
    for (int i = 0; i < 100000; ++i) {
        text += "Imagen|" + std::to_string(i) + "|0\n";
    }
    const ListingDocument document = ListingDocument::FromCopy(text + kHash);
    const WorkSummary summary = ReadWorkSummary(document, EnglishLabels());
    ASSERT_EQ(summary.work_lines.size(), kMaxWorkLines + 1);
    EXPECT_EQ(summary.work_lines[kMaxWorkLines - 1],
              "Province:\tProvincia n\xFAmero " + std::to_string(kMaxWorkLines - 1) + ":\textra");
    EXPECT_EQ(summary.work_lines.back(),
              "... " + std::to_string(100000 - kMaxWorkLines) + " more lines left out");
    ASSERT_EQ(summary.check_rows.size(), kMaxCheckRows + 1);
    ExpectRow(summary.check_rows[kMaxCheckRows - 1], "Image files",
              std::to_string(kMaxCheckRows - 2), "0");
    ExpectRow(summary.check_rows.back(),
              "... " + std::to_string(100001 - kMaxCheckRows) + " more lines left out", "", "");
}

}  // namespace
}  // namespace tov
