#include "support/TextCompare.h"

namespace pyxa {

namespace {

unsigned char Fold(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

}  // namespace

int CompareTextIgnoringCase(const std::string& a, const std::string& b)
{
    const size_t common = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < common; ++i) {
        if (Fold(a[i]) != Fold(b[i]))
            return Fold(a[i]) < Fold(b[i]) ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

}  // namespace pyxa
