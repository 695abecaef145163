// The run modes in this process: each mode runs its own message loop, so the
// checks run from a thread timer inside that loop and then end the mode.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "shell/configure.h"
#include "shell/messages.h"
#include "shell/runmodes.h"
#include "show/blockstore.h"
#include "show/writer.h"

namespace {

std::function<void()> onTimer;
int startMessages;

// What the mode asked for when it created each window.
struct Created {
    std::string className;
    DWORD style;
    DWORD exStyle;
    HWND parent;
    HMENU id;
};
std::vector<Created> created;

std::string ClassText(LPCSTR name)
{
    if (IS_INTRESOURCE(name))
        return "#" + std::to_string(reinterpret_cast<uintptr_t>(name));
    return name;
}

LRESULT CALLBACK WatchCreation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        created.push_back({ClassText(cs->lpszClass), static_cast<DWORD>(cs->style), cs->dwExStyle, cs->hwndParent,
                           cs->hMenu});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK RunCheck(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    if (onTimer)
        onTimer();
}

LRESULT CALLBACK WatchMessages(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && reinterpret_cast<MSG*>(lParam)->message == WM_STARTSHOW)
        ++startMessages;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Runs a mode with `check` called from inside its message loop.
int RunMode(const char* commandLine, std::function<void()> check)
{
    onTimer = std::move(check);
    startMessages = 0;
    created.clear();
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, WatchMessages, nullptr, GetCurrentThreadId());
    HHOOK cbt = SetWindowsHookExA(WH_CBT, WatchCreation, nullptr, GetCurrentThreadId());
    SetTimer(nullptr, 0, 200, RunCheck);
    std::string line = commandLine;
    int result = CreateScreenSaverWindow(hInst, nullptr, line.data(), SW_SHOWNORMAL);
    UnhookWindowsHookEx(cbt);
    UnhookWindowsHookEx(hook);
    onTimer = nullptr;
    // A timer the mode did not run must not fire in a later test.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
    }
    return result;
}

bool ClassRegistered(const char* name)
{
    WNDCLASSA wc;
    return GetClassInfoA(hInst, name, &wc) != 0;
}

class RunModes : public testing::Test {
protected:
    void SetUp() override { hInst = GetModuleHandleA(nullptr); }
};

TEST_F(RunModes, UnknownOrMissingSwitchMakesNoWindow)
{
    for (const char* line : {"/x", "", "-", "q 5"}) {
        EXPECT_EQ(RunMode(line, nullptr), 0) << line;
        EXPECT_EQ(FindWindowA(SaverClassName, nullptr), nullptr) << line;
        EXPECT_FALSE(ClassRegistered(SaverClassName)) << line;
    }
}

