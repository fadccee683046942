#include "records/InOutError.h"

#include "tests/core/RowName.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace {

struct MappingCase
{
    const char* name;
    int errnoValue;
    int code;
    const char* message;
};

const MappingCase mappingCases[] = {
    {"MissingFile", ENOENT, 2, "File not found"},
    {"PathThroughAFile", ENOTDIR, 3, "Invalid filename"},
    {"NameTooLong", ENAMETOOLONG, 3, "Invalid filename"},
    {"LinkLoop", ELOOP, 3, "Invalid filename"},
    {"ProcessOutOfHandles", EMFILE, 4, "Too many open files"},
    {"SystemOutOfHandles", ENFILE, 4, "Too many open files"},
    {"NoPermission", EACCES, 5, "File access denied"},
    {"NotAllowed", EPERM, 5, "File access denied"},
    {"ReadOnlyFileSystem", EROFS, 5, "File access denied"},
    {"IsAFolder", EISDIR, 5, "File access denied"},
    {"DiskFull", ENOSPC, ENOSPC, "I/O error 28"},
    {"DeviceFailure", EIO, EIO, "I/O error 5"},
    {"FileTooLarge", EFBIG, EFBIG, "I/O error 27"},
};

class ErrnoMapping : public ::testing::TestWithParam<MappingCase> {};

TEST_P(ErrnoMapping, GivesNumberAndMessage)
{
    const MappingCase& c = GetParam();
    const EInOutError failure = InOutErrorFromErrno(c.errnoValue);
    EXPECT_EQ(failure.errorCode(), c.code);
    EXPECT_EQ(failure.message(), QString::fromLatin1(c.message));
    EXPECT_STREQ(failure.what(), c.message);
}

INSTANTIATE_TEST_SUITE_P(Table, ErrnoMapping, ::testing::ValuesIn(mappingCases), RowName());

} // namespace
