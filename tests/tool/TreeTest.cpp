// list on folders: what a walk leaves out, the config file, and the same
// output in the same order on any number of threads.
#if !defined(_WIN32)
#include <unistd.h>
#endif

#include <filesystem>

#include "ToolFixture.h"

namespace spellcheck::testing {
namespace {

namespace fs = std::filesystem;

class TreeTest : public ToolTest {
 protected:
  void Write(const std::string& name, const std::string& bytes) {
    fs::create_directories(fs::path(File(name)).parent_path());
    WriteBytes(File(name), bytes);
  }

  // A tree with something of each kind a walk leaves out or treats apart.
  void MakeTree() {
    fs::create_directories(File("tree/.git"));
    Write("tree/a.txt", "wrold\n");
    Write("tree/.hidden/h.txt", "hiddn\n");
    Write("tree/.dot.txt", "dott\n");
    Write("tree/bin.dat", std::string("binn\0zz", 7));
    Write("tree/.gitignore", "*.log\n!keep.log\nout/\n/top.txt\n");
    Write("tree/x.log", "logg\n");
    Write("tree/keep.log", "kepp\n");
    Write("tree/top.txt", "topp\n");
    Write("tree/sub/top.txt", "subtopp\n");
    Write("tree/out/o.txt", "outt\n");
    Write("tree/sub/out", "filled\n");  // a file: "out/" is for folders
    Write("tree/sub/.gitignore", "*.md\n");
    Write("tree/sub/n.md", "nestd\n");
    Write("tree/n.md", "Titel\n");
    Write("tree/vendor/v.txt", "vendr\n");
    Write("tree/notes.txt", "\\emph{Headng} \\ref{codez}\n");
    Write("tree/.spellcheck.toml", "exclude = [\"vendor/\"]\n[modes]\n\"notes.txt\" = \"tex\"\n");
  }
};

TEST_F(TreeTest, AWalkLeavesOutHiddenBinaryIgnoredAndExcludedFiles) {
  MakeTree();
  const ToolResult result = Run({"list", "--where", "tree"});
  EXPECT_EQ(result.out,
            "tree/a.txt:1:1: wrold\n"
            "tree/keep.log:1:1: kepp\n"
            "tree/n.md:1:1: Titel\n"
            "tree/notes.txt:1:7: Headng\n"
            "tree/sub/out:1:1: filled\n"
            "tree/sub/top.txt:1:1: subtopp\n");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.status, 1);
}

TEST_F(TreeTest, FilesNamedAreCheckedWhateverTheWalkWouldLeaveOut) {
  MakeTree();
  const ToolResult result = Run({"list", "tree/x.log", "tree/vendor/v.txt", "tree/bin.dat"});
  EXPECT_EQ(result.out, "logg\nvendr\n");
  EXPECT_EQ(result.err, "spellcheck: tree/bin.dat: binary file, not checked\n");
  EXPECT_EQ(result.status, 2);
}

TEST_F(TreeTest, ParentGitignoresApplyUpToTheRepositoryRoot) {
  MakeTree();
  Write("tree/sub/deep/x.log", "deeplogg\n");
  Write("tree/sub/deep/y.txt", "deepy\n");
  EXPECT_EQ(Run({"list", "tree/sub/deep"}).out, "deepy\n");
}

TEST_F(TreeTest, EveryNumberOfJobsWritesTheSameInTheSameOrder) {
  MakeTree();
  for (int i = 0; i < 30; ++i) Write("tree/many/f" + std::to_string(100 + i) + ".txt", "wordd\n");
  for (const char* format : {"text", "json", "sarif", "github"}) {
    const ToolResult one =
        Run({"list", "--where", "--format", format, "--jobs", "1", "tree", "-", "tree/a.txt"},
            "stdinn\n");
    const ToolResult four =
        Run({"list", "--where", "--format", format, "--jobs", "4", "tree", "-", "tree/a.txt"},
            "stdinn\n");
    EXPECT_EQ(one.out, four.out) << format;
    EXPECT_EQ(one.err, four.err) << format;
    EXPECT_EQ(one.status, four.status) << format;
  }
  const ToolResult text = Run({"list", "-j", "4", "tree/many"});
  std::string expected;
  for (int i = 0; i < 30; ++i) expected += "wordd\n";
  EXPECT_EQ(text.out, expected);
}

#if !defined(_WIN32)
TEST_F(TreeTest, AnUnreadableFileIsAnErrorThatStopsNoOther) {
  Write("tree/a.txt", "wrold\n");
  Write("tree/b.txt", "secrt\n");
  Write("tree/c.txt", "thrd\n");
  fs::permissions(File("tree/b.txt"), fs::perms::none);
  ToolResult result;
  if (::geteuid() == 0) {
    // Root reads anything: the tool runs as nobody, and its output comes
    // back through files.
    const int status = RunUnprivileged([this] {
      const ToolResult child = Run({"list", "--jobs", "2", "tree"});
      WriteBytes(File("out.txt"), child.out);
      WriteBytes(File("err.txt"), child.err);
      return child.status;
    });
    result = {status, ReadBytes(File("out.txt")), ReadBytes(File("err.txt"))};
  } else {
    result = Run({"list", "--jobs", "2", "tree"});
  }
  EXPECT_EQ(result.out, "wrold\nthrd\n");
  EXPECT_NE(result.err.find("tree/b.txt"), std::string::npos) << result.err;
  EXPECT_EQ(result.status, 2);
}
#endif

TEST_F(TreeTest, TheConfigChoosesDictionariesWordsAndModes) {
  fs::create_directories(File("dicts"));
  WriteSorted(File("dicts/extra.dic"), {"zorp"});
  Write("proj/words.txt", "blorf\n");
  Write("proj/.spellcheck.toml",
        "words = [\"words.txt\"]\n"
        "[dictionaries]\n"
        "extra = [\"../dicts/extra.dic\"]\n"
        "[modes]\n"
        "\"*.txt\" = \"tex\"\n");
  Write("proj/t.txt", "zorp blorf \\ref{codez} qwv\n");
  EXPECT_EQ(Run({"list", "proj/t.txt"}).out, "qwv\n");
  // The command line wins.
  EXPECT_EQ(Run({"list", "--mode", "text", "proj/t.txt"}).out, "ref\ncodez\nqwv\n");
  EXPECT_EQ(Run({"list", "--no-config", "proj/t.txt"}).out, "zorp\nblorf\nref\ncodez\nqwv\n");
}

struct BadConfig {
  const char* toml;
  const char* error;  // what the message holds after ".spellcheck.toml:"
};

void PrintTo(const BadConfig& bad, std::ostream* os) {
  *os << bad.toml;
}

class BadConfigTest : public TreeTest, public ::testing::WithParamInterface<BadConfig> {};

TEST_P(BadConfigTest, IsAnErrorNamingTheFileAndLine) {
  Write(".spellcheck.toml", GetParam().toml);
  Write("t.txt", "hello\n");
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"list", "t.txt"}, std::vector<std::string>{"config"}}) {
    const ToolResult result = Run(arguments);
    EXPECT_EQ(result.status, 2) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find(std::string(".spellcheck.toml:") + GetParam().error),
              std::string::npos)
        << result.err;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Configs, BadConfigTest,
    ::testing::Values(
        BadConfig{"languages = [\"en_US\"]\nlangs = [\"x\"]\n", "2: unknown key 'langs'"},
        BadConfig{"languages = \"en_US\"\n", "1: 'languages' must be an array of strings"},
        BadConfig{"words = [\n  \"a\",\n  3]\n", "3: 'words' must be an array of strings"},
        BadConfig{"[dictionaries]\nmian = \"x.dic\"\n", "2: unknown key 'dictionaries.mian'"},
        BadConfig{"dictionaries = 1\n", "1: 'dictionaries' must be a table"},
        BadConfig{"\n[modes]\n\"*.txt\" = \"markdwn\"\n", "3: modes.\"*.txt\": unknown mode"},
        BadConfig{"exclude = [\"a\"\n", "1:"}, BadConfig{"x = \n", "1:5: not valid TOML"}));