TEST_F(RunModes, FullScreenWithoutShowIsBlackTopmostAndStartsNothing)
{
    struct Seen {
        bool window = false;
        RECT rect{};
        LONG exStyle = 0;
        LONG style = 0;
        bool listFound = false;
        bool blockSet = false;
        std::string fileName;
        HBRUSH background = nullptr;
    } seen;

    int result = RunMode("/s", [&] {
        HWND window = FindWindowA(SaverClassName, szSaverAppName);
        seen.window = window != nullptr && window == hMainWindow;
        if (!window)
            return;
        GetWindowRect(window, &seen.rect);
        seen.exStyle = GetWindowLongA(window, GWL_EXSTYLE);
        seen.style = GetWindowLongA(window, GWL_STYLE);
        seen.background = reinterpret_cast<HBRUSH>(GetClassLongPtrA(window, GCLP_HBRBACKGROUND));
        seen.listFound = GetDlgItem(window, BLOCKLIST_ID) != nullptr;
        if (BLOCKSET* set = LockBlockSet(window)) {
            seen.blockSet = true;
            seen.fileName = set->fileName;
            UnlockBlockSet(window);
        }
        PostMessageA(window, WM_CLOSE, 0, 0);
    });

    EXPECT_EQ(result, 0);
    ASSERT_TRUE(seen.window);
    EXPECT_EQ(seen.rect.left, 0);
    EXPECT_EQ(seen.rect.top, 0);
    EXPECT_EQ(seen.rect.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(seen.rect.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(seen.exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(seen.style & WS_POPUP);
    EXPECT_TRUE(seen.style & WS_VISIBLE);
    EXPECT_EQ(seen.background, GetStockObject(BLACK_BRUSH));
    ASSERT_TRUE(seen.listFound);
    // The saver window and its block list, as they were asked for (the
    // system may create helper windows of its own in between).
    auto creation = [](const char* className) -> const Created* {
        for (const Created& c : created)
            if (_stricmp(c.className.c_str(), className) == 0)
                return &c;
        return nullptr;
    };
    const Created* saver = creation(SaverClassName);
    const Created* list = creation("LISTBOX");
    ASSERT_NE(saver, nullptr);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(saver->style, static_cast<DWORD>(WS_POPUP | WS_VISIBLE));
    EXPECT_EQ(saver->exStyle, 0u);
    EXPECT_EQ(saver->parent, nullptr);
    EXPECT_EQ(list->style, 0x40A00041u);
    EXPECT_EQ(list->exStyle, 0u);
    EXPECT_EQ(list->id, reinterpret_cast<HMENU>(static_cast<INT_PTR>(BLOCKLIST_ID)));
    ASSERT_TRUE(seen.blockSet);
    char path[MAX_PATH];
    GetModuleFileNameA(hInst, path, MAX_PATH);
    EXPECT_EQ(seen.fileName, path);
    // No show could be read from this file: no start message.
    EXPECT_EQ(startMessages, 0);
    // The mode cleans up after its loop.
    EXPECT_FALSE(ClassRegistered(SaverClassName));
    EXPECT_EQ(FindWindowA(SaverClassName, nullptr), nullptr);
}

TEST_F(RunModes, PreviewWithoutHandleMakesNoWindow)
{
    const std::string previewClass = std::string("WindowsScreenSaverPreviewClass") + szSaverAppName;
    for (const char* line : {"/p", "/p 0", "/l:0"}) {
        EXPECT_EQ(RunMode(line, nullptr), 0) << line;
        EXPECT_FALSE(ClassRegistered(previewClass.c_str())) << line;
    }
}

TEST_F(RunModes, PreviewCoversItsParentAtOrigin)
{
    HWND parent = CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_VISIBLE, 40, 30, 152, 112, nullptr, nullptr,
                                  hInst, nullptr);
    ASSERT_NE(parent, nullptr);
    const std::string previewClass = std::string("WindowsScreenSaverPreviewClass") + szSaverAppName;
    for (const char* format : {"/p %lu", "/p:%lu"}) {
        char line[64];
        std::snprintf(line, sizeof line, format, static_cast<unsigned long>(reinterpret_cast<uintptr_t>(parent)));
        RECT client{};
        HWND child = nullptr;
        int result = RunMode(line, [&] {
            child = FindWindowExA(parent, nullptr, previewClass.c_str(), szSaverAppName);
            if (!child)
                return;
            GetWindowRect(child, &client);
            MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&client), 2);
            DestroyWindow(child);
        });
        EXPECT_EQ(result, 0) << line;
        ASSERT_NE(child, nullptr) << line;
        EXPECT_EQ(client.left, 0) << line;
        EXPECT_EQ(client.top, 0) << line;
        EXPECT_EQ(client.right, 152) << line;
        EXPECT_EQ(client.bottom, 112) << line;
        EXPECT_FALSE(ClassRegistered(previewClass.c_str())) << line;
    }
    DestroyWindow(parent);
}

// The dialog template as the resource compiler laid it out.
struct DialogItem {
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    WORD id;
    std::string className;
    std::string text;
};

const WORD* SkipString(const WORD* p, std::string* out = nullptr)
{
    if (*p == 0xFFFF)
        return p + 2;
    for (; *p; ++p)
        if (out)
            out->push_back(static_cast<char>(*p));
    return p + 1;
}

