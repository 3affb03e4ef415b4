#include "codecs/AesLib.h"

#include "helpers/TempDir.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <algorithm>
#include <limits>
#include <ostream>
#include <tuple>
#include <utility>
#include <vector>

namespace pyxa {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

const std::string kPassword = "correct horse";

// A memory stream that can hand out reads in small pieces and fail reads or writes past a limit.
class TScriptedStream : public TMemoryStream {
public:
    int64_t MaxRead = std::numeric_limits<int64_t>::max();
    int64_t ReadLimit = std::numeric_limits<int64_t>::max();
    int64_t WriteLimit = std::numeric_limits<int64_t>::max();

    int64_t Read(void* buffer, int64_t count) override
    {
        if (Position() >= ReadLimit)
            return -1;
        return TMemoryStream::Read(buffer, std::min(count, MaxRead));
    }
    bool Write(const void* buffer, int64_t count) override
    {
        return Position() + count <= WriteLimit && TMemoryStream::Write(buffer, count);
    }
};

std::string Bytes(const TMemoryStream& stream)
{
    return std::string(stream.Data().begin(), stream.Data().end());
}

void Fill(TMemoryStream& stream, const std::string& bytes)
{
    stream.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.Seek(0);
}

std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
    return bytes;
}

std::string Encrypt(const std::string& plain, const std::string& password)
{
    TMemoryStream source;
    TMemoryStream dest;
    Fill(source, plain);
    EXPECT_EQ(EncryptStreamWithPassword(&source, &dest, password), 0);
    EXPECT_EQ(dest.Position(), 0);
    return Bytes(dest);
}

struct TDecrypted {
    int Result;
    std::string Plain;
};

TDecrypted Decrypt(const std::string& stream, const std::string& password)
{
    TMemoryStream source;
    TMemoryStream dest;
    Fill(source, stream);
    const int result = DecryptStreamWithPassword(&source, &dest, password);
    return {result, Bytes(dest)};
}

std::filesystem::path AesData(const std::string& name)
{
    return std::filesystem::path(PYXA_TEST_DATA) / "aes" / name;
}

std::string Flipped(std::string bytes, size_t offset)
{
    bytes[offset] = static_cast<char>(bytes[offset] ^ 0x01);
    return bytes;
}

// --- Streams written by 7-Zip ---------------------------------------------------------------

struct TFixture {
    const char* Name;
    int Mode;
    friend void PrintTo(const TFixture& fixture, std::ostream* out) { *out << fixture.Name; }
};

class AesFixtureTest : public ::testing::TestWithParam<TFixture> {
protected:
    std::filesystem::path DataPath(const std::string& suffix) const { return AesData(GetParam().Name + suffix); }
    std::string Stream() const { return ReadFile(DataPath(".bin")); }
    std::string Password() const { return ReadFile(DataPath(".password")); }
    std::string Plain() const { return ReadFile(AesData("plain.txt")); }
};

TEST_P(AesFixtureTest, DecryptsToThePlaintext)
{
    ASSERT_FALSE(Stream().empty());
    const TEncryption crypt(Password(), kCryptBufferSize);
    ASSERT_EQ(crypt.KeyMode(), GetParam().Mode);
    EXPECT_EQ(Stream().size(), Plain().size() + crypt.GetHeaderSize() + crypt.GetTrailerSize());

    const TDecrypted decrypted = Decrypt(Stream(), Password());
    EXPECT_EQ(decrypted.Result, 0);
    EXPECT_EQ(decrypted.Plain, Plain());
}

TEST_P(AesFixtureTest, FileFunctionDecryptsTheFixture)
{
    TempDir dir;
    ASSERT_EQ(DecryptFileWithPassword(DataPath(".bin"), dir / "out", Password()), 0);
    EXPECT_EQ(ReadFile(dir / "out"), Plain());
}

TEST_P(AesFixtureTest, WrongPasswordsFailBeforeOutput)
{
    const std::string right = Password();
    const std::vector<std::string> wrong = {
        Flipped(right, 0),            // same length, so same key mode
        right + "x",                  // one byte longer
        right.substr(0, 5),           // another key mode unless already mode 1
        std::string(40, 'p'),         // mode 2
        std::string(60, 'p'),         // mode 3
    };
    for (const std::string& password : wrong) {
        const TDecrypted decrypted = Decrypt(Stream(), password);
        EXPECT_EQ(decrypted.Result, 1) << password;
        EXPECT_TRUE(decrypted.Plain.empty()) << password;
    }
}

