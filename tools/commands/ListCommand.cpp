// list: the misspelled words of texts, one a line, in order; folders are
// walked, and their files checked on all cores, the output still in order.
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "commands/Commands.h"
#include "commands/Config.h"
#include "errors/ToolError.h"
#include "filters/DocumentWords.h"
#include "filters/Filter.h"
#include "filters/Identifiers.h"
#include "filters/InlineControls.h"
#include "input/LineChecker.h"
#include "input/LineReader.h"
#include "input/TextCodec.h"
#include "output/Output.h"
#include "output/Report.h"
#include "text/Utf8.h"
#include "tree/TreeWalk.h"
#include "vocabularies/ProjectWords.h"
#include "vocabularies/Vocabularies.h"

namespace spellcheck::tool {
namespace {

namespace fs = std::filesystem;

// How much of a file is looked at to tell a binary file from a text.
constexpr std::size_t BinaryProbeSize = 8192;
// A walk passes over larger files (with a warning).
constexpr std::uintmax_t WalkSizeLimit = std::uintmax_t(16) << 20;

// One input of a run, in the order of the output.
struct Item {
  std::string path;     // opened by this name; "-": standard input
  std::string name;     // shown
  bool walked = false;  // found in a walk: a binary file is passed over
  std::string mode;
  const WordSet* accepted = nullptr;     // words that count as correct
  const WordContext* context = nullptr;  // vocabularies, identifiers, length
  bool definitions = true;               // code: names of definitions are checked
  std::size_t dictionaries = 0;          // the index of the run's dictionary set
  // Instead of a check: a message for standard error; `failed`: an error.
  std::string message;
  bool failed = false;

  bool StandardInput() const { return path == "-"; }
};

// Where an input's findings and messages go: straight to the one report (as
// found), or into a buffer that the main thread hands on in the inputs'
// order, so that a parallel run writes what a sequential one writes.
class Sink {
 public:
  virtual ~Sink() = default;
  virtual void Add(const Finding& finding) = 0;
  // A message for standard error, after what was found before it.
  virtual void Message(const std::string& message) = 0;
  // The input has to wait: what was found goes out now.
  virtual void Waiting() {}
};

class ReportSink : public Sink {
 public:
  ReportSink(Output& out, Reporter& reporter) : out_(out), reporter_(reporter) {}
  void Add(const Finding& finding) override { reporter_.Add(finding); }
  void Message(const std::string& message) override {
    out_.Flush();
    std::cerr << "spellcheck: " << message << "\n";
  }
  void Waiting() override { out_.Flush(); }

 private:
  Output& out_;
  Reporter& reporter_;
};

// Kept small: a tree's files wait here until their turn in the output. The
// findings of an input all name its file, which is kept once.
class BufferSink : public Sink {
 public:
  void Add(const Finding& finding) override {
    if (file_.empty()) file_ = finding.file;
    Event event;
    event.line = finding.line;
    event.column = finding.column;
    event.text = finding.word;
    if (finding.suggestions) {
      event.suggestions = suggestions_.size();
      suggestions_.push_back(*finding.suggestions);
    }
    events_.push_back(std::move(event));
  }
  void Message(const std::string& message) override {
    Event event;
    event.line = MessageLine;
    event.text = message;
    events_.push_back(std::move(event));
  }
  // Hands on what was gathered, in order, and forgets it.
  void Replay(Sink& to) {
    for (const Event& event : events_) {
      if (event.line == MessageLine) {
        to.Message(event.text);
        continue;
      }
      Finding finding;
      finding.file = file_;
      finding.line = event.line;
      finding.column = event.column;
      finding.word = event.text;
      if (event.suggestions != NoSuggestions)
        finding.suggestions = &suggestions_[event.suggestions];
      to.Add(finding);
    }
    // (Assigning {} would keep the memory.)
    std::vector<Event>().swap(events_);
    std::vector<std::vector<std::string>>().swap(suggestions_);
    std::string().swap(file_);
  }

 private:
  static constexpr std::size_t MessageLine = 0;  // findings' lines count from 1
  static constexpr std::size_t NoSuggestions = std::size_t(-1);
  struct Event {
    std::size_t line = 0;  // MessageLine: `text` is a message
    std::size_t column = 0;
    std::string text;  // the word, or the message
    std::size_t suggestions = NoSuggestions;
  };
  std::string file_;
  std::vector<Event> events_;
  std::vector<std::vector<std::string>> suggestions_;
};

class TextLister {
 public:
  TextLister(engine::Speller& speller, bool utf8, const ListOptions& options, std::string encoding)
      : checker_(speller),
        documentWords_(speller),
        speller_(speller),
        utf8_(utf8),
        options_(options),
        encoding_(std::move(encoding)) {}

