// check, suggest and list: output and exit status.
#include "ToolFixture.h"

#if !defined(_WIN32)
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace spellcheck::testing {
namespace {

struct Golden {
  std::vector<std::string> arguments;
  std::string input;
  std::string out;
  int status;
};

void PrintTo(const Golden& golden, std::ostream* os) {
  for (const std::string& argument : golden.arguments) *os << argument << ' ';
}

// ASCII text in UTF-16LE after `mark`.
std::string Utf16Le(const std::string& mark, const std::string& ascii) {
  std::string bytes = mark;
  for (const char c : ascii) {
    bytes += c;
    bytes += '\0';
  }
  return bytes;
}

class GoldenTest : public ToolTest, public ::testing::WithParamInterface<Golden> {};

TEST_P(GoldenTest, PrintsExpectedOutputAndStatus) {
  const Golden& golden = GetParam();
  WriteBytes(File("text.txt"),
             "Hello wrold, the house is a mouse.\nHOUSE and NOTE but hous and Carx\n");
  const ToolResult result = Run(golden.arguments, golden.input);
  EXPECT_EQ(result.out, golden.out) << result.err;
  EXPECT_EQ(result.status, golden.status) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, GoldenTest,
    ::testing::Values(
        // A capitalised word is found through its small form; words in
        // capitals throughout through their capitalised form.
        Golden{{"check", "hello", "Hello", "HELLO", "Paris", "PARIS", "paris"},
               "",
               "hello: correct\nHello: correct\nHELLO: correct\nParis: correct\n"
               "PARIS: correct\nparis: misspelled\n",
               1},
        Golden{{"check", "house", "don't", "don’t"},
               "",
               "house: correct\ndon't: correct\ndon’t: correct\n",
               0},
        // A hyphenated word has the same answer everywhere: right as a whole
        // or part by part.
        Golden{{"check", "well-known", "well-knwn"},
               "",
               "well-known: correct\nwell-knwn: misspelled\n",
               1},
        // Decoded before it is split into lines; the byte-order mark tells.
        Golden{{"list", "--where"},
               Utf16Le("\xFF\xFE", "hous\nwrold house\n"),
               "<stdin>:1:1: hous\n<stdin>:2:1: wrold\n",
               1},
        Golden{{"list", "--where", "--encoding", "UTF-16LE"},
               Utf16Le("", "house\nthe hous\n"),
               Utf16Le("", "<stdin>:2:5: hous\n"),
               1},
        Golden{{"list", "--where"}, "\xEF\xBB\xBFhous house\n", "<stdin>:1:1: hous\n", 1},
        // Ranked suggestions, best first, in the word's capitals; the
        // library's positional list with --positional.
        Golden{{"suggest", "hous", "Carx", "CARX", "zzzz"},
               "",
               "hous: house\nCarx: Card, Care, Cart, Carts\nCARX: CARD, CARE, CART, CARTS\nzzzz:\n",
               0},
        Golden{{"suggest", "--max", "1", "wrold", "Teh", "dont", "HOUS"},
               "",
               "wrold: world\nTeh: The\ndont: don't\nHOUS: HOUSE\n",
               0},
        Golden{{"suggest", "--positional", "hous", "Carx", "CARX", "wrold"},
               "",
               "hous: house\nCarx: Card, Care, Cart\nCARX: CARD, CARE, CART\nwrold:\n",
               0},
        Golden{{"list", "text.txt"}, "", "wrold\nand\nbut\nhous\nand\nCarx\n", 1},
        Golden{{"list", "--where", "text.txt"},
               "",
               "text.txt:1:7: wrold\ntext.txt:2:7: and\ntext.txt:2:16: but\n"
               "text.txt:2:20: hous\ntext.txt:2:25: and\ntext.txt:2:29: Carx\n",
               1},
        Golden{{"list", "--suggest"}, "the hous\n", "hous: house\n", 1},
        Golden{{"list", "--where", "--suggest", "-"},
               "Carx\n",
               "<stdin>:1:1: Carx: Card, Care, Cart, Carts\n",
               1},
        Golden{{"list"}, "the house is a word\n", "", 0},
        // Digits, URLs and e-mail addresses are no words; inner apostrophes
        // and hyphens are, hyphenated words answered part by part.
        Golden{{"list", "--where"},
               "3rd mp3 x2y http://hous.org www.hous.com me@hous.org 'hous' well-known well-knwn "
               "hous-house\n",
               "<stdin>:1:55: hous\n<stdin>:1:77: knwn\n<stdin>:1:82: hous\n",
               1}));

TEST_F(ToolTest, ListGoesOnAfterAMissingFileAndFailsAtTheEnd) {
  WriteBytes(File("a.txt"), "hous\n");
  WriteBytes(File("b.txt"), "mous\n");
  const ToolResult result = Run({"list", "a.txt", "missing.txt", "b.txt"});
  EXPECT_EQ(result.out, "hous\nmous\n");
  EXPECT_EQ(result.err, "spellcheck: missing.txt: No such file or directory\n");
  EXPECT_EQ(result.status, 2);
}

TEST_F(ToolTest, UnreadableTextIsReportedNotSkippedSilently) {
#if defined(_WIN32)
  GTEST_SKIP() << "needs a second user who cannot read the file";
#endif
  WriteBytes(File("secret.txt"), "hous\n");
  ASSERT_EQ(::chmod(File("secret.txt").c_str(), 0600), 0);
  const std::string text = File("secret.txt");
  const int status = RunUnprivileged([&] {
    const ToolResult result = Run({"list", text});
    const bool reported =
        result.err == "spellcheck: " + text + ": Permission denied\n" && result.out.empty();
    return reported ? result.status : 100;
  });
  EXPECT_EQ(status, 2);
}

// What list finds goes out before it waits for more input, so a reader at
// the other end of a pipe (an editor, a pager) sees it at once.
TEST_F(ToolTest, ListAnswersBeforeItsInputEnds) {
  ToolRun run;
  run.arguments = {"list"};
  run.environment = {{"SPELLCHECK_MAIN", MainDic()}, {"SPELLCHECK_CUSTOM", CustomDic()}};
  ToolProcess reader(run);
  reader.Send("the hous\n");
  EXPECT_EQ(reader.ReadUntil("\n"), "hous\n");
  reader.Send("wrold\n");
  EXPECT_EQ(reader.ReadUntil("\n"), "wrold\n");
}

#if !defined(_WIN32)
// With SIGPIPE ignored a write to a closed pipe fails with EPIPE: the run
// ends there, saying so once, not once for every file left.
TEST_F(ToolTest, AClosedOutputEndsListOnce) {
  std::string text;
  for (int i = 0; i < 40000; ++i) text += "hous ";
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) WriteBytes(File(name), text);
  int out[2];
  int err[2];
  ASSERT_EQ(::pipe(out), 0);
  ASSERT_EQ(::pipe(err), 0);
  const std::string tool = ToolPath();
  const std::string mainVariable = "SPELLCHECK_MAIN=" + MainDic();
  const std::string customVariable = "SPELLCHECK_CUSTOM=" + CustomDic();
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGPIPE, SIG_IGN);
    ::dup2(out[1], 1);
    ::dup2(err[1], 2);
    for (const int fd : {out[0], out[1], err[0], err[1]}) ::close(fd);
    const std::string a = File("a.txt"), b = File("b.txt"), c = File("c.txt");
    const char* argv[] = {tool.c_str(), "list", a.c_str(), b.c_str(), c.c_str(), nullptr};
    const char* envp[] = {mainVariable.c_str(), customVariable.c_str(), nullptr};
    ::execve(tool.c_str(), const_cast<char**>(argv), const_cast<char**>(envp));
    ::_exit(127);
  }
  ::close(out[1]);
  ::close(err[1]);
  ::close(out[0]);  // nobody reads the output
  std::string messages;
  char buffer[4096];
  for (ssize_t got; (got = ::read(err[0], buffer, sizeof buffer)) > 0;) {
    messages.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(err[0]);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_EQ(messages, "spellcheck: cannot write the output: Broken pipe\n");
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << status;
}

