// Owning and non-owning handles: the GDI counter returns to its start after many create/select/destroy cycles of
// each type, every destroyed object is really gone, and a non-owning handle never deletes.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <utility>

#include "platform/ClientDC.h"
#include "platform/ClipRegion.h"
#include "platform/Handle.h"
#include "platform/SelectObject.h"

namespace {

const int kCycles = 10000;

// A 4-colour logical palette.
HPALETTE MakePalette() {
    struct {
        LOGPALETTE head;
        PALETTEENTRY more[3];
    } pal = {};
    pal.head.palVersion = 0x300;
    pal.head.palNumEntries = 4;
    PALETTEENTRY *e = pal.head.palPalEntry;
    e[0] = {255, 0, 0, 0};
    e[1] = {0, 255, 0, 0};
    e[2] = {0, 0, 255, 0};
    e[3] = {255, 255, 255, 0};
    return ::CreatePalette(&pal.head);
}

HFONT MakeFont() {
    return ::CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
}

class HandleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CGdiCounter::IsEnabled()) << "the test trees are built with QX_GDI_COUNTER";
        m_dc.Attach(::CreateCompatibleDC(nullptr));
        ASSERT_TRUE(m_dc.IsValid());
    }

    // kCycles times: `cycle` makes one object of `kind`, uses it, and lets it go; it returns the raw handle it
    // used, which must be gone afterwards. While the object lives the counter is one up.
    void Cycle(CGdiCounter::EKind kind, const std::function<HGDIOBJ(long start)> &cycle) {
        const long start = CGdiCounter::Get(kind);
        for (int i = 0; i < kCycles; ++i) {
            HGDIOBJ gone = cycle(start);
            ASSERT_NE(gone, nullptr) << CGdiCounter::Name(kind) << " cycle " << i;
            ASSERT_EQ(::GetObjectType(gone), 0u) << CGdiCounter::Name(kind) << " survived cycle " << i;
            ASSERT_EQ(CGdiCounter::Get(kind), start) << CGdiCounter::Name(kind) << " cycle " << i;
        }
    }

    CDC m_dc;
};

TEST_F(HandleTest, BitmapCycles) {
    Cycle(CGdiCounter::kBitmap, [&](long start) -> HGDIOBJ {
        CBitmap bitmap(::CreateBitmap(8, 8, 1, 1, nullptr));
        EXPECT_EQ(CGdiCounter::Get(CGdiCounter::kBitmap), start + 1);
        CSelectObject select(m_dc, bitmap);
        ::PatBlt(m_dc, 0, 0, 8, 8, WHITENESS);
        return bitmap.Get();
    });
}

TEST_F(HandleTest, BrushCycles) {
    Cycle(CGdiCounter::kBrush, [&](long start) -> HGDIOBJ {
        CBrush brush(::CreateSolidBrush(RGB(1, 2, 3)));
        EXPECT_EQ(CGdiCounter::Get(CGdiCounter::kBrush), start + 1);
        CSelectObject select(m_dc, brush);
        return brush.Get();
    });
}

TEST_F(HandleTest, PenCycles) {
    Cycle(CGdiCounter::kPen, [&](long start) -> HGDIOBJ {
        CPen pen(::CreatePen(PS_SOLID, 1, RGB(4, 5, 6)));
        EXPECT_EQ(CGdiCounter::Get(CGdiCounter::kPen), start + 1);
        CSelectObject select(m_dc, pen);
        return pen.Get();
    });
}

TEST_F(HandleTest, FontCycles) {
    Cycle(CGdiCounter::kFont, [&](long start) -> HGDIOBJ {
        CFont font(MakeFont());
        EXPECT_EQ(CGdiCounter::Get(CGdiCounter::kFont), start + 1);
        CSelectObject select(m_dc, font);
        return font.Get();
    });
}

