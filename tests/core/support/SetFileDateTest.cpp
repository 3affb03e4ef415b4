#include "support/FileUtil.h"

#include "helpers/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cmath>

namespace pyxa::test {
namespace {

TEST(SetFileDate, SetsTheLastWriteTimeOnlyAsLocalTime)
{
    TempDir dir;
    const auto file = dir / "dated.txt";
    WriteFile(file, "content");
    const timespec access[2] = {{1000000000, 0}, {0, UTIME_OMIT}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), access, 0), 0);
    TDateTime date = 0;
    ASSERT_TRUE(TryEncodeDateTime({2010, 5, 4, 13, 7, 9, 250}, date));

    ASSERT_TRUE(SetFileDate(file, date));

    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_atim.tv_sec, 1000000000) << "the access time stays";
    EXPECT_EQ(LocalDateTimeOf(info.st_mtim), date) << "the same wall-clock time, to the millisecond";
}

TEST(SetFileDate, FailsForAMissingFileOrADateOutOfRange)
{
    TempDir dir;
    WriteFile(dir / "dated.txt", "content");
    EXPECT_FALSE(SetFileDate(dir / "missing.txt", 40000));
    EXPECT_FALSE(SetFileDate(dir / "dated.txt", 1e7)) << "beyond the year 9999";
    EXPECT_FALSE(SetFileDate(dir / "dated.txt", std::nan("")));
}

}  // namespace
}  // namespace pyxa::test
