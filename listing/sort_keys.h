// Numeric keys for sorting file lines by their size and date fields, read as the text is
// written by the laboratory ("1,5 KB", "24/12/08 17:30:05").
#pragma once

#include <cstdint>
#include <string_view>

namespace tov {

// The leading decimal number of the field ("," read as "."), times 1024, 1048576 or
// 1073741824 when the field ends in "KB", "MB" or "GB" (case-sensitive). No number reads 0.
double ReadSizeForSorting(std::string_view size);

// Key of a date field that no date can be read from: lower than every readable date, so such
// files sort together before all others.
inline constexpr std::int64_t kUnreadableDateKey = -1;

// Seconds from 1970-01-01 00:00:00 of the date and time written as two-digit groups at
// characters 1-2 (day), 4-5 (month), 7-8 (year, 70-99 in the 1900s, 00-69 in the 2000s),
// 10-11 (hour), 13-14 (minute) and 16-17 (second). Out-of-range values carry over as in a
// calendar (month 13 is January of the next year, day 0 the last day of the month before).
// The same for every time zone. A field shorter than 17 characters, a group that is not two
// digits, or a date that falls outside 1970-3000 gives kUnreadableDateKey.
std::int64_t ReadDateForSorting(std::string_view date);

}  // namespace tov
