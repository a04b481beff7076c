#include "compiled/Image.h"

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
  std::uint64_t checksum;  // of the table of sections and the key
  std::uint64_t keySize;   // the key's bytes follow the table of sections
};

struct SectionEntry {
  std::uint64_t offset;
  std::uint64_t size;
  std::uint64_t checksum;  // of the section's bytes
};

std::size_t Aligned(std::size_t size) {
  return (size + Alignment - 1) / Alignment * Alignment;
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
  std::size_t offset = Aligned(tableEnd + keyBytes.size());
  std::vector<SectionEntry> table;
  for (const std::string& section : sections_) {
    table.push_back(
        {offset, section.size(),
         Checksum(reinterpret_cast<const unsigned char*>(section.data()), section.size())});
    offset = Aligned(offset + section.size());
  }
  std::vector<unsigned char> file(offset, 0);
  const auto put = [&file](std::size_t at, const void* bytes, std::size_t size) {
    if (size != 0) std::memcpy(file.data() + at, bytes, size);
  };
  put(sizeof(Header), table.data(), table.size() * sizeof(SectionEntry));
  put(tableEnd, keyBytes.data(), keyBytes.size());
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
  header.checksum =
      Checksum(file.data() + sizeof(Header), tableEnd + keyBytes.size() - sizeof(Header));
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
      std::memcmp(data + tableEnd, key.Bytes().data(), header.keySize) != 0 ||
      Checksum(data + sizeof(Header), tableEnd + header.keySize - sizeof(Header)) !=
          header.checksum) {
    return nullptr;
  }
  std::shared_ptr<Image> image(new Image(std::move(mapping)));
  for (std::size_t k = 0; k < header.sections; ++k) {
    SectionEntry entry;
    std::memcpy(&entry, data + sizeof(Header) + k * sizeof(SectionEntry), sizeof entry);
    if (entry.offset % Alignment != 0 || entry.offset < tableEnd + header.keySize ||
        entry.offset > size || entry.size > size - entry.offset) {
      return nullptr;
    }
    image->sections_.emplace_back(reinterpret_cast<const char*>(data + entry.offset), entry.size);
    image->checksums_.push_back(entry.checksum);
  }
  image->states_ = std::make_unique<std::atomic<std::uint8_t>[]>(header.sections);
  image->onDamage_ = std::move(onDamage);
  return image;
}

bool Image::Verified(std::size_t index) const {
  if (index >= sections_.size()) return false;
  std::uint8_t state = states_[index].load(std::memory_order_acquire);
  if (state == 0) {
    const std::string_view bytes = sections_[index];
    state = Checksum(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()) ==
                    checksums_[index]
                ? 1
                : 2;
    states_[index].store(state, std::memory_order_release);
    if (state == 2 && onDamage_ && !damageReported_.exchange(true)) onDamage_();
  }
  return state == 1;
}

bool Image::VerifyAll() const {
  bool all = true;
  for (std::size_t k = 0; k < sections_.size(); ++k) all &= Verified(k);
  return all;
}

std::shared_ptr<const Image> Image::InMemory(const ImageWriter& writer, Kind kind, const Key& key) {
  return Open(std::make_unique<store::BytesMapping>(writer.Finish(kind, key)), kind, key);
}

}  // namespace spellcheck::compiled
