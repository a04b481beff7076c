#include "filters/Definitions.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace spellcheck::tool {
namespace {

template <std::size_t N>
bool OneOf(std::string_view word, const std::array<std::string_view, N>& words) {
  return std::find(words.begin(), words.end(), word) != words.end();
}

constexpr std::array<std::string_view, 2> PythonKeywords{"def", "class"};
constexpr std::array<std::string_view, 4> GoKeywords{"func", "type", "var", "const"};
constexpr std::array<std::string_view, 8> JsKeywords{"function", "class",     "const", "let",
                                                     "var",      "interface", "type",  "enum"};
constexpr std::array<std::string_view, 10> RustKeywords{
    "fn", "struct", "enum", "trait", "let", "const", "static", "type", "mod", "union"};
constexpr std::array<std::string_view, 6> CKeywords{"struct", "class",     "enum",
                                                    "union",  "namespace", "interface"};
// Words that stand before a name in an expression or a statement, not a type.
constexpr std::array<std::string_view, 22> CNotTypes{
    "return",   "else",    "case",   "goto",    "new",       "delete", "throw",    "sizeof",
    "if",       "while",   "for",    "switch",  "do",        "using",  "operator", "co_return",
    "co_yield", "typedef", "public", "private", "protected", "define"};

// The first characters of code after `end`, blanks skipped.
std::string_view Next(std::string_view document, std::size_t end) {
  while (end < document.size() && (document[end] == ' ' || document[end] == '\t')) ++end;
  return document.substr(end, 2);
}

}  // namespace

DefinitionFinder::DefinitionFinder(std::string_view language) {
  if (language == "python") language_ = Language::Python;
  if (language == "go") language_ = Language::Go;
  if (language == "js") language_ = Language::Js;
  if (language == "rust") language_ = Language::Rust;
  if (language == "c" || language == "java") language_ = Language::C;
  if (language == "shell") language_ = Language::Shell;
}

void DefinitionFinder::Push(Token token) {
  before_ = std::move(previous_);
  previous_ = std::move(token);
  lineStart_ = false;
}

bool DefinitionFinder::Decide(std::string_view document, std::size_t end,
                              std::string_view name) const {
  const std::string_view prev = previous_.text;
  const std::string_view next = Next(document, end);
  const bool assigns = !next.empty() && next[0] == '=' && next != "==";
  switch (language_) {
    case Language::Python:
      return (previous_.identifier && OneOf(prev, PythonKeywords)) || (lineStart_ && assigns);
    case Language::Go:
      return (previous_.identifier && OneOf(prev, GoKeywords)) || afterReceiver_ || next == ":=" ||
             (lineStart_ && depth_ == groupDepth_);
    case Language::Js:
      return previous_.identifier && OneOf(prev, JsKeywords);
    case Language::Rust:
      return previous_.identifier && name != "mut" &&
             (OneOf(prev, RustKeywords) || (prev == "mut" && before_.text == "let"));
    case Language::C: {
      if (previous_.identifier && OneOf(prev, CKeywords)) return true;
      if (prev == "define" && before_.text == "#") return true;
      if (next.empty() || std::string_view("(=;[,)").find(next[0]) == std::string_view::npos ||
          next == "==") {
        return false;
      }
      if (previous_.identifier) return !OneOf(prev, CNotTypes) && !OneOf(name, CNotTypes);
      // int *name = ..., f(char *name), Type &name; but not (a & b).
      return (prev == "*" || prev == "&") && before_.identifier &&
             !OneOf(before_.text, CNotTypes) && (next[0] != ')' || prev == "*");
    }
    case Language::Shell:
      return (previous_.identifier && prev == "function") || (lineStart_ && next == "()") ||
             (lineStart_ && end < document.size() && document[end] == '=');
    case Language::None:
      break;
  }
  return false;
}

DefinitionFinder::Name DefinitionFinder::Identifier(std::string_view document, std::size_t begin,
                                                    std::size_t end) {
  const std::string_view name = document.substr(begin, end - begin);
  const bool definition = language_ != Language::None && Decide(document, end, name);
  afterReceiver_ = false;
  Push({std::string(name), true});
  if (!definition) return Name::Used;
  // C's declarators inside parentheses are parameters: their terse names
  // (pday, outl) would be most of what a header's check finds.
  return language_ == Language::C && depth_ > 0 ? Name::Parameter : Name::Defined;
}

void DefinitionFinder::Punctuation(char c) {
  if (c == '(') {
    // Go: `func (` opens a receiver, `var (` a group of definitions.
    if (language_ == Language::Go && previous_.identifier) {
      if (previous_.text == "func") receiverDepth_ = depth_;
      if (previous_.text == "var" || previous_.text == "const" || previous_.text == "type")
        groupDepth_ = depth_ + 1;
    }
    ++depth_;
  } else if (c == ')') {
    depth_ = std::max(0, depth_ - 1);
    if (depth_ == receiverDepth_) {
      receiverDepth_ = -1;
      Push({")", false});
      afterReceiver_ = true;
      return;
    }
    if (depth_ + 1 == groupDepth_) groupDepth_ = -1;
  }
  afterReceiver_ = false;
  Push({std::string(1, c), false});
}

}  // namespace spellcheck::tool
