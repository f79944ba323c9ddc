#include "listing/cp1252.h"

#include <array>

namespace tov {
namespace {

constexpr std::array<unsigned char, 256> MakeLowerTable() {
    std::array<unsigned char, 256> table{};
    for (int byte = 0; byte < 256; ++byte) {
        table[byte] = static_cast<unsigned char>(byte);
    }
    for (int byte = 'A'; byte <= 'Z'; ++byte) {
        table[byte] = static_cast<unsigned char>(byte + 0x20);
    }
    // Accented capitals; 0xD7 is the multiplication sign and has no lower case.
    for (int byte = 0xC0; byte <= 0xDE; ++byte) {
        if (byte != 0xD7) {
            table[byte] = static_cast<unsigned char>(byte + 0x20);
        }
    }
    table[0x8A] = 0x9A;  // S caron
    table[0x8C] = 0x9C;  // OE ligature
    table[0x8E] = 0x9E;  // Z caron
    table[0x9F] = 0xFF;  // Y diaeresis
    return table;
}

constexpr std::array<unsigned char, 256> kLower = MakeLowerTable();

}  // namespace

unsigned char LowerCp1252(unsigned char byte) {
    return kLower[byte];
}

void LowerCp1252InPlace(std::string& text) {
    for (char& c : text) {
        c = static_cast<char>(kLower[static_cast<unsigned char>(c)]);
    }
}

std::string LowerCp1252Copy(std::string_view text) {
    std::string copy(text);
    LowerCp1252InPlace(copy);
    return copy;
}

int CompareNoCaseCp1252(std::string_view a, std::string_view b) {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const int la = kLower[static_cast<unsigned char>(a[i])];
        const int lb = kLower[static_cast<unsigned char>(b[i])];
        if (la != lb) {
            return la - lb;
        }
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

}  // namespace tov
