#include "listing/listing_digest.h"
#include "tools/writer/listing_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace tov {
namespace {

bool Verify(const std::string& listing) {
    return VerifyListingDigest(listing.data(), static_cast<std::uint32_t>(listing.size()));
}

const std::string kBody =
    ">|C:\nInforme.doc|25 KB|12/03/09 10:15:00|bien\nFoto.jpg|1,5 MB|01/01/08 00:00:00|mal\n<\n"
    "Marca|Seagate\nArchivos analizados|1|1\n";

TEST(ListingDigest, WrittenListingIsAcceptedAlsoWithCapitalDigits) {
    const std::string listing = writer::AppendDigestLine(kBody);
    ASSERT_EQ(listing.size(), kBody.size() + 38);
    EXPECT_EQ(listing.substr(kBody.size(), 5), "Hash|");
    EXPECT_TRUE(Verify(listing));

    std::string capitals = listing;
    for (std::size_t i = capitals.size() - 33; i < capitals.size() - 1; ++i) {
        capitals[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(capitals[i])));
    }
    ASSERT_NE(capitals, listing);  // the digest has letters to change
    EXPECT_TRUE(Verify(capitals));
}

TEST(ListingDigest, AnyChangedByteBeforeTheDigestLineIsRefused) {
    const std::string listing = writer::AppendDigestLine(kBody);
    for (std::size_t i = 0; i < kBody.size(); ++i) {
        std::string altered = listing;
        altered[i] = static_cast<char>(altered[i] ^ (altered[i] == '\n' ? 0x0A : 0x01));
        EXPECT_FALSE(Verify(altered)) << "byte " << i;
    }
    // A line feed removed and a line feed added move the digest line; both are refused.
    std::string shorter = listing;
    shorter.erase(4, 1);
    EXPECT_FALSE(Verify(shorter));
    std::string longer = listing;
    longer.insert(longer.begin(), '\n');
    EXPECT_FALSE(Verify(longer));
}

TEST(ListingDigest, HashWordSeparatorAndFinalByteAreNotExamined) {
    std::string listing = writer::AppendDigestLine(kBody);
    const std::size_t line = kBody.size();
    listing.replace(line, 5, "hsah#");
    listing.back() = 'Z';
    EXPECT_TRUE(Verify(listing));
}

TEST(ListingDigest, WrongDigitsAndNulsAreRefused) {
    const std::string listing = writer::AppendDigestLine(kBody);
    for (std::size_t i = listing.size() - 33; i < listing.size() - 1; ++i) {
        std::string altered = listing;
        altered[i] = altered[i] == '0' ? '1' : '0';
        EXPECT_FALSE(Verify(altered)) << "digit " << i;
        altered[i] = '\0';
        EXPECT_FALSE(Verify(altered)) << "NUL at digit " << i;
    }
}

// The quick test the loader makes before reading a file: digits of either case pass, and every
// byte that is not a hexadecimal digit, in any of the 32 places, refuses the file, as the full
// check would.
TEST(ListingDigest, OnlyHexadecimalDigitsCanBeADigest) {
    const std::string listing = writer::AppendDigestLine(kBody);
    std::string digits = listing.substr(listing.size() - kDigestDigitsFromEnd, kDigestDigits);
    EXPECT_TRUE(CouldBeDigestDigits(digits.c_str()));
    EXPECT_TRUE(CouldBeDigestDigits("0123456789abcdefABCDEF0000000000"));
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        for (const std::size_t place : {std::size_t{0}, std::size_t{17}, std::size_t{31}}) {
            std::string altered = digits;
            altered[place] = c;
            EXPECT_EQ(CouldBeDigestDigits(altered.c_str()), hex) << byte << " at " << place;
            if (!hex) {
                std::string file = listing;
                file[file.size() - kDigestDigitsFromEnd + place] = c;
                EXPECT_FALSE(Verify(file)) << byte << " at " << place;
            }
        }
    }
    EXPECT_FALSE(CouldBeDigestDigits(std::string(32, '\0').c_str()));
}

// With CR LF line ends the digits stand one byte later than where they are looked for.
TEST(ListingDigest, CrLfListingIsRefused) {
    std::string crlf_body;
    for (char c : kBody) {
        if (c == '\n') {
            crlf_body += '\r';
        }
        crlf_body += c;
    }
    std::string listing = writer::AppendDigestLine(crlf_body);
    ASSERT_TRUE(Verify(listing));  // a CR inside lines is just data
    listing.insert(listing.end() - 1, '\r');
    EXPECT_FALSE(Verify(listing));
}

// The smallest listing the loader accepts (it refuses 37 bytes and fewer before asking):
// the digest line alone with the digest of no bytes.
TEST(ListingDigest, DigestLineAloneOfEmptyInput) {
    const std::string listing = writer::AppendDigestLine("");
    EXPECT_EQ(listing, "Hash|d41d8cd98f00b204e9800998ecf8427e\n");
    EXPECT_TRUE(Verify(listing));
    EXPECT_TRUE(Verify("HASH D41D8CD98F00B204E9800998ECF8427E\n"));
    EXPECT_FALSE(Verify("Hash|d41d8cd98f00b204e9800998ecf8427f\n"));
    // Below 38 bytes there is no digest line; refused rather than read before the buffer.
    EXPECT_FALSE(VerifyListingDigest(listing.data() + 1, 37));
}

}  // namespace
}  // namespace tov
