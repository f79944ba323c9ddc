#include "listing/file_finder_win.h"

#include <utility>

namespace tov {

FileFinder::FileFinder(std::string directory, std::string pattern)
    : directory_(std::move(directory)), pattern_(std::move(pattern)) {}

FileFinder::~FileFinder() {
    Reset();
}

bool FileFinder::Next() {
    if (search_ == INVALID_HANDLE_VALUE) {
        const std::string path = directory_ + "\\" + pattern_;
        search_ = FindFirstFileA(path.c_str(), &entry_);
        if (search_ == INVALID_HANDLE_VALUE) {
            last_error_ = GetLastError();
            return false;
        }
        return true;
    }
    if (!FindNextFileA(search_, &entry_)) {
        last_error_ = GetLastError();
        return false;
    }
    return true;
}

unsigned FileFinder::Count() {
    unsigned count = 0;
    while (Next()) {
        ++count;
    }
    return count;
}

void FileFinder::Reset() {
    if (search_ != INVALID_HANDLE_VALUE) {
        FindClose(search_);
        search_ = INVALID_HANDLE_VALUE;
    }
}

std::string FileFinder::Path() const {
    return directory_ + "\\" + entry_.cFileName;
}

}  // namespace tov
