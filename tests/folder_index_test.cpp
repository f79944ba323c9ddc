#include "listing/folder_index.h"

#include "ui/expand_all_walk.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tov {
namespace {

// The folders as "name(parent name)" in index order, and the children of each in order, so a
// test sees both the names and the shape.
std::string Shape(const FolderIndex& index, FolderIndex::Folder parent = FolderIndex::kNone) {
    std::string shape;
    FolderIndex::Folder child =
        parent == FolderIndex::kNone ? index.FirstTopLevel() : index.FirstChild(parent);
    for (; child != FolderIndex::kNone; child = index.NextSibling(child)) {
        EXPECT_EQ(index.Parent(child), parent);
        if (!shape.empty()) {
            shape += ",";
        }
        shape += std::string(index.Name(child));
        if (index.HasChildren(child)) {
            shape.append("[").append(Shape(index, child)).append("]");
        }
    }
    return shape;
}

TEST(FolderIndex, ReadsNamesParentsChildrenAndOffsetsInListingOrder) {
    const std::string text =
        ">|C:\nroot.txt|1|01/01/01 00:00:00|bien\n"
        ">|C:\\Docs\na|1|x|\n>|C:\\Docs\\Old\n<\n<\n"
        "between|1|x|mal\n"
        ">|Fotos\n>|X\\Y\\Z\n<\n<\n<\n"
        "Nº de trabajo|12\nArchivos analizados|1|2\nHash|0123\n";
    ListingDocument document = ListingDocument::FromCopy(text);
    FolderIndex index = FolderIndex::Build(document);
    ASSERT_EQ(index.size(), 5u);
    EXPECT_EQ(Shape(index), "C:[Docs[Old],Fotos[Z]]");
    for (FolderIndex::Folder f = 0; f < index.size(); ++f) {
        EXPECT_EQ(document.FirstByte(index.Offset(f)), '>');
        EXPECT_EQ(index.FindByOffset(index.Offset(f)), f);
    }
    EXPECT_EQ(index.Offset(0), 0u);
    EXPECT_EQ(index.FindByOffset(1), FolderIndex::kNone);
    EXPECT_EQ(index.FindChild(0, "Fotos"), 3u);
    EXPECT_EQ(index.FindChild(0, "fotos"), FolderIndex::kNone);  // byte for byte
    EXPECT_EQ(index.FindChild(FolderIndex::kNone, "C:"), 0u);
}

TEST(FolderIndex, OddTreesEndWhereTheFillEnds) {
    // Two top-level folders: both are kept, the second after the header lines.
    EXPECT_EQ(
        Shape(FolderIndex::Build(ListingDocument::FromCopy(">|A\n>|A\\B\n<\n<\nkey|v\n>|C\n<\n"))),
        "A[B],C");
    // A close line with no open folder ends the tree: later folders are not seen.
    EXPECT_EQ(Shape(FolderIndex::Build(ListingDocument::FromCopy(">|A\n<\n<\n>|C\n<\n"))), "A");
    EXPECT_EQ(Shape(FolderIndex::Build(ListingDocument::FromCopy("<\n>|A\n<\n"))), "");
    // An empty line inside the tree ends every level at once.
    EXPECT_EQ(
        Shape(FolderIndex::Build(ListingDocument::FromCopy(">|A\n>|A\\B\n\n>|A\\B\\C\n<\n<\n<\n"))),
        "A[B]");
    // A path ending in "\" gives an empty name; the byte after ">" is never part of it.
    const FolderIndex trailing =
        FolderIndex::Build(ListingDocument::FromCopy(">|A\n>xC:\\Data\\\n<\n>\n<\n"));
    ASSERT_EQ(trailing.size(), 3u);
    EXPECT_EQ(trailing.Name(1), "");
    EXPECT_EQ(trailing.Name(2), "");
    // An unclosed tree and the empty document.
    EXPECT_EQ(Shape(FolderIndex::Build(ListingDocument::FromCopy(">|A\n>|B\nf|1|2|3\n"))), "A[B]");
    EXPECT_TRUE(FolderIndex::Build(ListingDocument()).empty());
    EXPECT_EQ(FolderIndex::Build(ListingDocument()).FirstTopLevel(), FolderIndex::kNone);
}

TEST(FolderIndex, AMillionNestedFoldersNeedNoDeepStack) {
    constexpr std::uint32_t kDepth = 1000000;
    std::string text;
    text.reserve(kDepth * 7);
    for (std::uint32_t i = 0; i < kDepth; ++i) {
        text += ">|d\n";
    }
    for (std::uint32_t i = 0; i < kDepth; ++i) {
        text += "<\n";
    }
    text += "x|1|2|\n>|after\n<\n";  // after the root, the top level goes on
    ListingDocument document = ListingDocument::FromCopy(text);
    FolderIndex index = FolderIndex::Build(document);
    ASSERT_EQ(index.size(), kDepth + 1);
    EXPECT_EQ(index.Parent(kDepth - 1), kDepth - 2);
    EXPECT_EQ(index.FirstChild(kDepth - 2), kDepth - 1);
    EXPECT_FALSE(index.HasChildren(kDepth - 1));
    EXPECT_EQ(index.NextSibling(0), kDepth);
    EXPECT_EQ(index.Name(kDepth), "after");

    // Opening all of it goes down the whole chain and back up: two steps a level.
    ExpandAllWalk walk(index, 0, kDepth);
    std::uint32_t steps = 0;
    ExpandAllWalk::Step step{};
    while (!walk.done()) {
        step = walk.Next();
        const std::uint32_t level = steps < kDepth - 1 ? steps : 2 * (kDepth - 1) - 1 - steps;
        ASSERT_EQ(step.folder, level) << steps;
        ++steps;
    }
    EXPECT_EQ(steps, 2 * (kDepth - 1));
    EXPECT_EQ(step.action, ExpandAllWalk::Action::kExpand);
}

// The steps of opening everything below `top`, as "I name" and "E name".
std::vector<std::string> ExpandAllSteps(const FolderIndex& index, FolderIndex::Folder top,
                                        std::uint32_t levels = 100) {
    std::vector<std::string> steps;
    for (ExpandAllWalk walk(index, top, levels); !walk.done();) {
        const ExpandAllWalk::Step step = walk.Next();
        steps.push_back((step.action == ExpandAllWalk::Action::kInsertChildren ? "I " : "E ") +
                        std::string(index.Name(step.folder)));
    }
    return steps;
}

TEST(ExpandAllWalk, ChildrenBeforeTheirVisitAndEachFolderExpandedAfterAllBelowIt) {
    ListingDocument document = ListingDocument::FromCopy(
        ">|R\n>|R\\A\n>|R\\A\\A1\n>|R\\A\\A1\\x\n<\n<\n>|R\\A\\A2\n<\n<\n"
        ">|R\\B\n<\n>|R\\C\n>|R\\C\\C1\n<\n<\n<\n");
    const FolderIndex index = FolderIndex::Build(document);
    ASSERT_EQ(Shape(index), "R[A[A1[x],A2],B,C[C1]]");
    // Folders without subfolders take no step of their own: their parent inserts them.
    EXPECT_EQ(ExpandAllSteps(index, 0),
              (std::vector<std::string>{"I R", "I A", "I A1", "E A1", "E A", "I C", "E C", "E R"}));
    EXPECT_EQ(ExpandAllSteps(index, index.FindChild(0, "C")),
              (std::vector<std::string>{"I C", "E C"}));
    EXPECT_TRUE(ExpandAllSteps(index, index.FindChild(0, "B")).empty());
    EXPECT_TRUE(ExpandAllSteps(index, FolderIndex::kNone).empty());
    // Down to a depth: the folders there are put in, not opened.
    EXPECT_EQ(ExpandAllSteps(index, 0, 2),
              (std::vector<std::string>{"I R", "I A", "E A", "I C", "E C", "E R"}));
    EXPECT_EQ(ExpandAllSteps(index, 0, 1), (std::vector<std::string>{"I R", "E R"}));
    EXPECT_TRUE(ExpandAllSteps(index, 0, 0).empty());
}

std::vector<std::string> RowTexts(const RowSet& rows) {
    std::vector<std::string> texts;
    for (const FileRow& row : rows.rows) {
        const FileLineFields fields = rows.Fields(row);
        texts.push_back(std::string(row.is_folder() ? "D " : "F ") + std::string(fields.name) +
                        "|" + std::string(fields.size) + "|" + std::string(fields.date) + "|" +
                        std::string(fields.status));
    }
    return texts;
}

TEST(FolderRows, SubfoldersThenOnlyTheFirstRunOfFiles) {
    ListingDocument document = ListingDocument::FromCopy(
        ">|R\nb.doc|2 KB|01/02/03 04:05:06|bien\na.txt|700|x|mal|extra\nshort\n"
        ">|R\\S1\ninner|1|2|\n<\nlate.txt|1|2|bien\n>|R\\S2\n<\n<\n");
    FolderIndex index = FolderIndex::Build(document);
    const RowSet rows = BuildFolderRows(document, index, 0);
    EXPECT_EQ(RowTexts(rows),
              (std::vector<std::string>{"D S1|||", "D S2|||", "F b.doc|2 KB|01/02/03 04:05:06|bien",
                                        "F a.txt|700|x|mal|extra", "F short|||"}));
    EXPECT_EQ(rows.rows[0].subfolder(), 2u);
    EXPECT_EQ(rows.rows[1].subfolder(), 3u);
    EXPECT_EQ(rows.rows[2].subfolder(), 0u);
    EXPECT_EQ(rows.status_kinds,
              (std::vector<StatusKind>{StatusKind::Empty, StatusKind::Empty, StatusKind::Good,
                                       StatusKind::Other, StatusKind::Empty}));
    EXPECT_EQ(RowTexts(BuildFolderRows(document, index, 1)),
              (std::vector<std::string>{"F inner|1|2|"}));
    EXPECT_TRUE(BuildFolderRows(document, index, 2).rows.empty());
    EXPECT_TRUE(BuildFolderRows(document, index, FolderIndex::kNone).rows.empty());
}

}  // namespace
}  // namespace tov