INSTANTIATE_TEST_SUITE_P(SevenZip, AesFixtureTest,
                         ::testing::Values(TFixture {"aes128", 1}, TFixture {"aes192", 2}, TFixture {"aes256", 3}),
                         [](const auto& info) { return std::string(info.param.Name); });

// --- Damage in each part of the 7-Zip AES-128 stream ------------------------------------------
// Salt 0-7, verifier 8-9, ciphertext 10-143, code 144-153. The stream is fixed, so whether a
// damaged salt still passes the 2-byte verifier by chance is fixed too.

struct TDamage {
    const char* Part;
    size_t Offset;
    bool FailsAtHeader;
    friend void PrintTo(const TDamage& damage, std::ostream* out) { *out << damage.Part; }
};

class AesDamageTest : public ::testing::TestWithParam<TDamage> {
protected:
    static std::filesystem::path Fixture() { return AesData("aes128.bin"); }
    static std::string Password() { return ReadFile(AesData("aes128.password")); }
    static constexpr size_t kPlainSize = 134;
};

TEST_P(AesDamageTest, StreamFunctionFailsAtTheRightStep)
{
    const std::string damaged = Flipped(ReadFile(Fixture()), GetParam().Offset);
    const TDecrypted decrypted = Decrypt(damaged, Password());
    EXPECT_EQ(decrypted.Result, 1);
    // A header failure writes nothing; a damaged body is found only after all of it was written.
    EXPECT_EQ(decrypted.Plain.size(), GetParam().FailsAtHeader ? 0u : kPlainSize);
}

TEST_P(AesDamageTest, FileFunctionRemovesTheDestination)
{
    TempDir dir;
    WriteFile(dir / "in", Flipped(ReadFile(Fixture()), GetParam().Offset));
    WriteFile(dir / "out", "an older file of that name");
    EXPECT_EQ(DecryptFileWithPassword(dir / "in", dir / "out", Password()), 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "out"));
}

TEST_P(AesDamageTest, VerifyingWithoutDestinationFails)
{
    TMemoryStream source;
    Fill(source, Flipped(ReadFile(Fixture()), GetParam().Offset));
    TEncryption crypt(Password(), kCryptBufferSize);
    EXPECT_FALSE(crypt.DecryptStream(source, nullptr, source.Size()));
}

INSTANTIATE_TEST_SUITE_P(EveryPart, AesDamageTest,
                         ::testing::Values(TDamage {"SaltFirst", 0, true}, TDamage {"SaltLast", 7, true},
                                           TDamage {"VerifierFirst", 8, true}, TDamage {"VerifierLast", 9, true},
                                           TDamage {"CiphertextFirst", 10, false},
                                           TDamage {"CiphertextMiddle", 77, false},
                                           TDamage {"CiphertextLast", 143, false},
                                           TDamage {"CodeFirst", 144, false}, TDamage {"CodeLast", 153, false}),
                         [](const auto& info) { return std::string(info.param.Part); });

TEST(AesLibTest, IntactStreamVerifiesWithoutDestination)
{
    TMemoryStream source;
    Fill(source, Encrypt(Pattern(1000), kPassword));
    TEncryption crypt(kPassword, kCryptBufferSize);
    EXPECT_TRUE(crypt.DecryptStream(source, nullptr, source.Size()));
}

// --- Key modes --------------------------------------------------------------------------------

struct TModeCase {
    const char* Name;
    std::string Password;
    int Mode;
    int HeaderSize;
    friend void PrintTo(const TModeCase& mode, std::ostream* out) { *out << mode.Name; }
};

class AesKeyModeTest : public ::testing::TestWithParam<TModeCase> {};

TEST_P(AesKeyModeTest, ModeFollowsThePasswordBytes)
{
    const TEncryption crypt(GetParam().Password, kCryptBufferSize);
    EXPECT_EQ(crypt.KeyMode(), GetParam().Mode);
    EXPECT_EQ(crypt.GetHeaderSize(), GetParam().HeaderSize);
    EXPECT_EQ(crypt.GetTrailerSize(), 10);
}

