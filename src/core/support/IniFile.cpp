#include "support/IniFile.h"

#include "support/FileUtil.h"
#include "support/Stream.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace pyxa {

namespace {

// A configuration file is a few lines; anything far larger is not ours to load.
constexpr int64_t kMaxIniFileSize = 1 << 20;

bool SameText(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

std::string Trimmed(const std::string& text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), std::make_reverse_iterator(first), blank).base();
    return std::string(first, last);
}

std::string ReadSmallFile(const std::filesystem::path& path)
{
    const int64_t size = FileSizeOf(path);
    if (size < 0 || size > kMaxIniFileSize)
        return {};
    TMemoryStream stream;
    if (!stream.LoadFromFile(path))
        return {};
    return std::string(stream.Data().begin(), stream.Data().end());
}

}  // namespace

TIniFile::TIniFile(std::filesystem::path path) : FPath(std::move(path))
{
    Parse(ReadSmallFile(FPath));
}

void TIniFile::Parse(const std::string& text)
{
    TSection* current = nullptr;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            const size_t close = line.find(']');
            current = close == std::string::npos ? nullptr : &SectionFor(Trimmed(line.substr(1, close - 1)));
            continue;
        }
        const size_t equals = line.find('=');
        const std::string key = equals == std::string::npos ? std::string() : Trimmed(line.substr(0, equals));
        // Lines outside a section, without "=" or without a key are not settings.
        if (current && !key.empty() && !Find(current->Name, key))
            current->Entries.push_back({key, Trimmed(line.substr(equals + 1))});
    }
}

const TIniFile::TEntry* TIniFile::Find(const std::string& section, const std::string& key) const
{
    for (const TSection& s : FSections) {
        if (!SameText(s.Name, section))
            continue;
        for (const TEntry& entry : s.Entries) {
            if (SameText(entry.Key, key))
                return &entry;
        }
    }
    return nullptr;
}

TIniFile::TSection& TIniFile::SectionFor(const std::string& name)
{
    for (TSection& s : FSections) {
        if (SameText(s.Name, name))
            return s;
    }
    FSections.push_back({name, {}});
    return FSections.back();
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& fallback) const
{
    const TEntry* entry = Find(section, key);
    return entry ? entry->Value : fallback;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int fallback) const
{
    const TEntry* entry = Find(section, key);
    if (!entry)
        return fallback;
    const std::string& text = entry->Value;
    const bool plus = !text.empty() && text.front() == '+';
    // from_chars takes no "+"; after one, a "-" would slip through as a sign.
    if (plus && text.size() > 1 && text[1] == '-')
        return fallback;
    const char* first = text.data() + (plus ? 1 : 0);
    const char* last = text.data() + text.size();
    int value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last && first != end ? value : fallback;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const
{
    const int unset = fallback ? 1 : 0;
    return ReadInteger(section, key, unset) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    TSection& target = SectionFor(section);
    for (TEntry& entry : target.Entries) {
        if (SameText(entry.Key, key)) {
            entry.Value = value;
            return;
        }
    }
    target.Entries.push_back({key, value});
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::Save() const
{
    std::string text;
    for (const TSection& s : FSections) {
        text += "[" + s.Name + "]\n";
        for (const TEntry& entry : s.Entries)
            text += entry.Key + "=" + entry.Value + "\n";
    }
    TFileStream file;
    return file.Open(FPath, TFileMode::Create) && file.Write(text.data(), static_cast<int64_t>(text.size())) &&
           file.Close();
}

}  // namespace pyxa
