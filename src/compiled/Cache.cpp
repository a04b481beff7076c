#include "compiled/Cache.h"

#include <cstdio>

#include "store/RecordFile.h"
#include "store/TempFile.h"

namespace spellcheck::compiled {
namespace {

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::Records:
      return "words";
    case Kind::Hunspell:
      return "hunspell";
    case Kind::Ranked:
      return "ranked";
  }
  return "other";
}

// FNV-1a: names only need to differ, not to resist anyone.
std::uint64_t NameHash(std::string_view text) {
  std::uint64_t h = 0xcbf29ce484222325ull;
  for (unsigned char c : text) h = (h ^ c) * 0x100000001b3ull;
  return h;
}

// The folder part of a path ("" for a bare name).
std::string Parent(const std::string& path) {
  std::size_t end = path.size();
  while (end > 1 && path[end - 1] == '/') --end;
  const std::size_t slash = path.rfind('/', end - 1);
  return slash == std::string::npos || slash == 0 ? std::string() : path.substr(0, slash);
}

}  // namespace

std::string Cache::PathIn(const std::string& folder, Kind kind, std::string_view name) {
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(NameHash(name)));
  return folder + "/" + KindName(kind) + "-" + hex + ".compiled";
}

bool Cache::Usable() const {
  if (fs_ == nullptr || folder_.empty()) return false;
  bool isTrusted = false;
  if (fs_->IsTrustedFolder(folder_, isTrusted) == store::code::Ok) return isTrusted;
  // Made on first use, with the user's cache folder above it when that is
  // missing too.
  const std::string parent = Parent(folder_);
  if (!parent.empty()) (void)fs_->CreateFolder(parent);
  (void)fs_->CreateFolder(folder_);
  return fs_->IsTrustedFolder(folder_, isTrusted) == store::code::Ok && isTrusted;
}

std::shared_ptr<const Image> Cache::Find(Kind kind, std::string_view name, const Key& key,
                                         std::string* path) const {
  if (fs_ == nullptr) return nullptr;
  if (!folder_.empty()) {
    if (auto found = FindIn(folder_, kind, name, key)) {
      if (path != nullptr) *path = PathIn(folder_, kind, name);
      return found;
    }
  }
  for (const std::string& folder : shared_) {
    if (auto found = FindIn(folder, kind, name, key)) {
      if (path != nullptr) *path = PathIn(folder, kind, name);
      return found;
    }
  }
  return nullptr;
}

std::shared_ptr<const Image> Cache::FindIn(const std::string& folder, Kind kind,
                                           std::string_view name, const Key& key) const {
  std::unique_ptr<store::File> file;
  if (fs_->Open(PathIn(folder, kind, name), store::Access::Read, store::Disposition::OpenExisting,
                file) != store::code::Ok) {
    return nullptr;
  }
  // Only files in a folder that no one else can write are believed to be
  // ours or the administrator's.
  bool isTrusted = false;
  if (fs_->IsTrustedFolder(folder, isTrusted) != store::code::Ok || !isTrusted) return nullptr;
  std::unique_ptr<store::Mapping> mapping;
  if (file->Map(mapping) != store::code::Ok) return nullptr;
  // A section found damaged in use: the file goes, and the next run that
  // needs it makes it again (where the folder may be written).
  std::string path = PathIn(folder, kind, name);
  store::FileSystem* fs = fs_;
  return Image::Open(std::move(mapping), kind, key,
                     [fs, path = std::move(path)] { (void)fs->Delete(path); });
}

bool Cache::Store(Kind kind, std::string_view name, const Key& key,
                  const ImageWriter& writer) const {
  if (!Usable()) return false;
  const std::string path = PathOf(kind, name);
  const std::vector<unsigned char> bytes = writer.Finish(kind, key);
  store::TempFile temp(*fs_);
  if (temp.Create(path) != store::code::Ok) return false;
  if (store::WriteFully(*temp.File().Raw(), bytes.data(), bytes.size()) != store::code::Ok) {
    return false;
  }
  // Readable by all: a shared folder serves every user, and the user's own
  // folder keeps others out by itself.
  (void)temp.File().SetMode(0644);
  return temp.Replace(path) == store::code::Ok;
}

}  // namespace spellcheck::compiled