  // Lists one input; returns whether it held a misspelled word.
  bool List(int fd, const Item& item, Sink& sink) {
    sink_ = &sink;
    const std::string& name = item.name;
    accepted_ = item.accepted;
    context_ = item.context;
    documentWords_.SetContext(item.context);
    controls_ = InlineControls();
    LineReader reader(fd, name, encoding_);
    // Before waiting for more input: what has been found so far goes out (a
    // reader at the other end of a pipe sees it at once), and the
    // dictionaries are looked at again.
    reader.OnWait([this] {
      sink_->Waiting();
      speller_.Refresh();
    });
    if (reader.Peek(BinaryProbeSize).find('\0') != std::string_view::npos) {
      if (item.walked) return false;  // a walk passes over binary files
      throw ToolError(name + ": binary file, not checked");
    }
    if (const std::unique_ptr<Filter> filter = MakeFilter(item.mode)) {
      filter->FindDefinitions(item.definitions);
      return ListDocument(reader, name, *filter);
    }
    checker_.SplitCompounds(false);
    bool found = false;
    bool warned = false;
    std::size_t lineNumber = 0;
    std::size_t lineChars = 0;  // characters of the line in the pieces before
    TextPiece piece;
    bool lineStarts = true;
    while (reader.Next(piece)) {
      if (lineStarts) {
        ++lineNumber;
        lineChars = 0;
      }
      controls_.Read(piece.text, lineStarts);
      lineStarts = !piece.continues;
      if (!warned && utf8_ && !spellcheck::text::IsValidUtf8(piece.text)) {
        WarnInvalid(name, lineNumber);
        warned = true;
      }
      const std::size_t chars = checker_.Check(piece.text, words_);
      for (const CheckedWord& word : words_) {
        if (Accepted(piece.text, word)) continue;
        found = true;
        Report(name, lineNumber, lineChars, word);
      }
      lineChars += chars;
    }
    return found;
  }

 private:
  void WarnInvalid(const std::string& name, std::size_t lineNumber) {
    sink_->Message(name + ":" + std::to_string(lineNumber) +
                   ": not valid UTF-8; such bytes separate words (see --encoding)");
  }

  // A filtered document is read whole: its filter sees all of it.
  bool ListDocument(LineReader& reader, const std::string& name, Filter& filter) {
    std::string document;
    TextPiece piece;
    while (reader.Next(piece)) {
      document += piece.text;
      if (!piece.continues) document += '\n';
    }
    bool found = false;
    bool warned = false;
    documentWords_.Find(
        document, &filter, *accepted_,
        [&](std::size_t lineNumber, std::string_view line) {
          if (!warned && utf8_ && !spellcheck::text::IsValidUtf8(line)) {
            WarnInvalid(name, lineNumber);
            warned = true;
          }
        },
        [&](std::size_t lineNumber, std::string_view, const CheckedWord& word) {
          found = true;
          Report(name, lineNumber, 0, word);
        });
    return found;
  }

  // Whether a word of `line` goes unreported: correct, a project word, or
  // silenced by the document's controls.
  bool Accepted(std::string_view line, const CheckedWord& word) {
    return Unreported(controls_, *accepted_, line, word, context_, &speller_, &listed_);
  }

  void Report(const std::string& name, std::size_t lineNumber, std::size_t lineChars,
              const CheckedWord& word) {
    Finding finding;
    finding.file = name;
    finding.line = lineNumber;
    finding.column = lineChars + word.charOffset + 1;
    finding.word = word.text;
    if (options_.suggest) {
      suggestions_ =
          speller_.Suggest(word.text, options_.suggestions.Order(), options_.suggestions.max);
      finding.suggestions = &suggestions_;
    }
    sink_->Add(finding);
  }

