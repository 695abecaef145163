// A small Windows helper for the end-to-end tests: it runs under wine64 in
// the same prefix as the saver and looks at the saver's windows from inside.
//   testctl info CLASS     prints "left top right bottom exstyle style" of the
//                          first window of that class, or "none"
//   testctl close CLASS    posts WM_CLOSE to it; exit code 0 when posted
//   testctl command CLASS ID  posts WM_COMMAND with that id to it
//   testctl caption CLASS  prints its window text
//   testctl metrics        prints the screen width and height
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "metrics") == 0) {
        std::printf("%d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "command") == 0) {
        HWND target = FindWindowA(argv[2], nullptr);
        return target && PostMessageA(target, WM_COMMAND, std::atoi(argv[3]), 0) ? 0 : 1;
    }
    if (argc != 3)
        return 2;
    HWND window = FindWindowA(argv[2], nullptr);
    if (std::strcmp(argv[1], "info") == 0) {
        if (window == nullptr) {
            std::printf("none\n");
            return 1;
        }
        RECT r;
        GetWindowRect(window, &r);
        std::printf("%ld %ld %ld %ld %08lx %08lx\n", r.left, r.top, r.right, r.bottom,
                    static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)),
                    static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)));
        return 0;
    }
    if (std::strcmp(argv[1], "caption") == 0) {
        char text[512] = {};
        if (window == nullptr)
            return 1;
        GetWindowTextA(window, text, sizeof text);
        std::printf("%s\n", text);
        return 0;
    }
    if (std::strcmp(argv[1], "close") == 0)
        return window && PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
    return 2;
}
