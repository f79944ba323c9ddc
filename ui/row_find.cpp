#include "ui/row_find.h"

namespace tov {

RowFind::RowFind(std::string_view wanted, bool prefix)
    : lower_wanted_(LowerCp1252Copy(wanted)), prefix_(prefix) {}

bool RowFind::Matches(std::string_view text) const {
    if (prefix_ ? text.size() < lower_wanted_.size() : text.size() != lower_wanted_.size()) {
        return false;
    }
    for (std::size_t i = 0; i < lower_wanted_.size(); ++i) {
        if (LowerCp1252(static_cast<unsigned char>(text[i])) !=
            static_cast<unsigned char>(lower_wanted_[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace tov
