// Compiled dictionaries: what the engine computes from a dictionary at start
// (hash tables, indexes) written once into one file and mapped into memory by
// every later run. A file holds numbered sections of plain arrays behind a
// header that says what it is (kind, format version, byte order), a key
// naming the sources it was made from as they were, and a checksum of each
// 4 KB block of each section. Nothing in it is trusted before it is checked:
// the header, the table, the key and the checksums when the file is opened,
// a section at its first use, or, for the large tables a run reads only a
// few entries of, each block at its first use (so that a run reads only what
// it needs); the loaders of the sections then check every offset they
// follow.
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

class Image;

// A section read entry by entry, each block checked at its first use: for
// tables of which a run reads a few scattered entries. An entry of a block
// that fails its checksum reads as T{} and marks the image damaged
// (Image::Damaged), so that its reader can make what it needs anew.
template <class T>
class Array {
 public:
  Array() = default;
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::size_t size_bytes() const { return size_ * sizeof(T); }
  // Entry `k`, below size().
  T operator[](std::size_t k) const;
  T back() const { return (*this)[size_ - 1]; }
  // Entries [begin, begin + count), within size(); empty when a block of
  // them fails its checksum.
  std::span<const T> Range(std::size_t begin, std::size_t count) const;

 private:
  friend class Image;
  const T* data_ = nullptr;
  std::size_t size_ = 0;
  const Image* image_ = nullptr;
  std::size_t section_ = 0;
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
    if (!Verified(index) || sections_[index].bytes.size() % sizeof(T) != 0) return false;
    items = {reinterpret_cast<const T*>(sections_[index].bytes.data()),
             sections_[index].bytes.size() / sizeof(T)};
    return true;
  }
  // Section `index` as an Array of T, its blocks checked as they are read;
  // false when there is no such section or its size is no whole number of T.
  template <class T>
  bool Get(std::size_t index, Array<T>& items) const {
    static_assert(std::is_trivially_copyable_v<T>);
    if (index >= sections_.size() || sections_[index].bytes.size() % sizeof(T) != 0) return false;
    items.data_ = reinterpret_cast<const T*>(sections_[index].bytes.data());
    items.size_ = sections_[index].bytes.size() / sizeof(T);
    items.image_ = this;
    items.section_ = index;
    return true;
  }
  // A section's bytes; empty when it fails its checksum.
  std::string_view Bytes(std::size_t index) const {
    return Verified(index) ? sections_[index].bytes : std::string_view();
  }
  // A section's bytes, not checked: for what is read only through an Array
  // of the same section, or only as a hint (a prefetch); empty when there is
  // no such section.
  std::string_view Unchecked(std::size_t index) const {
    return index < sections_.size() ? sections_[index].bytes : std::string_view();
  }
  // Whether every section passes its checksum.
  bool VerifyAll() const;
  // Whether a block was found damaged (and `onDamage` called).
  bool Damaged() const { return damaged_.load(std::memory_order_acquire); }
  std::size_t Size() const { return mapping_->Size(); }

  static constexpr std::size_t BlockSize = 4096;

 private:
  template <class T>
  friend class Array;
  struct Section {
    std::string_view bytes;
    std::size_t firstBlock;  // the index of its first block among the file's
  };
  explicit Image(std::unique_ptr<store::Mapping> mapping) : mapping_(std::move(mapping)) {}
  bool Verified(std::size_t index) const;
  // Whether the blocks of bytes [begin, begin + size) of section `index`
  // pass their checksums.
  bool Verified(std::size_t index, std::size_t begin, std::size_t size) const;
  bool BlockVerified(const Section& section, std::size_t block) const;

  std::unique_ptr<store::Mapping> mapping_;
  std::vector<Section> sections_;
  const unsigned char* checksums_ = nullptr;  // of the blocks, in the file
  // Per section and per block: 0 not checked yet, 1 good, 2 damaged.
  // Threads that check one at once come to the same answer.
  std::unique_ptr<std::atomic<std::uint8_t>[]> sectionStates_;
  std::unique_ptr<std::atomic<std::uint8_t>[]> blockStates_;
  std::function<void()> onDamage_;
  mutable std::atomic<bool> damaged_{false};
};

template <class T>
T Array<T>::operator[](std::size_t k) const {
  if (!image_->Verified(section_, k * sizeof(T), sizeof(T))) return T{};
  return data_[k];
}

template <class T>
std::span<const T> Array<T>::Range(std::size_t begin, std::size_t count) const {
  if (count == 0 || !image_->Verified(section_, begin * sizeof(T), count * sizeof(T))) return {};
  return {data_ + begin, count};
}

// A fast checksum of bytes (not cryptographic: it finds damage, not forgery;
// the loaders' bounds checks hold against crafted files).
std::uint64_t Checksum(const unsigned char* data, std::size_t size);

// What changes with every change of the format; files of other versions are
// made anew.
inline constexpr std::uint32_t FormatVersion = 3;

}  // namespace spellcheck::compiled

#endif
