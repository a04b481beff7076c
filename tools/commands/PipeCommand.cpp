// The ispell pipe: a banner, then for every input line one answer per word
// and an empty line. Answers are flushed whenever the input runs dry, so an
// editor waiting for them gets them at once and a batch run writes in blocks.
#include <unistd.h>

#include <iostream>

#include "SpellcheckVersion.h"
#include "commands/Commands.h"
#include "commands/PersonalList.h"
#include "commands/PipeArguments.h"
#include "errors/ToolError.h"
#include "filters/Filter.h"
#include "input/LineChecker.h"
#include "input/LineReader.h"
#include "input/TextCodec.h"
#include "output/Output.h"
#include "text/Cp1252.h"
#include "text/WordCase.h"

namespace spellcheck::tool {
namespace {

constexpr const char* Banner =
    "@(#) International Ispell Version 3.2.06 (but really spellcheck " SPELLCHECK_VERSION ")\n";

constexpr const char* PipeHelp =
    "Usage: spellcheck -a [OPTIONS]   (also: spellcheck pipe [OPTIONS])\n"
    "Speaks the ispell pipe protocol on standard input and output, for editors.\n"
    "\n"
    "Options:\n"
    "  --main FILE       main dictionary file, instead of the languages'\n"
    "  --custom FILE     custom dictionary, where *word adds\n"
    "  --dic FILE        a further dictionary (repeatable)\n"
    "  --no-custom       no custom dictionary\n"
    "  --ignore-case     accept words that differ from a dictionary's in the case of A-Z\n"
    "  --max N           at most N suggestions for a word (default 10)\n"
    "  --positional      the library's positional suggestions instead of ranked ones\n"
    "  --encoding NAME   encoding of the text (default UTF-8)\n"
    "  -d FILE           main dictionary, when it names a word-list file\n"
    "  -d TAG[,TAG...]   languages (de_DE, en_US,de_DE; or ispell's names: deutsch,\n"
    "                    british, francais, ...); also --lang TAG. Default:\n"
    "                    $SPELLCHECK_LANG, else the locale's language, else en_US\n"
    "  -p FILE           custom dictionary when it is a word-list file (or a .dic file\n"
    "                    to make); otherwise ispell's personal word list, a text of one\n"
    "                    word a line, whose words are accepted and where *word adds\n"
    "  -v, -vv           print the banner and exit\n"
    "  -t, -H, -n        check TeX/LaTeX, HTML or nroff: only their text, line by line\n"
    "  ispell's -m -B -C -S -i -T TYPE -w CHARS are accepted and ignored.\n"
    "\n"
    "Commands on a line of their own: *word add to the custom dictionary, &word add it in\n"
    "small letters, @word accept for this session, # save, ! terse, % verbose, ^text check\n"
    "text, + TeX mode on, - TeX mode off, ~name accepted and ignored.\n";

std::string SmallLetters(std::string_view utf8) {
  std::string word;
  if (!text::Utf8ToCp1252(utf8, word)) return std::string(utf8);
  return text::Cp1252ToUtf8(text::LowerCase(word));
}

class PipeSession {
 public:
  PipeSession(engine::Speller& speller, const catalogue::RunDictionaries& dictionaries,
              PersonalList& personal, const SuggestOptions& suggestions, const std::string& mode,
              Output& out)
      : mode_(mode),
        filter_(MakeFilter(mode)),
        speller_(speller),
        suggestions_(suggestions),
        personal_(personal),
        dictionaries_(dictionaries),
        checker_(speller),
        out_(out) {}

  void Run(LineReader& reader) {
    out_ << Banner;
    TextPiece piece;
    bool lineStarts = true;
    bool checking = false;   // the line being read is text to check
    std::size_t offset = 0;  // characters of the line before the piece
    while (reader.Next(piece)) {
      if (lineStarts) {
        offset = 0;
        checking = Handle(piece.text, offset);
      }
      if (checking) {
        offset += CheckWords(piece.text.substr(lineStarts ? offset : 0), offset);
        if (!piece.continues) out_ << "\n";
      }
      lineStarts = !piece.continues;
    }
    out_.Flush();
  }

 private:
  // Carries out a line's command, if it is one; true when the line is text
  // to check, then `skip` tells how many characters begin it that are no text.
  bool Handle(std::string_view line, std::size_t& skip) {
    skip = 0;
    if (line.empty()) return true;
    const std::string_view rest = line.substr(1);
    switch (line.front()) {
      case '*':
        Add(rest);
        return false;
      case '&':
        Add(SmallLetters(rest));
        return false;
      case '@':
        speller_.AcceptForSession(Trim(rest));
        return false;
      case '!':
        terse_ = true;
        return false;
      case '%':
        terse_ = false;
        return false;
      case '+':
        filter_ = MakeFilter("tex");
        return false;
      case '-':
        // Off again: back to what the options chose, or plain text.
        filter_ = MakeFilter(mode_ == "tex" ? "text" : mode_);
        return false;
      case '#':
      case '~':
        return false;  // words are stored at once
      case '^':
        skip = 1;
        return true;
      default:
        return true;
    }
  }