TEST_P(AesKeyModeTest, EmptyPlaintextIsSaltVerifierAndCode)
{
    const std::string stream = Encrypt("", GetParam().Password);
    EXPECT_EQ(stream.size(), static_cast<size_t>(GetParam().HeaderSize) + 10);
    const TDecrypted decrypted = Decrypt(stream, GetParam().Password);
    EXPECT_EQ(decrypted.Result, 0);
    EXPECT_TRUE(decrypted.Plain.empty());
}

TEST_P(AesKeyModeTest, RoundTrips)
{
    const std::string plain = Pattern(5000);
    const std::string stream = Encrypt(plain, GetParam().Password);
    EXPECT_EQ(stream.size(), plain.size() + GetParam().HeaderSize + 10);
    EXPECT_EQ(Decrypt(stream, GetParam().Password).Plain, plain);
}

std::string Repeat(const std::string& piece, size_t times)
{
    std::string text;
    for (size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    ByLength, AesKeyModeTest,
    ::testing::Values(TModeCase {"Empty", "", 1, 10}, TModeCase {"Bytes31", std::string(31, 'a'), 1, 10},
                      TModeCase {"Bytes32", std::string(32, 'a'), 2, 14},
                      TModeCase {"Bytes47", std::string(47, 'a'), 2, 14},
                      TModeCase {"Bytes48", std::string(48, 'a'), 3, 18},
                      // 20 characters, 40 UTF-8 bytes: counted in bytes, not characters.
                      TModeCase {"TwentyUmlauts", Repeat("\xC3\xBC", 20), 2, 14},
                      // 20 characters, 60 UTF-8 bytes.
                      TModeCase {"TwentyEuroSigns", Repeat("\xE2\x82\xAC", 20), 3, 18},
                      TModeCase {"Bytes129", std::string(129, 'a'), 3, 18},
                      TModeCase {"Bytes1000", Pattern(1000), 3, 18}),
    [](const auto& info) { return std::string(info.param.Name); });

// Passwords longer than 128 bytes are taken in full, like any other length.
TEST(AesLibTest, EveryByteOfALongPasswordCounts)
{
    const std::string password = Repeat("long password ", 20);  // 280 bytes
    const std::string stream = Encrypt("secret", password);
    EXPECT_EQ(Decrypt(stream, password).Plain, "secret");
    for (const size_t position : {size_t {128}, size_t {200}, password.size() - 1}) {
        const TDecrypted decrypted = Decrypt(stream, Flipped(password, position));
        // The verifier may pass by chance; the code then fails, after the output was written.
        EXPECT_EQ(decrypted.Result, 1) << "changed byte " << position;
    }
    EXPECT_EQ(Decrypt(stream, password.substr(0, 128)).Result, 1);
}

// --- Sizes and buffers ------------------------------------------------------------------------

class AesSizeTest : public ::testing::TestWithParam<size_t> {};

TEST_P(AesSizeTest, RoundTripsThroughTheStreamFunctions)
{
    const std::string plain = Pattern(GetParam());
    const std::string stream = Encrypt(plain, kPassword);
    ASSERT_EQ(stream.size(), plain.size() + 20);
    const TDecrypted decrypted = Decrypt(stream, kPassword);
    EXPECT_EQ(decrypted.Result, 0);
    EXPECT_TRUE(decrypted.Plain == plain);
}

INSTANTIATE_TEST_SUITE_P(AroundBlocksAndBuffers, AesSizeTest,
                         ::testing::Values(1, 15, 16, 17, 32767, 32768, 32769, 262143, 262144, 262145,
                                           2 * 262144, 2 * 262144 + 1));

TEST(AesLibTest, SameDataTwiceGivesDifferentStreams)
{
    const std::string plain = Pattern(100);
    const std::string first = Encrypt(plain, kPassword);
    const std::string second = Encrypt(plain, kPassword);
    EXPECT_NE(first.substr(0, 8), second.substr(0, 8));
    EXPECT_NE(first, second);
    EXPECT_EQ(Decrypt(first, kPassword).Plain, plain);
    EXPECT_EQ(Decrypt(second, kPassword).Plain, plain);
}

// Chunks of any size give the same ciphertext and code as one call, across key-stream blocks
// and across the batches of counter blocks encrypted at once.
TEST(AesLibTest, ChunkedBlocksEqualOneCall)
{
    TEncryption writer(kPassword, kCryptBufferSize);
    TMemoryStream header;
    ASSERT_TRUE(writer.WriteHeader(header));

    const std::string plain = Pattern(150000);
    std::string whole = plain;
    TEncryption oneCall(kPassword, kCryptBufferSize);
    ASSERT_TRUE(header.Seek(0) && oneCall.ReadHeader(header));
    ASSERT_TRUE(oneCall.EncryptBlock(reinterpret_cast<uint8_t*>(whole.data()), whole.size()));
    TMemoryStream wholeCode;
    ASSERT_TRUE(oneCall.WriteTrailer(wholeCode));

    std::string chunked = plain;
    TEncryption inChunks(kPassword, kCryptBufferSize);
    ASSERT_TRUE(header.Seek(0) && inChunks.ReadHeader(header));
    const size_t sizes[] = {1, 7, 16, 33, 4095, 40000, 17, 0, 3};
    size_t done = 0;
    for (size_t i = 0; done < chunked.size(); ++i) {
        const size_t count = std::min(sizes[i % std::size(sizes)], chunked.size() - done);
        ASSERT_TRUE(inChunks.EncryptBlock(reinterpret_cast<uint8_t*>(chunked.data()) + done, count));
        done += count;
    }
    TMemoryStream chunkedCode;
    ASSERT_TRUE(inChunks.WriteTrailer(chunkedCode));

    EXPECT_NE(whole, plain);
    EXPECT_TRUE(chunked == whole);
    EXPECT_EQ(Bytes(chunkedCode), Bytes(wholeCode));
    ASSERT_EQ(wholeCode.Size(), 10);

    // And the pieces read back through the whole stream.
    TMemoryStream stream;
    Fill(stream, Bytes(header) + whole + Bytes(wholeCode));
    TMemoryStream out;
    TEncryption reader(kPassword, kCryptBufferSize);
    ASSERT_TRUE(reader.DecryptStream(stream, &out, stream.Size()));
    EXPECT_TRUE(Bytes(out) == plain);
}

// Block n of the key stream is AES(key, n as 8 little-endian bytes + 8 zero bytes), from n = 1.
TEST(AesKeyStreamTest, BlocksAreEncryptedLittleEndianCounters)
{
    const std::vector<uint8_t> key(16, 0x5A);
    const size_t blocks = 5000;
    std::vector<uint8_t> stream(blocks * kAesBlockSize + 5, 0);
    TAesKeyStream keyStream;
    ASSERT_TRUE(keyStream.Start(key.data(), key.size()));
    size_t done = 0;
    for (size_t count = 1; done < stream.size(); count = count * 3 + 1) {
        const size_t piece = std::min(count, stream.size() - done);
        ASSERT_TRUE(keyStream.Apply(stream.data() + done, piece));
        done += piece;
    }

    EVP_CIPHER_CTX* aes = EVP_CIPHER_CTX_new();
    ASSERT_EQ(EVP_EncryptInit_ex(aes, EVP_aes_128_ecb(), nullptr, key.data(), nullptr), 1);
    EVP_CIPHER_CTX_set_padding(aes, 0);
    for (const uint64_t n : {uint64_t {1}, uint64_t {2}, uint64_t {256}, uint64_t {2048}, uint64_t {2049},
                             uint64_t {4097}, uint64_t {5000}}) {
        uint8_t counter[kAesBlockSize] = {};
        for (size_t i = 0; i < 8; ++i)
            counter[i] = static_cast<uint8_t>(n >> (8 * i));
        uint8_t expected[kAesBlockSize];
        int written = 0;
        ASSERT_EQ(EVP_EncryptUpdate(aes, expected, &written, counter, kAesBlockSize), 1);
        EXPECT_TRUE(std::equal(expected, expected + kAesBlockSize, stream.begin() + (n - 1) * kAesBlockSize))
            << "block " << n;
    }
    EVP_CIPHER_CTX_free(aes);
}

// The work buffer size only changes how the data is cut, never the result.
TEST(AesLibTest, TinyWorkBuffersRoundTrip)
{
    const std::string plain = Pattern(1000);
    for (const uint32_t bufferSize : {0u, 1u, 7u, 16u}) {
        TMemoryStream source;
        TMemoryStream stream;
        Fill(source, plain);
        TEncryption writer(kPassword, bufferSize);
        ASSERT_TRUE(writer.EncryptStream(source, stream));
        ASSERT_TRUE(stream.Seek(0));
        TMemoryStream out;
        TEncryption reader(kPassword, bufferSize);
        ASSERT_TRUE(reader.DecryptStream(stream, &out, stream.Size())) << bufferSize;
        EXPECT_EQ(Bytes(out), plain) << bufferSize;
    }
}

// A source that hands out short reads before its end must not be taken as ended.
TEST(AesLibTest, ShortReadsAreNotTheEnd)
{
    const std::string plain = Pattern(300000);
    TScriptedStream source;
    Fill(source, plain);
    source.MaxRead = 1000;
    TMemoryStream stream;
    ASSERT_EQ(EncryptStreamWithPassword(&source, &stream, kPassword), 0);
    EXPECT_EQ(stream.Size(), static_cast<int64_t>(plain.size()) + 20);
    EXPECT_TRUE(Decrypt(Bytes(stream), kPassword).Plain == plain);
}

// --- Progress -------------------------------------------------------------------------------

using TEvents = std::vector<std::pair<TFileAction, int64_t>>;

class AesProgressTest : public ::testing::TestWithParam<std::tuple<size_t, TEvents, TEvents>> {};

TEST_P(AesProgressTest, ReportsReadsOfTheWorkBuffer)
{
    const auto& [size, encryptEvents, decryptEvents] = GetParam();
    TEvents events;
    const auto record = [&events](TEncryption*, TFileAction action, int64_t count) {
        events.emplace_back(action, count);
    };

    TMemoryStream source;
    Fill(source, Pattern(size));
    TMemoryStream stream;
    TEncryption writer(kPassword, kCryptBufferSize);
    writer.SetOnProgress(record);
    ASSERT_TRUE(writer.EncryptStream(source, stream));
    EXPECT_EQ(events, encryptEvents);

    events.clear();
    ASSERT_TRUE(stream.Seek(0));
    TEncryption reader(kPassword, kCryptBufferSize);
    reader.SetOnProgress(record);
    TMemoryStream out;
    ASSERT_TRUE(reader.DecryptStream(stream, &out, stream.Size()));
    EXPECT_EQ(events, decryptEvents);
}

constexpr int64_t kBuf = kCryptBufferSize;
constexpr auto acCopy = TFileAction::acCopy;
constexpr auto acEncrypt = TFileAction::acEncrypt;
constexpr auto acDecrypt = TFileAction::acDecrypt;

INSTANTIATE_TEST_SUITE_P(
    Sizes, AesProgressTest,
    ::testing::Values(
        // An exact buffer needs a second, empty read to see the end.
        std::make_tuple(size_t {kBuf}, TEvents {{acEncrypt, kBuf}, {acEncrypt, kBuf}},
                        TEvents {{acCopy, -(kBuf + 20)}, {acDecrypt, kBuf}}),
        std::make_tuple(size_t {kBuf + 1}, TEvents {{acEncrypt, kBuf}, {acEncrypt, kBuf + 1}},
                        TEvents {{acCopy, -(kBuf + 21)}, {acDecrypt, kBuf}, {acDecrypt, 1}}),
        std::make_tuple(size_t {0}, TEvents {{acEncrypt, 0}}, TEvents {{acCopy, -20}})));

TEST(AesLibTest, ProgressNamesItsSender)
{
    TEncryption crypt(kPassword, kCryptBufferSize);
    TEncryption* sender = nullptr;
    crypt.SetOnProgress([&sender](TEncryption* from, TFileAction, int64_t) { sender = from; });
    TMemoryStream source;
    TMemoryStream dest;
    ASSERT_TRUE(crypt.EncryptStream(source, dest));
    EXPECT_EQ(sender, &crypt);
}

// --- Steps out of order never run without keys ------------------------------------------------

TEST(AesLibTest, BlockAndTrailerStepsNeedAHeaderStep)
{
    TEncryption crypt(kPassword, kCryptBufferSize);
    uint8_t data[4] = {1, 2, 3, 4};
    TMemoryStream dest;
    EXPECT_FALSE(crypt.EncryptBlock(data, sizeof data));
    EXPECT_FALSE(crypt.DecryptBlock(data, sizeof data));
    EXPECT_FALSE(crypt.WriteTrailer(dest));
    EXPECT_EQ(dest.Size(), 0);
    EXPECT_EQ(data[0], 1);

    TMemoryStream code;
    Fill(code, std::string(10, '\0'));
    EXPECT_FALSE(crypt.ReadTrailer(code));
}

TEST(AesLibTest, NothingRunsAfterAWrongPasswordOrTheTrailer)
{
    TMemoryStream stream;
    Fill(stream, Encrypt("data", kPassword));
    TEncryption wrong("not the password", kCryptBufferSize);
    ASSERT_FALSE(wrong.ReadHeader(stream));
    uint8_t data[4] = {1, 2, 3, 4};
    EXPECT_FALSE(wrong.DecryptBlock(data, sizeof data));
    EXPECT_EQ(data[0], 1);

    TEncryption done(kPassword, kCryptBufferSize);
    TMemoryStream dest;
    ASSERT_TRUE(done.WriteHeader(dest));
    ASSERT_TRUE(done.WriteTrailer(dest));
    EXPECT_FALSE(done.EncryptBlock(data, sizeof data));
    EXPECT_FALSE(done.WriteTrailer(dest));
}

// --- Short and cut sources --------------------------------------------------------------------

TEST(AesLibTest, SourceShorterThanHeaderAndTrailerFails)
{
    const std::string whole = Encrypt("", kPassword);  // 20 bytes, the shortest stream
    TempDir dir;
    for (const size_t length : {size_t {0}, size_t {1}, size_t {10}, size_t {19}}) {
        const TDecrypted decrypted = Decrypt(whole.substr(0, length), kPassword);
        EXPECT_EQ(decrypted.Result, 1) << length;
        EXPECT_TRUE(decrypted.Plain.empty()) << length;

        WriteFile(dir / "in", whole.substr(0, length));
        EXPECT_EQ(DecryptFileWithPassword(dir / "in", dir / "out", kPassword), 1) << length;
        EXPECT_FALSE(std::filesystem::exists(dir / "out")) << length;
    }
}

TEST(AesLibTest, CutOrLengthenedStreamFails)
{
    const std::string whole = Encrypt(Pattern(500), kPassword);
    EXPECT_EQ(Decrypt(whole.substr(0, whole.size() - 1), kPassword).Result, 1);
    EXPECT_EQ(Decrypt(whole + "x", kPassword).Result, 1);
}

// A stream length beyond the source's end fails at the read, not outside it.
TEST(AesLibTest, LengthBeyondTheSourceFails)
{
    TMemoryStream source;
    Fill(source, Encrypt(Pattern(500), kPassword));
    TMemoryStream out;
    TEncryption crypt(kPassword, kCryptBufferSize);
    EXPECT_FALSE(crypt.DecryptStream(source, &out, source.Size() + 1000000));
}

// --- Read and write errors --------------------------------------------------------------------

TEST(AesLibTest, ReadAndWriteErrorsFail)
{
    const std::string plain = Pattern(600000);
    const std::string stream = Encrypt(plain, kPassword);
    for (const int64_t limit : {int64_t {0}, int64_t {5}, int64_t {300000}, int64_t {599990}}) {
        TScriptedStream brokenSource;
        Fill(brokenSource, plain);
        brokenSource.ReadLimit = limit;
        TMemoryStream dest;
        EXPECT_EQ(EncryptStreamWithPassword(&brokenSource, &dest, kPassword), 1) << limit;

        TMemoryStream source;
        TScriptedStream fullDest;
        Fill(source, plain);
        fullDest.WriteLimit = limit;
        EXPECT_EQ(EncryptStreamWithPassword(&source, &fullDest, kPassword), 1) << limit;

        TScriptedStream brokenStream;
        Fill(brokenStream, stream);
        brokenStream.ReadLimit = limit;
        TMemoryStream out;
        EXPECT_EQ(DecryptStreamWithPassword(&brokenStream, &out, kPassword), 1) << limit;

        TMemoryStream intact;
        TScriptedStream fullOut;
        Fill(intact, stream);
        fullOut.WriteLimit = limit;
        EXPECT_EQ(DecryptStreamWithPassword(&intact, &fullOut, kPassword), 1) << limit;
    }
}

// --- Module functions -------------------------------------------------------------------------

TEST(AesLibTest, MissingStreamsGiveTheirCodes)
{
    TMemoryStream stream;
    EXPECT_EQ(EncryptStreamWithPassword(nullptr, &stream, kPassword), 1);
    EXPECT_EQ(EncryptStreamWithPassword(&stream, nullptr, kPassword), 1);
    EXPECT_EQ(DecryptStreamWithPassword(nullptr, &stream, kPassword), -1);
    EXPECT_EQ(DecryptStreamWithPassword(&stream, nullptr, kPassword), -1);
    EXPECT_EQ(stream.Size(), 0);
}

TEST(AesLibTest, StreamFunctionsStartAtTheSourcePosition)
{
    TMemoryStream source;
    Fill(source, "skipped|" + Pattern(100));
    ASSERT_TRUE(source.Seek(8));
    TMemoryStream stream;
    ASSERT_EQ(EncryptStreamWithPassword(&source, &stream, kPassword), 0);

    TMemoryStream framed;
    Fill(framed, "head" + Bytes(stream));
    ASSERT_TRUE(framed.Seek(4));
    TMemoryStream out;
    ASSERT_EQ(DecryptStreamWithPassword(&framed, &out, kPassword), 0);
    EXPECT_EQ(out.Position(), 0);
    EXPECT_EQ(Bytes(out), Pattern(100));
}

TEST(AesLibTest, FilesRoundTripAndReplaceTheDestination)
{
    TempDir dir;
    const std::string plain = Pattern(262144 + 3);
    WriteFile(dir / "plain", plain);
    WriteFile(dir / "sealed", std::string(600000, 'z'));
    WriteFile(dir / "opened", std::string(600000, 'z'));

    ASSERT_EQ(EncryptFileWithPassword(dir / "plain", dir / "sealed", kPassword), 0);
    EXPECT_EQ(std::filesystem::file_size(dir / "sealed"), plain.size() + 20);
    ASSERT_EQ(DecryptFileWithPassword(dir / "sealed", dir / "opened", kPassword), 0);
    EXPECT_TRUE(ReadFile(dir / "opened") == plain);
}

TEST(AesLibTest, WrongPasswordRemovesTheFileDestination)
{
    TempDir dir;
    WriteFile(dir / "plain", "content");
    ASSERT_EQ(EncryptFileWithPassword(dir / "plain", dir / "sealed", kPassword), 0);
    EXPECT_EQ(DecryptFileWithPassword(dir / "sealed", dir / "opened", "wrong"), 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "opened"));
}

