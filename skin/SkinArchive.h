// Reads or writes skin records field by field over a skin stream, so that reader and writer share one layout.
#pragma once

#include "framework/WinCompat.h"
#include "skin/SkinRecords.h"
#include "skin/SkinStream.h"
#include "skin/SkinVersion.h"

#include <type_traits>

class CSkinArchive {
public:
    enum Mode { LOADING, STORING };
    // Caption buttons nest through their own object headers; deeper nesting than this only comes from hostile
    // files and would exhaust the stack, so reading stops there.
    enum : int { MAX_DEPTH = 8 };

    CSkinArchive(CSkinStream &stream, Mode mode) : m_stream(stream), m_mode(mode), m_nDepth(0), m_bFailed(false) {}

    bool IsLoading() const { return m_mode == LOADING; }
    // Loading: no bytes left. Storing: never.
    bool IsAtEnd() const { return m_mode == LOADING && m_stream.IsAtEnd(); }
    // Loading: bytes left in the stream.
    DWORD Remaining() const { return m_mode == LOADING ? m_stream.GetRemaining() : 0; }
    // Storing ran out of memory.
    bool HasFailed() const { return m_bFailed; }
    // Loading: drops the rest of the stream so that every list ends.
    void StopReading() { m_stream.Seek(0, 2); }
    BYTE Minor() const { return g_nSkinMinorVersion; }

    void Bytes(void *data, DWORD size);
    template <class T> void Value(T &value) {
        static_assert(std::is_trivially_copyable<T>::value, "stored byte for byte");
        Bytes(&value, sizeof value);
        if (m_mode == LOADING)
            TerminateImageNames(value);
    }
    // A NUL-terminated text of storedSize bytes; the buffer holds storedSize + 1 so that a stored text
    // without a NUL still ends inside it.
    void Text(char *buffer, DWORD storedSize);
    void Font(SkinFontRecord &font);
    void ControlHeader(SkinControlHeader &header);
    void Framed(SkinFramedRecord &framed);

    // Nesting of object headers; Enter fails when the limit is reached.
    bool Enter();
    void Leave() { --m_nDepth; }

private:
    CSkinStream &m_stream;
    Mode m_mode;
    int m_nDepth;
    bool m_bFailed;
};