// Only regular files are dictionaries: a FIFO in their place is refused at
// once, never opened in a way that waits for a writer.
TEST_F(ToolTest, AFifoAsADictionaryNeverHangs) {
  ASSERT_EQ(::mkfifo(File("fifo.dic").c_str(), 0600), 0);
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--main", File("fifo.dic"), "check", "house"},
        {"--main", File("fifo.dic"), "list"},
        {"--custom", File("fifo.dic"), "list"},
        {"--dic", File("fifo.dic"), "-a"}}) {
    const ToolResult result = Run(arguments, "house hous\n");
    EXPECT_NE(result.status, -1) << arguments[0];
    if (arguments[0] == "--main") {
      EXPECT_EQ(result.err,
                "spellcheck: cannot read the main dictionary " + File("fifo.dic") + "\n");
    }
  }
}
#endif

TEST_F(ToolTest, MissingMainDictionaryIsAnErrorNotEveryWordWrong) {
  const ToolResult result = Run({"--main", File("none.dic"), "check", "hello"});
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "spellcheck: cannot read the main dictionary " + File("none.dic") + "\n");
  EXPECT_EQ(result.status, 2);
}

TEST_F(ToolTest, FurtherDictionariesAreConsultedInOrderAndCustomCanBeLeftOut) {
  WriteSorted(CustomDic(), {"hous"});
  WriteSorted(File("extra.dic"), {"mous"});
  EXPECT_EQ(Run({"check", "hous", "mous"}).out, "hous: correct\nmous: misspelled\n");
  EXPECT_EQ(Run({"--dic", File("extra.dic"), "check", "hous", "mous"}).out,
            "hous: correct\nmous: correct\n");
  EXPECT_EQ(Run({"--no-custom", "check", "hous"}).out, "hous: misspelled\n");
  WriteSorted(File("extra2.dic"), {"zzxv"});
  EXPECT_EQ(
      Run({"--dic", File("extra.dic"), "--dic", File("extra2.dic"), "check", "mous", "zzxv"}).out,
      "mous: correct\nzzxv: correct\n");
  EXPECT_EQ(Run({"check", "--custom", File("extra.dic"), "hous", "mous"}).out,
            "hous: misspelled\nmous: correct\n");
}

