// spellcheck: a spelling-checker library.
//
// The library exports one function, CreateSpellerCheck, which makes a checker
// object. Every service is a virtual operation of that object, reached through
// its table of operations, so a host that loads the library at run time
// (dlopen/LoadLibrary) needs nothing from it but this header and that one
// symbol. Everything a host touches here is complete and inline.
//
// Dictionaries are word-list files: 25-byte records (a length byte and 24
// character bytes, code page 1252), in ascending byte order.
#ifndef SPELLCHECK_SPELLCHECK_H
#define SPELLCHECK_SPELLCHECK_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>

#if defined(_WIN32)
#if defined(SPELLCHECK_BUILDING_LIBRARY)
#define SPELLCHECK_EXPORT __declspec(dllexport)
#else
#define SPELLCHECK_EXPORT __declspec(dllimport)
#endif
#define SPELLCHECK_TYPE
#else
#define SPELLCHECK_EXPORT __attribute__((visibility("default")))
// Classes whose type information crosses the library boundary (exceptions are
// caught by type in the host) keep default visibility.
#define SPELLCHECK_TYPE __attribute__((visibility("default")))
#endif

namespace spellcheck {

// Passed in place of a dictionary name, this pointer value means "the default
// dictionary" (or, further down a list of dictionaries, "no more"). It is
// tested by its value only; the text at a real pointer is never looked at.
inline constexpr std::uintptr_t DefaultMarkerValue = 32;
inline const char* const DefaultDic = reinterpret_cast<const char*>(DefaultMarkerValue);

inline bool IsDefaultMarker(const char* name) {
  return reinterpret_cast<std::uintptr_t>(name) == DefaultMarkerValue;
}

// Base of every error the library raises. The message is held in the object
// itself, so copying or destroying it never touches the library's memory.
class SPELLCHECK_TYPE Exception : public std::exception {
 public:
  explicit Exception(const char* message) { SetMessage(message); }
  const char* what() const noexcept override { return Message; }

 protected:
  void SetMessage(const char* message) {
    std::strncpy(Message, message ? message : "", sizeof Message - 1);
    Message[sizeof Message - 1] = '\0';
  }

 private:
  char Message[256] = {};
};

// A failed file step: ErrorCode is the numeric code, what() its message.
class SPELLCHECK_TYPE EInOutError : public Exception {
 public:
  explicit EInOutError(int code) : Exception(""), ErrorCode(code) {
    char text[32];
    std::snprintf(text, sizeof text, "I/O error %d", code);
    SetMessage(MessageFor(code) ? MessageFor(code) : text);
  }

  static const char* MessageFor(int code) {
    switch (code) {
      case 2:
        return "File not found";
      case 3:
        return "Invalid filename";
      case 4:
        return "Too many open files";
      case 5:
        return "File access denied";
      case 100:
        return "Read beyond end of file";
      case 101:
        return "Disk full";
      case 106:
        return "Invalid numeric input";
      default:
        return nullptr;
    }
  }

  int ErrorCode;
};

class SPELLCHECK_TYPE EOutOfMemory : public Exception {
 public:
  EOutOfMemory() : Exception("Out of memory") {}
};

// Root of the object model: a host destroys a checker with `delete`.
class SPELLCHECK_TYPE TObject {
 public:
  virtual ~TObject() = default;
};

// The checker. Operations in slot order; every dictionary-name argument also
// accepts DefaultDic. A null text pointer reads as the empty text.
class SPELLCHECK_TYPE TSpellerCheck : public TObject {
 public:
  // Slots 0-3: the main ("main.dic") and custom ("cust.dic") dictionary names.
  // The setters keep the host's pointer itself; the text must stay valid.
  virtual const char* GetMainDic() = 0;
  virtual void SetMainDic(const char* Name) = 0;
  virtual const char* GetCustDic() = 0;
  virtual void SetCustDic(const char* Name) = 0;

  // Slot 4: true when MainDic holds Word, or, with UseExtra, one of the further
  // dictionaries Dic1..Dic10 (Dic1 defaults to the custom dictionary; a
  // DefaultDic in Dic2..Dic10 ends the list).
  virtual bool CheckWord(const char* Word, bool UseExtra, bool IgnoreCase, const char* MainDic,
                         const char* Dic1, const char* Dic2, const char* Dic3, const char* Dic4,
                         const char* Dic5, const char* Dic6, const char* Dic7, const char* Dic8,
                         const char* Dic9, const char* Dic10) = 0;

  // Slot 5: words similar to Word, joined by ", ". The text belongs to the
  // checker and stays valid until the next call on it; never null.
  virtual const char* SuggestWords(const char* Word, bool UseExtra, bool IgnoreCase,
                                   const char* MainDic, const char* Dic1, const char* Dic2,
                                   const char* Dic3, const char* Dic4, const char* Dic5,
                                   const char* Dic6, const char* Dic7, const char* Dic8,
                                   const char* Dic9, const char* Dic10) = 0;

  // Slot 6: inserts Word into Dic (default: the custom dictionary); true when written.
  virtual bool AddWord(const char* Word, const char* Dic) = 0;

  // Slot 7: removes Word from Dic (default: main) or, failing that and with
  // UseSecond, from SecondDic (default: custom); true when either removed it.
  virtual bool DeleteWord(const char* Word, bool UseSecond, bool IgnoreCase, const char* Dic,
                          const char* SecondDic) = 0;

  // Slot 8: moves every word of SourceDic (default: custom) into TargetDic
  // (default: main) and deletes the source; false when the source cannot be opened.
  virtual bool MergeDictionary(const char* SourceDic, const char* TargetDic) = 0;

 protected:
  TSpellerCheck() = default;
  TSpellerCheck(const TSpellerCheck&) = default;
  TSpellerCheck& operator=(const TSpellerCheck&) = default;
};

// The type of CreateSpellerCheck, for hosts that look it up at run time.
using CreateSpellerCheckFunction = TSpellerCheck* (*)();

}  // namespace spellcheck

// Makes a new checker with the default dictionary names. Raises
// spellcheck::EOutOfMemory when no memory can be had.
extern "C" SPELLCHECK_EXPORT spellcheck::TSpellerCheck* CreateSpellerCheck();

#endif  // SPELLCHECK_SPELLCHECK_H
