// Unicode case mappings and character classes, and the UTF-8 helpers on top.
#include <gtest/gtest.h>

#include <string>

#include "text/Unicode.h"

namespace spellcheck::text {
namespace {

TEST(Unicode, SimpleCaseMappingsOfEveryScript) {
  const struct {
    char32_t c, lower, upper, title;
  } cases[] = {
      {U'A', U'a', U'A', U'A'},
      {U'7', U'7', U'7', U'7'},
      {U'ß', U'ß', U'ß', U'ß'},  // no one-character capital; ẞ lowers to it
      {U'ẞ', U'ß', U'ẞ', U'ẞ'},
      {U'ÿ', U'ÿ', U'Ÿ', U'Ÿ'},
      {U'İ', U'i', U'İ', U'İ'},  // Turkish rules are the caller's
      {U'ı', U'ı', U'I', U'I'},
      {U'ǰ', U'ǰ', U'ǰ', U'ǰ'},
      {U'ǆ', U'ǆ', U'Ǆ', U'ǅ'},
      {U'ǅ', U'ǆ', U'Ǆ', U'ǅ'},
      {U'Ǆ', U'ǆ', U'Ǆ', U'ǅ'},
      {U'σ', U'σ', U'Σ', U'Σ'},
      {U'ς', U'ς', U'Σ', U'Σ'},
      {U'Σ', U'σ', U'Σ', U'Σ'},
      {U'ᾳ', U'ᾳ', U'ᾼ', U'ᾼ'},
      {U'ᾼ', U'ᾳ', U'ᾼ', U'ᾼ'},
      {U'ё', U'ё', U'Ё', U'Ё'},
      {U'ґ', U'ґ', U'Ґ', U'Ґ'},
      {U'ա', U'ա', U'Ա', U'Ա'},
      {U'Ա', U'ա', U'Ա', U'Ա'},
      {U'ა', U'ა', U'Ა', U'ა'},  // Mkhedruli: Mtavruli capitals, but no title case
      {U'Ა', U'ა', U'Ა', U'Ა'},
      {U'Ꭰ', U'ꭰ', U'Ꭰ', U'Ꭰ'},  // Cherokee
      {U'ᏸ', U'ᏸ', U'Ᏸ', U'Ᏸ'},
      {U'𐐀', U'𐐨', U'𐐀', U'𐐀'},  // Deseret
      {U'ａ', U'ａ', U'Ａ', U'Ａ'},
      {U'中', U'中', U'中', U'中'},
      {0x10FFFF, 0x10FFFF, 0x10FFFF, 0x10FFFF},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "U+" << std::hex << static_cast<unsigned>(c.c));
    EXPECT_EQ(UnicodeLower(c.c), c.lower);
    EXPECT_EQ(UnicodeUpper(c.c), c.upper);
    EXPECT_EQ(UnicodeTitle(c.c), c.title);
  }
}

TEST(Unicode, LettersIncludeMarksButNoDigitsOrPunctuation) {
  const struct {
    char32_t c;
    bool letter, upper, lower;
  } cases[] = {
      {U'a', true, false, true},    {U'Q', true, true, false},
      {U'ǅ', true, true, false},    {U'ß', true, false, true},
      {U'ª', true, false, false},   {0x301, true, false, false},  // combining acute
      {U'क', true, false, false},   {0x93F, true, false, false},  // Devanagari vowel sign i
      {0x94D, true, false, false},  {U'א', true, false, false},
      {0x5B8, true, false, false},  {U'ا', true, false, false},   // Hebrew qamats
      {0x64E, true, false, false},  {U'中', true, false, false},  // Arabic fatha
      {U'あ', true, false, false},  {U'ʼ', true, false, false},
      {U'Ա', true, true, false},    {U'ა', true, false, true},
      {U'5', false, false, false},  {0x966, false, false, false},  // Devanagari zero
      {0x661, false, false, false}, {U',', false, false, false},
      {U'«', false, false, false},  {U'—', false, false, false},
      {U'’', false, false, false},  {U' ', false, false, false},
      {U'€', false, false, false},  {0xD800, false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "U+" << std::hex << static_cast<unsigned>(c.c));
    EXPECT_EQ(IsUnicodeLetter(c.c), c.letter);
    EXPECT_EQ(IsUnicodeUpper(c.c), c.upper);
    EXPECT_EQ(IsUnicodeLower(c.c), c.lower);
  }
}

TEST(Unicode, WholeWordsMapAndCopyInvalidBytes) {
  const struct {
    std::string word, lower, upper, title;
  } cases[] = {
      {"", "", "", ""},
      {"Straße", "straße", "STRAßE", "Straße"},
      {"ǆEMAL", "ǆemal", "ǄEMAL", "ǅemal"},
      {"ΟΔΥΣΣΕΥΣ", "οδυσσευσ", "ΟΔΥΣΣΕΥΣ", "Οδυσσευσ"},
      {"пРИВЕТ", "привет", "ПРИВЕТ", "Привет"},
      {"ქართული", "ქართული", "ᲥᲐᲠᲗᲣᲚᲘ", "ქართული"},
      {"a\xFF"
       "B\xC3",
       "a\xFF"
       "b\xC3",
       "A\xFF"
       "B\xC3",
       "A\xFF"
       "b\xC3"},
      {"\xE9t\xE9", "\xE9t\xE9", "\xE9T\xE9", "\xE9t\xE9"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.word);
    EXPECT_EQ(Utf8Lower(c.word), c.lower);
    EXPECT_EQ(Utf8Upper(c.word), c.upper);
    EXPECT_EQ(Utf8Title(c.word), c.title);
  }
}

TEST(Unicode, Utf32ConversionsRefuseInvalidText) {
  const struct {
    std::string utf8;
    bool valid;
    std::u32string utf32;
  } cases[] = {
      {"", true, U""},
      {"aé€𐐀", true, U"aé€𐐀"},
      {"\xEF\xBF\xBD", true, U"\uFFFD"},
      {"a\xC3", false, U"a\uFFFD"},
      {"\xED\xA0\x80", false, U"\uFFFD\uFFFD\uFFFD"},  // a surrogate
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    std::u32string out = U"old";
    EXPECT_EQ(Utf8ToUtf32(c.utf8, out), c.valid);
    EXPECT_EQ(out, c.utf32);
    if (c.valid) {
      EXPECT_EQ(Utf32ToUtf8(out), c.utf8);
    }
  }
  EXPECT_EQ(Utf32ToUtf8(std::u32string{U'a', 0xD800, 0x110000}), "a\uFFFD\uFFFD");
}

}  // namespace
}  // namespace spellcheck::text
