// Feeds arbitrary bytes to the index reader as an XML document.

#include "container/IndexDocument.h"

#include <cstdint>
#include <pugixml.hpp>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    pugi::xml_document document;
    if (!document.load_buffer(data, size))
        return 0;
    pyxa::TCatalogue tree;
    pyxa::ReadIndexTree(document, tree);
    return 0;
}
