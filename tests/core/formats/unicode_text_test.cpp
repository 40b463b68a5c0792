#include "core/formats/unicode_text.h"

#include <gtest/gtest.h>

using namespace kolma;

TEST(UnicodeText, DecodesWellFormedUtf8OfEveryLength) {
  EXPECT_EQ(DecodeUtf8("a\xC2\xB0\xE6\xB8\xA9\xF0\x9F\x8C\xA1"), (std::u32string{U'a', 0xB0, 0x6E29, 0x1F321}));
  EXPECT_EQ(DecodeUtf8("\xF4\x8F\xBF\xBF"), std::u32string{0x10FFFF});
  EXPECT_EQ(EncodeUtf16(U"\u00B0\U0001F321"), (std::u16string{0x00B0, 0xD83C, 0xDF21}));
}

// Malformed input: one U+FFFD for each maximal part of a sequence that could have
// started something valid, and one for every other bad byte.
TEST(UnicodeText, MalformedSequencesBecomeReplacementCharacters) {
  const char32_t R = kReplacementCharacter;
  struct TCase {
    const char* text;
    std::u32string expected;
  };
  const TCase cases[] = {
      {"\x80", {R}},                              // stray continuation byte
      {"a\xFF" "b", {U'a', R, U'b'}},             // never valid
      {"\xC0\xAF", {R, R}},                       // overlong '/'
      {"\xE0\x80\xAF", {R, R, R}},                // overlong, three bytes
      {"\xED\xA0\x80", {R, R, R}},                // surrogate D800
      {"\xF4\x90\x80\x80", {R, R, R, R}},         // above U+10FFFF
      {"\xE6\xB8", {R}},                          // truncated at the end
      {"\xE6\xB8" "a", {R, U'a'}},                // truncated before a character
      {"\xF0\x9F\x8C" "\xC2\xB0", {R, 0xB0}},     // truncated before a valid sequence
  };
  for (const TCase& c : cases) EXPECT_EQ(DecodeUtf8(c.text), c.expected) << c.text;
}

TEST(UnicodeText, Windows1252KeepsItsCharactersAndMarksTheOthers) {
  EXPECT_EQ(Utf8ToWindows1252("T (\xC2\xB0" "C) Temp\xC3\xA9rature"), "T (\xB0" "C) Temp\xE9rature");
  EXPECT_EQ(Utf8ToWindows1252("\xE2\x82\xAC \xE2\x80\x93 \xC5\x93 \xC5\xB8"), "\x80 \x96 \x9C \x9F");  // € – œ Ÿ
  EXPECT_EQ(Utf8ToWindows1252("\xE6\xB8\xA9\xF0\x9F\x8C\xA1"), "??");                             // CJK, emoji
  EXPECT_EQ(Utf8ToWindows1252("\xC2\x81\xC2\x9D"), "??");  // C1 controls the code page has no place for
  EXPECT_EQ(Utf8ToWindows1252("bad\xFF"), "bad?");
  EXPECT_EQ(Utf8ToUtf16("\xC2\xB0" "C"), u"\u00B0C");
}
