#include "shell/configure.h"

#include <cstring>
#include <string>

const BLOCK* configBlock;
HFONT noticeFont;
HFONT smallFont;

namespace {

HFONT ArialFont(int height)
{
    return CreateFontA(height, 0, 0, 0, 400, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "ARIAL");
}

// A text field of the show file, ended inside its field even when the file
// left out the terminator.
template <size_t N>
std::string FieldText(const char (&field)[N])
{
    return std::string(field, strnlen(field, N));
}

void DeleteFont(HFONT* font)
{
    if (*font) {
        DeleteObject(*font);
        *font = nullptr;
    }
}

}  // namespace

void CentreWindow(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    SetWindowPos(window, nullptr, x, y, width, height, SWP_NOSIZE | SWP_NOZORDER);
}

INT_PTR CALLBACK ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        configBlock = reinterpret_cast<const BLOCK*>(lParam);
        noticeFont = ArialFont(16);
        smallFont = ArialFont(12);
        // A font that cannot be made leaves its control with the dialog's.
        if (noticeFont)
            SendDlgItemMessageA(dialog, IDC_NOTICE, WM_SETFONT, reinterpret_cast<WPARAM>(noticeFont), 0);
        if (smallFont)
            SendDlgItemMessageA(dialog, IDC_ABOUT, WM_SETFONT, reinterpret_cast<WPARAM>(smallFont), 0);
        if (configBlock) {
            SetDlgItemTextA(dialog, IDC_NOTICE, FieldText(configBlock->head.notice).c_str());
            SetWindowTextA(dialog, FieldText(configBlock->head.title).c_str());
        }
        CentreWindow(dialog);
        return 0;
    case WM_COMMAND:
        // "Done", or Enter; Escape is not handled, so it does not close.
        if (LOWORD(wParam) == IDOK) {
            DeleteFont(&noticeFont);
            DeleteFont(&smallFont);
            EndDialog(dialog, static_cast<INT_PTR>(wParam));
        }
        return 0;
    default:
        return 0;
    }
}
