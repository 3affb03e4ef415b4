#include "codecs/Compression.h"

#include "codecs/ParallelDeflate.h"
#include "support/FileUtil.h"

#include <zlib.h>

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace pyxa {

namespace {

constexpr int kLevel = 9;
constexpr int kWindowBits = 15;  // zlib framing only: no gzip, no raw deflate
constexpr int kMemLevel = 8;

// One zlib codec, released whatever way the run ends.
class TZlibCodec {
public:
    enum class TDirection { Deflate, Inflate };

    explicit TZlibCodec(TDirection direction) : FDirection(direction)
    {
        const int rc = direction == TDirection::Deflate
                           ? deflateInit2(&Z, kLevel, Z_DEFLATED, kWindowBits, kMemLevel, Z_DEFAULT_STRATEGY)
                           : inflateInit2(&Z, kWindowBits);
        FReady = rc == Z_OK;
    }
    ~TZlibCodec()
    {
        if (!FReady)
            return;
        if (FDirection == TDirection::Deflate)
            deflateEnd(&Z);
        else
            inflateEnd(&Z);
    }
    TZlibCodec(const TZlibCodec&) = delete;
    TZlibCodec& operator=(const TZlibCodec&) = delete;

    bool Ready() const { return FReady; }

    z_stream Z {};

private:
    TDirection FDirection;
    bool FReady = false;
};

// Refills the input of the codec; false on a read error. Leaves avail_in 0 at the source's end.
bool FillInput(z_stream& z, TStream& source, std::vector<uint8_t>& in)
{
    const int64_t got = source.Read(in.data(), static_cast<int64_t>(in.size()));
    if (got < 0)
        return false;
    z.next_in = in.data();
    z.avail_in = static_cast<uInt>(got);
    return true;
}

// Writes what the codec has put into the output buffer and hands the whole buffer back to it.
bool DrainOutput(z_stream& z, std::vector<uint8_t>& out, TStream& dest)
{
    const int64_t produced = static_cast<int64_t>(out.size()) - z.avail_out;
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    return produced == 0 || dest.Write(out.data(), produced);
}

// Compresses everything from the source's position to its end; large inputs on every core.
bool DeflateAll(TStream& source, TStream& dest)
{
    const int threads = CompressionThreads();
    if (threads > 1 && source.Size() - source.Position() >= kParallelDeflateThreshold)
        return ParallelDeflate(source, dest, threads);
    TZlibCodec codec(TZlibCodec::TDirection::Deflate);
    if (!codec.Ready())
        return false;
    z_stream& z = codec.Z;
    std::vector<uint8_t> in(kCodecBufferSize);
    std::vector<uint8_t> out(kCodecBufferSize);
    z.next_out = out.data();
    z.avail_out = kCodecBufferSize;
    int flush = Z_NO_FLUSH;
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        if (z.avail_in == 0 && flush == Z_NO_FLUSH) {
            if (!FillInput(z, source, in))
                return false;
            if (z.avail_in == 0)
                flush = Z_FINISH;
        }
        rc = deflate(&z, flush);
        // Every call has input or a finish to work on and room for output, so Z_BUF_ERROR
        // (no progress possible) is a fault, not a reason to call again.
        if (rc != Z_OK && rc != Z_STREAM_END)
            return false;
        if (z.avail_out == 0 && !DrainOutput(z, out, dest))
            return false;
    }
    return DrainOutput(z, out, dest);
}

// Decompresses up to the end of the zlib stream; bytes after it are not read as data. A source
// that ends first yields what was decompressed until then.
bool InflateAll(TStream& source, TStream& dest)
{
    TZlibCodec codec(TZlibCodec::TDirection::Inflate);
    if (!codec.Ready())
        return false;
    z_stream& z = codec.Z;
    std::vector<uint8_t> in(kCodecBufferSize);
    std::vector<uint8_t> out(kCodecBufferSize);
    z.next_out = out.data();
    z.avail_out = kCodecBufferSize;
    for (;;) {
        if (!FillInput(z, source, in))
            return false;
        if (z.avail_in == 0)
            return true;
        bool outputFull = true;
        while (outputFull) {
            const int rc = inflate(&z, Z_NO_FLUSH);
            if (rc != Z_OK && rc != Z_BUF_ERROR && rc != Z_STREAM_END)
                return false;  // damaged data, a preset dictionary we cannot have, or no memory
            outputFull = z.avail_out == 0;
            if (!DrainOutput(z, out, dest))
                return false;
            if (rc == Z_STREAM_END)
                return true;
        }
        // With room left for output, inflate stops only when its input is used up; input left
        // over means the codec is stuck, and calling it again would loop forever.
        if (z.avail_in != 0)
            return false;
    }
}

// A symbolic link may always be replaced: the link goes, its target is never touched. A regular
// file may be replaced unless it is read-only (no owner write bit), cannot be written, or is the
// source itself. Folders and special files are never replaced.
bool MayReplace(const std::filesystem::path& source, const std::filesystem::path& dest, const struct stat& info)
{
    if (S_ISLNK(info.st_mode))
        return true;
    std::error_code ignored;
    return S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) != 0 && ::access(dest.c_str(), W_OK) == 0 &&
           !std::filesystem::equivalent(source, dest, ignored);
}

