// list: the misspelled words of texts, one a line, in order.
#include <unistd.h>

#include <iostream>

#include "commands/Commands.h"
#include "commands/ToolError.h"
#include "input/LineChecker.h"
#include "input/LineReader.h"
#include "input/TextCodec.h"
#include "output/Output.h"
#include "text/Utf8.h"

namespace spellcheck::tool {
namespace {

// How much of a file is looked at to tell a binary file from a text.
constexpr std::size_t BinaryProbeSize = 8192;

class TextLister {
 public:
  TextLister(engine::Speller& speller, TextCodec& codec, Output& out, const ListOptions& options,
             std::string encoding)
      : checker_(speller),
        speller_(speller),
        codec_(codec),
        out_(out),
        options_(options),
        encoding_(std::move(encoding)) {}

  // Lists one input; returns whether it held a misspelled word.
  bool List(int fd, const std::string& name) {
    LineReader reader(fd, name, encoding_);
    // Before waiting for more input: what has been found so far goes out (a
    // reader at the other end of a pipe sees it at once), and the
    // dictionaries are looked at again.
    reader.OnWait([this] {
      out_.Flush();
      speller_.Refresh();
    });
    if (reader.Peek(BinaryProbeSize).find('\0') != std::string_view::npos) {
      throw ToolError(name + ": binary file, not checked");
    }
    bool found = false;
    bool warned = false;
    std::size_t lineNumber = 0;
    std::size_t lineChars = 0;  // characters of the line in the pieces before
    TextPiece piece;
    bool lineStarts = true;
    while (reader.Next(piece)) {
      if (lineStarts) {
        ++lineNumber;
        lineChars = 0;
      }
      lineStarts = !piece.continues;
      if (!warned && codec_.IsUtf8() && !spellcheck::text::IsValidUtf8(piece.text)) {
        out_.Flush();
        std::cerr << "spellcheck: " << name << ":" << lineNumber
                  << ": not valid UTF-8; such bytes separate words (see --encoding)\n";
        warned = true;
      }
      const std::size_t chars = checker_.Check(piece.text, words_);
      for (const CheckedWord& word : words_) {
        if (word.correct) continue;
        found = true;
        Report(name, lineNumber, lineChars, word);
      }
      lineChars += chars;
    }
    return found;
  }

 private:
  void Report(const std::string& name, std::size_t lineNumber, std::size_t lineChars,
              const CheckedWord& word) {
    if (options_.where) {
      out_ << name << ":" << lineNumber << ":" << lineChars + word.charOffset + 1 << ": ";
    }
    out_ << word.text;
    if (options_.suggest) {
      out_ << ":";
      const char* separator = " ";
      for (const std::string& suggestion :
           speller_.Suggest(word.text, options_.suggestions.Order(), options_.suggestions.max)) {
        out_ << separator << suggestion;
        separator = ", ";
      }
    }
    out_ << "\n";
  }

  LineChecker checker_;
  engine::Speller& speller_;
  TextCodec& codec_;
  Output& out_;
  const ListOptions& options_;
  std::string encoding_;
  std::vector<CheckedWord> words_;
};

}  // namespace

int RunList(store::FileSystem& fs, const DictionaryOptions& options, const ListOptions& list) {
  TextCodec codec(options.encoding);
  // The dictionaries are read once and looked at again before each block of
  // input, so a change by another program is seen within a block.
  engine::Speller speller = MakeSpeller(fs, ResolveDictionaries(options), Reading::InMemory);
  Output out(STDOUT_FILENO, codec);
  TextLister lister(speller, codec, out, list, options.encoding);

  std::vector<std::string> files = list.files;
  if (files.empty()) files.push_back("-");
  bool found = false;
  bool failed = false;
  for (const std::string& file : files) {
    try {
      if (file == "-") {
        found = lister.List(STDIN_FILENO, "<stdin>") || found;
      } else {
        const FileDescriptor fd = OpenForReading(file);
        found = lister.List(fd.Get(), file) || found;
      }
    } catch (const OutputError&) {
      throw;
    } catch (const ToolError& error) {
      // One unreadable file does not stop the others.
      out.Flush();
      std::cerr << "spellcheck: " << error.what() << "\n";
      failed = true;
    }
  }
  out.Flush();
  if (failed) return ExitError;
  return found ? ExitFound : ExitOk;
}

}  // namespace spellcheck::tool
