#include "skin/controls/SkinCheckBox.h"

#include "skin/SkinObject.h"

DWORD CSkinCheckBox::GetKind() const {
    return SKIN_KIND_CHECKBOX;
}
