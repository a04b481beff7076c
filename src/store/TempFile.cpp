#include "store/TempFile.h"

#include <random>

namespace spellcheck::store {
namespace {

constexpr int MaxNameTries = 100;
#if defined(_WIN32)
constexpr const char* FolderSeparators = "/\\:";  // a drive's own folder too
#else
constexpr const char* FolderSeparators = "/";
#endif
constexpr std::size_t MaxNameComponent = 255;

// Random rather than derived from the process, so that forked processes and
// threads never go after the same name twice.
std::string RandomSuffix() {
  static constexpr char digits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device source;
  std::string suffix(10, '0');
  for (char& c : suffix) c = digits[source() % (sizeof digits - 1)];
  return suffix;
}

// ".<name>.<random>" in the folder of `sibling`; a shorter fixed stem when
// that would make too long a name.
std::string NameBeside(const std::string& sibling) {
  const auto slash = sibling.find_last_of(FolderSeparators);
  const std::string folder = slash == std::string::npos ? "" : sibling.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? sibling : sibling.substr(slash + 1);
  const std::string suffix = RandomSuffix();
  std::string name = folder + "." + base + "." + suffix;
  if (base.size() + suffix.size() + 2 > MaxNameComponent || name.size() > MaxFileNameLength) {
    name = folder + ".dic." + suffix;
  }
  return name;
}

}  // namespace

TempFile::~TempFile() {
  if (file_.IsOpen()) file_.Close();
  if (!name_.empty()) fs_.Delete(name_);
}

IoCode TempFile::Create(const std::string& sibling) {
  std::unique_ptr<store::File> unnamed;
  const IoCode rc = fs_.CreateUnnamed(sibling, unnamed);
  if (rc == code::Ok) {
    file_.Adopt(std::move(unnamed));
    unnamed_ = true;
    return rc;
  }
  return rc == code::NotSupported ? CreateNamed(sibling) : rc;
}

IoCode TempFile::CreateNamed(const std::string& sibling) {
  IoCode rc = code::AlreadyExists;
  for (int attempt = 0; attempt < MaxNameTries && rc == code::AlreadyExists; ++attempt) {
    const std::string name = NameBeside(sibling);
    rc = file_.Open(name, Access::ReadWrite, Disposition::CreateNew);
    if (rc == code::Ok) name_ = name;
  }
  return rc;
}

IoCode TempFile::NameBesideOf(const std::string& sibling) {
  IoCode rc = code::AlreadyExists;
  for (int attempt = 0; attempt < MaxNameTries && rc == code::AlreadyExists; ++attempt) {
    const std::string name = NameBeside(sibling);
    rc = file_.Raw()->Link(name);
    if (rc == code::Ok) name_ = name;
  }
  if (rc == code::Ok) unnamed_ = false;
  return rc;
}

IoCode TempFile::Replace(const std::string& target) {
  // A rename needs a name to move: the unnamed file gets a hidden one just
  // before, so only a writer killed between these two steps leaves it behind.
  if (unnamed_) {
    if (const IoCode rc = NameBesideOf(target); rc != code::Ok) return rc;
  }
  if (const IoCode rc = file_.Close(); rc != code::Ok) return rc;
  const IoCode rc = fs_.Rename(name_, target);
  if (rc == code::Ok) name_.clear();
  return rc;
}

IoCode TempFile::TakeFreeName(const std::string& target) {
  if (unnamed_) {
    const IoCode linked = file_.Raw()->Link(target);
    if (linked != code::Ok) return linked;
    unnamed_ = false;
    return file_.Close();
  }
  if (const IoCode rc = file_.Close(); rc != code::Ok) return rc;
  const IoCode rc = fs_.RenameNoReplace(name_, target);
  if (rc == code::Ok) name_.clear();
  return rc;
}

}  // namespace spellcheck::store