TEST_F(ToolTest, MoreThanTenFurtherDictionariesIsAUsageError) {
  std::vector<std::string> arguments;
  for (int i = 0; i < 10; ++i) arguments.insert(arguments.end(), {"--dic", File("x.dic")});
  arguments.insert(arguments.end(), {"check", "hello"});
  const ToolResult result = Run(arguments);
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("too many dictionaries"), std::string::npos);
  arguments.insert(arguments.begin(), "--no-custom");
  EXPECT_EQ(Run(arguments).status, 0);
}

TEST_F(ToolTest, IgnoreCaseIsHandedToTheCheck) {
  // A one-word dictionary, so that the only probe of the lookup meets the word.
  WriteSorted(File("one.dic"), {"house"});
  EXPECT_EQ(Run({"--main", File("one.dic"), "check", "hoUSE"}).status, 1);
  EXPECT_EQ(Run({"--main", File("one.dic"), "--ignore-case", "check", "hoUSE"}).out,
            "hoUSE: correct\n");
}

TEST_F(ToolTest, HelpIsEverywhereAndUsageErrorsExitWithTwo) {
  for (const char* command :
       {"check", "suggest", "list", "add", "delete", "merge", "build", "dump", "verify"}) {
    const ToolResult result = Run({command, "--help"});
    EXPECT_EQ(result.status, 0) << command;
    EXPECT_NE(result.out.find("Usage"), std::string::npos) << command;
  }
  EXPECT_EQ(Run({"--help"}).status, 0);
  EXPECT_EQ(Run({"frobnicate"}).status, 2);
  EXPECT_EQ(Run({}).status, 2);
  EXPECT_EQ(Run({"check"}).status, 2);
  EXPECT_EQ(Run({"build", "words.txt"}).status, 2);  // no -o
}

TEST_F(ToolTest, BundledDictionaryNeedsNoSetUp) {
  ToolRun run;
  run.arguments = {"check", "spelling", "dictionary", "definately"};
  run.environment = {{"HOME", dir_.Path()}};
  const ToolResult result = RunTool(run);
  EXPECT_EQ(result.out, "spelling: correct\ndictionary: correct\ndefinately: misspelled\n")
      << result.err;
  EXPECT_EQ(result.status, 1);
}

}  // namespace
}  // namespace spellcheck::testing
