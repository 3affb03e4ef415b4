#include "DesktopEnvironment.h"

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new pyxa::test::DesktopEnvironment);
    return RUN_ALL_TESTS();
}
