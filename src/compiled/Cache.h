// The folder of compiled files. A compiled file is named after what it was
// made from (its kind and its sources' names), so that a source that changes
// replaces its old compiled form; its key says which state of the sources it
// belongs to. Every failure here (no folder, a folder someone else could
// write, a read-only or full disk, a damaged file) means only that the
// caller computes what it needs itself: never an error.
#ifndef SPELLCHECK_COMPILED_CACHE_H
#define SPELLCHECK_COMPILED_CACHE_H

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "compiled/Image.h"
#include "store/FileSystem.h"

namespace spellcheck::compiled {

class Cache {
 public:
  // No folder: nothing is read or written.
  Cache() = default;
  // `folder` is made (with its parent) when missing. `shared`: folders
  // looked in after it and never written, such as those filled when the
  // program was built or installed. A folder is used only while no one but
  // the user or the administrator may write into it
  // (FileSystem::IsTrustedFolder).
  Cache(store::FileSystem& fs, std::string folder, std::vector<std::string> shared = {})
      : fs_(&fs), folder_(std::move(folder)), shared_(std::move(shared)) {}

  bool Enabled() const { return fs_ != nullptr && (!folder_.empty() || !shared_.empty()); }
  const std::string& Folder() const { return folder_; }

  // The file of this kind for sources named `name` in `folder` (by default
  // the cache's own).
  std::string PathOf(Kind kind, std::string_view name) const { return PathIn(folder_, kind, name); }
  static std::string PathIn(const std::string& folder, Kind kind, std::string_view name);
  // The compiled file for `name` when it holds `key`, from the cache's own
  // folder or a shared one; null otherwise. `path` tells which file it was.
  // Its sections are checked at their first use; one that fails takes the
  // file away (from a folder that may be written).
  std::shared_ptr<const Image> Find(Kind kind, std::string_view name, const Key& key,
                                    std::string* path = nullptr) const;
  // Writes the compiled file in one step (readers see the old file or the new
  // one, whole); false when it cannot be written.
  bool Store(Kind kind, std::string_view name, const Key& key, const ImageWriter& writer) const;

  // What `view` makes of the compiled file for `name` when it holds `key`
  // and makes something (a file that does not was not written by us);
  // else `build` writes the sections anew, which are stored (when they can
  // be) and viewed in memory. `view` takes a null image to null.
  template <class View>
  auto Load(Kind kind, std::string_view name, const Key& key,
            const std::function<void(ImageWriter&)>& build, View view) const {
    if (auto found = view(Find(kind, name, key))) return found;
    // What the view refused is made anew (and replaces the file).
    return Make(kind, name, key, build, view);
  }
  // What `view` makes of the sections `build` writes, which are stored (when
  // they can be) whatever the cache holds.
  template <class View>
  auto Make(Kind kind, std::string_view name, const Key& key,
            const std::function<void(ImageWriter&)>& build, View view) const {
    ImageWriter writer;
    build(writer);
    (void)Store(kind, name, key, writer);
    return view(Image::InMemory(writer, kind, key));
  }

 private:
  bool Usable() const;
  std::shared_ptr<const Image> FindIn(const std::string& folder, Kind kind, std::string_view name,
                                      const Key& key) const;

  store::FileSystem* fs_ = nullptr;
  std::string folder_;
  std::vector<std::string> shared_;
};

}  // namespace spellcheck::compiled

#endif
