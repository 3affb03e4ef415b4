#include "container/OpenContainer.h"
#include "helpers/ContainerBytes.h"
#include "helpers/FakeHost.h"
#include "helpers/TempDir.h"

#include <gtest/gtest.h>

namespace pyxa {
namespace {

using test::ContainerBytes;
using test::HeaderBytes;
using test::IndexBlockBytes;
using test::IndexDocumentText;
using test::Le32;

const std::string kItems =
    "  <Folder Name=\"Docs\" Added=\"2010-05-04T13:07:09+02:00\" Original=\"\" Color=\"255\" Icon=\"0\" "
    "Encrypted=\"false\">\n"
    "    <File Name=\"a.txt\" Size=\"5\" Added=\"2010-05-04T13:07:09Z\" Original=\"2009-01-02T03:04:05-05:30\" "
    "Color=\"0\" Icon=\"0\" Encrypted=\"false\" Index=\"13\" Crc=\"-1\"/>\n"
    "  </Folder>\n"
    "  <File Name=\"b.bin\" Size=\"0\" Added=\"\" Original=\"\" Color=\"0\" Icon=\"0\" Encrypted=\"true\" "
    "Index=\"40\" Crc=\"2147483647\"/>\n";

class OpenContainerTest : public ::testing::Test {
protected:
    void SetUp() override { container.WorkingFolder.Create(dir.Path()); }

    OpenResult Open(const std::string& bytes)
    {
        test::WriteFile(archive, bytes);
        return ReadContainer(container, archive);
    }

    test::TempDir dir;
    std::filesystem::path archive = dir / "box.pyxa";
    test::FakeHost host;
    TContainer container {host};
};

TEST_F(OpenContainerTest, ReadsAContainerBuiltByteByByte)
{
    ASSERT_EQ(Open(ContainerBytes("", IndexDocumentText(kItems))), OpenResult::Ok);

    ASSERT_EQ(container.Tree.Count(), 3);
    const TTreeNode* docs = container.Tree.TopLevel(0);
    EXPECT_TRUE(docs->IsFolder());
    EXPECT_EQ(docs->Item().Color, 255);
    EXPECT_EQ(docs->Item().Added.TimeZone, 120);
    EXPECT_FALSE(docs->Item().Original.Exists);
    const TItemInfo& a = docs->Child(0)->Item();
    EXPECT_EQ(a.Name, "a.txt");
    EXPECT_EQ(a.Size, 5);
    EXPECT_EQ(a.Index, 13);
    EXPECT_EQ(a.Crc, 0xFFFFFFFFu);
    EXPECT_EQ(a.Added.TimeZone, 0);
    EXPECT_EQ(a.Original.TimeZone, -330);
    const TItemInfo& b = container.Tree.TopLevel(1)->Item();
    EXPECT_TRUE(b.Encrypted);
    EXPECT_EQ(b.Crc, 0x7FFFFFFFu);

    EXPECT_EQ(container.FileName, archive);
    EXPECT_FALSE(container.Modified());
    EXPECT_FALSE(container.Locked());
    EXPECT_TRUE(container.LastSaved.Exists);
    EXPECT_EQ(container.LastSaved.TimeZone, 120);
    EXPECT_EQ(host.LastStatus().rfind("Last saved: ", 0), 0u);
    EXPECT_GT(host.LastStatus().size(), std::string("Last saved: ").size());
}

TEST_F(OpenContainerTest, EmptyIndexGivesAnEmptyNamedCatalogue)
{
    const std::string bytes = ContainerBytes("", IndexDocumentText(""));
    ASSERT_EQ(bytes.substr(5, 8), std::string("\x0D\0\0\0\0\0\0\0", 8));
    ASSERT_EQ(Open(bytes), OpenResult::Ok);
    EXPECT_TRUE(container.Tree.Empty());
    EXPECT_EQ(container.FileName, archive);
}

TEST_F(OpenContainerTest, LockedContainerOpensLockedAndUnmodified)
{
    const std::string document =
        IndexDocumentText("", R"(Version="1.0" Date="2010-05-04T13:07:09Z" Locked="true" Encrypted="false")");
    ASSERT_EQ(Open(ContainerBytes("", document)), OpenResult::Ok);
    EXPECT_TRUE(container.Locked());
    EXPECT_FALSE(container.Modified());
}

TEST_F(OpenContainerTest, MissingDateLeavesTheLastSavedTextEmpty)
{
    ASSERT_EQ(Open(ContainerBytes("", IndexDocumentText("", R"(Version="1.0" Locked="false")"))), OpenResult::Ok);
    EXPECT_FALSE(container.LastSaved.Exists);
    EXPECT_EQ(host.LastStatus(), "Last saved: ");
}

TEST_F(OpenContainerTest, MissingFileAndFolderAreNotFound)
{
    EXPECT_EQ(ReadContainer(container, dir / "absent.pyxa"), OpenResult::FileNotFound);
    EXPECT_EQ(ReadContainer(container, dir.Path()), OpenResult::FileNotFound);
}

TEST_F(OpenContainerTest, AFailedOpenLeavesANewUnnamedCatalogue)
{
    ASSERT_EQ(Open(ContainerBytes("", IndexDocumentText(kItems))), OpenResult::Ok);
    container.SetModified(true, false);
    EXPECT_EQ(Open("not a container at all"), OpenResult::MainSignatureError);
    EXPECT_TRUE(container.Tree.Empty());
    EXPECT_TRUE(container.FileName.empty());
    EXPECT_FALSE(container.Modified());
}

TEST_F(OpenContainerTest, ScratchFilesDoNotOutliveTheOpen)
{
    Open(ContainerBytes("", IndexDocumentText(kItems)));
    Open(ContainerBytes("", "<broken"));
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(container.WorkingFolder.Path()))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 0u);
}

