// The check of the digest line that ends every listing.
#pragma once

#include <cstdint>

namespace tov {

// Length of the digest line: "Hash", one separator byte, 32 hexadecimal digits and the LF.
inline constexpr std::uint32_t kDigestLineLength = 38;

// True when the 32 digits that start 33 bytes before the end of `bytes` are the MD5 digest of
// everything before the digest line, compared without regard to ASCII case. `bytes` is the
// listing exactly as read; the caller guarantees `length` >= kDigestLineLength.
bool VerifyListingDigest(const char* bytes, std::uint32_t length);

// Number of digits of the digest and where they start, counted back from the end of the file.
inline constexpr std::uint32_t kDigestDigits = 32;
inline constexpr std::uint32_t kDigestDigitsFromEnd = 33;

// Whether the 32 bytes at `digits` are all hexadecimal digits. When they are not, no digest can
// match them and the file is refused without reading the rest of it.
bool CouldBeDigestDigits(const char* digits);

}  // namespace tov
