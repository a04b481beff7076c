// Project word lists: the nearest .spellcheck-words.txt, --words, and
// add --project.
#include <filesystem>

#include "ToolFixture.h"

namespace spellcheck::testing {
namespace {

class ProjectWordsTest : public ToolTest {
 protected:
  ProjectWordsTest() { std::filesystem::create_directories(File("sub/deeper")); }

  ToolResult RunIn(const std::string& folder, std::vector<std::string> arguments,
                   std::string input = "") const {
    ToolRun run;
    run.arguments = std::move(arguments);
    run.input = std::move(input);
    run.environment = {{"SPELLCHECK_MAIN", MainDic()},
                       {"SPELLCHECK_CUSTOM", CustomDic()},
                       {"SPELLCHECK_DATA", DataFolder()},
                       {"HOME", dir_.Path()}};
    run.workingFolder = folder;
    return RunTool(run);
  }
};

struct Listed {
  std::string file;  // checked, holding "hous mous zzq qwv\n"
  std::vector<std::string> options;
  std::string input;  // for standard input ("-")
  std::string out;
};

void PrintTo(const Listed& listed, std::ostream* os) {
  *os << listed.file;
  for (const std::string& option : listed.options) *os << ' ' << option;
}

class ProjectListTest : public ProjectWordsTest, public ::testing::WithParamInterface<Listed> {};

TEST_P(ProjectListTest, AcceptsTheWordsOfTheNearestListAndOfThoseGiven) {
  const Listed& listed = GetParam();
  WriteBytes(File(".spellcheck-words.txt"), "# words of the project\r\nhous\r\n\r\n");
  WriteBytes(File("sub/deeper/.spellcheck-words.txt"), "mous\n");
  WriteBytes(File("extra.txt"), "zzq\n");
  WriteBytes(File("more.txt"), "  qwv  \n");
  for (const char* name : {"t.txt", "sub/t.txt", "sub/deeper/t.txt"}) {
    WriteBytes(File(name), "hous mous zzq qwv\n");
  }
  std::vector<std::string> arguments{"list"};
  arguments.insert(arguments.end(), listed.options.begin(), listed.options.end());
  arguments.push_back(listed.file);
  const ToolResult result = RunIn(dir_.Path(), arguments, listed.input);
  EXPECT_EQ(result.out, listed.out) << result.err;
  EXPECT_EQ(result.status, listed.out.empty() ? 0 : 1) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ProjectListTest,
    ::testing::Values(
        Listed{"t.txt", {}, "", "mous\nzzq\nqwv\n"},
        Listed{"sub/t.txt", {}, "", "mous\nzzq\nqwv\n"},
        // The nearest list wins: hous is not in it.
        Listed{"sub/deeper/t.txt", {}, "", "hous\nzzq\nqwv\n"},
        Listed{"-", {}, "hous mous\n", "mous\n"},
        Listed{"t.txt", {"--words", "extra.txt"}, "", "mous\nqwv\n"},
        Listed{"sub/deeper/t.txt", {"--words", "extra.txt", "--words", "more.txt"}, "", "hous\n"},
        Listed{"-", {"--words", "extra.txt", "--words", "more.txt"}, "zzq qwv\n", ""}));

TEST_F(ProjectWordsTest, AWordListThatCannotBeReadIsAnError) {
  WriteBytes(File("t.txt"), "hous\n");
  const ToolResult result = Run({"list", "--words", File("missing.txt"), "t.txt"});
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("missing.txt"), std::string::npos) << result.err;
}

TEST_F(ProjectWordsTest, AddProjectMakesTheListInTheCurrentFolderWhenThereIsNone) {
  const ToolResult result = RunIn(File("sub"), {"add", "--project", "zeta", "alpha", "zeta"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ReadBytes(File("sub/.spellcheck-words.txt")), "zeta\nalpha\n");
  EXPECT_NE(result.out.find("zeta: added to "), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("zeta: already in "), std::string::npos) << result.out;
  EXPECT_EQ(RunIn(File("sub"), {"list", "-"}, "zeta alpha beta\n").out, "beta\n");
}

TEST_F(ProjectWordsTest, AddProjectAppendsToTheNearestListAboveAndNeverTwice) {
  WriteBytes(File(".spellcheck-words.txt"), "# ours\nhous");
  const ToolResult result = RunIn(File("sub/deeper"), {"add", "--project", "mous", "hous"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ReadBytes(File(".spellcheck-words.txt")), "# ours\nhous\nmous\n");
  EXPECT_FALSE(FileExists(File("sub/deeper/.spellcheck-words.txt")));
  EXPECT_EQ(RunIn(File("sub/deeper"), {"add", "--project", "mous"}).status, 0);
  EXPECT_EQ(ReadBytes(File(".spellcheck-words.txt")), "# ours\nhous\nmous\n");
  EXPECT_FALSE(FileExists(CustomDic()));
}

TEST_F(ProjectWordsTest, AddProjectRefusesWhatIsNotAWord) {
  const ToolResult result = Run({"add", "--project", " spaced", "", "good"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(ReadBytes(File(".spellcheck-words.txt")), "good\n");
}

}  // namespace
}  // namespace spellcheck::testing