struct DamagedCase {
    std::string Name;
    std::string Bytes;
    OpenResult Expected;
};

std::string WithByte(std::string bytes, size_t at, char value)
{
    bytes[at] = value;
    return bytes;
}

std::vector<DamagedCase> DamagedCases()
{
    const std::string document = IndexDocumentText(kItems);
    const std::string good = ContainerBytes("", document);
    const std::string compressed = test::ZlibCompress(document);
    const std::string wrongCrc = HeaderBytes(13) + "PYXA" + std::string(1, '\1') +
                                 Le32(static_cast<uint32_t>(compressed.size())) +
                                 Le32(test::ZlibCrc(document) ^ 1) + std::string(1, '\0') + compressed;
    const std::string longLength = HeaderBytes(13) + "PYXA" + std::string(1, '\1') + Le32(0xFFFFFFFFu) +
                                   Le32(test::ZlibCrc(document)) + std::string(1, '\0') + compressed;
    return {
        {"EmptyFile", "", OpenResult::MainSignatureError},
        {"NotAContainer", "hello, world, this is text", OpenResult::MainSignatureError},
        {"LowerCaseLetters", "pyxa" + good.substr(4), OpenResult::MainSignatureError},
        {"HeaderKindIsNotZero", WithByte(good, 4, '\2'), OpenResult::MainSignatureError},
        {"HeaderWithoutOffset", std::string("PYXA\0\x0D", 6), OpenResult::IndexSignatureError},
        {"HeaderOnly", HeaderBytes(13), OpenResult::IndexSignatureError},
        {"OffsetPastTheEnd", HeaderBytes(1 << 20) + good.substr(13), OpenResult::IndexSignatureError},
        {"NegativeOffset", HeaderBytes(-5) + good.substr(13), OpenResult::IndexSignatureError},
        {"OffsetIntoTheHeader", HeaderBytes(5) + good.substr(13), OpenResult::IndexSignatureError},
        {"IndexKindIsAnItem", WithByte(good, 17, '\2'), OpenResult::IndexSignatureError},
        {"IndexBlockCutInItsHead", good.substr(0, 20), OpenResult::IndexSignatureError},
        {"WrongIndexCrc", wrongCrc, OpenResult::CrcError},
        {"CompressedIndexCutShort", good.substr(0, good.size() - 12), OpenResult::CrcError},
        {"CompressedIndexNotZlib", HeaderBytes(13) + "PYXA" + std::string(1, '\1') + Le32(10) + Le32(0) +
                                       std::string(1, '\0') + "0123456789",
         OpenResult::CannotDecompress},
        {"AlteredDeflateData", WithByte(good, 13 + 14 + 2, '\xFF'), OpenResult::CannotDecompress},
        {"BrokenXml", ContainerBytes("", "<Index><File Name=\"a\"></Index>"), OpenResult::CannotReadXml},
        {"EmptyDocument", ContainerBytes("", ""), OpenResult::CannotReadXml},
        {"LengthBeyondTheFileButIntactIndex", longLength, OpenResult::Ok},
    };
}

class DamagedContainerTest : public OpenContainerTest, public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(DamagedContainerTest, GetsItsResultCodeAndAnEmptyCatalogue)
{
    const OpenResult result = Open(GetParam().Bytes);
    EXPECT_EQ(result, GetParam().Expected) << ResultMessage(result);
    if (result != OpenResult::Ok) {
        EXPECT_TRUE(container.Tree.Empty());
        EXPECT_TRUE(container.FileName.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Malformed, DamagedContainerTest, ::testing::ValuesIn(DamagedCases()),
                         [](const auto& info) { return info.param.Name; });

struct MessageCase {
    OpenResult Code;
    const char* Message;
};

TEST(OpenResultMessages, EachCodeHasItsFixedText)
{
    const MessageCase cases[] = {
        {OpenResult::Ok, "Operation completed"},
        {OpenResult::FileNotFound, "File not found"},
        {OpenResult::CannotOpenFile, "Cannot open file"},
        {OpenResult::CannotCreateTemporary, "Cannot create temporary file"},
        {OpenResult::CannotDecompress, "Cannot decompress file"},
        {OpenResult::CrcError, "CRC error"},
        {OpenResult::CannotReadXml, "Cannot read XML data"},
        {OpenResult::MainSignatureError, "Main signature error"},
        {OpenResult::IndexSignatureError, "Index signature error"},
    };
    for (const MessageCase& c : cases)
        EXPECT_EQ(ResultMessage(c.Code), c.Message);
}

TEST_F(OpenContainerTest, LoadContainerLogsTheOutcome)
{
    test::WriteFile(archive, "garbage!");
    container.FileNameTmp = archive;
    EXPECT_EQ(LoadContainer(container), OpenResult::MainSignatureError);
    ASSERT_FALSE(host.Log.empty());
    EXPECT_EQ(host.Log.front().Text, "Loading XML index");
    EXPECT_EQ(host.Log.back().Text, "Main signature error");
    EXPECT_EQ(host.Log.back().FileName, "Loading index");
    EXPECT_EQ(host.Log.back().Icon, liError);
    EXPECT_TRUE(host.Log.back().ShowLog);
    EXPECT_EQ(host.LastStatus(), "");
    EXPECT_TRUE(container.FileNameTmp.empty());

    test::WriteFile(archive, ContainerBytes("", IndexDocumentText("")));
    container.FileNameTmp = archive;
    EXPECT_EQ(LoadContainer(container), OpenResult::Ok);
    EXPECT_EQ(host.Log.back().Text, "Operation completed");
    EXPECT_EQ(host.Log.back().Icon, liSuccess);
}

}  // namespace
}  // namespace pyxa
