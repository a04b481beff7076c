#include "engine/Speller.h"

#include <algorithm>

#include "text/Cp1252.h"
#include "text/WordCase.h"

namespace spellcheck::engine {

Speller::Speller(std::unique_ptr<Engine> engine, DictionarySet dictionaries, bool rememberAnswers)
    : engine_(std::move(engine)),
      dictionaries_(std::move(dictionaries)),
      further_(dictionaries_.Further()) {
  // After the first main dictionary: the others, then the custom and further ones.
  for (std::size_t k = 1; k < dictionaries_.mains.size(); ++k) {
    afterMain_.push_back(dictionaries_.mains[k].file);
  }
  afterMain_.insert(afterMain_.end(), further_.begin(), further_.end());
  if (rememberAnswers) {
    answers_ = std::make_unique<AnswerCache>();
    answersGeneration_ = engine_->Generation();
  }
}

bool Speller::CheckCp1252(std::string_view word) {
  if (engine_->Check(word, dictionaries_.Main(), afterMain_, dictionaries_.ignoreCase)) {
    return true;
  }
  return text::IsAllCapitals(word) &&
         engine_->Check(text::CapitalisedForm(word), dictionaries_.Main(), afterMain_,
                        dictionaries_.ignoreCase);
}

bool Speller::IsCorrectWhole(std::string_view utf8Word) {
  if (!text::Utf8ToCp1252(utf8Word, cp1252_) || cp1252_.empty()) return false;
  if (!sessionWords_.empty() && sessionWords_.count(cp1252_) != 0) return true;
  return CheckCp1252(cp1252_);
}

bool Speller::IsCorrect(std::string_view utf8Word) {
  if (!answers_) return Answer(utf8Word);
  if (answersGeneration_ != engine_->Generation()) {
    answers_->Clear();
    answersGeneration_ = engine_->Generation();
  }
  bool correct = false;
  if (answers_->Find(utf8Word, correct)) return correct;
  correct = Answer(utf8Word);
  answers_->Put(utf8Word, correct);
  return correct;
}

void Speller::IsCorrectAll(std::span<const std::string_view> words, std::vector<char>& answers) {
  answers.assign(words.size(), 0);
  if (!answers_) {
    for (std::size_t i = 0; i < words.size(); ++i) answers[i] = Answer(words[i]) ? 1 : 0;
    return;
  }
  if (answersGeneration_ != engine_->Generation()) {
    answers_->Clear();
    answersGeneration_ = engine_->Generation();
  }
  pending_.clear();
  for (std::size_t i = 0; i < words.size(); ++i) {
    bool correct = false;
    if (answers_->Find(words[i], correct)) {
      answers[i] = correct ? 1 : 0;
    } else {
      pending_.push_back(i);
    }
  }
  for (const std::size_t i : pending_) {
    if (!text::Utf8ToCp1252(words[i], cp1252_)) continue;
    for (const MainDictionary& main : dictionaries_.mains) engine_->Prefetch(cp1252_, main.file);
  }
  for (const std::size_t i : pending_) {
    const bool correct = Answer(words[i]);
    answers[i] = correct ? 1 : 0;
    answers_->Put(words[i], correct);
  }
}

bool Speller::Answer(std::string_view utf8Word) {
  if (IsCorrectWhole(utf8Word)) return true;
  if (utf8Word.find('-') == std::string_view::npos) return false;
  std::size_t start = 0;
  for (;;) {
    const std::size_t hyphen = utf8Word.find('-', start);
    const std::string_view part = utf8Word.substr(start, hyphen - start);
    if (!IsCorrectWhole(part)) return false;
    if (hyphen == std::string_view::npos) return true;
    start = hyphen + 1;
  }
}

std::vector<std::string> Speller::Suggest(std::string_view utf8Word, Order order, std::size_t max) {
  if (!text::Utf8ToCp1252(utf8Word, cp1252_) || cp1252_.empty()) return {};
  const std::string word = cp1252_;
  std::vector<std::string> suggestions;
  for (const std::string& found : order == Order::Ranked ? Ranked(word, max) : Positional(word)) {
    std::string utf8 = text::Cp1252ToUtf8(found);
    // Two stored words can have one form in capitals.
    if (std::find(suggestions.begin(), suggestions.end(), utf8) == suggestions.end()) {
      suggestions.push_back(std::move(utf8));
    }
    if (suggestions.size() == max) break;
  }
  return suggestions;
}

std::vector<std::string> Speller::Positional(const std::string& word) {
  const bool allCapitals = text::IsAllCapitals(word);
  const std::string query = allCapitals ? text::CapitalisedForm(word) : word;
  std::vector<std::string> found = engine_->SimilarWords(query, dictionaries_.Main(), afterMain_);
  if (allCapitals) {
    for (std::string& each : found) each = text::UpperCase(each);
  }
  return found;
}

std::vector<std::string> Speller::Ranked(const std::string& word, std::size_t max) {
  std::vector<const suggest::RankedIndex*> indexes;
  for (const MainDictionary& main : dictionaries_.mains)
    indexes.push_back(IndexOf(main.file, &main));
  for (const std::string& file : further_) indexes.push_back(IndexOf(file, nullptr));
  return suggest::Suggest(word, indexes, max);
}

const suggest::RankedIndex* Speller::IndexOf(const std::string& file, const MainDictionary* main) {
  std::shared_ptr<const LoadedDictionary> contents = engine_->Contents(file);
  Ranking* ranking = nullptr;
  for (Ranking& each : rankings_) {
    if (each.file == file) ranking = &each;
  }
  if (ranking == nullptr) ranking = &rankings_.emplace_back(Ranking{file, nullptr, nullptr});
  if (contents == nullptr) {
    *ranking = Ranking{file, nullptr, nullptr};
    return nullptr;
  }
  if (ranking->contents == contents) return ranking->index.get();
  std::vector<std::string_view> words;
  words.reserve(contents->Records().size());
  for (const store::TvarWord& record : contents->Records()) words.push_back(record.Text());
  if (main != nullptr) {
    ranking->index =
        std::make_unique<suggest::RankedIndex>(words, LevelsOf(main->levels), SoundsOf(*main));
  } else {
    // The user's own words, ranked with the first language's sounds.
    const suggest::Sounds sounds = dictionaries_.mains.empty()
                                       ? suggest::Sounds::English
                                       : SoundsOf(dictionaries_.mains.front());
    ranking->index = std::make_unique<suggest::RankedIndex>(words, suggest::AllCommon{}, sounds);
  }
  ranking->contents = std::move(contents);
  return ranking->index.get();
}

suggest::Sounds Speller::SoundsOf(const MainDictionary& main) {
  return main.englishSounds ? suggest::Sounds::English : suggest::Sounds::None;
}

const suggest::WordLevels* Speller::LevelsOf(const std::string& file) {
  if (file.empty()) return nullptr;
  for (const Levels& each : levels_) {
    if (each.file == file) return each.levels.get();
  }
  auto levels = std::make_unique<suggest::WordLevels>();
  // Without the file every word counts as equally common.
  if (!levels->LoadFile(file)) levels.reset();
  return levels_.emplace_back(Levels{file, std::move(levels)}).levels.get();
}

void Speller::AcceptForSession(std::string_view utf8Word) {
  if (!text::Utf8ToCp1252(utf8Word, cp1252_) || cp1252_.empty()) return;
  sessionWords_.insert(cp1252_);
  if (answers_) answers_->Clear();
}

bool Speller::AddToCustom(std::string_view utf8Word) {
  if (!text::Utf8ToCp1252(utf8Word, cp1252_) || cp1252_.empty()) return false;
  if (!dictionaries_.custom) {
    sessionWords_.insert(cp1252_);
    if (answers_) answers_->Clear();
    return true;
  }
  engine_->Add(cp1252_, *dictionaries_.custom);
  return true;
}

}  // namespace spellcheck::engine
