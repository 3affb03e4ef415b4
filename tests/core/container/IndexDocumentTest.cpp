#include "container/IndexDocument.h"

#include "container/Iso8601.h"
#include "helpers/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <regex>

namespace pyxa {
namespace {

namespace fs = std::filesystem;

TDateTimeZ At(int year, int month, int day, int hour, int minute, int second, int16_t timeZone, int millisecond = 0)
{
    TDateTimeZ value {0, timeZone, true};
    EXPECT_TRUE(TryEncodeDateTime({year, month, day, hour, minute, second, millisecond}, value.DateTime));
    return value;
}

std::unique_ptr<TItemInfo> NewItem(const std::string& name, bool isFolder)
{
    auto item = std::make_unique<TItemInfo>();
    item->Name = name;
    item->IsFolder = isFolder;
    return item;
}

// A document written by hand, so that a mistake made the same way in writer and reader is caught.
std::string Document(const std::string& items)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Index Version=\"1.0\" Date=\"2010-05-04T13:07:09+02:00\" "
           "Locked=\"false\" Encrypted=\"false\">\n" +
           items + "\n</Index>\n";
}

void ReadDocument(const std::string& text, TCatalogue& tree)
{
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(text.c_str()));
    ReadIndexTree(document, tree);
}

// The tree as "name(children),name": shows structure and sibling order at a glance.
std::string Shape(const TCatalogue& tree, const TTreeNode* parent = nullptr)
{
    std::string shape;
    for (int i = 0; i < tree.ChildCount(parent); ++i) {
        const TTreeNode* node = tree.Child(parent, i);
        shape += (i ? "," : "") + node->Text();
        if (node->HasChildren())
            shape += "(" + Shape(tree, node) + ")";
    }
    return shape;
}

class IndexDocumentTest : public ::testing::Test {
protected:
    // Writes the tree; the text comes back with the root's date replaced by "DATE".
    std::string WriteText(const TCatalogue& tree, bool locked)
    {
        EXPECT_TRUE(WriteIndexDocument(tree, locked, FFile));
        const std::string text = test::ReadFile(FFile);
        const std::regex date("Date=\"([^\"]*)\"");
        std::smatch match;
        if (std::regex_search(text, match, date))
            FWrittenDate = match[1];
        return std::regex_replace(text, date, "Date=\"DATE\"", std::regex_constants::format_first_only);
    }

    void ReadWritten(TCatalogue& tree)
    {
        pugi::xml_document document;
        ASSERT_TRUE(document.load_file(FFile.c_str()));
        ReadIndexTree(document, tree);
    }

    test::TempDir FDir;
    fs::path FFile = FDir / "index.xml";
    std::string FWrittenDate;
};

