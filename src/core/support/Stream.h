#pragma once
// Byte streams: the file and memory streams the codecs and the item pipeline read and write.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace pyxa {

class TStream {
public:
    virtual ~TStream() = default;
    // Reads up to count bytes; returns how many were read (0 at the end), or -1 on an error.
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    // Writes count bytes; returns false when not all of them were written.
    virtual bool Write(const void* buffer, int64_t count) = 0;
    virtual bool Seek(int64_t position) = 0;
    virtual int64_t Position() const = 0;
    virtual int64_t Size() const = 0;

    // Reads exactly count bytes, or fails.
    bool ReadExact(void* buffer, int64_t count);
    // Copies count bytes (or everything up to the end when count is negative) to dest
    // through a bounded buffer; returns the number copied, or -1 on a read or write error.
    int64_t CopyTo(TStream& dest, int64_t count);
};

class TMemoryStream : public TStream {
public:
    int64_t Read(void* buffer, int64_t count) override;
    bool Write(const void* buffer, int64_t count) override;
    bool Seek(int64_t position) override;
    int64_t Position() const override { return FPosition; }
    int64_t Size() const override { return static_cast<int64_t>(FData.size()); }

    void Clear();
    const std::vector<uint8_t>& Data() const { return FData; }
    bool LoadFromFile(const std::filesystem::path& path);
    bool SaveToFile(const std::filesystem::path& path) const;

private:
    std::vector<uint8_t> FData;
    int64_t FPosition = 0;
};

enum class TFileMode {
    Read,        // existing file, read only
    ReadWrite,   // existing file, read and write
    Create,      // new or truncated file, read and write
    CreateNew,   // new file only: fails when the name exists
};

// Test seam: file writes fail as on a full disk once this many more bytes were written;
// a negative count (the default) turns it off.
void FailFileWritesAfter(int64_t bytes);

class TFileStream : public TStream {
public:
    TFileStream() = default;
    TFileStream(const std::filesystem::path& path, TFileMode mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    bool Open(const std::filesystem::path& path, TFileMode mode);
    bool IsOpen() const { return FHandle >= 0; }
    bool Close();

    int64_t Read(void* buffer, int64_t count) override;
    bool Write(const void* buffer, int64_t count) override;
    bool Seek(int64_t position) override;
    int64_t Position() const override;
    int64_t Size() const override;

    bool Truncate(int64_t size);
    // Flushes the file's data to the medium.
    bool Sync();
    // Takes an exclusive advisory lock without waiting; false when another holder has one.
    bool TryLockExclusive();

private:
    int FHandle = -1;
};

}  // namespace pyxa
