#include "listing/md5.h"

#include <bit>
#include <cstdio>
#include <cstring>

namespace tov {
namespace {

inline std::uint32_t LoadLittle(const unsigned char* p) {
    if constexpr (std::endian::native == std::endian::little) {
        std::uint32_t word;
        std::memcpy(&word, p, sizeof word);  // unaligned input is fine; compiles to one load
        return word;
    } else {
        return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
               std::uint32_t{p[3]} << 24;
    }
}

inline void StoreLittle(unsigned char* p, std::uint32_t word) {
    p[0] = static_cast<unsigned char>(word);
    p[1] = static_cast<unsigned char>(word >> 8);
    p[2] = static_cast<unsigned char>(word >> 16);
    p[3] = static_cast<unsigned char>(word >> 24);
}

// The round functions in forms with shorter dependency chains than the textbook ones; they
// give the same values bit for bit.
inline std::uint32_t F(std::uint32_t x, std::uint32_t y, std::uint32_t z) {
    return z ^ (x & (y ^ z));
}
inline std::uint32_t H(std::uint32_t x, std::uint32_t y, std::uint32_t z) {
    return x ^ y ^ z;
}
inline std::uint32_t I(std::uint32_t x, std::uint32_t y, std::uint32_t z) {
    return y ^ (x | ~z);
}

inline void StepF(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                  std::uint32_t x, int s, std::uint32_t t) {
    a = std::rotl(a + F(b, c, d) + x + t, s) + b;
}
// G(b, c, d) = (b & d) | (c & ~d); the two terms never share a bit, so they can be added
// separately and the addition need not wait for both.
inline void StepG(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                  std::uint32_t x, int s, std::uint32_t t) {
    a += x + t + (c & ~d);
    a += b & d;
    a = std::rotl(a, s) + b;
}
inline void StepH(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                  std::uint32_t x, int s, std::uint32_t t) {
    a = std::rotl(a + H(b, c, d) + x + t, s) + b;
}
inline void StepI(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                  std::uint32_t x, int s, std::uint32_t t) {
    a = std::rotl(a + I(b, c, d) + x + t, s) + b;
}

void ReportMisuse(const char* message) {
    std::fputs(message, stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

}  // namespace

MD5::MD5()
    : state_{0x67452301u, 0xefcdab89u, 0x98badcfeu, 0x10325476u},
      count_{0, 0},
      buffer_{},
      digest_{},
      finalized_(false) {}

void MD5::ProcessBlocks(const unsigned char* blocks, std::size_t count) {
    std::uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    for (; count > 0; --count, blocks += 64) {
        const unsigned char* p = blocks;
        const std::uint32_t x0 = LoadLittle(p), x1 = LoadLittle(p + 4), x2 = LoadLittle(p + 8),
                            x3 = LoadLittle(p + 12), x4 = LoadLittle(p + 16),
                            x5 = LoadLittle(p + 20), x6 = LoadLittle(p + 24),
                            x7 = LoadLittle(p + 28), x8 = LoadLittle(p + 32),
                            x9 = LoadLittle(p + 36), x10 = LoadLittle(p + 40),
                            x11 = LoadLittle(p + 44), x12 = LoadLittle(p + 48),
                            x13 = LoadLittle(p + 52), x14 = LoadLittle(p + 56),
                            x15 = LoadLittle(p + 60);
        const std::uint32_t aa = a, bb = b, cc = c, dd = d;

        StepF(a, b, c, d, x0, 7, 0xd76aa478u);
        StepF(d, a, b, c, x1, 12, 0xe8c7b756u);
        StepF(c, d, a, b, x2, 17, 0x242070dbu);
        StepF(b, c, d, a, x3, 22, 0xc1bdceeeu);
        StepF(a, b, c, d, x4, 7, 0xf57c0fafu);
        StepF(d, a, b, c, x5, 12, 0x4787c62au);
        StepF(c, d, a, b, x6, 17, 0xa8304613u);
        StepF(b, c, d, a, x7, 22, 0xfd469501u);
        StepF(a, b, c, d, x8, 7, 0x698098d8u);
        StepF(d, a, b, c, x9, 12, 0x8b44f7afu);
        StepF(c, d, a, b, x10, 17, 0xffff5bb1u);
        StepF(b, c, d, a, x11, 22, 0x895cd7beu);
        StepF(a, b, c, d, x12, 7, 0x6b901122u);
        StepF(d, a, b, c, x13, 12, 0xfd987193u);
        StepF(c, d, a, b, x14, 17, 0xa679438eu);
        StepF(b, c, d, a, x15, 22, 0x49b40821u);

        StepG(a, b, c, d, x1, 5, 0xf61e2562u);
        StepG(d, a, b, c, x6, 9, 0xc040b340u);
        StepG(c, d, a, b, x11, 14, 0x265e5a51u);
        StepG(b, c, d, a, x0, 20, 0xe9b6c7aau);
        StepG(a, b, c, d, x5, 5, 0xd62f105du);
        StepG(d, a, b, c, x10, 9, 0x02441453u);
        StepG(c, d, a, b, x15, 14, 0xd8a1e681u);
        StepG(b, c, d, a, x4, 20, 0xe7d3fbc8u);
        StepG(a, b, c, d, x9, 5, 0x21e1cde6u);
        StepG(d, a, b, c, x14, 9, 0xc33707d6u);
        StepG(c, d, a, b, x3, 14, 0xf4d50d87u);
        StepG(b, c, d, a, x8, 20, 0x455a14edu);
        StepG(a, b, c, d, x13, 5, 0xa9e3e905u);
        StepG(d, a, b, c, x2, 9, 0xfcefa3f8u);
        StepG(c, d, a, b, x7, 14, 0x676f02d9u);
        StepG(b, c, d, a, x12, 20, 0x8d2a4c8au);

        StepH(a, b, c, d, x5, 4, 0xfffa3942u);
        StepH(d, a, b, c, x8, 11, 0x8771f681u);
        StepH(c, d, a, b, x11, 16, 0x6d9d6122u);
        StepH(b, c, d, a, x14, 23, 0xfde5380cu);
        StepH(a, b, c, d, x1, 4, 0xa4beea44u);
        StepH(d, a, b, c, x4, 11, 0x4bdecfa9u);
        StepH(c, d, a, b, x7, 16, 0xf6bb4b60u);
        StepH(b, c, d, a, x10, 23, 0xbebfbc70u);
        StepH(a, b, c, d, x13, 4, 0x289b7ec6u);
        StepH(d, a, b, c, x0, 11, 0xeaa127fau);
        StepH(c, d, a, b, x3, 16, 0xd4ef3085u);
        StepH(b, c, d, a, x6, 23, 0x04881d05u);
        StepH(a, b, c, d, x9, 4, 0xd9d4d039u);
        StepH(d, a, b, c, x12, 11, 0xe6db99e5u);
        StepH(c, d, a, b, x15, 16, 0x1fa27cf8u);
        StepH(b, c, d, a, x2, 23, 0xc4ac5665u);

        StepI(a, b, c, d, x0, 6, 0xf4292244u);
        StepI(d, a, b, c, x7, 10, 0x432aff97u);
        StepI(c, d, a, b, x14, 15, 0xab9423a7u);
        StepI(b, c, d, a, x5, 21, 0xfc93a039u);
        StepI(a, b, c, d, x12, 6, 0x655b59c3u);
        StepI(d, a, b, c, x3, 10, 0x8f0ccc92u);
        StepI(c, d, a, b, x10, 15, 0xffeff47du);
        StepI(b, c, d, a, x1, 21, 0x85845dd1u);
        StepI(a, b, c, d, x8, 6, 0x6fa87e4fu);
        StepI(d, a, b, c, x15, 10, 0xfe2ce6e0u);
        StepI(c, d, a, b, x6, 15, 0xa3014314u);
        StepI(b, c, d, a, x13, 21, 0x4e0811a1u);
        StepI(a, b, c, d, x4, 6, 0xf7537e82u);
        StepI(d, a, b, c, x11, 10, 0xbd3af235u);
        StepI(c, d, a, b, x2, 15, 0x2ad7d2bbu);
        StepI(b, c, d, a, x9, 21, 0xeb86d391u);

        a += aa;
        b += bb;
        c += cc;
        d += dd;
    }
    state_[0] = a;
    state_[1] = b;
    state_[2] = c;
    state_[3] = d;
}

void MD5::update(const unsigned char* input, std::uint32_t length) {
    if (finalized_) {
        ReportMisuse("MD5::update:  Can't update a finalized digest!");
        return;
    }
    if (length == 0) {
        return;
    }
    std::uint32_t used = (count_[0] >> 3) & 63;
    const std::uint32_t bits_low = length << 3;
    count_[0] += bits_low;
    if (count_[0] < bits_low) {
        ++count_[1];
    }
    count_[1] += length >> 29;

    if (used > 0) {
        const std::uint32_t room = 64 - used;
        if (length < room) {
            std::memcpy(buffer_ + used, input, length);
            return;
        }
        std::memcpy(buffer_ + used, input, room);
        ProcessBlocks(buffer_, 1);
        input += room;
        length -= room;
    }
    ProcessBlocks(input, length / 64);
    input += length & ~std::uint32_t{63};
    length &= 63;
    if (length > 0) {
        std::memcpy(buffer_, input, length);
    }
}

void MD5::update(const char* input, std::uint32_t length) {
    update(reinterpret_cast<const unsigned char*>(input), length);
}

void MD5::finalize() {
    if (finalized_) {
        ReportMisuse("MD5::finalize:  Already finalized this digest!");
        return;
    }
    unsigned char bits[8];
    StoreLittle(bits, count_[0]);
    StoreLittle(bits + 4, count_[1]);

    // Pad with 0x80 and zeros up to 56 modulo 64, then the bit count as it was before padding.
    static const unsigned char kPadding[64] = {0x80};
    const std::uint32_t used = (count_[0] >> 3) & 63;
    const std::uint32_t pad_length = used < 56 ? 56 - used : 120 - used;
    update(kPadding, pad_length);
    update(bits, 8);

    for (int i = 0; i < 4; ++i) {
        StoreLittle(digest_ + 4 * i, state_[i]);
    }
    std::memset(buffer_, 0, sizeof buffer_);
    finalized_ = true;
}

std::string MD5::hex_digest() const {
    if (!finalized_) {
        ReportMisuse("MD5::hex_digest:  Can't get digest if you haven't finalized the digest!");
        return {};
    }
    static const char kDigits[] = "0123456789abcdef";
    std::string text(32, '0');
    for (int i = 0; i < 16; ++i) {
        text[2 * i] = kDigits[digest_[i] >> 4];
        text[2 * i + 1] = kDigits[digest_[i] & 15];
    }
    return text;
}

}  // namespace tov
