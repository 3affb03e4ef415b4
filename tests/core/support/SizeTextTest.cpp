#include "support/SizeText.h"

#include <gtest/gtest.h>

namespace pyxa {
namespace {

struct SizeCase {
    int64_t Count;
    bool WithBytes;
    const char* Expected;
};

TEST(SizeText, PowersOfTenChooseTheUnitPowersOfTwoDivide)
{
    const SizeCase cases[] = {
        {0, false, "0Bytes"},
        {999, false, "999Bytes"},
        {999, true, "999Bytes"},
        {1000, false, "0.98KB"},
        {1500, true, "1.46KB (1500Bytes)"},
        {999999, false, "976.56KB"},
        {1000000, false, "0.95MB"},
        {1000000000, false, "0.93GB"},
        {1000000000, true, "0.93GB (1000000000Bytes)"},
        {10995116277760LL, false, "10240.00GB"},
        {-1, false, "-1Bytes"},
    };
    for (const SizeCase& c : cases)
        EXPECT_EQ(SizeText(c.Count, c.WithBytes), c.Expected) << c.Count;
}

}  // namespace
}  // namespace pyxa