TEST_F(RunModes, ConfigurationDialogTemplateIsExact)
{
    HRSRC found = FindResourceA(hInst, MAKEINTRESOURCEA(IDD_CONFIGURE), reinterpret_cast<LPCSTR>(RT_DIALOG));
    ASSERT_NE(found, nullptr);
    auto* base = static_cast<const BYTE*>(LockResource(LoadResource(hInst, found)));
    ASSERT_NE(base, nullptr);
    DLGTEMPLATE dialog;
    std::memcpy(&dialog, base, sizeof dialog);
    EXPECT_EQ(dialog.style, 0x90C020C4u);
    EXPECT_EQ(dialog.dwExtendedStyle, 0x401u);
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.cx, 296);
    EXPECT_EQ(dialog.cy, 214);
    ASSERT_EQ(dialog.cdit, 4);

    auto* p = reinterpret_cast<const WORD*>(base + 18);
    p = SkipString(p);  // menu
    p = SkipString(p);  // class
    std::string caption, font;
    p = SkipString(p, &caption);
    EXPECT_EQ(caption, "");
    EXPECT_EQ(*p++, 8);  // point size
    p = SkipString(p, &font);
    EXPECT_EQ(font, "MS Sans Serif");

    std::vector<DialogItem> items;
    for (int i = 0; i < dialog.cdit; ++i) {
        auto at = reinterpret_cast<uintptr_t>(p);
        p = reinterpret_cast<const WORD*>((at + 3) & ~uintptr_t(3));
        DLGITEMTEMPLATE raw;
        std::memcpy(&raw, p, sizeof raw);
        p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + 18);
        DialogItem item{raw.style, raw.dwExtendedStyle, raw.x, raw.y, raw.cx, raw.cy, raw.id, {}, {}};
        if (*p == 0xFFFF) {
            // The predefined classes by atom.
            const WORD atom = p[1];
            item.className = atom == 0x80 ? "button" : atom == 0x81 ? "edit" : atom == 0x82 ? "static" : "?";
            p += 2;
        } else {
            p = SkipString(p, &item.className);
        }
        p = SkipString(p, &item.text);
        p += 1 + (*p ? *p / 2 : 0);  // creation data
        items.push_back(item);
    }

    const DialogItem expected[] = {
        {0x50010300, 0, 124, 196, 50, 14, 1, "button", "Done"},
        {0x50000000, 0, 8, 140, 280, 52, 102, "static", ""},
        {0x50010844, 0, 8, 8, 280, 124, 101, "edit", ""},
        {0x50000012, 0, 4, 4, 288, 132, 0xFFFF, "static", "Frame1"},
    };
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(items[i].style, expected[i].style);
        EXPECT_EQ(items[i].exStyle, expected[i].exStyle);
        EXPECT_EQ(items[i].x, expected[i].x);
        EXPECT_EQ(items[i].y, expected[i].y);
        EXPECT_EQ(items[i].cx, expected[i].cx);
        EXPECT_EQ(items[i].cy, expected[i].cy);
        EXPECT_EQ(items[i].id, expected[i].id);
        EXPECT_STRCASEEQ(items[i].className.c_str(), expected[i].className.c_str());
        if (expected[i].id != IDC_ABOUT) {
            EXPECT_EQ(items[i].text, expected[i].text);
        } else {
            EXPECT_FALSE(items[i].text.empty());
        }
    }
}

TEST_F(RunModes, SaverCursorIsFullyTransparent)
{
    HCURSOR cursor = LoadCursorA(hInst, MAKEINTRESOURCEA(IDC_SAVER));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    ASSERT_EQ(info.hbmColor, nullptr);  // monochrome: AND mask above XOR mask
    BITMAP bm{};
    GetObjectA(info.hbmMask, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 32);
    EXPECT_EQ(bm.bmHeight, 64);
    std::vector<BYTE> bits(bm.bmWidthBytes * bm.bmHeight);
    GetBitmapBits(info.hbmMask, static_cast<LONG>(bits.size()), bits.data());
    const size_t half = bits.size() / 2;
    for (size_t i = 0; i < half; ++i)
        ASSERT_EQ(bits[i], 0xFF) << "AND mask byte " << i;
    for (size_t i = half; i < bits.size(); ++i)
        ASSERT_EQ(bits[i], 0x00) << "XOR mask byte " << i;
    DeleteObject(info.hbmMask);
}

