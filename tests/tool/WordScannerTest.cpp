// The words the tool finds in a line, and the code page 1252 conversion.
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <vector>

#include "input/WordScanner.h"
#include "text/Cp1252.h"

namespace spellcheck::tool {
namespace {

struct Line {
  std::string text;
  std::vector<std::string> words;
};

void PrintTo(const Line& line, std::ostream* os) {
  *os << '"' << line.text << '"';
}

class WordScannerTest : public ::testing::TestWithParam<Line> {};

TEST_P(WordScannerTest, FindsTheWords) {
  std::vector<WordSpan> spans;
  ScanWords(GetParam().text, spans);
  std::vector<std::string> words;
  for (const WordSpan& span : spans)
    words.push_back(GetParam().text.substr(span.byteOffset, span.byteLength));
  EXPECT_EQ(words, GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, WordScannerTest,
    ::testing::Values(Line{"", {}}, Line{"  \t ", {}}, Line{"Hello, world!", {"Hello", "world"}},
                      Line{"don't ’tis rock’n’roll dogs' 'quoted'",
                           {"don't", "tis", "rock’n’roll", "dogs", "quoted"}},
                      Line{"well-known --dash- a-b-c", {"well-known", "dash", "a-b-c"}},
                      Line{"3rd mp3 B2B COVID-19 2-fold ok", {"ok"}},
                      Line{"see https://a.org/x_y, www.b.com and me@c.org.", {"see", "and"}},
                      Line{"café naïve Ærø Straße œuvre",
                           {"café", "naïve", "Ærø", "Straße", "œuvre"}},
                      Line{"हिन्दी שָׁלוֹם Привет ქართული ʻōlelo 中文, مرحبا १२३",
                           {"हिन्दी", "שָׁלוֹם", "Привет", "ქართული", "ʻōlelo", "中文", "مرحبا"}},
                      Line{"e.g. i.e. a/b", {"e", "g", "i", "e", "a", "b"}},
                      Line{"x\xFFy\xC3", {"x", "y"}},
                      Line{"tab\tsep\xC2\xA0nbsp", {"tab", "sep", "nbsp"}},
                      // Addresses are tokens: brackets, quotes and punctuation
                      // around them are no part of them, their neighbours are words.
                      Line{"[docs](https://e.com/a) \"http://x.org/y\", <me@c.org>.", {"docs"}},
                      Line{"read/write and/or /usr/lib ./x ../y ~/z C:\\dir\\f a/b/c x",
                           {"read", "write", "and", "or", "x"}},
                      Line{"#ff00aa #fab #deadbeef #cafes 0x1F "
                           "deadbeef-dead-beef-dead-beefdeadbeef #hash",
                           {"cafes", "hash"}}));

TEST(WordScanner, OffsetsCountCharactersAndInvalidBytes) {
  std::vector<WordSpan> spans;
  ScanWords("é\xFF abc", spans);
  ASSERT_EQ(spans.size(), 2u);
  EXPECT_EQ(spans[0].charOffset, 0u);
  EXPECT_EQ(spans[1].charOffset, 3u);
  EXPECT_EQ(spans[1].byteOffset, 4u);
}

TEST(Cp1252, EveryDefinedByteRoundTripsAndAgreesWithIconv) {
  iconv_t cd = iconv_open("CP1252", "UTF-8");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  int defined = 0;
  for (int b = 1; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const std::string utf8 = text::Cp1252ToUtf8(byte);
    std::string back;
    if (utf8 == "\xEF\xBF\xBD") continue;  // undefined in code page 1252
    ++defined;
    ASSERT_TRUE(text::Utf8ToCp1252(utf8, back)) << b;
    EXPECT_EQ(back, b == 0x92 ? "'" : byte) << b;  // the typographic apostrophe is normalised
    char in[8];
    char out[8];
    utf8.copy(in, utf8.size());
    char* inPtr = in;
    char* outPtr = out;
    std::size_t inLeft = utf8.size();
    std::size_t outLeft = sizeof out;
    ASSERT_NE(iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft), static_cast<std::size_t>(-1)) << b;
    EXPECT_EQ(std::string(out, outPtr), byte);
  }
  iconv_close(cd);
  EXPECT_EQ(defined, 250);
}

TEST(Cp1252, CharactersOutsideTheCodePageAreRefused) {
  std::string out;
  for (const char* word : {"ł", "Ω", "日本", "a\xFF", "\xC3"})
    EXPECT_FALSE(text::Utf8ToCp1252(word, out)) << word;
}

}  // namespace
}  // namespace spellcheck::tool
