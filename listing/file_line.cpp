#include "listing/file_line.h"

#include "listing/byte_scan.h"

namespace tov {

FileLineFields SplitFileLine(std::string_view line) {
    FileLineFields fields;
    std::string_view* targets[] = {&fields.name, &fields.size, &fields.date};
    for (std::string_view* target : targets) {
        const std::size_t bar = FindByte(line, '|');
        if (bar == std::string_view::npos) {
            *target = line;
            return fields;
        }
        *target = line.substr(0, bar);
        line.remove_prefix(bar + 1);
    }
    fields.status = line;
    return fields;
}

CheckStatus ReadCheckStatus(std::string_view status) {
    if (status == "bien") {
        return CheckStatus::Good;
    }
    if (status == "mal") {
        return CheckStatus::Bad;
    }
    return CheckStatus::NotChecked;
}

StatusKind StatusKindOf(std::string_view status) {
    switch (ReadCheckStatus(status)) {
        case CheckStatus::Good:
            return StatusKind::Good;
        case CheckStatus::Bad:
            return StatusKind::Bad;
        case CheckStatus::NotChecked:
            break;
    }
    return status.empty() ? StatusKind::Empty : StatusKind::Other;
}

std::string_view FolderOwnName(std::string_view folder_open_line) {
    if (folder_open_line.size() <= 2) {
        return {};
    }
    std::string_view path = folder_open_line.substr(2);
    const std::size_t last = path.rfind('\\');
    return last == std::string_view::npos ? path : path.substr(last + 1);
}

}  // namespace tov
