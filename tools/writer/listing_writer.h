// Writes listings with a correct digest line for tests, the sample and benchmarks. The program
// itself never writes listings. Everything here is standard C++, so that the Windows-side tests
// can make their listings too.
//
//   ListingBuilder         line by line (any bytes allowed), in memory or streamed to a file
//   AppendDigestLine       the digest line after a body written by hand
//   listing_description.h  a listing from a short indented text
//   synthetic_listing.h    N files in M folders, deterministic from a seed
//   sample_listing.h       the sample job in examples/
#pragma once

#include "listing/md5.h"

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace tov::writer {

// The work-header keys and the statistics type keys, as Windows-1252 bytes, in the order the
// program recognises them.
extern const std::array<std::string_view, 13> kHeaderKeys;
extern const std::array<std::string_view, 8> kStatisticsKeys;

// "Hash|", the 32 lower-case digits of the MD5 of `body`, and a line feed.
std::string DigestLine(std::string_view body);

// `body` followed by its digest line. The body is digested as it is, whatever it holds; for the
// digest line to stand on its own line the body must be empty or end in a line feed.
std::string AppendDigestLine(std::string body);

// UTF-8 text to Windows-1252 bytes. Bytes that do not form UTF-8 pass through unchanged (so
// text already in Windows-1252 survives); a character that Windows-1252 lacks throws
// std::invalid_argument.
std::string Cp1252FromUtf8(std::string_view utf8);
std::string Utf8FromCp1252(std::string_view cp1252);

// Sizes as the laboratory writes them: "700", "1,5 KB", "234 KB", "3,2 MB", "1,1 GB".
std::string FormatSize(std::uint64_t bytes);
// "dd/mm/yy hh:mm:ss"; the year as four digits (1970-2069).
std::string FormatDate(int day, int month, int year, int hour, int minute, int second);

// Builds a listing line by line and appends the digest line on Finish(). Nothing is checked:
// any bytes may be written, so tests can make malformed listings that still verify.
class ListingBuilder {
  public:
    // Keeps the listing in memory; Finish() returns it.
    ListingBuilder();
    // Streams the listing to `out` (opened in binary mode) in large chunks, digesting on the
    // way; Finish() writes the digest line and returns an empty string.
    explicit ListingBuilder(std::ostream& out);

    ListingBuilder(const ListingBuilder&) = delete;
    ListingBuilder& operator=(const ListingBuilder&) = delete;

    ListingBuilder& OpenFolder(std::string_view path);  // ">|path"
    ListingBuilder& CloseFolder();                      // "<"
    ListingBuilder& File(std::string_view name, std::string_view size, std::string_view date,
                         std::string_view status);  // "name|size|date|status"
    ListingBuilder& Header(std::string_view key, std::string_view value);  // "key|value"
    ListingBuilder& Statistics(std::string_view type, std::uint64_t good, std::uint64_t bad);
    // A folder-open or file line written as it stands (a line feed added), counted as such.
    ListingBuilder& FolderLine(std::string_view line);
    ListingBuilder& FileLine(std::string_view line);
    ListingBuilder& Line(std::string_view text);  // the text and a line feed
    ListingBuilder& Raw(std::string_view bytes);  // the bytes as they are

    // Appends the digest line of everything written so far. Once only.
    std::string Finish();

    // Bytes written so far (the digest line included after Finish()).
    std::uint64_t size() const { return size_; }
    // The 32 digest digits; empty before Finish().
    const std::string& digest() const { return digest_; }

    // What was written through OpenFolder()/FolderLine() and File()/FileLine(): folders opened,
    // files, and files whose status reads as good or bad.
    std::uint64_t folders() const { return folders_; }
    std::uint64_t files() const { return files_; }
    std::uint64_t good() const { return good_; }
    std::uint64_t bad() const { return bad_; }

  private:
    void Append(std::string_view bytes);
    void FlushChunk();

    std::string buffer_;
    std::ostream* out_ = nullptr;
    MD5 md5_;
    std::uint64_t size_ = 0;
    std::string digest_;
    bool finished_ = false;
    std::uint64_t folders_ = 0;
    std::uint64_t files_ = 0;
    std::uint64_t good_ = 0;
    std::uint64_t bad_ = 0;
};

// Writes `bytes` to the file at `path` (binary); throws std::runtime_error on failure.
void WriteFileBytes(const std::string& path, std::string_view bytes);

}  // namespace tov::writer

#include "tools/writer/listing_description.h"
#include "tools/writer/sample_listing.h"
#include "tools/writer/synthetic_listing.h"
