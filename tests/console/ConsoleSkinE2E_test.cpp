// End-to-end tests of the skinned console: the real QXReader_CCID.exe under Wine, its skin chosen from its own menu
// with the pointer and keys, its frames measured from outside against the skin files it embeds, its caption buttons
// and borders used as a user uses them, and a screenshot of every skin.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "res/console/resource.h"
#include "skin/Skin.h"
#include "skin/SkinCaptionButtonObject.h"
#include "skin/SkinFrameLayout.h"
#include "skin/SkinFrameObject.h"
#include "tests/support/MessageWatch.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TestPaths.h"
#include "tests/support/TestProcess.h"
#include "tests/support/UiDriver.h"
#include "tests/support/WaitUntil.h"

namespace {
const char kMainTitle[] = "QXReader1 - QXReader_CCID";
const DWORD kStartTimeout = 30000;
const DWORD kUiTimeout = 10000;

// The skin menu in its order: the file that the resource was compiled from, its command, its name in screenshots.
struct SkinRow {
    const char *file;
    UINT nID;
    const char *shot;
};
const SkinRow kSkins[] = {{"DEVIOR", ID_SKIN_DEVIOR, "devior"},
                          {"FUTURAIII", ID_SKIN_FUTURA, "futuraIII"},
                          {"KROMO", ID_SKIN_KROMO, "kromo"},
                          {"CORONA", ID_SKIN_CORONA, "corona"},
                          {"XPSTEEL", ID_SKIN_XPSTEEL, "xpsteel"}};

// What one embedded skin's "MainFrame" object makes of a frame, read from the same file the console embeds.
class CFrameLook {
public:
    bool Load(const char *file) {
        std::ifstream in(std::string(QX_SKIN_DIR) + "/" + file + ".skin", std::ios::binary);
        std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        CSkinStream stream;
        if (!stream.Create(bytes.data(), static_cast<DWORD>(bytes.size())) || !m_skin.Read(stream))
            return false;
        m_pFrame = dynamic_cast<CSkinFrameObject *>(m_skin.FindObject("MainFrame"));
        return m_pFrame != nullptr;
    }
    const SkinFramedRecord &Framed() const { return m_pFrame->m_framed; }
    int Left() const { return Width(3); }
    int Right() const { return Width(5); }
    int Top() const { return Height(0); }
    int Bottom() const { return Height(6); }
    // The caption button with the action code, or null.
    const CSkinCaptionButtonObject *Button(DWORD action) const {
        for (const auto &child : m_pFrame->GetChildren()) {
            auto *button = dynamic_cast<const CSkinCaptionButtonObject *>(child.object.get());
            if (button && button->m_dwAction == action)
                return button;
        }
        return nullptr;
    }

private:
    int Width(int part) const { return Framed().placement[part].right - Framed().placement[part].left; }
    int Height(int part) const { return Framed().placement[part].bottom - Framed().placement[part].top; }

    CSkin m_skin;
    CSkinFrameObject *m_pFrame = nullptr;
};

// The client area's distance to each edge of the window, measured from outside.
struct Insets {
    int left, top, right, bottom;
};
Insets InsetsOf(HWND h) {
    RECT wr = CUiDriver::GetWindowRectOnScreen(h), cr = CUiDriver::GetClientRectOnScreen(h);
    return Insets{cr.left - wr.left, cr.top - wr.top, wr.right - cr.right, wr.bottom - cr.bottom};
}
std::string Describe(const Insets &i) {
    return std::to_string(i.left) + "," + std::to_string(i.top) + "," + std::to_string(i.right) + "," +
           std::to_string(i.bottom);
}

// The main frame shows the skin's borders around its client area and its menu bar below the caption.
bool MainFrameWears(HWND h, const CFrameLook &look) {
    const Insets i = InsetsOf(h);
    return i.left == look.Left() && i.right == look.Right() && i.bottom == look.Bottom() && i.top > look.Top();
}
// A restored document window shows the same borders and no menu bar.
bool DocumentWears(HWND h, const CFrameLook &look) {
    const Insets i = InsetsOf(h);
    return i.left == look.Left() && i.right == look.Right() && i.bottom == look.Bottom() && i.top == look.Top();
}

std::vector<HWND> Documents(HWND hMain) {
    std::vector<HWND> out;
    HWND client = ::FindWindowExA(hMain, nullptr, "MDIClient", nullptr);
    for (HWND h = client ? ::GetWindow(client, GW_CHILD) : nullptr; h; h = ::GetWindow(h, GW_HWNDNEXT))
        if (::GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_MDICHILD)
            out.push_back(h);
    return out;
}

// The caption band of a window as the screen shows it: the top rows, as high as the skin's top-left part.
CScreenshot CaptionBand(HWND h, const CFrameLook &look) {
    CScreenshot band;
    RECT wr = CUiDriver::GetWindowRectOnScreen(h);
    wr.bottom = wr.top + look.Top();
    band.CaptureScreenRect(wr);
    return band;
}
// The share of pixels (0-100) that differ between two captures of the same size; 100 when the sizes differ.
int DifferentPercent(const CScreenshot &a, const CScreenshot &b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight() || !a.GetWidth() || !a.GetHeight())
        return 100;
    int differ = 0;
    for (int y = 0; y < a.GetHeight(); ++y)
        for (int x = 0; x < a.GetWidth(); ++x)
            differ += a.GetPixel(x, y) != b.GetPixel(x, y);
    return differ * 100 / (a.GetWidth() * a.GetHeight());
}

