// dump and verify: a dictionary file's words, and a check of its form; dicts:
// the installed languages and the dictionaries of a run.
#include <spellcheck/SpellCheck.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <system_error>

#include "commands/Commands.h"
#include "commands/ToolError.h"
#include "commands/Vocabularies.h"
#include "input/TextCodec.h"
#include "output/Output.h"
#include "store/FileSystem.h"
#include "store/RecordFile.h"
#include "store/TvarWord.h"
#include "text/Cp1252.h"

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

int RunVerify(store::FileSystem& fs, const std::string& file) {
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

int RunDicts(const DictionaryOptions& options) {
  const std::vector<Language> installed = InstalledLanguages();
  if (installed.empty()) {
    std::cout << "no language dictionaries in";
    for (const std::string& folder : DataFolders()) std::cout << " " << folder;
    std::cout << "\n";
  }
  for (const Language& language : installed) {
    std::error_code error;
    const auto size = std::filesystem::file_size(language.file, error);
    std::cout << language.tag << "  " << (error ? 0 : size / store::RecordSize) << " words  "
              << language.file << "\n";
  }
  const RunDictionaries run = ResolveDictionaries(options);
  std::cout << "this run: ";
  if (run.languages.languages.empty()) {
    std::cout << "no language (the main dictionary is a file)";
  } else {
    const char* separator = "";
    for (const Language& language : run.languages.languages) {
      std::cout << separator << language.tag;
      separator = ",";
    }
    std::cout << " (" << run.languages.from << ")";
  }
  std::cout << "\n";
  for (const engine::MainDictionary& main : run.set.mains)
    std::cout << "  main: " << main.file << "\n";
  for (const std::string& further : run.set.Further()) {
    std::cout << "  " << (run.set.custom && further == *run.set.custom ? "custom" : "further")
              << ": " << further << "\n";
  }
  PrintVocabularies(std::cout);
  return ExitOk;
}

}  // namespace spellcheck::tool