  static std::string_view Trim(std::string_view word) {
    while (!word.empty() && (word.front() == ' ' || word.front() == '\t')) word.remove_prefix(1);
    while (!word.empty() && (word.back() == ' ' || word.back() == '\t')) word.remove_suffix(1);
    return word;
  }

  void Add(std::string_view word) {
    word = Trim(word);
    // A line of text that merely begins with '*' or '&' adds nothing.
    if (word.empty() || word.find_first_of(" \t") != std::string_view::npos) return;
    // Only what texts are read as one word can ever be matched.
    if (!IsOneWord(word)) {
      std::cerr << "spellcheck: not added: '" << word
                << "' is no word as texts are read (letters with inner apostrophes and "
                   "hyphens)\n";
      return;
    }
    try {
      if (personal_.Active()) {
        speller_.AcceptForSession(word);
        personal_.Add(word);
        return;
      }
      catalogue::PrepareCustomFolder(dictionaries_);
      speller_.AddToCustom(word);
    } catch (const std::exception& error) {
      // The protocol has no answer for a failed add; the session goes on.
      std::cerr << "spellcheck: cannot add '" << word << "': " << error.what() << "\n";
    }
  }

  // Answers for every word of `text`, whose first character is character
  // `offset` of the line (offsets count the whole line as received).
  // Answers the number of characters in `text`.
  std::size_t CheckWords(std::string_view text, std::size_t offset) {
    std::size_t chars = 0;
    if (filter_) {
      // The line by itself: its regions, offsets still counting all of it.
      filter_->Regions(text, regions_);
      CheckRegions(checker_, text, regions_, words_);
      for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if ((static_cast<unsigned char>(text[pos]) & 0xC0) != 0x80) ++chars;
      }
    } else {
      chars = checker_.Check(text, words_);
    }
    for (const CheckedWord& word : words_) {
      const std::size_t at = word.charOffset + offset;
      if (word.correct) {
        if (!terse_) out_ << "*\n";
        continue;
      }
      const std::vector<std::string> suggestions =
          speller_.Suggest(word.text, suggestions_.Order(), suggestions_.max);
      if (suggestions.empty()) {
        out_ << "# " << word.text << " " << at << "\n";
        continue;
      }
      out_ << "& " << word.text << " " << suggestions.size() << " " << at << ":";
      const char* separator = " ";
      for (const std::string& suggestion : suggestions) {
        out_ << separator << suggestion;
        separator = ", ";
      }
      out_ << "\n";
    }
    return chars;
  }

  std::string mode_;
  std::unique_ptr<Filter> filter_;  // none for plain text
  std::vector<Region> regions_;
  engine::Speller& speller_;
  const SuggestOptions& suggestions_;
  PersonalList& personal_;
  const catalogue::RunDictionaries& dictionaries_;
  LineChecker checker_;
  Output& out_;
  std::vector<CheckedWord> words_;
  bool terse_ = false;
};

}  // namespace

bool WantsPipe(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return false;
  if (arguments.front() == "pipe" || arguments.front() == "-v" || arguments.front() == "-vv") {
    return true;
  }
  for (const std::string& argument : arguments) {
    if (argument == "--") return false;
    if (argument == "-a") return true;
  }
  return false;
}

bool WantsIspellList(const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    if (argument == "--" || argument == "-a") return false;
    if (argument == "-l") return true;
  }
  return false;
}

int RunIspellList(store::FileSystem& fs, const std::vector<std::string>& arguments) {
  const PipeArguments parsed = ParsePipeArguments(arguments);
  ListOptions list;
  list.files = {"-"};
  list.mode = parsed.mode;  // -t, -H, -n filter the list too
  const int status = RunList(fs, parsed.dictionaries, list);
  return status == ExitFound ? ExitOk : status;
}

int RunPipe(store::FileSystem& fs, const std::vector<std::string>& arguments) {
  const PipeArguments parsed = ParsePipeArguments(arguments);
  if (parsed.help) {
    std::cout << PipeHelp;
    return ExitOk;
  }
  if (parsed.versionOnly) {
    std::cout << Banner;
    return ExitOk;
  }
  TextCodec codec(parsed.dictionaries.encoding);
  const catalogue::RunDictionaries dictionaries =
      catalogue::ResolveDictionaries(parsed.dictionaries);
  engine::Speller speller = catalogue::MakeSpeller(fs, dictionaries, catalogue::Reading::InMemory);
  Output out(STDOUT_FILENO, codec);
  LineReader reader(STDIN_FILENO, "<stdin>", parsed.dictionaries.encoding);
  // Answers reach the editor before the session waits; the dictionaries are
  // looked at when new lines arrive, so a change made while the session
  // waited (by the editor's user, another program) is seen by the next answer.
  reader.OnWait([&out] { out.Flush(); });
  reader.OnInput([&speller] { speller.Refresh(); });
  PersonalList personal;
  if (!parsed.personalList.empty()) {
    personal = PersonalList(parsed.personalList);
    for (const std::string& word : personal.Words()) speller.AcceptForSession(word);
  }
  PipeSession(speller, dictionaries, personal, parsed.suggestions, parsed.mode, out).Run(reader);
  return ExitOk;
}

}  // namespace spellcheck::tool
