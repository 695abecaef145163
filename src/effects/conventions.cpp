#include "effects/conventions.h"

#include <cstdlib>
#include <ctime>

#include "effects/effect.h"
#include "imaging/composite.h"
#include "imaging/dib.h"
#include "platform/guards.h"

int16_t PictureSetup(STATUS* status, EFFECTSIZE* size)
{
    DeleteBitmap(status);
    GlobalLockGuard<BITMAPINFOHEADER> picture(status->picture);
    if (!picture)
        return EFFECT_ABORT;
    size->W = static_cast<uint32_t>(picture->biWidth);
    size->H = static_cast<uint32_t>(picture->biHeight);
    status->bitmap = CreateDeviceBitmap(status->dc, picture.get());
    return status->bitmap ? 0 : EFFECT_ABORT;
}

bool PictureSize(const STATUS* status, EFFECTSIZE* size)
{
    GlobalLockGuard<BITMAPINFOHEADER> picture(status->picture);
    if (!picture)
        return false;
    size->W = static_cast<uint32_t>(picture->biWidth);
    size->H = static_cast<uint32_t>(picture->biHeight);
    return true;
}

int16_t PutAll(const STATUS* status, const EFFECTSIZE& size)
{
    PictureFrame frame(status);
    PictureSource source(status);
    if (!source)
        return EFFECT_ABORT;
    source.Put(0, 0, static_cast<int>(size.W), static_cast<int>(size.H), 0, 0);
    return EFFECT_DONE;
}

int16_t StandardWait(const STATUS* status) { return status->holdLeft == 0 ? EFFECT_DONE : 0; }

int16_t StandardClose(STATUS* status)
{
    DeleteBitmap(status);
    return EFFECT_DONE;
}

PictureFrame::PictureFrame(const STATUS* status) : dc_(status->dc)
{
    SaveDC(dc_);
    SetWindowOrgEx(dc_, -status->x, -status->y, nullptr);
}

PictureFrame::~PictureFrame() { RestoreDC(dc_, -1); }

PictureSource::PictureSource(const STATUS* status) : target_(status->dc), dc_(CreateCompatibleDC(status->dc))
{
    if (dc_ && status->bitmap) {
        HGDIOBJ previous = SelectObject(dc_, status->bitmap);
        if (previous && previous != HGDI_ERROR)
            previous_ = previous;
    }
}

PictureSource::~PictureSource()
{
    if (previous_)
        SelectObject(dc_, previous_);
    if (dc_)
        DeleteDC(dc_);
}

void PictureSource::Put(int x, int y, int w, int h, int toX, int toY) const
{
    BitBlt(target_, toX, toY, w, h, dc_, x, y, SRCCOPY);
}

BackgroundFill::BackgroundFill(const STATUS* status)
    : dc_(status->dc),
      previousBrush_(SelectObject(dc_, status->backgroundBrush)),
      previousPen_(SelectObject(dc_, GetStockObject(NULL_PEN)))
{
}

BackgroundFill::~BackgroundFill()
{
    SelectObject(dc_, previousPen_);
    SelectObject(dc_, previousBrush_);
}

void BackgroundFill::Fill(int left, int top, int right, int bottom) const { Rectangle(dc_, left, top, right, bottom); }

void CopyOnScreen(const STATUS* status, int x, int y, int w, int h, int toX, int toY)
{
    BitBlt(status->dc, toX, toY, w, h, status->dc, x, y, SRCCOPY);
}

void Reseed() { std::srand(static_cast<unsigned>(std::time(nullptr))); }

int16_t LineSetup(STATUS* status, LINESTATE* state)
{
    state->n = 0;
    EFFECTSIZE size;
    const int16_t failed = PictureSetup(status, &size);
    state->W = size.W;
    state->H = size.H;
    return failed ? failed : EFFECT_DONE;
}

int16_t LineWait(STATUS* status, LINESTATE* state)
{
    const int16_t result = StandardWait(status);
    if (result == EFFECT_DONE)
        state->n = 0;
    return result;
}

int16_t LineClose(STATUS* status, LINESTATE* state)
{
    StandardClose(status);
    state->n = 0;
    return EFFECT_DONE;
}

int32_t* MakeCornerTable(uint32_t W, uint32_t H, uint32_t step, uint32_t* count)
{
    const uint64_t across = (static_cast<uint64_t>(W) + step - 1) / step;
    const uint64_t down = (static_cast<uint64_t>(H) + step - 1) / step;
    const uint64_t n = across * down;
    *count = 0;
    if (n == 0 || n > 0x7FFFFFFF)
        return nullptr;
    auto* table = static_cast<int32_t*>(std::calloc(static_cast<size_t>(n), 2 * sizeof(int32_t)));
    if (table == nullptr)
        return nullptr;
    size_t i = 0;
    for (uint64_t y = 0; y < H; y += step)
        for (uint64_t x = 0; x < W; x += step) {
            table[2 * i] = static_cast<int32_t>(x);
            table[2 * i + 1] = static_cast<int32_t>(y);
            ++i;
        }
    *count = static_cast<uint32_t>(n);
    return table;
}

void RemovePair(int32_t* table, uint32_t* n, uint32_t i)
{
    table[2 * i] = table[2 * (*n - 1)];
    table[2 * i + 1] = table[2 * (*n - 1) + 1];
    --*n;
}

uint32_t RandomBelow(uint32_t n) { return n ? static_cast<uint32_t>(std::rand()) % n : 0; }

void FreeTable(void** table)
{
    std::free(*table);
    *table = nullptr;
}

void DeleteBitmap(STATUS* status)
{
    if (status->bitmap) {
        DeleteObject(status->bitmap);
        status->bitmap = nullptr;
    }
}

namespace {

bool BuildTable(STATUS* status, TABLESTATE* state, TABLESHAPE shape)
{
    status->workA = MakeCornerTable(state->W, shape.oneRow ? 1 : state->H, shape.step, &state->N);
    return status->workA != nullptr || state->N == 0;
}

}  // namespace

int16_t TableSetup(STATUS* status, TABLESTATE* state, TABLESHAPE shape)
{
    DeleteBitmap(status);
    FreeTable(&status->workA);
    EFFECTSIZE size;
    if (const int16_t failed = PictureSetup(status, &size))
        return failed;
    state->W = size.W;
    state->H = size.H;
    if (!BuildTable(status, state, shape))
        return EFFECT_ABORT;
    Reseed();
    return EFFECT_DONE;
}

int16_t TableForLeaving(STATUS* status, TABLESTATE* state, TABLESHAPE shape, bool reseed)
{
    if (status->workA != nullptr)
        return 0;
    EFFECTSIZE size;
    if (!PictureSize(status, &size))
        return EFFECT_ABORT;
    state->W = size.W;
    state->H = size.H;
    if (!BuildTable(status, state, shape))
        return EFFECT_ABORT;
    if (reseed)
        Reseed();
    return 0;
}
