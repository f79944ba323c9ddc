// The loaded listing in memory: the file's bytes with every LF turned into NUL plus one final NUL,
// so that each line is a NUL-terminated string in place. Lines are addressed by their 32-bit
// byte offset; nothing is copied per line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace tov {

using LineOffset = std::uint32_t;

class ListingDocument {
  public:
    // The empty document: one NUL byte. Every walker finds nothing in it.
    ListingDocument();

    // Takes a buffer of length + 1 bytes whose first `length` bytes are the file as read, turns
    // every LF into NUL and stores a NUL at [length]. `length` must be below 4 GiB - 1.
    static ListingDocument FromFileBytes(std::unique_ptr<char[]> buffer, std::uint32_t length);

    // A document from a copy of the file's bytes (tests and tools; the loader reads in place).
    static ListingDocument FromCopy(std::string_view file_bytes);

    ListingDocument(ListingDocument&&) noexcept = default;
    ListingDocument& operator=(ListingDocument&&) noexcept = default;

    // The whole buffer, final NUL included.
    const char* data() const { return data_.get(); }
    std::size_t size() const { return size_; }

    // The number of lines ended by LF, and the last one if it has none. (A NUL byte in the file
    // ends a line too; those are not counted.)
    std::size_t LineCount() const { return line_count_; }

    // True at the final NUL or at an empty line; also for any offset past the buffer.
    bool AtEnd(LineOffset offset) const { return offset >= size_ || data_[offset] == '\0'; }

    // First byte of the line (NUL at the end of the document).
    char FirstByte(LineOffset offset) const { return offset < size_ ? data_[offset] : '\0'; }

    // The line's text, without its terminating NUL. Empty at the end of the document.
    std::string_view Line(LineOffset offset) const;

    // Offset of the line after this one. At the end of the document it stays where it is, so a
    // walk can never step past the buffer.
    LineOffset NextLine(LineOffset offset) const;

  private:
    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
    std::size_t line_count_ = 0;
};

}  // namespace tov
