#include "protection/AutomaticPassword.h"

#include "helpers/FakeHost.h"

#include <gtest/gtest.h>

namespace pyxa::test {
namespace {

class TNotedHost : public FakeHost {
public:
    void GlobalPasswordChanged() override { ++Changes; }
    int Changes = 0;
};

TEST(AutomaticPassword, SettingAndClearingAreReportedAndNotified)
{
    TNotedHost host;
    TContainer container(host);

    ApplyGlobalPassword(container, "for all files");
    EXPECT_EQ(container.GlobalPassword, "for all files");
    EXPECT_EQ(host.LastStatus(), "Automatic password has been assigned.");
    EXPECT_EQ(host.Changes, 1);

    ApplyGlobalPassword(container, "");
    EXPECT_EQ(container.GlobalPassword, "");
    EXPECT_EQ(host.LastStatus(), "Automatic password has been cleared.");
    EXPECT_EQ(host.Changes, 2);
}

}  // namespace
}  // namespace pyxa::test
