// Reading the lines of the folder tree: folder names, file-line fields and the check status.
#pragma once

#include <cstdint>
#include <string_view>

namespace tov {

// The four fields of a file line, as views into the line. A line with fewer than three "|"
// gives the fields it has; the missing ones are empty.
struct FileLineFields {
    std::string_view name;
    std::string_view size;
    std::string_view date;
    std::string_view status;  // everything after the third "|", further "|" included
};

FileLineFields SplitFileLine(std::string_view line);

enum class CheckStatus { NotChecked, Good, Bad };

// Exactly "bien" is good and exactly "mal" is bad; anything else was not checked.
CheckStatus ReadCheckStatus(std::string_view status);

// A status as a finder of typed text needs it: nearly every status is one of three texts, so a
// byte a row stands for the text of most rows.
enum class StatusKind : std::uint8_t { Empty, Good, Bad, Other };

StatusKind StatusKindOf(std::string_view status);

// The own name of a folder-open line: the text from its third byte, after the last "\".
std::string_view FolderOwnName(std::string_view folder_open_line);

}  // namespace tov
