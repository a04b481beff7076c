// Compiled dictionaries: a speller answers the same with a cache as without
// one, whatever state the cache is in (damaged, crafted, foreign, read-only,
// full, someone else's), and a cache it can use ends up holding good files.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "compiled/Cache.h"
#include "engine/CompiledForms.h"
#include "engine/LoadedDictionary.h"
#include "engine/Speller.h"
#include "hunspell/Dictionary.h"
#include "suggest/RankedIndex.h"
#include "support/SettledFiles.h"
#include "support/TestFiles.h"

#if !defined(_WIN32)
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "StoreTestHelpers.h"
#endif

namespace spellcheck {
namespace {

using testing::Backdate;
using testing::TempDir;
namespace fs = std::filesystem;

// A word list and a small Hunspell dictionary, left alone for a while.
class Dictionaries {
 public:
  Dictionaries() {
    testing::WriteDictionary(list_, {"apple", "banana", "cherry", "grape", "house", "lemon",
                                     "mango", "melon", "mouse", "orange", "peach", "world"});
    std::ofstream(dir_.File("de.aff")) << "SET UTF-8\nTRY esianrtolcdugmphbyfvkwz\n"
                                          "SFX S Y 1\nSFX S 0 s .\n";
    std::ofstream(dir_.File("de.dic")) << "4\nHaus/S\nMaus/S\nBaum/S\nStraße\n";
    for (const char* name : {"words.dic", "de.aff", "de.dic"}) Backdate(dir_.File(name));
    set_.mains = {{list_, "", true, ""}, {dir_.File("de.dic"), "", false, dir_.File("de.aff")}};
  }

  engine::Speller Make(const compiled::Cache& cache) {
    return engine::Speller(
        std::make_unique<engine::Engine>(
            fs_, engine::KeepInMemory(fs_, {engine::Recheck::When::OnRefresh, {}}, cache)),
        set_, true, cache);
  }

  // What a speller says of a few words and misspellings, in one text.
  std::string Answers(const compiled::Cache& cache) {
    engine::Speller speller = Make(cache);
    std::string answers;
    for (const char* word : {"house", "World", "Hauss", "Straße", "mouse", "zebra"}) {
      answers += speller.IsCorrect(word) ? "+" : "-";
    }
    // (ohuse: found by the deletion index alone, first: the search that meets
    // a damaged block)
    for (const char* word : {"ohuse", "huose", "mellon", "Hauss", "Strase"}) {
      answers += " |";
      for (const std::string& each : speller.Suggest(word)) answers += " " + each;
    }
    return answers;
  }

  std::vector<engine::CompiledForm> Forms() {
    std::vector<engine::CompiledForm> forms;
    for (const engine::MainDictionary& main : set_.mains) {
      for (engine::CompiledForm& form : engine::FormsOf(fs_, main)) forms.push_back(form);
    }
    return forms;
  }
  // How many of the forms the cache holds as the files are now.
  std::size_t Held(const compiled::Cache& cache) {
    std::size_t held = 0;
    for (const engine::CompiledForm& form : Forms()) {
      const auto image = cache.Find(form.kind, form.name, form.key);
      held += image != nullptr && image->VerifyAll();
    }
    return held;
  }

