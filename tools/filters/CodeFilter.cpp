// Source code: only comments and string literals are checked, each
// language's own (// and /* */, #, triple quotes, raw strings); identifiers,
// keywords and numbers are not. Escapes in strings (\n, \x41, \u00e9) are
// cut out, so they glue no letters to words. Words there are checked part by
// part (parseHttpRequest: parse, Http, Request). The names that definitions
// give are regions of their own (see Definitions.h).
#include <algorithm>
#include <cctype>
#include <string>

#include "filters/Definitions.h"
#include "filters/Filter.h"

namespace spellcheck::tool {
namespace {

struct Syntax {
  bool slashComments = false;  // // and /* */
  bool hashComments = false;   // # to the end of the line
  bool tripleQuotes = false;   // """ and ''' (Python, TOML); """ (Java)
  bool singleQuoteStrings = false;
  bool backquoteStrings = false;  // JavaScript templates, Go raw strings
  bool escapes = true;            // a backslash escapes in "..." strings
  bool rawStrings = false;        // C++ R"x(...)x", Rust r#"..."#
  bool bracketComments = false;   // CMake #[[ ... ]]
  bool hashNeedsBlank = false;    // '#' starts a comment only after a blank (shell, YAML)
  bool preprocessor = false;      // #include <x> and "x.h" name files
};

bool MakeSyntax(std::string_view language, Syntax& syntax) {
  if (language == "c") {
    syntax.slashComments = syntax.rawStrings = syntax.preprocessor = true;
  } else if (language == "java") {
    syntax.slashComments = syntax.tripleQuotes = true;
  } else if (language == "js") {
    syntax.slashComments = syntax.singleQuoteStrings = syntax.backquoteStrings = true;
  } else if (language == "go") {
    syntax.slashComments = syntax.backquoteStrings = true;
  } else if (language == "rust") {
    syntax.slashComments = syntax.rawStrings = true;
  } else if (language == "python" || language == "toml") {
    syntax.hashComments = syntax.tripleQuotes = syntax.singleQuoteStrings = true;
  } else if (language == "shell" || language == "yaml") {
    syntax.hashComments = syntax.singleQuoteStrings = syntax.hashNeedsBlank = true;
  } else if (language == "cmake") {
    syntax.hashComments = syntax.bracketComments = true;
  } else {
    return false;
  }
  return true;
}

class CodeFilter : public Filter {
 public:
  CodeFilter(Syntax syntax, std::string_view language) : syntax_(syntax), language_(language) {}

  bool SplitsCompounds() const override { return true; }
  void FindDefinitions(bool find) override { findDefinitions_ = find; }

