// dump and verify: a dictionary file's words, and a check of its form; dicts:
// the installed languages and the dictionaries of a run.
#include <spellcheck/SpellCheck.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <system_error>

#include "catalogue/Folders.h"
#include "commands/Commands.h"
#include "errors/ToolError.h"
#include "hunspell/Dictionary.h"
#include "input/TextCodec.h"
#include "output/Output.h"
#include "store/FileSystem.h"
#include "store/RecordFile.h"
#include "store/TvarWord.h"
#include "text/Cp1252.h"
#include "vocabularies/Vocabularies.h"

namespace spellcheck::tool {
namespace {

struct Contents {
  std::vector<store::TvarWord> records;
  std::uint64_t trailingBytes = 0;
};

Contents ReadWholeFile(store::FileSystem& fs, const std::string& file) {
  store::RecordFile records(fs);
  const auto fail = [&](store::IoCode code) {
    throw ToolError(file + ": " + EInOutError(code.Code()).what());
  };
  if (const auto rc = records.OpenExisting(file, store::Access::Read)) fail(rc);
  store::FileInfo info;
  if (const auto rc = records.Info(info)) fail(rc);
  Contents contents;
  if (const auto rc = records.ReadAll(contents.records)) fail(rc);
  contents.trailingBytes = info.size % store::RecordSize;
  if (const auto rc = records.Close()) fail(rc);
  return contents;
}

std::string Shown(const store::TvarWord& record) {
  return text::Cp1252ToUtf8(record.Text());
}

}  // namespace

int RunDump(store::FileSystem& fs, const std::string& file, const std::string& encoding) {
  TextCodec codec(encoding);
  const Contents contents = ReadWholeFile(fs, file);
  Output out(STDOUT_FILENO, codec);
  for (const store::TvarWord& record : contents.records) out << Shown(record) << "\n";
  out.Flush();
  return ExitOk;
}

namespace {

// A Hunspell dictionary (named by its .aff, its .dic or their common stem,
// with the other beside it): every line its reader skips, with file and line.
int VerifyHunspell(store::FileSystem& fs, const catalogue::Language& dictionary) {
  std::vector<std::string> warnings;
  std::unique_ptr<hunspell::Dictionary> loaded;
  try {
    loaded = hunspell::Dictionary::Load(fs, dictionary.aff, dictionary.file, &warnings);
  } catch (const hunspell::LoadError& error) {
    throw ToolError(error.what());
  }
  for (const std::string& warning : warnings) std::cout << warning << "\n";
  std::cout << dictionary.aff << ", " << dictionary.file << ": " << loaded->StemCount()
            << " stems, " << warnings.size()
            << (warnings.size() == 1 ? " problem\n" : " problems\n");
  return warnings.empty() ? ExitOk : ExitFound;
}

bool EndsWith(const std::string& name, const char* ending) {
  return name.size() > 4 && name.ends_with(ending);
}

}  // namespace

int RunVerify(store::FileSystem& fs, const std::string& file) {
  const std::string stem = file.substr(0, file.size() - 4);
  if (EndsWith(file, ".aff") ||
      (EndsWith(file, ".dic") && std::filesystem::is_regular_file(stem + ".aff"))) {
    return VerifyHunspell(fs, catalogue::HunspellAt(file));
  }
  const Contents contents = ReadWholeFile(fs, file);
  std::size_t problems = 0;
  const auto report = [&](std::size_t index, const std::string& what) {
    ++problems;
    std::cout << file << ": record " << index + 1 << ": " << what << "\n";
  };
  for (std::size_t i = 0; i < contents.records.size(); ++i) {
    const store::TvarWord& record = contents.records[i];
    if (record.length > store::MaxWordLength) {
      report(i, "length byte " + std::to_string(record.length) + " is over 24");
    }
    if (i == 0) continue;
    const int order = store::CompareText(contents.records[i - 1].Text(), record.Text());
    if (order > 0) {
      report(i, "'" + Shown(record) + "' is out of order (after '" +
                    Shown(contents.records[i - 1]) + "')");
    } else if (order == 0) {
      report(i, "'" + Shown(record) + "' is a duplicate of the record before");
    }
  }
  if (contents.trailingBytes != 0) {
    ++problems;
    std::cout << file << ": a trailing piece of " << contents.trailingBytes
              << " bytes after the last record\n";
  }
  std::cout << file << ": " << contents.records.size() << " records, " << problems
            << (problems == 1 ? " problem\n" : " problems\n");
  return problems == 0 ? ExitOk : ExitFound;
}

namespace {

// A dictionary's size as its kind counts it: records of a word list, the
// stems a Hunspell .dic announces on its first line.
std::string SizeOf(const catalogue::Language& language) {
  if (language.kind == catalogue::Kind::Hunspell) {
    std::ifstream dic(language.file);
    std::string first;
    std::getline(dic, first);
    return std::to_string(std::strtoull(first.c_str(), nullptr, 10)) + " stems";
  }
  std::error_code error;
  const auto size = std::filesystem::file_size(language.file, error);
  return std::to_string(error ? 0 : size / store::RecordSize) + " words";
}

void PrintLanguage(const catalogue::Language& language) {
  std::cout << language.tag << "  " << catalogue::KindName(language.kind) << "  "
            << SizeOf(language) << "  " << language.file << "\n";
}

}  // namespace

int RunDicts(store::FileSystem& fs, const catalogue::DictionaryOptions& options) {
  std::vector<catalogue::Language> passedOver;
  const std::vector<catalogue::Language> installed = catalogue::AllDictionaries(&passedOver);
  if (installed.empty()) {
    std::cout << "no language dictionaries in";
    for (const std::string& folder : catalogue::DataFolders()) std::cout << " " << folder;
    for (const std::string& folder : catalogue::HunspellFolders()) std::cout << " " << folder;
    std::cout << "\n";
  }
  for (const catalogue::Language& language : installed) PrintLanguage(language);
  if (!passedOver.empty()) {
    std::cout << "also found, not chosen for their tags (-d PATH uses one):\n";
    for (const catalogue::Language& language : passedOver) {
      std::cout << "  ";
      PrintLanguage(language);
    }
  }
  const catalogue::RunDictionaries run = catalogue::ResolveDictionaries(options);
  std::cout << "this run: ";
  if (run.languages.languages.empty()) {
    std::cout << "no language (the main dictionary is a file)";
  } else {
    const char* separator = "";
    for (const catalogue::Language& language : run.languages.languages) {
      std::cout << separator << language.tag;
      separator = ",";
    }
    std::cout << " (" << run.languages.from << ")";
  }
  std::cout << "\n";
  for (const engine::MainDictionary& main : run.set.mains)
    std::cout << "  main: " << main.file << (main.IsHunspell() ? " (hunspell)" : "")
              << CompiledState(fs, main) << "\n";
  for (const std::string& further : run.set.Further()) {
    std::cout << "  " << (run.set.custom && further == *run.set.custom ? "custom" : "further")
              << ": " << further << "\n";
  }
  PrintVocabularies(std::cout);
  return ExitOk;
}

}  // namespace spellcheck::tool
