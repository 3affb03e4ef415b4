#include "container/OpenContainer.h"
#include "container/SaveContainer.h"
#include "helpers/FakeHost.h"
#include "helpers/TempDir.h"
#include "protection/ReadOnlyLock.h"

#include <gtest/gtest.h>

namespace pyxa {
namespace {

TEST(ReadOnlyLock, TogglingMarksTheIndexAndReports)
{
    test::FakeHost host;
    TContainer container(host);
    ApplyReadOnlyLock(container, true);
    EXPECT_TRUE(container.Locked());
    EXPECT_TRUE(container.ModifiedInd);
    EXPECT_FALSE(container.ModifiedDat);
    EXPECT_EQ(host.LastStatus(), "Pyxa file is LOCKED.");
    ApplyReadOnlyLock(container, false);
    EXPECT_FALSE(container.Locked());
    EXPECT_TRUE(container.ModifiedInd) << "toggling twice still leaves a change to save";
    EXPECT_TRUE(host.Logged("Pyxa file is unlocked."));
}

TEST(ReadOnlyLock, SavedLockedOpensLockedAndUnmodified)
{
    test::FakeHost host;
    test::TempDir dir;
    TContainer container(host);
    container.WorkingFolder.Create(dir.Path());
    auto folder = std::make_unique<TItemInfo>();
    folder->Name = "Docs";
    folder->IsFolder = true;
    container.Tree.Add(nullptr, std::move(folder));
    ApplyReadOnlyLock(container, true);
    host.SaveTargets.push_back((dir / "locked.pyxa").string());
    ASSERT_EQ(SaveContainer(container, false), SaveResult::Ok);

    ASSERT_EQ(ReadContainer(container, dir / "locked.pyxa"), OpenResult::Ok);
    EXPECT_TRUE(container.Locked());
    EXPECT_FALSE(container.Modified());
    container.CloseCatalogue(true);
    EXPECT_FALSE(container.Locked());
}

}  // namespace
}  // namespace pyxa
