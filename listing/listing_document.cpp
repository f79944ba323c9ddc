#include "listing/listing_document.h"

#include "listing/byte_scan.h"

namespace tov {

ListingDocument::ListingDocument() : data_(std::make_unique<char[]>(1)), size_(1) {
    data_[0] = '\0';
}

ListingDocument ListingDocument::FromFileBytes(std::unique_ptr<char[]> buffer,
                                               std::uint32_t length) {
    ListingDocument document;
    char* bytes = buffer.get();
    char* const end = bytes + length;
    // A byte-by-byte replace is several times slower on large listings.
    std::size_t lines = 0;
    for (char* at = bytes;
         (at = FindByte(at, static_cast<std::size_t>(end - at), '\n')) != nullptr;) {
        *at++ = '\0';
        ++lines;
    }
    if (length != 0 && end[-1] != '\0') {
        ++lines;  // the last line has no LF
    }
    *end = '\0';
    document.line_count_ = lines;
    document.data_ = std::move(buffer);
    document.size_ = std::size_t{length} + 1;
    return document;
}

ListingDocument ListingDocument::FromCopy(std::string_view file_bytes) {
    auto buffer = std::make_unique<char[]>(file_bytes.size() + 1);
    if (!file_bytes.empty()) {  // an empty view may have no data at all
        std::memcpy(buffer.get(), file_bytes.data(), file_bytes.size());
    }
    return FromFileBytes(std::move(buffer), static_cast<std::uint32_t>(file_bytes.size()));
}

std::string_view ListingDocument::Line(LineOffset offset) const {
    if (AtEnd(offset)) {
        return {};
    }
    const char* start = data_.get() + offset;
    // The final NUL bounds every search, so the scan cannot run off the buffer.
    const char* nul = FindByte(start, size_ - offset, '\0');
    return {start, static_cast<std::size_t>(nul - start)};
}

LineOffset ListingDocument::NextLine(LineOffset offset) const {
    if (AtEnd(offset)) {
        return offset;
    }
    return offset + static_cast<LineOffset>(Line(offset).size()) + 1;
}

}  // namespace tov
