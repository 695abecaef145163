#include "applet/machine.h"

#include <cstring>

// Stand-in until the registry lookups arrive (issue 3): only the last
// fallback of the owner.
int GetMachineName(char* owner, char* organisation)
{
    std::strcpy(owner, "Unknown user");
    organisation[0] = '\0';
    return 1;
}
