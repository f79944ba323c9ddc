// Finding a byte in a run of text, sixteen bytes at a time. The program's hot loops look for
// the NUL that ends a line and the "|" between fields millions of times; the Windows C library
// (Wine's in particular) reads one byte at a time for memchr, which made it a tenth of a
// search's time there.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tov {

// The first `byte` among the `length` bytes at `at`, or nullptr. Reads no byte outside them.
inline const char* FindByte(const char* at, std::size_t length, char byte) {
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(byte);
    for (; length >= 16; at += 16, length -= 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const int hits = _mm_movemask_epi8(_mm_cmpeq_epi8(chunk, wanted));
        if (hits != 0) {
            return at + __builtin_ctz(static_cast<unsigned>(hits));
        }
    }
    for (; length != 0; ++at, --length) {
        if (*at == byte) {
            return at;
        }
    }
    return nullptr;
#else
    return static_cast<const char*>(std::memchr(at, static_cast<unsigned char>(byte), length));
#endif
}

inline char* FindByte(char* at, std::size_t length, char byte) {
    return const_cast<char*>(FindByte(static_cast<const char*>(at), length, byte));
}

// The position of the first `byte` in `text`, or npos, as std::string_view::find gives it.
inline std::size_t FindByte(std::string_view text, char byte) {
    const char* found = FindByte(text.data(), text.size(), byte);
    return found == nullptr ? std::string_view::npos
                            : static_cast<std::size_t>(found - text.data());
}

}  // namespace tov
