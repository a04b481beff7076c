// Vocabularies, identifiers and the least word length: which names the code
// filter takes for definitions, which words a vocabulary holds in which case,
// and what `list` reports with them (a misspelled name at its definition
// only, its uses in comments not; the vocabularies of a file's kind).
#include <filesystem>

#include "ToolFixture.h"
#include "filters/Filter.h"
#include "filters/Identifiers.h"
#include "vocabularies/Vocabularies.h"

namespace spellcheck::testing {
namespace {

struct DefinitionCase {
  std::string mode;
  std::string code;
  std::vector<std::string> names;  // the definitions, in order; =NAME: a parameter
};

void PrintTo(const DefinitionCase& c, std::ostream* os) {
  *os << c.mode << ": " << c.code;
}

class DefinitionTest : public ::testing::TestWithParam<DefinitionCase> {};

TEST_P(DefinitionTest, FindsTheNamesThatDefinitionsGive) {
  const DefinitionCase& c = GetParam();
  const std::unique_ptr<tool::Filter> filter = tool::MakeFilter(c.mode);
  ASSERT_TRUE(filter);
  std::vector<tool::Region> regions;
  filter->Regions(c.code, regions);
  std::vector<std::string> names;
  for (const tool::Region& region : regions) {
    if (region.definition) {
      // A parameter's name is only a word of the run: marked with '='.
      names.push_back((region.nameOnly ? "=" : "") +
                      c.code.substr(region.begin, region.end - region.begin));
    }
  }
  EXPECT_EQ(names, c.names);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, DefinitionTest,
    ::testing::Values(
        DefinitionCase{"python",
                       "def calulate_total(items):\n    return sum(items)\n"
                       "class Parser:\n    pass\nMAX_SIZE = 10\nif MAX_SIZE == 3: call(x)\n",
                       {"calulate_total", "Parser", "MAX_SIZE"}},
        DefinitionCase{"go",
                       "func IntializeCache() {}\nfunc (c *Cache) Lookup(key string) {}\n"
                       "type Entry struct{}\nvar (\n\tcount int\n\tlimit = 3\n)\nx := f(y)\n",
                       {"IntializeCache", "Lookup", "Entry", "count", "limit", "x"}},
        DefinitionCase{"js",
                       "function renderPage() {}\nconst maxItems = 3;\nlet view;\n"
                       "class Widget {}\nfoo(bar);\n",
                       {"renderPage", "maxItems", "view", "Widget"}},
        DefinitionCase{"rust",
                       "fn parse_line() {}\nlet mut counter = 0;\nstruct Point;\n"
                       "enum Shape {}\ntrait Draw {}\nfoo(bar);\n",
                       {"parse_line", "counter", "Point", "Shape", "Draw"}},
        DefinitionCase{
            "c",
            "#include <stdio.h>\n#define BUFFER_SIZE 8\nstatic int read_header(FILE *f);\n"
            "struct node { int count; };\nreturn total(x);\nchar *name = 0;\n"
            "if (a == b) call(c);\n",
            {"BUFFER_SIZE", "read_header", "=f", "node", "count", "name"}},
        DefinitionCase{"shell",
                       "cleanup() {\n  rm -f x\n}\nfunction install_files {\n}\n"
                       "TARGET=/tmp\necho $TARGET\n",
                       {"cleanup", "install_files", "TARGET"}},
        // Comments and strings hold no definitions.
        DefinitionCase{"python", "# def notaname\nx = 'class notone'\n", {"x"}},
        // Digits cut a name: each piece is checked.
        DefinitionCase{"python", "def url2pathname(): pass\n", {"url", "pathname"}}));

TEST(IdentifierPartsTest, AddsTheNameAndTheCompoundCheckersParts) {
  std::unordered_set<std::string> words;
  tool::AddNameAndParts("parse_HTTPHeader_block2", words);
  EXPECT_EQ(words, (std::unordered_set<std::string>{"parse_HTTPHeader_block2", "parse", "HTTP",
                                                    "Header", "block"}));
}

class VocabularyTest : public ToolTest {
 protected:
  // A vocabulary NAME in the test's data folder.
  void InstallVocabulary(const std::string& name, std::vector<std::string> words) const {
    std::filesystem::create_directories(DataFolder() + "/vocabularies");
    WriteSorted(DataFolder() + "/vocabularies/" + name + ".dic", std::move(words));
  }
};

TEST_F(VocabularyTest, HoldsWordsByItsCaseRule) {
  InstallVocabulary("cased", {"NASA", "Paris", "mutex"});
  // A list whose words count in any case is made in lower case.
  InstallVocabulary("any", {"nasa", "paris", "mutex"});
  const auto cased = tool::Vocabulary::Load(DataFolder() + "/vocabularies/cased.dic", false);
  const auto any = tool::Vocabulary::Load(DataFolder() + "/vocabularies/any.dic", true);
  ASSERT_TRUE(cased && any);
  struct Case {
    std::string word;
    bool cased;
    bool any;
  };
  for (const Case& c : std::vector<Case>{{"mutex", true, true},
                                         {"Mutex", true, true},
                                         {"MUTEX", true, true},
                                         {"muTex", false, true},
                                         {"Paris", true, true},
                                         {"PARIS", true, true},
                                         {"paris", false, true},
                                         {"NASA", true, true},
                                         {"nasa", false, true},
                                         {"mutexes", false, false}}) {
    EXPECT_EQ(cased->Holds(c.word), c.cased) << c.word;
    EXPECT_EQ(any->Holds(c.word), c.any) << c.word;
  }
}

TEST_F(VocabularyTest, FindsEveryWordOfALongList) {
  // Many words that share their first eight bytes, found by their last.
  std::vector<std::string> words;
  for (int i = 0; i < 300; ++i) {
    const std::string number = std::to_string(1000 + i);
    words.push_back("w" + number);
    words.push_back("samepref" + number);
  }
  InstallVocabulary("long", words);
  const auto vocabulary = tool::Vocabulary::Load(DataFolder() + "/vocabularies/long.dic", true);
  ASSERT_TRUE(vocabulary);
  ASSERT_EQ(vocabulary->Size(), words.size());
  for (const std::string& word : words) EXPECT_TRUE(vocabulary->Holds(word)) << word;
  for (const std::string word :
       {"a", "samepref", "samepref999", "samepref10000", "w", "w999", "w10000", "zzz"}) {
    EXPECT_FALSE(vocabulary->Holds(word)) << word;
  }
}

TEST_F(VocabularyTest, MisspelledNameIsReportedAtItsDefinitionOnly) {
  WriteSorted(MainDic(), {"total", "the", "sum", "of", "items", "returns", "see", "and"});
  WriteBytes(File("a.py"),
             "def calulate_total(items):\n"
             "    # calulate_total returns the sum of items\n"
             "    return sum(items)\n");
  WriteBytes(File("b.py"), "# see calulate_total and renderr\n");
  const ToolResult result = Run({"list", "--where", "a.py", "b.py"});
  EXPECT_EQ(result.out, "a.py:1:5: calulate\nb.py:1:26: renderr\n") << result.err;
  EXPECT_EQ(result.status, 1);
}

TEST_F(VocabularyTest, IdentifiersOffInTheConfigChecksNoDefinition) {
  WriteSorted(MainDic(), {"total", "see"});
  WriteBytes(File(".spellcheck.toml"), "identifiers = false\n");
  WriteBytes(File("a.py"), "def calulate_total():\n    pass\n# see calulate_total\n");
  const ToolResult result = Run({"list", "--where", "a.py"});
  EXPECT_EQ(result.out, "a.py:3:7: calulate\n") << result.err;
}

TEST_F(VocabularyTest, FileKindChoosesTheVocabularies) {
  WriteSorted(MainDic(), {"calls", "the", "and"});
  InstallVocabulary("python", {"makedirs"});
  InstallVocabulary("software", {"mutex"});
  const std::string text = "# calls makedirs and the mutex\n";
  WriteBytes(File("a.py"), text);
  WriteBytes(File("a.sh"), text);
  const ToolResult result = Run({"list", "--where", "a.py", "a.sh"});
  EXPECT_EQ(result.out, "a.sh:1:9: makedirs\n") << result.err;
}

TEST_F(VocabularyTest, ConfigNamesTheVocabulariesOfAMode) {
  WriteSorted(MainDic(), {"calls", "the", "and"});
  InstallVocabulary("python", {"makedirs"});
  InstallVocabulary("software", {"mutex"});
  WriteBytes(File(".spellcheck.toml"), "[vocabularies]\nshell = [\"python\"]\nall = []\n");
  WriteBytes(File("a.sh"), "# calls makedirs and the mutex\n");
  WriteBytes(File("a.md"), "calls makedirs and the mutex\n");
  const ToolResult result = Run({"list", "--where", "a.sh", "a.md"});
  EXPECT_EQ(result.out, "a.sh:1:26: mutex\na.md:1:7: makedirs\na.md:1:24: mutex\n") << result.err;
}

TEST_F(VocabularyTest, UnknownVocabularyInTheConfigIsAnError) {
  WriteBytes(File(".spellcheck.toml"), "[vocabularies]\npython = [\"pyton\"]\n");
  WriteBytes(File("a.py"), "# x\n");
  const ToolResult result = Run({"list", "a.py"});
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find(".spellcheck.toml:2: vocabularies.python: unknown vocabulary 'pyton'"),
            std::string::npos)
      << result.err;
}

TEST_F(VocabularyTest, ShortWordsGoUnreportedBelowTheLeastLength) {
  WriteSorted(MainDic(), {"the"});
  WriteBytes(File("a.py"), "# teh cta thw worf ox\n");
  struct Case {
    std::string config;
    std::string out;
  };
  for (const Case& c : std::vector<Case>{{"", "teh\ncta\nthw\nworf\n"},
                                         {"min-word-length = 4\n", "worf\n"},
                                         {"min-word-length = 5\n", ""}}) {
    WriteBytes(File(".spellcheck.toml"), c.config);
    EXPECT_EQ(Run({"list", "a.py"}).out, c.out) << c.config;
  }
}

}  // namespace
}  // namespace spellcheck::testing
