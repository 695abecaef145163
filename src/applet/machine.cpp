#include "applet/machine.h"

#include <cstdio>
#include <cstring>

#include "applet/machine_sources.h"

namespace {

bool Empty(const char* text) { return text[0] == '\0'; }

}  // namespace

// The order of lookups is fixed: each step runs only while what it fills is
// still empty, and the owner always ends with some text.
int GetMachineName(char* owner, char* organisation)
{
    owner[0] = '\0';
    organisation[0] = '\0';
    ReadRegisteredNames(MACHINE_KEY_WINDOWS, owner, organisation);
    if (Empty(owner) || Empty(organisation))
        ReadRegisteredNames(MACHINE_KEY_WINDOWS_NT, owner, organisation);
    if (Empty(owner))
        ReadLogonName(MACHINE_LOGON_DEFAULT, owner);
    if (Empty(owner))
        ReadLogonName(MACHINE_LOGON_ALTERNATE, owner);
    unsigned long serial = 0;
    if (Empty(owner) && GetSystemVolumeSerial(&serial))
        std::snprintf(owner, MACHINE_NAME_SIZE, "User %lu", serial);
    if (Empty(owner))
        std::strcpy(owner, "Unknown user");
    return 1;
}
