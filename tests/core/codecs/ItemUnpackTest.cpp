#include "core/codecs/ItemPipelineFixture.h"

#include "support/DateTime.h"

#include <sys/stat.h>

#include <tuple>

namespace pyxa::test {
namespace {

const std::string kPassword = "right password";

std::string VariantParamName(const ::testing::TestParamInfo<TVariant>& info)
{
    return VariantName(info.param);
}

// A zlib stream of that many zero bytes, made in slices so the test never holds them all.
std::string ZerosCompressed(int64_t count)
{
    z_stream z {};
    EXPECT_EQ(deflateInit(&z, 1), Z_OK);
    const std::string zeros(1 << 20, '\0');
    std::string out;
    std::vector<Bytef> buffer(1 << 16);
    int flush = Z_NO_FLUSH;
    do {
        const int64_t slice = std::min<int64_t>(count, static_cast<int64_t>(zeros.size()));
        count -= slice;
        flush = count == 0 ? Z_FINISH : Z_NO_FLUSH;
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.data()));
        z.avail_in = static_cast<uInt>(slice);
        do {
            z.next_out = buffer.data();
            z.avail_out = static_cast<uInt>(buffer.size());
            deflate(&z, flush);
            out.append(reinterpret_cast<const char*>(buffer.data()), buffer.size() - z.avail_out);
        } while (z.avail_out == 0);
    } while (flush != Z_FINISH);
    deflateEnd(&z);
    return out;
}

enum class TOrigin { Stored, Pending };

class ItemUnpackRoundTrip : public ItemPipelineFixture,
                            public ::testing::WithParamInterface<std::tuple<TVariant, TOrigin, bool>> {};

TEST_P(ItemUnpackRoundTrip, RestoresTheContentAndLeavesNoScratchFile)
{
    const auto [variant, origin, encrypted] = GetParam();
    const std::string content = SampleText(150000, 3);
    const std::string password = encrypted ? kPassword : "";
    TItemInfo item = origin == TOrigin::Pending ? PendingItem(content, password, variant)
                     : encrypted               ? StoredEncryptedItem(content, kPassword, variant)
                                               : StoredPlainItem(content, variant);
    item.TmpPass = password;

    ASSERT_EQ(UnpackItem(Container, item, Destination(), false), UnpackResult::Ok);

    EXPECT_EQ(ReadFile(Destination()), content);
    EXPECT_TRUE(Host.PasswordRequests.empty()) << "TmpPass opens the item";
    EXPECT_EQ(item.TmpPass, password);
    const std::vector<fs::path> owned =
        origin == TOrigin::Pending ? std::vector<fs::path> {item.TmpCmpFile} : std::vector<fs::path> {};
    EXPECT_EQ(WorkingFiles(), owned) << "only a pending item's own data may stay";
    EXPECT_EQ(Entries(Destination().parent_path()), std::vector<std::string> {"restored.txt"});
}

INSTANTIATE_TEST_SUITE_P(Cases, ItemUnpackRoundTrip,
                         ::testing::Combine(::testing::Values(TVariant::InMemory, TVariant::ViaFiles),
                                            ::testing::Values(TOrigin::Stored, TOrigin::Pending), ::testing::Bool()),
                         [](const auto& info) {
                             return VariantName(std::get<0>(info.param)) +
                                    (std::get<1>(info.param) == TOrigin::Stored ? "_Stored" : "_Pending") +
                                    (std::get<2>(info.param) ? "_Encrypted" : "_Plain");
                         });

enum class TFault {
    TemporaryFileGone,
    ContainerMovedAway,
    HeaderAltered,
    WrongBlockKind,
    IndexPastTheEnd,
    DamagedZlibStream,
    WrongTmpPass,
    DamagedEncryptedData,
};

struct TFaultCase {
    const char* Name;
    TFault Fault;
    UnpackResult Expected;
};

const TFaultCase kFaultCases[] = {
    {"TemporaryFileGone", TFault::TemporaryFileGone, UnpackResult::TemporaryNotFound},
    {"ContainerMovedAway", TFault::ContainerMovedAway, UnpackResult::ContainerNotFound},
    {"HeaderAltered", TFault::HeaderAltered, UnpackResult::SignatureError},
    {"WrongBlockKind", TFault::WrongBlockKind, UnpackResult::SignatureError},
    {"IndexPastTheEnd", TFault::IndexPastTheEnd, UnpackResult::SignatureError},
    {"DamagedZlibStream", TFault::DamagedZlibStream, UnpackResult::CannotDecompress},
    {"WrongTmpPass", TFault::WrongTmpPass, UnpackResult::InvalidPassword},
    {"DamagedEncryptedData", TFault::DamagedEncryptedData, UnpackResult::InvalidPassword},
};

