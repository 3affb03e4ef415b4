#include "core/codecs/ItemPipelineFixture.h"

#include <random>
#include <tuple>

namespace pyxa::test {
namespace {

using TPackFunction = PackResult (*)(TContainer&, const fs::path&, const std::string&, TItemInfo*);

struct TPackVariant {
    const char* Name;
    TPackFunction Pack;
};

const TPackVariant kPackVariants[] = {
    {"InMemory", PackItemInMemory},
    {"ViaFiles", PackItemViaFiles},
};

struct TPasswordCase {
    const char* Name;
    std::string Given;
    std::string Automatic;
    std::string Expected;  // the password the packed data opens with; empty: not encrypted
};

const TPasswordCase kPasswordCases[] = {
    {"NoPassword", "", "", ""},
    {"GivenPassword", "open sesame", "", "open sesame"},
    {"AutomaticPassword", "", "for all files", "for all files"},
    {"GivenPasswordBeatsAutomatic", "open sesame", "for all files", "open sesame"},
};

std::string RandomBytes(size_t size)
{
    std::mt19937 generator(7);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(generator() & 0xFF);
    return bytes;
}

class ItemPack : public ItemPipelineFixture,
                 public ::testing::WithParamInterface<std::tuple<TPackVariant, TPasswordCase>> {};

TEST_P(ItemPack, FillsTheItemWithPackedDataThatOpensWithThePasswordInForce)
{
    const auto& [variant, passwords] = GetParam();
    const std::string content = SampleText(150000);  // more than one codec buffer
    Container.GlobalPassword = passwords.Automatic;
    TItemInfo item;
    item.Index = 4711;

    ASSERT_EQ(variant.Pack(Container, SourceFile(content), passwords.Given, &item), PackResult::Ok);

    EXPECT_EQ(item.Crc, ZlibCrc(content));
    EXPECT_EQ(item.Index, 4711) << "Index is the caller's";
    EXPECT_EQ(item.Encrypted, !passwords.Expected.empty());
    EXPECT_EQ(item.TmpPass, passwords.Expected);
    EXPECT_EQ(item.TmpCmpFile.parent_path(), Container.WorkingFolder.Path());
    const std::string packed = ReadFile(item.TmpCmpFile);
    EXPECT_EQ(item.TmpCrcFile, ZlibCrc(packed));
    const std::string compressed = item.Encrypted ? Decrypted(packed, passwords.Expected) : packed;
    EXPECT_EQ(Inflated(compressed, content.size()), content);
    EXPECT_EQ(WorkingFiles(), std::vector<fs::path> {item.TmpCmpFile}) << "scratch files were left behind";
}

INSTANTIATE_TEST_SUITE_P(VariantsAndPasswords, ItemPack,
                         ::testing::Combine(::testing::ValuesIn(kPackVariants), ::testing::ValuesIn(kPasswordCases)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).Name) + "_" + std::get<1>(info.param).Name;
                         });

struct TLayoutCase {
    const char* Name;
    std::string Content;
};

class ItemPackLayout : public ItemPipelineFixture, public ::testing::WithParamInterface<TLayoutCase> {};

TEST_P(ItemPackLayout, BothVariantsWriteTheSamePackedBytes)
{
    const fs::path source = SourceFile(GetParam().Content);
    TItemInfo inMemory;
    TItemInfo viaFiles;
    ASSERT_EQ(PackItemInMemory(Container, source, "", &inMemory), PackResult::Ok);
    ASSERT_EQ(PackItemViaFiles(Container, source, "", &viaFiles), PackResult::Ok);

    EXPECT_NE(inMemory.TmpCmpFile, viaFiles.TmpCmpFile);
    EXPECT_EQ(ReadFile(inMemory.TmpCmpFile), ReadFile(viaFiles.TmpCmpFile));
    EXPECT_EQ(inMemory.TmpCrcFile, viaFiles.TmpCrcFile);
    EXPECT_EQ(inMemory.Crc, viaFiles.Crc);
    EXPECT_EQ(inMemory.Crc, ZlibCrc(GetParam().Content));
}

INSTANTIATE_TEST_SUITE_P(Contents, ItemPackLayout,
                         ::testing::Values(TLayoutCase {"Empty", ""}, TLayoutCase {"Short", "hello"},
                                           TLayoutCase {"Text", SampleText(200000)},
                                           TLayoutCase {"Incompressible", RandomBytes(100000)}),
                         [](const auto& info) { return std::string(info.param.Name); });

class ItemPackFailure : public ItemPipelineFixture, public ::testing::WithParamInterface<TPackVariant> {
protected:
    // An item that already holds packed data: a failed pack must leave all of it as it is.
    TItemInfo PackedBefore()
    {
        TItemInfo item;
        item.Crc = 0x1234;
        item.Encrypted = true;
        item.TmpPass = "old password";
        item.TmpCmpFile = Dir / "earlier.dat";
        item.TmpCrcFile = 0x5678;
        WriteFile(item.TmpCmpFile, "earlier packed data");
        return item;
    }

    static void ExpectUnchanged(const TItemInfo& item)
    {
        EXPECT_EQ(item.Crc, 0x1234u);
        EXPECT_TRUE(item.Encrypted);
        EXPECT_EQ(item.TmpPass, "old password");
        EXPECT_EQ(item.TmpCmpFile.filename(), "earlier.dat");
        EXPECT_EQ(item.TmpCrcFile, 0x5678u);
        EXPECT_EQ(ReadFile(item.TmpCmpFile), "earlier packed data");
    }
};

TEST_P(ItemPackFailure, AMissingSourceIsInputNotFound)
{
    TItemInfo item = PackedBefore();
    EXPECT_EQ(GetParam().Pack(Container, Dir / "nowhere.txt", "", &item), PackResult::InputNotFound);
    EXPECT_EQ(GetParam().Pack(Container, Dir.Path(), "", &item), PackResult::InputNotFound) << "a folder";
    ExpectUnchanged(item);
}

TEST_P(ItemPackFailure, NoItemIsInvalidItem)
{
    EXPECT_EQ(GetParam().Pack(Container, SourceFile("data"), "", nullptr), PackResult::InvalidItem);
    EXPECT_TRUE(WorkingFiles().empty());
}

TEST_P(ItemPackFailure, ATemporaryFileThatCannotBeCreatedLeavesTheItemAsItWas)
{
    TItemInfo item = PackedBefore();
    const fs::path source = SourceFile(SampleText(5000));
    fs::remove_all(Container.WorkingFolder.Path());

    EXPECT_EQ(GetParam().Pack(Container, source, "secret", &item), PackResult::CannotCreateTemporary);
    ExpectUnchanged(item);
}

TEST_P(ItemPackFailure, AFullDiskLeavesNoScratchFileAndTheItemAsItWas)
{
    TItemInfo item = PackedBefore();
    const fs::path source = SourceFile(SampleText(300000));
    {
        TDiskFullAfter full(1000);
        const PackResult result = GetParam().Pack(Container, source, "", &item);
        EXPECT_TRUE(result == PackResult::CannotCreateTemporary || result == PackResult::CannotCompress)
            << static_cast<int>(result);
    }
    EXPECT_TRUE(WorkingFiles().empty());
    ExpectUnchanged(item);
}

INSTANTIATE_TEST_SUITE_P(Variants, ItemPackFailure, ::testing::ValuesIn(kPackVariants),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace pyxa::test