  TempDir dir_;
  std::string list_ = dir_.File("words.dic");
  engine::DictionarySet set_;
  testing::SettledFiles fs_;
};

void Overwrite(const std::string& path, std::size_t at, const std::string& bytes) {
  std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
  file.seekp(static_cast<std::streamoff>(at));
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TEST(CompiledCache, DamagedFilesArePassedOverAndMadeAgain) {
  struct Damage {
    const char* name;
    std::function<void(const std::string& path)> apply;
  };
  const Damage damages[] = {
      {"cut in half", [](const std::string& p) { fs::resize_file(p, fs::file_size(p) / 2); }},
      {"empty", [](const std::string& p) { fs::resize_file(p, 0); }},
      // (more than the padding between two sections)
      {"bytes changed",
       [](const std::string& p) { Overwrite(p, fs::file_size(p) / 2, std::string(16, '\x5a')); }},
      {"another version", [](const std::string& p) { Overwrite(p, 12, "\x7f"); }},
      {"the other byte order", [](const std::string& p) { Overwrite(p, 8, "\x01\x02\x03\x04"); }},
      {"a longer section table", [](const std::string& p) { Overwrite(p, 20, "\xff\xff"); }},
      {"another file's bytes",
       [](const std::string& p) {
         const auto size = fs::file_size(p);
         std::ofstream(p, std::ios::binary | std::ios::trunc) << std::string(size, 'x');
       }},
  };
  Dictionaries dictionaries;
  const std::string expected = dictionaries.Answers({});
  ASSERT_EQ(expected.substr(0, 6), "+++++-") << expected;
  for (std::size_t form = 0; form < 3; ++form) {
    for (const Damage& damage : damages) {
      SCOPED_TRACE(std::string(damage.name) + ", form " + std::to_string(form));
      TempDir folder;
      const compiled::Cache cache(dictionaries.fs_, folder.File("cache"));
      EXPECT_EQ(dictionaries.Answers(cache), expected);
      ASSERT_EQ(dictionaries.Held(cache), 3u);
      const engine::CompiledForm target = dictionaries.Forms()[form];
      damage.apply(cache.PathOf(target.kind, target.name));
      EXPECT_EQ(dictionaries.Held(cache), 2u);
      EXPECT_EQ(dictionaries.Answers(cache), expected);
      // Made again at once, or (a section found damaged in use) by the next run.
      EXPECT_EQ(dictionaries.Answers(cache), expected);
      EXPECT_EQ(dictionaries.Held(cache), 3u);
    }
  }
}

TEST(CompiledCache, AChangedSourceIsCompiledAnew) {
  Dictionaries dictionaries;
  TempDir folder;
  const compiled::Cache cache(dictionaries.fs_, folder.File("cache"));
  const std::string before = dictionaries.Answers(cache);
  testing::WriteDictionary(dictionaries.list_, {"apple", "huose", "zebra"});
  Backdate(dictionaries.list_);
  EXPECT_EQ(dictionaries.Answers(cache), dictionaries.Answers({}));
  EXPECT_NE(dictionaries.Answers(cache), before);
  EXPECT_EQ(dictionaries.Held(cache), 3u);
}

// The sections of an image, to be changed and written again.
std::vector<std::string> SectionsOf(const compiled::Image& image) {
  std::vector<std::string> sections;
  for (std::size_t k = 0; k < image.Sections(); ++k) sections.emplace_back(image.Bytes(k));
  return sections;
}
std::shared_ptr<const compiled::Image> ImageOf(const std::vector<std::string>& sections,
                                               compiled::Kind kind) {
  compiled::ImageWriter writer;
  for (const std::string& section : sections) writer.Add(section);
  return compiled::Image::InMemory(writer, kind, {});
}
template <class T>
void Put(std::string& section, std::size_t index, T value) {
  std::memcpy(section.data() + index * sizeof(T), &value, sizeof(T));
}

// A word list's table and a ranked index are checked block by block as they
// are read: a damaged block met while checking or suggesting changes no
// answer (the dictionary itself answers), and the file is made anew.
TEST(CompiledCache, ADamagedBlockMetInUseChangesNoAnswer) {
  Dictionaries dictionaries;
  const std::string expected = dictionaries.Answers({});
  for (const compiled::Kind kind : {compiled::Kind::Records, compiled::Kind::Ranked}) {
    SCOPED_TRACE(static_cast<int>(kind));
    TempDir folder;
    const compiled::Cache cache(dictionaries.fs_, folder.File("cache"));
    dictionaries.Answers(cache);
    engine::CompiledForm form;
    for (const engine::CompiledForm& each : dictionaries.Forms()) {
      if (each.kind == kind) form = each;
    }
    // The largest section (the hash table, the deletion index) changed in
    // its middle.
    const std::string path = cache.PathOf(form.kind, form.name);
    std::string largest;
    for (const std::string& section : SectionsOf(*cache.Find(form.kind, form.name, form.key))) {
      if (section.size() > largest.size()) largest = section;
    }
    std::string file;
    {
      // (closed before the run: Windows deletes no file that is open)
      std::ifstream in(path, std::ios::binary);
      file.assign(std::istreambuf_iterator<char>(in), {});
    }
    const std::size_t at = file.find(largest);
    ASSERT_NE(at, std::string::npos);
    Overwrite(path, at + largest.size() / 2, std::string(8, '\x5a'));

    EXPECT_EQ(dictionaries.Answers(cache), expected);
    EXPECT_EQ(dictionaries.Answers(cache), expected);
    EXPECT_EQ(dictionaries.Held(cache), 3u);
  }
}

// Files whose checksums hold but whose contents were made to mislead: each
// is refused, or read without a step out of bounds or a loop that does not
// end (the sanitizers and the test's end tell).
TEST(CompiledCache, CraftedFilesAreRefusedOrReadSafely) {
  const std::vector<std::string> words = {"apple", "house", "mouse", "world"};
  engine::DictionarySet set;
  TempDir dir;
  const std::string list = dir.File("w.dic");
  testing::WriteDictionary(list, words);
  std::unique_ptr<store::File> file;
  ASSERT_EQ(store::FileSystem::Default().Open(list, store::Access::Read,
                                              store::Disposition::OpenExisting, file),
            store::code::Ok);
  store::FileInfo info;
  ASSERT_EQ(file->Info(info), store::code::Ok);
  compiled::ImageWriter writer;
  engine::LoadedDictionary::Read(*file, info)->Compile(writer);
  const auto records = SectionsOf(*compiled::Image::InMemory(writer, compiled::Kind::Records, {}));

  // The word table: sections ordered flag, records, slots of 16 bytes
  // (head, check, record + 1).
  auto recordsView = [&](std::vector<std::string> s) {
    return engine::LoadedDictionary::View(ImageOf(s, compiled::Kind::Records), info);
  };
  {
    auto s = records;
    s[1].pop_back();  // no whole number of records
    EXPECT_EQ(recordsView(s), nullptr);
  }
  {
    auto s = records;  // every slot taken, each naming a record past the end
    for (std::size_t k = 0; k < s[2].size() / 16; ++k) Put<std::uint32_t>(s[2], k * 4 + 3, 99);
    if (auto view = recordsView(s)) {
      EXPECT_FALSE(view->Find("house", false));
    }
  }

  const std::vector<std::string_view> views(words.begin(), words.end());
  compiled::ImageWriter rankedWriter;
  suggest::RankedIndex::Compile(views, nullptr, false, suggest::Sounds::English, rankedWriter);
  const auto ranked =
      SectionsOf(*compiled::Image::InMemory(rankedWriter, compiled::Kind::Ranked, {}));
  auto rankedView = [&](std::vector<std::string> s) {
    return suggest::RankedIndex::View(ImageOf(s, compiled::Kind::Ranked));
  };
  {
    auto s = ranked;  // words past the end of the text, longer than any
    for (std::size_t k = 0; k < s[3].size() / 4; ++k) Put<std::uint32_t>(s[3], k, 1000);
    for (char& length : s[4]) length = 'z';
    // and the sound table's buckets past its entries, its ids past the words
    for (std::size_t k = 0; k < s[12].size() / 4; ++k) Put<std::uint32_t>(s[12], k, 1u << 30);
    for (std::size_t k = 0; k < s[13].size() / 8; ++k) Put<std::uint64_t>(s[13], k, ~0ull);
    if (auto view = rankedView(s)) {
      const suggest::RankedIndex* indexes[] = {view.get()};
      EXPECT_LE(suggest::Suggest("huose", indexes).size(), 10u);
    }
  }
  EXPECT_EQ(rankedView({ranked.begin(), ranked.end() - 1}), nullptr);

  // A Hunspell dictionary's stems: meta, words, entries of 16 bytes (offset,
  // flags, next, length), slots, flags, flag set starts, then the index.
  std::ofstream(dir.File("h.aff")) << "SET UTF-8\nSFX S Y 1\nSFX S 0 s .\n";
  std::ofstream(dir.File("h.dic")) << "3\nHaus/S\nMaus/S\nHaus\n";
  auto dictionary = hunspell::Dictionary::Load(store::FileSystem::Default(), dir.File("h.aff"),
                                               dir.File("h.dic"));
  compiled::ImageWriter stemWriter;
  dictionary->CompileStems(stemWriter);
  const auto stems =
      SectionsOf(*compiled::Image::InMemory(stemWriter, compiled::Kind::Hunspell, {}));
  auto stemsView = [&](std::vector<std::string> s) {
    return hunspell::Dictionary::LoadCompiled(store::FileSystem::Default(), dir.File("h.aff"),
                                              ImageOf(s, compiled::Kind::Hunspell));
  };
  ASSERT_NE(stemsView(stems), nullptr);
  EXPECT_TRUE(stemsView(stems)->Check("Hauss"));
  {
    auto s = stems;  // a word past the end of the text
    Put<std::uint32_t>(s[2], 0, 1000);
    EXPECT_EQ(stemsView(s), nullptr);
  }
  {
    auto s = stems;  // homonyms that lead back to themselves
    Put<std::uint32_t>(s[2], 2, 0);
    EXPECT_EQ(stemsView(s), nullptr);
  }
  {
    auto s = stems;  // a set of flags that is not there
    Put<std::uint32_t>(s[2], 1, 500);
    EXPECT_EQ(stemsView(s), nullptr);
  }
  {
    auto s = stems;  // a slot naming an entry past the end
    for (std::size_t k = 0; k < s[3].size() / 4; ++k) Put<std::uint32_t>(s[3], k, 77);
    EXPECT_EQ(stemsView(s), nullptr);
  }
  {
    auto s = stems;  // the index's buckets and ids past their ends
    for (std::size_t k = 0; k < s[7].size() / 4; ++k) Put<std::uint32_t>(s[7], k, 1u << 30);
    for (std::size_t k = 0; k < s[8].size() / 8; ++k) Put<std::uint64_t>(s[8], k, ~0ull);
    if (auto view = stemsView(s)) {
      EXPECT_LE(view->Suggest("Hauss").size(), 10u);
    }
  }
}

#if !defined(_WIN32)
// A cache folder that cannot be written, or that others could have written,
// costs time, never an answer; nothing is read from one that others may write.
TEST(CompiledCache, UnusableFoldersOnlyCostTime) {
  Dictionaries dictionaries;
  const std::string expected = dictionaries.Answers({});
  const bool root = ::geteuid() == 0;
  TempDir top;
  ::chmod(top.Path().c_str(), 0755);

  // Written by others: a folder anyone may write, or a link to another user's.
  const std::string open = top.File("open");
  {
    const compiled::Cache cache(dictionaries.fs_, open);
    EXPECT_EQ(dictionaries.Answers(cache), expected);
    ASSERT_EQ(dictionaries.Held(cache), 3u);
    ::chmod(open.c_str(), 0777);
    EXPECT_EQ(dictionaries.Held(cache), 0u);
    EXPECT_EQ(dictionaries.Answers(cache), expected);
  }
  if (root) {
    const std::string theirs = top.File("theirs");
    fs::create_directory(theirs);
    ASSERT_EQ(::chown(theirs.c_str(), 65534, 65534), 0);
    fs::create_directory_symlink(theirs, top.File("planted"));
    const compiled::Cache cache(dictionaries.fs_, top.File("planted"));
    EXPECT_EQ(dictionaries.Answers(cache), expected);
    EXPECT_TRUE(fs::is_empty(theirs));
  }

  // No folder can be made there.
  testing::WriteBytes(top.File("file"), "x");
  EXPECT_EQ(dictionaries.Answers(compiled::Cache(dictionaries.fs_, top.File("file/cache"))),
            expected);

  // Read-only, for a user who cannot write it.
  const std::string readOnly = top.File("read-only");
  fs::create_directory(readOnly);
  ::chmod(readOnly.c_str(), 0555);
  EXPECT_EQ(testing::ResultOfUnprivileged([&] {
              const compiled::Cache cache(dictionaries.fs_, readOnly);
              return dictionaries.Answers(cache) == expected ? 0 : 1;
            }),
            0);

  // Full.
  if (!root) GTEST_SKIP() << "mounting a small tmpfs needs root";
  const std::string full = top.File("full");
  fs::create_directory(full);
  if (::mount("tmpfs", full.c_str(), "tmpfs", 0, "size=64k,mode=0700") != 0) {
    GTEST_SKIP() << "tmpfs cannot be mounted here";
  }
  {
    std::ofstream filler(full + "/filler", std::ios::binary);
    const std::string block(4096, '\0');
    while (filler.write(block.data(), block.size())) {
    }
  }
  const compiled::Cache cache(dictionaries.fs_, full);
  const std::string answers = dictionaries.Answers(cache);
  const auto left = std::distance(fs::directory_iterator(full), fs::directory_iterator());
  ::umount2(full.c_str(), MNT_DETACH);
  EXPECT_EQ(answers, expected);
  EXPECT_EQ(left, 1) << "only the filler";
}

// Processes that compile the same dictionaries at once all end well, and
// leave good files behind.
TEST(CompiledCache, ProcessesCompilingAtOnce) {
  Dictionaries dictionaries;
  const std::string expected = dictionaries.Answers({});
  TempDir folder;
  const compiled::Cache cache(dictionaries.fs_, folder.File("cache"));
  std::vector<pid_t> children;
  for (int k = 0; k < 4; ++k) {
    const pid_t child = ::fork();
    if (child == 0) _exit(dictionaries.Answers(cache) == expected ? 0 : 1);
    children.push_back(child);
  }
  for (const pid_t child : children) {
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(dictionaries.Held(cache), 3u);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.File("cache")), fs::directory_iterator()),
            3);
}
#endif

}  // namespace
}  // namespace spellcheck
