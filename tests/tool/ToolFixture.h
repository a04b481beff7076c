// A scratch folder with a small main dictionary, and the environment that
// makes the program use it (and nothing of the user's).
#ifndef SPELLCHECK_TESTS_TOOL_TOOLFIXTURE_H
#define SPELLCHECK_TESTS_TOOL_TOOLFIXTURE_H

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "ToolRunner.h"
#include "support/TestFiles.h"

namespace spellcheck::testing {

// Code page 1252 bytes of the dictionary words below that are not ASCII.
inline const std::string CafeCp1252 = "caf\xE9";

class ToolTest : public ::testing::Test {
 protected:
  ToolTest() {
    WriteSorted(MainDic(),
                {"Paris", "apple", "card",  "care",   "cart",  "carts",    "dart",    "don't",
                 "hello", "horse", "house", "houses", "mouse", "note",     "the",     "well",
                 "known", "world", "is",    "a",      "word",  CafeCp1252, "na\xEFve"});
  }

  static void WriteSorted(const std::string& path, std::vector<std::string> words) {
    std::sort(words.begin(), words.end());
    WriteDictionary(path, words);
  }

  // The data folder of the language dictionaries ($SPELLCHECK_DATA), empty
  // until a test installs one: TAG.dic, english.dic for en_US.
  std::string DataFolder() const { return dir_.File("share"); }
  std::string InstallLanguage(const std::string& tag, std::vector<std::string> words) const {
    std::filesystem::create_directories(DataFolder());
    const std::string file =
        DataFolder() + "/" + (tag == "en_US" ? std::string("english") : tag) + ".dic";
    WriteSorted(file, std::move(words));
    return file;
  }

  std::string MainDic() const { return dir_.File("main.dic"); }
  std::string CustomDic() const { return dir_.File("cust.dic"); }
  std::string File(const std::string& name) const { return dir_.File(name); }

  ToolResult Run(std::vector<std::string> arguments, std::string input = "") const {
    ToolRun run;
    run.arguments = std::move(arguments);
    run.input = std::move(input);
    run.environment = {{"SPELLCHECK_MAIN", MainDic()},
                       {"SPELLCHECK_CUSTOM", CustomDic()},
                       {"SPELLCHECK_DATA", DataFolder()},
                       {"HOME", dir_.Path()}};
    run.workingFolder = dir_.Path();
    return RunTool(run);
  }

  TempDir dir_;
};

}  // namespace spellcheck::testing

#endif
