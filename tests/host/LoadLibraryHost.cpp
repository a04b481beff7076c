// A Windows host that includes only the public header and loads the DLL at
// run time with LoadLibraryA: it is not linked to the library.
// Usage: host_loadlibrary_test LIBRARY.dll
#include <spellcheck/SpellCheck.h>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

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
  return ::GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES;
}

// The words of a dictionary file, read with the host's own handle.
std::vector<std::string> Words(const char* name) {
  std::vector<std::string> words;
  const HANDLE file = ::CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return words;
  unsigned char record[25];
  DWORD got = 0;
  while (::ReadFile(file, record, sizeof record, &got, nullptr) && got == sizeof record) {
    words.emplace_back(reinterpret_cast<const char*>(record + 1), record[0] > 24 ? 24 : record[0]);
  }
  ::CloseHandle(file);
  return words;
}

// Runs `call` and expects it to raise EInOutError with `code` and `message`.
template <class Call>
void ExpectInOutError(Call call, int code, const char* message, const char* what) {
  bool caught = false;
  try {
    call();
  } catch (const spellcheck::EInOutError& error) {
    caught = true;
    Expect(error.ErrorCode == code, what);
    Expect(std::strcmp(error.what(), message) == 0, what);
    if (error.ErrorCode != code || std::strcmp(error.what(), message) != 0) {
      std::printf("  got %d \"%s\"\n", error.ErrorCode, error.what());
    }
  } catch (...) {
  }
  Expect(caught, what);
}

using spellcheck::DefaultDic;
#define MARKERS10                                                                                 \
  DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, \
      DefaultDic, DefaultDic

bool InDictionary(spellcheck::TSpellerCheck* checker, const char* word, const char* dic) {
  return checker->CheckWord(word, false, false, dic, MARKERS10);
}

// Every slot, as a host on any platform uses them.
void RunOperations(spellcheck::TSpellerCheck* checker, spellcheck::TSpellerCheck* other) {
  Expect(std::strcmp(checker->GetMainDic(), "main.dic") == 0, "default main dictionary name");
  Expect(std::strcmp(checker->GetCustDic(), "cust.dic") == 0, "default custom dictionary name");
  static const char kOtherMain[] = "other-main.dic";
  other->SetMainDic(kOtherMain);
  Expect(other->GetMainDic() == kOtherMain, "setter keeps the host's pointer");
  Expect(std::strcmp(checker->GetMainDic(), "main.dic") == 0, "checkers keep separate names");
  other->SetCustDic("c2.dic");
  Expect(std::strcmp(other->GetCustDic(), "c2.dic") == 0, "custom name set");

  Expect(checker->AddWord("hello", DefaultDic), "AddWord writes a new word");
  Expect(Exists("cust.dic"), "AddWord created cust.dic");
  Expect(!checker->AddWord("hello", DefaultDic), "AddWord refuses a stored word");
  for (const char* word : {"house", "horse", "mouse"}) {
    Expect(checker->AddWord(word, "main.dic"), "AddWord to a named dictionary");
  }

  Expect(InDictionary(checker, "house", DefaultDic), "main holds house");
  Expect(InDictionary(checker, "House", DefaultDic), "capitalised word");
  Expect(!InDictionary(checker, "hello", DefaultDic), "custom not consulted without UseExtra");
  Expect(checker->CheckWord("hello", true, false, DefaultDic, MARKERS10),
         "custom consulted with UseExtra");

  const char* suggestions = checker->SuggestWords("hous", false, false, DefaultDic, MARKERS10);
  Expect(suggestions != nullptr && std::strcmp(suggestions, "house") == 0, "suggestions for hous");
  const char* none = checker->SuggestWords("x", false, false, DefaultDic, MARKERS10);
  Expect(none != nullptr && *none == '\0', "a one-letter word has no suggestions");

  Expect(checker->DeleteWord("hello", true, false, DefaultDic, DefaultDic), "DeleteWord");
  Expect(!Exists("cust.dic"), "emptied dictionary deleted");

  Expect(checker->AddWord("zebra", DefaultDic), "AddWord zebra");
  Expect(checker->MergeDictionary(DefaultDic, DefaultDic), "MergeDictionary");
  Expect(!Exists("cust.dic"), "merged source deleted");
  Expect(InDictionary(checker, "zebra", DefaultDic), "merged word in main");
  Expect(!checker->MergeDictionary(DefaultDic, DefaultDic), "merge of an absent source");

  ExpectInOutError([&] { checker->AddWord("word", "no-such-folder\\x.dic"); }, 3,
                   "Invalid filename", "a missing folder raises code 3");
}

