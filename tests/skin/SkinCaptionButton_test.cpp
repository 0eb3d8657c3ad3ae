// Caption buttons of a skinned frame by message: hover and its timer, minimise, maximise and restore, close, the
// system-menu button's double click, command and toggle buttons, and the fallbacks for missing pieces.
#include "tests/skin/SkinFrameTestSupport.h"

#include <algorithm>
#include <cstring>

#include "platform/Handle.h"
#include "skin/SkinCaptionButton.h"
#include "skin/SkinCaptionButtonObject.h"

using namespace skintest;

namespace {

const DWORD kSizable = WS_OVERLAPPEDWINDOW | WS_VISIBLE;

CSkinCaptionButton *ButtonOf(HWND frame, DWORD action) {
    ::RedrawWindow(frame, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    for (const auto &button : FrameOf(frame)->GetCaptionButtons())
        if (button->GetRecord()->m_dwAction == action)
            return button.get();
    return nullptr;
}

POINT Centre(const RECT &rc) {
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

void Click(HWND frame, CSkinCaptionButton *button) {
    const POINT pt = Centre(button->GetRect());
    SendNc(frame, WM_NCLBUTTONDOWN, pt.x, pt.y);
    SendNc(frame, WM_NCLBUTTONUP, pt.x, pt.y);
    Pump(50);
}

void PointerTo(HWND frame, POINT ptWindow) {
    RECT wr;
    ::GetWindowRect(frame, &wr);
    ::SetCursorPos(wr.left + ptWindow.x, wr.top + ptWindow.y);
}

class SkinCaptionButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LoadSkin("DEVIOR"));
        Log() = Received();
    }
};

// 32-bit pixels of what a button draws on a grey ground.
std::vector<DWORD> Pixels(const CSkinCaptionButton &button) {
    const RECT &rc = button.GetRect();
    const int width = rc.right, height = rc.bottom;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    CDC dc(::CreateCompatibleDC(nullptr));
    CBitmap bitmap(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    CBrush grey(::CreateSolidBrush(RGB(128, 128, 128)));
    RECT all = {0, 0, width, height};
    ::FillRect(dc, &all, grey);
    button.Draw(dc);
    ::GdiFlush();
    std::vector<DWORD> pixels;
    const DWORD *p = static_cast<const DWORD *>(bits);
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            pixels.push_back(p[y * width + x] & 0xFFFFFF);
    ::SelectObject(dc, old);
    return pixels;
}

} // namespace

TEST_F(SkinCaptionButtonTest, HoverLastsUntilThePointerLeaves) {
    CTestFrame frame(kSizable, 400, 300);
    ASSERT_EQ(SkinAttachFrame(frame, "MainFrame"), 1);
    CSkinCaptionButton *close = ButtonOf(frame, CSkinCaptionButtonObject::ACTION_CLOSE);
    CSkinCaptionButton *maximize = ButtonOf(frame, CSkinCaptionButtonObject::ACTION_MAXIMIZE);
    ASSERT_NE(close, nullptr);
    ASSERT_NE(maximize, nullptr);
    EXPECT_EQ(close->GetState(), CSkinCaptionButton::STATE_NORMAL);

    const POINT over = Centre(close->GetRect());
    PointerTo(frame, over);
    SendNc(frame, WM_NCMOUSEMOVE, over.x, over.y);
    EXPECT_EQ(close->GetState(), CSkinCaptionButton::STATE_HOVER);
    EXPECT_TRUE(close->IsHoverTimerRunning());
    Pump(300); // the pointer stays: so does the hover
    EXPECT_EQ(close->GetState(), CSkinCaptionButton::STATE_HOVER);
    ::SetCursorPos(5, 5);
    EXPECT_TRUE(CWaitUntil::Condition([&] { return !close->IsHoverTimerRunning(); }, 1000));
    EXPECT_EQ(close->GetState(), CSkinCaptionButton::STATE_NORMAL);

    // The maximise button shows the window's state rather than a hover: normal now, pressed when maximised.
    const POINT onMax = Centre(maximize->GetRect());
    SendNc(frame, WM_NCMOUSEMOVE, onMax.x, onMax.y);
    EXPECT_EQ(maximize->GetState(), CSkinCaptionButton::STATE_NORMAL);
    ::ShowWindow(frame, SW_MAXIMIZE);
    maximize = ButtonOf(frame, CSkinCaptionButtonObject::ACTION_MAXIMIZE);
    const POINT onMaxNow = Centre(maximize->GetRect());
    SendNc(frame, WM_NCMOUSEMOVE, onMaxNow.x, onMaxNow.y);
    EXPECT_EQ(maximize->GetState(), CSkinCaptionButton::STATE_PRESSED);
}

