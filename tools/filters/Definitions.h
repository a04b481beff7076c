// Which identifiers of source code are the names that definitions give
// (functions, classes, types, variables, constants), by each language's
// lexical rules: the keyword before the name (def, func, fn, class, let, ...),
// and for C, C++ and Java a declarator's shape (`type name(`, `type name =`).
// No parser: a rule that misses leaves a name unchecked, one that errs checks
// a name where it is used rather than defined.
#ifndef SPELLCHECK_TOOL_FILTERS_DEFINITIONS_H
#define SPELLCHECK_TOOL_FILTERS_DEFINITIONS_H

#include <cstddef>
#include <string>
#include <string_view>

namespace spellcheck::tool {

class DefinitionFinder {
 public:
  // `language`: a code mode (python, go, js, rust, c, java, shell); others
  // define nothing.
  explicit DefinitionFinder(std::string_view language);

  enum class Name {
    Used,       // no definition
    Defined,    // a definition's name: checked there
    Parameter,  // a parameter's: a word of the run, not checked
  };
  // The tokens of code outside comments and strings, in order. Answers
  // what the identifier document[begin, end) is.
  Name Identifier(std::string_view document, std::size_t begin, std::size_t end);
  void Punctuation(char c);
  void LineEnd() { lineStart_ = true; }

 private:
  enum class Language { None, Python, Go, Js, Rust, C, Shell };
  struct Token {
    std::string text;  // an identifier, or one punctuation character
    bool identifier = false;
  };
  void Push(Token token);
  bool Decide(std::string_view document, std::size_t end, std::string_view name) const;

  Language language_ = Language::None;
  Token previous_;  // the token before
  Token before_;    // the one before that
  bool lineStart_ = true;
  // Go: after `func (` the receiver, then the name; `var (` ... groups.
  int depth_ = 0;
  int receiverDepth_ = -1;
  bool afterReceiver_ = false;
  int groupDepth_ = -1;
};

}  // namespace spellcheck::tool

#endif
