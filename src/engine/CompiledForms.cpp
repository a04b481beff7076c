#include "engine/CompiledForms.h"

namespace spellcheck::engine {
namespace {

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
  form.name = file;
  AddTo(form.key, file, state);
  form.compilable = Quiet({&state});
  return form;
}

CompiledForm RankedForm(store::FileSystem& fs, const MainDictionary& main,
                        const FileState& state) {
  CompiledForm form;
  form.kind = compiled::Kind::Ranked;
  form.name = main.file + "\n" + main.levels;
  AddTo(form.key, main.file, state);
  // Without a levels file every word counts as equally common: no source.
  const FileState levels = main.levels.empty() ? FileState{} : LookAt(fs, main.levels);
  AddTo(form.key, main.levels, levels);
  form.key.Add(main.englishSounds ? 1 : 0);
  form.compilable = Quiet({&state}) && Settled(levels, WallClockNs());
  return form;
}

CompiledForm HunspellForm(const std::string& aff, const FileState& affState,
                          const std::string& dic, const FileState& dicState) {
  CompiledForm form;
  form.kind = compiled::Kind::Hunspell;
  form.name = aff + "\n" + dic;
  AddTo(form.key, aff, affState);
  AddTo(form.key, dic, dicState);
  form.compilable = Quiet({&affState, &dicState});
  return form;
}

std::vector<CompiledForm> FormsOf(store::FileSystem& fs, const MainDictionary& main) {
  const FileState state = LookAt(fs, main.file);
  if (main.IsHunspell()) return {HunspellForm(main.aff, LookAt(fs, main.aff), main.file, state)};
  return {RecordsForm(main.file, state), RankedForm(fs, main, state)};
}

}  // namespace spellcheck::engine
