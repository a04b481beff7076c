#include "compiled/Image.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace spellcheck::compiled {
namespace {

constexpr char Magic[8] = {'S', 'P', 'C', 'K', 'C', 'O', 'M', 'P'};
// Written in the writer's byte order: a reader of the other order sees it
// reversed.
constexpr std::uint32_t ByteOrderMark = 0x01020304;
constexpr std::size_t MaxSections = 256;
constexpr std::size_t Alignment = 8;

struct Header {
  char magic[8];
  std::uint32_t byteOrder;
  std::uint32_t version;
  std::uint32_t kind;
  std::uint32_t sections;
  std::uint64_t size;      // of the whole file
  std::uint64_t checksum;  // of the table of sections, the key and the blocks' checksums
  std::uint64_t keySize;   // the key's bytes follow the table of sections
  std::uint64_t blocks;    // their checksums follow the key, aligned
};

struct SectionEntry {
  std::uint64_t offset;
  std::uint64_t size;
  std::uint64_t firstBlock;  // the checksum of its first block
};

std::size_t Aligned(std::size_t size) {
  return (size + Alignment - 1) / Alignment * Alignment;
}

std::size_t BlocksOf(std::size_t size) {
  return (size + Image::BlockSize - 1) / Image::BlockSize;
}

std::uint64_t Mix(std::uint64_t h) {
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdull;
  h ^= h >> 33;
  return h;
}

}  // namespace

Key& Key::Add(std::string_view text) {
  Add(static_cast<std::uint64_t>(text.size()));
  bytes_.append(text);
  return *this;
}

Key& Key::Add(std::uint64_t number) {
  char bytes[sizeof number];
  std::memcpy(bytes, &number, sizeof number);
  bytes_.append(bytes, sizeof bytes);
  return *this;
}

std::uint64_t Checksum(const unsigned char* data, std::size_t size) {
  // Fletcher's two sums over 64-bit words, in four lanes: additions only,
  // in vector registers where there are some, so that checking a file costs
  // little more than reading it; the second sum makes it see the order.
  std::uint64_t sums[4] = {}, sumsOfSums[4] = {};
  std::size_t k = 0;
#if defined(__SSE2__)
  __m128i s01 = _mm_setzero_si128(), s23 = _mm_setzero_si128();
  __m128i t01 = _mm_setzero_si128(), t23 = _mm_setzero_si128();
  for (; k + 32 <= size; k += 32) {
    s01 = _mm_add_epi64(s01, _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + k)));
    s23 = _mm_add_epi64(s23, _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + k + 16)));
    t01 = _mm_add_epi64(t01, s01);
    t23 = _mm_add_epi64(t23, s23);
  }
  _mm_storeu_si128(reinterpret_cast<__m128i*>(sums), s01);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + 2), s23);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(sumsOfSums), t01);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(sumsOfSums + 2), t23);
#else
  for (; k + 32 <= size; k += 32) {
    std::uint64_t words[4];
    std::memcpy(words, data + k, sizeof words);
    for (int lane = 0; lane < 4; ++lane) {
      sums[lane] += words[lane];
      sumsOfSums[lane] += sums[lane];
    }
  }
#endif
  std::uint64_t h = size;
  for (int lane = 0; lane < 4; ++lane) {
    h = Mix(h ^ sums[lane]) ^ sumsOfSums[lane];
    h = Mix(h);
  }
  for (; k < size; ++k) h = Mix(h ^ data[k]);
  return h;
}

void ImageWriter::AddBytes(const void* data, std::size_t size) {
  sections_.emplace_back(static_cast<const char*>(data), size);
}

std::vector<unsigned char> ImageWriter::Finish(Kind kind, const Key& key) const {
  const std::string& keyBytes = key.Bytes();
  const std::size_t tableEnd = sizeof(Header) + sections_.size() * sizeof(SectionEntry);
  const std::size_t checksumsAt = Aligned(tableEnd + keyBytes.size());
  std::vector<std::uint64_t> checksums;
  for (const std::string& section : sections_) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(section.data());
    for (std::size_t at = 0; at < section.size(); at += Image::BlockSize) {
      checksums.push_back(Checksum(bytes + at, std::min(Image::BlockSize, section.size() - at)));
    }
  }
  std::size_t offset = checksumsAt + checksums.size() * sizeof(std::uint64_t);
  std::vector<SectionEntry> table;
  std::size_t firstBlock = 0;
  for (const std::string& section : sections_) {
    table.push_back({offset, section.size(), firstBlock});
    offset = Aligned(offset + section.size());
    firstBlock += BlocksOf(section.size());
  }
  std::vector<unsigned char> file(offset, 0);
  const auto put = [&file](std::size_t at, const void* bytes, std::size_t size) {
    if (size != 0) std::memcpy(file.data() + at, bytes, size);
  };
  put(sizeof(Header), table.data(), table.size() * sizeof(SectionEntry));
  put(tableEnd, keyBytes.data(), keyBytes.size());
  put(checksumsAt, checksums.data(), checksums.size() * sizeof(std::uint64_t));
  for (std::size_t k = 0; k < sections_.size(); ++k) {
    put(table[k].offset, sections_[k].data(), sections_[k].size());
  }
  Header header{};
  std::memcpy(header.magic, Magic, sizeof Magic);
  header.byteOrder = ByteOrderMark;
  header.version = FormatVersion;
  header.kind = static_cast<std::uint32_t>(kind);
  header.sections = static_cast<std::uint32_t>(sections_.size());
  header.size = file.size();
  header.keySize = keyBytes.size();
  header.blocks = checksums.size();
  header.checksum =
      Checksum(file.data() + sizeof(Header),
               checksumsAt + checksums.size() * sizeof(std::uint64_t) - sizeof(Header));
  std::memcpy(file.data(), &header, sizeof header);
  return file;
}

