// A Hunspell dictionary (.aff + .dic) through the tool: chosen by tag from a
// Hunspell folder or by its path, its affixes and compounds in check, list,
// the pipe and suggest, listed by dicts, and the user's words kept in our own
// custom dictionary, never in the system's .dic.
#include <filesystem>
#include <fstream>
#include <map>
#include <random>

#include "ToolFixture.h"

namespace spellcheck::testing {
namespace {

using Words = std::vector<std::string>;

// A small Polish-like dictionary in ISO 8859-2: a suffix class, a
// compounding flag, and words outside code page 1252 (ł, ś, ż).
const char* const Aff =
    "SET ISO8859-2\n"
    "TRY aeiouy\xB3\xB6\xBF\n"
    "REP 1\n"
    "REP rz \xBF\n"
    "SFX A Y 2\n"
    "SFX A 0 y .\n"
    "SFX A a \xB1 a\n"
    "COMPOUNDFLAG C\n"
    "COMPOUNDMIN 3\n"
    "WORDCHARS .\n";
// kot, kotek/A, ławka/A, żaba/A, dom/C, ogród/C and two abbreviations (the
// dot is a word character here), in ISO 8859-2.
const char* const Dic =
    "8\n"
    "usw.\n"
    "z.B.\n"
    "kot/A\n"
    "kotek/A\n"
    "\xB3"
    "awka/A\n"
    "\xBF"
    "aba/A\n"
    "dom/C\n"
    "ogr\xF3"
    "d/C\n";

class HunspellToolTest : public ToolTest {
 protected:
  HunspellToolTest() {
    std::filesystem::create_directories(HunspellFolder());
    WriteBytes(HunspellFolder() + "/pl_PL.aff", Aff);
    WriteBytes(HunspellFolder() + "/pl_PL.dic", Dic);
  }

  std::string HunspellFolder() const { return dir_.File("hunspell"); }

