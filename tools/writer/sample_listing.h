// The sample listing of examples/sample.tov: a small recovery job of 200 files in 25 folders,
// kept here as its description so that it can be written again.
#pragma once

#include <string>
#include <string_view>

namespace tov::writer {

// The description (UTF-8) the sample is written from.
std::string_view SampleDescription();

// The sample listing, digest line included.
std::string MakeSampleListing();

}  // namespace tov::writer
