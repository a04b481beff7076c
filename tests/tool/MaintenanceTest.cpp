// add, delete and merge: what they print and what they leave in the files.
#include "ToolFixture.h"

namespace spellcheck::testing {
namespace {

using Words = std::vector<std::string>;

TEST_F(ToolTest, AddStoresWordsInTheCustomDictionaryInOrder) {
  const ToolResult result = Run({"add", "zeta", "alpha", "zeta"});
  EXPECT_EQ(result.out, "zeta: added to " + CustomDic() + "\nalpha: added to " + CustomDic() +
                            "\nzeta: already in " + CustomDic() + "\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(ReadDictionary(CustomDic()), (Words{"alpha", "zeta"}));
  EXPECT_EQ(Run({"check", "zeta"}).status, 0);
}

TEST_F(ToolTest, AddToANamedDictionaryLeavesTheCustomOneAlone) {
  EXPECT_EQ(Run({"add", "--to", File("team.dic"), "qzxv"}).status, 0);
  EXPECT_EQ(ReadDictionary(File("team.dic")), (Words{"qzxv"}));
  EXPECT_FALSE(FileExists(CustomDic()));
}

TEST_F(ToolTest, AddRefusesWordsADictionaryCannotHoldUnchanged) {
  const ToolResult result =
      Run({"add", "--to", CustomDic(), "abcdefghijklmnopqrstuvwxyz", "łódź", "", "good"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "good: added to " + CustomDic() + "\n");
  EXPECT_EQ(result.err,
            "spellcheck: not added: abcdefghijklmnopqrstuvwxyz: longer than 24 characters\n"
            "spellcheck: not added: łódź: has a character that code page 1252 cannot hold\n"
            "spellcheck: not added: an empty word cannot be stored\n");
  EXPECT_EQ(ReadDictionary(CustomDic()), (Words{"good"}));
  // The custom dictionary's own words that no record can hold go to the
  // personal word list beside it, and count as correct.
  const std::string personal = File("cust.words");
  EXPECT_EQ(
      Run({"add", "abcdefghijklmnopqrstuvwxyz", "łódź"}).out,
      "abcdefghijklmnopqrstuvwxyz: added to " + personal + "\nłódź: added to " + personal + "\n");
  EXPECT_EQ(ReadBytes(personal), "abcdefghijklmnopqrstuvwxyz\nłódź\n");
  EXPECT_EQ(Run({"check", "łódź", "Łódź"}).status, 0);
  EXPECT_EQ(ReadDictionary(CustomDic()), (Words{"good"}));
}

TEST_F(ToolTest, DefaultCustomDictionaryIsMadeWithItsFolderOnTheFirstAdd) {
  ToolRun run;
  run.environment = {{"SPELLCHECK_MAIN", MainDic()}, {"XDG_DATA_HOME", File("data")}};
  run.arguments = {"add", "qzxv"};
  EXPECT_EQ(RunTool(run).status, 0);
  EXPECT_EQ(ReadDictionary(File("data/spellcheck/cust.dic")), (Words{"qzxv"}));

  run.environment = {{"SPELLCHECK_MAIN", MainDic()}, {"HOME", File("home")}};
  EXPECT_EQ(RunTool(run).status, 0);
  EXPECT_EQ(ReadDictionary(File("home/.local/share/spellcheck/cust.dic")), (Words{"qzxv"}));
}

TEST_F(ToolTest, DeleteTakesFromTheMainDictionaryAndWithAlsoFromASecond) {
  WriteSorted(CustomDic(), {"hous", "mous"});
  EXPECT_EQ(Run({"delete", "hello"}).out, "hello: deleted\n");
  EXPECT_EQ(Run({"check", "hello"}).status, 1);

  // Without --also the second dictionary is not touched.
  ToolResult result = Run({"delete", "hous"});
  EXPECT_EQ(result.out, "hous: not found\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(ReadDictionary(CustomDic()), (Words{"hous", "mous"}));

  EXPECT_EQ(Run({"delete", "--also-custom", "hous"}).out, "hous: deleted\n");
  EXPECT_EQ(ReadDictionary(CustomDic()), (Words{"mous"}));

  WriteSorted(File("team.dic"), {"teamword"});
  EXPECT_EQ(Run({"delete", "teamword", "--also", File("team.dic")}).out, "teamword: deleted\n");
  EXPECT_FALSE(FileExists(File("team.dic")));  // emptied, so removed
}

TEST_F(ToolTest, DeleteWithIgnoreCaseMatchesAnyCaseOfAtoZ) {
  WriteSorted(File("team.dic"), {"Qzxv"});
  EXPECT_EQ(Run({"delete", "--from", File("team.dic"), "qzxv"}).status, 1);
  EXPECT_EQ(Run({"--ignore-case", "delete", "--from", File("team.dic"), "qzxv"}).out,
            "qzxv: deleted\n");
}

TEST_F(ToolTest, MergeMovesTheCustomWordsIntoTheMainDictionary) {
  WriteSorted(CustomDic(), {"hous", "zzz"});
  const ToolResult result = Run({"merge"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "merged " + CustomDic() + " into " + MainDic() + "\n");
  EXPECT_FALSE(FileExists(CustomDic()));
  EXPECT_EQ(Run({"--no-custom", "check", "hous", "zzz"}).status, 0);

  const ToolResult nothing = Run({"merge"});
  EXPECT_EQ(nothing.status, 1);
  EXPECT_EQ(nothing.err, "spellcheck: nothing merged: " + CustomDic() + " cannot be opened\n");
}

TEST_F(ToolTest, MergeBetweenNamedFilesAndNeverIntoItself) {
  WriteSorted(File("a.dic"), {"aaa"});
  WriteSorted(File("b.dic"), {"bbb"});
  EXPECT_EQ(Run({"merge", File("a.dic"), File("b.dic")}).status, 0);
  EXPECT_EQ(ReadDictionary(File("b.dic")), (Words{"aaa", "bbb"}));
  EXPECT_FALSE(FileExists(File("a.dic")));

  const ToolResult self = Run({"merge", File("b.dic"), "./b.dic"});
  EXPECT_EQ(self.status, 2);
  EXPECT_EQ(ReadDictionary(File("b.dic")), (Words{"aaa", "bbb"}));
}

TEST_F(ToolTest, AFailedWriteIsAnErrorWithTheLibrarysMessage) {
#if defined(_WIN32)
  GTEST_SKIP() << "a folder's permission bits do not refuse new files on Windows";
#endif
  ::chmod(dir_.Path().c_str(), 0555);
  const int status = RunUnprivileged([&] {
    const ToolResult result = Run({"add", "--to", File("new.dic"), "qzxv"});
    return result.err == "spellcheck: File access denied\n" ? result.status : 100;
  });
  ::chmod(dir_.Path().c_str(), 0777);
  EXPECT_EQ(status, 2);
}

// A dictionary that holds the word but may not be changed says so, rather
// than that the word is not there.
TEST_F(ToolTest, DeleteFromADictionaryThatCannotBeChangedSaysSo) {
#if defined(_WIN32)
  GTEST_SKIP() << "needs a second user who may read but not write the file";
#endif
  WriteSorted(File("ro.dic"), {"aaa", "bbb"});
  ::chmod(File("ro.dic").c_str(), 0644);
  const int status = RunUnprivileged([&] {
    const ToolResult result = Run({"delete", "--from", File("ro.dic"), "aaa", "zzz"});
    if (result.out != "zzz: not found\n") return 100;
    if (result.err != "spellcheck: aaa: not deleted: " + File("ro.dic") + " cannot be changed\n")
      return 101;
    return result.status;
  });
  EXPECT_EQ(status, 2);
  EXPECT_EQ(ReadDictionary(File("ro.dic")), (Words{"aaa", "bbb"}));
}

}  // namespace
}  // namespace spellcheck::testing
