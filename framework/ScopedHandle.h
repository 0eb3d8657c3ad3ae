// Owning wrapper for one Win32 handle type: closes it once, movable, never copied.
#pragma once

#include <windows.h>

template <class T, class Traits> class CScopedHandle {
public:
    CScopedHandle() = default;
    explicit CScopedHandle(T h) : m_h(h) {}
    ~CScopedHandle() { Close(); }
    CScopedHandle(const CScopedHandle &) = delete;
    CScopedHandle &operator=(const CScopedHandle &) = delete;
    CScopedHandle(CScopedHandle &&other) noexcept : m_h(other.Detach()) {}
    CScopedHandle &operator=(CScopedHandle &&other) noexcept {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }

    T Get() const { return m_h; }
    bool IsValid() const { return Traits::IsValid(m_h); }
    void Attach(T h) {
        Close();
        m_h = h;
    }
    T Detach() {
        T h = m_h;
        m_h = Traits::Invalid();
        return h;
    }
    void Close() {
        if (Traits::IsValid(m_h))
            Traits::Close(m_h);
        m_h = Traits::Invalid();
    }

private:
    T m_h = Traits::Invalid();
};

struct CFileHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct CMenuHandleTraits {
    static HMENU Invalid() { return nullptr; }
    static bool IsValid(HMENU h) { return h != nullptr; }
    static void Close(HMENU h) { ::DestroyMenu(h); }
};
struct CRegKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static bool IsValid(HKEY h) { return h != nullptr; }
    static void Close(HKEY h) { ::RegCloseKey(h); }
};
struct CGlobalHandleTraits {
    static HGLOBAL Invalid() { return nullptr; }
    static bool IsValid(HGLOBAL h) { return h != nullptr; }
    static void Close(HGLOBAL h) { ::GlobalFree(h); }
};
struct CDCHandleTraits {
    static HDC Invalid() { return nullptr; }
    static bool IsValid(HDC h) { return h != nullptr; }
    static void Close(HDC h) { ::DeleteDC(h); }
};
template <class T> struct CGdiObjectTraits {
    static T Invalid() { return nullptr; }
    static bool IsValid(T h) { return h != nullptr; }
    static void Close(T h) { ::DeleteObject(h); }
};
struct CFindHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(HANDLE h) { ::FindClose(h); }
};

typedef CScopedHandle<HANDLE, CFileHandleTraits> CFileHandle;
typedef CScopedHandle<HMENU, CMenuHandleTraits> CMenuHandle;
typedef CScopedHandle<HKEY, CRegKeyTraits> CRegKeyHandle;
typedef CScopedHandle<HGLOBAL, CGlobalHandleTraits> CGlobalHandle;
typedef CScopedHandle<HDC, CDCHandleTraits> CDCHandle;
typedef CScopedHandle<HDC, CDCHandleTraits> CMemoryDcHandle;
typedef CScopedHandle<HANDLE, CFindHandleTraits> CFindHandle;
typedef CScopedHandle<HFONT, CGdiObjectTraits<HFONT>> CFontHandle;
typedef CScopedHandle<HBRUSH, CGdiObjectTraits<HBRUSH>> CBrushHandle;
typedef CScopedHandle<HBITMAP, CGdiObjectTraits<HBITMAP>> CBitmapHandle;
