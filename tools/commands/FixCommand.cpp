// fix: goes through the misspelled words of texts one by one and corrects
// them as the user answers, key by key; then writes each changed text back.
#include <unistd.h>

#include <spellcheck/SpellCheck.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <unordered_set>

#include "commands/Commands.h"
#include "errors/ToolError.h"
#include "filters/DocumentWords.h"
#include "filters/Filter.h"
#include "filters/Identifiers.h"
#include "input/KeyInput.h"
#include "input/TextCodec.h"
#include "output/Output.h"
#include "store/TextFile.h"
#include "store/TvarWord.h"
#include "text/Cp1252.h"
#include "text/Utf8.h"
#include "text/WordCase.h"
#include "vocabularies/ProjectWords.h"
#include "vocabularies/Vocabularies.h"

namespace spellcheck::tool {

std::string FixKeysHelp() {
  return "Keys of fix (for each misspelled word, in file order):\n"
         "  1-9, 0    replace the word with that suggestion (0: the tenth)\n"
         "  r         replace it with a word typed after the key (Enter ends it)\n"
         "  a (A, R)  replace it and every later one of the same spelling in the file:\n"
         "            then a digit for a suggestion, or r and a typed word\n"
         "  space, i  ignore it here (ask again at its next place)\n"
         "  I         accept it for the rest of the run, in every file\n"
         "  c         add it to the custom dictionary\n"
         "  p         add it to the project word list (the file's nearest\n"
         "            .spellcheck-words.txt, else a new one in its folder)\n"
         "  u         undo the last answer in this file (again and again)\n"
         "  q         write this file with the answers so far, and stop\n"
         "  x, Ctrl-C stop at once: this file is left as it was and its answers\n"
         "            (added words too) are dropped; files finished before are kept\n"
         "  ?         this help\n"
         "A file's answers take effect when it is finished: then it is written\n"
         "(crash-safely, its mode kept; a file that nothing changed is not touched;\n"
         "one that changed on disk meanwhile is not overwritten) and added words are\n"
         "stored. A suggestion takes the word's capitals (Teh -> The); a typed word\n"
         "goes in as typed. Without a terminal, keys are read from standard input one\n"
         "character at a time (line ends between keys are skipped; a typed word is\n"
         "the rest of the key's line, or the next line); its end acts as q.\n"
         "Exit status: 0 when the run ended as asked (q and x too), 2 on errors.\n";
}

namespace {

constexpr std::size_t MaxSuggestions = 10;
constexpr std::size_t BinaryProbeSize = 8192;
constexpr std::pair<std::string_view, const char*> ByteOrderMarks[] = {
    {"\xEF\xBB\xBF", "UTF-8"}, {"\xFF\xFE", "UTF-16LE"}, {"\xFE\xFF", "UTF-16BE"}};
// Lines longer than this are shown cut around the word.
constexpr std::size_t ShownAround = 120;

// The terminal's bold, reverse video and plain text.
constexpr const char* Bold = "\x1b[1m";
constexpr const char* Reverse = "\x1b[7m";
constexpr const char* Plain = "\x1b[0m";
constexpr const char* ClearScreen = "\x1b[H\x1b[2J";

// One misspelled word of the document.
struct Misspelling {
  std::size_t begin = 0;  // bytes of the document
  std::size_t end = 0;
  std::size_t line = 0;  // its number
  std::size_t lineBegin = 0;
  std::size_t lineEnd = 0;
  std::string word;
};

enum class Kind { Replace, Ignore, AcceptForRun, Custom, Project };

// One answer, as undo takes it back.
struct Answer {
  Kind kind = Kind::Ignore;
  std::size_t at = 0;                 // the misspelling answered
  std::vector<std::size_t> replaced;  // Replace: the misspellings given `text`
  std::vector<std::string> texts;
  std::string word;  // the word accepted or added
};

// The word's code page 1252 form, or nullopt.
std::optional<std::string> Cp1252Of(std::string_view utf8) {
  std::string out;
  if (!text::Utf8ToCp1252(utf8, out)) return std::nullopt;
  return out;
}

bool StartsCapital(const std::string& cp1252) {
  if (cp1252.empty()) return false;
  const std::string first = cp1252.substr(0, 1);
  return text::UpperCase(first) == first && text::LowerCase(first) != first;
}

std::string CapitaliseFirst(const std::string& cp1252) {
  if (cp1252.empty()) return cp1252;
  return text::UpperCase(cp1252.substr(0, 1)) + cp1252.substr(1);
}

// The suggestion with the word's capitals: in capitals throughout for a
// word so written, with a capital first for a capitalised word.
std::string MatchCase(const std::string& word, const std::string& suggestion) {
  const auto w = Cp1252Of(word);
  const auto s = Cp1252Of(suggestion);
  if (!w || !s) return suggestion;
  if (text::IsAllCapitals(*w)) return text::Cp1252ToUtf8(text::UpperCase(*s));
  if (StartsCapital(*w) && !StartsCapital(*s)) return text::Cp1252ToUtf8(CapitaliseFirst(*s));
  return suggestion;
}

// Whether accepting `accepted` covers `word`: the same, or the same with a
// capital first or in capitals throughout, as the dictionaries' words do.
bool Covers(const std::string& accepted, const std::string& word) {
  if (accepted == word) return true;
  const auto a = Cp1252Of(accepted);
  const auto w = Cp1252Of(word);
  return a && w && (*w == CapitaliseFirst(*a) || *w == text::UpperCase(*a));
}

// The start of the UTF-8 character at or before `pos`.
std::size_t CharStart(std::string_view text, std::size_t pos) {
  while (pos > 0 && pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80) {
    --pos;
  }
  return pos;
}

std::size_t CharCount(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

// Text for the screen: control characters (a tab, an escape in the text)
// become blanks, so nothing of the file can steer the terminal.
std::string Printable(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = ' ';
  }
  return out;
}

// A file being fixed: its bytes as read, its text, the misspelled words and
// the answers so far.
struct FileState {
  std::string name;
  std::string bytes;  // as read
  store::FileInfo info;
  std::string prefix;                // a byte-order mark, kept as it was
  std::unique_ptr<TextCodec> codec;  // null: UTF-8, edited byte for byte
  std::string encoding;
  std::string document;  // UTF-8
  std::vector<Misspelling> found;
  std::vector<std::optional<std::string>> replacement;  // by misspelling
  std::vector<Answer> answers;

