// Glob patterns as .gitignore files write them, shared by the .gitignore
// reader and the config file's `exclude` and `[modes]`:
//   *        any run of characters but '/'
//   ?        one character but '/'
//   [a-z]    one character of a set ([!a-z] or [^a-z]: not of it; never '/')
//   **       as a whole part of a path: any number of folders ("**/x",
//            "a/**/b"), or at the end everything below ("a/**")
//   \c       the character c itself
//   /x       a leading '/' anchors the pattern at its base folder, and so
//            does a '/' inside it ("docs/*.md"); a pattern without one
//            ("*.md") matches the last part of a path, at any depth
//   x/       a trailing '/' matches folders only
// Paths are relative to the pattern's base folder, parts separated by '/'.
#ifndef SPELLCHECK_TOOL_TREE_GLOB_H
#define SPELLCHECK_TOOL_TREE_GLOB_H

#include <string>
#include <string_view>

namespace spellcheck::tool {

class Glob {
 public:
  explicit Glob(std::string_view pattern);

  // `path`: relative to the base folder ("docs/a.md"); `isFolder`: it names
  // a folder (a pattern with a trailing '/' matches only those).
  bool Matches(std::string_view path, bool isFolder = false) const;

  // Whether the pattern is tied to its base folder (it held a '/' before
  // its end) rather than matching names at any depth.
  bool Anchored() const { return anchored_; }
  const std::string& Pattern() const { return written_; }

 private:
  std::string written_;  // as given
  std::string pattern_;  // without the leading and trailing '/'
  bool anchored_ = false;
  bool foldersOnly_ = false;
};

// The whole of `text` matches the pattern `pattern` (no anchoring rules:
// '*' and '?' stop at '/', "**" parts cross folders).
bool GlobMatch(std::string_view pattern, std::string_view text);

}  // namespace spellcheck::tool

#endif
