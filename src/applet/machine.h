// The registered owner and organisation of the machine, for the applets'
// start-up strings and new HEAD blocks.
#pragma once

constexpr int MACHINE_NAME_SIZE = 260;

// Fills both buffers (at least MACHINE_NAME_SIZE bytes each) and returns 1;
// the owner is never left empty, the organisation may be.
int GetMachineName(char* owner, char* organisation);

// Serial number of the volume that holds the system, for the "User %lu"
// fallback; false when it cannot be read. Tests replace it.
extern bool (*GetSystemVolumeSerial)(unsigned long* serial);
