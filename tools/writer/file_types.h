// The check-statistics rows that a file counts in, by its extension, as the laboratory's check
// groups them; used to write statistics that agree with the tree.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tov::writer {

class ListingBuilder;

// Row of kStatisticsKeys for a file name: 1 Excel ... 7 sound; 0 for a type the check does
// not know. The extension is compared without regard to ASCII case.
int StatisticsRowOf(std::string_view file_name);

// Good and bad counts per statistics row; row 0 holds the totals over every file.
class CheckStatistics {
  public:
    void Add(std::string_view file_name, std::string_view status);
    // Writes the eight rows in the order of kStatisticsKeys.
    void Write(ListingBuilder& builder) const;

    std::uint64_t good(int row) const { return good_[static_cast<std::size_t>(row)]; }
    std::uint64_t bad(int row) const { return bad_[static_cast<std::size_t>(row)]; }

  private:
    std::array<std::uint64_t, 8> good_{};
    std::array<std::uint64_t, 8> bad_{};
};

}  // namespace tov::writer