struct TFileCase {
    const char* Name;
    const char* Source;  // relative to the test folder
    const char* Dest;
    int EncryptResult;
    int DecryptResult;
    friend void PrintTo(const TFileCase& file, std::ostream* out) { *out << file.Name; }
};

class AesFileCodeTest : public ::testing::TestWithParam<TFileCase> {};

// Failures before any output leave the files that are there alone.
TEST_P(AesFileCodeTest, GivesItsCodeAndKeepsOtherFiles)
{
    TempDir dir;
    const std::string sealed = Encrypt("data", kPassword);
    WriteFile(dir / "existing", "keep me");
    WriteFile(dir / "sealed", sealed);
    std::filesystem::create_directory(dir / "folder");
    const auto source = dir / GetParam().Source;
    const auto dest = dir / GetParam().Dest;

    EXPECT_EQ(EncryptFileWithPassword(source, dest, kPassword), GetParam().EncryptResult);
    EXPECT_EQ(DecryptFileWithPassword(source, dest, kPassword), GetParam().DecryptResult);
    EXPECT_EQ(ReadFile(dir / "existing"), "keep me");
    EXPECT_EQ(ReadFile(dir / "sealed"), sealed);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, AesFileCodeTest,
    ::testing::Values(TFileCase {"MissingSource", "missing", "existing", 1, -1},
                      TFileCase {"SourceIsAFolder", "folder", "out", 1, -1},
                      TFileCase {"DestInMissingFolder", "sealed", "missing/out", 1, -1},
                      TFileCase {"DestIsAFolder", "sealed", "folder", 1, -1},
                      TFileCase {"SameFile", "sealed", "sealed", 1, -1},
                      TFileCase {"SameFileByAnotherName", "sealed", "folder/../sealed", 1, -1}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace pyxa
