// compile: makes the compiled forms of dictionaries on purpose (the engine
// makes them at first use anyway), and says what each is and where it is.
#include <chrono>
#include <iostream>
#include <thread>

#include "catalogue/Folders.h"
#include "commands/Commands.h"
#include "engine/CompiledForms.h"
#include "errors/ToolError.h"

namespace spellcheck::tool {
namespace {

struct Named {
  std::string tag;
  engine::MainDictionary main;
};

std::vector<Named> Chosen(const catalogue::DictionaryOptions& options, bool all) {
  std::vector<Named> chosen;
  if (all) {
    for (const catalogue::Language& language : catalogue::InstalledLanguages()) {
      chosen.push_back({language.tag, catalogue::MainOf(language)});
    }
    return chosen;
  }
  const catalogue::RunDictionaries run = catalogue::ResolveDictionaries(options);
  for (const engine::MainDictionary& main : run.set.mains) {
    std::string tag = main.file;
    for (const catalogue::Language& language : run.languages.languages) {
      if (language.file == main.file) tag = language.tag;
    }
    chosen.push_back({tag, main});
  }
  return chosen;
}

// Files changed within the last moment are compiled once they are quiet:
// only then does their state name their contents.
void WaitUntilQuiet(store::FileSystem& fs, const engine::MainDictionary& main) {
  for (const engine::CompiledForm& form : engine::FormsOf(fs, main)) {
    if (!form.compilable) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1100));
      return;
    }
  }
}

std::string Megabytes(std::size_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
  return text;
}

}  // namespace

int RunCompile(store::FileSystem& fs, const catalogue::DictionaryOptions& options,
               const CompileOptions& compile) {
  const std::string folder = compile.into.empty() ? catalogue::CacheFolder() : compile.into;
  if (folder.empty()) {
    throw ToolError(
        "no folder for compiled dictionaries ($SPELLCHECK_CACHE is empty, or there is no home); "
        "name one with --into");
  }
  const compiled::Cache cache(fs, folder);
  int missing = 0;
  for (const Named& each : Chosen(options, compile.all)) {
    WaitUntilQuiet(fs, each.main);
    catalogue::RunDictionaries one;
    one.set.mains = {each.main};
    try {
      catalogue::MakeSpeller(fs, one, catalogue::Reading::InMemory, cache).Prepare();
    } catch (const std::exception& error) {
      std::cerr << "spellcheck: " << each.tag << ": " << error.what() << "\n";
      ++missing;
      continue;
    }
    for (const engine::CompiledForm& form : engine::FormsOf(fs, each.main)) {
      std::cout << each.tag << "  " << form.What() << "  ";
      std::string path;
      if (const auto image = cache.Find(form.kind, form.name, form.key, &path);
          image != nullptr && image->VerifyAll()) {
        std::cout << path << "  " << Megabytes(image->Size()) << "\n";
      } else {
        std::cout << "not compiled\n";
        ++missing;
      }
    }
  }
  if (missing != 0) {
    throw ToolError("could not compile everything into " + folder +
                    " (a folder that only its owner may write, on a disk with room)");
  }
  return ExitOk;
}

// " (compiled)", " (compiled: words)", " (not compiled)"; nothing without a
// cache folder.
std::string CompiledState(store::FileSystem& fs, const engine::MainDictionary& main) {
  const compiled::Cache cache = catalogue::RunCache(fs);
  if (!cache.Enabled()) return {};
  std::string found;
  std::size_t count = 0, total = 0;
  for (const engine::CompiledForm& form : engine::FormsOf(fs, main)) {
    ++total;
    const auto image = cache.Find(form.kind, form.name, form.key);
    if (image == nullptr || !image->VerifyAll()) continue;
    found += (count++ == 0 ? "" : ", ") + std::string(form.What());
  }
  if (count == 0) return " (not compiled)";
  return count == total ? " (compiled)" : " (compiled: " + found + ")";
}

}  // namespace spellcheck::tool
