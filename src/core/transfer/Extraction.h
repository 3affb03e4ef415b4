#pragma once
// Extraction: the selected file, a folder with all its contents, or the whole catalogue is copied
// back to the disk below a destination folder, with the catalogue's folder structure.

#include "container/Container.h"

#include <filesystem>
#include <string>
#include <vector>

namespace pyxa {

struct TExtractionResult {
    int Total = 0;                 // file items in the range, those of skipped folders included
    int Extracted = 0;             // files put in place, those with a CRC error included
    bool Cancelled = false;
    std::string Error;             // a destination folder could not be made; the run ended there
    // Destination paths of items that were not written (a file kept despite a CRC error is
    // written), so that whoever offered those paths can withdraw them.
    std::vector<std::filesystem::path> Failed;
};

// Extracts root with everything below it (nullptr: the whole catalogue) into the existing folder
// destination, reporting through the container's host. Closed restricted folders are opened with
// their password or skipped with their subtree. Nothing is written outside destination.
TExtractionResult ExtractItems(TContainer& container, TTreeNode* root, const std::filesystem::path& destination);

}  // namespace pyxa
