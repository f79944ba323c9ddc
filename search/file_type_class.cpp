#include "search/file_type_class.h"

namespace tov {
namespace {

// Ids 141 to 148 hold other texts, so the last class uses 149. The image row also takes "dwg",
// which its label does not name.
constexpr std::array<FileTypeClass, kFileTypeClassCount> kClasses{{
    {132, "\\.*"},
    {133, "\\.(doc|dot)$"},
    {134, "\\.xls$"},
    {135, "\\.(ppt|pps)$"},
    {136, "\\.(zip|rar|ace|cab)$"},
    {137, "\\.(eml|pst|dbx)$"},
    {138, "\\.(jpeg|jpg|gif|bmp|png|tif|tiff|dwg)$"},
    {139, "\\.(mp3|wav|asf|wma|snd|mid|midi|au|aif)$"},
    {140, "\\.(avi|mpeg|mpg|mov|wmv|vob)$"},
    {149, "\\.(mdf|ldf)$"},
}};

}  // namespace

const std::array<FileTypeClass, kFileTypeClassCount>& FileTypeClasses() {
    return kClasses;
}

}  // namespace tov
