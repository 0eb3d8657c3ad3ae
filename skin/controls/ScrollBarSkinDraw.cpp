#include "skin/controls/ScrollBarSkinDraw.h"

#include "platform/Handle.h"
#include "platform/SelectObject.h"
#include "skin/Skin.h"
#include "skin/SkinRegistry.h"
#include "skin/SkinScrollBarObject.h"
#include "skin/controls/NineGrid.h"
#include "skin/controls/ScrollBarGeometry.h"
#include "skin/controls/SkinDraw.h"
#include "skin/controls/SkinImage.h"

namespace {
typedef CScrollBarSkinDraw D;
typedef CScrollBarGeometry G;

// The state block a part state draws from.
int BlockOf(UINT nState) {
    static const struct {
        UINT nState;
        int nBlock;
    } rows[] = {{D::STATE_PRESSED, CSkinScrollBarObject::BLOCK_PRESSED},
                {D::STATE_DISABLED, CSkinScrollBarObject::BLOCK_DISABLED},
                {D::STATE_HOT, CSkinScrollBarObject::BLOCK_HOT}};
    for (const auto &row : rows)
        if (nState == row.nState)
            return row.nBlock;
    return CSkinScrollBarObject::BLOCK_NORMAL;
}

// The block's piece or image reference, or the normal block's when the block's is empty: the one fallback.
template <class T> const T &Pick(const CSkinScrollBarObject &object, int nBlock, T SkinScrollBlock::*member) {
    const T &own = object.m_blocks[nBlock].*member;
    return CNineGrid::IsEmpty(own) ? object.m_blocks[CSkinScrollBarObject::BLOCK_NORMAL].*member : own;
}

// What each part draws: an arrow piece, or a track image (the thumb adds its own image inside the track's).
struct PartRow {
    int nPart;
    SkinPiece SkinScrollBlock::*arrow;
    bool bThumb;
};
const PartRow PARTS[] = {{G::PART_LEFT_ARROW, &SkinScrollBlock::arrow1, false},
                         {G::PART_RIGHT_ARROW, &SkinScrollBlock::arrow2, false},
                         {G::PART_PAGE_LEFT, nullptr, false},
                         {G::PART_PAGE_RIGHT, nullptr, false},
                         {G::PART_THUMB, nullptr, true}};

// One part in the horizontal form over rc.
void DrawHorizontal(HDC hDC, const RECT &rc, const CSkinScrollBarObject &object, int nPart, UINT nState) {
    const COLORREF crFace = ::GetSysColor(COLOR_BTNFACE);
    const int nBlock = BlockOf(nState);
    for (const PartRow &row : PARTS) {
        if (row.nPart != nPart)
            continue;
        if (row.arrow) {
            DrawPiece(hDC, rc, Pick(object, nBlock, row.arrow), crFace, TRUE);
            return;
        }
        const SkinImageRef &track = Pick(object, nBlock, &SkinScrollBlock::track);
        DrawNineGrid(hDC, rc, track, crFace, TRUE);
        if (row.bThumb) {
            RECT rcThumb = rc;
            rcThumb.top += track.rcMargins.top;
            rcThumb.bottom -= track.rcMargins.bottom;
            DrawNineGrid(hDC, rcThumb, Pick(object, nBlock, &SkinScrollBlock::thumb), crFace, TRUE);
        }
        return;
    }
}

// A part of a vertical bar: drawn horizontally into a bitmap of the turned size, turned clockwise (the left end,
// with the first arrow, comes to the top) and copied to the part's rectangle.
void DrawTurned(HDC hDC, const RECT &rc, const CSkinScrollBarObject &object, int nPart, UINT nState) {
    const LONG cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    CDC memory(::CreateCompatibleDC(hDC));
    CBitmap bitmap(::CreateCompatibleBitmap(hDC, cy, cx));
    if (!memory.IsValid() || !bitmap.IsValid())
        return;
    {
        CSelectObject select(memory, bitmap);
        DrawHorizontal(memory, RECT{0, 0, cy, cx}, object, nPart, nState);
    }
    CSkinImage flat, turned;
    if (!flat.FromBitmap(bitmap) || !flat.Turn(90, &turned))
        return;
    ::SetDIBitsToDevice(hDC, rc.left, rc.top, static_cast<DWORD>(cx), static_cast<DWORD>(cy), 0, 0, 0,
                        static_cast<UINT>(cy), turned.GetBits(), turned.GetDIB(), DIB_RGB_COLORS);
}

} // namespace

const CSkinScrollBarObject *CScrollBarSkinDraw::FindObject() {
    return dynamic_cast<const CSkinScrollBarObject *>(
        CSkinRegistry::Instance().GetSkin().FindObjectByKind(SKIN_KIND_SCROLLBAR));
}

LRESULT CScrollBarSkinDraw::Draw(const ScrollSkinDrawRecord &record) {
    const CSkinScrollBarObject *pObject = FindObject();
    if (!pObject)
        return 0;
    if (record.dwStage != STAGE_PART || CNineGrid::IsRectEmpty(record.rc))
        return SKIN_DRAWS;
    if (record.nPart == G::PART_SIZE_BOX)
        DrawPiece(record.hDC, record.rc, pObject->m_sizeBox, ::GetSysColor(COLOR_BTNFACE), TRUE);
    else if (record.nBar == SB_VERT)
        DrawTurned(record.hDC, record.rc, *pObject, record.nPart, record.nState);
    else
        DrawHorizontal(record.hDC, record.rc, *pObject, record.nPart, record.nState);
    return SKIN_DRAWS;
}
