#include "player/text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "imaging/display.h"
#include "imaging/palette.h"
#include "platform/gdi_guards.h"
#include "platform/guards.h"
#include "player/slide.h"
#include "shell/messages.h"

namespace {

constexpr UINT LINE_CENTRED = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXTERNALLEADING | DT_NOPREFIX;
constexpr UINT LINE_LEFT = DT_VCENTER | DT_SINGLELINE | DT_EXTERNALLEADING | DT_NOPREFIX;
constexpr UINT WRAPPED = DT_WORDBREAK | DT_EXTERNALLEADING | DT_NOPREFIX | DT_VCENTER;
static_assert(LINE_CENTRED == 0xA25 && LINE_LEFT == 0xA24 && WRAPPED == 0xA14);

bool Wrapped(unsigned long mode) { return mode == TEXT_BOX || mode == TEXT_COLUMN; }
bool Scrolling(unsigned long mode) { return mode == TEXT_SCROLL || mode == TEXT_SCROLL_ACROSS; }
bool Across(unsigned long mode) { return mode == TEXT_LINE_ACROSS || mode == TEXT_SCROLL_ACROSS; }

// DrawText's alignment flag; other values are no alignment of theirs.
UINT AlignmentFlag(int32_t alignment)
{
    switch (alignment) {
    case 1: return DT_CENTER;
    case 2: return DT_RIGHT;
    default: return DT_LEFT;
    }
}

COLORREF BrushColour(HBRUSH brush)
{
    LOGBRUSH log{};
    GetObjectA(brush, sizeof log, &log);
    return log.lbColor;
}

}  // namespace

int16_t InitTextStatus(STATUS* status, HFONT font, HBRUSH brush, HGLOBAL text, HWND window, unsigned long mode,
                       unsigned long alignment, unsigned long boxWidth, unsigned long boxHeight, unsigned long margin)
{
    std::memset(status, 0, sizeof *status);
    status->font = font;
    status->backgroundBrush = brush;
    int bits = 8;
    GetDefaultPalette(status->palette, &bits, PALETTE_STANDARD);
    status->colourBits = bits;

    GlobalLockGuard<const char> source(text);
    if (!source)
        return 0;
    // The text ends at its NUL, or where its block ends.
    const size_t length = strnlen(source.get(), GlobalSize(text));
    GlobalBlockGuard copyMem(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, length + 1024));
    if (!copyMem)
        return 0;
    GlobalLockGuard<char> copy(copyMem.get());
    if (!copy)
        return 0;
    size_t n = 0;
    for (size_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(source.get()[i]);
        if (Wrapped(mode))
            copy.get()[n++] = static_cast<char>(c);
        else if (c == '\r')
            copy.get()[n++] = ' ';
        else if (c >= 32)
            copy.get()[n++] = static_cast<char>(c);
    }
    if (Scrolling(mode)) {
        copy.get()[n++] = ' ';
        copy.get()[n++] = ' ';
    }

    {
        WindowDcGuard dc(window);
        SelectGuard select(dc.get(), font);
        const int previousMode = SetMapMode(dc.get(), MM_TEXT);
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc.get(), &metrics);
        SIZE extent{};
        GetTextExtentPoint32A(dc.get(), copy.get(), static_cast<int>(n), &extent);
        status->alignment = static_cast<int32_t>(alignment);
        status->margin = static_cast<int32_t>(margin);
        const LONG screenWidth = GetSystemMetrics(SM_CXSCREEN);
        const RECT line{0, 0, extent.cx, extent.cy};
        switch (mode) {
        case TEXT_LINE_ACROSS:
        case TEXT_SCROLL_ACROSS:
            status->textRect = line;
            status->boxRect = RECT{0, 0, screenWidth, extent.cy};
            status->scrollPos = screenWidth;
            break;
        case TEXT_BOX:
            status->textRect = status->boxRect =
                RECT{0, 0, static_cast<LONG>(boxWidth), static_cast<LONG>(boxHeight)};
            break;
        case TEXT_COLUMN: {
            RECT r{0, 0, static_cast<LONG>(boxWidth), metrics.tmHeight + metrics.tmExternalLeading};
            DrawTextA(dc.get(), copy.get(), static_cast<int>(n), &r, DT_CALCRECT | WRAPPED);
            status->textRect = status->boxRect = r;
            break;
        }
        default:
            // Modes 0 and 2, and any other: one line in its own extent; the
            // first pass of a scrolling line starts at the text's height.
            status->textRect = status->boxRect = line;
            status->scrollPos = extent.cy;
            break;
        }
        SetMapMode(dc.get(), previousMode);
    }
    status->text = copyMem.release();
    return 1;
}

