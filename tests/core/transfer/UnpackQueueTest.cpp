#include "transfer/UnpackQueue.h"

#include "codecs/Compression.h"
#include "codecs/Crc32.h"
#include "helpers/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace pyxa {
namespace {

namespace fs = std::filesystem;

TPreparedUnpack Prepared(const std::string& content)
{
    TMemoryStream plain;
    plain.Write(content.data(), static_cast<int64_t>(content.size()));
    plain.Seek(0);
    TPreparedUnpack prepared;
    prepared.Crc = StreamCrc32(plain);
    plain.Seek(0);
    EXPECT_EQ(CompressStream(&plain, &prepared.Compressed), CompressStreamResult::Ok);
    return prepared;
}

TEST(UnpackQueue, ResultsComeBackInTheOrderGivenWhateverFinishesFirst)
{
    test::TempDir dir;
    TUnpackQueue queue(2);
    EXPECT_TRUE(queue.Empty());
    std::vector<std::string> contents;
    for (int i = 0; i < 4; ++i) {
        // A large job first, so that the small ones behind it finish earlier.
        contents.push_back(std::string(i == 0 ? 8'000'000 : 10 + i, static_cast<char>('k' + i)));
        TPreparedUnpack prepared = Prepared(contents.back());
        if (i == 2)
            prepared.Crc ^= 1;
        queue.Give(nullptr, std::move(prepared), dir / ("out" + std::to_string(i)), i == 2, 0);
    }
    EXPECT_TRUE(queue.Writes(dir / "out3"));
    EXPECT_FALSE(queue.Writes(dir / "other"));
    EXPECT_TRUE(queue.Full());
    for (int i = 0; i < 4; ++i) {
        const TUnpackDone done = queue.TakeOldest();
        EXPECT_EQ(done.Destination, dir / ("out" + std::to_string(i)));
        EXPECT_EQ(done.Result, i == 2 ? UnpackResult::CrcError : UnpackResult::Ok);
        EXPECT_EQ(test::ReadFile(done.Destination), contents[static_cast<size_t>(i)]);
    }
    EXPECT_TRUE(queue.Empty());
    EXPECT_FALSE(queue.TakeFinished().has_value());
}

TEST(UnpackQueue, AJobOverTheMemoryBoundFillsTheQueueAlone)
{
    test::TempDir dir;
    TUnpackQueue queue(4);
    queue.Give(nullptr, Prepared("small"), dir / "big", true, 80 * 1024 * 1024);
    EXPECT_TRUE(queue.Full());
    EXPECT_EQ(queue.TakeOldest().Result, UnpackResult::Ok);
    EXPECT_FALSE(queue.Full());
}

TEST(UnpackQueue, DamagedDataFailsWithoutWritingAndUntakenJobsStillFinish)
{
    test::TempDir dir;
    {
        TUnpackQueue queue(1);
        TPreparedUnpack damaged;
        damaged.Compressed.Write("not zlib", 8);
        queue.Give(nullptr, std::move(damaged), dir / "damaged", true, 0);
        EXPECT_EQ(queue.TakeOldest().Result, UnpackResult::CannotDecompress);
        queue.Give(nullptr, Prepared("left behind"), dir / "untaken", true, 0);
    }
    EXPECT_FALSE(fs::exists(dir / "damaged"));
    EXPECT_EQ(test::ReadFile(dir / "untaken"), "left behind");
}

}  // namespace
}  // namespace pyxa