TEST_F(TreeTest, ConfigPrintsEachSettingWithItsOrigin) {
  Write("proj/.spellcheck.toml",
        "languages = [\"en_US\"]\n"
        "exclude = [\"build/\"]\n"
        "[dictionaries]\n"
        "custom = \"my.dic\"\n"
        "[modes]\n"
        "\"*.txt\" = \"markdown\"\n");
  Write("proj/docs/a.txt", "x\n");
  // Printed as a TOML string: a backslash (of Windows paths) doubled.
  std::string english;
  for (const char c : InstallLanguage("en_US", {"x"}))
    english += c == '\\' ? "\\\\" : std::string(1, c);
  const std::string config = fs::path(File("proj/.spellcheck.toml")).lexically_normal().string();
  const ToolResult result = Run({"config", "proj/docs/a.txt"});
  EXPECT_EQ(result.status, 0) << result.err;
  for (const std::string& line :
       {"languages = [\"en_US\"]  # " + config + ":1\n",
        "exclude = [\"build/\"]  # " + config + ":2\n",
        "modes.\"*.txt\" = \"markdown\"  # " + config + ":6\n",
        "mode = \"markdown\"  # " + config + ":6 (modes.\"*.txt\")\n",
        "dictionaries.main = \"" + english + "\"  # the dictionaries of the languages named\n",
        std::string("dictionaries.extra = []  # default: none\n")}) {
    EXPECT_NE(result.out.find(line), std::string::npos) << line << "\n" << result.out;
  }
  EXPECT_NE(result.out.find("my.dic\"  # " + config + ":4\n"), std::string::npos) << result.out;
  const ToolResult commandLine = Run({"config", "--mode", "text", "--custom", "c.dic", "proj"});
  EXPECT_NE(commandLine.out.find("dictionaries.custom = \"c.dic\"  # command line (--custom)\n"),
            std::string::npos)
      << commandLine.out;
  EXPECT_NE(commandLine.out.find("mode = \"text\"  # command line (--mode)\n"), std::string::npos);
  EXPECT_NE(Run({"config", "--no-config", "proj"})
                .out.find("languages = []  # none: the main dictionary is a file"),
            std::string::npos);
}

}  // namespace
}  // namespace spellcheck::testing
