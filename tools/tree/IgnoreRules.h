// Rules of what a tree walk leaves out, in the syntax of .gitignore files:
// one pattern a line (see Glob.h), blank lines and lines starting with '#'
// skipped ("\#" for a pattern that starts with one), trailing spaces dropped
// (unless escaped: "\ "), '!' re-including what an earlier rule left out
// ("\!" for a pattern that starts with one). The last rule that matches a
// path decides. The config file's `exclude` patterns are read the same way.
#ifndef SPELLCHECK_TOOL_TREE_IGNORERULES_H
#define SPELLCHECK_TOOL_TREE_IGNORERULES_H

#include <string>
#include <string_view>
#include <vector>

#include "tree/Glob.h"

namespace spellcheck::tool {

class IgnoreRules {
 public:
  enum class Verdict { None, Ignored, Included };

  // Adds the rules of a .gitignore file's text.
  void AddText(std::string_view text);
  // Adds one line of such a file.
  void AddLine(std::string_view line);
  // Adds one pattern (a leading '!' re-includes; no comments, no trimming).
  void AddPattern(std::string_view pattern);

  // What the last rule matching `path` says. `path` is relative to the
  // rules' folder; `below`: false when the path is not below that folder at
  // all (`path` is then the name alone, and only the rules without a folder
  // part, such as "*.log", can match it).
  Verdict Decide(std::string_view path, bool isFolder, bool below = true) const;
  // Decide() says Ignored.
  bool Ignores(std::string_view path, bool isFolder, bool below = true) const {
    return Decide(path, isFolder, below) == Verdict::Ignored;
  }

  bool Empty() const { return rules_.empty(); }

 private:
  struct Rule {
    Glob glob;
    bool negated;
  };
  std::vector<Rule> rules_;
};

}  // namespace spellcheck::tool

#endif
