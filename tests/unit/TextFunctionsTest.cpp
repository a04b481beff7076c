// First-letter helpers: the fixed capital test and the code page 1252 mapping.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "text/CaseMapping.h"
#include "text/TextFunctions.h"

namespace spellcheck::text {
namespace {

std::string Byte(int code, const std::string& rest = "") {
  return std::string(1, static_cast<char>(code)) + rest;
}

TEST(TextFunctions, IsCapitalizedLooksAtTheFirstByteOnly) {
  const struct {
    std::string word;
    bool capitalized;
  } cases[] = {
      {"", false},         {"A", true},         {"Z", true},
      {"Apple", true},     {"apple", false},    {"@", false},
      {"[", false},        {"1st", false},      {"aBC", false},
      {Byte(0xBF), false}, {Byte(0xC0), true},  {Byte(0xDE), true},
      {Byte(0xDF), false}, {Byte(0xE0), false}, {Byte(0xC9, "t"), true},
      {Byte(0xFF), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsCapitalized(c.word), c.capitalized)
        << "first byte " << (c.word.empty() ? -1 : (c.word[0] & 0xFF));
  }
}

TEST(TextFunctions, CapitalizeAndLowerChangeOnlyTheFirstByte) {
  const struct {
    std::string word, capitalized, lowered;
  } cases[] = {
      {"", "", ""},
      {"a", "A", "a"},
      {"hello", "Hello", "hello"},
      {"hELLO", "HELLO", "hELLO"},
      {"Hello", "Hello", "hello"},
      {"HELLO", "HELLO", "hELLO"},
      {"1st", "1st", "1st"},
      {Byte(0xE9, "t\xE9"), Byte(0xC9, "t\xE9"), Byte(0xE9, "t\xE9")},
      {Byte(0xC9, "T"), Byte(0xC9, "T"), Byte(0xE9, "T")},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CapitalizeFirst(c.word), c.capitalized) << c.word;
    EXPECT_EQ(LowerFirst(c.word), c.lowered) << c.word;
  }
  EXPECT_FALSE(IsCapitalized(Byte(0xE9, "t")));
  EXPECT_TRUE(IsCapitalized(CapitalizeFirst(Byte(0xE9, "t"))));
}

// The expected code page 1252 upper-case form of every byte, written out.
unsigned char ExpectedUpper(unsigned c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
  switch (c) {
    case 0x9A:
      return 0x8A;
    case 0x9C:
      return 0x8C;
    case 0x9E:
      return 0x8E;
    case 0xFF:
      return 0x9F;
    case 0xF7:
      return 0xF7;
    default:
      break;
  }
  if (c >= 0xE0 && c <= 0xFE) return static_cast<unsigned char>(c - 0x20);
  return static_cast<unsigned char>(c);
}

TEST(CaseMapping, Cp1252TablesAreTheCodePageMappingAndItsInverse) {
  int mapped = 0;
  for (unsigned c = 0; c < 256; ++c) {
    const auto byte = static_cast<unsigned char>(c);
    const unsigned char upper = ExpectedUpper(c);
    EXPECT_EQ(Cp1252Upper(byte), upper) << "byte " << c;
    if (upper != byte) {
      ++mapped;
      EXPECT_EQ(Cp1252Lower(upper), byte) << "byte " << c;
    }
  }
  EXPECT_EQ(mapped, 26 + 3 + 30 + 1);
  // Bytes that are no upper-case form stay when lowered.
  for (unsigned c : {0x00u, 0x40u, 0x5Bu, 0x61u, 0x8Bu, 0xD7u, 0xDFu, 0xF7u, 0xFFu}) {
    EXPECT_EQ(Cp1252Lower(static_cast<unsigned char>(c)), c) << "byte " << c;
  }
}

TEST(CaseMapping, SystemMappingDoesNotFollowTheProcessLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  for (const char* locale : {"C", "C.UTF-8", "POSIX"}) {
    if (std::setlocale(LC_ALL, locale) == nullptr) continue;
    EXPECT_EQ(SystemUpper(0xE9), 0xC9) << locale;
    EXPECT_EQ(SystemLower(0xC9), 0xE9) << locale;
    EXPECT_EQ(SystemUpper(0xFF), 0x9F) << locale;
    EXPECT_EQ(CapitalizeFirst("\xE9t\xE9"), "\xC9t\xE9") << locale;
  }
  std::setlocale(LC_ALL, saved.c_str());
}

}  // namespace
}  // namespace spellcheck::text