  bool Accepted(const std::string& word) const {
    for (const Answer& answer : answers) {
      if (answer.kind != Kind::Replace && answer.kind != Kind::Ignore &&
          Covers(answer.word, word)) {
        return true;
      }
    }
    return false;
  }
  bool Pending(std::size_t i) const { return !replacement[i] && !Accepted(found[i].word); }
  std::size_t NextPending(std::size_t from) const {
    while (from < found.size() && !Pending(from)) ++from;
    return from;
  }

  // The document's bytes [begin, end) with the replacements made so far;
  // `current`'s place in it (its replacement or the word) goes to `mark`.
  std::string Edited(std::size_t begin, std::size_t end, std::size_t current,
                     std::pair<std::size_t, std::size_t>* mark) const {
    std::string out;
    std::size_t pos = begin;
    const auto first =
        std::lower_bound(found.begin(), found.end(), begin,
                         [](const Misspelling& m, std::size_t offset) { return m.begin < offset; });
    for (auto it = first; it != found.end() && it->begin < end; ++it) {
      const auto i = static_cast<std::size_t>(it - found.begin());
      out.append(document, pos, it->begin - pos);
      const std::size_t markBegin = out.size();
      if (replacement[i]) {
        out += *replacement[i];
      } else {
        out.append(document, it->begin, it->end - it->begin);
      }
      if (i == current && mark != nullptr) *mark = {markBegin, out.size()};
      pos = it->end;
    }
    out.append(document, pos, end - pos);
    return out;
  }

  bool Changed() const {
    return std::any_of(replacement.begin(), replacement.end(),
                       [](const auto& r) { return r.has_value(); });
  }
  std::size_t ReplacedCount() const {
    return static_cast<std::size_t>(std::count_if(replacement.begin(), replacement.end(),
                                                  [](const auto& r) { return r.has_value(); }));
  }
};

class Fixer {
 public:
  Fixer(store::FileSystem& fs, const catalogue::DictionaryOptions& options, const FixOptions& fix)
      : fs_(fs),
        options_(options),
        fix_(fix),
        dictionaries_(catalogue::ResolveDictionaries(options)),
        speller_(catalogue::MakeSpeller(fs, dictionaries_, catalogue::Reading::InMemory)),
        codec_(options.encoding),
        out_(STDOUT_FILENO, codec_),
        documentWords_(speller_),
        projectWords_(fix.wordLists) {
#if defined(_WIN32)
    ansi_ = false;
#else
    ansi_ = ::isatty(STDOUT_FILENO) != 0;
#endif
  }

