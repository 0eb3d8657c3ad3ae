#include "skin/SkinArchive.h"

void CSkinArchive::Bytes(void *data, DWORD size) {
    if (size == 0)
        return;
    if (m_mode == LOADING) {
        m_stream.Read(data, size);
    } else if (!m_bFailed && m_stream.Write(data, size) != size) {
        m_bFailed = true;
    }
}

void CSkinArchive::Text(char *buffer, DWORD storedSize) {
    Bytes(buffer, storedSize);
    if (m_mode == LOADING)
        buffer[storedSize] = '\0';
}

void CSkinArchive::Font(SkinFontRecord &font) {
    Value(font);
    // The face name goes to the platform's font creation as a C string.
    if (m_mode == LOADING)
        font.lf.lfFaceName[LF_FACESIZE - 1] = '\0';
}

void CSkinArchive::ControlHeader(SkinControlHeader &header) {
    Font(header.font);
    Value(header.frame);
    if (Minor() >= 4)
        Value(header.color);
    if (Minor() >= 5)
        Value(header.dwValue);
}

void CSkinArchive::Framed(SkinFramedRecord &framed) {
    Value(framed.pieces);
    Value(framed.placement);
    Font(framed.captionFont);
    Value(framed.dwValue1);
    Value(framed.dwValue2);
    Value(framed.crActiveBorder);
    Value(framed.crInactiveBorder);
    Value(framed.crBackground);
    if (Minor() >= 3)
        Value(framed.rcExtra);
}

bool CSkinArchive::Enter() {
    if (m_nDepth >= MAX_DEPTH)
        return false;
    ++m_nDepth;
    return true;
}
