// Arbitrary bytes as a loaded listing: the line walk, the split of every line, the folder index
// and the rows of every folder never read outside the buffer, and the index is consistent with
// the lines it points to.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fuzz/fuzz_checks.h"
#include "listing/file_line.h"
#include "listing/listing_document.h"
#include "listing/folder_index.h"

using tov::fuzz::Require;
using tov::fuzz::Within;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size >= 0xFFFFFFFFu) {
        return 0;
    }
    const tov::ListingDocument document =
        tov::ListingDocument::FromCopy(std::string_view(reinterpret_cast<const char*>(data), size));

    tov::LineOffset offset = 0;
    while (!document.AtEnd(offset)) {
        const std::string_view line = document.Line(offset);
        Require(Within(document, line) && !line.empty() && line[0] == document.FirstByte(offset));
        const tov::FileLineFields fields = tov::SplitFileLine(line);
        Require(Within(document, fields.name) && Within(document, fields.size) &&
                Within(document, fields.date) && Within(document, fields.status));
        Require(fields.name.find('|') == std::string_view::npos);
        (void)tov::ReadCheckStatus(fields.status);
        Require(Within(document, tov::FolderOwnName(line)));
        const tov::LineOffset next = document.NextLine(offset);
        Require(next == offset + line.size() + 1);
        offset = next;
    }
    Require(document.NextLine(offset) == offset);

    const tov::FolderIndex index = tov::FolderIndex::Build(document);
    for (tov::FolderIndex::Folder folder = 0; folder < index.size(); ++folder) {
        const tov::LineOffset line_offset = index.Offset(folder);
        Require(document.FirstByte(line_offset) == '>');
        Require(folder == 0 || index.Offset(folder - 1) < line_offset);
        Require(index.FindByOffset(line_offset) == folder);
        Require(Within(document, index.Name(folder)));
        const tov::FolderIndex::Folder parent = index.Parent(folder);
        Require(parent == tov::FolderIndex::kNone || parent < folder);
        for (tov::FolderIndex::Folder child = index.FirstChild(folder);
             child != tov::FolderIndex::kNone; child = index.NextSibling(child)) {
            Require(child > folder && child < index.size() && index.Parent(child) == folder);
        }
        const tov::FolderIndex::Folder named = index.FindChild(parent, index.Name(folder));
        Require(named != tov::FolderIndex::kNone && named <= folder &&
                index.Name(named) == index.Name(folder));

        const tov::RowSet rows = tov::BuildFolderRows(document, index, folder);
        for (const tov::FileRow& row : rows.rows) {
            const tov::FileLineFields fields = rows.Fields(row);
            Require(Within(document, fields.name) && Within(document, fields.size) &&
                    Within(document, fields.date) && Within(document, fields.status));
            Require(row.path_prefix < rows.levels.size());
            Require(!row.is_folder() ||
                    (row.subfolder() >= 1 && row.subfolder() - 1 < index.size() &&
                     index.Parent(row.subfolder() - 1) == folder));
        }
    }
    Require(index.FindByOffset(static_cast<tov::LineOffset>(document.size())) ==
            tov::FolderIndex::kNone);
    return 0;
}