  int Run() {
    if (!fix_.mode.empty()) MakeFilter(fix_.mode);  // an unknown mode fails before any file
    keys_ = KeyInput::ForStandardInput();
    for (const std::string& name : fix_.files) {
      try {
        FixFile(name);
      } catch (const OutputError&) {
        throw;
      } catch (const ToolError& error) {
        Fail(error.what());
      } catch (const spellcheck::Exception& error) {
        Fail(name + ": " + error.what());
      }
      if (stopped_) break;
    }
    out_.Flush();
    keys_.reset();  // the terminal as it was
    return failed_ ? ExitError : ExitOk;
  }

 private:
  void Fail(const std::string& message) {
    out_.Flush();
    std::cerr << "spellcheck: " << message << "\n";
    failed_ = true;
  }

  // Goes through one file; q and x stop the run.
  void FixFile(const std::string& name) {
    FileState file;
    Read(name, file);
    Find(file);
    std::size_t i = file.NextPending(0);
    while (i < file.found.size()) {
      Show(file, i);
      const int key = ReadKey();
      switch (Act(file, i, key)) {
        case Step::Stay:
          break;
        case Step::Next:
          i = file.NextPending(i + 1);
          break;
        case Step::Undo:
          i = Undo(file, i);
          break;
        case Step::Write:
          stopped_ = true;
          Finish(file);
          return;
        case Step::Drop:
          stopped_ = true;
          out_ << "\n" << file.name << ": left as it was, its answers dropped\n";
          return;
      }
    }
    Finish(file);
  }

  void Read(const std::string& name, FileState& file) {
    file.name = name;
    if (const store::IoCode rc = store::ReadWholeFile(fs_, name, file.bytes, file.info);
        rc != store::code::Ok) {
      throw ToolError("cannot read " + name + ": " + EInOutError(rc.Code()).what());
    }
    // A byte-order mark chooses the encoding, as list reads it, and stays.
    file.encoding = options_.encoding;
    std::string_view body = file.bytes;
    for (const auto& [mark, encoding] : ByteOrderMarks) {
      if (body.starts_with(mark)) {
        file.prefix = std::string(mark);
        file.encoding = encoding;
        break;
      }
    }
    body.remove_prefix(file.prefix.size());
    if (IsUtf8Name(file.encoding)) {
      file.document = std::string(body);
    } else {
      file.codec = std::make_unique<TextCodec>(file.encoding);
      file.document = std::string(file.codec->ToUtf8(body));
      // Only a text that comes back byte for byte can be written back.
      if (file.codec->FromUtf8(file.document) != body) {
        throw ToolError(name + ": not all of it reads as " + file.encoding +
                        ", so it could not be written back unchanged; not fixed (see --encoding)");
      }
    }
    if (std::string_view(file.document).substr(0, BinaryProbeSize).find('\0') !=
        std::string_view::npos) {
      throw ToolError(name + ": binary file, not checked");
    }
  }

  void Find(FileState& file) {
    const std::string mode = fix_.mode.empty() ? ModeForFile(file.name) : fix_.mode;
    const std::unique_ptr<Filter> filter = MakeFilter(mode);
    const std::string_view document = file.document;
    // As list does with its defaults: the vocabularies of the file's kind
    // and the names its code defines.
    identifiers_.clear();
    AddDefinedNamesOf(document, mode, identifiers_);
    WordContext& context = contexts_[mode];
    if (context.identifiers == nullptr) {
      for (const std::string& name : DefaultVocabularies(mode, IsEnglishRun(dictionaries_))) {
        if (const Vocabulary* vocabulary = vocabularies_.Get(name)) {
          context.vocabularies.push_back(vocabulary);
        }
      }
      context.identifiers = &identifiers_;
      context.minLength = DefaultMinWordLength;
      context.english = IsEnglishRun(dictionaries_);
      context.compounds = IsCodeLanguage(mode);
    }
    documentWords_.SetContext(&context);
    bool warned = false;
    documentWords_.Find(
        document, filter.get(), projectWords_.For(file.name),
        [&](std::size_t lineNumber, std::string_view line) {
          if (!warned && !file.codec && !text::IsValidUtf8(line)) {
            notice_ = file.name + ":" + std::to_string(lineNumber) +
                      ": not valid UTF-8; such bytes separate words (see --encoding)";
            warned = true;
          }
        },
        [&](std::size_t lineNumber, std::string_view line, const CheckedWord& word) {
          Misspelling m;
          m.begin = static_cast<std::size_t>(word.text.data() - document.data());
          m.end = m.begin + word.text.size();
          m.line = lineNumber;
          m.lineBegin = static_cast<std::size_t>(line.data() - document.data());
          m.lineEnd = m.lineBegin + line.size();
          m.word = std::string(word.text);
          file.found.push_back(std::move(m));
        });
    file.replacement.assign(file.found.size(), std::nullopt);
  }