// Makes the destination a new empty file, replacing a file of that name.
bool CreateDestination(const std::filesystem::path& source, const std::filesystem::path& dest, TFileStream& out)
{
    struct stat info {};
    if (::lstat(dest.c_str(), &info) == 0 && (!MayReplace(source, dest, info) || ::unlink(dest.c_str()) != 0))
        return false;
    // A new name only: a link planted after the removal makes the open fail instead of being followed.
    return out.Open(dest, TFileMode::CreateNew);
}

CompressFileResult OpenFiles(const std::filesystem::path& source, const std::filesystem::path& dest,
                             TFileStream& in, TFileStream& out)
{
    if (!FileExists(source))
        return CompressFileResult::SourceNotFound;
    if (!in.Open(source, TFileMode::Read))
        return CompressFileResult::CannotOpenSource;
    if (!CreateDestination(source, dest, out))
        return CompressFileResult::CannotCreateDestination;
    return CompressFileResult::Ok;
}

CompressStreamResult FinishStream(bool done, TStream& dest)
{
    return done && dest.Seek(0) ? CompressStreamResult::Ok : CompressStreamResult::CodecFailed;
}

}  // namespace

CompressFileResult CompressFile(const std::filesystem::path& source, const std::filesystem::path& dest)
{
    TFileStream in;
    TFileStream out;
    const CompressFileResult opened = OpenFiles(source, dest, in, out);
    if (opened != CompressFileResult::Ok)
        return opened;
    const bool done = DeflateAll(in, out);
    // A partial destination stays for the caller to remove.
    return out.Close() && done ? CompressFileResult::Ok : CompressFileResult::CodecFailed;
}

CompressFileResult DecompressFile(const std::filesystem::path& source, const std::filesystem::path& dest)
{
    TFileStream in;
    TFileStream out;
    const CompressFileResult opened = OpenFiles(source, dest, in, out);
    if (opened != CompressFileResult::Ok)
        return opened;  // nothing of ours to remove: a file already at dest is not touched
    const bool done = InflateAll(in, out);
    if (out.Close() && done)
        return CompressFileResult::Ok;
    DeleteFileIfExists(dest);
    return CompressFileResult::CodecFailed;
}

CompressStreamResult CompressStream(TStream* source, TStream* dest)
{
    if (!source || !dest)
        return CompressStreamResult::MissingStream;
    return FinishStream(DeflateAll(*source, *dest), *dest);
}

CompressStreamResult DecompressStream(TStream* source, TStream* dest)
{
    if (!source || !dest)
        return CompressStreamResult::MissingStream;
    return FinishStream(source->Seek(0) && InflateAll(*source, *dest), *dest);
}

}  // namespace pyxa
