#include <gtest/gtest.h>

#include "imaging/palette.h"

namespace {

// Entries of the palette selected into the DC.
int SelectedEntries(HDC dc)
{
    auto palette = static_cast<HPALETTE>(GetCurrentObject(dc, OBJ_PAL));
    return static_cast<int>(GetPaletteEntries(palette, 0, 0, nullptr));
}

TEST(RealizeWindowPalette, EntryCounts)
{
    uint8_t standard[PALETTE_BYTES];
    GetDefaultPalette(standard, nullptr, PALETTE_STANDARD);
    HDC dc = CreateCompatibleDC(nullptr);
    const int stock = SelectedEntries(dc);
    const struct {
        int count, entries;
    } cases[] = {{2, 2}, {8, 16}, {16, 16}, {17, 256}, {200, 256}, {256, 256}};
    for (const auto& c : cases) {
        PALSTATE state;
        ASSERT_EQ(RealizeWindowPalette(dc, &state, standard, c.count), 1) << c.count;
        EXPECT_NE(state.palette, nullptr) << c.count;
        EXPECT_EQ(SelectedEntries(dc), c.entries) << c.count;
        UnrealizeWindowPalette(dc, &state);
        EXPECT_EQ(state.palette, nullptr);
        EXPECT_EQ(state.logPalette, nullptr);
        EXPECT_EQ(SelectedEntries(dc), stock) << c.count;
    }
    // A full-colour picture has no palette to realise.
    PALSTATE state;
    EXPECT_EQ(RealizeWindowPalette(dc, &state, standard, 16777216), 1);
    EXPECT_EQ(state.palette, nullptr);
    EXPECT_EQ(state.logPalette, nullptr);
    UnrealizeWindowPalette(dc, &state);
    DeleteDC(dc);
}

TEST(RealizeWindowPalette, CopiesTheColours)
{
    uint8_t colours[PALETTE_BYTES] = {};
    colours[3 * 9 + 0] = 10;
    colours[3 * 9 + 1] = 20;
    colours[3 * 9 + 2] = 30;
    HDC dc = CreateCompatibleDC(nullptr);
    PALSTATE state;
    ASSERT_EQ(RealizeWindowPalette(dc, &state, colours, 12), 1);
    PALETTEENTRY entry{};
    ASSERT_EQ(GetPaletteEntries(state.palette, 9, 1, &entry), 1u);
    EXPECT_EQ(entry.peRed, 10);
    EXPECT_EQ(entry.peGreen, 20);
    EXPECT_EQ(entry.peBlue, 30);
    EXPECT_EQ(entry.peFlags, 0);
    // Entries 12 to 15 come from the zeroed rest of the buffer.
    ASSERT_EQ(GetPaletteEntries(state.palette, 15, 1, &entry), 1u);
    EXPECT_EQ(entry.peRed + entry.peGreen + entry.peBlue, 0);
    UnrealizeWindowPalette(dc, &state);
    DeleteDC(dc);
}

}  // namespace