  // --- the screen ---

  void ShowLine(const FileState& file, std::size_t number, std::size_t begin, std::size_t end) {
    std::string line = file.Edited(begin, end, file.found.size(), nullptr);
    if (line.ends_with('\r')) line.pop_back();
    if (line.size() > 2 * ShownAround)
      line = line.substr(0, CharStart(line, 2 * ShownAround)) + "...";
    out_ << Gutter(number) << Printable(line) << "\n";
  }

  static std::string Gutter(std::size_t number) {
    std::string digits = std::to_string(number);
    if (digits.size() < 5) digits.insert(0, 5 - digits.size(), ' ');
    return digits + " | ";
  }

  void Show(const FileState& file, std::size_t i) {
    const Misspelling& m = file.found[i];
    suggestions_.clear();
    for (const std::string& s :
         speller_.Suggest(m.word, engine::Speller::Order::Ranked, MaxSuggestions)) {
      std::string cased = MatchCase(m.word, s);
      if (cased != m.word &&
          std::find(suggestions_.begin(), suggestions_.end(), cased) == suggestions_.end()) {
        suggestions_.push_back(std::move(cased));
      }
    }
    if (ansi_) out_ << ClearScreen << Bold;
    out_ << file.name << ":" << m.line << ": " << m.word;
    if (ansi_) out_ << Plain;
    out_ << "  (" << i + 1 << " of " << file.found.size() << ")\n";

    // The line before, the word's line with the word marked, the line after.
    const std::string& doc = file.document;
    if (m.lineBegin > 0) {
      const std::size_t end = m.lineBegin - 1;  // its line end
      const std::size_t before = end == 0 ? std::string::npos : doc.rfind('\n', end - 1);
      ShowLine(file, m.line - 1, before == std::string::npos ? 0 : before + 1, end);
    }
    std::pair<std::size_t, std::size_t> mark;
    std::string line = file.Edited(m.lineBegin, m.lineEnd, i, &mark);
    if (line.ends_with('\r')) line.pop_back();
    std::string before = line.substr(0, mark.first);
    const std::string word = line.substr(mark.first, mark.second - mark.first);
    std::string after = line.substr(mark.second);
    if (before.size() > ShownAround) {
      before = "..." + before.substr(CharStart(before, before.size() - ShownAround));
    }
    if (after.size() > ShownAround) after = after.substr(0, CharStart(after, ShownAround)) + "...";
    out_ << Gutter(m.line) << Printable(before);
    if (ansi_) out_ << Reverse;
    out_ << Printable(word);
    if (ansi_) out_ << Plain;
    out_ << Printable(after) << "\n";
    if (!ansi_) {
      out_ << std::string(Gutter(m.line).size() + CharCount(before), ' ')
           << std::string(std::max<std::size_t>(1, CharCount(word)), '^') << "\n";
    }
    if (m.lineEnd + 1 < doc.size()) {
      const std::size_t begin = m.lineEnd + 1;
      ShowLine(file, m.line + 1, begin, std::min(doc.find('\n', begin), doc.size()));
    }
    out_ << "\n";
    if (suggestions_.empty()) out_ << "   (no suggestions)\n";
    for (std::size_t n = 0; n < suggestions_.size(); ++n) {
      out_ << "   " << (n == 9 ? std::size_t{0} : n + 1) << " " << suggestions_[n] << "\n";
    }
    out_ << "\n";
    if (!notice_.empty()) {
      out_ << "   " << notice_ << "\n";
      notice_.clear();
    }
    out_ << "[1-9,0] replace  [r] type  [a] all  [space,i] ignore  [I] accept  [c] custom\n"
            "[p] project  [u] undo  [q] write+quit  [x] quit, not written  [?] help\n"
            "> ";
    out_.Flush();
  }

