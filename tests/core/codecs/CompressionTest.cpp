#include "codecs/Compression.h"
#include "helpers/TempDir.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>
#include <sys/stat.h>

namespace pyxa {
namespace {

namespace fs = std::filesystem;

std::string RandomBytes(size_t size, uint32_t seed)
{
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(generator() & 0xFF);
    return bytes;
}

std::string TextBytes(size_t size)
{
    std::string bytes;
    for (int line = 0; bytes.size() < size; ++line)
        bytes += "line " + std::to_string(line) + ": packed files keep their bytes\n";
    bytes.resize(size);
    return bytes;
}

std::string ContentOf(const TMemoryStream& stream)
{
    return std::string(stream.Data().begin(), stream.Data().end());
}

TMemoryStream MemoryOf(const std::string& bytes)
{
    TMemoryStream stream;
    stream.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.Seek(0);
    return stream;
}

std::string Compressed(const std::string& bytes)
{
    TMemoryStream source = MemoryOf(bytes);
    TMemoryStream dest;
    EXPECT_EQ(CompressStream(&source, &dest), CompressStreamResult::Ok);
    return ContentOf(dest);
}

struct TDecompressed {
    CompressStreamResult Result;
    std::string Bytes;
};

TDecompressed Decompressed(const std::string& packed)
{
    TMemoryStream source = MemoryOf(packed);
    TMemoryStream dest;
    const CompressStreamResult result = DecompressStream(&source, &dest);
    return {result, ContentOf(dest)};
}

// Compressed by zlib itself with a preset dictionary, which the packer never uses.
std::string CompressedWithDictionary(const std::string& bytes)
{
    z_stream z {};
    EXPECT_EQ(deflateInit(&z, 9), Z_OK);
    const std::string dictionary = "packed files keep their bytes";
    deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(dictionary.data()), static_cast<uInt>(dictionary.size()));
    std::string out(deflateBound(&z, bytes.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

bool StartsWithZlibLevel9Header(const std::string& packed)
{
    return packed.size() >= 2 && static_cast<uint8_t>(packed[0]) == 0x78 && static_cast<uint8_t>(packed[1]) == 0xDA;
}

// Accepts writes until its budget is spent, then fails like a full disk.
class TFullStream : public TMemoryStream {
public:
    explicit TFullStream(int64_t budget) : FBudget(budget) {}
    bool Write(const void* buffer, int64_t count) override
    {
        if (count > FBudget)
            return false;
        FBudget -= count;
        return TMemoryStream::Write(buffer, count);
    }

private:
    int64_t FBudget;
};

// Reads normally up to a point, then reports an error like a failing medium.
class TBrokenStream : public TMemoryStream {
public:
    explicit TBrokenStream(int64_t failAt) : FFailAt(failAt) {}
    int64_t Read(void* buffer, int64_t count) override
    {
        if (Position() >= FFailAt)
            return -1;
        return TMemoryStream::Read(buffer, std::min(count, FFailAt - Position()));
    }

private:
    int64_t FFailAt;
};

// ---- Round trips ----

struct TRoundTripCase {
    const char* Name;
    size_t Size;
    bool Compressible;
};

class CompressionRoundTrip : public ::testing::TestWithParam<TRoundTripCase> {
protected:
    std::string Original() const
    {
        const TRoundTripCase& c = GetParam();
        return c.Compressible ? TextBytes(c.Size) : RandomBytes(c.Size, static_cast<uint32_t>(c.Size));
    }
    test::TempDir FDir;
};

TEST_P(CompressionRoundTrip, FilesGiveBackTheOriginal)
{
    const std::string original = Original();
    test::WriteFile(FDir / "source", original);

    ASSERT_EQ(CompressFile(FDir / "source", FDir / "packed"), CompressFileResult::Ok);
    const std::string packed = test::ReadFile(FDir / "packed");
    EXPECT_TRUE(StartsWithZlibLevel9Header(packed));
    if (GetParam().Compressible && original.size() > 100000) {
        EXPECT_LT(packed.size(), original.size() / 10);
    }

    ASSERT_EQ(DecompressFile(FDir / "packed", FDir / "unpacked"), CompressFileResult::Ok);
    EXPECT_TRUE(test::ReadFile(FDir / "unpacked") == original);
    // Files and streams are one format: the same bytes either way.
    EXPECT_TRUE(Compressed(original) == packed);
}

TEST_P(CompressionRoundTrip, StreamsGiveBackTheOriginalAndRewindTheDestination)
{
    const std::string original = Original();
    TMemoryStream source = MemoryOf(original);
    TMemoryStream packed;
    ASSERT_EQ(CompressStream(&source, &packed), CompressStreamResult::Ok);
    EXPECT_EQ(packed.Position(), 0);
    EXPECT_TRUE(StartsWithZlibLevel9Header(ContentOf(packed)));

    TMemoryStream unpacked;
    ASSERT_EQ(DecompressStream(&packed, &unpacked), CompressStreamResult::Ok);
    EXPECT_EQ(unpacked.Position(), 0);
    EXPECT_TRUE(ContentOf(unpacked) == original);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CompressionRoundTrip,
                         ::testing::Values(TRoundTripCase {"Empty", 0, false}, TRoundTripCase {"OneByte", 1, false},
                                           TRoundTripCase {"BufferLessOne", 65535, false},
                                           TRoundTripCase {"OneBuffer", 65536, false},
                                           TRoundTripCase {"BufferPlusOne", 65537, true},
                                           TRoundTripCase {"ThreeMegabytesOfText", 3 << 20, true},
                                           TRoundTripCase {"TwoMegabytesOfNoise", 2 << 20, false}),
                         [](const ::testing::TestParamInfo<TRoundTripCase>& info) { return info.param.Name; });

TEST(Compression, OutputIsPlainZlibAtLevelNineAndForeignZlibStreamsAreRead)
{
    const std::string original = TextBytes(300000) + RandomBytes(100000, 5);
    std::string reference(compressBound(original.size()), '\0');
    uLongf referenceSize = reference.size();
    ASSERT_EQ(compress2(reinterpret_cast<Bytef*>(reference.data()), &referenceSize,
                        reinterpret_cast<const Bytef*>(original.data()), original.size(), 9),
              Z_OK);
    reference.resize(referenceSize);
    EXPECT_TRUE(Compressed(original) == reference);

    std::string fast(compressBound(original.size()), '\0');
    uLongf fastSize = fast.size();
    ASSERT_EQ(compress2(reinterpret_cast<Bytef*>(fast.data()), &fastSize,
                        reinterpret_cast<const Bytef*>(original.data()), original.size(), 1),
              Z_OK);
    fast.resize(fastSize);
    const TDecompressed result = Decompressed(fast);
    EXPECT_EQ(result.Result, CompressStreamResult::Ok);
    EXPECT_TRUE(result.Bytes == original);
}

// ---- Where the compressed data ends ----

class CompressionStreamEnd : public ::testing::Test {
protected:
    const std::string FOriginal = RandomBytes(300000, 21);
    const std::string FPacked = Compressed(FOriginal);
    test::TempDir FDir;
};

TEST_F(CompressionStreamEnd, TrailingBytesAfterTheStreamAreIgnored)
{
    const std::string withTail = FPacked + "trailing bytes that are not compressed data";
    const TDecompressed result = Decompressed(withTail);
    EXPECT_EQ(result.Result, CompressStreamResult::Ok);
    EXPECT_TRUE(result.Bytes == FOriginal);

    test::WriteFile(FDir / "packed", withTail);
    EXPECT_EQ(DecompressFile(FDir / "packed", FDir / "out"), CompressFileResult::Ok);
    EXPECT_TRUE(test::ReadFile(FDir / "out") == FOriginal);
}

TEST_F(CompressionStreamEnd, SourceCutShortGivesAShorterResultWithoutError)
{
    // Cut inside the data (before the 4-byte checksum that closes the stream), and in the header.
    for (const size_t keep : {FPacked.size() / 2, FPacked.size() - 5, size_t {1}}) {
        SCOPED_TRACE(keep);
        const std::string cut = FPacked.substr(0, keep);
        const TDecompressed result = Decompressed(cut);
        EXPECT_EQ(result.Result, CompressStreamResult::Ok);
        EXPECT_LT(result.Bytes.size(), FOriginal.size());
        EXPECT_TRUE(FOriginal.compare(0, result.Bytes.size(), result.Bytes) == 0);

        test::WriteFile(FDir / "cut", cut);
        EXPECT_EQ(DecompressFile(FDir / "cut", FDir / "out"), CompressFileResult::Ok);
        EXPECT_TRUE(test::ReadFile(FDir / "out") == result.Bytes);
    }
    EXPECT_GT(Decompressed(FPacked.substr(0, FPacked.size() / 2)).Bytes.size(), FOriginal.size() / 4);
}

TEST_F(CompressionStreamEnd, DamagedDataIsAnErrorAndNoPartialFileIsLeft)
{
    std::string damaged = FPacked;
    damaged[damaged.size() - 100] ^= 0x55;  // late, so output was written before the fault shows
    EXPECT_EQ(Decompressed(damaged).Result, CompressStreamResult::CodecFailed);
    EXPECT_EQ(Decompressed("not compressed data at all").Result, CompressStreamResult::CodecFailed);

    for (const std::string& bytes : {damaged, std::string("not compressed data at all")}) {
        test::WriteFile(FDir / "bad", bytes);
        EXPECT_EQ(DecompressFile(FDir / "bad", FDir / "out"), CompressFileResult::CodecFailed);
        EXPECT_FALSE(fs::exists(FDir / "out"));
    }
}

TEST_F(CompressionStreamEnd, StreamNeedingAPresetDictionaryFailsInsteadOfWaiting)
{
    EXPECT_EQ(Decompressed(CompressedWithDictionary(FOriginal)).Result, CompressStreamResult::CodecFailed);
}

// ---- Stream positions and faults ----

TEST(CompressionStreams, MissingStreamIsMinusOne)
{
    TMemoryStream a;
    TMemoryStream b;
    for (auto* codec : {&CompressStream, &DecompressStream}) {
        EXPECT_EQ(codec(nullptr, &b), CompressStreamResult::MissingStream);
        EXPECT_EQ(codec(&a, nullptr), CompressStreamResult::MissingStream);
        EXPECT_EQ(codec(nullptr, nullptr), CompressStreamResult::MissingStream);
    }
    EXPECT_EQ(b.Size(), 0);
}

TEST(CompressionStreams, DecompressionStartsAtTheSourceFirstByteWhateverItsPosition)
{
    const std::string original = TextBytes(100000);
    TMemoryStream packed = MemoryOf(Compressed(original));
    for (const int64_t position : {int64_t {1}, packed.Size() / 2, packed.Size()}) {
        SCOPED_TRACE(position);
        packed.Seek(position);
        TMemoryStream unpacked;
        ASSERT_EQ(DecompressStream(&packed, &unpacked), CompressStreamResult::Ok);
        EXPECT_TRUE(ContentOf(unpacked) == original);
    }
}

TEST(CompressionStreams, CompressionReadsFromTheSourcePositionAndWritesAtTheDestinationPosition)
{
    const std::string original = TextBytes(50000);
    TMemoryStream source = MemoryOf(original);
    source.Seek(1000);
    TMemoryStream dest = MemoryOf("kept");
    dest.Seek(4);
    ASSERT_EQ(CompressStream(&source, &dest), CompressStreamResult::Ok);
    EXPECT_EQ(dest.Position(), 0);
    const std::string written = ContentOf(dest);
    EXPECT_EQ(written.substr(0, 4), "kept");
    EXPECT_TRUE(written.substr(4) == Compressed(original.substr(1000)));

    TMemoryStream unpacked = MemoryOf("head");
    unpacked.Seek(4);
    TMemoryStream packed = MemoryOf(written.substr(4));
    ASSERT_EQ(DecompressStream(&packed, &unpacked), CompressStreamResult::Ok);
    EXPECT_TRUE(ContentOf(unpacked) == "head" + original.substr(1000));
}

TEST(CompressionStreams, WriteOrReadFailureWhileDataFlowsIsMinusTwo)
{
    const std::string original = RandomBytes(200000, 9);
    const std::string packed = Compressed(original);
    for (const int64_t budget : {int64_t {0}, int64_t {70000}}) {
        SCOPED_TRACE(budget);
        TMemoryStream source = MemoryOf(original);
        TFullStream full(budget);
        EXPECT_EQ(CompressStream(&source, &full), CompressStreamResult::CodecFailed);
        TMemoryStream packedSource = MemoryOf(packed);
        TFullStream fullOut(budget);
        EXPECT_EQ(DecompressStream(&packedSource, &fullOut), CompressStreamResult::CodecFailed);
    }

    TBrokenStream brokenPlain(100000);
    brokenPlain.Write(original.data(), static_cast<int64_t>(original.size()));
    brokenPlain.Seek(0);
    TMemoryStream sink;
    EXPECT_EQ(CompressStream(&brokenPlain, &sink), CompressStreamResult::CodecFailed);

    TBrokenStream brokenPacked(100000);
    brokenPacked.Write(packed.data(), static_cast<int64_t>(packed.size()));
    TMemoryStream unpacked;
    EXPECT_EQ(DecompressStream(&brokenPacked, &unpacked), CompressStreamResult::CodecFailed);
}

// ---- File results and what they leave on disk ----

using TFileCodec = CompressFileResult (*)(const fs::path&, const fs::path&);

struct TFileCodecCase {
    const char* Name;
    TFileCodec Codec;
    bool SourceIsPacked;
};

class CompressionFiles : public ::testing::TestWithParam<TFileCodecCase> {
protected:
    // A valid input for the codec under test.
    fs::path Source()
    {
        const std::string plain = TextBytes(70000);
        test::WriteFile(FDir / "source", GetParam().SourceIsPacked ? Compressed(plain) : plain);
        return FDir / "source";
    }
    CompressFileResult Run(const fs::path& source, const fs::path& dest) const { return GetParam().Codec(source, dest); }
    test::TempDir FDir;
};

TEST_P(CompressionFiles, MissingSourceIsMinusOneAndTouchesNoDestination)
{
    std::filesystem::create_directory(FDir / "folder");
    EXPECT_EQ(Run(FDir / "missing", FDir / "new"), CompressFileResult::SourceNotFound);
    EXPECT_EQ(Run(FDir / "folder", FDir / "new"), CompressFileResult::SourceNotFound);
    EXPECT_FALSE(fs::exists(FDir / "new"));

    test::WriteFile(FDir / "existing", "someone else's file");
    EXPECT_EQ(Run(FDir / "missing", FDir / "existing"), CompressFileResult::SourceNotFound);
    EXPECT_EQ(test::ReadFile(FDir / "existing"), "someone else's file");
}

TEST_P(CompressionFiles, DestinationThatCannotBeCreatedIsMinusThreeAndLeftAlone)
{
    const fs::path source = Source();
    const std::string sourceBytes = test::ReadFile(source);
    fs::create_directories(FDir / "folder" / "inside");
    test::WriteFile(FDir / "readonly", "protected");
    fs::permissions(FDir / "readonly", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);

    EXPECT_EQ(Run(source, FDir / "no-such-folder" / "out"), CompressFileResult::CannotCreateDestination);
    EXPECT_EQ(Run(source, FDir / "folder"), CompressFileResult::CannotCreateDestination);
    EXPECT_TRUE(fs::is_directory(FDir / "folder" / "inside"));
    EXPECT_EQ(Run(source, FDir / "readonly"), CompressFileResult::CannotCreateDestination);
    EXPECT_EQ(test::ReadFile(FDir / "readonly"), "protected");
    EXPECT_EQ(Run(source, source), CompressFileResult::CannotCreateDestination);
    fs::create_hard_link(source, FDir / "hardlink");
    EXPECT_EQ(Run(source, FDir / "hardlink"), CompressFileResult::CannotCreateDestination);
    EXPECT_TRUE(test::ReadFile(source) == sourceBytes);
}

TEST_P(CompressionFiles, ExistingFileIsReplacedAndALinkIsNotWrittenThrough)
{
    const fs::path source = Source();
    test::WriteFile(FDir / "victim", "must stay");
    fs::create_symlink(FDir / "victim", FDir / "link");
    fs::create_symlink(FDir / "nowhere", FDir / "dangling");
    test::WriteFile(FDir / "old", std::string(500000, 'x'));

    for (const char* dest : {"link", "dangling", "old"}) {
        SCOPED_TRACE(dest);
        ASSERT_EQ(Run(source, FDir / dest), CompressFileResult::Ok);
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(FDir / dest)));
        ASSERT_EQ(Run(source, FDir / "reference"), CompressFileResult::Ok);
        EXPECT_TRUE(test::ReadFile(FDir / dest) == test::ReadFile(FDir / "reference"));
    }
    EXPECT_EQ(test::ReadFile(FDir / "victim"), "must stay");
    EXPECT_FALSE(fs::exists(FDir / "nowhere"));
}

INSTANTIATE_TEST_SUITE_P(BothWays, CompressionFiles,
                         ::testing::Values(TFileCodecCase {"Compress", &CompressFile, false},
                                           TFileCodecCase {"Decompress", &DecompressFile, true}),
                         [](const ::testing::TestParamInfo<TFileCodecCase>& info) { return info.param.Name; });

}  // namespace
}  // namespace pyxa
