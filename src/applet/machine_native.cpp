// The machine's names for the tools on other systems: there is no registry,
// so the owner is the account's full name, else its login name.
#include <pwd.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "applet/machine.h"
#include "applet/machine_sources.h"

namespace {

bool ReadVolumeSerial(unsigned long* serial)
{
    struct statvfs fs;
    if (statvfs("/", &fs) != 0)
        return false;
    *serial = static_cast<unsigned long>(fs.f_fsid & 0xFFFFFFFFu);
    return true;
}

void CopyIfFits(const std::string& text, char* out)
{
    if (!text.empty() && text.size() < static_cast<size_t>(MACHINE_NAME_SIZE))
        std::strcpy(out, text.c_str());
}

}  // namespace

bool (*GetSystemVolumeSerial)(unsigned long* serial) = ReadVolumeSerial;

void ReadRegisteredNames(MachineKey, char*, char*) {}

void ReadLogonName(MachineLogon which, char* owner)
{
    const passwd* account = getpwuid(getuid());
    if (account == nullptr)
        return;
    if (which == MACHINE_LOGON_DEFAULT) {
        // The full name is the first field of the comment.
        std::string gecos = account->pw_gecos ? account->pw_gecos : "";
        CopyIfFits(gecos.substr(0, gecos.find(',')), owner);
    } else if (account->pw_name) {
        CopyIfFits(account->pw_name, owner);
    }
}
