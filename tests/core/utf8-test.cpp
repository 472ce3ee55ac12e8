#include "platform/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vellumo {
namespace {

std::vector<uint32_t> Decoded(std::string_view text) {
  std::vector<uint32_t> codes;
  for (size_t at = 0; at < text.size();) codes.push_back(NextCodePoint(text, at));
  return codes;
}

TEST(Utf8, EncodesAndDecodesEverySequenceLength) {
  const std::vector<uint32_t> codes = {'a',   0xE9,  0x58C1, 0x1F600, 0x7F,    0x80,
                                       0x7FF, 0x800, 0xFFFF, 0x10000, 0x10FFFF};
  std::string text;
  for (const uint32_t code : codes) AppendUtf8(text, code);
  EXPECT_EQ(text.substr(0, 10), "a\xC3\xA9\xE5\xA3\x81\xF0\x9F\x98\x80");
  EXPECT_EQ(Decoded(text), codes);
}

TEST(Utf8, EachByteOfABadSequenceIsOneReplacementCharacter) {
  // A lone continuation byte, an overlong '/', a surrogate, beyond U+10FFFF, and a sequence cut
  // short by the next character or by the end.
  EXPECT_EQ(Decoded("\x80"), std::vector<uint32_t>{0xFFFD});
  EXPECT_EQ(Decoded("\xC0\xAF"), (std::vector<uint32_t>{0xFFFD, 0xFFFD}));
  EXPECT_EQ(Decoded("\xED\xA0\x80"), (std::vector<uint32_t>{0xFFFD, 0xFFFD, 0xFFFD}));
  EXPECT_EQ(Decoded("\xF4\x90\x80\x80").front(), 0xFFFDu);
  EXPECT_EQ(Decoded("\xE5\xA3x"), (std::vector<uint32_t>{0xFFFD, 0xFFFD, 'x'}));
  EXPECT_EQ(Decoded("a\xF0\x9F"), (std::vector<uint32_t>{'a', 0xFFFD, 0xFFFD}));
}

TEST(Utf8, CountsAndCutsWholeCharacters) {
  const std::string text = "a\xC3\xA9\xF0\x9F\x98\x80z";  // a, e acute, a face, z
  EXPECT_EQ(CountCharacters(text), 4u);
  EXPECT_EQ(CountCharacters(""), 0u);
  EXPECT_EQ(CharacterBoundary(text, 2), 1u) << "inside the e";
  EXPECT_EQ(CharacterBoundary(text, 6), 3u) << "inside the face";
  EXPECT_EQ(CharacterBoundary(text, 7), 7u);
  EXPECT_EQ(CharacterBoundary(text, text.size()), text.size());
}

}  // namespace
}  // namespace vellumo
