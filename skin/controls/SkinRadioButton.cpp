#include "skin/controls/SkinRadioButton.h"

#include "skin/SkinObject.h"

DWORD CSkinRadioButton::GetKind() const {
    return SKIN_KIND_RADIO;
}
