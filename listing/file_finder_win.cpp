#include "listing/file_finder_win.h"

#include <utility>

namespace tov {

FileFinder::FileFinder(std::wstring directory, std::wstring pattern)
    : directory_(std::move(directory)), pattern_(std::move(pattern)) {}

FileFinder::~FileFinder() {
    Reset();
}

bool FileFinder::Next() {
    if (search_ == INVALID_HANDLE_VALUE) {
        const std::wstring path = directory_ + L"\\" + pattern_;
        search_ = FindFirstFileW(path.c_str(), &entry_);
        if (search_ == INVALID_HANDLE_VALUE) {
            last_error_ = GetLastError();
            return false;
        }
        return true;
    }
    if (!FindNextFileW(search_, &entry_)) {
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

std::wstring FileFinder::Path() const {
    return directory_ + L"\\" + entry_.cFileName;
}

}  // namespace tov
