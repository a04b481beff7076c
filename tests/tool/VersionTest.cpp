// spellcheck --version (-V): the program's version, then its dictionaries';
// and the pipe's banner, which names the same version.
#include <filesystem>
#include <regex>

#include "SpellcheckVersion.h"
#include "ToolFixture.h"
#include "store/TvarWord.h"

namespace spellcheck::testing {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

TEST_F(ToolTest, VersionNamesTheProgramAndTheBundledDictionary) {
  // The build tree's own data folder, not the test's.
  ToolRun run;
  run.arguments = {"--version"};
  run.environment = {{"HOME", File("")}};
  const ToolResult result = RunTool(run);
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_GE(lines.size(), 3u) << result.out;
  EXPECT_EQ(lines[0], "spellcheck " SPELLCHECK_VERSION);
  EXPECT_TRUE(std::regex_match(lines[0], std::regex("spellcheck [0-9]+\\.[0-9]+\\.[0-9]+")))
      << lines[0];

  // The folder of the bundled dictionary, and each of its dictionaries with
  // its number of words (and the package its words come from, when known).
  std::smatch folderLine;
  ASSERT_TRUE(std::regex_match(lines[1], folderLine,
                               std::regex(R"(dictionaries in (.*[/\\]share[/\\]spellcheck):)")))
      << lines[1];
  const std::filesystem::path folder(folderLine[1].str());
  const auto words = std::filesystem::file_size(folder / "english.dic") / store::RecordSize;
  EXPECT_GT(words, 50000u);
  const std::regex entry("  english\\.dic: " + std::to_string(words) +
                         " words(, from wamerican( [0-9][^ ]*)?)?");
  bool listed = false;
  for (std::size_t i = 2; i < lines.size(); ++i) {
    EXPECT_TRUE(std::regex_match(lines[i], std::regex("  [^ :]+\\.dic: [0-9]+ words(, from .+)?")))
        << lines[i];
    listed = listed || std::regex_match(lines[i], entry);
  }
  EXPECT_TRUE(listed) << result.out;
}

TEST_F(ToolTest, VersionShortFlagAndAfterACommandSayTheSame) {
  const ToolResult version = Run({"--version"});
  EXPECT_EQ(Run({"-V"}).out, version.out);
  EXPECT_EQ(Run({"list", "--version"}).out, version.out);
  EXPECT_EQ(Run({"--help"}).out.find("-V,--version") != std::string::npos, true);
}

TEST_F(ToolTest, PipeBannerNamesTheSameVersion) {
  const std::string version = Lines(Run({"--version"}).out).at(0).substr(sizeof "spellcheck");
  const std::string banner =
      "@(#) International Ispell Version 3.2.06 (but really spellcheck " + version + ")";
  EXPECT_EQ(Run({"-v"}).out, banner + "\n");
  const ToolResult pipe = Run({"-a"}, "house\n");
  EXPECT_EQ(Lines(pipe.out).at(0), banner) << pipe.err;
}

}  // namespace
}  // namespace spellcheck::testing
