#include <gtest/gtest.h>

#include "shell/cmdline.h"

namespace {

struct CommandLineCase {
    const char* name;
    const char* line;
    RunMode mode;
    uintptr_t window;
};

const CommandLineCase commandLines[] = {
    {"bare_s", "S", RUNMODE_SAVER, 0},
    {"slash_s", "/s", RUNMODE_SAVER, 0},
    {"dash_upper_s", "-S", RUNMODE_SAVER, 0},
    {"unknown_switch", "/x", RUNMODE_NONE, 0},
    {"empty", "", RUNMODE_NONE, 0},
    {"lone_slash", "/", RUNMODE_NONE, 0},
    {"preview_space", "/p 4711", RUNMODE_PREVIEW, 4711},
    {"preview_colon", "/p:4711", RUNMODE_PREVIEW, 4711},
    {"preview_no_digits", "/p", RUNMODE_PREVIEW, 0},
    {"preview_zero", "/p 0", RUNMODE_PREVIEW, 0},
    {"preview_l", "-l 12", RUNMODE_PREVIEW, 12},
    {"configure_colon", "/c:5678", RUNMODE_CONFIGURE, 5678},
    {"password_no_owner", "/a", RUNMODE_PASSWORD, 0},
    {"password_owner", "/A 99", RUNMODE_PASSWORD, 99},
    // The minus sign of a switch is skipped like any other non-digit.
    {"digits_in_switch_text", "-p -30", RUNMODE_PREVIEW, 30},
    {"only_first_number", "/p 12 34", RUNMODE_PREVIEW, 12},
    {"overlong_number_saturates", "/p 99999999999999999999999", RUNMODE_PREVIEW, 0xFFFFFFFFu},
};

class CommandLine : public testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLine, ModeAndWindow)
{
    const CommandLineCase& c = GetParam();
    EXPECT_EQ(GetRunMode(c.line), c.mode) << "line \"" << c.line << "\"";
    EXPECT_EQ(GetWindowArgument(c.line), c.window) << "line \"" << c.line << "\"";
}

INSTANTIATE_TEST_SUITE_P(Switches, CommandLine, testing::ValuesIn(commandLines),
                         [](const testing::TestParamInfo<CommandLineCase>& info) { return info.param.name; });

TEST(CommandLineNull, SelectsNothing)
{
    EXPECT_EQ(GetRunMode(nullptr), RUNMODE_NONE);
    EXPECT_EQ(GetWindowArgument(nullptr), 0u);
}

}  // namespace
