#pragma once
// A small INI file: named sections of key=value lines, values kept as text. Sections and keys are
// written as given and looked up without regard to ASCII case, as INI readers do.

#include <filesystem>
#include <string>
#include <vector>

namespace pyxa {

class TIniFile {
public:
    // Reads the file when it exists; a missing, unreadable or oversized file reads as empty.
    explicit TIniFile(std::filesystem::path path);

    const std::filesystem::path& Path() const { return FPath; }
    std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) const;
    // A value that is not a whole decimal number within range gives the fallback.
    int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
    // Any number but 0 is true; a value that is not a number gives the fallback.
    bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    // Written as "1" or "0".
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // Writes every section to the file, lines ending in LF; false when the file cannot be written.
    bool Save() const;

private:
    struct TEntry {
        std::string Key;
        std::string Value;
    };
    struct TSection {
        std::string Name;
        std::vector<TEntry> Entries;
    };

    void Parse(const std::string& text);
    const TEntry* Find(const std::string& section, const std::string& key) const;
    TSection& SectionFor(const std::string& name);

    std::filesystem::path FPath;
    std::vector<TSection> FSections;
};

}  // namespace pyxa