// Names with backslashes, and full names with a drive letter.
void RunWindowsNames(spellcheck::TSpellerCheck* checker) {
  Expect(::CreateDirectoryA("sub", nullptr) != 0, "folder made");
  Expect(checker->AddWord("alpha", "sub\\words.dic"), "AddWord through a backslash name");
  Expect(Exists("sub\\words.dic"), "file made in the sub-folder");
  Expect(InDictionary(checker, "alpha", "sub\\words.dic"), "lookup through a backslash name");

  char full[MAX_PATH];
  const DWORD length = ::GetFullPathNameA("sub\\words.dic", MAX_PATH, full, nullptr);
  Expect(length > 2 && length < MAX_PATH && full[1] == ':', "full name has a drive letter");
  Expect(checker->AddWord("beta", full), "AddWord through a drive-letter name");
  Expect(InDictionary(checker, "alpha", full), "lookup through a drive-letter name");
  Expect(Words("sub\\words.dic") == std::vector<std::string>({"alpha", "beta"}),
         "one file behind both names");
  Expect(checker->DeleteWord("alpha", false, false, full, DefaultDic), "DeleteWord by full name");
  Expect(checker->DeleteWord("beta", false, false, full, DefaultDic), "last word removed");
  Expect(!Exists("sub\\words.dic"), "emptied dictionary deleted by full name");
}