class ItemUnpackFault : public ItemPipelineFixture,
                        public ::testing::WithParamInterface<std::tuple<TVariant, TFaultCase>> {
protected:
    TItemInfo FaultyItem(TFault fault, TVariant variant)
    {
        const std::string content = SampleText(20000, 5);
        switch (fault) {
        case TFault::TemporaryFileGone: {
            TItemInfo item = PendingItem(content, "", variant);
            fs::remove(item.TmpCmpFile);
            return item;
        }
        case TFault::ContainerMovedAway: {
            TItemInfo item = StoredPlainItem(content, variant);
            fs::rename(ContainerPath(), Dir / "moved.pyxa");
            return item;
        }
        case TFault::HeaderAltered: {
            TItemInfo item = StoredPlainItem(content, variant);
            std::string bytes = ReadFile(ContainerPath());
            bytes.replace(0, 5, "PYXB\x00");
            WriteContainer(bytes);
            return item;
        }
        case TFault::WrongBlockKind: {
            std::string block = ItemBlockBytes(ZlibCompress(content));
            block[4] = '\x01';
            return StoredItemWithBlock(content, block, variant);
        }
        case TFault::IndexPastTheEnd: {
            TItemInfo item = StoredPlainItem(content, variant);
            item.Index = static_cast<int64_t>(fs::file_size(ContainerPath())) + 100;
            return item;
        }
        case TFault::DamagedZlibStream:
            return StoredItem(content, "this is not a zlib stream at all", variant);
        case TFault::WrongTmpPass: {
            TItemInfo item = StoredEncryptedItem(content, kPassword, variant);
            item.TmpPass = "stale password";
            return item;
        }
        case TFault::DamagedEncryptedData: {
            std::string packed = Encrypted(ZlibCompress(content), kPassword);
            packed[packed.size() / 2] = static_cast<char>(packed[packed.size() / 2] ^ 1);
            TItemInfo item = StoredItem(content, packed, variant);
            item.Encrypted = true;
            item.TmpPass = kPassword;
            return item;
        }
        }
        return {};
    }
};

TEST_P(ItemUnpackFault, FailsWithItsCodeAndLeavesNothingBehind)
{
    const auto& [variant, fault] = GetParam();
    TItemInfo item = FaultyItem(fault.Fault, variant);

    EXPECT_EQ(UnpackItem(Container, item, Destination(), true), fault.Expected);

    EXPECT_TRUE(Entries(Destination().parent_path()).empty()) << "no output, no scratch file";
    EXPECT_TRUE(WorkingFiles().empty());
    EXPECT_TRUE(Host.PasswordRequests.empty());
    EXPECT_FALSE(Host.CancelRequested());
}

INSTANTIATE_TEST_SUITE_P(Cases, ItemUnpackFault,
                         ::testing::Combine(::testing::Values(TVariant::InMemory, TVariant::ViaFiles),
                                            ::testing::ValuesIn(kFaultCases)),
                         [](const auto& info) {
                             return VariantName(std::get<0>(info.param)) + "_" + std::get<1>(info.param).Name;
                         });

class ItemUnpack : public ItemPipelineFixture, public ::testing::WithParamInterface<TVariant> {};

TEST_P(ItemUnpack, ACrcMismatchIsDeliveredOnlyWhenKept)
{
    const std::string content = SampleText(30000, 7);
    for (const bool keep : {true, false}) {
        SCOPED_TRACE(keep ? "keep" : "discard");
        TItemInfo item = StoredPlainItem(content, GetParam());
        item.Crc ^= 1;
        EXPECT_EQ(UnpackItem(Container, item, Destination(), keep), UnpackResult::CrcError);
        if (keep) {
            EXPECT_EQ(ReadFile(Destination()), content);
        } else {
            EXPECT_FALSE(fs::exists(Destination()));
        }
        EXPECT_TRUE(WorkingFiles().empty());
        fs::remove(Destination());
    }
}

TEST_P(ItemUnpack, AFolderAtTheDestinationIsNotReplaced)
{
    TItemInfo item = StoredPlainItem("content", GetParam());
    fs::create_directory(Destination());
    EXPECT_EQ(UnpackItem(Container, item, Destination(), false), UnpackResult::CannotSaveOutput);
    EXPECT_TRUE(fs::is_directory(Destination()));
    EXPECT_TRUE(WorkingFiles().empty());
    EXPECT_EQ(Entries(Destination().parent_path()), std::vector<std::string> {"restored.txt"});
}

