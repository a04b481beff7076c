#include "support/GeneratedDictionary.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <set>
#include <stdexcept>
#include <thread>

namespace spellcheck::bench {

namespace {

// Letters weighted roughly as in English text, so that words share prefixes
// and lengths the way a real word list does.
constexpr char kLetters[] =
    "eeeeeeeeeeeettttttttaaaaaaaaoooooooiiiiiiinnnnnnnsssssshhhhhhrrrrrr"
    "ddddlllluuucccmmmwwffggyyppbbvkjxqz";

std::string MakeWord(std::mt19937& random) {
  std::uniform_int_distribution<int> length(2, 14);
  std::uniform_int_distribution<std::size_t> letter(0, sizeof kLetters - 2);
  std::string word(static_cast<std::size_t>(length(random)), ' ');
  for (char& c : word) c = kLetters[letter(random)];
  return word;
}

}  // namespace

void WriteWordList(const std::string& path, const std::vector<std::string>& words) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot write " + path);
  for (const auto& word : words) {
    unsigned char record[25] = {};
    const std::size_t n = std::min<std::size_t>(word.size(), 24);
    record[0] = static_cast<unsigned char>(n);
    std::copy_n(word.begin(), n, record + 1);
    std::fwrite(record, 1, sizeof record, file);
  }
  std::fclose(file);
}

GeneratedDictionary::GeneratedDictionary(std::size_t count) {
  std::string pattern =
      std::filesystem::temp_directory_path().string() + "/spellcheck-bench-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  folder_ = pattern;
  path_ = folder_ + "/words.dic";

  std::mt19937 random(static_cast<std::mt19937::result_type>(count));
  std::set<std::string> distinct;
  while (distinct.size() < count) distinct.insert(MakeWord(random));
  words_.assign(distinct.begin(), distinct.end());  // byte order, as std::string compares
  WriteWordList(path_, words_);
  // An hour-old time stamp: a batch session re-reads a file changed in the
  // last second at every use, which is not what is measured here.
  struct timespec times[2];
  times[0].tv_sec = times[1].tv_sec = ::time(nullptr) - 3600;
  times[0].tv_nsec = times[1].tv_nsec = 0;
  ::utimensat(AT_FDCWD, path_.c_str(), times, 0);
  // Setting the time stamp moves the change time to now, and a file changed
  // within the last second is not trusted to stay as it was read: wait that
  // second out, as a dictionary in use has.
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
}

GeneratedDictionary::~GeneratedDictionary() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::vector<std::string> GeneratedDictionary::Hits(std::size_t count) const {
  std::vector<std::string> hits;
  for (std::size_t i = 0; i < count; ++i) hits.push_back(words_[(i * 7919) % words_.size()]);
  return hits;
}

std::vector<std::string> GeneratedDictionary::Misses(std::size_t count) const {
  std::vector<std::string> misses;
  std::mt19937 random(7);
  for (std::size_t i = 0; misses.size() < count; ++i) {
    std::string word = words_[(i * 104729) % words_.size()];
    word[random() % word.size()] = kLetters[random() % (sizeof kLetters - 1)];
    if (!std::binary_search(words_.begin(), words_.end(), word)) misses.push_back(word);
  }
  return misses;
}

std::vector<std::string> GeneratedDictionary::Capitalised(std::vector<std::string> words) {
  for (auto& word : words) word[0] = static_cast<char>(word[0] - 'a' + 'A');
  return words;
}

}  // namespace spellcheck::bench
