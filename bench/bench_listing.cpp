#include "bench/bench_listing.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "search/file_type_class.h"
#include "tools/writer/listing_writer.h"
#include "tools/writer/synthetic_listing.h"

namespace tov::bench {

const std::string& ListingBytes() {
    static const std::string bytes = [] {
        const char* path = std::getenv("TOV_BENCH_LISTING");
        if (path == nullptr || *path == '\0') {
            writer::SyntheticOptions options;
            options.files = 1'000'000;
            options.folders = 20'000;
            options.depth = 8;
            return writer::MakeSyntheticListing(options);
        }
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", path);
            std::exit(2);
        }
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }();
    return bytes;
}

const ListingDocument& BenchDocument() {
    static const ListingDocument document = ListingDocument::FromCopy(ListingBytes());
    return document;
}

const FolderIndex& BenchFolderIndex() {
    static const FolderIndex index = FolderIndex::Build(BenchDocument());
    return index;
}

const RowSet& AllRows() {
    static const RowSet rows =
        SearchListing(BenchDocument(), FileTypeClasses()[0].expression, true, {}).rows;
    return rows;
}

double NamesInTree() {
    return static_cast<double>(AllRows().rows.size());
}

}  // namespace tov::bench