TEST_P(ItemUnpack, AFullDiskLeavesNothingUnderTheDestinationName)
{
    TItemInfo item = StoredPlainItem(SampleText(300000, 9), GetParam());
    {
        TDiskFullAfter full(1000);
        EXPECT_NE(UnpackItem(Container, item, Destination(), false), UnpackResult::Ok);
    }
    EXPECT_TRUE(Entries(Destination().parent_path()).empty());
    EXPECT_TRUE(WorkingFiles().empty());
}

// A replaced item was packed again after it was stored: its temporary file is its content now.
TEST_P(ItemUnpack, AReplacedItemRestoresItsNewContentAndKeepsItsTemporaryFile)
{
    const std::string newContent = SampleText(40000, 11);
    TItemInfo item = StoredPlainItem(SampleText(40000, 10), GetParam());
    TItemInfo repacked = PendingItem(newContent, "", GetParam());
    item.TmpCmpFile = repacked.TmpCmpFile;
    item.TmpCrcFile = repacked.TmpCrcFile;
    item.Crc = repacked.Crc;

    EXPECT_EQ(UnpackItem(Container, item, Destination(), false), UnpackResult::Ok);
    EXPECT_EQ(ReadFile(Destination()), newContent);
    EXPECT_TRUE(fs::exists(item.TmpCmpFile));
}

struct TDateCase {
    const char* Name;
    bool Restore;
    bool Exists;
};

TEST_P(ItemUnpack, TheOriginalDateIsGivenOnlyWhenRestoringAndPresent)
{
    TDateTime original = 0;
    ASSERT_TRUE(TryEncodeDateTime({2010, 5, 4, 13, 7, 9, 0}, original));
    timespec expected {};
    ASSERT_TRUE(MomentOfLocalDateTime(original, expected));
    for (const TDateCase& c : {TDateCase {"restore", true, true}, TDateCase {"setting off", false, true},
                               TDateCase {"no date", true, false}}) {
        SCOPED_TRACE(c.Name);
        TItemInfo item = StoredPlainItem("dated content", GetParam());
        item.Original = {original, 120, c.Exists};
        Container.RestoreOriginalDate = c.Restore;
        ASSERT_EQ(UnpackItem(Container, item, Destination(), false), UnpackResult::Ok);
        struct stat info {};
        ASSERT_EQ(::stat(Destination().c_str(), &info), 0);
        EXPECT_EQ(info.st_mtim.tv_sec == expected.tv_sec, c.Restore && c.Exists);
        fs::remove(Destination());
    }
}

INSTANTIATE_TEST_SUITE_P(Variants, ItemUnpack, ::testing::Values(TVariant::InMemory, TVariant::ViaFiles),
                         VariantParamName);

struct TOverwriteCase {
    const char* Name;
    int64_t Size;
    bool Replaces;
};

class ItemUnpackOverwrite : public ItemPipelineFixture, public ::testing::WithParamInterface<TOverwriteCase> {};

// Within the in-memory limit an existing file is replaced; a larger item never replaces one.
TEST_P(ItemUnpackOverwrite, AnExistingDestinationIsReplacedOnlyWithinTheLimit)
{
    const std::string content = SampleText(20000, 13);
    TItemInfo item = StoredPlainItem(content, TVariant::InMemory);
    item.Size = GetParam().Size;
    WriteFile(Destination(), "older file");

    EXPECT_EQ(UnpackItem(Container, item, Destination(), false),
              GetParam().Replaces ? UnpackResult::Ok : UnpackResult::CannotSaveOutput);
    EXPECT_EQ(ReadFile(Destination()), GetParam().Replaces ? content : "older file");
    EXPECT_TRUE(WorkingFiles().empty());
    EXPECT_EQ(Entries(Destination().parent_path()), std::vector<std::string> {"restored.txt"});
}

