#include "player/sequencer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "effects/effect.h"
#include "imaging/composite.h"
#include "imaging/dib.h"
#include "imaging/display.h"
#include "imaging/palette.h"
#include "imaging/reduce.h"
#include "platform/gdi_guards.h"
#include "player/slide.h"
#include "player/text.h"
#include "shell/messages.h"
#include "show/blockstore.h"

namespace {

UINT_PTR RealSetTimer(HWND window, UINT_PTR id, UINT milliseconds)
{
    return SetTimer(window, id, milliseconds, nullptr);
}

BOOL RealKillTimer(HWND window, UINT_PTR id) { return KillTimer(window, id); }

// Whether some block held the show since it last started over at its HEAD
// block. A pass in which every block moved on at once ends in a short pause.
bool showHeld;

constexpr int32_t NO_CLEAR = EFFECT_NCLEAR;
constexpr uint32_t ANIMATIONS_OF_SLIDE = ANIM_ENDS_WITH_SLIDE;
constexpr uint32_t ANIMATIONS_OF_SHOW = ANIM_ENDS_WITH_SHOW;

// Stand-in until animations arrive (issue 17 of the plan): no animation
// window runs yet, so there is none to end.
void DestroyAllAnimations(HWND, unsigned long) {}

HWND BlockList(HWND window) { return GetDlgItem(window, BLOCKLIST_ID); }

void PostStep(HWND window, WPARAM step) { PostMessageA(window, WM_TIMER, step, 0); }

// A block that cannot start: nothing is set up and no next step follows.
void PostFailure(HWND window) { PostMessageA(window, WM_COMMAND, 1, 0); }

void Kill(HWND window, UINT_PTR* timer)
{
    if (*timer) {
        sequencerTimers.kill(window, *timer);
        *timer = 0;
    }
}

// The cell timer runs every 81 - speed ms for a speed of 0 to 80.
UINT CellPeriod(int32_t speed) { return static_cast<UINT>(81 - std::clamp<int32_t>(speed, 0, 80)); }

// displayTime seconds, within what a window timer can count.
UINT DisplayPeriod(uint32_t seconds)
{
    return static_cast<UINT>(std::min<uint64_t>(static_cast<uint64_t>(seconds) * 1000, USER_TIMER_MAXIMUM));
}

// Puts back what lay under the slide that ends.
void RestoreSavedArea(HWND window, BLOCKSET* set)
{
    WindowDcGuard dc(window);
    const RECT& r = set->savedRect;
    if (set->savedScreen) {
        MemoryDcGuard memory(dc.get());
        SelectGuard select(memory.get(), set->savedScreen);
        BitBlt(dc.get(), r.left, r.top, RectWidth(&r), RectDepth(&r), memory.get(), 0, 0, SRCCOPY);
    } else {
        FillRect(dc.get(), &r, set->backgroundBrush);
    }
}

// Saves what lies under `rect`. The area is kept as it was copied, clipped
// to the screen, so that it goes back to the very pixels it came from.
void SaveArea(HWND window, BLOCKSET* set, RECT rect)
{
    WindowDcGuard dc(window);
    set->savedRect = ClipToDevice(dc.get(), rect);
    set->savedScreen = CopyScreenToBitmap(dc.get(), rect);
}

void StartPicture(HWND window, BLOCKSET* set)
{
    BLOCK& block = set->block;
    const SCRIMAG& imag = block.imag;
    uint8_t palette[PALETTE_BYTES];
    int depth = 8;
    GetDefaultPalette(palette, &depth, PALETTE_STANDARD);

    HGLOBAL picture;
    if (devicebits <= 8)
        picture = (imag.flags & IMAG_REMAP) ? RemapDib(block.payload, palette, depth, 0)
                                            : DitherDib(block.payload, palette, depth, 0);
    else
        picture = DuplicateObject(block.payload);
    if (picture == nullptr) {
        PostFailure(window);
        return;
    }

    // A picture larger than the screen keeps its middle part.
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    int w = 0, h = 0;
    if (GetBitmapDimensions(picture, &w, &h, nullptr, nullptr) && (w > screenWidth || h > screenHeight)) {
        RECT crop{0, 0, w, h};
        if (w > screenWidth) {
            crop.left = (w - screenWidth) / 2;
            crop.right = crop.left + screenWidth;
        }
        if (h > screenHeight) {
            crop.top = (h - screenHeight) / 2;
            crop.bottom = crop.top + screenHeight;
        }
        if (HGLOBAL cropped = CropImage(picture, crop)) {
            GlobalFree(picture);
            picture = cropped;
        }
    }

    if (!InitImageStatus(&set->status, picture, imag.effectIn, imag.effectOut, imag.speed, imag.holdTime,
                         set->backgroundBrush)) {
        PostFailure(window);
        return;
    }

    // One pixel more than the stored picture on every side.
    if (GetBitmapDimensions(block.payload, &w, &h, nullptr, nullptr)) {
        int x = 0, y = 0;
        GetImageOrigin(&x, &y, &block);
        SaveArea(window, set, RECT{x - 1, y - 1, x + w + 1, y + h + 1});
    }

    block.cellTimer = sequencerTimers.set(window, TIMER_CELL, CellPeriod(imag.speed));
    block.secondTimer = sequencerTimers.set(window, TIMER_SECOND, 1000);
    const auto displayTime = static_cast<uint32_t>(imag.displayTime);
    block.advanceTimer = displayTime > 1 ? sequencerTimers.set(window, TIMER_ADVANCE, DisplayPeriod(displayTime)) : 0;
    showHeld = true;
}

void StartText(HWND window, BLOCKSET* set)
{
    BLOCK& block = set->block;
    const SCRTEXT& text = block.text;
    // The face name field need not hold its terminator.
    char face[sizeof text.faceName + 1] = {};
    std::memcpy(face, text.faceName, sizeof text.faceName);
    HFONT font = CreateFontA(text.fontHeight, 0, 0, 0, (text.flags & TEXT_BOLD) ? 700 : 0,
                             (text.flags & TEXT_ITALIC) ? TRUE : FALSE, (text.flags & TEXT_UNDERLINE) ? TRUE : FALSE,
                             FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, face);
    if (!InitTextStatus(&set->status, font, set->backgroundBrush, block.payload, window,
                        static_cast<uint32_t>(text.mode), static_cast<uint32_t>(text.alignment),
                        static_cast<uint32_t>(text.boxWidth), static_cast<uint32_t>(text.boxHeight),
                        static_cast<uint32_t>(text.margin))) {
        // The status holds the font, which the next block releases.
        PostFailure(window);
        return;
    }

    int x = 0, y = 0;
    GetTextOrigin(&x, &y, &block, &set->status);
    RECT saved = set->status.boxRect;
    OffsetRect(&saved, x, y);
    const bool across = text.mode == TEXT_LINE_ACROSS || text.mode == TEXT_SCROLL_ACROSS;
    InflateRect(&saved, across ? 0 : text.margin, text.margin);
    SaveArea(window, set, saved);

    block.cellTimer = sequencerTimers.set(window, TIMER_CELL, CellPeriod(text.speed));
    block.secondTimer = sequencerTimers.set(window, TIMER_SECOND, 1000);
    const auto displayTime = static_cast<uint32_t>(text.displayTime);
    block.advanceTimer = displayTime != 0 ? sequencerTimers.set(window, TIMER_ADVANCE, DisplayPeriod(displayTime)) : 0;
    showHeld = true;
}

void NextBlock(HWND window, BLOCKSET* set)
{
    BLOCK& block = set->block;
    const bool clears = (block.tag == TAG_IMAG && block.imag.effectOut != NO_CLEAR) ||
                        (block.tag == TAG_TEXT && (block.text.flags & TEXT_ERASE));
    if (clears) {
        RestoreSavedArea(window, set);
        DestroyAllAnimations(window, ANIMATIONS_OF_SLIDE);
    }
    ReleaseCurrentBlock(window, set);

    if (++set->current >= set->blockCount)
        set->current = 0;
    if (!GetBlock(BlockList(window), set->current, &block)) {
        PostFailure(window);
        return;
    }

    switch (block.tag) {
    case TAG_HEAD:
        // The show starts over.
        DestroyAllAnimations(window, ANIMATIONS_OF_SHOW);
        if (showHeld)
            PostStep(window, STEP_NEXTBLOCK);
        else
            sequencerTimers.set(window, TIMER_IDLE, IDLE_PAUSE_MS);
        showHeld = false;
        break;
    case TAG_IMAG:
        StartPicture(window, set);
        break;
    case TAG_TEXT:
        StartText(window, set);
        break;
    // Sounds (APPLETPlaySound), applets (APPLETInitApplet) and animations
    // (AddAnimBlock) take over here with their own issues; until then they
    // are skipped like unknown blocks.
    default:
        PostStep(window, STEP_NEXTBLOCK);
        break;
    }
}

void TextTick(HWND window, BLOCKSET* set)
{
    BLOCK& block = set->block;
    STATUS& status = set->status;
    const SCRTEXT& text = block.text;
    int x = 0, y = 0;
    GetTextOrigin(&x, &y, &block, &status);
    WindowDcGuard dc(window);
    SelectGuard font(dc.get(), status.font);
    const int32_t lineHeight = status.textRect.bottom - status.textRect.top;
    switch (text.mode) {
    case TEXT_LINE_ACROSS:
    case TEXT_SCROLL_ACROSS:
        x = 0;
        status.width = set->displayWidth;
        status.height = lineHeight;
        break;
    case TEXT_BOX:
        status.width = text.boxWidth;
        status.height = text.boxHeight;
        break;
    default:
        status.width = text.boxWidth;
        status.height = lineHeight;
        break;
    }
    status.x = x;
    status.y = y;
    HandleOnceTextCell(window, dc.get(), &status, &text, block.payload);
}

void CellTick(HWND window, BLOCKSET* set)
{
    BLOCK& block = set->block;
    if (block.tag == TAG_IMAG) {
        GetImageOrigin(&set->status.x, &set->status.y, &block);
        WindowDcGuard dc(window);
        HandleOnceCell(window, dc.get(), &set->status);
    } else if (block.tag == TAG_TEXT) {
        TextTick(window, set);
    }
}

void SlideDone(HWND window, BLOCKSET* set)
{
    BLOCK& block = set->block;
    if (block.tag == TAG_IMAG) {
        // No advance timer runs for a display time of 1: its stored id, 0,
        // is posted, which moves the show on through the advance test.
        if (block.imag.displayTime == 1)
            PostStep(window, block.advanceTimer);
        DestroyStatus(&set->status);
        set->status.activeEffect = EFFECT_IDLE;
    } else if (block.tag == TAG_TEXT) {
        // A display time of 0 moves on when a scrolling text has passed.
        if (block.text.displayTime == 0)
            PostStep(window, block.advanceTimer);
        DestroyStatus(&set->status);
    }
}

}  // namespace

