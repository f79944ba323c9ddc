// The work summary of a listing: the job details of the header as lines of text and the check
// statistics as rows, with the Spanish keys of the listing replaced by labels of the
// user-interface language. The labels come in as data, so this stays free of the platform.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "listing/listing_document.h"

namespace tov {

inline constexpr std::size_t kHeaderKeyCount = 13;
inline constexpr std::size_t kStatisticsKeyCount = 8;

// A listing has 13 header lines and 8 statistics lines; one written to have a million would
// keep the summary's controls busy for minutes. Past these many the rest is counted, not shown.
inline constexpr std::size_t kMaxWorkLines = 1000;
inline constexpr std::size_t kMaxCheckRows = 1000;

// Keys as they stand in a listing (Windows-1252 bytes), in the order they are tried.
extern const std::array<std::string_view, kHeaderKeyCount> kHeaderKeys;
extern const std::array<std::string_view, kStatisticsKeyCount> kStatisticsKeys;

// One label per key, in the order of the keys. Each label is a printf-style text whose "%s"
// receives the rest of the line after the key.
struct WorkSummaryLabels {
    std::array<std::string, kHeaderKeyCount> header;
    std::array<std::string, kStatisticsKeyCount> statistics;
    std::string left_out;  // its "%s" receives the number of lines not shown
};

struct CheckRow {
    std::string type;
    std::string good;
    std::string bad;
};

struct WorkSummary {
    std::vector<std::string> work_lines;  // header lines, translated, "|" shown as ":\t"
    std::vector<CheckRow> check_rows;     // statistics lines, translated and split
};

// The label with `rest` put where its "%s" stands, as printf would produce it, except that
// `rest` is only ever inserted, never read as a format. "%%" gives "%"; a label without "%s"
// is shown alone.
std::string FormatLabel(std::string_view label, std::string_view rest);

// Replaces the line by the label of every key it begins with, tried in order; a later key is
// tested against the line as already replaced.
std::string TranslateLine(std::string_view line, const std::string_view* keys,
                          const std::string* labels, std::size_t count);

// Splits a translated statistics line: the type before the first "|" (the whole line when it
// has none), the good count up to the second "|", the bad count after it (further "|"
// included). A part that is absent stays empty.
CheckRow SplitCheckRow(std::string_view line);

// Skips the folder tree, then reads the header up to the line beginning with
// "Archivos analizados" and the statistics from it up to the line beginning with "Hash". Past
// kMaxWorkLines header lines or kMaxCheckRows statistics lines the rest of that section is
// counted, and a last line (or a row with the line as its type) says how many were left out.
WorkSummary ReadWorkSummary(const ListingDocument& document, const WorkSummaryLabels& labels);

}  // namespace tov
