// The 8-bit character sets of affix files: spot values from Python's codecs,
// both ways, and what cannot be converted.
#include <gtest/gtest.h>

#include <string>

#include "text/Charsets.h"

namespace spellcheck::text {
namespace {

TEST(Charsets, EachSetDecodesAndEncodesItsLetters) {
  const struct {
    const char* name;
    std::string bytes, utf8;
  } cases[] = {
      {"UTF-8", "a\xC3\xA9", "aé"},
      {"ISO8859-1", "x\xE9", "xé"},
      {"ISO8859-2", "\xB1\xA3", "ąŁ"},
      {"ISO-8859-2", "\xB1\xA3", "ąŁ"},
      {"ISO8859-3", "\xA6", "Ĥ"},
      {"ISO8859-4", "\xA2", "ĸ"},
      {"ISO8859-5", "\xB0", "А"},
      {"ISO8859-6", "\xC7", "ا"},
      {"ISO8859-7", "\xE1\xD3", "αΣ"},
      {"ISO8859-8", "\xE0\xFA", "את"},
      {"ISO8859-9", "\xFD\xDD", "ıİ"},
      {"ISO8859-10", "\xBD", "―"},
      {"ISO8859-11", "\xA1", "ก"},
      {"ISO8859-13", "\xE0\xF0", "ąš"},
      {"iso8859-14", "\xA1", "Ḃ"},
      {"ISO8859-15", "\xA4\xBC", "€Œ"},
      {"ISO8859-16", "\xAA\xBA", "Șș"},
      {"KOI8-R", "\xC1\xE1", "аА"},
      {"koi8-u", "\xA4\xAD", "єґ"},
      {"cp1250", "\x8A\xB9", "Šą"},
      {"microsoft-cp1251", "\xE0\xA5", "аҐ"},
      {"cp1252", "\x80\xE9", "€é"},
      {"TIS620-2533", "\xA1\xE0", "กเ"},
      {"TIS-620", "\xA1\xE0", "กเ"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(IsKnownCharset(c.name));
    std::string utf8, bytes;
    EXPECT_TRUE(DecodeCharset(c.name, c.bytes, utf8));
    EXPECT_EQ(utf8, c.utf8);
    EXPECT_TRUE(EncodeCharset(c.name, c.utf8, bytes));
    EXPECT_EQ(bytes, c.bytes);
  }
}

TEST(Charsets, UndefinedBytesAndMissingCharactersAreRefused) {
  EXPECT_FALSE(IsKnownCharset("ISO8859-12"));
  EXPECT_FALSE(IsKnownCharset("ISCII-DEVANAGARI"));
  EXPECT_FALSE(IsKnownCharset(""));
  const struct {
    const char* name;
    std::string bytes, utf8;
  } undefined[] = {
      {"ISO8859-3", "a\xA5", "a\uFFFD"},
      {"cp1252", "\x81", "\uFFFD"},
      {"TIS620-2533", "\xA0", "\uFFFD"},
      {"UTF-8", "a\xC3", "a\uFFFD"},
      {"EBCDIC", "a", ""},
  };
  for (const auto& c : undefined) {
    SCOPED_TRACE(c.name);
    std::string utf8 = "old";
    EXPECT_FALSE(DecodeCharset(c.name, c.bytes, utf8));
    EXPECT_EQ(utf8, c.utf8);
  }
  const struct {
    const char* name;
    std::string utf8, bytes;
  } unencodable[] = {
      {"ISO8859-2", "a€", "a?"},
      {"KOI8-R", "ї", "?"},
      {"ISO8859-5", "a\xFF", "a?"},
      {"UTF-8", "a\xFF", "a\xFF"},
  };
  for (const auto& c : unencodable) {
    SCOPED_TRACE(c.name);
    std::string bytes;
    EXPECT_FALSE(EncodeCharset(c.name, c.utf8, bytes));
    EXPECT_EQ(bytes, c.bytes);
  }
}

}  // namespace
}  // namespace spellcheck::text
