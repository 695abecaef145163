#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "applet/machine.h"

namespace {

bool NoSerial(unsigned long*) { return false; }

TEST(MachineName, OwnerComesFromTheAccount)
{
    char owner[MACHINE_NAME_SIZE], organisation[MACHINE_NAME_SIZE];
    std::memset(organisation, 'x', sizeof organisation);
    ASSERT_EQ(GetMachineName(owner, organisation), 1);
    EXPECT_STRNE(owner, "");
    // There is no registry to give an organisation.
    EXPECT_STREQ(organisation, "");

    auto real = GetSystemVolumeSerial;
    GetSystemVolumeSerial = NoSerial;
    ASSERT_EQ(GetMachineName(owner, organisation), 1);
    EXPECT_STRNE(owner, "");
    GetSystemVolumeSerial = real;
}

}  // namespace