std::shared_ptr<const Image> Image::Open(std::unique_ptr<store::Mapping> mapping, Kind kind,
                                         const Key& key, std::function<void()> onDamage) {
  if (mapping == nullptr) return nullptr;
  const unsigned char* data = mapping->Data();
  const std::size_t size = mapping->Size();
  if (size < sizeof(Header)) return nullptr;
  Header header;
  std::memcpy(&header, data, sizeof header);
  if (std::memcmp(header.magic, Magic, sizeof Magic) != 0 || header.byteOrder != ByteOrderMark ||
      header.version != FormatVersion || header.kind != static_cast<std::uint32_t>(kind) ||
      header.size != size || header.sections > MaxSections ||
      header.keySize != key.Bytes().size()) {
    return nullptr;
  }
  const std::size_t tableEnd = sizeof(Header) + header.sections * sizeof(SectionEntry);
  if (tableEnd + header.keySize > size ||
      std::memcmp(data + tableEnd, key.Bytes().data(), header.keySize) != 0) {
    return nullptr;
  }
  const std::size_t checksumsAt = Aligned(tableEnd + header.keySize);
  if (checksumsAt > size || header.blocks > (size - checksumsAt) / sizeof(std::uint64_t)) {
    return nullptr;
  }
  const std::size_t sectionsAt = checksumsAt + header.blocks * sizeof(std::uint64_t);
  if (Checksum(data + sizeof(Header), sectionsAt - sizeof(Header)) != header.checksum) {
    return nullptr;
  }
  std::shared_ptr<Image> image(new Image(std::move(mapping)));
  std::size_t blocks = 0;
  for (std::size_t k = 0; k < header.sections; ++k) {
    SectionEntry entry;
    std::memcpy(&entry, data + sizeof(Header) + k * sizeof(SectionEntry), sizeof entry);
    if (entry.offset % Alignment != 0 || entry.offset < sectionsAt || entry.offset > size ||
        entry.size > size - entry.offset || entry.firstBlock != blocks) {
      return nullptr;
    }
    image->sections_.push_back(
        {{reinterpret_cast<const char*>(data + entry.offset), entry.size}, blocks});
    blocks += BlocksOf(entry.size);
  }
  if (blocks != header.blocks) return nullptr;
  image->checksums_ = data + checksumsAt;
  image->sectionStates_ = std::make_unique<std::atomic<std::uint8_t>[]>(header.sections);
  image->blockStates_ = std::make_unique<std::atomic<std::uint8_t>[]>(blocks);
  image->onDamage_ = std::move(onDamage);
  return image;
}

bool Image::BlockVerified(const Section& section, std::size_t block) const {
  std::atomic<std::uint8_t>& state = blockStates_[section.firstBlock + block];
  std::uint8_t now = state.load(std::memory_order_acquire);
  if (now == 0) {
    const std::size_t at = block * BlockSize;
    std::uint64_t expected;
    std::memcpy(&expected, checksums_ + (section.firstBlock + block) * sizeof expected,
                sizeof expected);
    const auto* bytes = reinterpret_cast<const unsigned char*>(section.bytes.data()) + at;
    now = Checksum(bytes, std::min(BlockSize, section.bytes.size() - at)) == expected ? 1 : 2;
    state.store(now, std::memory_order_release);
    if (now == 2 && !damaged_.exchange(true, std::memory_order_acq_rel) && onDamage_) onDamage_();
  }
  return now == 1;
}

bool Image::Verified(std::size_t index, std::size_t begin, std::size_t size) const {
  if (sectionStates_[index].load(std::memory_order_acquire) == 1) return true;
  const Section& section = sections_[index];
  for (std::size_t block = begin / BlockSize; block * BlockSize < begin + size; ++block) {
    if (!BlockVerified(section, block)) return false;
  }
  return true;
}

bool Image::Verified(std::size_t index) const {
  if (index >= sections_.size()) return false;
  std::uint8_t state = sectionStates_[index].load(std::memory_order_acquire);
  if (state == 0) {
    const Section& section = sections_[index];
    state = 1;
    for (std::size_t block = 0; state == 1 && block < BlocksOf(section.bytes.size()); ++block) {
      if (!BlockVerified(section, block)) state = 2;
    }
    sectionStates_[index].store(state, std::memory_order_release);
  }
  return state == 1;
}

bool Image::VerifyAll() const {
  bool all = true;
  for (std::size_t k = 0; k < sections_.size(); ++k) all &= Verified(k);
  return all;
}

std::shared_ptr<const Image> Image::InMemory(const ImageWriter& writer, Kind kind, const Key& key) {
  std::shared_ptr<const Image> image =
      Open(std::make_unique<store::BytesMapping>(writer.Finish(kind, key)), kind, key);
  // Just made: nothing to check.
  for (std::size_t k = 0; k < image->sections_.size(); ++k) {
    image->sectionStates_[k].store(1, std::memory_order_relaxed);
  }
  return image;
}

}  // namespace spellcheck::compiled
