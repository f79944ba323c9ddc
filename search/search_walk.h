// The search walk over the listing's folder tree: every folder and file line in document order,
// each folder before its contents, tested by name and collected as result rows.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "listing/file_row.h"
#include "listing/listing_document.h"
#include "search/pattern_matcher.h"

namespace tov {

// The toolbar's check-status filters, read once when a search starts.
struct CheckStatusFilters {
    bool only_good = false;
    bool only_bad = false;
};

// The expression a search tests names with: typed text made a wildcard pattern
// (EscapeTypedPattern), a class expression taken as it is; then the whole lower-cased.
std::string SearchExpression(std::string_view pattern, bool is_class);

// A borrowed name test: called with each candidate name, already lower-cased. It refers to the
// callable it was made from, which must outlive it.
class NameTest {
  public:
    template <typename Test,
              typename = std::enable_if_t<!std::is_same_v<std::decay_t<Test>, NameTest>>>
    NameTest(Test& test)  // NOLINT: implicit on purpose, like a function reference
        : object_(&test), call_([](const void* object, std::string_view name) {
              return static_cast<bool>((*static_cast<Test*>(const_cast<void*>(object)))(name));
          }) {}

    bool operator()(std::string_view name) const {
        return call_ == nullptr || call_(object_, name);
    }

    // A test that passes every name: the walk then skips lower-casing and testing.
    static NameTest Everything() { return NameTest(); }
    bool passes_everything() const { return object_ == nullptr; }

  private:
    NameTest() : object_(nullptr), call_(nullptr) {}

    const void* object_;
    bool (*call_)(const void*, std::string_view);
};

// Appends one row per matching folder or file to `results` (rows and levels are added, never
// removed). Folders are tested by their own name, files by their name field, and only when
// neither filter is on; with a filter on, only file lines whose status is exactly "bien" (Good)
// or "mal" (Bad) are tested.
//
// What the walk takes as the tree: every folder that opens on the top level, with all it holds.
// Lines on the top level that do not open a folder are not files (the work header, statistics
// and digest follow the root folder there), so they never become results. A folder-close line
// on the top level, an empty line or the end of the document ends the walk.
void SearchFolderLevels(const ListingDocument& document, CheckStatusFilters filters, NameTest test,
                        RowSet& results);

struct SearchOutcome {
    RowSet rows;                          // in document order
    std::optional<PatternError> refused;  // set when the pattern could not be compiled
};

// One whole search: the expression compiled once, then the walk over the document.
SearchOutcome SearchListing(const ListingDocument& document, std::string_view pattern,
                            bool is_class, CheckStatusFilters filters);

}  // namespace tov
