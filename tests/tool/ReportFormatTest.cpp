// list --format: text as ever, one JSON document, SARIF 2.1.0 and GitHub
// workflow annotations.
#include <nlohmann/json.hpp>

#include "ToolFixture.h"

namespace spellcheck::testing {
namespace {

using nlohmann::json;

class ReportFormatTest : public ToolTest {
 protected:
  ReportFormatTest() { WriteBytes(File("text.txt"), "Hello wrold, the house.\nnaïve hous\n"); }

  json ListAs(const std::string& format, bool suggest, int status = 1) const {
    std::vector<std::string> arguments{"list", "--format", format, "text.txt"};
    if (suggest) arguments.push_back("--suggest");
    const ToolResult result = Run(arguments);
    EXPECT_EQ(result.status, status) << result.err;
    return json::parse(result.out);
  }
};

TEST_F(ReportFormatTest, JsonHoldsOneFindingForEachWord) {
  const json document = ListAs("json", true);
  ASSERT_EQ(document["findings"].size(), 2u) << document.dump();
  struct Expected {
    std::size_t line;
    std::size_t column;
    std::string word;
    std::string firstSuggestion;
  };
  const std::vector<Expected> expected{{1, 7, "wrold", "world"}, {2, 7, "hous", "house"}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const json& finding = document["findings"][i];
    EXPECT_EQ(finding["file"], "text.txt");
    EXPECT_EQ(finding["line"], expected[i].line);
    EXPECT_EQ(finding["column"], expected[i].column);
    EXPECT_EQ(finding["word"], expected[i].word);
    ASSERT_FALSE(finding["suggestions"].empty());
    EXPECT_EQ(finding["suggestions"][0], expected[i].firstSuggestion);
  }
}

TEST_F(ReportFormatTest, JsonWithoutSuggestOrFindings) {
  EXPECT_FALSE(ListAs("json", false)["findings"][0].contains("suggestions"));
  WriteBytes(File("text.txt"), "the house\n");
  EXPECT_EQ(ListAs("json", false, 0), json({{"findings", json::array()}}));
}

TEST_F(ReportFormatTest, SarifNamesTheToolTheRuleAndEachPlace) {
  const json document = ListAs("sarif", true);
  EXPECT_EQ(document["version"], "2.1.0");
  EXPECT_TRUE(document["$schema"].get<std::string>().find("sarif") != std::string::npos);
  const json& run = document["runs"][0];
  EXPECT_EQ(run["tool"]["driver"]["name"], "spellcheck");
  EXPECT_EQ(run["tool"]["driver"]["rules"][0]["id"], "spelling");
  ASSERT_EQ(run["results"].size(), 2u);
  const json& result = run["results"][1];
  EXPECT_EQ(result["ruleId"], "spelling");
  EXPECT_TRUE(result["message"]["text"].get<std::string>().starts_with(
      "Misspelled word 'hous' (suggestions: house"));
  const json& location = result["locations"][0]["physicalLocation"];
  EXPECT_EQ(location["artifactLocation"]["uri"], "text.txt");
  EXPECT_EQ(location["region"]["startLine"], 2);
  EXPECT_EQ(location["region"]["startColumn"], 7);
  EXPECT_EQ(location["region"]["endColumn"], 11);
}

struct Annotated {
  std::vector<std::string> arguments;
  std::string out;
  int status;
};

void PrintTo(const Annotated& annotated, std::ostream* os) {
  for (const std::string& argument : annotated.arguments) *os << argument << ' ';
}

class FormatGoldenTest : public ReportFormatTest,
                         public ::testing::WithParamInterface<Annotated> {};

TEST_P(FormatGoldenTest, PrintsExpectedOutputAndStatus) {
  const ToolResult result = Run(GetParam().arguments);
  EXPECT_EQ(result.out, GetParam().out) << result.err;
  EXPECT_EQ(result.status, GetParam().status) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, FormatGoldenTest,
    ::testing::Values(
        Annotated{{"list", "--format", "github", "text.txt"},
                  "::warning file=text.txt,line=1,col=7::Misspelled word 'wrold'\n"
                  "::warning file=text.txt,line=2,col=7::Misspelled word 'hous'\n",
                  1},
        Annotated{{"list", "--format", "github", "--suggest", "--max", "1", "text.txt"},
                  "::warning file=text.txt,line=1,col=7::Misspelled word 'wrold' (suggestions: "
                  "world)\n"
                  "::warning file=text.txt,line=2,col=7::Misspelled word 'hous' (suggestions: "
                  "house)\n",
                  1},
        Annotated{{"list", "--format", "text", "--where", "text.txt"},
                  "text.txt:1:7: wrold\ntext.txt:2:7: hous\n",
                  1},
        Annotated{{"list", "--format", "xml", "text.txt"}, "", 2}));

}  // namespace
}  // namespace spellcheck::testing
