#pragma once
// Text conversions for the binary formats: the program's strings are UTF-8, a workbook
// stores UTF-16 and a metafile single-byte Windows-1252 text.
#include <string>
#include <string_view>

namespace kolma {

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// Code points of a UTF-8 text. Every malformed sequence (stray continuation byte,
// truncated sequence, overlong form, surrogate, value above U+10FFFF) becomes one
// U+FFFD, and decoding resumes at the first byte that was not part of it.
std::u32string DecodeUtf8(std::string_view text);

// UTF-16 code units, with surrogate pairs above U+FFFF.
std::u16string EncodeUtf16(std::u32string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

// Windows-1252 bytes; a character that code page does not have becomes '?'.
std::string Utf8ToWindows1252(std::string_view text);

}  // namespace kolma
