// Texts in UTF-8 and other encodings against code page 1252 dictionaries,
// and input that is not text at all.
#include "ToolFixture.h"

namespace spellcheck::testing {
namespace {

TEST_F(ToolTest, Utf8WordsMeetCp1252DictionariesAndComeBackUnchanged) {
  const ToolResult result = Run({"list", "--suggest"}, "café cafè naïve naïv\n");
  // An accent for another is a near slip; care is one letter further.
  EXPECT_EQ(result.out, "cafè: café, care\nnaïv: naïve\n") << result.err;
}

TEST_F(ToolTest, AWordCodePage1252CannotHoldIsMisspelledAndShownAsWritten) {
  const ToolResult result = Run({"-a"}, "łódź hello\n");
  EXPECT_EQ(result.out.substr(result.out.find('\n') + 1), "# łódź 0\n*\n\n");
  EXPECT_EQ(Run({"check", "łódź"}).out, "łódź: misspelled\n");
}

TEST_F(ToolTest, OtherEncodingsInAndOut) {
  // "cafè" in ISO-8859-15: the answer comes back in the same encoding.
  const ToolResult latin = Run({"--encoding", "ISO-8859-15", "list", "--suggest"}, "caf\xE8\n");
  EXPECT_EQ(latin.out, "caf\xE8: caf\xE9, care\n") << latin.err;
  const ToolResult cp1252 = Run({"--encoding", "CP1252", "check", "na\xEFve"});
  EXPECT_EQ(cp1252.out, "na\xEFve: correct\n");
  const ToolResult pipe = Run({"-a", "-i", "latin1"}, "na\xEFv hello\n");
  EXPECT_EQ(pipe.out.substr(pipe.out.find('\n') + 1), "& na\xEFv 1 0: na\xEFve\n*\n\n");
  EXPECT_EQ(Run({"--encoding", "NO-SUCH-CODE", "check", "hello"}).status, 2);
}

TEST_F(ToolTest, BuiltDictionaryRoundTripsThroughDump) {
  WriteBytes(File("words.txt"), "résumé\nœuvre\n€uro\nnaïve\n");
  ASSERT_EQ(Run({"build", "--quiet", "words.txt", "-o", "x.dic"}).status, 0);
  EXPECT_EQ(ReadDictionary(File("x.dic")),
            (std::vector<std::string>{"na\xEFve", "r\xE9sum\xE9", "\x80uro", "\x9Cuvre"}));
  EXPECT_EQ(Run({"dump", "x.dic"}).out, "naïve\nrésumé\n€uro\nœuvre\n");
  EXPECT_EQ(Run({"--main", "x.dic", "--no-custom", "list"}, "résumé œuvre resume\n").out,
            "resume\n");
}

TEST_F(ToolTest, InvalidUtf8SeparatesWordsAndIsReportedOnce) {
  const ToolResult result = Run({"list", "--where"}, "hello\xFFhous \xC3 the\nhous\xE9\n");
  EXPECT_EQ(result.out, "<stdin>:1:7: hous\n<stdin>:2:1: hous\n");
  EXPECT_EQ(result.err,
            "spellcheck: <stdin>:1: not valid UTF-8; such bytes separate words (see --encoding)\n");
  EXPECT_EQ(result.status, 1);
}

TEST_F(ToolTest, BinaryFilesAreRefusedNotListed) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) & 0xFF);
  WriteBytes(File("garbage.bin"), garbage);
  const ToolResult result = Run({"list", "garbage.bin"});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "spellcheck: garbage.bin: binary file, not checked\n");
  // A folder is walked, and a walk passes over binary files without a word.
  const ToolResult walked = Run({"list", "."});
  EXPECT_EQ(walked.err, "");
  EXPECT_EQ(walked.status, 0);
}

TEST_F(ToolTest, AHugeLineIsCheckedWhole) {
  std::string line;
  for (int i = 0; i < 200000; ++i) line += "hello ";
  line += "hous\n";
  const ToolResult listed = Run({"list", "--where"}, line);
  EXPECT_EQ(listed.out, "<stdin>:1:1200001: hous\n");
  const ToolResult piped = Run({"-a", "!"}, "!\n" + line);
  EXPECT_NE(piped.out.find("& hous 1 1200000: house\n\n"), std::string::npos);
}

TEST_F(ToolTest, BinaryGarbageInThePipeGetsAnswersNotACrash) {
  std::string garbage;
  for (int i = 0; i < 20000; ++i) garbage += static_cast<char>((i * 31 + 7) & 0xFF);
  const ToolResult result = Run({"-a"}, garbage);
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(result.out.ends_with("\n\n") || result.out.ends_with("\n")) << result.out.size();
}

}  // namespace
}  // namespace spellcheck::testing
