// The machine's names from the registry of Windows.
#include <cstring>

#include "applet/machine.h"
#include "applet/machine_sources.h"
#include "platform/kernel.h"

namespace {

const char* const registeredKeys[] = {
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
};
const char winlogonKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

class RegistryKey {
public:
    explicit RegistryKey(const char* path)
    {
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~RegistryKey()
    {
        if (key_)
            RegCloseKey(key_);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    explicit operator bool() const { return key_ != nullptr; }

    // Copies the value's text into `out` when it exists and fits.
    void Read(const char* name, char* out) const
    {
        char text[MACHINE_NAME_SIZE];
        DWORD size = sizeof text;
        DWORD type = 0;
        if (RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS)
            return;
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return;
        // A value stored without its terminator still ends inside the buffer.
        text[size < sizeof text ? size : sizeof text - 1] = '\0';
        std::strcpy(out, text);
    }

private:
    HKEY key_ = nullptr;
};

bool ReadVolumeSerial(unsigned long* serial)
{
    char directory[MACHINE_NAME_SIZE];
    if (GetWindowsDirectoryA(directory, sizeof directory) == 0)
        return false;
    char root[4] = {directory[0], ':', '\\', '\0'};
    DWORD number = 0;
    if (!GetVolumeInformationA(root, nullptr, 0, &number, nullptr, nullptr, nullptr, 0))
        return false;
    *serial = number;
    return true;
}

}  // namespace

bool (*GetSystemVolumeSerial)(unsigned long* serial) = ReadVolumeSerial;

void ReadRegisteredNames(MachineKey which, char* owner, char* organisation)
{
    RegistryKey key(registeredKeys[which]);
    if (!key)
        return;
    key.Read("RegisteredOwner", owner);
    key.Read("RegisteredOrganization", organisation);
}

void ReadLogonName(MachineLogon which, char* owner)
{
    RegistryKey key(winlogonKey);
    if (key)
        key.Read(which == MACHINE_LOGON_DEFAULT ? "DefaultUserName" : "AltDefaultUserName", owner);
}
