#include "shell/cmdline.h"

#include <cctype>

RunMode GetRunMode(const char* commandLine)
{
    if (commandLine == nullptr)
        return RUNMODE_NONE;
    char c = commandLine[0];
    if (c == '/' || c == '-')
        c = commandLine[1];
    switch (std::tolower(static_cast<unsigned char>(c))) {
    case 's': return RUNMODE_SAVER;
    case 'c': return RUNMODE_CONFIGURE;
    case 'p':
    case 'l': return RUNMODE_PREVIEW;
    case 'a': return RUNMODE_PASSWORD;
    default: return RUNMODE_NONE;
    }
}

uintptr_t GetWindowArgument(const char* commandLine)
{
    if (commandLine == nullptr)
        return 0;
    const char* p = commandLine;
    while (*p && !std::isdigit(static_cast<unsigned char>(*p)))
        ++p;
    // Window handles are 32-bit values; a longer number saturates instead of
    // overflowing as atol would.
    uint64_t value = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
        value = value * 10 + static_cast<uint64_t>(*p - '0');
        if (value > 0xFFFFFFFFu)
            value = 0xFFFFFFFFu;
    }
    return static_cast<uintptr_t>(value);
}
