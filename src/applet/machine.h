// The registered owner and organisation of the machine.
#pragma once

constexpr int MACHINE_NAME_SIZE = 260;

// Fills both buffers (at least MACHINE_NAME_SIZE bytes each) and returns 1;
// the owner is never left empty.
int GetMachineName(char* owner, char* organisation);