  ToolResult RunWith(Words arguments, std::string input = "") const {
    ToolRun run;
    run.arguments = std::move(arguments);
    run.input = std::move(input);
    run.environment = {{"SPELLCHECK_DATA", DataFolder()},
                       {"SPELLCHECK_HUNSPELL_PATH", HunspellFolder()},
                       {"HOME", dir_.Path()}};
    run.workingFolder = dir_.Path();
    return RunTool(run);
  }
};

TEST_F(HunspellToolTest, AffixesCompoundsAndCapitalsDecideWhatIsCorrect) {
  struct Case {
    std::string word;
    bool correct;
  };
  const std::vector<Case> cases = {{"kot", true},
                                   {"koty", true},
                                   {"Koty", true},
                                   {"KOTY", true},
                                   {"\xC5\x82"
                                    "awk\xC4\x85",
                                    true},  // ławką: a suffix that strips and adds
                                   {"\xC5\xBB"
                                    "aba",
                                    true},  // Żaba: capitalised
                                   {"domogr\xC3\xB3"
                                    "d",
                                    true},             // domogród: a compound
                                   {"kotdom", false},  // kot has no compounding flag
                                   {"kotz", false},
                                   {"lawka", false},
                                   {"do", false}};
  for (const Case& each : cases) {
    const ToolResult result = RunWith({"check", "-d", "pl_PL", each.word});
    EXPECT_EQ(result.out, each.word + (each.correct ? ": correct\n" : ": misspelled\n"))
        << result.err;
    EXPECT_EQ(result.status, each.correct ? 0 : 1) << each.word;
  }
  // By path, with or without the ending, the same dictionary.
  for (const std::string& path : {HunspellFolder() + "/pl_PL", HunspellFolder() + "/pl_PL.aff",
                                  HunspellFolder() + "/pl_PL.dic"}) {
    EXPECT_EQ(RunWith({"check", "-d", path, "koty"}).out, "koty: correct\n") << path;
  }
  const ToolResult missing = RunWith({"check", "-d", dir_.File("nothing/xx"), "koty"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("no Hunspell dictionary at"), std::string::npos) << missing.err;
}

TEST_F(HunspellToolTest, ListPipeAndSuggestUseTheDictionary) {
  // Words shorter than three letters ("i") are not checked; the dictionary's
  // word characters join "usw." and "z.B.".
  const ToolResult list = RunWith({"list", "-d", "pl_PL"},
                                  "Koty i \xC5\xBC"
                                  "ab\xC4\x85, kotz oraz lawka usw. usw z.B. kot.\n");
  EXPECT_EQ(list.out, "kotz\noraz\nlawka\nusw\n") << list.err;
  const ToolResult suggest = RunWith({"suggest", "-d", "pl_PL", "lawka", "kotz", "rzaba"});
  EXPECT_NE(suggest.out.find("lawka: \xC5\x82"
                             "awka"),
            std::string::npos)
      << suggest.out;
  EXPECT_NE(suggest.out.find("kotz: kot"), std::string::npos) << suggest.out;
  EXPECT_NE(suggest.out.find("rzaba: \xC5\xBC"
                             "aba"),
            std::string::npos)
      << suggest.out;
  const ToolResult pipe = RunWith({"-a", "-d", "pl_PL"}, "^koty lawka\n");
  EXPECT_NE(pipe.out.find("*\n& lawka "), std::string::npos) << pipe.out;
}

// Odd lines (long runs of a letter, base64 blobs, mixed scripts, invalid
// UTF-8, NUL bytes) each get their answer, and the session ends (the test's
// timeout stands for a stall).
TEST_F(HunspellToolTest, PipeAnswersEveryOddLine) {
  std::mt19937 random(7);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const std::string base64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  const std::vector<std::string> pieces = {"kot",
                                           "dom",
                                           "\xC5\x82"
                                           "awka",
                                           "\xD0\xB4\xD0\xBE",
                                           "\xE4\xB8\x80",
                                           "\xC3\x28",
                                           std::string(1, '\0'),
                                           "\xFF",
                                           "ogr\xC3\xB3"
                                           "d"};
  std::string input;
  const int lines = 300;
  for (int k = 0; k < lines; ++k) {
    std::string line;
    switch (k % 4) {
      case 0:
        line.assign(50 + pick(3000), static_cast<char>('a' + pick(26)));
        break;
      case 1:
        for (int n = 100 + pick(500); n > 0; --n) line += base64[pick(64)];
        break;
      case 2:
        for (int n = 1 + pick(40); n > 0; --n) line += pieces[pick(pieces.size())];
        break;
      default:
        for (int n = 5 + pick(30); n > 0; --n) line += "domkot"[pick(6)];
    }
    input += "^" + line + "\n";
  }
  // The Hunspell dictionary, and a word list's ranked suggestions.
  WriteSorted(MainDic(), {"dom", "kot",
                          "ogr\xF3"
                          "d",
                          "tam"});
  for (const bool hunspell : {true, false}) {
    const ToolResult pipe = hunspell ? RunWith({"-a", "-d", "pl_PL"}, input) : Run({"-a"}, input);
    EXPECT_EQ(pipe.status, 0) << pipe.err;
    std::size_t answers = 0;
    for (std::size_t at = pipe.out.find("\n\n"); at != std::string::npos;
         at = pipe.out.find("\n\n", at + 1))
      ++answers;
    EXPECT_EQ(answers, static_cast<std::size_t>(lines)) << hunspell;
  }
}

TEST_F(HunspellToolTest, DictsNamesTheKindAndAdditionsStayInOurOwnFiles) {
  const ToolResult dicts = RunWith({"dicts"});
  EXPECT_NE(dicts.out.find("pl_PL  hunspell  8 stems  " + HunspellFolder() + "/pl_PL.dic"),
            std::string::npos)
      << dicts.out;
  const std::string before = ReadBytes(HunspellFolder() + "/pl_PL.dic");
  EXPECT_EQ(RunWith({"add", "-d", "pl_PL", "Kowalski"}).status, 0);
  EXPECT_EQ(RunWith({"check", "-d", "pl_PL", "Kowalski"}).out, "Kowalski: correct\n");
  EXPECT_EQ(ReadBytes(HunspellFolder() + "/pl_PL.dic"), before);
  EXPECT_TRUE(std::filesystem::exists(dir_.Path() + "/.local/share/spellcheck/cust-pl_PL.dic"));
  // A word the records cannot hold goes to the personal word list beside the
  // custom dictionary, and comes out of it again.
  const std::string turtle = "\xC5\xBC\xC3\xB3\xC5\x82w";  // żółw
  const std::string list = dir_.Path() + "/.local/share/spellcheck/cust-pl_PL.words";
  EXPECT_EQ(RunWith({"add", "-d", "pl_PL", turtle}).out, turtle + ": added to " + list + "\n");
  EXPECT_EQ(ReadBytes(list), turtle + "\n");
  EXPECT_EQ(RunWith({"check", "-d", "pl_PL", turtle, "\xC5\xBB\xC3\xB3\xC5\x82w"}).status, 0);
  EXPECT_EQ(RunWith({"-a", "-d", "pl_PL"}, "^" + turtle + "\n").out.find("& "), std::string::npos);
  EXPECT_EQ(RunWith({"delete", "-d", "pl_PL", turtle}).out, turtle + ": deleted\n");
  EXPECT_EQ(RunWith({"check", "-d", "pl_PL", turtle}).status, 1);
  // Merging into a Hunspell dictionary is refused: it is never changed.
  EXPECT_EQ(RunWith({"merge", "-d", "pl_PL"}).status, 2);
  EXPECT_EQ(ReadBytes(HunspellFolder() + "/pl_PL.dic"), before);
}

}  // namespace
}  // namespace spellcheck::testing
