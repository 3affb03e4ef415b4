#pragma once
// The integrity test of a saved container: a structure pass over the chain of blocks, then a file
// pass that unpacks every file item into the test folder, as extraction would, and deletes the
// copies again.

#include "container/Container.h"
#include "support/Results.h"

namespace pyxa {

// Walks the blocks of the file named by FileName without decompressing anything. Well formed means
// the header signature, then blocks up to an index block that starts at the header's index offset
// and ends exactly at the end of the file.
TestResult TestStructure(const TContainer& container);

struct TIntegrityOutcome {
    bool Tested = false;                    // false: unsaved changes or no file, nothing was tested
    TestResult Structure = TestResult::Ok;
    int Errors = 0;                         // file items that could not be unpacked
    bool Cancelled = false;

    bool Passed() const { return Tested && Structure == TestResult::Ok && Errors == 0 && !Cancelled; }
};

// The whole test with its reports through the host; changes nothing in the catalogue or the file.
TIntegrityOutcome TestPyxaFile(TContainer& container);

}  // namespace pyxa
