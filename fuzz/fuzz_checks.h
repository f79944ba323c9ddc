// What the fuzz targets check with: a failed check stops the run as a finding.
#pragma once

#include <cstdlib>
#include <string_view>

#include "listing/listing_document.h"

namespace tov::fuzz {

inline void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// True when `view` is empty or lies inside the document's buffer.
inline bool Within(const ListingDocument& document, std::string_view view) {
    const char* begin = document.data();
    return view.empty() ||
           (view.data() >= begin && view.data() + view.size() <= begin + document.size());
}

}  // namespace tov::fuzz
