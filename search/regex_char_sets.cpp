#include "search/regex_char_sets.h"

#include <array>

namespace tov {
namespace {

constexpr std::array<std::uint16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

std::uint32_t Cp1252CodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        return kHighControls[byte - 0x80];
    }
    return byte;
}

ByteSet BytesInCodePointRange(std::uint32_t first, std::uint32_t last) {
    ByteSet set;
    for (int byte = 0; byte < 256; ++byte) {
        const std::uint32_t code = Cp1252CodePoint(static_cast<unsigned char>(byte));
        if (code >= first && code <= last) {
            set.Add(static_cast<unsigned char>(byte));
        }
    }
    return set;
}

ByteSet DigitBytes() {
    return BytesInCodePointRange('0', '9');
}

bool IsWordByte(unsigned char byte) {
    return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= 'a' && byte <= 'z') || byte == '_';
}

ByteSet WordBytes() {
    ByteSet set;
    for (int byte = 0; byte < 128; ++byte) {
        if (IsWordByte(static_cast<unsigned char>(byte))) {
            set.Add(static_cast<unsigned char>(byte));
        }
    }
    return set;
}

ByteSet SpaceBytes() {
    // The platform asks the Unicode character type; of what Windows-1252 can encode, these are
    // its white space (0x1C to 0x1F are not, unlike in some C libraries).
    ByteSet set = BytesInCodePointRange(0x09, 0x0D);
    set.Add(0x20);
    set.Add(0xA0);
    return set;
}

ByteSet DotBytes() {
    ByteSet set;
    set.Add('\n');
    set.Add('\r');
    set.Complement();
    return set;
}

}  // namespace tov
