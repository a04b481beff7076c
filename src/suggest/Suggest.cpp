// The ranking: the edit cost of each candidate, plus a penalty for rare words
// and for capitals the input did not ask for, less a bonus for words that
// sound alike. Equal scores go by the bytes of the suggestion.
#include <algorithm>
#include <limits>
#include <queue>
#include <unordered_set>

#include "suggest/EditCost.h"
#include "suggest/Letters.h"
#include "suggest/Phonetic.h"
#include "suggest/RankedIndex.h"
#include "text/CaseMapping.h"

namespace spellcheck::suggest {
namespace {

// Candidates from the deletion index up to this cost; words found by sound
// may cost more, since a writer who went by ear can stray further.
constexpr int kEditLimit = 260;
constexpr int kSoundLimit = 360;
constexpr int kNearSoundLimit = 300;
// Words whose keys are one sound apart are many: they are looked at only
// when nothing scored this well, and only the few whose letters come
// closest (length and letters found in one word only).
constexpr int kNearSoundWanted = 60;
constexpr int kNearLetterDistance = 6;
constexpr int kNearOutline = 4;  // distinct letters in one word only
constexpr std::size_t kNearCandidates = 48;
constexpr std::size_t kNearLength = 2;
// Taken off for the same sound key (half for two-sound keys, none for one).
constexpr int kSoundBonus = 30;
// A wrong first letter is a rarer slip than one further in.
constexpr int kFirstLetter = 30;
// Capitals that the input did not have: proper names and acronyms are less
// likely meant by a lower-case word.
constexpr int kUnaskedCapitals = 40;
// Two words run together: the missing space, and a pair of words is far
// rarer than one word, less so when a part is a short common word (mostly
// the very frequent function words: a, in, of, to). Parts must be common,
// short ones the commonest.
constexpr int kSplit = 15;
constexpr int kPairWithShort = 30;
constexpr int kPair = 80;
constexpr int kSplitRarity = 6;
constexpr std::size_t kShortPart = 2;
constexpr std::size_t kFunctionWord = 3;
// The deletion index covers words at most this many bytes longer or shorter.
constexpr std::size_t kLengthSlack = 3;
// Stored words are at most this long, so longer parts of a split match none.
constexpr std::size_t kMaxPart = 24;
// Longer words get no suggestions: no word is that long (the Hunspell
// format's limit too), and the work stays bounded for any input.
constexpr std::size_t kMaxInput = 100;

// The penalty for a word's rarity, by SCOWL level: small among the common
// sizes, growing as words become rare.
int RarityPenalty(int level) {
  struct Step {
    int level, penalty;
  };
  static constexpr Step steps[] = {{10, 0},  {20, 12},  {35, 28},  {40, 36},  {50, 52},  {55, 64},
                                   {60, 76}, {70, 100}, {80, 128}, {95, 156}, {100, 176}};
  if (level <= steps[0].level) return 0;
  for (std::size_t k = 1; k < std::size(steps); ++k) {
    if (level <= steps[k].level) {
      const Step& a = steps[k - 1];
      const Step& b = steps[k];
      return a.penalty + (b.penalty - a.penalty) * (level - a.level) / (b.level - a.level);
    }
  }
  return steps[std::size(steps) - 1].penalty;
}

// The same letter, or the same base letter with another accent.
bool SameLetter(char a, char b) {
  if (a == b) return true;
  const char base = BaseLetter(static_cast<unsigned char>(a));
  return base != 0 && base == BaseLetter(static_cast<unsigned char>(b));
}

enum class Shape { Lower, Capitalised, Upper };

// ASCII without a call: these run for every candidate.
bool IsUpper(unsigned char c) {
  return c < 0x80 ? c >= 'A' && c <= 'Z' : text::Cp1252Lower(c) != c;
}
bool IsLower(unsigned char c) {
  return c < 0x80 ? c >= 'a' && c <= 'z' : text::Cp1252Upper(c) != c;
}

Shape ShapeOf(std::string_view word) {
  std::size_t upper = 0, letters = 0;
  for (unsigned char c : word) {
    upper += IsUpper(c);
    letters += IsUpper(c) || IsLower(c);
  }
  if (letters >= 2 && upper == letters) return Shape::Upper;
  if (!word.empty() && IsUpper(static_cast<unsigned char>(word[0]))) return Shape::Capitalised;
  return Shape::Lower;
}

int CasePenalty(Shape shape, RankedIndex::Capitals capitals, std::size_t length) {
  // "I" is a word of its own, not a capitalised one.
  if (shape == Shape::Upper || length == 1 || capitals == RankedIndex::Capitals::None) return 0;
  if (shape == Shape::Lower) return kUnaskedCapitals;
  return capitals == RankedIndex::Capitals::All ? kUnaskedCapitals : 0;
}

// The stored form with the input's capitals.
std::string Shaped(Shape shape, std::string_view stored) {
  std::string out(stored);
  if (shape == Shape::Upper) {
    for (char& c : out) c = static_cast<char>(text::Cp1252Upper(static_cast<unsigned char>(c)));
  } else if (shape == Shape::Capitalised && !out.empty()) {
    out[0] = static_cast<char>(text::Cp1252Upper(static_cast<unsigned char>(out[0])));
  }
  return out;
}

std::string Fold(std::string_view word) {
  std::string out(word);
  for (char& c : out) c = static_cast<char>(text::Cp1252Lower(static_cast<unsigned char>(c)));
  return out;
}

// The hashes of the word and of its one- and two-byte deletions.
std::vector<std::uint32_t> DeletionHashes(const std::string& folded) {
  std::vector<std::uint32_t> hashes;
  hashes.push_back(RankedIndex::VariantHash(folded));
  std::vector<std::string> ones;
  for (std::size_t k = 0; k < folded.size(); ++k) {
    if (k > 0 && folded[k] == folded[k - 1]) continue;
    ones.push_back(folded.substr(0, k) + folded.substr(k + 1));
  }
  for (const std::string& one : ones) {
    hashes.push_back(RankedIndex::VariantHash(one));
    for (std::size_t k = 0; k < one.size(); ++k) {
      if (k > 0 && one[k] == one[k - 1]) continue;
      std::string two = one;
      two.erase(k, 1);
      hashes.push_back(RankedIndex::VariantHash(two));
    }
  }
  std::sort(hashes.begin(), hashes.end());
  hashes.erase(std::unique(hashes.begin(), hashes.end()), hashes.end());
  return hashes;
}

class Ranking {
 public:
  Ranking(std::string_view word, std::span<const RankedIndex* const> indexes)
      : word_(word), folded_(Fold(word)), shape_(ShapeOf(word)), indexes_(indexes) {}

