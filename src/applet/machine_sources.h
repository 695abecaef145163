// Where the machine's names come from: the registry on Windows, the account
// database natively. Each read leaves its buffer as it was when the value is
// missing or does not fit.
#pragma once

enum MachineKey {
    MACHINE_KEY_WINDOWS,     // SOFTWARE\Microsoft\Windows\CurrentVersion
    MACHINE_KEY_WINDOWS_NT,  // SOFTWARE\Microsoft\Windows NT\CurrentVersion
};

enum MachineLogon {
    MACHINE_LOGON_DEFAULT,    // Winlogon "DefaultUserName"; natively the full name
    MACHINE_LOGON_ALTERNATE,  // Winlogon "AltDefaultUserName"; natively the login name
};

// "RegisteredOwner" into owner and "RegisteredOrganization" into organisation.
void ReadRegisteredNames(MachineKey key, char* owner, char* organisation);
void ReadLogonName(MachineLogon which, char* owner);
