// A stand-in for the system's PASSWORD.CPL, built by the tests: its answer
// and what it does during the check are set by the test that loads it.
#include <windows.h>

#include "shell/messages.h"

namespace {

BOOL answer = TRUE;
int calls = 0;
HWND reenter = nullptr;

}  // namespace

extern "C" {

__declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND)
{
    ++calls;
    // A second request while the check runs must be dropped.
    if (reenter)
        SendMessageA(reenter, WM_CLOSEREQUEST, 0, 0);
    return answer;
}

__declspec(dllexport) void StubSetAnswer(BOOL value) { answer = value; }
__declspec(dllexport) void StubReenter(HWND window) { reenter = window; }
__declspec(dllexport) int StubCalls() { return calls; }
__declspec(dllexport) void StubReset()
{
    answer = TRUE;
    calls = 0;
    reenter = nullptr;
}
}
