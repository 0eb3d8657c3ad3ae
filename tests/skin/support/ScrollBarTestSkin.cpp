#include "tests/skin/support/ScrollBarTestSkin.h"

#include "skin/SkinScrollBarObject.h"
#include "tests/skin/support/SkinTestSupport.h"

namespace {
void AddSolid(CSkin &skin, const char *name, LONG width, LONG height, COLORREF color) {
    AddImage(skin, name, MakeImage(width, height, [color](LONG, LONG) { return color; }));
}
} // namespace

std::unique_ptr<CSkin> MakeScrollBarSkin(int nArrow, int nThumbWidth) {
    namespace C = ScrollTestColor;
    std::unique_ptr<CSkin> skin = MakeKindSkin({SKIN_KIND_SCROLLBAR, SKIN_KIND_SCROLLCONTROL});
    const LONG a = nArrow, half = nArrow / 2;
    AddImage(*skin, "arrow1", MakeImage(a, a, [half](LONG x, LONG y) {
                 return x < half && y < half ? C::ARROW1_MARK : C::ARROW1;
             }));
    AddSolid(*skin, "arrow2", a, a, C::ARROW2);
    AddSolid(*skin, "track", 8, 16, C::TRACK);
    AddSolid(*skin, "thumb", nThumbWidth, 16, C::THUMB);
    AddSolid(*skin, "pressedArrow", a, a, C::PRESSED_ARROW);
    AddSolid(*skin, "pressedThumb", nThumbWidth, 16, C::PRESSED_THUMB);
    AddSolid(*skin, "hotArrow", a, a, C::HOT_ARROW);
    AddSolid(*skin, "hotThumb", nThumbWidth, 16, C::HOT_THUMB);
    AddSolid(*skin, "disabledArrow", a, a, C::DISABLED_ARROW);
    AddSolid(*skin, "box", 16, 16, C::SIZE_BOX);

    CSkinScrollBarObject *bars = dynamic_cast<CSkinScrollBarObject *>(skin->FindObject("ScrollBar"));
    const RECT arrow = {0, 0, a, a}, thumb = {0, 0, nThumbWidth, 16}, none = {0, 0, 0, 0};
    const RECT noMargins = {0, 0, 0, 0}, trackMargins = {0, TRACK_MARGIN, 0, TRACK_MARGIN};
    SkinScrollBlock &normal = bars->m_blocks[CSkinScrollBarObject::BLOCK_NORMAL];
    normal.arrow1 = MakePiece("arrow1", arrow, PIECE_STRETCH);
    normal.arrow2 = MakePiece("arrow2", arrow, PIECE_STRETCH);
    normal.track = MakeRef("track", RECT{0, 0, 8, 16}, trackMargins, 1);
    normal.thumb = MakeRef("thumb", thumb, noMargins, 1);
    SkinScrollBlock &pressed = bars->m_blocks[CSkinScrollBarObject::BLOCK_PRESSED];
    pressed.arrow1 = pressed.arrow2 = MakePiece("pressedArrow", arrow, PIECE_STRETCH);
    pressed.thumb = MakeRef("pressedThumb", thumb, noMargins, 1);
    SkinScrollBlock &hot = bars->m_blocks[CSkinScrollBarObject::BLOCK_HOT];
    hot.arrow1 = hot.arrow2 = MakePiece("hotArrow", arrow, PIECE_STRETCH);
    hot.thumb = MakeRef("hotThumb", thumb, noMargins, 1);
    SkinScrollBlock &disabled = bars->m_blocks[CSkinScrollBarObject::BLOCK_DISABLED];
    disabled.arrow1 = disabled.arrow2 = MakePiece("disabledArrow", arrow, PIECE_STRETCH);
    disabled.thumb = MakeRef("", none, noMargins, 1);
    bars->m_sizeBox = MakePiece("box", RECT{0, 0, 16, 16}, PIECE_STRETCH);
    return skin;
}