  std::vector<Scored> Best(std::size_t max) {
    if (folded_.empty() || max == 0) return {};
    keep_ = 2 * max + 4 * indexes_.size();
    // Longer inputs are beyond the edit cost and too far from any word.
    editable_ = folded_.size() <= kMaxCostLength - 2;
    if (editable_) hashes_ = DeletionHashes(RankedIndex::VariantForm(folded_));
    outline_ = RankedIndex::Outline(folded_);
    key_ = PhoneticKey(folded_);
    if (key_.empty()) key_ = " ";
    sound_ = RankedIndex::VariantHash(key_);
    // Keys one sound apart: one sound more or less, or one other sound.
    if (key_.size() >= RankedIndex::kMinNearKey) {
      for (std::size_t k = 0; k < key_.size(); ++k) {
        if (k > 0 && key_[k] == key_[k - 1]) continue;
        shorterKeys_.push_back(RankedIndex::VariantHash(key_.substr(0, k) + key_.substr(k + 1)));
      }
    }
    seen_.resize(indexes_.size());
    for (std::size_t k = 0; k < indexes_.size(); ++k) {
      if (indexes_[k] != nullptr) Close(*indexes_[k], seen_[k]);
    }
    // Keys one sound apart find many words: worth their time only when no
    // close candidate turned up.
    if (editable_ && !shorterKeys_.empty() && BestScore() > kNearSoundWanted) {
      for (std::size_t k = 0; k < indexes_.size(); ++k) {
        if (indexes_[k] != nullptr) NearSound(*indexes_[k], seen_[k]);
      }
    }
    Splits();
    std::sort(scored_.begin(), scored_.end(), [](const Scored& a, const Scored& b) {
      return a.score != b.score ? a.score < b.score : a.text < b.text;
    });
    std::vector<Scored> out;
    std::unordered_set<std::string> taken;
    for (Scored& s : scored_) {
      if (out.size() == max) break;
      if (s.text == word_ || !taken.insert(s.text).second) continue;
      out.push_back(std::move(s));
    }
    return out;
  }