  // --- the answers ---

  enum class Step { Stay, Next, Undo, Write, Drop };

  Step Act(FileState& file, std::size_t i, int key) {
    const Misspelling& m = file.found[i];
    if (key >= '0' && key <= '9') return Replace(file, i, Suggestion(key), false);
    switch (key) {
      case 'r': {
        out_ << "Replace " << m.word << " with: ";
        return Replace(file, i, Typed(), false);
      }
      case 'a':
      case 'A':
      case 'R': {
        out_ << "Replace every " << m.word
             << " from here on with: a digit (a suggestion), r (type one), other keys cancel: ";
        const int next = ReadKey();
        if (next >= '0' && next <= '9') return Replace(file, i, Suggestion(next), true);
        if (next == 'r') {
          out_ << "Replace every " << m.word << " with: ";
          return Replace(file, i, Typed(), true);
        }
        notice_ = "not replaced";
        return Step::Stay;
      }
      case ' ':
      case 'i':
        file.answers.push_back({Kind::Ignore, i, {}, {}, m.word});
        return Step::Next;
      case 'I':
        file.answers.push_back({Kind::AcceptForRun, i, {}, {}, m.word});
        return Step::Next;
      case 'c': {
        if (!dictionaries_.set.custom) {
          notice_ = "no custom dictionary (--no-custom)";
          return Step::Stay;
        }
        const auto cp1252 = Cp1252Of(m.word);
        if (!cp1252 || cp1252->size() > store::MaxWordLength) {
          notice_ = m.word + " cannot be stored in a dictionary (code page 1252, 24 characters)";
          return Step::Stay;
        }
        file.answers.push_back({Kind::Custom, i, {}, {}, m.word});
        return Step::Next;
      }
      case 'p':
        if (!FitsWordList(m.word)) {
          notice_ = m.word + " cannot be a line of a word list";
          return Step::Stay;
        }
        file.answers.push_back({Kind::Project, i, {}, {}, m.word});
        return Step::Next;
      case 'u':
        return Step::Undo;
      case 'q':
      case KeyInput::End:
        return Step::Write;
      case 'x':
      case KeyInput::Interrupt:
        return Step::Drop;
      case '?':
        if (ansi_) out_ << ClearScreen;
        out_ << "\n" << FixKeysHelp() << "\nPress a key to go on: ";
        if (ReadKey() == KeyInput::End) return Step::Write;
        return Step::Stay;
      case KeyInput::Escape:
        return Step::Stay;
      default:
        notice_ = "no such key (? shows the keys)";
        return Step::Stay;
    }
  }

  // The next key, shown after the prompt as it was typed.
  int ReadKey() {
    out_.Flush();
    const int key = keys_->Key();
    if (key == KeyInput::End) {
      out_ << "(end of input)\n";
    } else if (key == ' ') {
      out_ << "space\n";
    } else if (key < 0x20 || key == 0x7F) {
      out_ << "^" << std::string(1, static_cast<char>(key ^ 0x40)) << "\n";
    } else if (key < 0x80) {
      out_ << std::string(1, static_cast<char>(key)) << "\n";
    } else {
      out_ << "\n";
    }
    out_.Flush();
    return key;
  }

  std::optional<std::string> Suggestion(int key) {
    const std::size_t n = key == '0' ? 9 : static_cast<std::size_t>(key - '1');
    if (n < suggestions_.size()) return suggestions_[n];
    notice_ = "no suggestion " + std::string(1, static_cast<char>(key));
    return std::nullopt;
  }

  std::optional<std::string> Typed() {
    out_.Flush();
    std::optional<std::string> line = keys_->Line();
    if (!keys_->IsTerminal()) out_ << (line ? *line : std::string()) << "\n";
    if (!line || line->empty()) {
      notice_ = "not replaced";
      return std::nullopt;
    }
    return std::string(codec_.ToUtf8(*line));
  }

