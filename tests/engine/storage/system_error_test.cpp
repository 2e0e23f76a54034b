// SPDX-License-Identifier: MIT
#include "engine/storage/system_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace cf {
namespace {

TEST(SystemErrorText, CommonErrorsHaveItalianTextsAndTheRestTheSystemsOwn)
{
    EXPECT_EQ(SystemErrorText(EACCES), "permesso negato");
    EXPECT_EQ(SystemErrorText(EPERM), "permesso negato");
    EXPECT_EQ(SystemErrorText(ENOSPC), "spazio su disco esaurito");
    EXPECT_EQ(SystemErrorText(EROFS), "file system in sola lettura");
    EXPECT_EQ(SystemErrorText(EISDIR), "è una cartella");
    EXPECT_EQ(SystemErrorText(ENOENT), "file o cartella inesistente");
    EXPECT_EQ(SystemErrorText(EMLINK), "troppi collegamenti");
    for (const int error : {EACCES, ENOSPC, EDQUOT, EROFS, EISDIR, ENOTDIR, ENOENT, EMLINK, ELOOP,
                            ENAMETOOLONG, EFBIG, EMFILE, ENOMEM, EIO, EBUSY, EEXIST, EPIPE})
        EXPECT_NE(SystemErrorText(error), std::strerror(error)) << error;
    EXPECT_EQ(SystemErrorText(EPROTO), std::strerror(EPROTO));
}

}  // namespace
}  // namespace cf