int GetTextOrigin(int* x, int* y, const BLOCK* block, const STATUS* status)
{
    *x = *y = 0;
    if (block->tag != TAG_TEXT)
        return 0;
    const SCRTEXT& text = block->text;
    const int64_t tw = status->textRect.right - status->textRect.left;
    const int64_t th = status->textRect.bottom - status->textRect.top;
    const int64_t m = text.margin;
    const int64_t sw = GetSystemMetrics(SM_CXSCREEN);
    const int64_t sh = GetSystemMetrics(SM_CYSCREEN);
    int64_t px, py;
    switch (text.position) {
    case POSITION_TOP_LEFT:
        px = text.x + m;
        py = text.y + m;
        break;
    case POSITION_TOP_RIGHT:
        px = sw + text.x - 2 - (tw + m);
        py = text.y + m;
        break;
    case POSITION_BOTTOM_LEFT:
        px = text.x + m;
        py = sh + text.y - 2 - (th + m);
        break;
    case POSITION_BOTTOM_RIGHT:
        px = sw + text.x - 2 - (tw + m);
        py = sh + text.y - 2 - (th + m);
        break;
    default:
        px = sw / 2 + text.x - tw / 2;
        py = sh / 2 + text.y - th / 2;
        break;
    }
    if (Across(static_cast<uint32_t>(text.mode)))
        px = 0;
    px = std::max<int64_t>(px, 0);
    py = std::max<int64_t>(py, 0);
    // Kept on the screen; a text wider than the screen goes left of it.
    px = std::min(px, sw - tw);
    py = std::min(py, sh - th);
    *x = static_cast<int>(std::clamp<int64_t>(px, INT32_MIN, INT32_MAX));
    *y = static_cast<int>(std::clamp<int64_t>(py, INT32_MIN, INT32_MAX));
    return 1;
}

void HandleOnceTextCell(HWND window, HDC dc, STATUS* status, const SCRTEXT* header, HGLOBAL)
{
    PALSTATE palette;
    RealizeWindowPalette(dc, &palette, status->palette, PaletteColours(status->colourBits));
    const bool transparent = header->flags & TEXT_TRANSPARENT;

    RECT area = status->boxRect;
    OffsetRect(&area, status->x, status->y);
    InflateRect(&area, status->margin, status->margin);
    if (!status->cleared) {
        if (transparent) {
            FillRect(dc, &area, status->backgroundBrush);
        } else {
            const COLORREF colour = devicebits <= 8 ? GetNearestColor(dc, header->backColour) : header->backColour;
            GdiObjectGuard<HBRUSH> brush(CreateSolidBrush(colour));
            FillRect(dc, &area, brush.get());
        }
        status->cleared = 1;
    }

    RECT r = status->textRect;
    OffsetRect(&r, status->x, status->y);
    if (!status->drawn) {
        SelectGuard selectFont(dc, status->font);
        GlobalLockGuard<const char> text(status->text);
        if (text) {
            SetTextColor(dc, header->textColour);
            SetBkColor(dc, transparent ? BrushColour(status->backgroundBrush) : header->backColour);
            GdiObjectGuard<HRGN> clip(CreateRectRgnIndirect(&area));
            SelectClipRgn(dc, clip.get());
            const int width = status->textRect.right - status->textRect.left;
            switch (header->mode) {
            case TEXT_LINE:
                DrawTextA(dc, text.get(), -1, &r, LINE_CENTRED);
                status->drawn = 1;
                break;
            case TEXT_LINE_ACROSS: {
                const int spare = (status->boxRect.right - status->boxRect.left) - (r.right - r.left);
                if (status->alignment == 1)
                    OffsetRect(&r, spare / 2, 0);
                else if (status->alignment == 2)
                    OffsetRect(&r, spare, 0);
                DrawTextA(dc, text.get(), -1, &r, LINE_CENTRED);
                status->drawn = 1;
                break;
            }
            case TEXT_SCROLL:
            case TEXT_SCROLL_ACROSS: {
                // Drawn where the pass was before this step.
                OffsetRect(&r, status->scrollPos, 0);
                status->scrollPos -= TEXT_SCROLL_STEP;
                if (status->scrollPos < -width) {
                    status->scrollPos = header->mode == TEXT_SCROLL ? width : std::max(width, status->width);
                    status->activeEffect = EFFECT_IDLE;
                    PostMessageA(window, WM_TIMER, STEP_SLIDEDONE, 0);
                }
                DrawTextA(dc, text.get(), -1, &r, header->mode == TEXT_SCROLL ? LINE_CENTRED : LINE_LEFT);
                break;
            }
            case TEXT_BOX:
            case TEXT_COLUMN:
                DrawTextA(dc, text.get(), -1, &r, AlignmentFlag(status->alignment) | WRAPPED);
                status->drawn = 1;
                break;
            default:
                break;
            }
            SelectClipRgn(dc, nullptr);
        }
    }
    UnrealizeWindowPalette(dc, &palette);
}