  Step Replace(FileState& file, std::size_t i, const std::optional<std::string>& with, bool all) {
    if (!with) {
      if (notice_.empty()) notice_ = "not replaced";
      return Step::Stay;
    }
    if (with->find_first_of("\r\n") != std::string::npos) {
      notice_ = "a replacement is one line";
      return Step::Stay;
    }
    if (file.codec) {
      const std::string encoded(file.codec->FromUtf8(*with));
      if (file.codec->ToUtf8(encoded) != *with) {
        notice_ = *with + " cannot be written in " + file.encoding + "; not replaced";
        return Step::Stay;
      }
    }
    Answer answer;
    answer.kind = Kind::Replace;
    answer.at = i;
    const std::string& word = file.found[i].word;
    // All of them: the word's later places, also with a capital first or in
    // capitals throughout, each given the replacement in its own capitals.
    for (std::size_t j = i; j < file.found.size(); j = file.NextPending(j + 1)) {
      const std::string& other = file.found[j].word;
      if (j == i || Covers(word, other)) {
        answer.replaced.push_back(j);
        file.replacement[j] = other == word ? *with : MatchCase(other, *with);
      }
      if (!all) break;
    }
    file.answers.push_back(std::move(answer));
    return Step::Next;
  }

  // Takes the last answer back; answers the misspelling to ask about.
  std::size_t Undo(FileState& file, std::size_t i) {
    if (file.answers.empty()) {
      notice_ = "nothing to undo in this file";
      return i;
    }
    const Answer answer = std::move(file.answers.back());
    file.answers.pop_back();
    for (const std::size_t j : answer.replaced) file.replacement[j].reset();
    notice_ = "undone";
    return answer.at;
  }

  // --- the end of a file ---

  // Writes the file when something was replaced, then stores the words added
  // (also when the file could not be written: they are right all the same).
  void Finish(FileState& file) {
    if (!file.found.empty()) out_ << "\n";
    const bool written = Write(file);
    StoreWords(file);
    out_.Flush();
    if (!written) {
      throw ToolError(file.name +
                      ": changed on disk while it was being fixed; not written (what is on "
                      "disk stays; " +
                      std::to_string(file.ReplacedCount()) + " replacements not made)");
    }
  }

  // False when the file changed on disk since it was read.
  bool Write(const FileState& file) {
    const std::size_t replaced = file.ReplacedCount();
    if (replaced == 0) {
      out_ << file.name << ": nothing replaced, not written\n";
      return true;
    }
    const std::string edited = file.Edited(0, file.document.size(), file.found.size(), nullptr);
    std::string bytes = file.prefix;
    bytes += file.codec ? std::string(file.codec->FromUtf8(edited)) : edited;
    if (!store::ReplaceIfUnchanged(fs_, file.name, file.info, file.bytes, bytes)) return false;
    out_ << file.name << ": " << replaced << (replaced == 1 ? " word" : " words")
         << " replaced, written\n";
    return true;
  }

  void StoreWords(FileState& file) {
    std::vector<std::string> project;
    bool custom = false;
    for (const Answer& answer : file.answers) {
      switch (answer.kind) {
        case Kind::AcceptForRun:
          speller_.AcceptForSession(answer.word);
          break;
        case Kind::Custom:
          if (!custom) catalogue::PrepareCustomFolder(dictionaries_);
          custom = true;
          speller_.AddToCustom(answer.word);
          out_ << answer.word << ": added to " << *dictionaries_.set.custom << "\n";
          break;
        case Kind::Project:
          project.push_back(answer.word);
          break;
        case Kind::Replace:
        case Kind::Ignore:
          break;
      }
    }
    if (project.empty()) return;
    const auto list = ProjectListFor(file.name);
    AppendToWordList(list, project);
    projectWords_.Reload();
    for (const std::string& word : project) out_ << word << ": added to " << list.string() << "\n";
  }

  store::FileSystem& fs_;
  const catalogue::DictionaryOptions& options_;
  const FixOptions& fix_;
  catalogue::RunDictionaries dictionaries_;
  engine::Speller speller_;
  TextCodec codec_;
  Output out_;
  DocumentWords documentWords_;
  ProjectWords projectWords_;
  VocabularyCache vocabularies_;
  std::map<std::string, WordContext> contexts_;  // by mode
  std::unordered_set<std::string> identifiers_;  // of the file being fixed
  std::unique_ptr<KeyInput> keys_;
  bool ansi_ = false;
  bool failed_ = false;
  bool stopped_ = false;  // q or x
  std::vector<std::string> suggestions_;
  std::string notice_;  // shown once on the next screen
};

}  // namespace

int RunFix(store::FileSystem& fs, const catalogue::DictionaryOptions& options,
           const FixOptions& fix) {
  return Fixer(fs, options, fix).Run();
}

}  // namespace spellcheck::tool
