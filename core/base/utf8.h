#pragma once

#include <string_view>

namespace blok {

// The bytes after the first of a character: 10xxxxxx.
inline bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U;
}

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view bytes);

}  // namespace blok
