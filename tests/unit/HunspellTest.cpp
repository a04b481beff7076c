// The Hunspell engine on small inline dictionaries: features that hunspell's
// own test cases leave out, and hostile input that must be answered.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hunspell/Dictionary.h"

namespace {

using spellcheck::hunspell::Dictionary;
using spellcheck::hunspell::LoadError;

struct FeatureCase {
  const char* name;
  const char* aff;
  const char* dic;
  std::vector<std::string> good;
  std::vector<std::string> wrong;
};

const FeatureCase kFeatures[] = {
    {"LongFlagsAndAliases",
     "FLAG long\nAF 1\nAF SsPp\nSFX Ss Y 1\nSFX Ss 0 s .\nPFX Pp Y 1\nPFX Pp 0 re .\n",
     "1\nmake/1\n",
     {"make", "makes", "remake", "remakes"},
     {"mak", "remade"}},
    {"NumericFlags",
     "FLAG num\nSFX 0 N 1\nSFX 0 0 a .\nSFX 1000 N 1\nSFX 1000 0 ed .\n",
     "1\nwalk/0,1000\n",
     {"walk", "walka", "walked"},
     {"walks"}},
    {"Utf8Flags",
     "SET UTF-8\nFLAG UTF-8\nSFX ő Y 1\nSFX ő 0 ség .\n",
     "1\nszép/ő\n",
     {"szép", "szépség"},
     {"szépsé"}},
    {"EscapedSlashAndMorphology",
     "",
     "3\nand\\/or\nfoo\tpo:noun st:foo\nbar po:verb\n",
     {"and/or", "foo", "bar"},
     {"po", "noun", "bar po:verb"}},
    {"TwofoldSuffix",
     "SFX A Y 1\nSFX A 0 ing/B .\nSFX B Y 1\nSFX B 0 s .\n",
     "1\nwalk/A\n",
     {"walking", "walkings"},
     {"walks"}},
    {"CrossProductNeedsBothY",
     "PFX P N 1\nPFX P 0 un .\nSFX S Y 1\nSFX S 0 s .\n",
     "1\ndo/PS\n",
     {"undo", "dos"},
     {"undos"}},
    {"Circumfix",
     "CIRCUMFIX X\nPFX G Y 1\nPFX G 0 ge/X .\nSFX T Y 1\nSFX T 0 t/X .\n",
     "1\nlieb/GT\n",
     {"lieb", "geliebt", "gelieb"},
     {"liebt"}},
    {"ConditionClasses",
     "SFX Y Y 2\nSFX Y y ies [^aeiou]y\nSFX Y 0 s [aeiou]y\n",
     "2\nfly/Y\nday/Y\n",
     {"flies", "days"},
     {"flys", "daies"}},
    {"Turkish",
     "SET UTF-8\nLANG tr_TR\n",
     "2\nistanbul\nırmak\n",
     {"İSTANBUL", "İstanbul", "IRMAK", "Irmak"},
     {"ISTANBUL"}},
    {"CompoundRuleParenthesised",
     "FLAG long\nCOMPOUNDMIN 1\nCOMPOUNDRULE 1\nCOMPOUNDRULE (aa)*(bb)\n",
     "3\n1/aa\n2/aa\nth/bb\n",
     {"1th", "12th", "2212th"},
     {"th1", "1th1"}},
    {"NoBreakWhenBreakZero", "BREAK 0\n", "2\nfoo\nbar\n", {"foo"}, {"foo-bar"}},
    {"DefaultBreak", "", "2\nfoo\nbar\n", {"foo-bar", "-foo", "bar-"}, {"foo--baz"}},
    {"CapitalsBrokenAsCapitalised",
     "",
     "4\nCD\nROM\nfoo\nbar\n",
     {"FOO-BAR", "Foo-Bar", "CD"},
     {"CD-ROM"}},
    {"TrailingDotAbbreviation", "", "2\netc.\nword\n", {"etc.", "word.", "word"}, {"etc"}},
    {"KeepCase", "KEEPCASE K\n", "1\nkHz/K\n", {"kHz"}, {"KHZ", "Khz", "khz"}},
    {"MixedCaseStemInCapitals", "", "1\nMHz\n", {"MHZ", "MHz"}, {"Mhz", "mhz"}},
    {"KeepCaseHomonymDecides",
     "KEEPCASE K\nNEEDAFFIX N\nSFX Z Y 1\nSFX Z 0 0 .\n",
     "2\nbit/ZN\nbit/K\n",
     {"bit"},
     {"BIT", "Bit"}},
    {"ForbiddenCapitalisedForbidsCapitals",
     "FORBIDDENWORD F\n",
     "2\ncm\nCm/F\n",
     {"cm"},
     {"CM", "Cm"}},
    {"SharpSInCapitals",
     "SET UTF-8\nCHECKSHARPS\n",
     "2\nFußnote\nblockgröße\n",
     {"FUßNOTE", "FUSSNOTE", "BLOCKGRÖßE", "Blockgröße"},
     {"FUßNOTEX"}},
    {"CompoundLastPartTwoSuffixes",
     "COMPOUNDFLAG X\nNEEDAFFIX N\nSFX A Y 1\nSFX A 0 m/BN .\nSFX B Y 1\nSFX B 0 er .\n",
     "2\narkiv/X\nmedlem/XA\n",
     {"arkivmedlem", "arkivmedlemmer"},
     {"arkivmedlemm"}},
    {"CompoundFlagNotFromOuterSuffix",
     "COMPOUNDFLAG X\nSFX A Y 1\nSFX A 0 s/B .\nSFX B Y 1\nSFX B 0 t/X .\nSFX C Y 1\n"
     "SFX C 0 s/XB .\n",
     "3\nfoo/X\nbar/A\nbaz/C\n",
     {"barst", "foobazst"},
     {"foobarst"}},
    {"CompoundRuleLastPartAffixed",
     "COMPOUNDMIN 1\nCOMPOUNDRULE 1\nCOMPOUNDRULE ab\nSFX S Y 1\nSFX S 0 s .\n",
     "2\nfoo/aS\nbar/bS\n",
     {"foobar", "foobars"},
     {"foosbar", "barfoo"}},
    {"HungarianCompoundCount",
     "LANG hu_HU\nCOMPOUNDFLAG Y\nCOMPOUNDPERMITFLAG @\nCOMPOUNDROOT y\nCOMPOUNDWORDMAX 2\n"
     "COMPOUNDSYLLABLE 4 aeiou\nPFX P Y 1\nPFX P 0 ellen/@ .\nSFX S Y 1\nSFX S 0 okat .\n",
     "3\npar/Y\norzes/YP\nutotag/YyS\n",
     {"parorzes", "parutotagokat"},
     {"parellenorzes"}},
    {"CompoundSyllablesOfLastPart",
     "COMPOUNDFLAG Y\nCOMPOUNDROOT y\nCOMPOUNDWORDMAX 2\nCOMPOUNDSYLLABLE 3 aeiou\n",
     "3\npar/Y\nutotag/Yy\nbaobabo/Y\n",
     {"parutotag", "parbaobabo"},
     {"utotagbaobabo"}},
    {"CompoundRepOnLeadingParts",
     "COMPOUNDFLAG X\nCOMPOUNDMIN 2\nCHECKCOMPOUNDREP\nREP 1\nREP t d\n",
     "4\nby/X\nte/X\nantal/X\nbyde\n",
     {"byantal", "teantal"},
     {"byteantal", "byte"}},
};

class HunspellFeature : public testing::TestWithParam<FeatureCase> {};

TEST_P(HunspellFeature, AcceptsGoodRejectsWrong) {
  const FeatureCase& c = GetParam();
  std::vector<std::string> warnings;
  const auto d = Dictionary::FromText(c.aff, c.dic, "t.aff", "t.dic", &warnings);
  for (const auto& w : c.good) EXPECT_TRUE(d->Check(w)) << w;
  for (const auto& w : c.wrong) EXPECT_FALSE(d->Check(w)) << w;
}

INSTANTIATE_TEST_SUITE_P(Features, HunspellFeature, testing::ValuesIn(kFeatures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HunspellLoad, ReportsUnusableLinesWithFileAndLine) {
  std::vector<std::string> warnings;
  const auto d = Dictionary::FromText("SFX A Y 1\nSFX A 0 s [abc\nAF 999999999\nAF AB\n",
                                      "2\nfoo/A\nbar\xff\n", "x.aff", "x.dic", &warnings);
  ASSERT_FALSE(warnings.empty());
  EXPECT_EQ(warnings[0], "x.aff:2: malformed condition");
  EXPECT_TRUE(d->Check("foo"));
  EXPECT_EQ(d->Encoding(), "ISO8859-1");
}

TEST(HunspellLoad, NothingUsableThrows) {
  EXPECT_THROW(Dictionary::FromText("", "", "e.aff", "e.dic"), LoadError);
  EXPECT_THROW(Dictionary::FromText("SET NO-SUCH-SET\n", "1\nfoo\n", "s.aff", "s.dic"), LoadError);
}

TEST(HunspellLoad, AccessorsTellWhatTheAffixFileSays) {
  const auto d = Dictionary::FromText("SET UTF-8\nLANG de_DE\nWORDCHARS -.\n", "2\nfoo\nfoo/A\n",
                                      "a.aff", "a.dic");
  EXPECT_EQ(d->Language(), "de_DE");
  EXPECT_EQ(d->Encoding(), "UTF-8");
  EXPECT_EQ(d->WordCharacters(), "-.");
  EXPECT_EQ(d->StemCount(), 2u);
  EXPECT_GT(d->MemoryBytes(), 0u);
}

TEST(HunspellHostile, LongAndCompoundHeavyWordsAreAnswered) {
  std::string dic = "26\n";
  for (char c = 'a'; c <= 'z'; ++c) dic += std::string(1, c) + "/X\n";
  const auto d = Dictionary::FromText("COMPOUNDFLAG X\nCOMPOUNDMIN 1\nCHECKCOMPOUNDDUP\n", dic,
                                      "c.aff", "c.dic");
  const std::string shortParts(99, 'a');
  const std::string mixed =
      "abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz0";
  EXPECT_FALSE(d->Check(shortParts + "0"));
  EXPECT_FALSE(d->Check(mixed));
  EXPECT_FALSE(d->Check(std::string(70000, 'a')));
  EXPECT_TRUE(d->Suggest(std::string(70000, 'a')).empty());
  EXPECT_LE(d->Suggest(std::string(300, 'q')).size(), 10u);
  EXPECT_FALSE(d->Check("\xC3\x28"));  // invalid UTF-8
}

TEST(HunspellSuggest, OffersEditsButNeverNoSuggestOrForbidden) {
  const auto d =
      Dictionary::FromText("TRY esiantr\nNOSUGGEST N\nFORBIDDENWORD F\nREP 1\nREP f ph\n",
                           "4\nphone\ntest\ntesst/N\ntets/F\n", "s.aff", "s.dic");
  const auto fone = d->Suggest("fone");
  ASSERT_FALSE(fone.empty());
  EXPECT_EQ(fone[0], "phone");
  const auto tes = d->Suggest("tes");
  EXPECT_NE(std::find(tes.begin(), tes.end(), "test"), tes.end());
  EXPECT_EQ(std::find(tes.begin(), tes.end(), "tesst"), tes.end());
  EXPECT_EQ(std::find(tes.begin(), tes.end(), "tets"), tes.end());
  EXPECT_EQ(d->Suggest("Fone").at(0), "Phone");
}

// Every word gets its list (or none) within the work budget, whatever its
// length or letters; over 100 bytes, none.
TEST(HunspellSuggest, AnyWordStaysWithinTheBudget) {
  std::string dic = "30\n";
  for (char c = 'a'; c <= 'z'; ++c) dic += std::string(1, c) + "/X\n";
  dic +=
      "ab/X\nabc/X\nbab/X\nha\xC5\x82"
      "as/X\n";
  const auto d = Dictionary::FromText(
      "SET UTF-8\nTRY abcdefghijklmnopqrstuvwxyz\xC5\x82\nCOMPOUNDFLAG X\nCOMPOUNDMIN 1\n"
      "REP 2\nREP a ab\nREP b ba\nMAP 1\nMAP a\xC3\xA1(ab)\n",
      dic, "c.aff", "c.dic");
  std::string nul("ab\0ba", 5);
  const struct {
    const char* name;
    std::string word;
    bool none;  // no list at all
  } cases[] = {
      {"300 letters", std::string(300, 'q'), true},
      {"70,000 letters", std::string(70000, 'a'), true},
      {"one letter repeated to the limit", std::string(100, 'b'), false},
      {"thousands of compound splits", std::string(59, 'a') + "0", false},
      {"base64", "QUJDREVGR0hJSktMTU5PUFFSU1RVVldYWVphYmNkZWZnaGlqa2xtbm9wcXJzdHV2d3h5", false},
      {"mixed scripts",
       "ab\xD0\xB1\xCE\xB1\xE4\xB8\x80"
       "ba",
       false},
      {"invalid UTF-8",
       "ab\xC3\x28"
       "ba",
       true},
      {"NUL", nul, false},
      {"short", "abcc", false},
  };
  for (const auto& c : cases) {
    long work = -1;
    const auto list = d->Suggest(c.word, 10, &work);
    EXPECT_LE(work, Dictionary::SuggestBudget()) << c.name;
    EXPECT_LE(list.size(), 10u) << c.name;
    if (c.none) {
      EXPECT_TRUE(list.empty()) << c.name;
    }
  }
}

// Ranked by what the slip costs: a neighbouring key before a plain edit, an
// accent before both; capitals kept. Words that only a break point or a
// compound part's hyphen makes ("haus-d", "haus-") are never offered.
TEST(HunspellSuggest, RanksSlipsAndNeverOffersBrokenWords) {
  const auto d = Dictionary::FromText(
      "SET UTF-8\nTRY esrnatdl\xC3\xA9-\nKEY qwertyuiop|asdfghjkl|zxcvbnm\n"
      "SFX j Y 1\nSFX j 0 - .\n",
      "6\nsare\nsane\nsate\nr\xC3\xA9sum\xC3\xA9\nhaus/j\nd\n", "r.aff", "r.dic");
  const struct {
    const char* typed;
    const char* first;
  } cases[] = {
      {"sabe", "sane"},                        // b: a neighbour of n
      {"resume", "r\xC3\xA9sum\xC3\xA9"},  // accents left off
      {"Sabe", "Sane"},                        // capitals kept
  };
  for (const auto& c : cases) {
    const auto list = d->Suggest(c.typed);
    ASSERT_FALSE(list.empty()) << c.typed;
    EXPECT_EQ(list[0], c.first) << c.typed;
  }
  ASSERT_TRUE(d->Check("haus-d"));  // text may break at the hyphen
  ASSERT_TRUE(d->Check("haus-"));
  for (const char* typed : {"haus-f", "hausx", "haus-x"}) {
    for (const auto& s : d->Suggest(typed)) {
      EXPECT_NE(s, "haus-d") << typed;
      EXPECT_NE(s, "haus-") << typed;
    }
  }
}

}  // namespace