bool PopupShown(DWORD pid) {
    return CUiDriver::FindTopLevelWindow(pid, "#32768", "") != nullptr;
}

POINT OnWindow(HWND h, int x, int y) {
    RECT wr = CUiDriver::GetWindowRectOnScreen(h);
    return POINT{wr.left + x, wr.top + y};
}

LRESULT HitTest(HWND h, POINT ptScreen) {
    return ::SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(ptScreen.x, ptScreen.y));
}

// Presses the left button at one screen point, moves in steps to another and lets go there.
void Drag(POINT from, POINT to) {
    CUiDriver::MovePointerTo(from);
    ::Sleep(100);
    CUiDriver::LeftButton(true);
    ::Sleep(150);
    for (int step = 1; step <= 5; ++step) {
        CUiDriver::MovePointerTo(POINT{from.x + (to.x - from.x) * step / 5, from.y + (to.y - from.y) * step / 5});
        ::Sleep(60);
    }
    CUiDriver::LeftButton(false);
    ::Sleep(300);
}

class ConsoleSkinE2E : public ::testing::Test {
protected:
    void SetUp() override {
        for (const SkinRow &row : kSkins)
            ASSERT_TRUE(m_looks[&row - kSkins].Load(row.file)) << row.file;
        ASSERT_TRUE(m_process.Start(CTestPaths::FromUnix(QX_CONSOLE_EXE)));
        m_hMain = CUiDriver::WaitForTopLevelWindow(m_process.GetProcessId(), "", kMainTitle, kStartTimeout);
        ASSERT_NE(nullptr, m_hMain);
        ASSERT_TRUE(m_watch.Start(CTestPaths::FromUnix(QX_TESTHOOK_DLL), m_hMain, WM_NULL));
    }
    void TearDown() override {
        m_watch.Stop();
        if (m_hMain && ::IsWindow(m_hMain))
            ::PostMessageA(m_hMain, WM_CLOSE, 0, 0);
        m_process.WaitForExit(5000);
    }

    DWORD Pid() const { return m_process.GetProcessId(); }

    // Opens the skin menu from the skinned menu bar with the pointer, the way a user looks for it: clicks along the
    // bar's row until the popup that opens holds the skin commands (others are closed with Escape). Returns the
    // items of that popup with their check marks, the popup left open; empty when no entry opened it.
    std::vector<std::pair<UINT, bool>> OpenSkinMenu(const CFrameLook &look) {
        const Insets i = InsetsOf(m_hMain);
        RECT wr = CUiDriver::GetWindowRectOnScreen(m_hMain);
        // The bar fills the band between the caption and the client area; its first row is at least 12 high.
        const int y = wr.top + look.Top() + std::min(10, (i.top - look.Top()) / 2);
        for (int x = wr.left + i.left + 6; x < wr.right - i.right - 6; x += 18) {
            if (!CUiDriver::Activate(m_hMain))
                continue;
            const LONG before = m_watch.GetMenuPopupCount();
            CUiDriver::ClickAt(POINT{x, y});
            if (!CWaitUntil::Condition([&] { return m_watch.GetMenuPopupCount() != before && PopupShown(Pid()); },
                                       800, 20))
                continue;
            auto items = m_watch.GetLastPopupItems();
            if (!items.empty() && items[0].first == ID_SKIN_DEVIOR)
                return items;
            CUiDriver::PressKey(VK_ESCAPE);
            CWaitUntil::Condition([&] { return !PopupShown(Pid()); }, 2000, 20);
        }
        return {};
    }

    // The command that carries the check mark in the skin menu, or 0 when none or several do.
    UINT CheckedSkin(const CFrameLook &look) {
        auto items = OpenSkinMenu(look);
        UINT checked = 0;
        int count = 0;
        for (const auto &item : items)
            if (item.second) {
                checked = item.first;
                ++count;
            }
        if (!items.empty()) {
            CUiDriver::PressKey(VK_ESCAPE);
            CWaitUntil::Condition([&] { return !PopupShown(Pid()); }, 2000, 20);
        }
        return count == 1 ? checked : 0;
    }