TEST_F(SkinCaptionButtonTest, MinimiseMaximiseRestoreAndCloseByMessage) {
    CTestFrame frame(kSizable, 400, 300);
    ASSERT_EQ(SkinAttachFrame(frame, "MainFrame"), 1);

    Click(frame, ButtonOf(frame, CSkinCaptionButtonObject::ACTION_MINIMIZE));
    EXPECT_TRUE(::IsIconic(frame));
    ::ShowWindow(frame, SW_RESTORE);
    ASSERT_FALSE(::IsIconic(frame));

    // A release that did not start on the button does nothing.
    CSkinCaptionButton *maximize = ButtonOf(frame, CSkinCaptionButtonObject::ACTION_MAXIMIZE);
    const POINT pt = Centre(maximize->GetRect());
    SendNc(frame, WM_NCLBUTTONUP, pt.x, pt.y);
    Pump(50);
    EXPECT_FALSE(::IsZoomed(frame));
    Click(frame, maximize);
    EXPECT_TRUE(::IsZoomed(frame));
    Click(frame, ButtonOf(frame, CSkinCaptionButtonObject::ACTION_MAXIMIZE));
    EXPECT_FALSE(::IsZoomed(frame));

    Click(frame, ButtonOf(frame, CSkinCaptionButtonObject::ACTION_CLOSE));
    EXPECT_EQ(Log().closes, 1);
    EXPECT_FALSE(::IsWindow(frame));
}

TEST_F(SkinCaptionButtonTest, SystemMenuButtonClosesOnADoubleClick) {
    CTestFrame frame(kSizable, 400, 300);
    ASSERT_EQ(SkinAttachFrame(frame, "MainFrame"), 1);
    CSkinCaptionButton *menu = ButtonOf(frame, CSkinCaptionButtonObject::ACTION_SYSMENU);
    ASSERT_NE(menu, nullptr);
    const POINT pt = Centre(menu->GetRect());
    SendNc(frame, WM_NCLBUTTONDBLCLK, pt.x, pt.y);
    Pump(50);
    EXPECT_EQ(Log().closes, 1);
    EXPECT_FALSE(::IsWindow(frame));
}

TEST_F(SkinCaptionButtonTest, CommandAndToggleButtonsPostTheirCommand) {
    CTestFrame frame(kSizable, 400, 300);
    ASSERT_EQ(SkinAttachFrame(frame, "MainFrame"), 1);
    CSkinFrameWnd *owner = FrameOf(frame);
    const SkinFramedRecord &framed = *owner->GetFramed();
    CSkinCaptionButtonObject record;
    record.m_rect = RECT{100, 5, 121, 23};
    record.m_dwCommand = 4242;
    record.m_dwAction = CSkinCaptionButtonObject::ACTION_COMMAND;
    record.m_normal = ButtonOf(frame, CSkinCaptionButtonObject::ACTION_CLOSE)->GetRecord()->m_normal;
    CSkinCaptionButton command(owner, &record);
    command.SetPosition(framed, 400);
    const POINT pt = Centre(command.GetRect());
    EXPECT_TRUE(command.OnLButtonDown(pt));
    EXPECT_EQ(command.GetState(), CSkinCaptionButton::STATE_PRESSED);
    EXPECT_TRUE(command.OnLButtonUp(pt));
    EXPECT_FALSE(command.OnLButtonUp(POINT{0, 0})); // not on the button: not its message
    Pump(50);
    EXPECT_EQ(Log().commands, std::vector<UINT>{4242});

    CSkinCaptionButtonObject toggleRecord;
    std::memcpy(&toggleRecord.m_rect, &record.m_rect, sizeof(RECT));
    toggleRecord.m_dwCommand = 4343;
    toggleRecord.m_dwToggle = 1;
    CSkinCaptionButton toggle(owner, &toggleRecord);
    toggle.SetPosition(framed, 400);
    toggle.OnLButtonDown(pt);
    EXPECT_TRUE(toggle.IsToggledOn());
    EXPECT_EQ(toggle.GetState(), CSkinCaptionButton::STATE_PRESSED);
    toggle.OnLButtonUp(pt);
    EXPECT_EQ(toggle.GetState(), CSkinCaptionButton::STATE_PRESSED); // stays down while on
    toggle.OnLButtonDown(pt);
    EXPECT_FALSE(toggle.IsToggledOn());
    EXPECT_EQ(toggle.GetState(), CSkinCaptionButton::STATE_NORMAL);
    toggle.OnLButtonUp(pt);
    Pump(50);
    EXPECT_EQ(Log().commands, (std::vector<UINT>{4242, 4343, 4343}));
}

TEST_F(SkinCaptionButtonTest, MissingPiecesFallBackToTheNormalPieceThenToAPushButton) {
    CTestFrame frame(kSizable, 400, 300);
    ASSERT_EQ(SkinAttachFrame(frame, "MainFrame"), 1);
    CSkinFrameWnd *owner = FrameOf(frame);
    CSkinCaptionButtonObject record;
    record.m_rect = RECT{100, 5, 121, 23};
    record.m_normal = ButtonOf(frame, CSkinCaptionButtonObject::ACTION_CLOSE)->GetRecord()->m_normal;
    CSkinCaptionButton button(owner, &record);
    button.SetPosition(*owner->GetFramed(), 400);
    const std::vector<DWORD> normal = Pixels(button);
    const POINT pt = Centre(button.GetRect());
    button.OnMouseMove(pt); // hover, which has no piece
    ASSERT_EQ(button.GetState(), CSkinCaptionButton::STATE_HOVER);
    EXPECT_EQ(Pixels(button), normal);

    // Without a normal piece either: a push button, not the grey ground.
    std::memset(&record.m_normal, 0, sizeof(record.m_normal));
    const std::vector<DWORD> plain = Pixels(button);
    EXPECT_NE(plain, normal);
    EXPECT_NE(std::count(plain.begin(), plain.end(), DWORD{0x808080}), static_cast<long>(plain.size()));
}
