// Finding a byte in a run of text. The program's hot loops look for the NUL that ends a line and
// the "|" between fields millions of times. The Windows C library (Wine's in particular) reads
// one byte at a time for memchr, which made it a tenth of a search's time there, so on Windows
// the bytes are compared sixteen at a time here; elsewhere the C library's memchr is faster than
// that already.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#if defined(_WIN32) && defined(__SSE2__)
#define TOV_SIXTEEN_BYTE_SCAN 1
#include <emmintrin.h>
#endif

namespace tov {

// The first `byte` among the `length` bytes at `at`, or nullptr. Reads no byte outside them.
inline const char* FindByte(const char* at, std::size_t length, char byte) {
#if defined(TOV_SIXTEEN_BYTE_SCAN)
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
    if (length == 0) {
        return nullptr;  // `at` may be null then, which memchr does not allow
    }
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
