#include "codecs/Crc32.h"
#include "helpers/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>

namespace pyxa {
namespace {

const std::string kCheckInput = "123456789";
constexpr uint32_t kCheckValue = 0xCBF43926u;

// Bit by bit from the polynomial: a reference that shares nothing with the table-driven code.
uint32_t ReferenceCrc(const std::string& bytes)
{
    uint32_t reg = 0xFFFFFFFFu;
    for (const char c : bytes) {
        reg ^= static_cast<uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit)
            reg = (reg >> 1) ^ ((reg & 1u) ? 0xEDB88320u : 0u);
    }
    return ~reg;
}

std::string RandomBytes(size_t size, uint32_t seed)
{
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(generator() & 0xFF);
    return bytes;
}

TMemoryStream MemoryOf(const std::string& bytes)
{
    TMemoryStream stream;
    stream.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.Seek(0);
    return stream;
}

// Announces more bytes than it yields, like a file cut short while being read.
class TShortStream : public TStream {
public:
    TShortStream(std::string bytes, int64_t missing) : FBytes(std::move(bytes)), FMissing(missing) {}
    int64_t Read(void* buffer, int64_t count) override
    {
        const int64_t n = std::min(count, static_cast<int64_t>(FBytes.size()) - FPosition);
        std::memcpy(buffer, FBytes.data() + FPosition, static_cast<size_t>(n));
        FPosition += n;
        return n;
    }
    bool Write(const void*, int64_t) override { return false; }
    bool Seek(int64_t position) override
    {
        FPosition = position;
        return true;
    }
    int64_t Position() const override { return FPosition; }
    int64_t Size() const override { return static_cast<int64_t>(FBytes.size()) + FMissing; }

private:
    std::string FBytes;
    int64_t FMissing;
    int64_t FPosition = 0;
};

TEST(Crc32, CheckValueAndEmptyInput)
{
    TMemoryStream check = MemoryOf(kCheckInput);
    EXPECT_EQ(StreamCrc32(check), kCheckValue);
    TMemoryStream empty;
    EXPECT_EQ(StreamCrc32(empty), 0u);
    EXPECT_EQ(ReferenceCrc(kCheckInput), kCheckValue);
}

TEST(Crc32, UpdateRunsTheBareRegisterAndChainsLikeOneCall)
{
    const std::string data = RandomBytes(10000, 7);
    const uint32_t oneShot = Crc32Update(data.data(), data.size(), 0xFFFFFFFFu);
    EXPECT_EQ(~oneShot, ReferenceCrc(data));

    for (const size_t split : {size_t {0}, size_t {1}, size_t {4095}, size_t {4096}, size_t {9999}, data.size()}) {
        SCOPED_TRACE(split);
        const uint32_t head = Crc32Update(data.data(), split, 0xFFFFFFFFu);
        EXPECT_EQ(Crc32Update(data.data() + split, data.size() - split, head), oneShot);
    }
    EXPECT_EQ(Crc32Update(nullptr, 0, 0x12345678u), 0x12345678u);
    // No inversion: a zero register over zero bytes stays zero.
    const std::string zeros(16, '\0');
    EXPECT_EQ(Crc32Update(zeros.data(), zeros.size(), 0), 0u);
}

TEST(Crc32, StreamCoversOnlyTheRestAndLeavesThePositionAtTheEnd)
{
    const std::string data = RandomBytes(3 * 4096 + 17, 11);
    for (const size_t start : {size_t {0}, size_t {1}, size_t {4096}, size_t {5000}, data.size()}) {
        SCOPED_TRACE(start);
        TMemoryStream stream = MemoryOf(data);
        stream.Seek(static_cast<int64_t>(start));
        EXPECT_EQ(StreamCrc32(stream), ReferenceCrc(data.substr(start)));
        EXPECT_EQ(stream.Position(), stream.Size());
    }
}

TEST(Crc32, StreamThatYieldsLessThanItsSizeEndsWithWhatItRead)
{
    TShortStream stream(kCheckInput, 5000);
    EXPECT_EQ(StreamCrc32(stream), kCheckValue);
}

TEST(Crc32, FileCoversTheWholeFile)
{
    test::TempDir dir;
    const std::string big = RandomBytes(2 * 4096 + 123, 3);
    const struct {
        const char* Name;
        std::string Bytes;
        uint32_t Expected;
    } cases[] = {
        {"check.txt", kCheckInput, kCheckValue},
        {"empty.bin", "", 0u},
        {"big.bin", big, ReferenceCrc(big)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        test::WriteFile(dir / c.Name, c.Bytes);
        EXPECT_EQ(FileCrc32(dir / c.Name), std::optional<uint32_t>(c.Expected));
    }
}

TEST(Crc32, FileThatCannotBeOpenedGivesNoValue)
{
    test::TempDir dir;
    std::filesystem::create_directory(dir / "folder");
    EXPECT_EQ(FileCrc32(dir / "missing.bin"), std::nullopt);
    EXPECT_EQ(FileCrc32(dir / "folder"), std::nullopt);
}

}  // namespace
}  // namespace pyxa
