#include "search/file_type_class.h"

#include "res/resource.h"

namespace tov {
namespace {

// The ids after IDS_CLASS_VIDEO hold other texts, so the last class has an id of its own. The image
// row also takes "dwg", which its label does not name.
constexpr std::array<FileTypeClass, kFileTypeClassCount> kClasses{{
    {IDS_CLASS_ALL, "\\.*"},
    {IDS_CLASS_WORD, "\\.(doc|dot)$"},
    {IDS_CLASS_EXCEL, "\\.xls$"},
    {IDS_CLASS_POWERPOINT, "\\.(ppt|pps)$"},
    {IDS_CLASS_COMPRESSED, "\\.(zip|rar|ace|cab)$"},
    {IDS_CLASS_EMAIL, "\\.(eml|pst|dbx)$"},
    {IDS_CLASS_IMAGE, "\\.(jpeg|jpg|gif|bmp|png|tif|tiff|dwg)$"},
    {IDS_CLASS_MUSIC, "\\.(mp3|wav|asf|wma|snd|mid|midi|au|aif)$"},
    {IDS_CLASS_VIDEO, "\\.(avi|mpeg|mpg|mov|wmv|vob)$"},
    {IDS_CLASS_SQLSERVER, "\\.(mdf|ldf)$"},
}};

}  // namespace

const std::array<FileTypeClass, kFileTypeClassCount>& FileTypeClasses() {
    return kClasses;
}

}  // namespace tov
