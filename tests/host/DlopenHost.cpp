// A host that includes only the public header and loads the library at run
// time: it is not linked to the library. Usage: host_dlopen_test LIBRARY
#include <spellcheck/SpellCheck.h>

#include <dlfcn.h>
#include <stdlib.h>
#include <unistd.h>

#include <sys/stat.h>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

int passed = 0;
int failed = 0;

void Expect(bool ok, const char* what) {
  if (ok) {
    ++passed;
  } else {
    ++failed;
    std::printf("FAILED: %s\n", what);
  }
}

bool Exists(const char* name) {
  struct stat st;
  return ::stat(name, &st) == 0;
}

using spellcheck::DefaultDic;
#define MARKERS10                                                                                 \
  DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, \
      DefaultDic, DefaultDic

void Run(spellcheck::CreateSpellerCheckFunction create) {
  spellcheck::TSpellerCheck* checker = create();
  spellcheck::TSpellerCheck* other = create();

  Expect(std::strcmp(checker->GetMainDic(), "main.dic") == 0, "default main dictionary name");
  Expect(std::strcmp(checker->GetCustDic(), "cust.dic") == 0, "default custom dictionary name");
  static const char kOtherMain[] = "other-main.dic";
  other->SetMainDic(kOtherMain);
  Expect(other->GetMainDic() == kOtherMain, "setter keeps the host's pointer");
  Expect(std::strcmp(checker->GetMainDic(), "main.dic") == 0, "checkers keep separate names");
  other->SetCustDic("c2.dic");
  Expect(std::strcmp(other->GetCustDic(), "c2.dic") == 0, "custom name set");

  // Slot 6: to the custom dictionary by default, created on first use.
  Expect(checker->AddWord("hello", DefaultDic), "AddWord writes a new word");
  Expect(Exists("cust.dic"), "AddWord created cust.dic");
  Expect(!checker->AddWord("hello", DefaultDic), "AddWord refuses a stored word");
  for (const char* word : {"house", "horse", "mouse"}) {
    Expect(checker->AddWord(word, "main.dic"), "AddWord to a named dictionary");
  }

  // Slot 4.
  Expect(checker->CheckWord("house", false, false, DefaultDic, MARKERS10), "main holds house");
  Expect(checker->CheckWord("House", false, false, DefaultDic, MARKERS10), "capitalised word");
  Expect(!checker->CheckWord("hello", false, false, DefaultDic, MARKERS10),
         "custom not consulted without UseExtra");
  Expect(checker->CheckWord("hello", true, false, DefaultDic, MARKERS10),
         "custom consulted with UseExtra");

  // Slot 5.
  const char* suggestions = checker->SuggestWords("hous", false, false, DefaultDic, MARKERS10);
  Expect(suggestions != nullptr && std::strcmp(suggestions, "house") == 0, "suggestions for hous");
  const char* none = checker->SuggestWords("x", false, false, DefaultDic, MARKERS10);
  Expect(none != nullptr && *none == '\0', "a one-letter word has no suggestions");

  // Slot 7: the custom dictionary is emptied and deleted.
  Expect(checker->DeleteWord("hello", true, false, DefaultDic, DefaultDic), "DeleteWord");
  Expect(!Exists("cust.dic"), "emptied dictionary deleted");

  // Slot 8.
  Expect(checker->AddWord("zebra", DefaultDic), "AddWord zebra");
  Expect(checker->MergeDictionary(DefaultDic, DefaultDic), "MergeDictionary");
  Expect(!Exists("cust.dic"), "merged source deleted");
  Expect(checker->CheckWord("zebra", false, false, DefaultDic, MARKERS10), "merged word in main");
  Expect(!checker->MergeDictionary(DefaultDic, DefaultDic), "merge of an absent source");

  // Errors are caught by type, with their code and message.
  bool caught = false;
  try {
    checker->AddWord("word", "no-such-folder/x.dic");
  } catch (const spellcheck::EInOutError& error) {
    caught = true;
    Expect(error.ErrorCode == 3, "error code 3 for a missing folder");
    Expect(std::strcmp(error.what(), "Invalid filename") == 0, "message of code 3");
  } catch (...) {
  }
  Expect(caught, "EInOutError caught by type");

  delete other;
  delete checker;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s LIBRARY\n", argv[0]);
    return 2;
  }
  void* library = ::dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "dlopen: %s\n", ::dlerror());
    return 2;
  }
  char folder[] = "/tmp/spellcheck-host-XXXXXX";
  if (::mkdtemp(folder) == nullptr || ::chdir(folder) != 0) return 2;

  auto create = reinterpret_cast<spellcheck::CreateSpellerCheckFunction>(
      ::dlsym(library, "CreateSpellerCheck"));
  Expect(create != nullptr, "CreateSpellerCheck is exported");
  if (create != nullptr) {
    try {
      Run(create);
    } catch (const std::exception& error) {
      Expect(false, error.what());
    }
  }
  ::dlclose(library);
  ::unlink("main.dic");
  ::unlink("cust.dic");
  ::chdir("/");
  ::rmdir(folder);
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
