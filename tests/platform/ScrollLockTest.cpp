#include "ScrollLock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace pyxa {
namespace {

void ExpectRoundTrip(TScrollLock& lock)
{
    EXPECT_FALSE(lock.State());
    lock.Set(true);
    EXPECT_TRUE(lock.State());
    lock.Set(true);
    EXPECT_TRUE(lock.State());
    lock.Set(false);
    EXPECT_FALSE(lock.State());
}

// nullptr: not on X11; the others name displays that cannot be opened.
class ScrollLockWithoutX11Test : public testing::TestWithParam<const char*> {};

TEST_P(ScrollLockWithoutX11Test, KeepsTheStateItself)
{
    TScrollLock lock(GetParam());
    EXPECT_FALSE(lock.UsesX11());
    ExpectRoundTrip(lock);
}

INSTANTIATE_TEST_SUITE_P(Displays, ScrollLockWithoutX11Test, testing::Values(nullptr, ":4321", "not a display name"));

// Runs against the X server of DISPLAY and leaves its light as it found it.
class ScrollLockX11Test : public testing::Test {
protected:
    // Xvfb resets itself, light included, whenever its last client leaves, and refuses
    // connections meanwhile; a connection held for the whole suite keeps it up between tests.
    static void SetUpTestSuite()
    {
        if (const char* display = std::getenv("DISPLAY"))
            FKeeper = std::make_unique<TScrollLock>(display);
    }
    static void TearDownTestSuite()
    {
        FKeeper.reset();
    }

    void SetUp() override
    {
        FDisplay = std::getenv("DISPLAY");
        if (!FDisplay || !*FDisplay)
            GTEST_SKIP() << "no X display";
        FLock = std::make_unique<TScrollLock>(FDisplay);
        if (!FLock->UsesX11())
            GTEST_SKIP() << "the X server has no \"Scroll Lock\" indicator";
        FInitial = FLock->State();
        FLock->Set(false);
    }
    void TearDown() override
    {
        if (FLock && FLock->UsesX11())
            FLock->Set(FInitial);
    }

    static inline std::unique_ptr<TScrollLock> FKeeper;
    const char* FDisplay = nullptr;
    std::unique_ptr<TScrollLock> FLock;
    bool FInitial = false;
};

TEST_F(ScrollLockX11Test, SetChangesTheServersIndicator)
{
    TScrollLock observer(FDisplay);
    ASSERT_TRUE(observer.UsesX11());
    FLock->Set(true);
    EXPECT_TRUE(FLock->State());
    EXPECT_TRUE(observer.State());
    FLock->Set(true);
    EXPECT_TRUE(observer.State());
    FLock->Set(false);
    EXPECT_FALSE(FLock->State());
    EXPECT_FALSE(observer.State());
}

// The user pressing Scroll Lock, or another program: the timer must see it to undo it.
TEST_F(ScrollLockX11Test, StateFollowsChangesMadeElsewhere)
{
    TScrollLock other(FDisplay);
    other.Set(true);
    EXPECT_TRUE(FLock->State());
    FLock->Set(false);
    EXPECT_FALSE(other.State());
}

}  // namespace
}  // namespace pyxa
