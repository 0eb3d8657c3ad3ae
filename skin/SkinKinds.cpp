#include "skin/SkinKinds.h"

#include "skin/SkinButtonObject.h"
#include "skin/SkinCaptionButtonObject.h"
#include "skin/SkinCheckObject.h"
#include "skin/SkinComboBoxObject.h"
#include "skin/SkinControlObject.h"
#include "skin/SkinFrameObject.h"
#include "skin/SkinGroupBoxObject.h"
#include "skin/SkinImageObject.h"
#include "skin/SkinInfoObject.h"
#include "skin/SkinMenuBarObject.h"
#include "skin/SkinObject.h"
#include "skin/SkinPanelObject.h"
#include "skin/SkinPopupMenuObject.h"
#include "skin/SkinProgressObject.h"
#include "skin/SkinScrollBarObject.h"
#include "skin/SkinSliderObject.h"
#include "skin/SkinSpinObject.h"
#include "skin/SkinStaticObject.h"
#include "skin/SkinStatusBarObject.h"
#include "skin/SkinToolBarObject.h"

namespace {

template <class T> std::unique_ptr<CSkinObject> Make(DWORD) {
    return std::make_unique<T>();
}
// Classes that serve several kinds keep the kind they were made for.
template <class T> std::unique_ptr<CSkinObject> MakeOfKind(DWORD kind) {
    return std::make_unique<T>(kind);
}

const CSkinKindInfo kKinds[] = {
    {SKIN_KIND_FRAME, "frame", true, &Make<CSkinFrameObject>},
    {SKIN_KIND_PANEL, "panel", true, &Make<CSkinPanelObject>},
    {SKIN_KIND_CAPTION_BUTTON, "caption-button", false, &Make<CSkinCaptionButtonObject>}, // children of frames
    {SKIN_KIND_BUTTON, "button", true, &Make<CSkinButtonObject>},
    {SKIN_KIND_CHECKBOX, "checkbox", true, &MakeOfKind<CSkinCheckObject>},
    {SKIN_KIND_COMBOBOX, "combobox", true, &Make<CSkinComboBoxObject>},
    {SKIN_KIND_GROUPBOX, "groupbox", true, &Make<CSkinGroupBoxObject>},
    {SKIN_KIND_PROGRESS, "progress", true, &Make<CSkinProgressObject>},
    {SKIN_KIND_RADIO, "radio", true, &MakeOfKind<CSkinCheckObject>},
    {SKIN_KIND_SCROLLBAR, "scrollbar", true, &Make<CSkinScrollBarObject>},
    {SKIN_KIND_SLIDER, "slider", true, &Make<CSkinSliderObject>},
    {SKIN_KIND_STATIC, "static", true, &Make<CSkinStaticObject>},
    {SKIN_KIND_STATUSBAR, "statusbar", true, &Make<CSkinStatusBarObject>},
    {SKIN_KIND_POPUPMENU, "popupmenu", true, &Make<CSkinPopupMenuObject>},
    {SKIN_KIND_IMAGE, "image", false, &Make<CSkinImageObject>},                       // the file's image list
    {SKIN_KIND_PLAIN, "plain", false, &MakeOfKind<CSkinObject>},                      // the file's plain list
    {SKIN_KIND_MENUBAR, "menubar", false, &Make<CSkinMenuBarObject>},                 // inside frames
    {SKIN_KIND_TOOLBAR, "toolbar", true, &Make<CSkinToolBarObject>},
    {SKIN_KIND_CONTROLBAR, "controlbar", true, &MakeOfKind<CSkinControlObject>},
    {SKIN_KIND_INFO, "info", true, &Make<CSkinInfoObject>},
    {SKIN_KIND_SCROLLCONTROL, "scrollcontrol", true, &MakeOfKind<CSkinControlObject>},
    {SKIN_KIND_SPIN, "spin", true, &Make<CSkinSpinObject>},
};

} // namespace

const CSkinKindInfo *CSkinKinds::Begin() {
    return kKinds;
}

const CSkinKindInfo *CSkinKinds::End() {
    return kKinds + sizeof(kKinds) / sizeof(kKinds[0]);
}

const CSkinKindInfo *CSkinKinds::Find(DWORD kind) {
    for (const CSkinKindInfo *p = Begin(); p != End(); ++p)
        if (p->kind == kind)
            return p;
    return nullptr;
}

const CSkinKindInfo *CSkinKinds::Find(const std::string &name) {
    for (const CSkinKindInfo *p = Begin(); p != End(); ++p)
        if (name == p->name)
            return p;
    return nullptr;
}
