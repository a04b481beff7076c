// Every store operation with each of its steps failing in turn: the error
// carries the step's code, and the files are left exactly as they were or
// exactly as a successful call leaves them, with nothing else in the folder
// and no descriptor left open.
#include <gtest/gtest.h>
#include <spellcheck/SpellCheck.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include "store/TextFile.h"
#include "store/WordList.h"
#include "support/FaultInjectingFileSystem.h"
#include "support/TestFiles.h"
#include "unit/StoreTestHelpers.h"

namespace spellcheck::store {
namespace {

using namespace spellcheck::testing;
using Contents = std::map<std::string, std::string>;  // file name -> bytes

std::string Records(const std::vector<std::string>& words) {
  std::string bytes;
  for (const auto& word : words) bytes += RecordBytes(word);
  return bytes;
}

struct Scenario {
  const char* name;
  Contents files;
  std::function<bool(FileSystem&, const TempDir&)> run;
  const char* source = nullptr;  // a merge's source: it may go only when the call succeeds
  // What a successful call leaves when its deletion fails, which is not reported.
  std::optional<Contents> undeleted = std::nullopt;
};

std::vector<Scenario> Scenarios() {
  const auto find = [](std::string word, bool ignoreCase) {
    return [=](FileSystem& fs, const TempDir& dir) {
      return FindWord(fs, word, dir.File("d"), ignoreCase);
    };
  };
  const auto insert = [](std::string word, std::string file = "d") {
    return [=](FileSystem& fs, const TempDir& dir) { return InsertWord(fs, word, dir.File(file)); };
  };
  const auto remove = [](std::string word, bool ignoreCase) {
    return [=](FileSystem& fs, const TempDir& dir) {
      return RemoveWord(fs, word, dir.File("d"), ignoreCase);
    };
  };
  const auto merge = [](FileSystem& fs, const TempDir& dir) {
    return MergeWordList(fs, dir.File("t"), dir.File("s"));
  };
  // The personal word list's text lines.
  const auto addLine = [](std::string line) {
    return [=](FileSystem& fs, const TempDir& dir) { return AddLine(fs, dir.File("w"), line); };
  };
  const auto removeLine = [](std::string line) {
    return [=](FileSystem& fs, const TempDir& dir) { return RemoveLine(fs, dir.File("w"), line); };
  };
  const std::string five = Records({"a", "b", "c", "d", "e"});
  return {
      {"lookup hit", {{"d", five}}, find("c", false)},
      {"lookup miss", {{"d", five}}, find("X", true)},
      {"lookup absent", {}, find("c", false)},
      {"insert new word", {{"d", Records({"b", "d"})}}, insert("c")},
      {"insert stored word", {{"d", Records({"b", "d"})}}, insert("b")},
      {"insert into absent file", {}, insert("a")},
      {"insert after a trailing piece", {{"d", Records({"b"}) + "xyz"}}, insert("a")},
      {"remove one word", {{"d", Records({"a", "B", "c"})}}, remove("b", true)},
      {"remove the last word",
       {{"d", Records({"only"})}},
       remove("only", false),
       nullptr,
       Contents{{"d", ""}}},
      {"remove a missing word", {{"d", Records({"a", "c"})}}, remove("b", false)},
      {"merge into a target",
       {{"t", Records({"b", "d"})}, {"s", Records({"c", "a", "d"})}},
       merge,
       "s",
       Contents{{"t", Records({"a", "b", "c", "d"})}, {"s", Records({"c", "a", "d"})}}},
      {"merge into an absent target",
       {{"s", Records({"b", "a", "b"})}},
       merge,
       "s",
       Contents{{"t", Records({"a", "b"})}, {"s", Records({"b", "a", "b"})}}},
      {"merge nothing new",
       {{"t", Records({"a", "b"})}, {"s", Records({"b"})}},
       merge,
       "s",
       Contents{{"t", Records({"a", "b"})}, {"s", Records({"b"})}}},
      {"merge an empty source",
       {{"t", Records({"a"})}, {"s", ""}},
       merge,
       "s",
       Contents{{"t", Records({"a"})}, {"s", ""}}},
      {"add a line", {{"w", "\xC5\x82\xC3\xB3\x64\xC5\xBA\nend"}}, addLine("\xC5\xBCuk")},
      {"add a line to an absent list", {}, addLine("\xC5\xBCuk")},
      {"add a line already there", {{"w", "a\r\nb\n"}}, addLine("a")},
      {"remove a line", {{"w", "a\nb\na\n"}}, removeLine("a")},
  };
}

void Restore(const TempDir& dir, const Contents& files) {
  for (const auto& name : dir.Entries()) std::filesystem::remove(dir.File(name));
  for (const auto& [name, bytes] : files) WriteBytes(dir.File(name), bytes);
}

Contents Snapshot(const TempDir& dir) {
  Contents files;
  for (const auto& name : dir.Entries()) files[name] = ReadBytes(dir.File(name));
  return files;
}

std::optional<std::string> Of(const Contents& files, const std::string& name) {
  const auto it = files.find(name);
  if (it == files.end()) return std::nullopt;
  return it->second;
}

// Each file is as it was or as success leaves it, and no other file is there.
bool OldOrNew(const Contents& now, const Contents& old, const Contents& done) {
  std::set<std::string> names;
  for (const auto* files : {&now, &old, &done}) {
    for (const auto& entry : *files) names.insert(entry.first);
  }
  for (const auto& name : names) {
    const auto current = Of(now, name);
    if (current != Of(old, name) && current != Of(done, name)) return false;
  }
  return true;
}

TEST(StoreFaults, EveryFailingStepRaisesItsCodeAndLosesNothing) {
  FaultInjectingFileSystem fs(FileSystem::Default());
  long points = 0;
  long damaged = 0;
  for (const Scenario& scenario : Scenarios()) {
    TempDir dir;
    Restore(dir, scenario.files);
    fs.FailStep(0, 0);
    const bool normal = scenario.run(fs, dir);
    const long steps = fs.Steps();
    const Contents done = Snapshot(dir);
    ASSERT_GT(steps, 0) << scenario.name;

    for (const int injected : {2, 5, 101, 1117}) {
      for (long step = 1; step <= steps; ++step) {
        SCOPED_TRACE(std::string(scenario.name) + ", step " + std::to_string(step) + ", code " +
                     std::to_string(injected));
        Restore(dir, scenario.files);
        const int descriptors = OpenDescriptorCount();
        fs.FailStep(step, injected);
        int raised = -1;
        std::string message;
        bool result = false;
        try {
          result = scenario.run(fs, dir);
        } catch (const EInOutError& error) {
          raised = error.ErrorCode;
          message = error.what();
        }
        const Contents now = Snapshot(dir);
        ++points;
        EXPECT_TRUE(fs.Injected());
        const bool whole = OldOrNew(now, scenario.files, done) || now == scenario.undeleted;
        EXPECT_TRUE(whole);
        if (!whole) ++damaged;
        if (raised != -1) {
          EXPECT_EQ(raised, injected);
          EXPECT_EQ(message, EInOutError(injected).what());
          if (scenario.source) {
            EXPECT_TRUE(now.count(scenario.source)) << "source gone";
          }
        } else if (now != scenario.files) {
          EXPECT_TRUE(now == done || now == scenario.undeleted);
          EXPECT_EQ(result, normal);
        } else if (result != normal) {
          // Absorbed: an absent dictionary or a walk that ended early.
          EXPECT_FALSE(result);
        }
        EXPECT_EQ(OpenDescriptorCount(), descriptors);
      }
    }
  }
  std::cout << "[ figures  ] " << points << " fault points injected, " << damaged
            << " dictionaries damaged\n";
}

// The failures that the lookup absorbs: its first open and its reads.
TEST(StoreFaults, LookupAbsorbsAFailedOpenAndFailedReads) {
  TempDir dir;
  WriteDictionary(dir.File("d"), {"a", "b", "c"});
  FaultInjectingFileSystem fs(FileSystem::Default());
  fs.FailStep(1, 5);  // the open
  EXPECT_FALSE(FindWord(fs, "b", dir.File("d"), false));
  fs.FailStep(3, 1117);  // open, size, then the first read
  EXPECT_FALSE(FindWord(fs, "b", dir.File("d"), false));
  fs.FailStep(2, 1117);  // the size is raised
  EXPECT_EQ(IoErrorOf([&] { FindWord(fs, "b", dir.File("d"), false); }), 1117);
  fs.FailStep(4, 32);  // the close after a hit is raised, and the hit is lost
  EXPECT_EQ(IoErrorOf([&] { FindWord(fs, "b", dir.File("d"), false); }), 32);
}

}  // namespace
}  // namespace spellcheck::store
