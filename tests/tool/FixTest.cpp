// fix driven through standard input (no terminal): answers, undo, quitting,
// and how the file is written back.
#include <sys/stat.h>
#include <utime.h>

#include "ToolFixture.h"

namespace spellcheck::testing {
namespace {

struct FileState {
  ino_t inode = 0;
  time_t modified = 0;
  mode_t mode = 0;
};

FileState StateOf(const std::string& path) {
  struct stat st = {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return {st.st_ino, st.st_mtime, st.st_mode & 07777};
}

class FixTest : public ToolTest {
 protected:
  // The text, with its time set back an hour so that a rewrite shows.
  void WriteText(const std::string& name, const std::string& text) {
    WriteBytes(File(name), text);
    struct utimbuf past = {};
    past.actime = past.modtime = ::time(nullptr) - 3600;
    ::utime(File(name).c_str(), &past);
  }
};

struct Answered {
  std::string keys;
  std::string text;  // afterwards
  std::string out;   // a piece of what fix says
};

void PrintTo(const Answered& answered, std::ostream* os) {
  *os << '"' << answered.keys << '"';
}

class FixAnswerTest : public FixTest, public ::testing::WithParamInterface<Answered> {};

constexpr const char* Text = "hous is a hous\nHous wrld\n";

TEST_P(FixAnswerTest, ChangesTheTextAsAnswered) {
  const Answered& answered = GetParam();
  WriteText("t.txt", Text);
  const FileState before = StateOf(File("t.txt"));
  const ToolResult result = Run({"fix", "t.txt"}, answered.keys);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ReadBytes(File("t.txt")), answered.text);
  EXPECT_NE(result.out.find(answered.out), std::string::npos) << result.out;
  const FileState after = StateOf(File("t.txt"));
  // Untouched unless something was replaced.
  EXPECT_EQ(after.inode == before.inode && after.modified == before.modified,
            answered.text == Text);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, FixAnswerTest,
    ::testing::Values(Answered{"1", "house is a hous\nHous wrld\n", "1 word replaced"},
                      // A suggestion takes the word's capitals; line ends between keys are skipped.
                      Answered{"i\ni\n1\n2\n", "hous is a hous\nHouse word\n", "2 words replaced"},
                      Answered{"a1", "house is a house\nHouse wrld\n", "3 words replaced"},
                      Answered{"rhome\n", "home is a hous\nHous wrld\n", "Replace hous with: home"},
                      Answered{"r\nhome\nar\nhut\n", "home is a hut\nHut wrld\n",
                               "3 words replaced"},
                      Answered{"Iz", Text, "no such key"}, Answered{"9", Text, "no suggestion 9"},
                      // Undo, also back across words.
                      Answered{"1urhome\n", "home is a hous\nHous wrld\n", "undone"},
                      Answered{"1 uurhut\n", "hut is a hous\nHous wrld\n", "undone"},
                      Answered{"u1", "house is a hous\nHous wrld\n", "nothing to undo"},
                      Answered{"1q1", "house is a hous\nHous wrld\n", "1 word replaced, written"},
                      Answered{"1x", Text, "t.txt: left as it was"},
                      Answered{"1\x03", Text, "t.txt: left as it was"},
                      Answered{"    ", Text, "nothing replaced, not written"}));

TEST_F(FixTest, AcceptedWordsAreNotAskedAgainInTheRun) {
  WriteText("a.txt", "hous Hous\n");
  WriteText("b.txt", "hous zorse\n");
  const ToolResult result = Run({"fix", "a.txt", "b.txt"}, "I1");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ReadBytes(File("a.txt")), "hous Hous\n");
  EXPECT_EQ(ReadBytes(File("b.txt")), "hous horse\n");
}

struct Added {
  std::string key;
  std::string list;  // the file that receives the word
};

class FixAddTest : public FixTest, public ::testing::WithParamInterface<Added> {};

TEST_P(FixAddTest, AddsTheWordAndSkipsItsOtherPlaces) {
  WriteText("t.txt", "hous hous\n");
  WriteText("u.txt", "hous\n");
  const ToolResult result = Run({"fix", "t.txt", "u.txt"}, GetParam().key + "x");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("hous: added to "), std::string::npos) << result.out;
  // Nothing was asked about u.txt, so x found no word to stop at.
  EXPECT_NE(result.out.find("u.txt: nothing replaced"), std::string::npos) << result.out;
  if (GetParam().list == "cust.dic") {
    EXPECT_EQ(ReadDictionary(CustomDic()), std::vector<std::string>{"hous"});
  } else {
    EXPECT_EQ(ReadBytes(File(GetParam().list)), "hous\n");
  }
}

INSTANTIATE_TEST_SUITE_P(Lists, FixAddTest,
                         ::testing::Values(Added{"c", "cust.dic"},
                                           Added{"p", ".spellcheck-words.txt"}));

TEST_F(FixTest, XDropsTheWordsAddedInTheFile) {
  WriteText("t.txt", "hous wrld\n");
  const ToolResult result = Run({"fix", "t.txt"}, "cx");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_FALSE(FileExists(CustomDic()));
}

TEST_F(FixTest, KeepsTheModeAndEveryOtherByte) {
  const std::string text = "caf\xC3\xA9 hous\r\n\tna\xC3\xAFve \xFF hous\r\n";
  WriteText("t.txt", text);
  ASSERT_EQ(::chmod(File("t.txt").c_str(), 0640), 0);
  const ToolResult result = Run({"fix", "t.txt"}, "a1");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ReadBytes(File("t.txt")), "caf\xC3\xA9 house\r\n\tna\xC3\xAFve \xFF house\r\n");
  EXPECT_EQ(StateOf(File("t.txt")).mode, 0640u);
}

TEST_F(FixTest, WritesOtherEncodingsBackInTheirOwn) {
  WriteText("t.txt", "caf\xE9 hous\n");
  const ToolResult result = Run({"--encoding", "ISO-8859-1", "fix", "t.txt"}, "rhous\xE9\n");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ReadBytes(File("t.txt")), "caf\xE9 hous\xE9\n");
}

TEST_F(FixTest, AFileChangedMeanwhileIsNotOverwritten) {
  WriteText("t.txt", "hous\n");
  ToolRun run;
  run.arguments = {"fix", "t.txt"};
  run.environment = {{"SPELLCHECK_MAIN", MainDic()}, {"SPELLCHECK_CUSTOM", CustomDic()}};
  run.workingFolder = dir_.Path();
  ToolProcess fix(run);
  fix.ReadUntil("> ");
  WriteBytes(File("t.txt"), "hous, edited elsewhere\n");
  fix.Send("1");
  // To its end: what it wrote, and no word of having written the file.
  EXPECT_EQ(fix.ReadUntil("(the end)").find("written"), std::string::npos);
  EXPECT_EQ(ReadBytes(File("t.txt")), "hous, edited elsewhere\n");
}

TEST_F(FixTest, ErrorsExitWithTwoAndTheOtherFilesAreStillFixed) {
  WriteText("t.txt", "hous\n");
  const ToolResult result = Run({"fix", "missing.txt", "t.txt"}, "1");
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("missing.txt"), std::string::npos) << result.err;
  EXPECT_EQ(ReadBytes(File("t.txt")), "house\n");
}

}  // namespace
}  // namespace spellcheck::testing
