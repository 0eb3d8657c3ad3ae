#include "tools/skinc/SkinFieldTable.h"

#include "skin/SkinButtonObject.h"
#include "skin/SkinCaptionButtonObject.h"
#include "skin/SkinCheckObject.h"
#include "skin/SkinComboBoxObject.h"
#include "skin/SkinControlObject.h"
#include "skin/SkinFrameObject.h"
#include "skin/SkinGroupBoxObject.h"
#include "skin/SkinInfoObject.h"
#include "skin/SkinKinds.h"
#include "skin/SkinMenuBarObject.h"
#include "skin/SkinPanelObject.h"
#include "skin/SkinPopupMenuObject.h"
#include "skin/SkinProgressObject.h"
#include "skin/SkinScrollBarObject.h"
#include "skin/SkinSliderObject.h"
#include "skin/SkinSpinObject.h"
#include "skin/SkinStaticObject.h"
#include "skin/SkinStatusBarObject.h"
#include "skin/SkinToolBarObject.h"

#include <cstring>
#include <map>

namespace {

typedef CSkinFieldTable::Field Field;
typedef std::vector<Field> Fields;

// Adds a field whose member is reached through a cast to the object's class.
template <class T, class M> void Add(Fields &v, const std::string &name, CSkinFieldTable::Type type, M T::*member) {
    v.push_back(Field{name, type, static_cast<DWORD>(sizeof(M)),
                      [member](CSkinObject &o) -> void * { return &(static_cast<T &>(o).*member); }});
}

// Adds a field reached by an arbitrary accessor.
template <class T, class F>
void AddAt(Fields &v, const std::string &name, CSkinFieldTable::Type type, DWORD size, F f) {
    v.push_back(Field{name, type, size, [f](CSkinObject &o) -> void * { return f(static_cast<T &>(o)); }});
}

const char *const kParts[9] = {"tl", "t", "tr", "l", "c", "r", "bl", "b", "br"};

void AddHeader(Fields &v) {
    Add<CSkinObject>(v, "background", CSkinFieldTable::COLOR, &CSkinObject::m_crBackground);
    Add<CSkinObject>(v, "text", CSkinFieldTable::COLOR, &CSkinObject::m_crText);
    Add<CSkinObject>(v, "key", CSkinFieldTable::COLOR, &CSkinObject::m_crKey);
    AddAt<CSkinObject>(v, "name2", CSkinFieldTable::TEXT, CSkinObject::NAME_SIZE,
                       [](CSkinObject &o) { return static_cast<void *>(o.m_szName2); });
    Add<CSkinObject>(v, "value", CSkinFieldTable::INT, &CSkinObject::m_dwValue);
}

template <class T> void AddControlHeader(Fields &v) {
    AddAt<T>(v, "font", CSkinFieldTable::FONT, 64, [](T &o) { return static_cast<void *>(&o.m_header.font); });
    AddAt<T>(v, "frame", CSkinFieldTable::IMAGE_REF, 88, [](T &o) { return static_cast<void *>(&o.m_header.frame); });
    AddAt<T>(v, "color", CSkinFieldTable::COLOR_RECORD16, 16,
             [](T &o) { return static_cast<void *>(&o.m_header.color); });
    AddAt<T>(v, "header-value", CSkinFieldTable::INT, 4, [](T &o) { return static_cast<void *>(&o.m_header.dwValue); });
}

template <class T> void AddFramed(Fields &v) {
    for (int i = 0; i < 18; ++i) {
        std::string name = std::string(i < 9 ? "active." : "inactive.") + kParts[i % 9];
        AddAt<T>(v, name, CSkinFieldTable::PIECE, 72, [i](T &o) { return static_cast<void *>(&o.m_framed.pieces[i]); });
    }
    for (int i = 0; i < 9; ++i)
        AddAt<T>(v, std::string("placement.") + kParts[i], CSkinFieldTable::RECTANGLE, 16,
                 [i](T &o) { return static_cast<void *>(&o.m_framed.placement[i]); });
    AddAt<T>(v, "caption-font", CSkinFieldTable::FONT, 64,
             [](T &o) { return static_cast<void *>(&o.m_framed.captionFont); });
    AddAt<T>(v, "framed-value1", CSkinFieldTable::INT, 4,
             [](T &o) { return static_cast<void *>(&o.m_framed.dwValue1); });
    AddAt<T>(v, "framed-value2", CSkinFieldTable::INT, 4,
             [](T &o) { return static_cast<void *>(&o.m_framed.dwValue2); });
    AddAt<T>(v, "active-border", CSkinFieldTable::COLOR, 4,
             [](T &o) { return static_cast<void *>(&o.m_framed.crActiveBorder); });
    AddAt<T>(v, "inactive-border", CSkinFieldTable::COLOR, 4,
             [](T &o) { return static_cast<void *>(&o.m_framed.crInactiveBorder); });
    AddAt<T>(v, "framed-background", CSkinFieldTable::COLOR, 4,
             [](T &o) { return static_cast<void *>(&o.m_framed.crBackground); });
    AddAt<T>(v, "extra-rect", CSkinFieldTable::RECTANGLE, 16,
             [](T &o) { return static_cast<void *>(&o.m_framed.rcExtra); });
}

Fields Build(DWORD kind) {
    typedef CSkinFieldTable F;
    Fields v;
    AddHeader(v);
    switch (kind) {
    case SKIN_KIND_FRAME:
        AddFramed<CSkinFrameObject>(v);
        Add<CSkinFrameObject>(v, "menubar-kind", F::INT, &CSkinFrameObject::m_dwMenuBarKind);
        break;
    case SKIN_KIND_PANEL:
        Add<CSkinPanelObject>(v, "piece", F::PIECE, &CSkinPanelObject::m_piece);
        Add<CSkinPanelObject>(v, "rect1", F::RECTANGLE, &CSkinPanelObject::m_rect1);
        Add<CSkinPanelObject>(v, "rect2", F::RECTANGLE, &CSkinPanelObject::m_rect2);
        Add<CSkinPanelObject>(v, "byte-value", F::BYTE_VALUE, &CSkinPanelObject::m_byValue);
        Add<CSkinPanelObject>(v, "color-value", F::COLOR, &CSkinPanelObject::m_crColor);
        Add<CSkinPanelObject>(v, "value2", F::INT, &CSkinPanelObject::m_dwValue2);
        break;
    case SKIN_KIND_CAPTION_BUTTON: {
        typedef CSkinCaptionButtonObject T;
        Add<T>(v, "normal", F::PIECE, &T::m_normal);
        Add<T>(v, "rect", F::RECTANGLE, &T::m_rect);
        Add<T>(v, "anchor", F::INT, &T::m_dwAnchor);
        Add<T>(v, "command", F::INT, &T::m_dwCommand);
        Add<T>(v, "hover", F::PIECE, &T::m_hover);
        Add<T>(v, "pressed", F::PIECE, &T::m_pressed);
        Add<T>(v, "third", F::PIECE, &T::m_third);
        Add<T>(v, "action", F::INT, &T::m_dwAction);
        Add<T>(v, "toggle", F::INT, &T::m_dwToggle);
        break;
    }
    case SKIN_KIND_BUTTON: {
        typedef CSkinButtonObject T;
        static const char *const states[] = {"normal", "pressed", "default", "focused", "fifth", "disabled"};
        for (int i = 0; i < T::STATE_COUNT; ++i)
            AddAt<T>(v, std::string("state.") + states[i], F::IMAGE_REF, 88,
                     [i](T &o) { return static_cast<void *>(&o.m_states[i].image); });
        AddAt<T>(v, "name-text", F::TEXT, T::STORED_TEXT_SIZE, [](T &o) { return static_cast<void *>(o.m_szText); });
        Add<T>(v, "value1", F::INT, &T::m_dwValue1);
        Add<T>(v, "font", F::FONT, &T::m_font);
        Add<T>(v, "value2", F::INT, &T::m_dwValue2);
        Add<T>(v, "value3", F::INT, &T::m_dwValue3);
        break;
    }
    case SKIN_KIND_CHECKBOX:
    case SKIN_KIND_RADIO: {
        typedef CSkinCheckObject T;
        AddControlHeader<T>(v);
        for (int i = 0; i < T::BLOCK_COUNT; ++i) {
            std::string prefix = "block." + std::to_string(i) + ".";
            AddAt<T>(v, prefix + "background", F::IMAGE_REF, 88,
                     [i](T &o) { return static_cast<void *>(&o.m_blocks[i].background); });
            AddAt<T>(v, prefix + "mark", F::PIECE, 72, [i](T &o) { return static_cast<void *>(&o.m_blocks[i].mark); });
            AddAt<T>(v, prefix + "color", F::COLOR_RECORD32, 32,
                     [i](T &o) { return static_cast<void *>(&o.m_blocks[i].color); });
        }
        AddAt<T>(v, "name-text", F::TEXT, T::STORED_TEXT_SIZE, [](T &o) { return static_cast<void *>(o.m_szText); });
        Add<T>(v, "value2", F::INT, &T::m_dwValue2);
        break;
    }
    case SKIN_KIND_COMBOBOX: {
        typedef CSkinComboBoxObject T;
        AddControlHeader<T>(v);
        static const char *const names[] = {"normal", "pressed", "hot", "disabled"};
        for (int i = 0; i < T::BUTTON_COUNT; ++i)
            AddAt<T>(v, std::string("button.") + names[i], F::IMAGE_REF, 88,
                     [i](T &o) { return static_cast<void *>(&o.m_buttons[i]); });
        Add<T>(v, "focus-fill", F::COLOR, &T::m_crFocusFill);
        break;
    }
    case SKIN_KIND_GROUPBOX: {
        typedef CSkinGroupBoxObject T;
        AddControlHeader<T>(v);
        Add<T>(v, "caption", F::IMAGE_REF, &T::m_caption);
        Add<T>(v, "caption-fill", F::COLOR, &T::m_crCaptionFill);
        Add<T>(v, "text-color", F::COLOR_RECORD16, &T::m_textColor);
        Add<T>(v, "value2", F::INT, &T::m_dwValue2);
        break;
    }
    case SKIN_KIND_PROGRESS: {
        typedef CSkinProgressObject T;
        AddControlHeader<T>(v);
        Add<T>(v, "bar", F::IMAGE_REF, &T::m_bar);
        Add<T>(v, "value1", F::INT, &T::m_dwValue1);
        Add<T>(v, "value2", F::INT, &T::m_dwValue2);
        Add<T>(v, "reveal", F::INT, &T::m_dwReveal);
        break;
    }
    case SKIN_KIND_SCROLLBAR: {
        typedef CSkinScrollBarObject T;
        AddControlHeader<T>(v);
        static const char *const blocks[] = {"normal", "pressed", "hot", "disabled"};
        for (int i = 0; i < T::BLOCK_COUNT; ++i) {
            std::string prefix = std::string(blocks[i]) + ".";
            AddAt<T>(v, prefix + "arrow1", F::PIECE, 72,
                     [i](T &o) { return static_cast<void *>(&o.m_blocks[i].arrow1); });
            AddAt<T>(v, prefix + "arrow2", F::PIECE, 72,
                     [i](T &o) { return static_cast<void *>(&o.m_blocks[i].arrow2); });
            AddAt<T>(v, prefix + "track", F::IMAGE_REF, 88,
                     [i](T &o) { return static_cast<void *>(&o.m_blocks[i].track); });
            AddAt<T>(v, prefix + "thumb", F::IMAGE_REF, 88,
                     [i](T &o) { return static_cast<void *>(&o.m_blocks[i].thumb); });
        }
        Add<T>(v, "size-box", F::PIECE, &T::m_sizeBox);
        for (int i = 0; i < T::VALUE_COUNT; ++i)
            AddAt<T>(v, "values." + std::to_string(i), F::INT, 4,
                     [i](T &o) { return static_cast<void *>(&o.m_values[i]); });
        break;
    }
    case SKIN_KIND_SLIDER: {
        typedef CSkinSliderObject T;
        AddControlHeader<T>(v);
        Add<T>(v, "thumb", F::IMAGE_REF, &T::m_thumb);
        for (int i = 0; i < T::VALUE_COUNT; ++i)
            AddAt<T>(v, "values." + std::to_string(i), F::INT, 4,
                     [i](T &o) { return static_cast<void *>(&o.m_values[i]); });
        Add<T>(v, "channel", F::IMAGE_REF, &T::m_channel);
        break;
    }
    case SKIN_KIND_STATIC: {
        typedef CSkinStaticObject T;
        AddControlHeader<T>(v);
        Add<T>(v, "transparent", F::INT, &T::m_dwTransparent);
        AddAt<T>(v, "text-field", F::TEXT, T::TEXT_SIZE, [](T &o) { return static_cast<void *>(o.m_szText); });
        break;
    }
    case SKIN_KIND_STATUSBAR: {
        typedef CSkinStatusBarObject T;
        AddControlHeader<T>(v);
        Add<T>(v, "pane", F::IMAGE_REF, &T::m_pane);
        Add<T>(v, "piece", F::PIECE, &T::m_piece);
        break;
    }
    case SKIN_KIND_POPUPMENU: {
        typedef CSkinPopupMenuObject T;
        AddFramed<T>(v);
        Add<T>(v, "normal-text", F::COLOR_RECORD16, &T::m_normalText);
        Add<T>(v, "disabled-text", F::COLOR_RECORD16, &T::m_disabledText);
        Add<T>(v, "highlight-text", F::COLOR_RECORD16, &T::m_highlightText);
        Add<T>(v, "highlight-fill", F::COLOR, &T::m_crHighlightFill);
        Add<T>(v, "separator-fill", F::COLOR, &T::m_crSeparatorFill);
        Add<T>(v, "separator", F::IMAGE_REF, &T::m_separator);
        Add<T>(v, "selection", F::IMAGE_REF, &T::m_selection);
        Add<T>(v, "submenu-arrow", F::PIECE, &T::m_submenuArrow);
        Add<T>(v, "check", F::PIECE, &T::m_check);
        break;
    }
    case SKIN_KIND_MENUBAR: {
        typedef CSkinMenuBarObject T;
        Add<T>(v, "piece", F::PIECE, &T::m_piece);
        Add<T>(v, "rect", F::RECTANGLE, &T::m_rect);
        Add<T>(v, "value1", F::INT, &T::m_dwValue1);
        Add<T>(v, "value2", F::INT, &T::m_dwValue2);
        Add<T>(v, "font", F::FONT, &T::m_font);
        Add<T>(v, "normal-text", F::COLOR_RECORD16, &T::m_normalText);
        Add<T>(v, "other-text", F::COLOR_RECORD16, &T::m_otherText);
        Add<T>(v, "hover-text", F::COLOR_RECORD16, &T::m_hoverText);
        Add<T>(v, "hover-fill", F::COLOR, &T::m_crHoverFill);
        Add<T>(v, "hover", F::IMAGE_REF, &T::m_hoverImage);
        Add<T>(v, "open-text", F::COLOR_RECORD16, &T::m_openText);
        Add<T>(v, "open-fill", F::COLOR, &T::m_crOpenFill);
        Add<T>(v, "open", F::IMAGE_REF, &T::m_openImage);
        static const char *const buttons[] = {"minimize", "restore", "close", "icon"};
        static const char *const states[] = {"normal", "hover", "pressed"};
        for (int i = 0; i < T::CHILD_BUTTON_PIECES; ++i)
            AddAt<T>(v, std::string("child.") + buttons[i / 3] + "." + states[i % 3], F::PIECE, 72,
                     [i](T &o) { return static_cast<void *>(&o.m_childButtons[i]); });
        Add<T>(v, "bar", F::IMAGE_REF, &T::m_background);
        break;
    }
    case SKIN_KIND_TOOLBAR: {
        typedef CSkinToolBarObject T;
        AddControlHeader<T>(v);
        static const char *const names[] = {"normal", "pressed", "hot", "disabled", "fifth"};
        for (int i = 0; i < T::BUTTON_COUNT; ++i)
            AddAt<T>(v, std::string("button.") + names[i], F::IMAGE_REF, 88,
                     [i](T &o) { return static_cast<void *>(&o.m_buttons[i]); });
        break;
    }
    case SKIN_KIND_CONTROLBAR:
    case SKIN_KIND_SCROLLCONTROL:
        AddControlHeader<CSkinControlObject>(v);
        break;
    case SKIN_KIND_INFO: {
        typedef CSkinInfoObject T;
        AddAt<T>(v, "author", F::TEXT, T::TEXT_SIZE, [](T &o) { return static_cast<void *>(o.m_szAuthor); });
        AddAt<T>(v, "description", F::TEXT, T::TEXT_SIZE, [](T &o) { return static_cast<void *>(o.m_szDescription); });
        AddAt<T>(v, "comment", F::TEXT, T::TEXT_SIZE, [](T &o) { return static_cast<void *>(o.m_szComment); });
        Add<T>(v, "regions", F::INT, &T::m_dwRegions);
        AddAt<T>(v, "email", F::TEXT, T::TEXT_SIZE, [](T &o) { return static_cast<void *>(o.m_szEmail); });
        AddAt<T>(v, "web", F::TEXT, T::TEXT_SIZE, [](T &o) { return static_cast<void *>(o.m_szWeb); });
        break;
    }
    case SKIN_KIND_SPIN: {
        typedef CSkinSpinObject T;
        AddControlHeader<T>(v);
        static const char *const blocks[] = {"normal", "hot", "pressed", "disabled"};
        for (int i = 0; i < T::BLOCK_COUNT; ++i) {
            AddAt<T>(v, std::string(blocks[i]) + ".up", F::PIECE, 72,
                     [i](T &o) { return static_cast<void *>(&o.m_blocks[i].up); });
            AddAt<T>(v, std::string(blocks[i]) + ".down", F::PIECE, 72,
                     [i](T &o) { return static_cast<void *>(&o.m_blocks[i].down); });
        }
        break;
    }
    default:
        break;
    }
    return v;
}

} // namespace

const std::vector<Field> &CSkinFieldTable::Fields(DWORD kind) {
    static std::map<DWORD, std::vector<Field>> cache;
    auto it = cache.find(kind);
    if (it == cache.end())
        it = cache.emplace(kind, Build(kind)).first;
    return it->second;
}

const Field *CSkinFieldTable::Find(DWORD kind, const std::string &name) {
    for (const Field &f : Fields(kind)) {
        if (f.name == name)
            return &f;
    }
    return nullptr;
}

bool CSkinFieldTable::KindFromName(const std::string &name, DWORD *kind) {
    const CSkinKindInfo *info = CSkinKinds::Find(name);
    if (info)
        *kind = info->kind;
    return info != nullptr;
}

const char *CSkinFieldTable::KindName(DWORD kind) {
    const CSkinKindInfo *info = CSkinKinds::Find(kind);
    return info ? info->name : nullptr;
}
