#pragma once
// A container with a working folder and a scripted host, and items to feed the item pipeline:
// stored ones in container bytes written here from the layout tables, pending ones in temporary
// files.

#include "codecs/AesLib.h"
#include "codecs/ItemPipeline.h"
#include "container/Container.h"
#include "helpers/ContainerBytes.h"
#include "helpers/CryptBytes.h"
#include "helpers/FakeHost.h"
#include "helpers/TempDir.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace pyxa::test {

namespace fs = std::filesystem;

// Compressible text of the given size, different for each seed.
inline std::string SampleText(size_t size, int seed = 0)
{
    std::string text;
    for (int line = 0; text.size() < size; ++line)
        text += "item " + std::to_string(seed) + " line " + std::to_string(line) + ": the packer keeps bytes\n";
    text.resize(size);
    return text;
}

inline std::string Inflated(const std::string& packed, size_t size)
{
    std::string out(size, '\0');
    uLongf length = static_cast<uLongf>(size);
    if (uncompress(reinterpret_cast<Bytef*>(out.data()), &length, reinterpret_cast<const Bytef*>(packed.data()),
                   static_cast<uLong>(packed.size())) != Z_OK)
        throw std::runtime_error("not a zlib stream of that size");
    out.resize(length);
    return out;
}

// File writes fail as on a full disk after the given number of bytes, for the life of the object.
class TDiskFullAfter {
public:
    explicit TDiskFullAfter(int64_t bytes) { FailFileWritesAfter(bytes); }
    ~TDiskFullAfter() { FailFileWritesAfter(-1); }
    TDiskFullAfter(const TDiskFullAfter&) = delete;
    TDiskFullAfter& operator=(const TDiskFullAfter&) = delete;
};

// Unpacking goes through memory or through files by the item's Size alone.
enum class TVariant { InMemory, ViaFiles };

inline std::string VariantName(TVariant variant)
{
    return variant == TVariant::InMemory ? "InMemory" : "ViaFiles";
}

// A Size that selects the variant; the content itself stays small.
inline int64_t SizeFor(TVariant variant, const std::string& content)
{
    return variant == TVariant::InMemory ? static_cast<int64_t>(content.size()) : kInMemoryLimit + 1;
}

class ItemPipelineFixture : public ::testing::Test {
protected:
    ItemPipelineFixture() : Container(Host)
    {
        Container.WorkingFolder.Create(Dir.Path());
        fs::create_directory(Destination().parent_path());
    }

    fs::path ContainerPath() const { return Dir / "box.pyxa"; }
    fs::path Destination() const { return Dir / "out" / "restored.txt"; }

    fs::path SourceFile(const std::string& content, const std::string& name = "source.txt")
    {
        WriteFile(Dir / "in" / name, content);
        return Dir / "in" / name;
    }

    // Writes a container whose only block (given whole) starts at offset 13 and returns its item.
    TItemInfo StoredItemWithBlock(const std::string& content, const std::string& block, TVariant variant)
    {
        WriteContainer(HeaderBytes(13 + static_cast<int64_t>(block.size())) + block +
                       IndexBlockBytes(IndexDocumentText("")));
        TItemInfo item;
        item.Name = "restored.txt";
        item.Size = SizeFor(variant, content);
        item.Index = 13;
        item.Crc = ZlibCrc(content);
        return item;
    }

    TItemInfo StoredItem(const std::string& content, const std::string& packed, TVariant variant)
    {
        return StoredItemWithBlock(content, ItemBlockBytes(packed), variant);
    }

    TItemInfo StoredPlainItem(const std::string& content, TVariant variant)
    {
        return StoredItem(content, ZlibCompress(content), variant);
    }

    TItemInfo StoredEncryptedItem(const std::string& content, const std::string& password, TVariant variant)
    {
        TItemInfo item = StoredItem(content, Encrypted(ZlibCompress(content), password), variant);
        item.Encrypted = true;
        return item;
    }

    // Packed by the engine into a temporary file of the working folder, as adding does.
    TItemInfo PendingItem(const std::string& content, const std::string& password, TVariant variant)
    {
        TItemInfo item;
        item.Name = "restored.txt";
        EXPECT_EQ(PackItemInMemory(Container, SourceFile(content, "pending.txt"), password, &item), PackResult::Ok);
        item.Size = SizeFor(variant, content);
        item.TmpPass.clear();  // a fresh session has to find the password again
        return item;
    }

    void WriteContainer(const std::string& bytes)
    {
        WriteFile(ContainerPath(), bytes);
        Container.FileName = ContainerPath();
    }

    // Files of the working folder itself: scratch files the pipeline left behind, and pending data.
    std::vector<fs::path> WorkingFiles() const
    {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(Container.WorkingFolder.Path())) {
            if (entry.is_regular_file())
                files.push_back(entry.path());
        }
        return files;
    }

    // Every entry of a folder, to prove that no scratch file stayed beside a destination.
    static std::vector<std::string> Entries(const fs::path& folder)
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir Dir;
    FakeHost Host;
    TContainer Container;
};

}  // namespace pyxa::test
