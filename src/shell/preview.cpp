#include "shell/preview.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "imaging/composite.h"
#include "imaging/dib.h"
#include "platform/gdi_guards.h"

const BLOCK* previewBlock;
int previewScroll;
int previewColour = -1;
// Red, green, blue, magenta, yellow, blue again, white.
const COLORREF previewColours[7] = {0x000000FF, 0x0000FF00, 0x00FF0000, 0x00FF00FF,
                                    0x0000FFFF, 0x00FF0000, 0x00FFFFFF};

namespace {

void PaintPicture(HDC dc, const RECT& client)
{
    int w = 0, h = 0;
    if (previewBlock->payload && GetBitmapDimensions(previewBlock->payload, &w, &h, nullptr, nullptr))
        DrawBitmap(dc, (client.right - w) / 2, (client.bottom - h) / 2, previewBlock->payload, SRCCOPY);
}

void PaintTitle(HDC dc, const RECT& client)
{
    const SCRHEAD& head = previewBlock->head;
    const std::string text = std::string(head.title, strnlen(head.title, sizeof head.title)) + "      ";
    GdiObjectGuard<HFONT> font(
        CreateFontA(112, 0, 0, 0, 700, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "Times New Roman"));
    if (previewColour == -1)
        previewColour = std::rand() % 7;
    SelectGuard select(dc, font.get());
    SetTextColor(dc, previewColours[previewColour]);
    SetBkColor(dc, head.backgroundColour);
    const int length = static_cast<int>(text.size());
    TextOutA(dc, -previewScroll, 0, text.c_str(), length);
    previewScroll += 4;
    SIZE size{};
    GetTextExtentPointA(dc, text.c_str(), length, &size);
    // The next pass starts with the text's first pixels 4 pixels inside the
    // right edge, in a new colour.
    if (previewScroll >= size.cx) {
        previewScroll = 4 - client.right;
        previewColour = -1;
    }
}

}  // namespace

LRESULT CALLBACK PreviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        previewBlock = static_cast<const BLOCK*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetTimer(window, PREVIEW_TIMER, 8, nullptr);
        previewScroll = 0;
        previewColour = -1;
        break;
    case WM_TIMER:
        // A picture is painted only when the system asks; the title moves.
        if (wParam == PREVIEW_TIMER && previewBlock && previewBlock->head.hasPreview == 0)
            InvalidateRect(window, nullptr, FALSE);
        break;
    case WM_PAINT: {
        RECT client;
        GetClientRect(window, &client);
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        if (previewBlock) {
            if (previewBlock->head.hasPreview)
                PaintPicture(dc, client);
            else
                PaintTitle(dc, client);
        }
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        KillTimer(window, PREVIEW_TIMER);
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
