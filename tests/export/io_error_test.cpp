#include "export/io_error.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace kalvian {
namespace {

TEST(IoErrorMessage, MapsTheSystemErrors) {
    const struct {
        int error;
        FileOperation operation;
        const char* message;
    } cases[] = {
        {ENOENT, FileOperation::Read, "File not found"},
        {ENOENT, FileOperation::Create, "Invalid filename"},
        {ENOTDIR, FileOperation::Create, "Invalid filename"},
        {ENAMETOOLONG, FileOperation::Create, "Invalid filename"},
        {EMFILE, FileOperation::Create, "Too many open files"},
        {ENFILE, FileOperation::Create, "Too many open files"},
        {EACCES, FileOperation::Create, "File access denied"},
        {EPERM, FileOperation::Write, "File access denied"},
        {EROFS, FileOperation::Create, "File access denied"},
        {EISDIR, FileOperation::Create, "File access denied"},
        {ENOSPC, FileOperation::Write, "Disk full"},
        {EDQUOT, FileOperation::Write, "Disk full"},
        {EIO, FileOperation::Write, "I/O error 5"},
        {EBUSY, FileOperation::Create, "I/O error 16"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ioErrorMessage(c.error, c.operation), c.message) << c.error;
    }
}

} // namespace
} // namespace kalvian