 private:
  // The words of `index` within about two edits, or with the same sound key.
  // `seen` becomes the sorted ids of the words looked at.
  void Close(const RankedIndex& index, std::vector<std::uint32_t>& seen) {
    soundIds_.clear();
    index.AppendSoundMatches(sound_, soundIds_);
    std::sort(soundIds_.begin(), soundIds_.end());
    ids_.clear();
    for (std::uint32_t h : hashes_) index.AppendVariantMatches(h, ids_);
    std::sort(ids_.begin(), ids_.end());
    ids_.erase(std::unique(ids_.begin(), ids_.end()), ids_.end());
    for (std::uint32_t id : ids_) {
      Consider(index, id, kEditLimit, std::binary_search(soundIds_.begin(), soundIds_.end(), id));
    }
    seen = ids_;
    if (!editable_) return;
    for (std::uint32_t id : soundIds_) {
      if (!std::binary_search(ids_.begin(), ids_.end(), id)) Consider(index, id, kSoundLimit, true);
    }
    seen.insert(seen.end(), soundIds_.begin(), soundIds_.end());
    std::inplace_merge(seen.begin(), seen.begin() + static_cast<std::ptrdiff_t>(ids_.size()),
                       seen.end());
  }

  // The words of `index` whose keys are one sound apart, those whose letters
  // come closest first.
  void NearSound(const RankedIndex& index, const std::vector<std::uint32_t>& seen) {
    nearIds_.clear();
    const RankedIndex::Near near{outline_, kNearOutline, kNearLength};
    index.AppendNearSoundMatches(sound_, near, nearIds_);
    for (std::uint32_t h : shorterKeys_) {
      index.AppendNearSoundMatches(h, near, nearIds_);
      index.AppendSoundMatches(h, near, nearIds_);
    }
    std::sort(nearIds_.begin(), nearIds_.end());
    nearIds_.erase(std::unique(nearIds_.begin(), nearIds_.end()), nearIds_.end());
    near_.clear();
    for (std::uint32_t id : nearIds_) {
      if (std::binary_search(seen.begin(), seen.end(), id)) continue;
      const int distance = LetterDistance(index.Folded(id));
      if (distance <= kNearLetterDistance) near_.push_back({distance, id});
    }
    if (near_.size() > kNearCandidates) {
      std::nth_element(near_.begin(), near_.begin() + kNearCandidates, near_.end());
      near_.resize(kNearCandidates);
    }
    for (const auto& [distance, id] : near_) Consider(index, id, kNearSoundLimit, false);
  }

  void Consider(const RankedIndex& index, std::uint32_t id, int limit, bool sameSound) {
    const std::string_view f = index.Folded(id);
    // (A word of no letters: only a crafted or damaged compiled file has one.)
    if (f.empty()) return;
    const std::size_t gap =
        f.size() > folded_.size() ? f.size() - folded_.size() : folded_.size() - f.size();
    if (gap > kLengthSlack) return;
    const int capitals = CasePenalty(shape_, index.CapitalsOf(id), f.size());
    const int rarity = RarityPenalty(index.Level(id));
    const int bonus = sameSound ? SoundBonus() : 0;
    if (f == folded_) {
      // Only the capitals wrong: the letters are right, which outweighs both
      // the capitals and most of the rarity.
      Add(Shaped(shape_, index.Word(id)), capitals / 8 + rarity / 4 - bonus);
      return;
    }
    int prior = capitals + rarity - bonus;
    // A word that cannot beat the scores kept so far need not be costed in full.
    if (kept_.size() == keep_) limit = std::min(limit, kept_.top() - prior);
    if (limit < 0) return;
    const int cost = EditCost(folded_, f, limit);
    if (cost > limit) return;
    // The first letter counts as right with another accent (ecole: école),
    // swapped with the second, or (in English) sounding the same.
    if (!SameLetter(f[0], folded_[0]) &&
        !(f.size() > 1 && f[0] == folded_[1] && f[1] == folded_[0]) &&
        !(index.HasSounds() && PhoneticKey(f)[0] == key_[0])) {
      prior += kFirstLetter;
    }
    Add(Shaped(shape_, index.Word(id)), cost + prior);
  }

  // Keeps the best scores, as many as may be needed for the list: a text
  // can come more than once (from several indexes, in several cases).
  void Add(std::string text, int score) {
    scored_.push_back({std::move(text), score});
    if (kept_.size() < keep_) {
      kept_.push(score);
    } else if (score < kept_.top()) {
      kept_.pop();
      kept_.push(score);
    }
  }

