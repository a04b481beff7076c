// Languages: dictionaries chosen by tag (-d, --lang, $SPELLCHECK_LANG, the
// locale), several at once, the per-language custom dictionaries, dicts and
// the pipe's -d. Small dictionaries in a data folder of the test's own
// ($SPELLCHECK_DATA), so nothing depends on the word lists installed; one
// case looks at the built de_DE when there is one.
#include <filesystem>
#include <map>

#include "ToolFixture.h"

namespace spellcheck::testing {
namespace {

using Words = std::vector<std::string>;
using Environment = std::map<std::string, std::string>;

// What dicts says of the vocabularies, none of which the test installs.
const std::string NoVocabularies =
    "vocabularies: none installed (english, software, acronyms, companies, licenses, "
    "filetypes, python, cpp, go, js, rust, shell)\n";

const std::string Banner =
    "@(#) International Ispell Version 3.2.06 (but really spellcheck 1.0.0)\n";

class LanguagesTest : public ToolTest {
 protected:
  LanguagesTest() {
    english_ = InstallLanguage("en_US", {"house", "the", "word", "colour"});
    german_ = InstallLanguage("de_DE", {"Haus", "Wort", "der",
                                        "Stra\xDF"
                                        "e"});
    french_ = InstallLanguage("fr_FR", {"maison", "mot",
                                        "\xE9"
                                        "cole"});
  }

  // A run with no dictionary named in the environment but what `extra` says.
  ToolResult RunIn(std::vector<std::string> arguments, Environment extra,
                   std::string input = "") const {
    ToolRun run;
    run.arguments = std::move(arguments);
    run.input = std::move(input);
    run.environment = {{"SPELLCHECK_DATA", DataFolder()}, {"HOME", dir_.Path()}};
    for (auto& [name, value] : extra) run.environment[name] = value;
    run.workingFolder = dir_.Path();
    return RunTool(run);
  }

  std::string UserFolder() const { return dir_.Path() + "/.local/share/spellcheck/"; }

