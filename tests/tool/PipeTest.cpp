// The ispell pipe: sessions as an editor holds them.
#include "SpellcheckVersion.h"
#include "ToolFixture.h"

namespace spellcheck::testing {
namespace {

const std::string Banner =
    "@(#) International Ispell Version 3.2.06 (but really spellcheck " SPELLCHECK_VERSION ")\n";

std::string Repeated(const std::string& text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

struct Session {
  std::string name;
  std::string input;
  std::string answers;  // after the banner
};

class PipeSessionTest : public ToolTest, public ::testing::WithParamInterface<Session> {};

TEST_P(PipeSessionTest, AnswersEveryLine) {
  const ToolResult result = Run({"-a"}, GetParam().input);
  EXPECT_EQ(result.out, Banner + GetParam().answers) << result.err;
  EXPECT_EQ(result.status, 0) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Protocol, PipeSessionTest,
    ::testing::Values(
        Session{"words", "Hello hous qzxv\n", "*\n& hous 1 6: house\n# qzxv 11\n\n"},
        Session{"empty_line", "\n\nhello\n", "\n\n*\n\n"},
        // A leading ^ is counted in the offsets.
        Session{"caret", "hous\n^hous\n^*hous\n",
                "& hous 1 0: house\n\n& hous 1 1: house\n\n"
                "& hous 1 2: house\n\n"},
        Session{"terse", "!\nhello hous\n%\nhello\n", "& hous 1 6: house\n\n*\n\n"},
        Session{"session_word", "@qzxv\nqzxv zzxv\n", "*\n# zzxv 5\n\n"},
        Session{"ignored_commands", "+\n-\n~tex\n#\nhello\n", "*\n\n"},
        Session{"offsets_count_characters", "café naïve hous\n", "*\n*\n& hous 1 11: house\n\n"},
        Session{"capitals", "HOUSE Carx\n", "*\n& Carx 4 6: Card, Care, Cart, Carts\n\n"},
        Session{"no_final_newline", "hous", "& hous 1 0: house\n\n"},
        // A letter and a combining accent are the accented letter.
        Session{"decomposed_accent", "cafe\xCC\x81 cafe\xCC\x81s\n",
                "*\n& cafe\xCC\x81s 2 6: caf\xC3\xA9, care\n\n"},
        // A line far longer than the reader's buffer, offsets right.
        Session{"long_line", "!\n" + Repeated("hello ", 100000) + "hous\n",
                "& hous 1 600000: house\n\n"}),
    [](const ::testing::TestParamInfo<Session>& info) { return info.param.name; });

TEST_F(ToolTest, PipeAddsToTheCustomDictionary) {
  const ToolResult result = Run({"pipe"}, "*qzxv\n&Zzxv\nqzxv zzxv Zzxv\n");
  EXPECT_EQ(result.out, Banner + "*\n*\n*\n\n");
  EXPECT_EQ(ReadDictionary(CustomDic()), (std::vector<std::string>{"qzxv", "zzxv"}));
  // Text that only begins with a command character stores no "word" with blanks.
  Run({"pipe"}, "*bold* text\n&more words\n");
  EXPECT_EQ(ReadDictionary(CustomDic()), (std::vector<std::string>{"qzxv", "zzxv"}));
  // Text that only begins with a command character stores no "word" with blanks.
  Run({"pipe"}, "*bold* text\n&more words\n");
  EXPECT_EQ(ReadDictionary(CustomDic()), (std::vector<std::string>{"qzxv", "zzxv"}));
}

// ispell's list mode, as flyspell uses it for a large region: the misspelled
// words one a line, exit 0 all the same.
TEST_F(ToolTest, ListModeListsTheMisspelledWordsOfStandardInput) {
  InstallLanguage("en_US", ReadDictionary(MainDic()));
  const ToolResult result = Run({"-l", "-B", "-d", "en_US"}, "the hous\nwrold house\n");
  EXPECT_EQ(result.out, "hous\nwrold\n") << result.err;
  EXPECT_EQ(result.status, 0);
  // A -d that is plainly a file name must name a dictionary.
  EXPECT_EQ(Run({"-a", "-d", File("none.dic")}).status, 2);
}

TEST_F(ToolTest, PipeKeepsIspellsPersonalWordListAsText) {
  for (const char* existing : {"", "zorb\n"}) {
    WriteBytes(File("personal"), existing);
    const ToolResult result =
        Run({"-a", "-p", File("personal")}, "*qzxv\n*zorb\n*€uro\nqzxv zorb\n");
    EXPECT_EQ(result.out, Banner + "*\n*\n\n") << result.err;
    EXPECT_EQ(ReadBytes(File("personal")),
              std::string(existing) + (*existing ? "qzxv\n" : "qzxv\nzorb\n"));
    EXPECT_NE(result.err.find("not added: '€uro'"), std::string::npos) << result.err;
    EXPECT_FALSE(FileExists(CustomDic()));
  }
}

TEST_F(ToolTest, PipeAcceptsIspellOptionsAndMapsUsableDictionaries) {
  WriteSorted(File("other.dic"), {"hous"});
  InstallLanguage("en_US", ReadDictionary(MainDic()));
  WriteBytes(File("personal.txt"), "personal_ws-1.1 en 0\nfoo\n");
  const ToolResult result =
      Run({"-a", "-m", "-B", "-C", "-S", "-i", "utf-8", "-t", "-T", "tex", "-w", "ab",
           "--encoding=utf-8", "-d", "en_US", "-p", File("personal.txt")},
          "hous\n");
  EXPECT_EQ(result.out, Banner + "& hous 1 0: house\n\n") << result.err;
  EXPECT_FALSE(FileExists(CustomDic()));

  // -d naming a word-list file replaces the main dictionary.
  EXPECT_EQ(Run({"-a", "-d", File("other.dic")}, "hous house\n").out,
            Banner + "*\n& house 1 5: hous\n\n");
  EXPECT_EQ(Run({"-a", "-d", File("other")}, "hous\n").out, Banner + "*\n\n");
  // -p naming a word-list file (or a .dic yet to be made) is the custom one.
  Run({"-a", "-p", File("mine.dic")}, "*qzxv\n");
  EXPECT_EQ(ReadDictionary(File("mine.dic")), (std::vector<std::string>{"qzxv"}));
}

TEST_F(ToolTest, PipeVersionAndHelp) {
  for (const char* option : {"-v", "-vv"}) {
    const ToolResult result = Run({option});
    EXPECT_EQ(result.out, Banner);
    EXPECT_EQ(result.status, 0);
  }
  const ToolResult help = Run({"pipe", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("ispell pipe protocol"), std::string::npos);
}

TEST_F(ToolTest, PipeAnswersEachLineAtOnceAndSeesDictionaryChanges) {
  ToolRun run;
  run.arguments = {"-a"};
  run.environment = {{"SPELLCHECK_MAIN", MainDic()}, {"SPELLCHECK_CUSTOM", CustomDic()}};
  ToolProcess editor(run);
  EXPECT_EQ(editor.ReadUntil("\n"), Banner);
  // A first line shorter than any byte-order mark is answered at once too.
  editor.Send("a\n");
  EXPECT_EQ(editor.ReadUntil("\n\n"), "*\n\n");
  editor.Send("^qzxv\n");
  EXPECT_EQ(editor.ReadUntil("\n\n"), "# qzxv 1\n\n");
  // Another program adds the word while the session runs.
  WriteSorted(CustomDic(), {"qzxv"});
  editor.Send("^qzxv\n");
  EXPECT_EQ(editor.ReadUntil("\n\n"), "*\n\n");
  WriteSorted(MainDic(), {"zzxv"});
  editor.Send("^zzxv hello\n");
  EXPECT_EQ(editor.ReadUntil("\n\n"), "*\n# hello 6\n\n");
}

}  // namespace
}  // namespace spellcheck::testing