TEST_F(IndexDocumentTest, WritesExactDocument)
{
    TCatalogue tree;
    TTreeNode* docs = tree.Add(nullptr, NewItem("Docs", true));
    TItemInfo& folder = docs->Item();
    folder.Added = At(2010, 5, 4, 13, 7, 9, 120, 999);
    folder.Comments = "line1\r\nline2";
    folder.Color = 255;
    folder.Encrypted = true;
    folder.TmpPass = "secret";
    TItemInfo& inner = tree.Add(docs, NewItem("a.txt", false))->Item();
    inner.Size = 12;
    inner.Added = At(2011, 1, 2, 3, 4, 5, -330);
    inner.Original = At(2009, 12, 31, 23, 59, 59, 0);
    inner.Icon = 3;
    inner.Index = 13;
    inner.Crc = 0xFFFFFFFF;
    inner.TmpPass = "never written";
    TItemInfo& top = tree.Add(nullptr, NewItem("b & <c>.bin", false))->Item();
    top.Comments = "Tab\there \"q\" 'a'";
    top.Color = -1;
    top.Icon = -5;
    top.Encrypted = true;
    top.Index = 9223372036854775807;
    top.Crc = 0x7FFFFFFF;
    tree.Add(nullptr, NewItem("Empty", true));

    EXPECT_EQ(WriteText(tree, true),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<Index Version=\"1.0\" Date=\"DATE\" Locked=\"true\" Encrypted=\"false\">\n"
              "  <Folder Name=\"Docs\" Added=\"2010-05-04T13:07:09+02:00\" Original=\"\" "
              "Comments=\"line1&#13;&#10;line2\" Color=\"255\" Icon=\"0\" Encrypted=\"true\" "
              "Password=\"9IGu8dhIYLz5PmkJP+ovPT==\">\n"
              "    <File Name=\"a.txt\" Size=\"12\" Added=\"2011-01-02T03:04:05-05:30\" "
              "Original=\"2009-12-31T23:59:59Z\" Color=\"0\" Icon=\"3\" Encrypted=\"false\" Index=\"13\" "
              "Crc=\"-1\" />\n"
              "  </Folder>\n"
              "  <File Name=\"b &amp; &lt;c>.bin\" Size=\"0\" Added=\"\" Original=\"\" "
              "Comments=\"Tab&#09;here &quot;q&quot; 'a'\" Color=\"-1\" Icon=\"-5\" Encrypted=\"true\" "
              "Index=\"9223372036854775807\" Crc=\"2147483647\" />\n"
              "  <Folder Name=\"Empty\" Added=\"\" Original=\"\" Color=\"0\" Icon=\"0\" Encrypted=\"false\" />\n"
              "</Index>\n");
    const TDateTimeZ written = IsoToDateTimeZ(FWrittenDate);
    EXPECT_TRUE(written.Exists) << FWrittenDate;
    EXPECT_EQ(written.TimeZone, LocalUtcOffset());
}

TEST_F(IndexDocumentTest, EmptyCatalogueIsRootAlone)
{
    TCatalogue tree;
    EXPECT_EQ(WriteText(tree, false), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                      "<Index Version=\"1.0\" Date=\"DATE\" Locked=\"false\" Encrypted=\"false\" />\n");
    TCatalogue read;
    ReadWritten(read);
    EXPECT_TRUE(read.Empty());
}

TEST_F(IndexDocumentTest, UnwritableFileReportsFailure)
{
    TCatalogue tree;
    tree.Add(nullptr, NewItem("a", false));
    EXPECT_FALSE(WriteIndexDocument(tree, false, FDir / "missing" / "index.xml"));
    EXPECT_FALSE(fs::exists(FDir / "missing"));
    fs::create_directory(FDir / "folder");
    EXPECT_FALSE(WriteIndexDocument(tree, false, FDir / "folder"));
}

void ExpectSameRecord(const TItemInfo& expected, const TItemInfo& actual)
{
    EXPECT_EQ(actual.Name, expected.Name);
    EXPECT_EQ(actual.IsFolder, expected.IsFolder);
    EXPECT_EQ(actual.Size, expected.Size);
    EXPECT_EQ(DateTimeZToIso(actual.Added), DateTimeZToIso(expected.Added));
    EXPECT_EQ(actual.Added.Exists, expected.Added.Exists);
    EXPECT_EQ(DateTimeZToIso(actual.Original), DateTimeZToIso(expected.Original));
    EXPECT_EQ(actual.Original.Exists, expected.Original.Exists);
    EXPECT_EQ(actual.Comments, expected.Comments);
    EXPECT_EQ(actual.Color, expected.Color);
    EXPECT_EQ(actual.Icon, expected.Icon);
    EXPECT_EQ(actual.Encrypted, expected.Encrypted);
    EXPECT_EQ(actual.Index, expected.Index);
    EXPECT_EQ(actual.Crc, expected.Crc);
}

