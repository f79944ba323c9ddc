#include "listing/listing_digest.h"

#include "listing/md5.h"

#include <string>

namespace tov {
namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

}  // namespace

bool CouldBeDigestDigits(const char* digits) {
    for (std::uint32_t i = 0; i < kDigestDigits; ++i) {
        const char c = LowerAscii(digits[i]);
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}

bool VerifyListingDigest(const char* bytes, std::uint32_t length) {
    if (length < kDigestLineLength) {
        return false;  // never asked by the loader; refusing is the only safe answer
    }
    MD5 md5;
    md5.update(bytes, length - kDigestLineLength);
    md5.finalize();
    const std::string computed = md5.hex_digest();

    // Compared like StrCmpNIA with a count of 32: case-blind for ASCII letters, and a NUL on
    // either side ends the comparison.
    const char* written = bytes + (length - kDigestDigitsFromEnd);
    for (std::size_t i = 0; i < kDigestDigits; ++i) {
        const char a = LowerAscii(written[i]);
        const char b = LowerAscii(computed[i]);
        if (a != b) {
            return false;
        }
        if (a == '\0') {
            return true;
        }
    }
    return true;
}

}  // namespace tov
