#include "listing/listing_digest.h"

#include "listing/md5.h"

#include <string>

namespace tov {
namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

}  // namespace

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
    const char* written = bytes + (length - 33);
    for (std::size_t i = 0; i < 32; ++i) {
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
