// Owning and non-owning wrappers for every kind of handle the programs use: GDI objects, DCs, menus, icons,
// cursors, image lists, registry keys, kernel objects and files, find handles, global memory.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/GdiCounter.h"

// How one kind of handle is checked and released. kCounted names the GdiCounter kind the owning type keeps,
// or -1 for handles that are not counted.
template <class T> struct CGdiTraits;

#define QX_GDI_TRAITS(type, kind)                                                                                      \
    template <> struct CGdiTraits<type> {                                                                              \
        typedef type Handle;                                                                                           \
        static constexpr int kCounted = CGdiCounter::kind;                                                             \
        static Handle Invalid() { return nullptr; }                                                                    \
        static bool IsValid(Handle h) { return h != nullptr; }                                                         \
        static bool Close(Handle h) { return ::DeleteObject(h) != FALSE; }                                             \
    }
QX_GDI_TRAITS(HBITMAP, kBitmap);
QX_GDI_TRAITS(HBRUSH, kBrush);
QX_GDI_TRAITS(HPEN, kPen);
QX_GDI_TRAITS(HFONT, kFont);
QX_GDI_TRAITS(HRGN, kRegion);
QX_GDI_TRAITS(HPALETTE, kPalette);
#undef QX_GDI_TRAITS

struct CDCTraits {
    typedef HDC Handle;
    static constexpr int kCounted = CGdiCounter::kDC;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static bool Close(Handle h) { return ::DeleteDC(h) != FALSE; }
};
struct CMenuTraits {
    typedef HMENU Handle;
    static constexpr int kCounted = CGdiCounter::kMenu;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static bool Close(Handle h) { return ::DestroyMenu(h) != FALSE; }
};
struct CIconTraits {
    typedef HICON Handle;
    static constexpr int kCounted = CGdiCounter::kIcon;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static bool Close(Handle h) { return ::DestroyIcon(h) != FALSE; }
};
struct CCursorTraits {
    typedef HCURSOR Handle;
    static constexpr int kCounted = CGdiCounter::kCursor;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static bool Close(Handle h) { return ::DestroyCursor(h) != FALSE; }
};
struct CImageListTraits {
    typedef HIMAGELIST Handle;
    static constexpr int kCounted = CGdiCounter::kImageList;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static bool Close(Handle h) { return ::ImageList_Destroy(h) != FALSE; }
};
struct CRegKeyTraits {
    typedef HKEY Handle;
    static constexpr int kCounted = -1;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static bool Close(Handle h) { return ::RegCloseKey(h) == ERROR_SUCCESS; }
};
// Kernel objects and files. Creation functions disagree on the failure value (CreateFile and
// CreateToolhelp32Snapshot give INVALID_HANDLE_VALUE, CreateMutex and OpenProcess null), so both are invalid.
struct CKernelTraits {
    typedef HANDLE Handle;
    static constexpr int kCounted = -1;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool Close(Handle h) { return ::CloseHandle(h) != FALSE; }
};
struct CFindTraits {
    typedef HANDLE Handle;
    static constexpr int kCounted = -1;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool Close(Handle h) { return ::FindClose(h) != FALSE; }
};
struct CGlobalTraits {
    typedef HGLOBAL Handle;
    static constexpr int kCounted = -1;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static bool Close(Handle h) { return ::GlobalFree(h) == nullptr; }
};

// One handle of the kind Traits describes. t_bOwned: the wrapper releases the handle (movable, never copied);
// otherwise it only names a handle that someone else releases (copyable, never releases anything).
template <class Traits, bool t_bOwned> class CHandleT;