  std::string english_, german_, french_;
};

TEST_F(LanguagesTest, AnUnknownLanguageIsAnErrorListingTheInstalledOnes) {
  const std::string error =
      "spellcheck: no dictionary for the language 'xx_YY'; installed: de_DE, en_US, fr_FR "
      "(spellcheck dicts lists them)\n";
  for (const Words& arguments :
       {Words{"check", "-d", "xx_YY", "word"}, Words{"suggest", "--lang", "xx_YY", "word"},
        Words{"-d", "en_US,xx_YY", "list"}, Words{"add", "--lang=xx_YY", "word"},
        Words{"-a", "-d", "xx_YY"}, Words{"-l", "-d", "xx_YY"}}) {
    const ToolResult result = RunIn(arguments, {});
    EXPECT_EQ(result.status, 2) << arguments[0];
    EXPECT_EQ(result.err, error) << arguments[0];
    EXPECT_EQ(result.out, "") << arguments[0];
  }
  // Named on purpose in the environment: the same.
  EXPECT_EQ(RunIn({"check", "word"}, {{"SPELLCHECK_LANG", "xx_YY"}}).err, error);
  // A language alone takes its usual country; another country is not there.
  EXPECT_EQ(RunIn({"check", "-d", "de", "Haus"}, {}).out, "Haus: correct\n");
  EXPECT_EQ(RunIn({"check", "-d", "de_AT", "Haus"}, {}).status, 2);
}

TEST_F(LanguagesTest, SeveralLanguagesAtOnce) {
  const ToolResult check =
      RunIn({"check", "-d", "en_US,de_DE", "house", "Haus", "maison", "hauz"}, {});
  EXPECT_EQ(check.out, "house: correct\nHaus: correct\nmaison: misspelled\nhauz: misspelled\n")
      << check.err;
  EXPECT_EQ(check.status, 1);
  // Repeated options add up; suggestions come from all, ranked together.
  EXPECT_EQ(
      RunIn({"suggest", "-d", "en_US", "-d", "de_DE", "--lang", "fr_FR", "hause", "ecole", "Wrt"},
            {})
          .out,
      "hause: house, Haus\necole: \xC3\xA9"
      "cole\nWrt: Wort\n");
  // Each language alone.
  EXPECT_EQ(RunIn({"check", "-d", "de_DE", "house",
                   "Stra\xC3\x9F"
                   "e"},
                  {})
                .out,
            "house: misspelled\nStra\xC3\x9F"
            "e: correct\n");
  EXPECT_EQ(RunIn({"list", "--lang", "fr_FR"}, {}, "les maison mot\n").out, "les\n");
}

TEST_F(LanguagesTest, WhereTheLanguageComesFrom) {
  const auto language = [this](Words arguments, Environment environment) {
    arguments.push_back("dicts");
    const ToolResult result = RunIn(arguments, environment);
    EXPECT_EQ(result.status, 0) << result.err;
    const std::size_t at = result.out.find("this run: ");
    return at == std::string::npos
               ? result.out
               : result.out.substr(at + 10, result.out.find('\n', at) - at - 10);
  };
  EXPECT_EQ(language({}, {}), "en_US (the default)");
  EXPECT_EQ(language({}, {{"LANG", "de_DE.UTF-8"}}), "de_DE (LANG=de_DE.UTF-8)");
  EXPECT_EQ(language({}, {{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "fr_FR@euro"}}),
            "fr_FR (LC_MESSAGES=fr_FR@euro)");
  EXPECT_EQ(language({}, {{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "fr_FR"}, {"LC_ALL", "C"}}),
            "en_US (LC_ALL=C)");
  EXPECT_EQ(language({}, {{"LANG", "POSIX"}}), "en_US (LANG=POSIX)");
  // A locale is no request: another country of its language, else en_US, quietly.
  EXPECT_EQ(language({}, {{"LANG", "de_AT.UTF-8"}}), "de_DE (LANG=de_AT.UTF-8)");
  EXPECT_EQ(language({}, {{"LANG", "xx_YY.UTF-8"}}), "en_US (LANG=xx_YY.UTF-8, not installed)");
  // $SPELLCHECK_LANG before the locale, -d before both.
  EXPECT_EQ(language({}, {{"LANG", "de_DE.UTF-8"}, {"SPELLCHECK_LANG", "fr_FR,en_US"}}),
            "fr_FR,en_US ($SPELLCHECK_LANG)");
  EXPECT_EQ(language({"-d", "de_DE"}, {{"LANG", "fr_FR.UTF-8"}, {"SPELLCHECK_LANG", "fr_FR"}}),
            "de_DE (-d)");
  // A main dictionary named as a file leaves the locale out.
  EXPECT_EQ(language({}, {{"LANG", "de_DE.UTF-8"}, {"SPELLCHECK_MAIN", MainDic()}}),
            "no language (the main dictionary is a file)");

  // What is checked follows: the locale's language...
  EXPECT_EQ(RunIn({"check", "Haus"}, {{"LANG", "de_DE.UTF-8"}}).out, "Haus: correct\n");
  EXPECT_EQ(RunIn({"check", "Haus"}, {{"LANG", "xx_YY.UTF-8"}}).out, "Haus: misspelled\n");
  // ... $SPELLCHECK_MAIN before the locale, -d before $SPELLCHECK_MAIN ...
  EXPECT_EQ(
      RunIn({"check", "hello", "Haus"}, {{"LANG", "de_DE.UTF-8"}, {"SPELLCHECK_MAIN", MainDic()}})
          .out,
      "hello: correct\nHaus: misspelled\n");
  EXPECT_EQ(RunIn({"check", "-d", "de_DE", "hello", "Haus"}, {{"SPELLCHECK_MAIN", MainDic()}}).out,
            "hello: misspelled\nHaus: correct\n");
  // ... and --main before everything.
  EXPECT_EQ(RunIn({"check", "--main", MainDic(), "-d", "de_DE", "hello", "Haus"},
                  {{"SPELLCHECK_LANG", "de_DE"}})
                .out,
            "hello: correct\nHaus: misspelled\n");
}

TEST_F(LanguagesTest, DictsListsTheInstalledLanguagesAndTheRun) {
  const ToolResult result = RunIn({"dicts", "-d", "de_DE,en_US"}, {});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "de_DE  word list  4 words  " + german_ + "\nen_US  word list  4 words  " +
                            english_ + "\nfr_FR  word list  3 words  " + french_ +
                            "\nthis run: de_DE,en_US (-d)\n  main: " + german_ +
                            " (not compiled)\n  main: " + english_ +
                            " (not compiled)\n  custom: " + UserFolder() +
                            "cust-de_DE.dic\n  further: " + UserFolder() + "cust.dic\n" +
                            NoVocabularies);
  std::filesystem::remove_all(DataFolder());
  const ToolResult none = RunIn({"dicts", "--main", MainDic()}, {});
  EXPECT_EQ(none.out, "no language dictionaries in " + DataFolder() + " " +
                          UserFolder().substr(0, UserFolder().size() - 1) +
                          "\nthis run: no language (the main dictionary is a file)\n  main: " +
                          MainDic() + " (not compiled)\n  custom: " + UserFolder() + "cust.dic\n" +
                          NoVocabularies);
}

TEST_F(LanguagesTest, ThePipeTakesTagsAndIspellNames) {
  EXPECT_EQ(RunIn({"-a", "-d", "deutsch"}, {}, "Haus house\n").out,
            Banner + "*\n& house 1 5: Haus\n\n");
  EXPECT_EQ(RunIn({"-a", "-d", "en_US,de_DE"}, {}, "Haus house\n").out, Banner + "*\n*\n\n");
  EXPECT_EQ(RunIn({"-a", "-dfrancais"}, {}, "maison\n").out, Banner + "*\n\n");
  EXPECT_EQ(RunIn({"-a", "--lang=american"}, {}, "house\n").out, Banner + "*\n\n");
  // A name of the editor's own entry, no language's: the default, as before.
  EXPECT_EQ(RunIn({"-a", "-d", "spellcheck-utf8"}, {}, "house\n").out, Banner + "*\n\n");
  // ispell's list mode too.
  EXPECT_EQ(RunIn({"-l", "-d", "de_DE"}, {}, "Haus house\n").out, "house\n");
}

TEST_F(LanguagesTest, EachLanguageHasItsOwnCustomDictionary) {
  EXPECT_EQ(RunIn({"add", "-d", "de_DE", "Wortschatz"}, {}).out,
            "Wortschatz: added to " + UserFolder() + "cust-de_DE.dic\n");
  EXPECT_EQ(ReadDictionary(UserFolder() + "cust-de_DE.dic"), (Words{"Wortschatz"}));
  EXPECT_EQ(RunIn({"check", "-d", "de_DE", "Wortschatz"}, {}).out, "Wortschatz: correct\n");
  EXPECT_EQ(RunIn({"check", "Wortschatz"}, {}).out, "Wortschatz: misspelled\n");
  // en_US keeps cust.dic, so words added before languages came stay.
  EXPECT_EQ(RunIn({"add", "qzxv"}, {{"LANG", "en_US.UTF-8"}}).out,
            "qzxv: added to " + UserFolder() + "cust.dic\n");
  // Several languages: every one's words count; words go to the first one's.
  EXPECT_EQ(RunIn({"check", "-d", "en_US,de_DE", "Wortschatz", "qzxv"}, {}).out,
            "Wortschatz: correct\nqzxv: correct\n");
  EXPECT_EQ(RunIn({"add", "-d", "de_DE,en_US", "Schatz"}, {}).out,
            "Schatz: added to " + UserFolder() + "cust-de_DE.dic\n");
  // The pipe's *word likewise, here with the locale's language.
  RunIn({"-a"}, {{"LANG", "de_DE.UTF-8"}}, "*Haustier\n");
  EXPECT_EQ(ReadDictionary(UserFolder() + "cust-de_DE.dic"),
            (Words{"Haustier", "Schatz", "Wortschatz"}));
  EXPECT_EQ(ReadDictionary(UserFolder() + "cust.dic"), (Words{"qzxv"}));
}

// The de_DE dictionary the build made from wngerman, when it did.
TEST(BuiltLanguages, GermanFromWngerman) {
  const auto built =
      std::filesystem::path(ToolPath()).parent_path().parent_path() / "share" / "spellcheck";
  if (!std::filesystem::exists(built / "de_DE.dic")) {
    GTEST_SKIP() << "no de_DE.dic in " << built.string() << " (wngerman not installed)";
  }
  TempDir home;
  ToolRun run;
  run.environment = {{"HOME", home.Path()}};
  run.workingFolder = home.Path();
  run.arguments = {"check",
                   "-d",
                   "de_DE",
                   "Haus",
                   "Stra\xC3\x9F"
                   "e",
                   "Fahrrad",
                   "\xC3\xBC"
                   "ber",
                   "Fahrad"};
  ToolResult result = RunTool(run);
  EXPECT_EQ(result.out,
            "Haus: correct\nStra\xC3\x9F"
            "e: correct\nFahrrad: correct\n\xC3\xBC"
            "ber: correct\n"
            "Fahrad: misspelled\n")
      << result.err;
  run.arguments = {"suggest", "--lang", "de_DE", "--max", "1",
                   "Strase",  "Fahrad", "uber",  "Muller"};
  result = RunTool(run);
  EXPECT_EQ(result.out,
            "Strase: Stra\xC3\x9F"
            "e\nFahrad: Fahrrad\nuber: \xC3\xBC"
            "ber\nMuller: M\xC3\xBC"
            "ller\n")
      << result.err;
}

}  // namespace
}  // namespace spellcheck::testing
