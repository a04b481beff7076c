// The codes of the file-access layer: POSIX error numbers mapped onto the
// store's table, the system's own number kept beside, and the outcome type.
#include <gtest/gtest.h>
#include <spellcheck/SpellCheck.h>

#include "store/FileSystem.h"

#if !defined(_WIN32)
#include <cerrno>

#include "store/PosixErrors.h"
#endif

namespace spellcheck::store {
namespace {

TEST(StoreErrorCode, ComparesByCodeAndKeepsTheSystemsNumberBeside) {
  const IoCode denied(5, 13);
  EXPECT_EQ(denied, code::AccessDenied);
  EXPECT_NE(denied, code::Ok);
  EXPECT_EQ(denied.Code(), 5);
  EXPECT_EQ(denied.SystemError(), 13);
  EXPECT_EQ(static_cast<int>(denied), 5);
  EXPECT_TRUE(static_cast<bool>(denied));
  EXPECT_FALSE(static_cast<bool>(code::Ok));
}

#if !defined(_WIN32)
struct ErrnoCase {
  int err;
  int code;
};

class ErrnoMapping : public ::testing::TestWithParam<ErrnoCase> {};

TEST_P(ErrnoMapping, BecomesTheWindowsNumberOfTheSameFailure) {
  const IoCode rc = CodeForErrno(GetParam().err);
  EXPECT_EQ(rc.Code(), GetParam().code);
  EXPECT_EQ(rc.SystemError(), GetParam().err);
}

INSTANTIATE_TEST_SUITE_P(
    StoreErrorCode, ErrnoMapping,
    ::testing::Values(ErrnoCase{0, 0}, ErrnoCase{ENOENT, 2}, ErrnoCase{ENAMETOOLONG, 3},
                      ErrnoCase{ENOTDIR, 3}, ErrnoCase{ELOOP, 3}, ErrnoCase{EMFILE, 4},
                      ErrnoCase{ENFILE, 4}, ErrnoCase{EACCES, 5}, ErrnoCase{EPERM, 5},
                      ErrnoCase{EROFS, 5}, ErrnoCase{EISDIR, 5}, ErrnoCase{EBADF, 6},
                      ErrnoCase{ENOMEM, 8}, ErrnoCase{EXDEV, 17}, ErrnoCase{ETXTBSY, 32},
                      ErrnoCase{EBUSY, 32}, ErrnoCase{EOPNOTSUPP, 50}, ErrnoCase{ENOSYS, 50},
                      ErrnoCase{EEXIST, 80}, ErrnoCase{EINVAL, 87}, ErrnoCase{ENOSPC, 112},
                      ErrnoCase{EDQUOT, 112}, ErrnoCase{EFBIG, 112}, ErrnoCase{EIO, 1117},
                      // Without a counterpart: its own number, marked.
                      ErrnoCase{EAGAIN, code::UnmappedSystemError | EAGAIN},
                      ErrnoCase{ENOLCK, code::UnmappedSystemError | ENOLCK}));

TEST(StoreErrorCode, NoErrnoReadsAsOneOfTheLayersOwnCodes) {
  for (int err = 1; err < 4096; ++err) {
    const int mapped = CodeForErrno(err).Code();
    EXPECT_FALSE(mapped >= 100 && mapped <= 106) << "errno " << err << " reads as " << mapped;
    EXPECT_NE(mapped, 0) << "errno " << err << " reads as success";
  }
}

TEST(StoreErrorCode, ALinkLoopIsAnInvalidFilename) {
  EXPECT_STREQ(EInOutError(CodeForErrno(ELOOP).Code()).what(), "Invalid filename");
}
#endif

}  // namespace
}  // namespace spellcheck::store
