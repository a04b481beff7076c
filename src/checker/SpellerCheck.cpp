#include "checker/SpellerCheck.h"

namespace spellcheck {

const char* const DefaultMainDicName = "main.dic";
const char* const DefaultCustDicName = "cust.dic";

}  // namespace spellcheck

extern "C" SPELLCHECK_EXPORT spellcheck::TSpellerCheck* CreateSpellerCheck() {
  auto* checker = new (std::nothrow) spellcheck::SpellerCheck();
  if (checker == nullptr) throw spellcheck::EOutOfMemory();
  return checker;
}
