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

#include "compiled/Image.h"
#include "store/FileSystem.h"

namespace spellcheck::compiled {

class Cache {
 public:
  // No folder: nothing is read or written.
  Cache() = default;
  // `folder` is made (with its parent) when missing; it is used only while
  // it is private to the user (FileSystem::IsPrivateFolder).
  Cache(store::FileSystem& fs, std::string folder) : fs_(&fs), folder_(std::move(folder)) {}

  bool Enabled() const { return fs_ != nullptr && !folder_.empty(); }
  const std::string& Folder() const { return folder_; }

  // The file of this kind for sources named `name`.
  std::string PathOf(Kind kind, std::string_view name) const;
  // The compiled file for `name` when it holds `key`; null otherwise.
  std::shared_ptr<const Image> Find(Kind kind, std::string_view name, const Key& key) const;
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
    ImageWriter writer;
    build(writer);
    (void)Store(kind, name, key, writer);
    return view(Image::InMemory(writer, kind, key));
  }

 private:
  bool Usable() const;

  store::FileSystem* fs_ = nullptr;
  std::string folder_;
};

}  // namespace spellcheck::compiled

#endif