// Another program holds the dictionary open (without delete sharing, as most
// readers do) while the library rewrites it: the change still lands.
void RunHeldDictionary(spellcheck::TSpellerCheck* checker) {
  Expect(checker->AddWord("delta", "held.dic"), "held.dic made");
  const HANDLE held = ::CreateFileA("held.dic", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  Expect(held != INVALID_HANDLE_VALUE, "host holds held.dic");
  Expect(checker->AddWord("charlie", "held.dic"), "AddWord while another handle holds the file");
  Expect(checker->AddWord("echo", "held.dic"), "second AddWord while held");
  Expect(Words("held.dic") == std::vector<std::string>({"charlie", "delta", "echo"}),
         "rewritten in order while held");
  Expect(checker->DeleteWord("delta", false, false, "held.dic", DefaultDic),
         "DeleteWord while held");
  Expect(Words("held.dic") == std::vector<std::string>({"charlie", "echo"}),
         "removal landed while held");

  // The holder sees the new contents through its own handle.
  unsigned char record[25] = {};
  DWORD got = 0;
  ::SetFilePointer(held, 0, nullptr, FILE_BEGIN);
  Expect(::ReadFile(held, record, sizeof record, &got, nullptr) && got == sizeof record &&
             record[0] == 7 && std::memcmp(record + 1, "charlie", 7) == 0,
         "holder reads the rewritten file");
  if (held != INVALID_HANDLE_VALUE) ::CloseHandle(held);
}

// The read-only attribute: lookups still work, changes raise "access denied".
void RunReadOnlyFile(spellcheck::TSpellerCheck* checker) {
  Expect(checker->AddWord("fixed", "ro.dic"), "ro.dic made");
  Expect(::SetFileAttributesA("ro.dic", FILE_ATTRIBUTE_READONLY) != 0, "read-only attribute set");
  Expect(InDictionary(checker, "fixed", "ro.dic"), "lookup in a read-only dictionary");
  ExpectInOutError([&] { checker->AddWord("other", "ro.dic"); }, 5, "File access denied",
                   "AddWord to a read-only file raises code 5");
  Expect(Words("ro.dic") == std::vector<std::string>({"fixed"}), "read-only file unchanged");
  ::SetFileAttributesA("ro.dic", FILE_ATTRIBUTE_NORMAL);
}

// A file that another program opened without sharing: code 32.
void RunSharingViolation(spellcheck::TSpellerCheck* checker) {
  const HANDLE exclusive = ::CreateFileA("locked.dic", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  Expect(exclusive != INVALID_HANDLE_VALUE, "host holds locked.dic exclusively");
  Expect(!InDictionary(checker, "word", "locked.dic"), "an unshared file is an absent dictionary");
  ExpectInOutError([&] { checker->AddWord("word", "locked.dic"); }, 32, "I/O error 32",
                   "AddWord to an unshared file raises code 32");
  if (exclusive != INVALID_HANDLE_VALUE) ::CloseHandle(exclusive);
}

// Removes what the run left in its folder, then the folder.
void RemoveFolder(const std::string& folder) {
  WIN32_FIND_DATAA entry;
  for (const char* sub : {"\\sub\\*", "\\*"}) {
    const std::string pattern = folder + sub;
    const std::string parent = pattern.substr(0, pattern.size() - 1);
    const HANDLE find = ::FindFirstFileA(pattern.c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) continue;
    do {
      const std::string name = parent + entry.cFileName;
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(name.c_str());
      }
    } while (::FindNextFileA(find, &entry));
    ::FindClose(find);
  }
  ::RemoveDirectoryA((folder + "\\sub").c_str());
  ::RemoveDirectoryA(folder.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s LIBRARY.dll\n", argv[0]);
    return 2;
  }
  char library_path[MAX_PATH];
  if (::GetFullPathNameA(argv[1], MAX_PATH, library_path, nullptr) == 0) return 2;

  char temp[MAX_PATH];
  if (::GetTempPathA(MAX_PATH, temp) == 0) return 2;
  const std::string folder = std::string(temp) + "spellcheck-host-" +
                             std::to_string(::GetCurrentProcessId()) + "-" +
                             std::to_string(::GetTickCount64());
  if (!::CreateDirectoryA(folder.c_str(), nullptr) || !::SetCurrentDirectoryA(folder.c_str())) {
    return 2;
  }

  const HMODULE library = ::LoadLibraryA(library_path);
  if (library == nullptr) {
    std::fprintf(stderr, "LoadLibraryA(%s) failed: %lu\n", library_path, ::GetLastError());
    return 2;
  }
  auto create = reinterpret_cast<spellcheck::CreateSpellerCheckFunction>(
      reinterpret_cast<void*>(::GetProcAddress(library, "CreateSpellerCheck")));
  Expect(create != nullptr, "CreateSpellerCheck is exported");
  if (create != nullptr) {
    spellcheck::TSpellerCheck* checker = create();
    spellcheck::TSpellerCheck* other = create();
    // Each part runs on, whatever an earlier one raised.
    const auto guarded = [](const char* part, auto&& run) {
      try {
        run();
      } catch (const std::exception& error) {
        std::printf("FAILED: %s raised \"%s\"\n", part, error.what());
        ++failed;
      }
    };
    guarded("operations", [&] { RunOperations(checker, other); });
    guarded("Windows names", [&] { RunWindowsNames(checker); });
    guarded("held dictionary", [&] { RunHeldDictionary(checker); });
    guarded("read-only file", [&] { RunReadOnlyFile(checker); });
    guarded("sharing violation", [&] { RunSharingViolation(checker); });
    delete other;
    delete checker;
  }
  ::FreeLibrary(library);

  ::SetCurrentDirectoryA(temp);
  RemoveFolder(folder);
  Expect(!Exists(folder.c_str()), "scratch folder removed");
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
