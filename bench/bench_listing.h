// The listing every core benchmark works on: the file named by TOV_BENCH_LISTING, read once,
// or, without it, a synthetic listing of 1,000,000 files in 20,000 folders made in memory.
#pragma once

#include <string>

#include "listing/listing_document.h"
#include "search/search_walk.h"
#include "listing/folder_index.h"

namespace tov::bench {

// The listing's bytes as they are in the file (line feeds, digest line).
const std::string& ListingBytes();

// The same bytes loaded: line feeds turned into NULs.
const ListingDocument& BenchDocument();

const FolderIndex& BenchFolderIndex();

// Every folder and file of the tree as search results ("All files"), in listing order.
const RowSet& AllRows();

// Folders and files a search tests: one name each.
double NamesInTree();

}  // namespace tov::bench
