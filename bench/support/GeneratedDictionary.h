// Word-list files made up for the benchmarks: deterministic pseudo-words,
// sorted and distinct, written to a scratch folder that is removed afterwards.
#ifndef SPELLCHECK_BENCH_GENERATEDDICTIONARY_H
#define SPELLCHECK_BENCH_GENERATEDDICTIONARY_H

#include <cstddef>
#include <string>
#include <vector>

namespace spellcheck::bench {

class GeneratedDictionary {
 public:
  // `count` distinct lower-case words of 2 to 14 letters, as a file.
  explicit GeneratedDictionary(std::size_t count);
  ~GeneratedDictionary();
  GeneratedDictionary(const GeneratedDictionary&) = delete;
  GeneratedDictionary& operator=(const GeneratedDictionary&) = delete;

  const std::string& Path() const { return path_; }
  const std::vector<std::string>& Words() const { return words_; }

  // `count` stored words spread over the list (hits).
  std::vector<std::string> Hits(std::size_t count) const;
  // `count` words not in the list: stored words with one letter changed.
  std::vector<std::string> Misses(std::size_t count) const;
  // The words with their first letter capitalised.
  static std::vector<std::string> Capitalised(std::vector<std::string> words);

 private:
  std::string folder_;
  std::string path_;
  std::vector<std::string> words_;
};

// Writes `words` as 25-byte records, in the given order.
void WriteWordList(const std::string& path, const std::vector<std::string>& words);

}  // namespace spellcheck::bench

#endif
