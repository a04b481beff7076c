// build: a dictionary from plain word lists, one word a line. The words are
// sorted once (n log n) into the store's byte order, duplicates dropped, and
// the file is written the way the store writes every change, so a failure
// never leaves a half-written dictionary behind and an existing file keeps
// its permissions.
#include <spellcheck/SpellCheck.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <iterator>
#include <string>

#include "commands/Commands.h"
#include "errors/ToolError.h"
#include "input/LineReader.h"
#include "input/TextCodec.h"
#include "store/FileSystem.h"
#include "store/TvarWord.h"
#include "store/WordList.h"
#include "text/Cp1252.h"

namespace spellcheck::tool {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

class WordCollector {
 public:
  WordCollector(std::string encoding, bool quiet) : encoding_(std::move(encoding)), quiet_(quiet) {}

  void Read(int fd, const std::string& name) {
    LineReader reader(fd, name, encoding_);
    TextPiece piece;
    std::string word;
    std::size_t lineNumber = 0;
    bool lineStarts = true;
    while (reader.Next(piece)) {
      const bool whole = lineStarts && !piece.continues;
      if (lineStarts) ++lineNumber;
      lineStarts = !piece.continues;
      if (!whole) {
        // Only the first piece of a line too long to come whole is looked at.
        if (lineNumber != leftOutLine_) {
          leftOutLine_ = lineNumber;
          LeaveOut(name, lineNumber, piece.text.substr(0, 40), Reason::Long);
        }
        continue;
      }
      const std::string_view text = TrimBlanks(piece.text);
      if (text.empty()) continue;
      if (!spellcheck::text::Utf8ToCp1252(text, word)) {
        LeaveOut(name, lineNumber, text, Reason::Cp1252);
      } else if (word.size() > store::MaxWordLength) {
        // A text's word of more than 24 characters is never found (lookups
        // compare whole words), and its first 24 would be a word of their own.
        LeaveOut(name, lineNumber, text, Reason::Long);
      } else if (word.find_first_of(" \t") != std::string::npos) {
        // Several words ("à la carte"): a text's words never hold a blank.
        LeaveOut(name, lineNumber, text, Reason::Blank);
      } else {
        words_.push_back(word);
      }
    }
  }

  std::vector<std::string>& Words() { return words_; }
  std::size_t LeftOut() const { return leftOut_; }
  // "(2 longer than 24 characters, 1 with a blank)", or "".
  std::string Reasons() const {
    static constexpr const char* counted[] = {"with a character outside code page 1252",
                                              "longer than 24 characters", "with a blank"};
    std::string text;
    for (std::size_t k = 0; k < std::size(counted); ++k) {
      if (byReason_[k] == 0) continue;
      text += (text.empty() ? " (" : ", ") + std::to_string(byReason_[k]) + " " + counted[k];
    }
    return text.empty() ? text : text + ")";
  }

 private:
  enum class Reason { Cp1252, Long, Blank };

  void LeaveOut(const std::string& name, std::size_t line, std::string_view word, Reason reason) {
    static constexpr const char* said[] = {"has a character that code page 1252 cannot hold",
                                           "is longer than 24 characters",
                                           "holds a blank (a text's words never do)"};
    ++leftOut_;
    ++byReason_[static_cast<int>(reason)];
    if (!quiet_) {
      std::cerr << "spellcheck: " << name << ":" << line << ": '" << word << "' "
                << said[static_cast<int>(reason)] << ", left out\n";
    }
  }

  std::string encoding_;
  bool quiet_;
  std::size_t leftOutLine_ = 0;  // the long line already reported
  std::vector<std::string> words_;
  std::size_t leftOut_ = 0;
  std::size_t byReason_[3] = {};
};

void WriteDictionary(store::FileSystem& fs, const std::vector<std::string>& words,
                     const std::string& output) {
  std::vector<store::TvarWord> records;
  records.reserve(words.size());
  for (const std::string& word : words) records.push_back(store::TvarWord::FromWord(word));
  try {
    store::WriteWordList(fs, output, records);
  } catch (const EInOutError& error) {
    throw ToolError("cannot write " + output + ": " + error.what());
  }
}

}  // namespace

int RunBuild(store::FileSystem& fs, const BuildOptions& build) {
  if (build.output.empty()) throw ToolError("build: name the dictionary to make with -o FILE");
  WordCollector collector(build.encoding, build.quiet);
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
  WriteDictionary(fs, words, build.output);
  if (!build.quiet) {
    std::cerr << "spellcheck: " << build.output << ": " << words.size() << " words";
    if (collector.LeftOut() != 0) {
      std::cerr << ", " << collector.LeftOut() << " left out" << collector.Reasons();
    }
    std::cerr << "\n";
  }
  return ExitOk;
}

}  // namespace spellcheck::tool