template <class Traits> class CHandleT<Traits, true> {
public:
    typedef typename Traits::Handle Handle;

    CHandleT() = default;
    explicit CHandleT(Handle h) { Attach(h); }
    ~CHandleT() { Close(); }
    CHandleT(const CHandleT &) = delete;
    CHandleT &operator=(const CHandleT &) = delete;
    CHandleT(CHandleT &&other) noexcept : m_h(other.m_h) { other.m_h = Traits::Invalid(); }
    CHandleT &operator=(CHandleT &&other) noexcept {
        if (this != &other) {
            Close();
            m_h = other.m_h;
            other.m_h = Traits::Invalid();
        }
        return *this;
    }

    Handle Get() const { return m_h; }
    operator Handle() const { return m_h; }
    bool IsValid() const { return Traits::IsValid(m_h); }
    // Takes ownership of h, releasing the handle held before.
    void Attach(Handle h) {
        Close();
        m_h = h;
        if (Traits::IsValid(m_h) && Traits::kCounted >= 0)
            CGdiCounter::Created(static_cast<CGdiCounter::EKind>(Traits::kCounted));
    }
    // Gives up ownership: the caller (or the system, for a handle passed on) releases it now.
    Handle Detach() {
        Handle h = m_h;
        if (Traits::IsValid(m_h) && Traits::kCounted >= 0)
            CGdiCounter::Destroyed(static_cast<CGdiCounter::EKind>(Traits::kCounted));
        m_h = Traits::Invalid();
        return h;
    }
    // Releases the handle. A release the system refuses (a GDI object still selected into a DC) stays counted.
    void Close() {
        if (Traits::IsValid(m_h) && Traits::Close(m_h) && Traits::kCounted >= 0)
            CGdiCounter::Destroyed(static_cast<CGdiCounter::EKind>(Traits::kCounted));
        m_h = Traits::Invalid();
    }

private:
    Handle m_h = Traits::Invalid();
};

template <class Traits> class CHandleT<Traits, false> {
public:
    typedef typename Traits::Handle Handle;

    CHandleT() = default;
    CHandleT(Handle h) : m_h(h) {}
    CHandleT(const CHandleT<Traits, true> &owner) : m_h(owner.Get()) {}

    Handle Get() const { return m_h; }
    operator Handle() const { return m_h; }
    bool IsValid() const { return Traits::IsValid(m_h); }
    void Attach(Handle h) { m_h = h; }
    Handle Detach() {
        Handle h = m_h;
        m_h = Traits::Invalid();
        return h;
    }

private:
    Handle m_h = Traits::Invalid();
};

template <class T, bool t_bOwned> using CGdiObjectT = CHandleT<CGdiTraits<T>, t_bOwned>;

// Owning types: plain names. Non-owning: the same name with "Handle".
typedef CGdiObjectT<HBITMAP, true> CBitmap;
typedef CGdiObjectT<HBITMAP, false> CBitmapHandle;
typedef CGdiObjectT<HBRUSH, true> CBrush;
typedef CGdiObjectT<HBRUSH, false> CBrushHandle;
typedef CGdiObjectT<HPEN, true> CPen;
typedef CGdiObjectT<HPEN, false> CPenHandle;
typedef CGdiObjectT<HFONT, true> CFont;
typedef CGdiObjectT<HFONT, false> CFontHandle;
typedef CGdiObjectT<HRGN, true> CRgn;
typedef CGdiObjectT<HRGN, false> CRgnHandle;
typedef CGdiObjectT<HPALETTE, true> CPalette;
typedef CGdiObjectT<HPALETTE, false> CPaletteHandle;
typedef CHandleT<CDCTraits, true> CDC; // a DC this program created (CreateCompatibleDC, CreateDC)
typedef CHandleT<CDCTraits, false> CDCHandle;
typedef CHandleT<CMenuTraits, true> CMenu;
typedef CHandleT<CMenuTraits, false> CMenuHandle;
typedef CHandleT<CIconTraits, true> CIcon;
typedef CHandleT<CIconTraits, false> CIconHandle;
typedef CHandleT<CCursorTraits, true> CCursor;
typedef CHandleT<CCursorTraits, false> CCursorHandle;
typedef CHandleT<CImageListTraits, true> CImageList;
typedef CHandleT<CImageListTraits, false> CImageListHandle;
typedef CHandleT<CRegKeyTraits, true> CRegKey;
typedef CHandleT<CRegKeyTraits, false> CRegKeyHandle;
typedef CHandleT<CKernelTraits, true> CKernelObject; // files, mutexes, events, processes, threads, mappings
typedef CHandleT<CKernelTraits, false> CKernelObjectHandle;
typedef CHandleT<CFindTraits, true> CFindFile;
typedef CHandleT<CGlobalTraits, true> CGlobalMemory;
typedef CHandleT<CGlobalTraits, false> CGlobalMemoryHandle;