TEST_F(IndexDocumentTest, RoundTripKeepsStructureAndFields)
{
    TCatalogue tree;
    TTreeNode* restricted = tree.Add(nullptr, NewItem("Priv\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC", true));
    restricted->Item().Encrypted = true;
    restricted->Item().TmpPass = "P\xC3\xA4ss \xE6\x97\xA5 \xF0\x9F\x98\x80";
    restricted->Item().Comments = "windows\r\nunix\nold mac\rend";
    restricted->Item().Added = At(2010, 5, 4, 13, 7, 9, 120, 456);
    TTreeNode* nested = tree.Add(restricted, NewItem("nested", true));
    TItemInfo& deep = tree.Add(nested, NewItem("\xF0\x9F\x98\x80 smile.txt", false))->Item();
    deep.Size = 4096;
    deep.Added = At(2020, 2, 29, 0, 0, 0, -330);
    deep.Original = At(1999, 12, 31, 23, 59, 59, 0, 999);
    deep.Comments = "&<>\"' and\ttab  double  blank ";
    deep.Color = 0x00FF8000;
    deep.Icon = 4;
    deep.Encrypted = true;
    deep.Index = 1234567890123;
    deep.Crc = 0xDEADBEEF;
    deep.TmpCmpFile = FDir / "pending.tmp";
    deep.TmpCrcFile = 77;
    tree.Add(restricted, NewItem("second", false))->Item().Index = 13;
    tree.Add(nullptr, NewItem("top", false));
    tree.Add(nullptr, NewItem("", true));

    ASSERT_TRUE(WriteIndexDocument(tree, false, FFile));
    TCatalogue read;
    ReadWritten(read);

    ASSERT_EQ(Shape(read), Shape(tree));
    const std::vector<TTreeNode*> written = tree.Nodes();
    const std::vector<TTreeNode*> nodes = read.Nodes();
    ASSERT_EQ(nodes.size(), written.size());
    for (size_t i = 0; i < nodes.size(); ++i) {
        SCOPED_TRACE(written[i]->Text());
        ExpectSameRecord(written[i]->Item(), nodes[i]->Item());
        EXPECT_TRUE(nodes[i]->Item().TmpCmpFile.empty());
        EXPECT_EQ(nodes[i]->Item().TmpCrcFile, 0u);
        EXPECT_EQ(nodes[i]->ImageIndex, 0);
        EXPECT_EQ(nodes[i]->StateIndex, -1);
    }
    EXPECT_EQ(nodes[0]->Item().TmpPass, restricted->Item().TmpPass);
    const TDateTimeZ& added = nodes[0]->Item().Added;
    EXPECT_EQ(added.DateTime, At(2010, 5, 4, 13, 7, 9, 120).DateTime) << "milliseconds are dropped";
    EXPECT_EQ(added.TimeZone, 120);
}

struct TCrcCase {
    const char* Label;
    uint32_t Crc;
    std::string Text;
};

class IndexCrcTest : public IndexDocumentTest, public ::testing::WithParamInterface<TCrcCase> {};

TEST_P(IndexCrcTest, WrittenSignedAndReadBack)
{
    TCatalogue tree;
    tree.Add(nullptr, NewItem("f", false))->Item().Crc = GetParam().Crc;
    EXPECT_NE(WriteText(tree, false).find(" Crc=\"" + GetParam().Text + "\" />"), std::string::npos);
    TCatalogue read;
    ReadWritten(read);
    ASSERT_EQ(read.Count(), 1);
    EXPECT_EQ(read.TopLevel(0)->Item().Crc, GetParam().Crc);
}

INSTANTIATE_TEST_SUITE_P(Cases, IndexCrcTest,
                         ::testing::Values(TCrcCase {"Zero", 0, "0"},
                                           TCrcCase {"HighestPositive", 0x7FFFFFFF, "2147483647"},
                                           TCrcCase {"LowestNegative", 0x80000000, "-2147483648"},
                                           TCrcCase {"AllBits", 0xFFFFFFFF, "-1"}),
                         [](const auto& info) { return info.param.Label; });

struct TDateCase {
    const char* Label;
    TDateTimeZ Date;
    std::string Text;
};

class IndexDateTest : public IndexDocumentTest, public ::testing::WithParamInterface<TDateCase> {};

