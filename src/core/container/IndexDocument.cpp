#include "container/IndexDocument.h"

#include "container/Iso8601.h"
#include "container/ShuffledBase64.h"
#include "support/FileUtil.h"
#include "support/Stream.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <strings.h>
#include <utility>
#include <vector>

namespace pyxa {

namespace {

constexpr char kRootElement[] = "Index";
constexpr char kFolderElement[] = "Folder";
constexpr char kFileElement[] = "File";
constexpr char kNoName[] = "No Name";

constexpr char kName[] = "Name";
constexpr char kSize[] = "Size";
constexpr char kAdded[] = "Added";
constexpr char kOriginal[] = "Original";
constexpr char kComments[] = "Comments";
constexpr char kColor[] = "Color";
constexpr char kIcon[] = "Icon";
constexpr char kEncrypted[] = "Encrypted";
constexpr char kPassword[] = "Password";
constexpr char kIndex[] = "Index";
constexpr char kCrc[] = "Crc";

const char* BooleanText(bool value)
{
    return value ? "true" : "false";
}

template <typename T>
std::string DecimalText(T value)
{
    char buffer[24];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, end);
}

void SetAttribute(pugi::xml_node element, const char* name, const std::string& value)
{
    element.append_attribute(name).set_value(value.c_str());
}

// Passes pugixml's output to a stream and remembers whether every write went through.
class TStreamXmlWriter final : public pugi::xml_writer {
public:
    explicit TStreamXmlWriter(TStream& stream) : FStream(stream) {}

    void write(const void* data, size_t size) override
    {
        FWritten = FWritten && FStream.Write(data, static_cast<int64_t>(size));
    }

    bool Written() const { return FWritten; }

private:
    TStream& FStream;
    bool FWritten = true;
};

bool SaveDocument(const pugi::xml_document& document, const std::filesystem::path& file)
{
    TFileStream stream;
    if (!stream.Open(file, TFileMode::Create))
        return false;
    TStreamXmlWriter writer(stream);
    // Control characters in attributes (line breaks, tabs) are written as character references,
    // so a reader gets them back instead of blanks.
    document.save(writer, "  ", pugi::format_indent, pugi::encoding_utf8);
    const bool closed = stream.Close();
    if (writer.Written() && closed)
        return true;
    DeleteFileIfExists(file);
    return false;
}

void AddDeclaration(pugi::xml_document& document)
{
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value("1.0");
    declaration.append_attribute("encoding").set_value("UTF-8");
}

pugi::xml_node AddRootElement(pugi::xml_document& document, bool locked)
{
    pugi::xml_node root = document.append_child(kRootElement);
    SetAttribute(root, "Version", "1.0");
    SetAttribute(root, "Date", DateTimeZToIso(NowDateTimeZ()));
    SetAttribute(root, "Locked", BooleanText(locked));
    SetAttribute(root, "Encrypted", BooleanText(false));
    return root;
}

// Every node in tree order, each appended under the element of its parent node. Iterative, so
// that the depth of the tree does not matter.
void AddTreeElements(const TCatalogue& tree, pugi::xml_node root)
{
    std::vector<std::pair<const TTreeNode*, pugi::xml_node>> pending;
    for (int i = tree.TopLevelCount() - 1; i >= 0; --i)
        pending.emplace_back(tree.TopLevel(i), root);
    while (!pending.empty()) {
        const auto [node, parentElement] = pending.back();
        pending.pop_back();
        const pugi::xml_node element = AddIndexElement(*node, parentElement);
        for (int i = node->ChildCount() - 1; i >= 0; --i)
            pending.emplace_back(node->Child(i), element);
    }
}

// The whole text must be a number in the range of T (and at least minimum); otherwise fallback.
template <typename T>
T ReadNumber(const pugi::xml_node& element, const char* name, T fallback,
             T minimum = std::numeric_limits<T>::min())
{
    const char* text = element.attribute(name).value();
    const char* end = text + std::strlen(text);
    T value {};
    const auto [stop, error] = std::from_chars(text, end, value);
    if (error != std::errc() || stop != end || value < minimum)
        return fallback;
    return value;
}

// The CRC is written as a signed 32-bit number; its unsigned form is accepted as well.
uint32_t ReadCrc(const pugi::xml_node& element)
{
    const int64_t value = ReadNumber<int64_t>(element, kCrc, 0);
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<uint32_t>::max())
        return 0;
    return static_cast<uint32_t>(value);
}

bool ReadBoolean(const pugi::xml_node& element, const char* name)
{
    return strcasecmp(element.attribute(name).value(), "true") == 0;
}

