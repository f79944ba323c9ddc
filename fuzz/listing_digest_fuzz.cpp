// The digest check on arbitrary bytes of at least the digest line's length, as the loader calls
// it, and on the same bytes given their own correct digest line: that one always verifies, and
// spoiling one byte of the body or one digit makes it fail.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/fuzz_checks.h"
#include "listing/listing_digest.h"
#include "tools/writer/listing_writer.h"

using tov::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (size >= tov::kDigestLineLength) {
        (void)tov::VerifyListingDigest(bytes.data(), static_cast<std::uint32_t>(size));
    }

    std::string listing = tov::writer::AppendDigestLine(std::string(bytes));
    const auto length = static_cast<std::uint32_t>(listing.size());
    Require(length == size + tov::kDigestLineLength);
    Require(tov::VerifyListingDigest(listing.data(), length));

    // Upper-case digits are as good as lower-case ones.
    std::string upper = listing;
    for (std::size_t i = size + 5; i < upper.size() - 1; ++i) {
        if (upper[i] >= 'a' && upper[i] <= 'f') {
            upper[i] = static_cast<char>(upper[i] - 'a' + 'A');
        }
    }
    Require(tov::VerifyListingDigest(upper.data(), length));

    if (size > 0) {
        std::string spoiled = listing;
        spoiled[data[0] % size] ^= 0x01;
        Require(!tov::VerifyListingDigest(spoiled.data(), length));
    }
    std::string wrong_digit = listing;
    char& digit = wrong_digit[size + 5 + (size % 32)];
    digit = digit == '0' ? '1' : '0';
    Require(!tov::VerifyListingDigest(wrong_digit.data(), length));
    return 0;
}