TEST_P(IndexDateTest, WrittenInIndexFormAndReadBack)
{
    TCatalogue tree;
    TItemInfo& item = tree.Add(nullptr, NewItem("f", false))->Item();
    item.Added = GetParam().Date;
    item.Original = GetParam().Date;
    const std::string text = WriteText(tree, false);
    EXPECT_NE(text.find(" Added=\"" + GetParam().Text + "\" Original=\"" + GetParam().Text + "\" "), std::string::npos)
        << text;
    TCatalogue read;
    ReadWritten(read);
    ASSERT_EQ(read.Count(), 1);
    for (const TDateTimeZ& date : {read.TopLevel(0)->Item().Added, read.TopLevel(0)->Item().Original}) {
        EXPECT_EQ(date.Exists, GetParam().Date.Exists);
        if (date.Exists) {
            EXPECT_EQ(date.DateTime, GetParam().Date.DateTime);
            EXPECT_EQ(date.TimeZone, GetParam().Date.TimeZone);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IndexDateTest,
    ::testing::Values(TDateCase {"East", At(2010, 5, 4, 13, 7, 9, 120), "2010-05-04T13:07:09+02:00"},
                      TDateCase {"West", At(2010, 5, 4, 13, 7, 9, -330), "2010-05-04T13:07:09-05:30"},
                      TDateCase {"Utc", At(2010, 5, 4, 13, 7, 9, 0), "2010-05-04T13:07:09Z"},
                      TDateCase {"NotSet", TDateTimeZ {}, ""}),
                         [](const auto& info) { return info.param.Label; });

TEST(IndexReadTest, MissingAttributesTakeDefaults)
{
    TCatalogue tree;
    ReadDocument(Document("<File/><Folder/>"), tree);
    ASSERT_EQ(tree.Count(), 2);
    for (const TTreeNode* node : tree.Nodes()) {
        const TItemInfo& item = node->Item();
        SCOPED_TRACE(item.IsFolder ? "folder" : "file");
        EXPECT_EQ(item.Name, "No Name");
        EXPECT_EQ(node->Text(), "No Name");
        EXPECT_EQ(item.Size, 0);
        EXPECT_TRUE(item.Added.Exists);
        EXPECT_EQ(item.Added.TimeZone, LocalUtcOffset());
        EXPECT_GT(item.Added.DateTime, At(2020, 1, 1, 0, 0, 0, 0).DateTime);
        EXPECT_TRUE(item.Original.Exists);
        EXPECT_EQ(item.Comments, "");
        EXPECT_EQ(item.Color, 0);
        EXPECT_EQ(item.Icon, 0);
        EXPECT_FALSE(item.Encrypted);
        EXPECT_EQ(item.TmpPass, "");
        EXPECT_EQ(item.Index, -1);
        EXPECT_EQ(item.Crc, 0u);
    }
    EXPECT_FALSE(tree.TopLevel(0)->IsFolder());
    EXPECT_TRUE(tree.TopLevel(1)->IsFolder());
}

TEST(IndexReadTest, EmptyDatesAreNotSetAndBadDatesDoNotFailTheItem)
{
    TCatalogue tree;
    ReadDocument(Document(R"(<File Name="f" Added="" Original="2010-05-04"/><File Name="g" Added="garbage"/>)"), tree);
    ASSERT_EQ(tree.Count(), 2);
    EXPECT_FALSE(tree.TopLevel(0)->Item().Added.Exists);
    EXPECT_FALSE(tree.TopLevel(0)->Item().Original.Exists);
    EXPECT_FALSE(tree.TopLevel(1)->Item().Added.Exists);
    EXPECT_TRUE(tree.TopLevel(1)->Item().Original.Exists);
}

TEST(IndexReadTest, FolderIgnoresFileFieldsAndFileIgnoresPassword)
{
    TCatalogue tree;
    const std::string password = R"(Password="9IGu8dhIYLz5PmkJP+ovPT==")";
    ReadDocument(Document(R"(<Folder Name="d" Size="99" Index="1234" Crc="-1" )" + password + ">" +
                          R"(<File Name="f" Size="5" Index="13" Crc="7" )" + password + "/></Folder>"),
                 tree);
    ASSERT_EQ(tree.Count(), 2);
    const TItemInfo& folder = tree.TopLevel(0)->Item();
    EXPECT_EQ(folder.Size, 0);
    EXPECT_EQ(folder.Index, -1);
    EXPECT_EQ(folder.Crc, 0u);
    EXPECT_EQ(folder.TmpPass, "secret");
    const TItemInfo& file = tree.TopLevel(0)->Child(0)->Item();
    EXPECT_EQ(file.Size, 5);
    EXPECT_EQ(file.Index, 13);
    EXPECT_EQ(file.Crc, 7u);
    EXPECT_EQ(file.TmpPass, "");
}

TEST(IndexReadTest, CharacterReferencesInAttributesAreDecoded)
{
    TCatalogue tree;
    ReadDocument(
        Document("<File Name=\"a&amp;b\" Comments=\"1&#13;&#10;2&#xA;3&#9;4 &amp;&lt;&gt;&quot;&apos;\"/>"), tree);
    ASSERT_EQ(tree.Count(), 1);
    EXPECT_EQ(tree.TopLevel(0)->Item().Name, "a&b");
    EXPECT_EQ(tree.TopLevel(0)->Item().Comments, "1\r\n2\n3\t4 &<>\"'");
}

struct TElementNameCase {
    const char* Label;
    std::string Element;
    bool IsFolder;
};

class IndexElementNameTest : public ::testing::TestWithParam<TElementNameCase> {};

TEST_P(IndexElementNameTest, OnlyFolderMakesAFolder)
{
    TCatalogue tree;
    ReadDocument(Document("<" + GetParam().Element + " Name=\"x\"/>"), tree);
    ASSERT_EQ(tree.Count(), 1);
    EXPECT_EQ(tree.TopLevel(0)->IsFolder(), GetParam().IsFolder);
}

INSTANTIATE_TEST_SUITE_P(Cases, IndexElementNameTest,
                         ::testing::Values(TElementNameCase {"Folder", "Folder", true},
                                           TElementNameCase {"File", "File", false},
                                           TElementNameCase {"LowerCaseFolder", "folder", false},
                                           TElementNameCase {"Unknown", "Item", false}),
                         [](const auto& info) { return info.param.Label; });

// One attribute of a file element and the field value it must give.
struct TAttributeCase {
    const char* Label;
    std::string Attribute;
    std::string Text;
    int64_t Expected;
};

int64_t FieldOf(const TItemInfo& item, const std::string& attribute)
{
    static const std::map<std::string, std::function<int64_t(const TItemInfo&)>> kFields = {
        {"Size", [](const TItemInfo& i) { return i.Size; }},
        {"Index", [](const TItemInfo& i) { return i.Index; }},
        {"Crc", [](const TItemInfo& i) { return static_cast<int64_t>(i.Crc); }},
        {"Color", [](const TItemInfo& i) { return static_cast<int64_t>(i.Color); }},
        {"Icon", [](const TItemInfo& i) { return static_cast<int64_t>(i.Icon); }},
        {"Encrypted", [](const TItemInfo& i) { return static_cast<int64_t>(i.Encrypted); }},
    };
    return kFields.at(attribute)(item);
}

class IndexAttributeTest : public ::testing::TestWithParam<TAttributeCase> {};

TEST_P(IndexAttributeTest, StrictTextOrDefault)
{
    TCatalogue tree;
    ReadDocument(Document("<File Name=\"f\" " + GetParam().Attribute + "=\"" + GetParam().Text + "\"/>"), tree);
    ASSERT_EQ(tree.Count(), 1);
    EXPECT_EQ(FieldOf(tree.TopLevel(0)->Item(), GetParam().Attribute), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IndexAttributeTest,
    ::testing::Values(
        TAttributeCase {"SizeLargest", "Size", "9223372036854775807", 9223372036854775807},
        TAttributeCase {"SizeTooLarge", "Size", "9223372036854775808", 0},
        TAttributeCase {"SizeNegative", "Size", "-5", 0},
        TAttributeCase {"SizeExponent", "Size", "1e3", 0},
        TAttributeCase {"SizeTrailingText", "Size", "12kB", 0},
        TAttributeCase {"SizeLeadingBlank", "Size", " 12", 0},
        TAttributeCase {"SizePlusSign", "Size", "+12", 0},
        TAttributeCase {"SizeEmpty", "Size", "", 0},
        TAttributeCase {"IndexPending", "Index", "-1", -1},
        TAttributeCase {"IndexStored", "Index", "13", 13},
        TAttributeCase {"IndexBelowPending", "Index", "-2", -1},
        TAttributeCase {"IndexNotANumber", "Index", "abc", -1},
        TAttributeCase {"CrcSigned", "Crc", "-1", 0xFFFFFFFF},
        TAttributeCase {"CrcLowestSigned", "Crc", "-2147483648", 0x80000000},
        TAttributeCase {"CrcUnsigned", "Crc", "4294967295", 0xFFFFFFFF},
        TAttributeCase {"CrcAboveUnsigned", "Crc", "4294967296", 0},
        TAttributeCase {"CrcBelowSigned", "Crc", "-2147483649", 0},
        TAttributeCase {"CrcHex", "Crc", "0xFF", 0},
        TAttributeCase {"ColorNegative", "Color", "-16777216", -16777216},
        TAttributeCase {"ColorTooLarge", "Color", "2147483648", 0},
        TAttributeCase {"ColorDecimalPoint", "Color", "1.5", 0},
        TAttributeCase {"IconFixedImage", "Icon", "5", 5},
        TAttributeCase {"IconNotANumber", "Icon", "five", 0},
        TAttributeCase {"EncryptedTrue", "Encrypted", "true", 1},
        TAttributeCase {"EncryptedUpperCase", "Encrypted", "TRUE", 1},
        TAttributeCase {"EncryptedMixedCase", "Encrypted", "True", 1},
        TAttributeCase {"EncryptedOne", "Encrypted", "1", 0},
        TAttributeCase {"EncryptedYes", "Encrypted", "yes", 0},
        TAttributeCase {"EncryptedPadded", "Encrypted", " true", 0}),
    [](const auto& info) { return info.param.Label; });

TEST(IndexReadTest, SkipsNonElementsAndChildrenOfFiles)
{
    TCatalogue tree;
    ReadDocument(Document(R"(<!-- note --><?pi data?>
  <Folder Name="A">text
    <File Name="a1"><File Name="hidden"/><Folder Name="hidden2"><File Name="deeper"/></Folder></File>
    <![CDATA[more]]><File Name="a2"/>
    <Folder Name="B"><Folder Name="C"/></Folder>
  </Folder>
  <File Name="top"/>)"),
                 tree);
    EXPECT_EQ(Shape(tree), "A(a1,a2,B(C)),top");
    EXPECT_EQ(tree.Count(), 6);
}

std::string DeepDocument(const std::string& outerElement, int depth)
{
    std::string items = "<" + outerElement + " Name=\"outer\">";
    for (int i = 0; i < depth; ++i)
        items += "<Folder Name=\"d\">";
    for (int i = 0; i < depth; ++i)
        items += "</Folder>";
    return Document(items + "</" + outerElement + "><File Name=\"after\"/>");
}

TEST(IndexReadTest, VeryDeepNestingIsReadWithoutRecursion)
{
    constexpr int kDepth = 100000;
    TCatalogue tree;
    ReadDocument(DeepDocument("Folder", kDepth), tree);
    ASSERT_EQ(tree.Count(), kDepth + 2);
    ASSERT_EQ(tree.TopLevelCount(), 2);
    EXPECT_EQ(tree.TopLevel(1)->Text(), "after");
    int depth = 0;
    for (const TTreeNode* node = tree.TopLevel(0); node->HasChildren(); node = node->Child(0))
        ++depth;
    EXPECT_EQ(depth, kDepth);
}

TEST(IndexReadTest, VeryDeepNestingInsideAFileIsSkipped)
{
    TCatalogue tree;
    ReadDocument(DeepDocument("File", 100000), tree);
    EXPECT_EQ(Shape(tree), "outer,after");
}

}  // namespace
}  // namespace pyxa