// A missing date is the current moment; an empty or unreadable one is not set.
TDateTimeZ ReadDate(const pugi::xml_node& element, const char* name)
{
    const pugi::xml_attribute attribute = element.attribute(name);
    return attribute ? IsoToDateTimeZ(attribute.value()) : NowDateTimeZ();
}

pugi::xml_node FirstChildElement(const pugi::xml_node& node)
{
    pugi::xml_node child = node.first_child();
    while (child && child.type() != pugi::node_element)
        child = child.next_sibling();
    return child;
}

pugi::xml_node NextSiblingElement(const pugi::xml_node& node)
{
    pugi::xml_node sibling = node.next_sibling();
    while (sibling && sibling.type() != pugi::node_element)
        sibling = sibling.next_sibling();
    return sibling;
}

}  // namespace

bool WriteIndexDocument(const TCatalogue& tree, bool locked, const std::filesystem::path& file)
{
    pugi::xml_document document;
    AddDeclaration(document);
    AddTreeElements(tree, AddRootElement(document, locked));
    return SaveDocument(document, file);
}

pugi::xml_node AddIndexElement(const TTreeNode& node, pugi::xml_node parent)
{
    const TItemInfo& item = node.Item();
    pugi::xml_node element = parent.append_child(item.IsFolder ? kFolderElement : kFileElement);
    SetAttribute(element, kName, item.Name);
    if (!item.IsFolder)
        SetAttribute(element, kSize, DecimalText(item.Size));
    SetAttribute(element, kAdded, DateTimeZToIso(item.Added));
    SetAttribute(element, kOriginal, DateTimeZToIso(item.Original));
    if (!item.Comments.empty())
        SetAttribute(element, kComments, item.Comments);
    SetAttribute(element, kColor, DecimalText(item.Color));
    SetAttribute(element, kIcon, DecimalText(item.Icon));
    SetAttribute(element, kEncrypted, BooleanText(item.Encrypted));
    if (item.IsFolder && !item.TmpPass.empty())
        SetAttribute(element, kPassword, EncodeFolderPassword(item.TmpPass));
    if (!item.IsFolder) {
        SetAttribute(element, kIndex, DecimalText(item.Index));
        SetAttribute(element, kCrc, DecimalText(static_cast<int32_t>(item.Crc)));
    }
    return element;
}

void ReadIndexTree(const pugi::xml_document& document, TCatalogue& tree)
{
    // Iterative walk over the element links: a hostile document may nest very deeply. A file
    // never has children, so elements inside a file element are skipped with their subtrees.
    const pugi::xml_node root = document.document_element();
    TTreeNode* parent = nullptr;
    pugi::xml_node element = FirstChildElement(root);
    while (element) {
        TTreeNode* node = AddItemFromElement(element, tree, parent);
        const pugi::xml_node child = node->IsFolder() ? FirstChildElement(element) : pugi::xml_node();
        if (child) {
            parent = node;
            element = child;
            continue;
        }
        pugi::xml_node next = NextSiblingElement(element);
        while (!next && element.parent() != root) {
            element = element.parent();
            parent = parent->Parent();
            next = NextSiblingElement(element);
        }
        element = next;
    }
}

TTreeNode* AddItemFromElement(const pugi::xml_node& element, TCatalogue& tree, TTreeNode* parent)
{
    auto item = std::make_unique<TItemInfo>();
    item->IsFolder = std::strcmp(element.name(), kFolderElement) == 0;
    const pugi::xml_attribute name = element.attribute(kName);
    item->Name = name ? name.value() : kNoName;
    item->Added = ReadDate(element, kAdded);
    item->Original = ReadDate(element, kOriginal);
    item->Comments = element.attribute(kComments).value();
    item->Color = ReadNumber<int32_t>(element, kColor, 0);
    item->Icon = ReadNumber<int32_t>(element, kIcon, 0);
    item->Encrypted = ReadBoolean(element, kEncrypted);
    // A folder keeps the record's Size 0, Index -1 and Crc 0; a file's TmpPass stays empty.
    if (item->IsFolder) {
        item->TmpPass = DecodeFolderPassword(element.attribute(kPassword).value());
    } else {
        item->Size = ReadNumber<int64_t>(element, kSize, 0, 0);
        item->Index = ReadNumber<int64_t>(element, kIndex, -1, -1);
        item->Crc = ReadCrc(element);
    }
    TTreeNode* node = tree.Add(parent, std::move(item));
    node->ImageIndex = 0;
    node->StateIndex = -1;
    return node;
}

}  // namespace pyxa
