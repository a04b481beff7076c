// build: a dictionary from plain word lists, one word a line. The words are
// sorted once (n log n) into the store's byte order, duplicates dropped, and
// the file is written beside its final name and then put in its place, so a
// failure never leaves a half-written dictionary behind.
#include <spellcheck/SpellCheck.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>

#include "commands/Commands.h"
#include "text/Cp1252.h"
#include "input/LineReader.h"
#include "input/TextCodec.h"
#include "commands/ToolError.h"
#include "store/FileSystem.h"
#include "store/RecordFile.h"
#include "store/TvarWord.h"

namespace spellcheck::tool {
namespace {

// A temporary file that is removed unless it was put in place.
class TemporaryFile {
 public:
  TemporaryFile(store::FileSystem& fs, std::string name) : fs_(fs), name_(std::move(name)) {}
  ~TemporaryFile() {
    if (!committed_) static_cast<void>(fs_.Delete(name_));
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  const std::string& Name() const { return name_; }
  void Commit() { committed_ = true; }

 private:
  store::FileSystem& fs_;
  std::string name_;
  bool committed_ = false;
};

std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

class WordCollector {
 public:
  WordCollector(TextCodec& codec, bool quiet) : codec_(codec), quiet_(quiet) {}

  void Read(int fd, const std::string& name) {
    LineReader reader(fd, name);
    std::string line;
    std::string word;
    std::size_t lineNumber = 0;
    while (reader.Next(line)) {
      ++lineNumber;
      const std::string_view text = TrimBlanks(codec_.ToUtf8(line));
      if (text.empty()) continue;
      if (!spellcheck::text::Utf8ToCp1252(text, word)) {
        LeaveOut(name, lineNumber, text, "has a character that code page 1252 cannot hold");
      } else if (word.size() > store::MaxWordLength) {
        LeaveOut(name, lineNumber, text, "is longer than 24 characters");
      } else {
        words_.push_back(word);
      }
    }
  }

  std::vector<std::string>& Words() { return words_; }
  std::size_t LeftOut() const { return leftOut_; }

 private:
  void LeaveOut(const std::string& name, std::size_t line, std::string_view word,
                const char* reason) {
    ++leftOut_;
    if (!quiet_) {
      std::cerr << "spellcheck: " << name << ":" << line << ": '" << word << "' " << reason
                << ", left out\n";
    }
  }

  TextCodec& codec_;
  bool quiet_;
  std::vector<std::string> words_;
  std::size_t leftOut_ = 0;
};

void WriteDictionary(const std::vector<std::string>& words, const std::string& output) {
  store::FileSystem& fs = store::FileSystem::Default();
  std::vector<store::TvarWord> records;
  records.reserve(words.size());
  for (const std::string& word : words) records.push_back(store::TvarWord::FromWord(word));

  TemporaryFile temporary(fs, output + ".tmp" + std::to_string(::getpid()));
  store::RecordFile file(fs);
  const auto fail = [&](const std::string& step, store::IoCode code) {
    throw ToolError(step + ": " + EInOutError(code.Code()).what());
  };
  if (const auto rc =
          file.Open(temporary.Name(), store::Access::ReadWrite, store::Disposition::CreateNew)) {
    fail("cannot create " + temporary.Name(), rc);
  }
  if (const auto rc = file.WriteAll(records)) fail("cannot write " + temporary.Name(), rc);
  if (const auto rc = file.Sync()) fail("cannot write " + temporary.Name(), rc);
  if (const auto rc = file.Close()) fail("cannot write " + temporary.Name(), rc);
  if (const auto rc = fs.Rename(temporary.Name(), output)) fail("cannot replace " + output, rc);
  temporary.Commit();
  static_cast<void>(fs.SyncFolderOf(output));
}

}  // namespace

int RunBuild(const BuildOptions& build) {
  if (build.output.empty()) throw ToolError("build: name the dictionary to make with -o FILE");
  TextCodec codec(build.encoding);
  WordCollector collector(codec, build.quiet);
  for (const std::string& list : build.wordLists) {
    if (list == "-") {
      collector.Read(STDIN_FILENO, "<stdin>");
    } else {
      const FileDescriptor fd = OpenForReading(list);
      collector.Read(fd.Get(), list);
    }
  }
  std::vector<std::string>& words = collector.Words();
  // std::string compares bytes as unsigned values: the store's text order.
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  WriteDictionary(words, build.output);
  if (!build.quiet) {
    std::cerr << "spellcheck: " << build.output << ": " << words.size() << " words";
    if (collector.LeftOut() != 0) std::cerr << ", " << collector.LeftOut() << " left out";
    std::cerr << "\n";
  }
  return ExitOk;
}

}  // namespace spellcheck::tool