TEST_F(HandleTest, RegionCycles) {
    // A region is "selected" as the clip region; CClipRegion keeps a copy of the previous one while it lives.
    CRgn outer(::CreateRectRgn(0, 0, 50, 50));
    ::SelectClipRgn(m_dc, outer);
    Cycle(CGdiCounter::kRegion, [&](long start) -> HGDIOBJ {
        CRgn region(::CreateRectRgn(0, 0, 10, 10));
        EXPECT_EQ(CGdiCounter::Get(CGdiCounter::kRegion), start + 1);
        CClipRegion clip(m_dc, region);
        EXPECT_EQ(CGdiCounter::Get(CGdiCounter::kRegion), start + 2); // the saved previous clip region
        return region.Get();
    });
    ::SelectClipRgn(m_dc, nullptr);
}

TEST_F(HandleTest, PaletteCycles) {
    Cycle(CGdiCounter::kPalette, [&](long start) -> HGDIOBJ {
        CPalette palette(MakePalette());
        EXPECT_EQ(CGdiCounter::Get(CGdiCounter::kPalette), start + 1);
        CSelectPalette select(m_dc, palette);
        return palette.Get();
    });
}

TEST_F(HandleTest, DCCycles) {
    CBitmap bitmap(::CreateBitmap(4, 4, 1, 1, nullptr));
    Cycle(CGdiCounter::kDC, [&](long start) -> HGDIOBJ {
        CDC dc(::CreateCompatibleDC(nullptr));
        EXPECT_EQ(CGdiCounter::Get(CGdiCounter::kDC), start + 1);
        CSelectObject select(dc, bitmap);
        return dc.Get();
    });
    EXPECT_NE(::GetObjectType(bitmap), 0u);
}

TEST_F(HandleTest, WindowDCCycles) {
    HWND hWnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hWnd, nullptr);
    const long start = CGdiCounter::Get(CGdiCounter::kWindowDC);
    for (int i = 0; i < kCycles; ++i) {
        CClientDC dc(hWnd);
        ASSERT_NE(dc.GetSafeHdc(), nullptr);
        ASSERT_EQ(CGdiCounter::Get(CGdiCounter::kWindowDC), start + 1);
        CSelectObject select(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    }
    EXPECT_EQ(CGdiCounter::Get(CGdiCounter::kWindowDC), start);
    ::DestroyWindow(hWnd);
}

TEST_F(HandleTest, MenuIconImageListCycles) {
    const long menus = CGdiCounter::Get(CGdiCounter::kMenu);
    const long icons = CGdiCounter::Get(CGdiCounter::kIcon);
    const long lists = CGdiCounter::Get(CGdiCounter::kImageList);
    BYTE andBits[32 * 4] = {}, xorBits[32 * 4] = {};
    for (int i = 0; i < kCycles; ++i) {
        HMENU hMenu;
        HICON hIcon;
        {
            CMenu menu(::CreatePopupMenu());
            ASSERT_TRUE(::AppendMenuA(menu, MF_STRING, 1, "x"));
            CIcon icon(::CreateIcon(nullptr, 32, 32, 1, 1, andBits, xorBits));
            ASSERT_TRUE(icon.IsValid());
            CImageList list(::ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1));
            ASSERT_TRUE(list.IsValid());
            ASSERT_EQ(::ImageList_AddIcon(list, icon), 0);
            ASSERT_EQ(CGdiCounter::Get(CGdiCounter::kMenu), menus + 1);
            ASSERT_EQ(CGdiCounter::Get(CGdiCounter::kIcon), icons + 1);
            ASSERT_EQ(CGdiCounter::Get(CGdiCounter::kImageList), lists + 1);
            hMenu = menu;
            hIcon = icon;
        }
        ASSERT_FALSE(::IsMenu(hMenu));
        ICONINFO info;
        ASSERT_FALSE(::GetIconInfo(hIcon, &info));
    }
    EXPECT_EQ(CGdiCounter::Get(CGdiCounter::kMenu), menus);
    EXPECT_EQ(CGdiCounter::Get(CGdiCounter::kIcon), icons);
    EXPECT_EQ(CGdiCounter::Get(CGdiCounter::kImageList), lists);
}

