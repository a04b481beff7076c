// On Windows the first-letter case changes come from the system; where the
// ANSI code page is 1252 they must agree with the fixed table that the other
// platforms use, for every byte value.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <gtest/gtest.h>

#include "text/CaseMapping.h"

namespace spellcheck::text {
namespace {

class Win32CaseMappingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::GetACP() != 1252) GTEST_SKIP() << "the system's ANSI code page is " << ::GetACP();
  }
};

TEST_F(Win32CaseMappingTest, SystemUpperEqualsCodePage1252TableForEveryByte) {
  for (int value = 0; value < 256; ++value) {
    const auto c = static_cast<unsigned char>(value);
    EXPECT_EQ(int{SystemUpper(c)}, int{Cp1252Upper(c)}) << "byte " << value;
  }
}

TEST_F(Win32CaseMappingTest, SystemLowerEqualsCodePage1252TableForEveryByte) {
  for (int value = 0; value < 256; ++value) {
    const auto c = static_cast<unsigned char>(value);
    EXPECT_EQ(int{SystemLower(c)}, int{Cp1252Lower(c)}) << "byte " << value;
  }
}

TEST_F(Win32CaseMappingTest, LettersOutsideAsciiChangeCase) {
  struct Pair {
    unsigned char lower, upper;
  };
  // e acute, y diaeresis (whose capital lies in 0x80..0x9F), s caron.
  for (const Pair pair : {Pair{0xE9, 0xC9}, Pair{0xFF, 0x9F}, Pair{0x9A, 0x8A}}) {
    EXPECT_EQ(int{SystemUpper(pair.lower)}, int{pair.upper});
    EXPECT_EQ(int{SystemLower(pair.upper)}, int{pair.lower});
  }
  // Sharp s and the division sign have no other case.
  EXPECT_EQ(int{SystemUpper(0xDF)}, 0xDF);
  EXPECT_EQ(int{SystemUpper(0xF7)}, 0xF7);
}

}  // namespace
}  // namespace spellcheck::text
