// The character sets of the pattern language over Windows-1252 bytes. The platform's object
// works on UTF-16 text converted from the code page, so every set is computed by code point and
// then expressed as the bytes whose code points belong to it.
#pragma once

#include "search/regex_program.h"

#include <cstdint>

namespace tov {

// The UTF-16 code unit that Windows-1252 byte `byte` converts to (the five bytes the code page
// leaves undefined convert to the C1 control of the same value).
std::uint32_t Cp1252CodePoint(unsigned char byte);

// Bytes whose code point lies in [first, last].
ByteSet BytesInCodePointRange(std::uint32_t first, std::uint32_t last);

ByteSet DigitBytes();  // "\d": 0-9
ByteSet WordBytes();   // "\w": ASCII letters, digits and "_"
ByteSet SpaceBytes();  // "\s": tab to carriage return, space, no-break space
ByteSet DotBytes();    // ".": everything but line feed and carriage return

bool IsWordByte(unsigned char byte);

}  // namespace tov
