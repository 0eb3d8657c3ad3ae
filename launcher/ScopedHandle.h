// Owning holder of one Win32 handle whose release function is given by a traits class.
#pragma once

#include <windows.h>

#include <utility>

// Each traits class names the handle type, its empty value and how to release it.
struct GdiObjectTraits {
    typedef HGDIOBJ Type;
    static Type Empty() { return NULL; }
    static void Release(Type h) { ::DeleteObject(h); }
};
struct MemoryDcTraits {
    typedef HDC Type;
    static Type Empty() { return NULL; }
    static void Release(Type h) { ::DeleteDC(h); }
};
struct FindTraits {
    typedef HANDLE Type;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static void Release(Type h) { ::FindClose(h); }
};
struct GlobalTraits {
    typedef HGLOBAL Type;
    static Type Empty() { return NULL; }
    static void Release(Type h) { ::GlobalFree(h); }
};

template <class Traits, class T = typename Traits::Type> class CScopedHandle {
public:
    CScopedHandle() : m_h(EmptyValue()) {}
    explicit CScopedHandle(T h) : m_h(h) {}
    ~CScopedHandle() { Reset(); }
    CScopedHandle(const CScopedHandle &) = delete;
    CScopedHandle &operator=(const CScopedHandle &) = delete;
    CScopedHandle(CScopedHandle &&other) noexcept : m_h(other.Detach()) {}
    CScopedHandle &operator=(CScopedHandle &&other) noexcept {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }

    T Get() const { return m_h; }
    bool IsValid() const { return m_h != EmptyValue(); }

    // Releases the current handle, if any, and takes ownership of h.
    void Attach(T h) {
        Reset();
        m_h = h;
    }
    T Detach() {
        T h = m_h;
        m_h = EmptyValue();
        return h;
    }
    void Reset() {
        if (m_h != EmptyValue())
            Traits::Release(m_h);
        m_h = EmptyValue();
    }

private:
    static T EmptyValue() { return static_cast<T>(Traits::Empty()); }

    T m_h;
};

typedef CScopedHandle<GdiObjectTraits, HFONT> CFontHandle;
typedef CScopedHandle<GdiObjectTraits, HBRUSH> CBrushHandle;
typedef CScopedHandle<GdiObjectTraits, HBITMAP> CBitmapHandle;
typedef CScopedHandle<MemoryDcTraits> CMemoryDcHandle;
typedef CScopedHandle<FindTraits> CFindHandle;
typedef CScopedHandle<GlobalTraits> CGlobalHandle;
