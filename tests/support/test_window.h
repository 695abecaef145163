// A saver window with its hidden block list, for the block store tests: a
// real window and list box on Windows, the stand-in natively.
#pragma once

#include "platform/kernel.h"

struct TestWindow {
    HWND window = nullptr;
    HWND list = nullptr;

    TestWindow();
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
};

// Movable blocks still allocated, or -1 where they cannot be counted.
long LiveGlobalBlocks();
