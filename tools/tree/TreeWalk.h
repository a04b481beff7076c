// Walking folders for list: every file below a folder, in a stable order
// (by name within each folder, a folder's files where its name sorts),
// leaving out hidden entries (a name starting with '.'), what .gitignore
// files ignore, what the caller excludes, and whatever is neither a file nor
// a folder. Linked folders are not entered (no cycles); linked files are
// files.
#ifndef SPELLCHECK_TOOL_TREE_TREEWALK_H
#define SPELLCHECK_TOOL_TREE_TREEWALK_H

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace spellcheck::tool {

inline constexpr std::string_view GitIgnoreFileName = ".gitignore";

// A path made absolute and lexically normal, without a trailing separator.
std::filesystem::path NormalPath(const std::filesystem::path& path);

// `entry` relative to `folder` ('/' between parts), both normal; nothing
// when it is not below it.
std::optional<std::string> PathBelow(const std::filesystem::path& folder,
                                     const std::filesystem::path& entry);

// The nearest folder holding .git, from `folder` up; empty when none does.
std::filesystem::path RepositoryRoot(const std::filesystem::path& folder);

struct WalkVisit {
  enum class Kind {
    File,      // a file to check
    TooLarge,  // a file over the size limit, not checked
    Error,     // a folder that could not be read
  };
  Kind kind = Kind::File;
  // The root as given joined with the part below it ("docs/a.md"; below
  // ".": "a.md"): the name the file is opened by and shown with.
  std::string path;
  std::filesystem::path absolute;  // normal
  std::string message;             // for an error
};

struct WalkOptions {
  std::uintmax_t maxSize = std::uintmax_t(16) << 20;
  // Whether an entry of `folder` (its absolute, normal path) is left out,
  // besides what .gitignore files say. May be empty.
  std::function<bool(const std::filesystem::path& folder, const std::filesystem::path& entry,
                     bool isFolder)>
      excluded;
};

// Walks the folder `root`. The .gitignore files that apply are those of the
// walked folders and of the folders above `root` up to its repository's root
// (with the repository's .git/info/exclude); a deeper one overrides those
// above it, each for the entries below its own folder.
void WalkTree(const std::string& root, const WalkOptions& options,
              const std::function<void(WalkVisit&&)>& visit);

}  // namespace spellcheck::tool

#endif
