// A named skin object: the common object header, its caption-button children and the record of its kind.
#pragma once

#include "platform/WinCompat.h"
#include "skin/SkinArchive.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

enum SkinKind : DWORD {
    SKIN_KIND_FRAME = 1,
    SKIN_KIND_PANEL = 2,
    SKIN_KIND_CAPTION_BUTTON = 3,
    SKIN_KIND_BUTTON = 4,
    SKIN_KIND_CHECKBOX = 5,
    SKIN_KIND_COMBOBOX = 6,
    SKIN_KIND_GROUPBOX = 8,
    SKIN_KIND_PROGRESS = 10,
    SKIN_KIND_RADIO = 11,
    SKIN_KIND_SCROLLBAR = 12,
    SKIN_KIND_SLIDER = 13,
    SKIN_KIND_STATIC = 14,
    SKIN_KIND_STATUSBAR = 15,
    SKIN_KIND_TAB = 16,
    SKIN_KIND_POPUPMENU = 17,
    SKIN_KIND_IMAGE = 18,
    SKIN_KIND_PLAIN = 19,
    SKIN_KIND_MENUBAR = 20,
    SKIN_KIND_TOOLBAR = 23,
    SKIN_KIND_CONTROLBAR = 24,
    SKIN_KIND_INFO = 25,
    SKIN_KIND_SCROLLCONTROL = 26,
    SKIN_KIND_SPIN = 27,
};

class CSkinObject {
public:
    enum : DWORD { NAME_SIZE = 51, TEXT_SIZE = 51 };
    enum : COLORREF { TRANSPARENT_COLOR = 0xFF00FF };

    // One stored child: its kind and, for caption buttons, the record.
    struct Child {
        DWORD dwKind;
        std::unique_ptr<CSkinObject> object;
    };

    explicit CSkinObject(DWORD kind);
    virtual ~CSkinObject();
    CSkinObject(const CSkinObject &) = delete;
    CSkinObject &operator=(const CSkinObject &) = delete;

    // A new object of a stored kind with its defaults, or null for a kind without a record layout.
    static std::unique_ptr<CSkinObject> Create(DWORD kind);

    DWORD GetKind() const { return m_nKind; }
    const char *GetName() const { return m_szName; }
    void SetName(const char *name);
    COLORREF GetTransparentColor() const { return TRANSPARENT_COLOR; }

    // The object header (with its children) and then the record of the kind.
    void Transfer(CSkinArchive &archive);

    // Children in stored order; the child table keeps the first of equal names.
    const std::vector<Child> &GetChildren() const { return m_children; }
    void AddChild(DWORD kind, std::unique_ptr<CSkinObject> object);
    CSkinObject *FindChild(const std::string &name) const;
    // The named children (caption buttons) in name order.
    const std::map<std::string, CSkinObject *> &GetChildTable() const { return m_childTable; }

    // Object header.
    char m_szName[NAME_SIZE + 1];
    COLORREF m_crBackground;
    COLORREF m_crText;
    COLORREF m_crKey;
    char m_szName2[NAME_SIZE + 1];
    DWORD m_dwValue;

protected:
    virtual void TransferRecord(CSkinArchive &archive);

private:
    void TransferChildren(CSkinArchive &archive);

    DWORD m_nKind;
    std::vector<Child> m_children;
    std::map<std::string, CSkinObject *> m_childTable;
};