  void Regions(std::string_view document, std::vector<Region>& regions) override {
    RegionBuilder builder(document, regions);
    DefinitionFinder definitions(findDefinitions_ ? language_ : std::string_view());
    const std::size_t size = document.size();
    const auto at = [&](std::size_t pos, std::string_view text) {
      return document.compare(pos, text.size(), text) == 0;
    };
    const auto until = [&](std::size_t from, std::string_view end) {
      const std::size_t found = document.find(end, from);
      return found == std::string_view::npos ? size : found;
    };
    std::size_t pos = 0;
    while (pos < size) {
      const char c = document[pos];
      if (syntax_.preprocessor && c == '#' && LineStart(document, pos) &&
          (at(pos + 1, "include") || at(pos + 1, "import"))) {
        pos = until(pos, "\n");
        continue;
      }
      if (syntax_.slashComments && at(pos, "//")) {
        const std::size_t end = until(pos, "\n");
        builder.Add(pos + 2, end);
        pos = end;
        continue;
      }
      if (syntax_.slashComments && at(pos, "/*")) {
        const std::size_t end = until(pos + 2, "*/");
        builder.Add(pos + 2, end);
        pos = std::min(size, end + 2);
        continue;
      }
      if (syntax_.bracketComments && at(pos, "#[[")) {
        const std::size_t end = until(pos + 3, "]]");
        builder.Add(pos + 3, end);
        pos = std::min(size, end + 2);
        continue;
      }
      if (syntax_.hashComments && c == '#' &&
          (!syntax_.hashNeedsBlank || pos == 0 ||
           std::isspace(static_cast<unsigned char>(document[pos - 1])))) {
        const std::size_t end = until(pos, "\n");
        builder.Add(pos + 1, end);
        pos = end;
        continue;
      }
      if (syntax_.tripleQuotes && (at(pos, "\"\"\"") || at(pos, "'''"))) {
        const std::string_view quote = document.substr(pos, 3);
        const std::size_t end = until(pos + 3, quote);
        String(document, pos + 3, end, builder, syntax_.escapes);
        pos = std::min(size, end + 3);
        continue;
      }
      if (syntax_.rawStrings && RawString(document, pos, builder)) continue;
      if (c == '\'' && !syntax_.singleQuoteStrings) {
        pos = PastCharacter(document, pos);
        continue;
      }
      if (c == '"' || (c == '\'' && syntax_.singleQuoteStrings) ||
          (c == '`' && syntax_.backquoteStrings)) {
        // Shell's '...' and Go's `...` know no escapes.
        const bool escapes = syntax_.escapes && c != '`' && !(c == '\'' && syntax_.hashNeedsBlank);
        std::size_t end = pos + 1;
        while (end < size && document[end] != c) {
          if (document[end] == '\\' && escapes) ++end;
          // An unclosed quote ends with its line (not in templates).
          if (end < size && document[end] == '\n' && c != '`' && !syntax_.hashNeedsBlank) break;
          ++end;
        }
        end = std::min(end, size);
        // A one-word string is a key, a name or a format more often than
        // prose ('utf-8', "xpixmap", 'rb'): only strings with a blank are.
        if (HasBlank(document, pos + 1, end)) String(document, pos + 1, end, builder, escapes);
        pos = std::min(size, end + 1);
        continue;
      }
      if (IdentifierStart(document, pos)) {
        std::size_t end = pos + 1;
        while (end < size && IdentifierByte(document[end])) ++end;
        const DefinitionFinder::Name name = definitions.Identifier(document, pos, end);
        if (name != DefinitionFinder::Name::Used) {
          AddName(document, pos, end, name == DefinitionFinder::Name::Defined, builder);
        }
        pos = end;
        continue;
      }
      if (c == '\n') {
        definitions.LineEnd();
      } else if (!std::isspace(static_cast<unsigned char>(c))) {
        definitions.Punctuation(c);
      }
      ++pos;
    }
  }

 private:
  // C++ R"delimiter( ... )delimiter" and Rust r"..." r#"..."#.
  bool RawString(std::string_view document, std::size_t& pos, RegionBuilder& builder) const {
    if (document[pos] != 'R' && document[pos] != 'r') return false;
    if (pos > 0 &&
        (std::isalnum(static_cast<unsigned char>(document[pos - 1])) || document[pos - 1] == '_')) {
      return false;
    }
    std::size_t p = pos + 1;
    if (document[pos] == 'R') {
      if (p >= document.size() || document[p] != '"') return false;
      const std::size_t open = document.find('(', p + 1);
      if (open == std::string_view::npos || open - p > 17) return false;
      const std::string close = ")" + std::string(document.substr(p + 1, open - p - 1)) + "\"";
      std::size_t end = document.find(close, open + 1);
      if (end == std::string_view::npos) end = document.size();
      builder.Add(open + 1, end);
      pos = std::min(document.size(), end + close.size());
      return true;
    }
    std::size_t hashes = 0;
    while (p < document.size() && document[p] == '#') ++p, ++hashes;
    if (p >= document.size() || document[p] != '"') return false;
    const std::string close = "\"" + std::string(hashes, '#');
    std::size_t end = document.find(close, p + 1);
    if (end == std::string_view::npos) end = document.size();
    builder.Add(p + 1, end);
    pos = std::min(document.size(), end + close.size());
    return true;
  }

