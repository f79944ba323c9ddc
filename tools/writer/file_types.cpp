#include "tools/writer/file_types.h"

#include "listing/file_line.h"
#include "tools/writer/listing_writer.h"

#include <string>

namespace tov::writer {

int StatisticsRowOf(std::string_view file_name) {
    const std::size_t dot = file_name.rfind('.');
    if (dot == std::string_view::npos || file_name.size() - dot > 6) {
        return 0;
    }
    std::string extension(file_name.substr(dot + 1));
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + ('a' - 'A'));
        }
    }
    static const struct {
        std::string_view extension;
        int row;
    } kRows[] = {{"xls", 1}, {"xlsx", 1}, {"xlt", 1}, {"ppt", 2}, {"pptx", 2}, {"pps", 2},
                 {"doc", 3}, {"docx", 3}, {"dot", 3}, {"zip", 4}, {"dwg", 5},  {"dxf", 5},
                 {"jpg", 6}, {"jpeg", 6}, {"bmp", 6}, {"gif", 6}, {"tif", 6},  {"tiff", 6},
                 {"png", 6}, {"mp3", 7},  {"wav", 7}, {"wma", 7}};
    for (const auto& entry : kRows) {
        if (entry.extension == extension) {
            return entry.row;
        }
    }
    return 0;
}

void CheckStatistics::Add(std::string_view file_name, std::string_view status) {
    const CheckStatus check = ReadCheckStatus(status);
    if (check == CheckStatus::NotChecked) {
        return;
    }
    const std::size_t row = static_cast<std::size_t>(StatisticsRowOf(file_name));
    std::array<std::uint64_t, 8>& counts = check == CheckStatus::Good ? good_ : bad_;
    ++counts[0];
    if (row != 0) {
        ++counts[row];
    }
}

void CheckStatistics::Write(ListingBuilder& builder) const {
    for (std::size_t row = 0; row < kStatisticsKeys.size(); ++row) {
        builder.Statistics(kStatisticsKeys[row], good_[row], bad_[row]);
    }
}

}  // namespace tov::writer
