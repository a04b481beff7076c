// list: the misspelled words of texts, one a line, in order.
#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <memory>

#include "commands/Commands.h"
#include "commands/ProjectWords.h"
#include "commands/ToolError.h"
#include "filters/DocumentWords.h"
#include "filters/Filter.h"
#include "filters/InlineControls.h"
#include "input/LineChecker.h"
#include "input/LineReader.h"
#include "input/TextCodec.h"
#include "output/Output.h"
#include "output/Report.h"
#include "text/Utf8.h"

namespace spellcheck::tool {
namespace {

// How much of a file is looked at to tell a binary file from a text.
constexpr std::size_t BinaryProbeSize = 8192;

class TextLister {
 public:
  TextLister(engine::Speller& speller, TextCodec& codec, Output& out, Reporter& reporter,
             const ListOptions& options, std::string encoding)
      : checker_(speller),
        documentWords_(speller),
        speller_(speller),
        codec_(codec),
        out_(out),
        reporter_(reporter),
        options_(options),
        encoding_(std::move(encoding)) {}

  // Lists one input; returns whether it held a misspelled word. `mode`
  // names its filter; the words of `accepted` count as correct.
  bool List(int fd, const std::string& name, const std::string& mode, const WordSet& accepted) {
    accepted_ = &accepted;
    controls_ = InlineControls();
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
    if (const std::unique_ptr<Filter> filter = MakeFilter(mode)) {
      return ListDocument(reader, name, *filter);
    }
    checker_.SplitCompounds(false);
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
      controls_.Read(piece.text, lineStarts);
      lineStarts = !piece.continues;
      if (!warned && codec_.IsUtf8() && !spellcheck::text::IsValidUtf8(piece.text)) {
        out_.Flush();
        std::cerr << "spellcheck: " << name << ":" << lineNumber
                  << ": not valid UTF-8; such bytes separate words (see --encoding)\n";
        warned = true;
      }
      const std::size_t chars = checker_.Check(piece.text, words_);
      for (const CheckedWord& word : words_) {
        if (Accepted(piece.text, word)) continue;
        found = true;
        Report(name, lineNumber, lineChars, word);
      }
      lineChars += chars;
    }
    return found;
  }

 private:
  // A filtered document is read whole: its filter sees all of it.
  bool ListDocument(LineReader& reader, const std::string& name, Filter& filter) {
    std::string document;
    TextPiece piece;
    while (reader.Next(piece)) {
      document += piece.text;
      if (!piece.continues) document += '\n';
    }
    bool found = false;
    bool warned = false;
    documentWords_.Find(
        document, &filter, *accepted_,
        [&](std::size_t lineNumber, std::string_view line) {
          if (!warned && codec_.IsUtf8() && !spellcheck::text::IsValidUtf8(line)) {
            out_.Flush();
            std::cerr << "spellcheck: " << name << ":" << lineNumber
                      << ": not valid UTF-8; such bytes separate words (see --encoding)\n";
            warned = true;
          }
        },
        [&](std::size_t lineNumber, std::string_view, const CheckedWord& word) {
          found = true;
          Report(name, lineNumber, 0, word);
        });
    return found;
  }

  // Whether a word of `line` goes unreported: correct, a project word, or
  // silenced by the document's controls.
  bool Accepted(std::string_view line, const CheckedWord& word) const {
    return Unreported(controls_, *accepted_, line, word);
  }

  void Report(const std::string& name, std::size_t lineNumber, std::size_t lineChars,
              const CheckedWord& word) {
    Finding finding;
    finding.file = name;
    finding.line = lineNumber;
    finding.column = lineChars + word.charOffset + 1;
    finding.word = word.text;
    if (options_.suggest) {
      suggestions_ =
          speller_.Suggest(word.text, options_.suggestions.Order(), options_.suggestions.max);
      finding.suggestions = &suggestions_;
    }
    reporter_.Add(finding);
  }

  LineChecker checker_;
  DocumentWords documentWords_;
  engine::Speller& speller_;
  TextCodec& codec_;
  Output& out_;
  Reporter& reporter_;
  const ListOptions& options_;
  std::string encoding_;
  std::vector<CheckedWord> words_;
  std::vector<std::string> suggestions_;
  InlineControls controls_;
  const WordSet* accepted_ = nullptr;
};

}  // namespace

int RunList(store::FileSystem& fs, const DictionaryOptions& options, const ListOptions& list) {
  TextCodec codec(options.encoding);
  // The dictionaries are read once and looked at again before each block of
  // input, so a change by another program is seen within a block.
  engine::Speller speller = MakeSpeller(fs, ResolveDictionaries(options), Reading::InMemory);
  Output out(STDOUT_FILENO, codec);
  const std::unique_ptr<Reporter> reporter =
      MakeReporter(list.format, out, {.where = list.where, .suggest = list.suggest});
  TextLister lister(speller, codec, out, *reporter, list, options.encoding);

  if (!list.mode.empty()) MakeFilter(list.mode);  // an unknown mode fails before any file
  ProjectWords projectWords(list.wordLists);
  std::vector<std::string> files = list.files;
  if (files.empty()) files.push_back("-");
  bool found = false;
  bool failed = false;
  for (const std::string& file : files) {
    try {
      if (file == "-") {
        found = lister.List(STDIN_FILENO, "<stdin>", list.mode.empty() ? "text" : list.mode,
                            projectWords.For(file)) ||
                found;
      } else {
        const FileDescriptor fd = OpenForReading(file);
        found = lister.List(fd.Get(), file, list.mode.empty() ? ModeForFile(file) : list.mode,
                            projectWords.For(file)) ||
                found;
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
  reporter->Finish();
  out.Flush();
  if (failed) return ExitError;
  return found ? ExitFound : ExitOk;
}

}  // namespace spellcheck::tool