INSTANTIATE_TEST_SUITE_P(Sizes, ItemUnpackOverwrite,
                         ::testing::Values(TOverwriteCase {"Unknown", -1, true}, TOverwriteCase {"Zero", 0, true},
                                           TOverwriteCase {"AtTheLimit", kInMemoryLimit, true},
                                           TOverwriteCase {"OneByteMore", kInMemoryLimit + 1, false},
                                           TOverwriteCase {"Huge", int64_t {1} << 50, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

class ItemUnpackInMemory : public ItemPipelineFixture {};

TEST_F(ItemUnpackInMemory, AReadOnlyDestinationIsNotReplaced)
{
    TItemInfo item = StoredPlainItem("content", TVariant::InMemory);
    WriteFile(Destination(), "protected");
    fs::permissions(Destination(), fs::perms::owner_read | fs::perms::group_read);

    EXPECT_EQ(UnpackItem(Container, item, Destination(), false), UnpackResult::CannotSaveOutput);
    EXPECT_EQ(ReadFile(Destination()), "protected");
    EXPECT_EQ(Entries(Destination().parent_path()), std::vector<std::string> {"restored.txt"});
}

TEST_F(ItemUnpackInMemory, AFullDiskKeepsTheFileThatWasToBeReplaced)
{
    TItemInfo item = StoredPlainItem(SampleText(300000, 15), TVariant::InMemory);
    WriteFile(Destination(), "older file");
    {
        TDiskFullAfter full(1000);
        EXPECT_EQ(UnpackItem(Container, item, Destination(), false), UnpackResult::CannotSaveOutput);
    }
    EXPECT_EQ(ReadFile(Destination()), "older file");
    EXPECT_EQ(Entries(Destination().parent_path()), std::vector<std::string> {"restored.txt"});
}

// Decompressing into memory stops at a bound instead of following the data's own claims.
TEST_F(ItemUnpackInMemory, ADecompressionBombCannotFillMemory)
{
    TItemInfo item = StoredItem("", ZerosCompressed(kInMemoryOutputLimit + 1), TVariant::InMemory);
    item.Size = 1000;

    EXPECT_EQ(UnpackItem(Container, item, Destination(), true), UnpackResult::CannotDecompress);
    EXPECT_FALSE(fs::exists(Destination()));
}

class ItemUnpackBoundary : public ItemPipelineFixture {
protected:
    // Repetitive, so that the codec is quick on the big file the boundary needs.
    static std::string BigContent(int64_t size)
    {
        const std::string pattern = SampleText(4093, 17);
        std::string content;
        content.reserve(static_cast<size_t>(size));
        while (static_cast<int64_t>(content.size()) < size)
            content += pattern;
        content.resize(static_cast<size_t>(size));
        return content;
    }

    // Whole-file reads of this size go through the engine's buffered stream.
    static bool HoldsExactly(const fs::path& path, const std::string& content)
    {
        TMemoryStream file;
        return file.LoadFromFile(path) && file.Size() == static_cast<int64_t>(content.size()) &&
               std::equal(content.begin(), content.end(), reinterpret_cast<const char*>(file.Data().data()));
    }
};

TEST_F(ItemUnpackBoundary, AFileOfExactlyTheLimitPacksAlikeBothWaysAndUnpacksInMemory)
{
    const std::string content = BigContent(kInMemoryLimit);
    const fs::path source = SourceFile(content);
    TItemInfo item;
    TItemInfo viaFiles;
    ASSERT_EQ(PackItemInMemory(Container, source, "", &item), PackResult::Ok);
    ASSERT_EQ(PackItemViaFiles(Container, source, "", &viaFiles), PackResult::Ok);
    TMemoryStream packed;
    ASSERT_TRUE(packed.LoadFromFile(item.TmpCmpFile));
    EXPECT_TRUE(HoldsExactly(viaFiles.TmpCmpFile, std::string(packed.Data().begin(), packed.Data().end())));
    EXPECT_EQ(item.TmpCrcFile, viaFiles.TmpCrcFile);

    item.Size = kInMemoryLimit;
    WriteFile(Destination(), "older file");
    ASSERT_EQ(UnpackItem(Container, item, Destination(), false), UnpackResult::Ok) << "replaced: in memory";
    EXPECT_TRUE(HoldsExactly(Destination(), content));
}

TEST_F(ItemUnpackBoundary, OneByteMoreUnpacksThroughFiles)
{
    const std::string content = BigContent(kInMemoryLimit + 1);
    TItemInfo item;
    ASSERT_EQ(PackItemViaFiles(Container, SourceFile(content), "", &item), PackResult::Ok);
    item.Size = kInMemoryLimit + 1;
    WriteFile(Destination(), "older file");
    EXPECT_EQ(UnpackItem(Container, item, Destination(), false), UnpackResult::CannotSaveOutput)
        << "an existing file is kept: through files";
    fs::remove(Destination());

    ASSERT_EQ(UnpackItem(Container, item, Destination(), false), UnpackResult::Ok);
    EXPECT_TRUE(HoldsExactly(Destination(), content));
    EXPECT_EQ(WorkingFiles(), std::vector<fs::path> {item.TmpCmpFile});
}

}  // namespace
}  // namespace pyxa::test
