#include "support/Stream.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pyxa {

namespace {
constexpr int64_t kCopyBufferSize = 65536;
std::atomic<int64_t> gWriteBudget {-1};

// Takes count bytes from the test budget; false when the "disk" is full.
bool TakeWriteBudget(int64_t count)
{
    int64_t budget = gWriteBudget.load();
    while (budget >= 0) {
        if (budget < count) {
            gWriteBudget = 0;
            errno = ENOSPC;
            return false;
        }
        if (gWriteBudget.compare_exchange_weak(budget, budget - count))
            return true;
    }
    return true;
}
}  // namespace

void FailFileWritesAfter(int64_t bytes)
{
    gWriteBudget = bytes;
}

bool TStream::ReadExact(void* buffer, int64_t count)
{
    auto* out = static_cast<uint8_t*>(buffer);
    while (count > 0) {
        const int64_t got = Read(out, count);
        if (got <= 0)
            return false;
        out += got;
        count -= got;
    }
    return true;
}

int64_t TStream::CopyTo(TStream& dest, int64_t count)
{
    std::vector<uint8_t> buffer(kCopyBufferSize);
    int64_t copied = 0;
    while (count < 0 || copied < count) {
        const int64_t want = count < 0 ? kCopyBufferSize : std::min(kCopyBufferSize, count - copied);
        const int64_t got = Read(buffer.data(), want);
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        if (!dest.Write(buffer.data(), got))
            return -1;
        copied += got;
    }
    return copied;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count)
{
    if (count <= 0 || FPosition >= Size())
        return 0;
    const int64_t n = std::min(count, Size() - FPosition);
    std::memcpy(buffer, FData.data() + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

bool TMemoryStream::Write(const void* buffer, int64_t count)
{
    if (count <= 0)
        return count == 0;
    const int64_t end = FPosition + count;
    if (end > Size())
        FData.resize(static_cast<size_t>(end));
    std::memcpy(FData.data() + FPosition, buffer, static_cast<size_t>(count));
    FPosition = end;
    return true;
}

bool TMemoryStream::Seek(int64_t position)
{
    if (position < 0)
        return false;
    FPosition = position;
    return true;
}

void TMemoryStream::Clear()
{
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
}

bool TMemoryStream::LoadFromFile(const std::filesystem::path& path)
{
    TFileStream file;
    if (!file.Open(path, TFileMode::Read))
        return false;
    Clear();
    return file.CopyTo(*this, -1) >= 0 && Seek(0);
}

bool TMemoryStream::SaveToFile(const std::filesystem::path& path) const
{
    TFileStream file;
    return file.Open(path, TFileMode::Create) && file.Write(FData.data(), Size()) && file.Close();
}

TFileStream::TFileStream(const std::filesystem::path& path, TFileMode mode)
{
    Open(path, mode);
}

TFileStream::~TFileStream()
{
    Close();
}

bool TFileStream::Open(const std::filesystem::path& path, TFileMode mode)
{
    Close();
    int flags = O_CLOEXEC;
    switch (mode) {
    case TFileMode::Read: flags |= O_RDONLY; break;
    case TFileMode::ReadWrite: flags |= O_RDWR; break;
    case TFileMode::Create: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
    case TFileMode::CreateNew: flags |= O_RDWR | O_CREAT | O_EXCL; break;
    }
    do {
        FHandle = ::open(path.c_str(), flags, 0666);
    } while (FHandle < 0 && errno == EINTR);
    if (FHandle < 0)
        return false;
    struct stat info {};
    if (::fstat(FHandle, &info) != 0 || !S_ISREG(info.st_mode)) {
        // Folders and devices are not files to pack into or read from.
        ::close(FHandle);
        FHandle = -1;
        return false;
    }
    return true;
}

bool TFileStream::Close()
{
    if (FHandle < 0)
        return true;
    const int rc = ::close(FHandle);
    FHandle = -1;
    return rc == 0;
}

int64_t TFileStream::Read(void* buffer, int64_t count)
{
    if (FHandle < 0)
        return -1;
    ssize_t got;
    do {
        got = ::read(FHandle, buffer, static_cast<size_t>(count));
    } while (got < 0 && errno == EINTR);
    return got;
}

bool TFileStream::Write(const void* buffer, int64_t count)
{
    if (FHandle < 0 || !TakeWriteBudget(count))
        return false;
    const auto* in = static_cast<const uint8_t*>(buffer);
    while (count > 0) {
        const ssize_t done = ::write(FHandle, in, static_cast<size_t>(count));
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        in += done;
        count -= done;
    }
    return true;
}

bool TFileStream::Seek(int64_t position)
{
    return FHandle >= 0 && position >= 0 && ::lseek(FHandle, position, SEEK_SET) == position;
}

int64_t TFileStream::Position() const
{
    return FHandle >= 0 ? ::lseek(FHandle, 0, SEEK_CUR) : -1;
}

int64_t TFileStream::Size() const
{
    struct stat info {};
    if (FHandle < 0 || ::fstat(FHandle, &info) != 0)
        return -1;
    return info.st_size;
}

bool TFileStream::Truncate(int64_t size)
{
    return FHandle >= 0 && ::ftruncate(FHandle, size) == 0;
}

bool TFileStream::Sync()
{
    return FHandle >= 0 && ::fsync(FHandle) == 0;
}

bool TFileStream::TryLockExclusive()
{
    return FHandle >= 0 && ::flock(FHandle, LOCK_EX | LOCK_NB) == 0;
}

}  // namespace pyxa
