// MD5 message digest (RFC 1321), used to check the digest line that ends every listing.
#pragma once

#include <cstdint>
#include <string>

namespace tov {

class MD5 {
  public:
    MD5();

    // Adds `length` bytes to the message. Complete 64-byte blocks are processed straight from
    // `input`; the remainder waits in the block buffer.
    void update(const unsigned char* input, std::uint32_t length);
    void update(const char* input, std::uint32_t length);

    // Appends the padding and the bit count and stores the digest.
    void finalize();

    // The digest as 32 lower-case hexadecimal digits; empty before finalize().
    std::string hex_digest() const;

    // The 16 digest bytes; all zero before finalize().
    const unsigned char* raw_digest() const { return digest_; }
    bool finalized() const { return finalized_; }

  private:
    void ProcessBlocks(const unsigned char* blocks, std::size_t count);

    std::uint32_t state_[4];
    std::uint32_t count_[2];  // message length in bits, low word first
    unsigned char buffer_[64];
    unsigned char digest_[16];
    bool finalized_;
};

}  // namespace tov