  LineChecker checker_;
  DocumentWords documentWords_;
  engine::Speller& speller_;
  bool utf8_;
  const ListOptions& options_;
  std::string encoding_;
  std::vector<CheckedWord> words_;
  std::vector<std::string> suggestions_;
  InlineControls controls_;
  const WordSet* accepted_ = nullptr;
  const WordContext* context_ = nullptr;
  KnownWords listed_;  // the run's contexts stay as they are
  Sink* sink_ = nullptr;
};

bool SameDictionaries(const engine::DictionarySet& a, const engine::DictionarySet& b) {
  const auto sameMain = [](const engine::MainDictionary& x, const engine::MainDictionary& y) {
    return x.file == y.file && x.levels == y.levels && x.englishSounds == y.englishSounds;
  };
  return std::equal(a.mains.begin(), a.mains.end(), b.mains.begin(), b.mains.end(), sameMain) &&
         a.custom == b.custom && a.extra == b.extra && a.ignoreCase == b.ignoreCase;
}

// The inputs of a run and the dictionary sets they need, worked out before
// any is checked: a config or word list that cannot be read, or a main
// dictionary that cannot, ends the run before any output.
class Plan {
 public:
  Plan(store::FileSystem& fs, const catalogue::DictionaryOptions& options, const ListOptions& list)
      : fs_(fs),
        options_(options),
        list_(list),
        configs_(list.configFile, list.noConfig),
        words_(list.wordLists) {}

  void Add(const std::string& argument) {
    if (argument == "-") return AddStandardInput();
    std::error_code error;
    if (fs::is_directory(argument, error)) return AddTree(argument);
    AddFile(argument, NormalPath(argument), false);
  }

  // After the last Add: the names that the run's code defines become words
  // of the run.
  void Finish() {
    for (const Item& item : items) {
      if (item.definitions && item.message.empty() && !item.StandardInput() &&
          IsCodeLanguage(item.mode)) {
        AddDefinedNames(item.path, item.mode, identifiers_);
      }
    }
  }

  std::vector<Item> items;
  std::vector<catalogue::RunDictionaries> sets;

 private:
  void AddStandardInput() {
    const fs::path folder = NormalPath(".");
    Item item;
    item.path = "-";
    item.name = "<stdin>";
    item.mode = list_.mode.empty() ? "text" : list_.mode;
    Complete(item, folder, configs_.For(folder));
  }

  void AddFile(const std::string& path, const fs::path& absolute, bool walked) {
    const fs::path folder = absolute.parent_path();
    const Config& config = configs_.For(folder);
    Item item;
    item.path = path;
    item.name = path;
    item.walked = walked;
    item.mode = list_.mode;
    if (item.mode.empty()) {
      const ModeRule* rule = config.ModeFor(absolute);
      item.mode = rule ? rule->mode : ModeForFile(path);
    }
    Complete(item, folder, config);
  }

  void AddTree(const std::string& root) {
    WalkOptions walk;
    walk.maxSize = WalkSizeLimit;
    walk.excluded = [this](const fs::path& folder, const fs::path& entry, bool isFolder) {
      return configs_.For(folder).Excludes(entry, isFolder);
    };
    WalkTree(root, walk, [this](WalkVisit&& visit) {
      if (visit.kind == WalkVisit::Kind::File) return AddFile(visit.path, visit.absolute, true);
      Item item;
      item.path = visit.path;
      item.name = visit.path;
      if (visit.kind == WalkVisit::Kind::TooLarge) {
        item.message = visit.path + ": larger than 16 MiB, not checked";
      } else {
        item.message = visit.message;
        item.failed = true;
      }
      items.push_back(std::move(item));
    });
  }

  void Complete(Item& item, const fs::path& folder, const Config& config) {
    item.accepted = &words_.ForFolder(folder, config.words.value,
                                      config.words.set ? config.Where(config.words.line) : "");
    item.dictionaries = SetFor(config);
    item.definitions = !config.identifiers.set || config.identifiers.value;
    item.context = ContextFor(config, item.mode);
    items.push_back(std::move(item));
  }

  const WordContext* ContextFor(const Config& config, const std::string& mode) {
    const auto key = std::make_pair(&config, mode);
    if (const auto known = contextOf_.find(key); known != contextOf_.end()) return known->second;
    WordContext& context = contexts_.emplace_back();
    const bool english = IsEnglishRun(sets[SetFor(config)]);
    for (const std::string& name : config.VocabulariesFor(mode, nullptr, english)) {
      if (const Vocabulary* vocabulary = vocabularies_.Get(name)) {
        context.vocabularies.push_back(vocabulary);
      }
    }
    if (!config.identifiers.set || config.identifiers.value) context.identifiers = &identifiers_;
    context.compounds = IsCodeLanguage(mode);
    context.english = english;
    context.minLength =
        config.minWordLength.set ? config.minWordLength.value : DefaultMinWordLength;
    contextOf_.emplace(key, &context);
    return &context;
  }

