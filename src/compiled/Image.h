// Compiled dictionaries: what the engine computes from a dictionary at start
// (hash tables, indexes) written once into one file and mapped into memory by
// every later run. A file holds numbered sections of plain arrays behind a
// header that says what it is (kind, format version, byte order), a key
// naming the sources it was made from as they were, and a checksum of each
// section. Nothing in it is trusted before it is checked: the header, the
// table and the key when the file is opened, each section at its first use
// (so that a run reads only the sections it needs); the loaders of the
// sections then check every offset they follow.
#ifndef SPELLCHECK_COMPILED_IMAGE_H
#define SPELLCHECK_COMPILED_IMAGE_H

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "store/FileSystem.h"

namespace spellcheck::compiled {

// What a compiled file holds; a file of one kind is never read as another.
enum class Kind : std::uint32_t {
  Records = 1,   // a word list's records and their hash table
  Hunspell = 2,  // a Hunspell dictionary's stems and their indexes
  Ranked = 3,    // the ranked-suggestion index of a word list
};

// The bytes of a key: the sources' names and identities and every setting
// the compiled form depends on, in a fixed order.
class Key {
 public:
  Key& Add(std::string_view text);
  Key& Add(std::uint64_t number);
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// Collects the sections of a file to be written.
class ImageWriter {
 public:
  template <class T>
  void Add(std::span<const T> items) {
    static_assert(std::is_trivially_copyable_v<T>);
    AddBytes(items.data(), items.size_bytes());
  }
  template <class T>
  void Add(const std::vector<T>& items) {
    Add(std::span<const T>(items));
  }
  void Add(std::string_view bytes) { AddBytes(bytes.data(), bytes.size()); }

  // The whole file.
  std::vector<unsigned char> Finish(Kind kind, const Key& key) const;

 private:
  void AddBytes(const void* data, std::size_t size);
  std::vector<std::string> sections_;
};

// A compiled file checked and mapped; shared by everything that views it.
class Image {
 public:
  // The file's image when its header, table of sections and key are whole
  // and of this kind, version, byte order and key; null otherwise.
  // `onDamage` is called once when a section turns out damaged.
  static std::shared_ptr<const Image> Open(std::unique_ptr<store::Mapping> mapping, Kind kind,
                                           const Key& key, std::function<void()> onDamage = {});
  // The image of a file made in memory and not stored.
  static std::shared_ptr<const Image> InMemory(const ImageWriter& writer, Kind kind,
                                               const Key& key);

  std::size_t Sections() const { return sections_.size(); }
  // Section `index` as an array of T; false when there is no such section,
  // its checksum fails or its size is no whole number of T.
  template <class T>
  bool Get(std::size_t index, std::span<const T>& items) const {
    static_assert(std::is_trivially_copyable_v<T>);
    if (!Verified(index) || sections_[index].size() % sizeof(T) != 0) return false;
    items = {reinterpret_cast<const T*>(sections_[index].data()),
             sections_[index].size() / sizeof(T)};
    return true;
  }
  // A section's bytes; empty when it fails its checksum.
  std::string_view Bytes(std::size_t index) const {
    return Verified(index) ? sections_[index] : std::string_view();
  }
  // Whether every section passes its checksum.
  bool VerifyAll() const;
  std::size_t Size() const { return mapping_->Size(); }

 private:
  explicit Image(std::unique_ptr<store::Mapping> mapping) : mapping_(std::move(mapping)) {}
  bool Verified(std::size_t index) const;

  std::unique_ptr<store::Mapping> mapping_;
  std::vector<std::string_view> sections_;
  std::vector<std::uint64_t> checksums_;
  // Per section: 0 not checked yet, 1 good, 2 damaged. Threads that check a
  // section at once come to the same answer.
  std::unique_ptr<std::atomic<std::uint8_t>[]> states_;
  std::function<void()> onDamage_;
  mutable std::atomic<bool> damageReported_{false};
};

// A fast checksum of bytes (not cryptographic: it finds damage, not forgery;
// the loaders' bounds checks hold against crafted files).
std::uint64_t Checksum(const unsigned char* data, std::size_t size);

// What changes with every change of the format; files of other versions are
// made anew.
inline constexpr std::uint32_t FormatVersion = 2;

}  // namespace spellcheck::compiled

#endif
