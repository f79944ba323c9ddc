// A listing from a short text, for tests and the sample. The text is UTF-8 (converted to
// Windows-1252) and reads like the listing it makes:
//
//   # comment; blank lines are skipped
//   > C:                                    folder-open line ">|C:"
//     Carta.doc|25 KB|12/03/09 10:15:00|bien
//     > C:\Documentos                       a sub-folder: indented deeper than its parent
//       Oferta.xls|1,5 MB|01/02/08 08:00:00|mal
//     Nota.txt|700|01/02/08 08:00:00|        back at the parent's files after the sub-folder
//   [header]
//   Nº de trabajo|2009/0412
//   Total carpetas|{folders}
//   [statistics]
//   Archivos analizados|{good}|{bad}
//
// Tree lines are written as they stand, except that a leading "> " becomes ">|"; each folder
// is closed with "<" where the indentation falls back to its own level or below, and at the end
// of the tree. Lines of [header] and [statistics] are written as they stand; "[statistics auto]"
// instead writes the eight statistics rows counted from the tree by file extension.
// "{folders}", "{files}", "{good}", "{bad}" and "{unchecked}" in those sections give the counts
// of the tree above. "{xNN}" anywhere gives the byte 0xNN (for CR, "|" in odd places, bytes
// that are not UTF-8). The digest line is added at the end. For listings this cannot express
// (unbalanced folders, "<" lines with text, empty lines), use ListingBuilder.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tov::writer {

class ListingBuilder;

class DescriptionError : public std::runtime_error {
  public:
    DescriptionError(int line, const std::string& what);
    int line() const { return line_; }

  private:
    int line_;
};

// Writes the described tree, header and statistics to `builder`, without the digest line.
void WriteDescribedListing(std::string_view description, ListingBuilder& builder);

// The described listing with its digest line.
std::string ListingFromDescription(std::string_view description);

}  // namespace tov::writer
