#include "tree/TreeWalk.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "tree/IgnoreRules.h"

namespace spellcheck::tool {
namespace {

namespace fs = std::filesystem;

// The rules of one ignore file and the folder they are relative to.
struct IgnoreLayer {
  std::string folder;  // generic, normal, without a trailing '/'
  IgnoreRules rules;
};

// Reads an ignore file's rules; false when there is no readable file.
bool ReadIgnoreFile(const fs::path& file, IgnoreRules& rules) {
  std::error_code error;
  if (!fs::is_regular_file(file, error)) return false;
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  rules.AddText(text);
  return true;
}

std::string Joined(const std::string& shown, const std::string& name) {
  if (shown == ".") return name;
  if (shown.ends_with('/')) return shown + name;
#if defined(_WIN32)
  if (shown.ends_with('\\')) return shown + name;
#endif
  return shown + "/" + name;
}

class Walker {
 public:
  Walker(const WalkOptions& options, const std::function<void(WalkVisit&&)>& visit)
      : options_(options), visit_(visit) {}

  void Walk(const std::string& root) {
    const fs::path absolute = NormalPath(root);
    // The ignore files above the root, from the repository's root down.
    const fs::path repository = RepositoryRoot(absolute);
    if (!repository.empty()) {
      std::vector<fs::path> above;
      for (fs::path folder = absolute.parent_path();; folder = folder.parent_path()) {
        if (!PathBelow(repository, folder) && folder != repository) break;
        above.push_back(folder);
        if (folder == repository || folder == folder.parent_path()) break;
      }
      Push(repository, repository / ".git" / "info" / "exclude");
      for (auto folder = above.rbegin(); folder != above.rend(); ++folder) {
        Push(*folder, *folder / GitIgnoreFileName);
      }
    }
    const bool pushed = Push(absolute, absolute / GitIgnoreFileName);
    Folder(absolute, root);
    if (pushed) layers_.pop_back();
  }

 private:
  bool Push(const fs::path& folder, const fs::path& file) {
    IgnoreLayer layer{folder.generic_string(), {}};
    if (layer.folder.ends_with('/')) layer.folder.pop_back();
    if (!ReadIgnoreFile(file, layer.rules) || layer.rules.Empty()) return false;
    layers_.push_back(std::move(layer));
    return true;
  }

  // The deepest ignore file with a rule for the entry decides.
  bool Ignored(const fs::path& entry, bool isFolder) const {
    const std::string path = entry.generic_string();
    for (auto layer = layers_.rbegin(); layer != layers_.rend(); ++layer) {
      const std::size_t skip = layer->folder.size() + 1;
      if (path.size() <= skip) continue;
      const std::string_view relative = std::string_view(path).substr(skip);
      switch (layer->rules.Decide(relative, isFolder)) {
        case IgnoreRules::Verdict::Ignored:
          return true;
        case IgnoreRules::Verdict::Included:
          return false;
        case IgnoreRules::Verdict::None:
          break;
      }
    }
    return false;
  }

  void Folder(const fs::path& absolute, const std::string& shown) {
    struct Entry {
      std::string name;
      fs::directory_entry entry;
    };
    std::vector<Entry> entries;
    std::error_code error;
    fs::directory_iterator it(absolute, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
      entries.push_back({it->path().filename().string(), *it});
    }
    if (error) {
      visit_({WalkVisit::Kind::Error, shown, absolute,
              "cannot read the folder " + shown + ": " + error.message()});
      return;
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    for (const Entry& entry : entries) {
      if (entry.name.empty() || entry.name.front() == '.') continue;
      fs::file_status status = entry.entry.symlink_status(error);
      if (error) continue;
      const bool link = fs::is_symlink(status);
      if (link) {
        status = entry.entry.status(error);
        if (error) continue;  // a broken link
      }
      const bool isFolder = fs::is_directory(status);
      if (isFolder ? link : !fs::is_regular_file(status)) continue;
      const fs::path child = absolute / entry.name;
      if (Ignored(child, isFolder)) continue;
      if (options_.excluded && options_.excluded(absolute, child, isFolder)) continue;
      const std::string childShown = Joined(shown, entry.name);
      if (isFolder) {
        const bool pushed = Push(child, child / GitIgnoreFileName);
        Folder(child, childShown);
        if (pushed) layers_.pop_back();
        continue;
      }
      const std::uintmax_t size = fs::file_size(child, error);
      const bool tooLarge = !error && size > options_.maxSize;
      visit_({tooLarge ? WalkVisit::Kind::TooLarge : WalkVisit::Kind::File, childShown, child, {}});
    }
  }

  const WalkOptions& options_;
  const std::function<void(WalkVisit&&)>& visit_;
  std::vector<IgnoreLayer> layers_;
};

}  // namespace

fs::path NormalPath(const fs::path& path) {
  std::error_code error;
  fs::path absolute = fs::absolute(path, error);
  if (error) absolute = path;
  absolute = absolute.lexically_normal();
  if (absolute.has_relative_path() && absolute.filename().empty())
    absolute = absolute.parent_path();
  return absolute;
}

std::optional<std::string> PathBelow(const fs::path& folder, const fs::path& entry) {
  std::string base = folder.generic_string();
  const std::string path = entry.generic_string();
  if (!base.ends_with('/')) base += '/';
  if (path.size() <= base.size() || path.compare(0, base.size(), base) != 0) return std::nullopt;
  return path.substr(base.size());
}

fs::path RepositoryRoot(const fs::path& start) {
  std::error_code error;
  for (fs::path folder = start;; folder = folder.parent_path()) {
    if (fs::exists(folder / ".git", error)) return folder;
    if (folder == folder.parent_path() || folder.empty()) return {};
  }
}

void WalkTree(const std::string& root, const WalkOptions& options,
              const std::function<void(WalkVisit&&)>& visit) {
  Walker(options, visit).Walk(root);
}

}  // namespace spellcheck::tool
