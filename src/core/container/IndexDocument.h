#pragma once
// The catalogue index: an XML document with one element per item, nested as the tree.

#include "container/Catalogue.h"

#include <filesystem>
#include <pugixml.hpp>

namespace pyxa {

// Writes the document for the tree and the read-only lock; false when the file was not written.
bool WriteIndexDocument(const TCatalogue& tree, bool locked, const std::filesystem::path& file);
// Appends the element of one node after the parent element's children.
pugi::xml_node AddIndexElement(const TTreeNode& node, pugi::xml_node parent);
// Builds the tree from a loaded document (the items below its root element).
void ReadIndexTree(const pugi::xml_document& document, TCatalogue& tree);
// Appends the node of one element as the last child of parent (nullptr: the top level).
TTreeNode* AddItemFromElement(const pugi::xml_node& element, TCatalogue& tree, TTreeNode* parent);

}  // namespace pyxa