    // Chooses the skin of the given row from the open skin menu with the keys.
    bool ChooseSkin(int row, const CFrameLook &current) {
        if (OpenSkinMenu(current).empty())
            return false;
        for (int down = 0; down <= row; ++down)
            CUiDriver::PressKey(VK_DOWN);
        CUiDriver::PressKey(VK_RETURN);
        return CWaitUntil::Condition([&] { return !PopupShown(Pid()); }, 2000, 20);
    }

    // Clicks the caption button of the action code where the skin places it for the frame's width now.
    bool ClickCaptionButton(const CFrameLook &look, DWORD action) {
        const CSkinCaptionButtonObject *button = look.Button(action);
        if (!button)
            return false;
        RECT wr = CUiDriver::GetWindowRectOnScreen(m_hMain);
        RECT rc = CSkinFrameLayout::CaptionButtonRect(look.Framed(), *button, wr.right - wr.left);
        if (!CUiDriver::Activate(m_hMain))
            return false;
        return CUiDriver::ClickAt(OnWindow(m_hMain, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
    }

    // A screenshot of the whole frame, the pointer out of its way first.
    void Shot(const std::string &name) {
        RECT wr = CUiDriver::GetWindowRectOnScreen(m_hMain);
        CUiDriver::MovePointerTo(POINT{wr.right + 40, wr.bottom + 40});
        ::Sleep(500);
        CScreenshot shot;
        if (shot.CaptureSettledWindow(m_hMain, 3000))
            shot.SavePng(name);
    }

    CFrameLook m_looks[5];
    CTestProcess m_process;
    CMessageWatch m_watch;
    HWND m_hMain = nullptr;
};

} // namespace

TEST_F(ConsoleSkinE2E, EverySkinFromTheMenuReskinsEveryFrameAtOnce) {
    // Two trace windows: the one the console starts with and a new one.
    ::SetWindowPos(m_hMain, nullptr, 20, 20, 800, 600, SWP_NOZORDER);
    CUiDriver::PostCommand(m_hMain, ID_FILE_NEW);
    ASSERT_TRUE(CWaitUntil::Condition([&] { return Documents(m_hMain).size() == 2; }, kUiTimeout));
    HWND client = ::FindWindowExA(m_hMain, nullptr, "MDIClient", nullptr);
    ASSERT_NE(nullptr, client);
    ::SendMessageA(client, WM_MDICASCADE, 0, 0);

    // It starts in Devior, with the check mark on "Devior".
    ASSERT_TRUE(CWaitUntil::Condition([&] { return MainFrameWears(m_hMain, m_looks[0]); }, kUiTimeout))
        << Describe(InsetsOf(m_hMain));
    for (HWND doc : Documents(m_hMain))
        EXPECT_TRUE(DocumentWears(doc, m_looks[0])) << Describe(InsetsOf(doc));
    EXPECT_EQ(ID_SKIN_DEVIOR, CheckedSkin(m_looks[0]));

    // Every skin in menu order, then Devior again: chosen from the menu, it reaches the main frame and both document
    // windows in the same step, and the check mark moves with it.
    const int order[] = {1, 2, 3, 4, 0};
    int current = 0;
    for (int row : order) {
        SCOPED_TRACE(kSkins[row].file);
        const CFrameLook &look = m_looks[row];
        const HWND doc = Documents(m_hMain).front();
        const CScreenshot mainBefore = CaptionBand(m_hMain, m_looks[current]);
        const CScreenshot docBefore = CaptionBand(doc, m_looks[current]);
        ASSERT_TRUE(ChooseSkin(row, m_looks[current]));
        EXPECT_TRUE(CWaitUntil::Condition([&] { return MainFrameWears(m_hMain, look); }, kUiTimeout))
            << Describe(InsetsOf(m_hMain));
        // The captions are drawn anew from the new skin's pieces (compared over the old skin's caption height).
        EXPECT_TRUE(CWaitUntil::Condition(
            [&] { return DifferentPercent(mainBefore, CaptionBand(m_hMain, m_looks[current])) >= 30; }, kUiTimeout));
        EXPECT_TRUE(CWaitUntil::Condition(
            [&] { return DifferentPercent(docBefore, CaptionBand(doc, m_looks[current])) >= 30; }, kUiTimeout));
        current = row;
        for (HWND doc : Documents(m_hMain))
            EXPECT_TRUE(DocumentWears(doc, look)) << Describe(InsetsOf(doc));
        EXPECT_EQ(kSkins[row].nID, CheckedSkin(look));

        // The screenshots: one trace window maximised, then both restored and cascaded.
        HWND active = reinterpret_cast<HWND>(::SendMessageA(client, WM_MDIGETACTIVE, 0, 0));
        ::SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(active), 0);
        EXPECT_TRUE(CWaitUntil::Condition([&] { return ::IsZoomed(active) != FALSE; }, kUiTimeout));
        Shot(std::string("console_skin_") + kSkins[row].shot + "_maximised.png");
        ::SendMessageA(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(active), 0);
        ::SendMessageA(client, WM_MDICASCADE, 0, 0);
        EXPECT_TRUE(CWaitUntil::Condition([&] { return !::IsZoomed(active); }, kUiTimeout));
        for (HWND doc : Documents(m_hMain))
            EXPECT_TRUE(DocumentWears(doc, look)) << Describe(InsetsOf(doc));
        // A caption in Chinese on the window behind.
        HWND behind = Documents(m_hMain).back() == active ? Documents(m_hMain).front() : Documents(m_hMain).back();
        ::SendMessageA(behind, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("读卡器日志 QXReader1"));
        Shot(std::string("console_skin_") + kSkins[row].shot + ".png");
    }
}