SEQUENCERTIMERS sequencerTimers = {RealSetTimer, RealKillTimer};

void ReleaseCurrentBlock(HWND window, BLOCKSET* set)
{
    BLOCK& block = set->block;
    Kill(window, &block.secondTimer);
    Kill(window, &block.cellTimer);
    Kill(window, &block.advanceTimer);
    STATUS& status = set->status;
    if (status.picture) {
        GlobalFree(status.picture);
        status.picture = nullptr;
    }
    if (status.font) {
        DeleteObject(status.font);
        status.font = nullptr;
    }
    DestroyStatus(&status);
    // The applet record is freed and cleared here once applets run (issue 14
    // of the plan).
    if (set->savedScreen) {
        DeleteObject(set->savedScreen);
        set->savedScreen = nullptr;
    }
}

void StartShow(HWND window)
{
    if (BLOCKSET* set = LockBlockSet(window)) {
        BLOCK head;
        if (GetHeaderBlock(BlockList(window), set, &head)) {
            set->backgroundColour = head.head.backgroundColour;
            set->backgroundBrush = CreateSolidBrush(set->backgroundColour);
            set->displayWidth = GetSystemMetrics(SM_CXSCREEN);
            set->displayHeight = GetSystemMetrics(SM_CYSCREEN);
            set->blockCount = static_cast<int32_t>(SendMessageA(BlockList(window), LB_GETCOUNT, 0, 0));
            set->applet = nullptr;
            set->savedScreen = nullptr;
            set->current = -1;
            std::memset(&set->block, 0, sizeof set->block);
            std::memset(&set->status, 0, sizeof set->status);
            showHeld = true;
            PostStep(window, STEP_NEXTBLOCK);
        }
        UnlockBlockSet(window);
    }
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

LRESULT EraseShowBackground(HWND window, HDC dc)
{
    RECT client;
    GetClientRect(window, &client);
    // Before the show has started (or when none could be loaded) there is no
    // show brush yet: the window keeps its class's black.
    HBRUSH brush = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    BLOCKSET* set = LockBlockSet(window);
    if (set && set->backgroundBrush)
        brush = set->backgroundBrush;
    FillRect(dc, &client, brush);
    if (set)
        UnlockBlockSet(window);
    return 1;
}

bool HandleShowTimer(HWND window, WPARAM id)
{
    BLOCKSET* set = LockBlockSet(window);
    if (set == nullptr)
        return true;
    BLOCK& block = set->block;
    const bool slide = block.tag == TAG_IMAG || block.tag == TAG_TEXT;
    bool handled = true;
    if (id == TIMER_ANIMATION) {
        PostStep(window, STEP_NEXTBLOCK);
        sequencerTimers.kill(window, TIMER_ANIMATION);
    } else if (id == TIMER_IDLE) {
        sequencerTimers.kill(window, TIMER_IDLE);
        PostStep(window, STEP_NEXTBLOCK);
    } else if (id == block.cellTimer && slide) {
        CellTick(window, set);
    } else if (id == block.secondTimer && block.tag == TAG_IMAG) {
        STATUS& status = set->status;
        if (status.holdLeft > 0 && status.phase == PHASE_WAIT)
            --status.holdLeft;
    } else if (id == block.advanceTimer && slide) {
        Kill(window, &block.advanceTimer);
        PostStep(window, STEP_NEXTBLOCK);
    } else if (id == STEP_SLIDEDONE) {
        SlideDone(window, set);
    } else if (id == STEP_NEXTBLOCK) {
        NextBlock(window, set);
    } else {
        handled = false;
    }
    UnlockBlockSet(window);
    return handled;
}
