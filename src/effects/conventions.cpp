#include "effects/conventions.h"

#include "effects/effect.h"
#include "imaging/composite.h"
#include "imaging/dib.h"
#include "platform/guards.h"

int16_t PictureSetup(STATUS* status, EFFECTSIZE* size)
{
    if (status->bitmap) {
        DeleteObject(status->bitmap);
        status->bitmap = nullptr;
    }
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
    if (status->bitmap) {
        DeleteObject(status->bitmap);
        status->bitmap = nullptr;
    }
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