TEST_F(ConsoleSkinE2E, CaptionButtonsCaptionAndBordersWorkWithThePointer) {
    const CFrameLook &look = m_looks[0];
    ::SetWindowPos(m_hMain, nullptr, 40, 30, 700, 500, SWP_NOZORDER);
    ASSERT_TRUE(CWaitUntil::Condition([&] { return MainFrameWears(m_hMain, look); }, kUiTimeout));

    // Dragging the caption moves the frame.
    RECT before = CUiDriver::GetWindowRectOnScreen(m_hMain);
    const POINT caption = OnWindow(m_hMain, look.Framed().placement[1].left + 8, look.Top() / 2);
    ASSERT_EQ(HTCAPTION, HitTest(m_hMain, caption));
    ASSERT_TRUE(CUiDriver::Activate(m_hMain));
    Drag(caption, POINT{caption.x + 60, caption.y + 40});
    RECT moved = CUiDriver::GetWindowRectOnScreen(m_hMain);
    EXPECT_EQ(before.left + 60, moved.left);
    EXPECT_EQ(before.top + 40, moved.top);
    EXPECT_EQ(before.right - before.left, moved.right - moved.left);

    // Dragging the bottom-right corner sizes it; the skin's borders follow.
    const POINT corner = POINT{moved.right - 2, moved.bottom - 2};
    ASSERT_EQ(HTBOTTOMRIGHT, HitTest(m_hMain, corner));
    Drag(corner, POINT{corner.x + 50, corner.y + 30});
    RECT sized = CUiDriver::GetWindowRectOnScreen(m_hMain);
    EXPECT_EQ(moved.left, sized.left);
    EXPECT_EQ(moved.top, sized.top);
    EXPECT_EQ(moved.right + 50, sized.right);
    EXPECT_EQ(moved.bottom + 30, sized.bottom);
    EXPECT_TRUE(CWaitUntil::Condition([&] { return MainFrameWears(m_hMain, look); }, kUiTimeout));

    // Maximise, restore, minimise with the caption buttons, then close.
    ASSERT_TRUE(ClickCaptionButton(look, CSkinCaptionButtonObject::ACTION_MAXIMIZE));
    EXPECT_TRUE(CWaitUntil::Condition([&] { return ::IsZoomed(m_hMain) != FALSE; }, kUiTimeout));
    Shot("console_skin_devior_frame_maximised.png");
    ASSERT_TRUE(ClickCaptionButton(look, CSkinCaptionButtonObject::ACTION_MAXIMIZE));
    // Restored: back where it was (the style changes before the rectangle does).
    EXPECT_TRUE(CWaitUntil::Condition(
        [&] {
            RECT now = CUiDriver::GetWindowRectOnScreen(m_hMain);
            return !::IsZoomed(m_hMain) && ::EqualRect(&sized, &now);
        },
        kUiTimeout));
    ASSERT_TRUE(ClickCaptionButton(look, CSkinCaptionButtonObject::ACTION_MINIMIZE));
    EXPECT_TRUE(CWaitUntil::Condition([&] { return ::IsIconic(m_hMain) != FALSE; }, kUiTimeout));
    ::SendMessageA(m_hMain, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(CWaitUntil::Condition([&] { return !::IsIconic(m_hMain); }, kUiTimeout));
    ASSERT_TRUE(ClickCaptionButton(look, CSkinCaptionButtonObject::ACTION_CLOSE));
    EXPECT_TRUE(m_process.WaitForExit(kUiTimeout));
}