TEST_F(HandleTest, NonOwningHandlesNeverDelete) {
    CGdiCounterSnapshot before;
    CBrush brush(::CreateSolidBrush(RGB(9, 9, 9)));
    CPen pen(::CreatePen(PS_SOLID, 1, 0));
    CFont font(MakeFont());
    CRgn region(::CreateRectRgn(0, 0, 1, 1));
    CPalette palette(MakePalette());
    CBitmap bitmap(::CreateBitmap(2, 2, 1, 1, nullptr));
    CDC dc(::CreateCompatibleDC(nullptr));
    CMenu menu(::CreateMenu());
    {
        CBrushHandle b1(brush), b2(brush.Get());
        CBrushHandle b3 = b1; // copyable
        CPenHandle p(pen);
        CFontHandle f(font);
        CRgnHandle r(region);
        CPaletteHandle pa(palette);
        CBitmapHandle bm(bitmap);
        CDCHandle d(dc);
        CMenuHandle m(menu);
        b3.Attach(nullptr);
        EXPECT_EQ(b1.Get(), brush.Get());
        EXPECT_EQ(b2.Detach(), brush.Get());
    }
    EXPECT_EQ(::GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(::GetObjectType(pen), static_cast<DWORD>(OBJ_PEN));
    EXPECT_EQ(::GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(::GetObjectType(region), static_cast<DWORD>(OBJ_REGION));
    EXPECT_EQ(::GetObjectType(palette), static_cast<DWORD>(OBJ_PAL));
    EXPECT_EQ(::GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(::GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
    EXPECT_TRUE(::IsMenu(menu));
    // Stock objects are only ever named.
    {
        CFontHandle stock(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    }
    EXPECT_EQ(::GetObjectType(::GetStockObject(DEFAULT_GUI_FONT)), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(before.ChangesSince(), "bitmap +1, brush +1, pen +1, font +1, region +1, palette +1, DC +1, menu +1");
}

TEST_F(HandleTest, MoveAttachDetachKeepTheCount) {
    const long start = CGdiCounter::Get(CGdiCounter::kBrush);
    HBRUSH raw;
    {
        CBrush a(::CreateSolidBrush(RGB(1, 1, 1)));
        raw = a;
        CBrush b(std::move(a));
        EXPECT_FALSE(a.IsValid());
        EXPECT_EQ(b.Get(), raw);
        EXPECT_EQ(CGdiCounter::Get(CGdiCounter::kBrush), start + 1);
        CBrush c;
        c = std::move(b);
        EXPECT_EQ(CGdiCounter::Get(CGdiCounter::kBrush), start + 1);
        // Attach releases what was held.
        c.Attach(::CreateSolidBrush(RGB(2, 2, 2)));
        EXPECT_EQ(::GetObjectType(raw), 0u);
        EXPECT_EQ(CGdiCounter::Get(CGdiCounter::kBrush), start + 1);
        // Detach hands the object (and its release) to the caller.
        raw = c.Detach();
        EXPECT_EQ(CGdiCounter::Get(CGdiCounter::kBrush), start);
    }
    EXPECT_EQ(::GetObjectType(raw), static_cast<DWORD>(OBJ_BRUSH));
    CBrush(raw).Close(); // adopt and release
    EXPECT_EQ(::GetObjectType(raw), 0u);
    EXPECT_EQ(CGdiCounter::Get(CGdiCounter::kBrush), start);
}

TEST(KernelHandles, OwnedClosesNamedDoesNot) {
    HANDLE raw;
    {
        CKernelObject event(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        ASSERT_TRUE(event.IsValid());
        raw = event;
        CKernelObjectHandle named(event);
    }
    DWORD flags = 0;
    EXPECT_FALSE(::GetHandleInformation(raw, &flags));
    CKernelObject file(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(file.IsValid()); // CreateFile's failure value is no handle
    CFindFile find(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(find.IsValid());
}

} // namespace