  std::size_t SetFor(const Config& config) {
    if (const auto known = setOf_.find(&config); known != setOf_.end()) return known->second;
    catalogue::RunDictionaries run = catalogue::ResolveDictionaries(WithConfig(options_, config));
    std::size_t index = 0;
    while (index < sets.size() && !SameDictionaries(sets[index].set, run.set)) ++index;
    if (index == sets.size()) {
      try {
        if (run.set.mains.empty()) catalogue::RequireReadable(fs_, std::string(), "main");
        for (const engine::MainDictionary& main : run.set.mains) {
          catalogue::RequireReadable(fs_, main.file, "main");
        }
      } catch (const std::runtime_error& error) {
        if (!options_.main.empty() || !config.main.set) throw;
        throw ToolError(std::string(error.what()) + " (named in " + config.Where(config.main.line) +
                        ")");
      }
      sets.push_back(std::move(run));
    }
    setOf_.emplace(&config, index);
    return index;
  }

  store::FileSystem& fs_;
  const catalogue::DictionaryOptions& options_;
  const ListOptions& list_;
  ConfigFinder configs_;
  ProjectWords words_;
  std::map<const Config*, std::size_t> setOf_;
  VocabularyCache vocabularies_;
  WordSet identifiers_;
  std::deque<WordContext> contexts_;
  std::map<std::pair<const Config*, std::string>, const WordContext*> contextOf_;
};

// The listers of one thread, one for each dictionary set it meets, each with
// a speller of its own (a speller remembers answers and is not shared).
class Checkers {
 public:
  Checkers(store::FileSystem& fs, const std::vector<catalogue::RunDictionaries>& sets, bool utf8,
           const ListOptions& list, const std::string& encoding)
      : fs_(fs), sets_(sets), utf8_(utf8), list_(list), encoding_(encoding) {}

  TextLister& For(std::size_t index) {
    Checker& checker = checkers_[index];
    if (!checker.lister) {
      checker.speller = std::make_unique<engine::Speller>(
          catalogue::MakeSpeller(fs_, sets_[index], catalogue::Reading::InMemory));
      checker.lister = std::make_unique<TextLister>(*checker.speller, utf8_, list_, encoding_);
    }
    return *checker.lister;
  }

