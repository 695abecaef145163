// The preview window inside a stand-in for the settings page's window of
// 152 x 112, painted on demand.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "imaging/dib.h"
#include "platform/guards.h"
#include "shell/preview.h"
#include "show/blockstore.h"

namespace {

constexpr COLORREF BACKGROUND = RGB(0, 40, 80);

HGLOBAL CodedPicture(int width, int height)
{
    HGLOBAL mem = CreateDib(width, height, nullptr, 24);
    GlobalLockGuard<BITMAPINFOHEADER> dib(mem);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            PutDibPixel(dib.get(), x, y, RGB(x, y, 77));
    return mem;
}

class Preview : public testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = PreviewProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        wc.lpszClassName = "VistrelPreviewTest";
        RegisterClassA(&wc);
        parent = CreateWindowExA(0, "STATIC", "settings", WS_POPUP | WS_VISIBLE, 10, 10, 152, 112, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        CreateBlock(nullptr, nullptr, &block, TAG_HEAD, nullptr, 0);
        block.head.backgroundColour = BACKGROUND;
    }
    void TearDown() override
    {
        if (window)
            DestroyWindow(window);
        DestroyWindow(parent);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message == WM_PAINT)
                DispatchMessageA(&msg);
        DestroyBlock(&block);
        UnregisterClassA("VistrelPreviewTest", GetModuleHandleA(nullptr));
    }

    void Open(const BLOCK* shown)
    {
        window = CreateWindowExA(0, "VistrelPreviewTest", "preview", WS_CHILD | WS_VISIBLE, 0, 0, 152, 112, parent,
                                 nullptr, GetModuleHandleA(nullptr), const_cast<BLOCK*>(shown));
        ASSERT_NE(window, nullptr);
        UpdateWindow(window);
    }

    void Repaint()
    {
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
    }

    COLORREF Pixel(int x, int y)
    {
        HDC dc = GetDC(window);
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(window, dc);
        return c;
    }

    bool Pending()
    {
        RECT r;
        return GetUpdateRect(window, &r, FALSE) != 0;
    }

    // The title's opening pixels as TextOutA draws them at x.
    bool TitleDrawnAt(int x, const char* text)
    {
        HDC dc = GetDC(window);
        HDC reference = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, 152, 112);
        HGDIOBJ oldBitmap = SelectObject(reference, bitmap);
        HFONT font = CreateFontA(112, 0, 0, 0, 700, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "Times New Roman");
        HGDIOBJ oldFont = SelectObject(reference, font);
        SetTextColor(reference, previewColours[previewColour]);
        SetBkColor(reference, BACKGROUND);
        const std::string full = std::string(text) + "      ";
        TextOutA(reference, x, 0, full.c_str(), static_cast<int>(full.size()));
        SIZE size;
        GetTextExtentPointA(reference, full.c_str(), static_cast<int>(full.size()), &size);
        bool same = true;
        for (int py = 0; py < size.cy && py < 112 && same; py += 2)
            for (int px = x > 0 ? x : 0; px < 152 && px < x + size.cx && same; px += 2)
                same = GetPixel(reference, px, py) == GetPixel(dc, px, py);
        SelectObject(reference, oldFont);
        DeleteObject(font);
        SelectObject(reference, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(reference);
        ReleaseDC(window, dc);
        return same;
    }

    HWND parent = nullptr;
    HWND window = nullptr;
    BLOCK block;
};

TEST_F(Preview, PictureIsCentred)
{
    const struct {
        int width, height, x, y;
    } cases[] = {{100, 80, 26, 16}, {200, 150, -24, -19}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        block.head.hasPreview = 1;
        if (block.payload)
            GlobalFree(block.payload);
        block.payload = CodedPicture(c.width, c.height);
        Open(&block);
        for (auto [px, py] : {std::pair{0, 0}, {151, 111}, {76, 56}}) {
            const int sx = px - c.x, sy = py - c.y;
            const bool inside = sx >= 0 && sy >= 0 && sx < c.width && sy < c.height;
            EXPECT_EQ(Pixel(px, py), inside ? RGB(sx, sy, 77) : RGB(0, 0, 0)) << px << "," << py;
        }
        // A picture is painted only when the system asks for it.
        SendMessageA(window, WM_TIMER, PREVIEW_TIMER, 0);
        EXPECT_FALSE(Pending());
        DestroyWindow(window);
        window = nullptr;
    }
}

TEST_F(Preview, TitleScrollsFourPixelsAPaint)
{
    std::strcpy(block.head.title, "Vistrel");
    Open(&block);
    ASSERT_NE(previewColour, -1);
    EXPECT_EQ(previewScroll, 4);
    EXPECT_TRUE(TitleDrawnAt(0, "Vistrel"));
    SendMessageA(window, WM_TIMER, PREVIEW_TIMER, 0);
    EXPECT_TRUE(Pending()) << "the timer asks for the next paint";
    UpdateWindow(window);
    EXPECT_EQ(previewScroll, 8);
    EXPECT_TRUE(TitleDrawnAt(-4, "Vistrel"));
}

TEST_F(Preview, TitleStartsOverAtTheRightInANewColour)
{
    std::strcpy(block.head.title, "V");
    Open(&block);
    // Far enough that the text has gone by the next paint.
    previewScroll = 5000;
    Repaint();
    EXPECT_EQ(previewScroll, 4 - 152);
    EXPECT_EQ(previewColour, -1);
    Repaint();
    EXPECT_NE(previewColour, -1);
    EXPECT_TRUE(TitleDrawnAt(148, "V"));
}

TEST_F(Preview, WithoutHeadBlockNothingIsPainted)
{
    Open(nullptr);
    EXPECT_EQ(Pixel(70, 50), RGB(0, 0, 0));
    SendMessageA(window, WM_TIMER, PREVIEW_TIMER, 0);
    EXPECT_FALSE(Pending());
}

}  // namespace