  // A definition's name, cut at its digits (url2pathname: url, pathname),
  // which would otherwise make it no word at all.
  static void AddName(std::string_view document, std::size_t begin, std::size_t end, bool checked,
                      RegionBuilder& builder) {
    std::size_t piece = begin;
    for (std::size_t pos = begin; pos <= end; ++pos) {
      if (pos == end || std::isdigit(static_cast<unsigned char>(document[pos]))) {
        if (pos > piece) builder.AddDefinition(piece, pos, checked);
        piece = pos + 1;
      }
    }
  }

  static bool HasBlank(std::string_view document, std::size_t begin, std::size_t end) {
    for (std::size_t pos = begin; pos < end; ++pos) {
      const char c = document[pos];
      if (c == ' ' || c == '\t' || c == '\n') return true;
      // "Hello\nWorld": an escaped blank.
      if (c == '\\' && pos + 1 < end) {
        const char next = document[++pos];
        if (next == 'n' || next == 't' || next == 'r') return true;
      }
    }
    return false;
  }

  static bool IdentifierByte(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
  }
  // A name, not the rest of a number (0x1f, 1e5) or of a name.
  static bool IdentifierStart(std::string_view document, std::size_t pos) {
    const char c = document[pos];
    if (!std::isalpha(static_cast<unsigned char>(c)) && c != '_') return false;
    return pos == 0 || !IdentifierByte(document[pos - 1]);
  }

  static bool LineStart(std::string_view document, std::size_t pos) {
    while (pos > 0 && (document[pos - 1] == ' ' || document[pos - 1] == '\t')) --pos;
    return pos == 0 || document[pos - 1] == '\n';
  }

  // From a quote that is no string's: past the character literal there
  // ('a', '\n', '"'), or past the quote alone (a Rust lifetime).
  static std::size_t PastCharacter(std::string_view document, std::size_t pos) {
    const std::size_t size = document.size();
    std::size_t p = pos + 1;
    if (p < size && document[p] == '\\') {
      for (std::size_t q = p + 2; q < size && q < p + 12 && document[q] != '\n'; ++q) {
        if (document[q] == '\'') return q + 1;
      }
      return pos + 1;
    }
    if (p >= size) return size;
    const auto lead = static_cast<unsigned char>(document[p]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (p + length < size && document[p + length] == '\'') return p + length + 1;
    return pos + 1;
  }

  // A string's text, its escapes cut out.
  static void String(std::string_view document, std::size_t begin, std::size_t end,
                     RegionBuilder& builder, bool escapes) {
    std::size_t text = begin;
    std::size_t pos = begin;
    while (escapes && pos < end) {
      if (document[pos] != '\\') {
        ++pos;
        continue;
      }
      builder.Add(text, pos);
      pos += 2;
      const char kind = pos - 1 < end ? document[pos - 1] : '\0';
      if (kind == 'x' || kind == 'u' || kind == 'U') {
        if (pos < end && document[pos] == '{') ++pos;
        while (pos < end &&
               (std::isxdigit(static_cast<unsigned char>(document[pos])) || document[pos] == '}')) {
          ++pos;
        }
      }
      pos = std::min(pos, end);
      text = pos;
    }
    builder.Add(text, end);
  }

  Syntax syntax_;
  std::string language_;
  bool findDefinitions_ = true;
};

}  // namespace

bool IsCodeLanguage(std::string_view language) {
  Syntax syntax;
  return MakeSyntax(language, syntax);
}

std::unique_ptr<Filter> MakeCodeFilter(std::string_view language) {
  Syntax syntax;
  if (!MakeSyntax(language, syntax)) return nullptr;
  return std::make_unique<CodeFilter>(syntax, language);
}

}  // namespace spellcheck::tool