 private:
  struct Checker {
    std::unique_ptr<engine::Speller> speller;
    std::unique_ptr<TextLister> lister;
  };
  store::FileSystem& fs_;
  const std::vector<catalogue::RunDictionaries>& sets_;
  bool utf8_;
  const ListOptions& list_;
  const std::string& encoding_;
  std::map<std::size_t, Checker> checkers_;
};

struct Outcome {
  bool found = false;
  bool failed = false;
};

// Checks one input. An input that cannot be read is a message and a failure
// of its own and stops no other.
Outcome CheckItem(const Item& item, Checkers& checkers, Sink& sink) {
  Outcome outcome;
  if (!item.message.empty()) {
    sink.Message(item.message);
    outcome.failed = item.failed;
    return outcome;
  }
  TextLister& lister = checkers.For(item.dictionaries);
  try {
    if (item.StandardInput()) {
      outcome.found = lister.List(STDIN_FILENO, item, sink);
    } else {
      const FileDescriptor fd = OpenForReading(item.path);
      outcome.found = lister.List(fd.Get(), item, sink);
    }
  } catch (const OutputError&) {
    throw;
  } catch (const ToolError& error) {
    sink.Message(error.what());
    outcome.failed = true;
  }
  return outcome;
}

// Checks the files on `jobs` threads while this one hands each file's
// findings on to `direct` in the inputs' order (and reads standard input
// itself, when its turn comes). Answers whether any was found and any failed.
Outcome CheckInParallel(const std::vector<Item>& items, unsigned jobs,
                        const std::function<Checkers()>& makeCheckers, Checkers& own,
                        Sink& direct) {
  struct Slot {
    BufferSink sink;
    Outcome outcome;
    std::exception_ptr error;
    bool done = false;
  };
  std::vector<Slot> slots(items.size());
  std::mutex mutex;
  std::condition_variable finished;  // a slot is done
  std::condition_variable room;      // the main thread has handed one on
  std::size_t handedOn = 0;          // slots before it are handed on
  // The workers keep at most this many files ahead of the output, so that
  // what waits in memory stays bounded whatever the tree.
  const std::size_t ahead = std::size_t(4) * jobs;
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stop{false};
  const auto work = [&] {
    std::optional<Checkers> checkers;
    while (!stop) {
      const std::size_t index = next++;
      if (index >= items.size()) return;
      if (items[index].StandardInput()) continue;
      {
        std::unique_lock<std::mutex> lock(mutex);
        room.wait(lock, [&] { return stop || index < handedOn + ahead; });
        if (stop) return;
      }
      Slot& slot = slots[index];
      try {
        if (!checkers) checkers.emplace(makeCheckers());
        slot.outcome = CheckItem(items[index], *checkers, slot.sink);
      } catch (...) {
        slot.error = std::current_exception();
      }
      {
        const std::lock_guard<std::mutex> lock(mutex);
        slot.done = true;
      }
      finished.notify_all();
    }
  };
  std::vector<std::thread> threads;
  // However this thread leaves, the workers stop after their current file.
  struct Joiner {
    std::vector<std::thread>& threads;
    std::atomic<bool>& stop;
    std::mutex& mutex;
    std::condition_variable& room;
    ~Joiner() {
      {
        const std::lock_guard<std::mutex> lock(mutex);
        stop = true;
      }
      room.notify_all();
      for (std::thread& thread : threads) thread.join();
    }
  } joiner{threads, stop, mutex, room};
  for (unsigned i = 0; i < jobs; ++i) threads.emplace_back(work);

  Outcome all;
  for (std::size_t index = 0; index < items.size(); ++index) {
    Outcome outcome;
    if (items[index].StandardInput()) {
      outcome = CheckItem(items[index], own, direct);
    } else {
      Slot& slot = slots[index];
      {
        std::unique_lock<std::mutex> lock(mutex);
        finished.wait(lock, [&slot] { return slot.done; });
      }
      slot.sink.Replay(direct);
      if (slot.error) std::rethrow_exception(slot.error);
      outcome = slot.outcome;
    }
    {
      const std::lock_guard<std::mutex> lock(mutex);
      handedOn = index + 1;
    }
    room.notify_all();
    all.found = all.found || outcome.found;
    all.failed = all.failed || outcome.failed;
  }
  return all;
}

}  // namespace

unsigned ListJobs(unsigned asked) {
  if (asked > 0) return asked;
  return std::max(1u, std::thread::hardware_concurrency());
}

int RunList(store::FileSystem& fs, const catalogue::DictionaryOptions& options,
            const ListOptions& list) {
  TextCodec codec(options.encoding);
  Output out(STDOUT_FILENO, codec);
  const std::unique_ptr<Reporter> reporter =
      MakeReporter(list.format, out, {.where = list.where, .suggest = list.suggest});
  if (!list.mode.empty()) MakeFilter(list.mode);  // an unknown mode fails before any file

  Plan plan(fs, options, list);
  if (list.files.empty()) plan.Add("-");
  for (const std::string& file : list.files) plan.Add(file);
  plan.Finish();
  const std::vector<Item>& items = plan.items;

  const bool utf8 = codec.IsUtf8();
  ReportSink direct(out, *reporter);
  Checkers own(fs, plan.sets, utf8, list, options.encoding);
  const auto files =
      static_cast<std::size_t>(std::count_if(items.begin(), items.end(), [](const Item& item) {
        return !item.StandardInput() && item.message.empty();
      }));
  const unsigned jobs = static_cast<unsigned>(std::min<std::size_t>(ListJobs(list.jobs), files));
  Outcome all;
  if (jobs <= 1) {
    for (const Item& item : items) {
      const Outcome outcome = CheckItem(item, own, direct);
      all.found = all.found || outcome.found;
      all.failed = all.failed || outcome.failed;
    }
  } else {
    all = CheckInParallel(
        items, jobs, [&] { return Checkers(fs, plan.sets, utf8, list, options.encoding); }, own,
        direct);
  }
  reporter->Finish();
  out.Flush();
  if (all.failed) return ExitError;
  return all.found ? ExitFound : ExitOk;
}

}  // namespace spellcheck::tool
