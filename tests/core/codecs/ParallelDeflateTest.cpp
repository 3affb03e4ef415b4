#include "codecs/ParallelDeflate.h"
#include "helpers/ContainerBytes.h"

#include <gtest/gtest.h>

namespace pyxa {
namespace {

constexpr size_t kChunk = 1 << 20;

// Text-like data with long-range repeats, so that a chunk gains from its dictionary.
std::string TextLike(size_t size)
{
    std::string text;
    for (int line = 0; text.size() < size; ++line)
        text += "entry " + std::to_string(line * 2654435761u % 99991) + " of the generated catalogue\n";
    text.resize(size);
    return text;
}

std::string Deflated(const std::string& input, int threads)
{
    TMemoryStream source;
    source.Write(input.data(), static_cast<int64_t>(input.size()));
    source.Seek(0);
    TMemoryStream dest;
    EXPECT_TRUE(ParallelDeflate(source, dest, threads));
    return std::string(dest.Data().begin(), dest.Data().end());
}

class ParallelDeflateSizes : public ::testing::TestWithParam<size_t> {};

TEST_P(ParallelDeflateSizes, GivesOneZlibStreamAnyZlibReads)
{
    const std::string input = TextLike(GetParam());
    for (int threads : {1, 2, 4}) {
        const std::string packed = Deflated(input, threads);
        ASSERT_GE(packed.size(), 6u);
        EXPECT_EQ(packed.substr(0, 2), "\x78\xDA");
        EXPECT_EQ(test::ZlibDecompress(packed), input) << threads << " threads";
    }
}

INSTANTIATE_TEST_SUITE_P(ChunkBoundaries, ParallelDeflateSizes,
                         ::testing::Values(0, 1, kChunk - 1, kChunk, kChunk + 1, 3 * kChunk + kChunk / 2));

TEST(ParallelDeflate, StaysCloseToSerialSize)
{
    const std::string input = TextLike(6 * kChunk);
    const size_t serial = test::ZlibCompress(input).size();
    const size_t parallel = Deflated(input, 2).size();
    EXPECT_LT(parallel, serial + serial / 100);
}

class FailingStream : public TMemoryStream {
public:
    int64_t Read(void* buffer, int64_t count) override
    {
        return Position() >= 2 * static_cast<int64_t>(kChunk) ? -1 : TMemoryStream::Read(buffer, count);
    }
};

TEST(ParallelDeflate, ReadErrorFailsTheWhole)
{
    FailingStream source;
    const std::string input = TextLike(4 * kChunk);
    source.Write(input.data(), static_cast<int64_t>(input.size()));
    source.Seek(0);
    TMemoryStream dest;
    EXPECT_FALSE(ParallelDeflate(source, dest, 2));
}

}  // namespace
}  // namespace pyxa