  // The letters in one word and not in the other, counted with repeats: at
  // most two for each edit.
  int LetterDistance(std::string_view word) {
    int* count = letterCount_;  // all zero between calls
    for (unsigned char c : folded_) ++count[c];
    for (unsigned char c : word) --count[c];
    int distance = 0;
    for (unsigned char c : folded_) distance += count[c] > 0 ? count[c] : 0, count[c] = 0;
    for (unsigned char c : word) distance += count[c] < 0 ? -count[c] : 0, count[c] = 0;
    return distance;
  }

  int BestScore() const {
    int best = std::numeric_limits<int>::max();
    for (const Scored& s : scored_) best = std::min(best, s.score);
    return best;
  }

  // Short keys are shared by many words and say little.
  int SoundBonus() const {
    return key_.size() >= 3 ? kSoundBonus : key_.size() == 2 ? kSoundBonus / 2 : 0;
  }

  // The best stored form of a folded word over all indexes: its penalty, or
  // -1 when no index holds it.
  int BestPart(std::string_view part, bool first, std::string& form) {
    int best = -1;
    for (const RankedIndex* index : indexes_) {
      if (index == nullptr) continue;
      ids_.clear();
      index->AppendExact(part, ids_);
      for (std::uint32_t id : ids_) {
        const std::string_view stored = index->Word(id);
        const Shape shape = first ? shape_ : (shape_ == Shape::Upper ? Shape::Upper : Shape::Lower);
        const int penalty = RarityPenalty(index->Level(id)) +
                            CasePenalty(shape, index->CapitalsOf(id), stored.size());
        std::string shaped = Shaped(shape, stored);
        if (best < 0 || penalty < best || (penalty == best && shaped < form)) {
          best = penalty;
          form = std::move(shaped);
        }
      }
    }
    return best;
  }

  // Two words run together.
  void Splits() {
    if (folded_.size() > 2 * kMaxPart) return;
    for (std::size_t k = folded_.size() > kMaxPart ? folded_.size() - kMaxPart : 1;
         k < folded_.size() && k <= kMaxPart; ++k) {
      const std::string_view left = std::string_view(folded_).substr(0, k);
      const std::string_view right = std::string_view(folded_).substr(k);
      std::string leftForm, rightForm;
      const int l = BestPart(left, true, leftForm);
      if (l < 0) continue;
      const int r = BestPart(right, false, rightForm);
      if (r < 0) continue;
      // Rare parts make far more wrong splits than right ones.
      const int common = RarityPenalty(WordLevels::kCommon);
      if (l > kSplitRarity || r > kSplitRarity || (left.size() <= kShortPart && l > common) ||
          (right.size() <= kShortPart && r > common)) {
        continue;
      }
      // The parts say just what the input says: the sound bonus applies.
      const bool function = (left.size() <= kFunctionWord && l <= common) ||
                            (right.size() <= kFunctionWord && r <= common);
      scored_.push_back({leftForm + ' ' + rightForm,
                         kSplit + (function ? kPairWithShort : kPair) + l + r - SoundBonus()});
    }
  }

  std::string word_;
  std::string folded_;
  std::string key_;
  std::uint32_t outline_ = 0;
  std::uint32_t sound_ = 0;
  bool editable_ = false;
  std::vector<std::uint32_t> hashes_;
  std::vector<std::uint32_t> shorterKeys_;
  Shape shape_;
  std::span<const RankedIndex* const> indexes_;
  std::vector<std::uint32_t> ids_;
  std::vector<std::uint32_t> soundIds_;
  std::vector<std::uint32_t> nearIds_;
  std::vector<std::vector<std::uint32_t>> seen_;  // by index
  std::vector<std::pair<int, std::uint32_t>> near_;
  int letterCount_[256] = {};
  std::vector<Scored> scored_;
  std::priority_queue<int> kept_;
  std::size_t keep_ = 0;
};

}  // namespace

std::vector<Scored> SuggestScored(std::string_view word,
                                  std::span<const RankedIndex* const> indexes, std::size_t max) {
  if (word.size() > kMaxInput) return {};
  return Ranking(word, indexes).Best(max);
}

std::vector<std::string> Suggest(std::string_view word, std::span<const RankedIndex* const> indexes,
                                 std::size_t max) {
  std::vector<std::string> out;
  for (Scored& s : SuggestScored(word, indexes, max)) out.push_back(std::move(s.text));
  return out;
}

}  // namespace spellcheck::suggest
