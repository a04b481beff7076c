#include "engine/Engine.h"

#include <algorithm>

#include "services/SuggestionList.h"
#include "store/TvarWord.h"
#include "store/WordList.h"
#include "text/CaseMapping.h"
#include "text/TextFunctions.h"

namespace spellcheck::engine {

Engine::Engine(store::FileSystem& fs, std::unique_ptr<DictionarySource> source)
    : fs_(fs), source_(std::move(source)) {}

bool Engine::Holds(const std::string& file, std::string_view word, bool ignoreCase) {
  if (!lowered_.empty() && source_->Find(file, lowered_, ignoreCase)) return true;
  return source_->Find(file, word, ignoreCase);
}

bool Engine::Check(std::string_view word, const std::string& main,
                   std::span<const std::string> further, bool ignoreCase) {
  source_->BeginOperation();
  lowered_.clear();
  if (text::IsCapitalized(word)) {
    lowered_.assign(word);
    lowered_[0] = static_cast<char>(text::SystemLower(static_cast<unsigned char>(word[0])));
  }
  if (Holds(main, word, ignoreCase)) return true;
  for (const std::string& file : further) {
    if (Holds(file, word, ignoreCase)) return true;
  }
  return false;
}

void Engine::Prefetch(std::string_view word, const std::string& main) {
  if (text::IsCapitalized(word)) {
    lowered_.assign(word);
    lowered_[0] = static_cast<char>(text::SystemLower(static_cast<unsigned char>(word[0])));
    source_->Prefetch(main, lowered_);
  }
  source_->Prefetch(main, word);
}

std::vector<std::string> Engine::SimilarWords(std::string_view word, const std::string& main,
                                              std::span<const std::string> further) {
  std::vector<std::string> words;
  if (word.size() < 2) return words;
  source_->BeginOperation();
  source_->CollectSimilar(main, word, words);
  for (const std::string& file : further) source_->CollectSimilar(file, word, words);
  const auto less = [](const std::string& a, const std::string& b) {
    return store::CompareText(a, b) < 0;
  };
  std::sort(words.begin(), words.end(), less);
  words.erase(std::unique(words.begin(), words.end()), words.end());
  return words;
}

std::string Engine::SuggestionText(std::string_view word, const std::string& main,
                                   std::span<const std::string> further, bool useExtra) {
  if (word.size() < 2) return std::string();
  source_->BeginOperation();
  similar_.clear();
  source_->CollectSimilar(main, word, similar_);
  std::string collected = services::JoinWords(similar_);
  if (!useExtra) return collected;
  for (const std::string& file : further) {
    similar_.clear();
    source_->CollectSimilar(file, word, similar_);
    services::JoinPart(collected, services::JoinWords(similar_));
  }
  return services::TidySuggestions(collected);
}

bool Engine::Add(std::string_view word, const std::string& file) {
  ++generation_;
  source_->Forget(file);
  return store::InsertWord(fs_, word, file);
}

bool Engine::Remove(std::string_view word, const std::string& file, bool ignoreCase) {
  ++generation_;
  source_->Forget(file);
  return store::RemoveWord(fs_, word, file, ignoreCase);
}

bool Engine::Merge(const std::string& target, const std::string& source) {
  ++generation_;
  source_->Forget(target);
  source_->Forget(source);
  return store::MergeWordList(fs_, target, source);
}

std::shared_ptr<const LoadedDictionary> Engine::Contents(const std::string& file) {
  source_->BeginOperation();
  return source_->Contents(file);
}

bool Engine::Refresh() {
  const bool changed = source_->Refresh();
  if (changed) ++generation_;
  return changed;
}

}  // namespace spellcheck::engine
