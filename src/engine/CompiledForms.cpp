#include "engine/CompiledForms.h"

#include <filesystem>

namespace spellcheck::engine {
namespace {

// A file's name as the cache knows it: whatever way a run names the file
// (a relative path, another folder's "..") finds the same compiled form.
std::string Absolute(const std::string& path) {
  if (path.empty()) return path;
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

bool Quiet(std::initializer_list<const FileState*> states) {
  const std::int64_t now = WallClockNs();
  for (const FileState* state : states) {
    if (!state->exists || !Settled(*state, now)) return false;
  }
  return true;
}

}  // namespace

const char* CompiledForm::What() const {
  switch (kind) {
    case compiled::Kind::Records:
      return "words";
    case compiled::Kind::Ranked:
      return "ranked index";
    case compiled::Kind::Hunspell:
      return "stems";
  }
  return "";
}

CompiledForm RecordsForm(const std::string& file, const FileState& state) {
  CompiledForm form;
  form.kind = compiled::Kind::Records;
  form.name = Absolute(file);
  AddTo(form.key, form.name, state);
  form.compilable = Quiet({&state});
  return form;
}

CompiledForm RankedForm(store::FileSystem& fs, const MainDictionary& main, const FileState& state) {
  CompiledForm form;
  form.kind = compiled::Kind::Ranked;
  form.name = Absolute(main.file) + "\n" + Absolute(main.levels);
  AddTo(form.key, Absolute(main.file), state);
  // Without a levels file every word counts as equally common: no source.
  const FileState levels = main.levels.empty() ? FileState{} : LookAt(fs, main.levels);
  AddTo(form.key, Absolute(main.levels), levels);
  form.key.Add(main.englishSounds ? 1 : 0);
  form.compilable = Quiet({&state}) && Settled(levels, WallClockNs());
  return form;
}

CompiledForm HunspellForm(const std::string& aff, const FileState& affState, const std::string& dic,
                          const FileState& dicState) {
  CompiledForm form;
  form.kind = compiled::Kind::Hunspell;
  form.name = Absolute(aff) + "\n" + Absolute(dic);
  AddTo(form.key, Absolute(aff), affState);
  AddTo(form.key, Absolute(dic), dicState);
  form.compilable = Quiet({&affState, &dicState});
  return form;
}

std::vector<CompiledForm> FormsOf(store::FileSystem& fs, const MainDictionary& main) {
  const FileState state = LookAt(fs, main.file);
  if (main.IsHunspell()) return {HunspellForm(main.aff, LookAt(fs, main.aff), main.file, state)};
  return {RecordsForm(main.file, state), RankedForm(fs, main, state)};
}

}  // namespace spellcheck::engine
