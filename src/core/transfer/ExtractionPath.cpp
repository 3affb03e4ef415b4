#include "transfer/ExtractionPath.h"

#include <cstdio>
#include <sys/stat.h>
#include <vector>

namespace pyxa {

namespace fs = std::filesystem;

namespace {

constexpr char kNoName[] = "No Name";

bool IsControl(char c)
{
    const auto code = static_cast<unsigned char>(c);
    return code < 0x20 || code == 0x7F;
}

// Lexically below (or equal to) base once any ".." in path has been resolved.
bool LexicallyInside(const fs::path& base, const fs::path& path)
{
    const fs::path relative = path.lexically_normal().lexically_relative(base);
    return !relative.empty() && *relative.begin() != "..";
}

// Walks the components of folder below destination that exist; none may be a link. The first one
// missing (or unreadable) ends the walk: nothing can be followed through it.
bool NoLinkBelow(const fs::path& destination, const fs::path& folder)
{
    fs::path current = destination;
    for (const fs::path& component : folder.lexically_relative(destination)) {
        if (component == ".")
            continue;
        current /= component;
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0)
            return true;
        if (S_ISLNK(info.st_mode))
            return false;
    }
    return true;
}

}  // namespace

std::string SafeItemName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..")
        return kNoName;
    std::string safe = name;
    for (char& c : safe) {
        if (c == '/' || IsControl(c))
            c = '_';
    }
    return safe;
}

std::string VisibleName(const std::string& name)
{
    std::string visible;
    for (const char c : name) {
        if (IsControl(c)) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
            visible += escaped;
        } else {
            visible += c;
        }
    }
    return visible;
}

fs::path ExtractionPath(const fs::path& destination, const TTreeNode* root, const TTreeNode& node)
{
    std::vector<const TTreeNode*> chain;
    for (const TTreeNode* current = &node; current; current = current->Parent()) {
        chain.push_back(current);
        if (current == root)
            break;
    }
    fs::path path = destination;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        path /= SafeItemName((*it)->Text());
    return path;
}

bool StaysInside(const fs::path& destination, const fs::path& folder)
{
    // Below a canonical destination, a path none of whose existing components is a link resolves
    // as it reads: the lexical check then is the real one. The walk takes the path as written, so
    // that "link/.." counts as going through the link.
    return LexicallyInside(destination, folder) && NoLinkBelow(destination, folder);
}

}  // namespace pyxa
