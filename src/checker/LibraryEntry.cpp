// The shared library's own translation unit: its only export, the factory,
// comes from the core, which is linked in whole.
#include <spellcheck/SpellCheck.h>

namespace {
// Keeps a reference to the factory so that the linker never drops it.
[[maybe_unused]] spellcheck::CreateSpellerCheckFunction const keepFactory = &CreateSpellerCheck;
}  // namespace