// The real player with a show appended, mapped into this process: the run
// modes then read their show and resources from it as from themselves.
class WithShow : public RunModes {
protected:
    void SetUp() override
    {
        RunModes::SetUp();
        own = hInst;
    }
    void TearDown() override
    {
        hInst = own;
        if (module)
            FreeLibrary(module);
        DeleteFileA(path.c_str());
    }

    void Load(const ShowBytes& show)
    {
        std::string player = "Z:" VISTREL_SCR;
        for (char& c : player)
            if (c == '/')
                c = '\\';
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path = std::string(temp) + "vistrel-with-show.scr";
        std::string error;
        ASSERT_TRUE(ShowAppendToPlayer(player, path, show, &error)) << error;
        module = LoadLibraryExA(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
        ASSERT_NE(module, nullptr) << GetLastError();
        hInst = module;
    }

    static ShowBytes Show(const char* title)
    {
        SHOWWRITER w;
        ShowWriterBegin(&w);
        ShowWriteHead(&w, ShowDefaultHead(title, 0x00336699));
        SCRTEXT text{};
        ShowWriteText(&w, text, "a text block");
        return ShowWriterFinish(&w);
    }

    HINSTANCE own = nullptr;
    HMODULE module = nullptr;
    std::string path;
};

TEST_F(WithShow, FullScreenLoadsTheShowAndPostsTheStart)
{
    Load(Show("Started"));
    LRESULT items = -1;
    std::string fileName;
    int result = RunMode("/s", [&] {
        HWND window = FindWindowA(SaverClassName, szSaverAppName);
        if (!window)
            return;
        items = SendMessageA(GetDlgItem(window, BLOCKLIST_ID), LB_GETCOUNT, 0, 0);
        if (BLOCKSET* set = LockBlockSet(window)) {
            fileName = set->fileName;
            UnlockBlockSet(window);
        }
        PostMessageA(window, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(startMessages, 1);
    EXPECT_EQ(items, 2);
    EXPECT_STRCASEEQ(fileName.c_str(), path.c_str());
}

TEST_F(WithShow, ConfigurationShowsTitleAndNotice)
{
    SHOWWRITER w;
    ShowWriterBegin(&w);
    SCRHEAD head = ShowDefaultHead("Configured", 0);
    std::strcpy(head.notice, "Line one\r\nLine two");
    // No terminator in the title field: it must still end inside it.
    std::memset(head.title, 'T', sizeof head.title);
    ShowWriteHead(&w, head);
    Load(ShowWriterFinish(&w));

    char caption[400] = {}, notice[200] = {};
    RECT rect{};
    LONG noticeStyle = 0;
    bool stayedOnEscape = false;
    int result = RunMode("/c", [&] {
        HWND dialog = FindWindowA("#32770", nullptr);
        if (!dialog)
            return;
        GetWindowTextA(dialog, caption, sizeof caption);
        GetDlgItemTextA(dialog, IDC_NOTICE, notice, sizeof notice);
        noticeStyle = GetWindowLongA(GetDlgItem(dialog, IDC_NOTICE), GWL_STYLE);
        GetWindowRect(dialog, &rect);
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        stayedOnEscape = IsWindow(dialog) != 0;
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(std::string(caption), std::string(sizeof head.title, 'T'));
    EXPECT_STREQ(notice, "Line one\r\nLine two");
    EXPECT_TRUE(noticeStyle & ES_READONLY);
    EXPECT_TRUE(stayedOnEscape);
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2);
    EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2);
}

TEST_F(RunModes, SaverIconIsThere)
{
    HICON icon = LoadIconA(hInst, MAKEINTRESOURCEA(IDI_SAVER));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_TRUE(info.fIcon);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
}

}  // namespace
