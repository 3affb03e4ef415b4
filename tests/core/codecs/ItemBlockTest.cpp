#include "core/codecs/ItemPipelineFixture.h"

#include <limits>
#include <tuple>

namespace pyxa::test {
namespace {

enum class TForm { File, Stream };

struct TCopied {
    UnpackResult Result;
    std::string Bytes;
    bool FileExists = false;
};

class ItemBlock : public ItemPipelineFixture, public ::testing::WithParamInterface<TForm> {
protected:
    fs::path CopyPath() const { return Dir / "copy.dat"; }

    TCopied Copy(const TItemInfo& item, bool checkCrc)
    {
        if (GetParam() == TForm::File) {
            const UnpackResult result = CopyItemBlockToFile(Container, item, CopyPath(), checkCrc);
            return {result, ReadFile(CopyPath()), fs::exists(CopyPath())};
        }
        TMemoryStream stream;
        const UnpackResult result = CopyItemBlockToStream(Container, item, &stream, checkCrc);
        EXPECT_EQ(stream.Position(), 0);
        return {result, std::string(stream.Data().begin(), stream.Data().end()), false};
    }
};

TEST_P(ItemBlock, TheBlockCrcIsCheckedOnlyWhenAsked)
{
    const std::string packed = ZlibCompress(SampleText(90000));
    std::string block = ItemBlockBytes(packed);
    block.back() = static_cast<char>(block.back() ^ 0x40);  // the data no longer matches the block's CRC
    const std::string damaged = block.substr(17);
    struct TCase {
        bool Damaged;
        bool Check;
        UnpackResult Expected;
    };
    for (const TCase& c : {TCase {false, true, UnpackResult::Ok}, TCase {true, true, UnpackResult::PackedCrcError},
                           TCase {true, false, UnpackResult::Ok}}) {
        SCOPED_TRACE(testing::Message() << "damaged " << c.Damaged << " check " << c.Check);
        const TItemInfo item = StoredItemWithBlock("", c.Damaged ? block : ItemBlockBytes(packed), TVariant::InMemory);
        const TCopied copied = Copy(item, c.Check);
        EXPECT_EQ(copied.Result, c.Expected);
        if (c.Expected == UnpackResult::Ok) {
            EXPECT_EQ(copied.Bytes, c.Damaged ? damaged : packed);
        } else if (GetParam() == TForm::File) {
            EXPECT_FALSE(copied.FileExists) << "a failed copy must not stay";
        }
        fs::remove(CopyPath());
    }
}

TEST_P(ItemBlock, AnItemWithoutBlockIsNotAddedYet)
{
    TItemInfo item = StoredPlainItem("content", TVariant::InMemory);
    for (const int64_t index : {int64_t {0}, int64_t {-1}}) {
        item.Index = index;
        EXPECT_EQ(Copy(item, true).Result, UnpackResult::NotAddedYet) << index;
    }
}

TEST_P(ItemBlock, ABlockWithoutDataCopiesNothing)
{
    const TItemInfo item = StoredItemWithBlock("", std::string("PYXA\x02", 5) + Le64(0), TVariant::InMemory);
    const TCopied copied = Copy(item, true);
    EXPECT_EQ(copied.Result, UnpackResult::Ok);
    EXPECT_EQ(copied.Bytes, "");
}

// The length is read from the file: it must never size an allocation or a copy beyond the file.
TEST_P(ItemBlock, ALengthTheContainerCannotHoldIsASignatureError)
{
    const std::string packed = ZlibCompress("content");
    for (const int64_t length : {int64_t {-1}, std::numeric_limits<int64_t>::min(), int64_t {1} << 40,
                                 int64_t {1} << 62, std::numeric_limits<int64_t>::max()}) {
        SCOPED_TRACE(length);
        std::string block = ItemBlockBytes(packed);
        block.replace(5, 8, Le64(length));
        const TCopied copied = Copy(StoredItemWithBlock("content", block, TVariant::InMemory), false);
        EXPECT_EQ(copied.Result, UnpackResult::SignatureError);
        EXPECT_EQ(copied.Bytes, "");
    }
}

TEST_P(ItemBlock, ALengthOneByteBeyondTheEndIsASignatureError)
{
    const std::string packed = ZlibCompress("content");
    std::string bytes = HeaderBytes(0) + ItemBlockBytes(packed);  // no index block: the block ends the file
    bytes.replace(13 + 5, 8, Le64(static_cast<int64_t>(packed.size()) + 1));
    WriteContainer(bytes);
    TItemInfo item;
    item.Index = 13;
    EXPECT_EQ(Copy(item, false).Result, UnpackResult::SignatureError);
    bytes.replace(13 + 5, 8, Le64(static_cast<int64_t>(packed.size())));
    WriteContainer(bytes);
    EXPECT_EQ(Copy(item, true).Result, UnpackResult::Ok) << "the exact length reaches the end";
}

INSTANTIATE_TEST_SUITE_P(Forms, ItemBlock, ::testing::Values(TForm::File, TForm::Stream),
                         [](const auto& info) { return info.param == TForm::File ? "File" : "Stream"; });

class ItemBlockOutput : public ItemPipelineFixture {};

TEST_F(ItemBlockOutput, AnExistingFileIsNeitherFilledNorRemoved)
{
    const TItemInfo item = StoredPlainItem("content", TVariant::ViaFiles);
    WriteFile(Dir / "taken.dat", "not yours");
    EXPECT_EQ(CopyItemBlockToFile(Container, item, Dir / "taken.dat", false), UnpackResult::CannotCreateTemporary);
    EXPECT_EQ(ReadFile(Dir / "taken.dat"), "not yours");
}

TEST_F(ItemBlockOutput, AMissingStreamCannotBeFilled)
{
    const TItemInfo item = StoredPlainItem("content", TVariant::InMemory);
    EXPECT_EQ(CopyItemBlockToStream(Container, item, nullptr, false), UnpackResult::CannotCreateTemporary);
}

}  // namespace
}  // namespace pyxa::test
