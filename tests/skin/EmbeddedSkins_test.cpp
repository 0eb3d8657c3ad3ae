// Loads each skin the build compiled and checks its object set, the art it cuts from and its text contrast.
#include "skin/Skin.h"
#include "skin/SkinButtonObject.h"
#include "skin/SkinCaptionButtonObject.h"
#include "skin/SkinArchive.h"
#include "skin/SkinCheckObject.h"
#include "skin/SkinContainer.h"
#include "skin/SkinFrameObject.h"
#include "skin/SkinPopupMenuObject.h"
#include "skin/SkinStatusBarObject.h"
#include "skin/SkinVersion.h"
#include "tools/skinc/SkinFieldTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

struct Expected {
    const char *file;
    int minor;
    std::map<std::string, DWORD> objects;
};

const std::map<std::string, DWORD> kFull = {
    {"Application", 25}, {"MainFrame", 1},  {"Dialog", 1},   {"PopupMenu", 17},     {"Button", 4},     {"CheckBox", 5},
    {"Radio", 11},       {"GroupBox", 8},   {"ComboBox", 6}, {"ProgressBar", 10},   {"ScrollBar", 12}, {"Slider", 13},
    {"Static", 14},      {"StatusBar", 15}, {"ToolBar", 23}, {"ScrollControl", 26}, {"Spin", 27}};
const std::map<std::string, DWORD> kCompact = {
    {"Application", 25}, {"MainFrame", 1}, {"PopupMenu", 17}, {"StatusBar", 15}, {"ToolBar", 23}};

const Expected kSkins[] = {
    {"CORONA", 5, kFull}, {"DEVIOR", 5, kFull}, {"FUTURAIII", 5, kFull}, {"KROMO", 5, kFull}, {"XPSTEEL", 1, kCompact}};

bool Load(const std::string &name, CSkin &skin) {
    std::ifstream in(std::string(QX_SKIN_DIR) + "/" + name + ".skin", std::ios::binary);
    std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CSkinStream stream;
    return stream.Create(bytes.data(), static_cast<DWORD>(bytes.size())) && skin.Read(stream);
}

double Luminance(COLORREF c) {
    auto lin = [](int v) {
        double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(GetRValue(c)) + 0.7152 * lin(GetGValue(c)) + 0.0722 * lin(GetBValue(c));
}

double Contrast(COLORREF a, COLORREF b) {
    double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The mean colour of a rectangle of a skin image, leaving out the transparent colour.
COLORREF Mean(CSkin &skin, const char *image, const RECT &rc) {
    const CSkinImage *picture = skin.FindImage(image);
    if (picture == nullptr)
        return 0;
    long r = 0, g = 0, b = 0, n = 0;
    for (LONG y = rc.top; y < rc.bottom; ++y) {
        for (LONG x = rc.left; x < rc.right; ++x) {
            RGBQUAD q = picture->GetPixelColor(x, y);
            if (q.rgbRed == 255 && q.rgbGreen == 0 && q.rgbBlue == 255)
                continue;
            r += q.rgbRed, g += q.rgbGreen, b += q.rgbBlue, ++n;
        }
    }
    return n == 0 ? 0 : RGB(r / n, g / n, b / n);
}

template <class T> COLORREF Mean(CSkin &skin, const T &element) {
    return Mean(skin, element.szImage, element.rcSource);
}

} // namespace

TEST(EmbeddedSkins, HoldTheirObjectSetKindsAndVersion) {
    for (const Expected &expected : kSkins) {
        SCOPED_TRACE(expected.file);
        CSkin skin;
        ASSERT_TRUE(Load(expected.file, skin));
        EXPECT_EQ(expected.minor, skin.GetMinorVersion());
        std::map<std::string, DWORD> found;
        for (const auto &entry : skin.GetObjects())
            found[entry.first] = entry.second->GetKind();
        EXPECT_EQ(expected.objects, found);
        EXPECT_EQ(expected.objects.size(), skin.GetDeclaredObjectCount());
        EXPECT_STREQ("ToolBar", skin.FindObjectByKind(SKIN_KIND_CONTROLBAR)->GetName());
        EXPECT_EQ(SKIN_KIND_FRAME, skin.FindObject("MainFrame")->GetKind());

        // Caption buttons: close, maximise/restore, minimise and the system menu, found by name.
        auto *close = dynamic_cast<CSkinCaptionButtonObject *>(skin.FindObject("Close"));
        ASSERT_NE(nullptr, close);
        EXPECT_EQ(CSkinCaptionButtonObject::ACTION_CLOSE, close->m_dwAction);
        auto *frame = static_cast<CSkinFrameObject *>(skin.FindObject("MainFrame"));
        std::set<DWORD> actions;
        for (const auto &child : frame->GetChildren()) {
            auto *button = dynamic_cast<CSkinCaptionButtonObject *>(child.object.get());
            ASSERT_NE(nullptr, button);
            actions.insert(button->m_dwAction);
            EXPECT_NE(0, button->m_hover.rcSource.right);
            EXPECT_NE(0, button->m_pressed.rcSource.right);
        }
        EXPECT_EQ((std::set<DWORD>{1, 3, 4, 5}), actions);
    }
}

TEST(EmbeddedSkins, StoreTheirObjectsInNameOrderApplicationFirst) {
    for (const Expected &expected : kSkins) {
        SCOPED_TRACE(expected.file);
        std::ifstream in(std::string(QX_SKIN_DIR) + "/" + expected.file + ".skin", std::ios::binary);
        std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        CSkinStream container, file;
        ASSERT_TRUE(container.Create(bytes.data(), static_cast<DWORD>(bytes.size())));
        ASSERT_TRUE(CSkinContainer::Decompress(container, file));
        file.Rewind();
        CSkin::FileHeader header;
        ASSERT_EQ(CSkin::HEADER_SIZE, file.Read(&header, CSkin::HEADER_SIZE));
        // Walk the object list in stored order with the file's own layout version.
        CSkinArchive archive(file, CSkinArchive::LOADING, header.minor);
        std::vector<std::string> names;
        for (DWORD i = 0; i < header.objectCount; ++i) {
            DWORD kind = 0;
            archive.Value(kind);
            auto object = CSkinObject::Create(kind);
            ASSERT_NE(nullptr, object);
            object->Transfer(archive);
            names.push_back(object->GetName());
        }
        ASSERT_FALSE(names.empty());
        EXPECT_EQ("Application", names.front());
        EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    }
}

TEST(EmbeddedSkins, EveryPieceCutsFromADecodedImageInsideItsBounds) {
    for (const Expected &expected : kSkins) {
        SCOPED_TRACE(expected.file);
        CSkin skin;
        ASSERT_TRUE(Load(expected.file, skin));
        for (const auto &entry : skin.GetImages())
            EXPECT_NE(nullptr, entry.second->GetImage()) << entry.first;
        std::vector<CSkinObject *> objects;
        for (const auto &entry : skin.GetObjects()) {
            objects.push_back(entry.second.get());
            for (const auto &child : entry.second->GetChildren())
                objects.push_back(child.object.get());
            if (entry.second->GetKind() == SKIN_KIND_FRAME)
                objects.push_back(&static_cast<CSkinFrameObject *>(entry.second.get())->m_menuBar);
        }
        int checked = 0;
        for (CSkinObject *object : objects) {
            for (const CSkinFieldTable::Field &field : CSkinFieldTable::Fields(object->GetKind())) {
                if (field.type != CSkinFieldTable::PIECE && field.type != CSkinFieldTable::IMAGE_REF)
                    continue;
                // Both records start with the image name and the source rectangle.
                const SkinPiece &cut = *static_cast<const SkinPiece *>(field.at(*object));
                if (cut.szImage[0] == '\0')
                    continue;
                const CSkinImage *image = skin.FindImage(cut.szImage);
                ASSERT_NE(nullptr, image) << object->GetName() << "." << field.name;
                EXPECT_TRUE(cut.rcSource.left >= 0 && cut.rcSource.top >= 0 && cut.rcSource.left < cut.rcSource.right &&
                            cut.rcSource.top < cut.rcSource.bottom &&
                            cut.rcSource.right <= static_cast<LONG>(image->GetWidth()) &&
                            cut.rcSource.bottom <= static_cast<LONG>(image->GetHeight()))
                    << object->GetName() << "." << field.name;
                ++checked;
            }
        }
        EXPECT_GT(checked, 30);
    }
}

TEST(EmbeddedSkins, TextStaysReadableOnItsArtwork) {
    for (const Expected &expected : kSkins) {
        SCOPED_TRACE(expected.file);
        CSkin skin;
        ASSERT_TRUE(Load(expected.file, skin));
        auto *frame = static_cast<CSkinFrameObject *>(skin.FindObject("MainFrame"));
        // Caption text is bold and large: the large-text threshold.
        EXPECT_GE(Contrast(frame->m_framed.captionFont.crText, Mean(skin, frame->m_framed.pieces[1])), 3.0);
        // One caption colour serves both states, so the inactive caption must carry it too.
        EXPECT_GE(Contrast(frame->m_framed.captionFont.crText,
                           Mean(skin, frame->m_framed.pieces[SkinFramedRecord::INACTIVE + 1])),
                  3.0);
        const CSkinMenuBarObject &bar = frame->m_menuBar;
        EXPECT_GE(Contrast(bar.m_normalText.GetTextColor(), bar.m_crBackground), 4.5);
        EXPECT_GE(Contrast(bar.m_hoverText.GetTextColor(), Mean(skin, bar.m_hoverImage)), 4.5);
        EXPECT_GE(Contrast(bar.m_openText.GetTextColor(), Mean(skin, bar.m_openImage)), 4.5);
        auto *popup = static_cast<CSkinPopupMenuObject *>(skin.FindObject("PopupMenu"));
        EXPECT_GE(Contrast(popup->m_normalText.GetTextColor(), Mean(skin, popup->m_framed.pieces[4])), 4.5);
        EXPECT_GE(Contrast(popup->m_highlightText.GetTextColor(), Mean(skin, popup->m_selection)), 4.5);
        auto *status = static_cast<CSkinStatusBarObject *>(skin.FindObject("StatusBar"));
        EXPECT_GE(Contrast(status->m_header.font.crText, Mean(skin, status->m_pane)), 4.5);
        if (expected.minor < 5)
            continue;
        auto *button = static_cast<CSkinButtonObject *>(skin.FindObject("Button"));
        for (int s = 0; s < CSkinButtonObject::STATE_DISABLED; ++s)
            EXPECT_GE(Contrast(button->m_font.crText, Mean(skin, button->m_states[s].image)), 4.5) << s;
        auto *check = static_cast<CSkinCheckObject *>(skin.FindObject("CheckBox"));
        EXPECT_GE(Contrast(check->m_blocks[0].color.GetTextColor(), Mean(skin, check->m_blocks[0].background)), 4.5);
        EXPECT_GE(Contrast(check->m_header.font.crText, check->m_crBackground), 4.5);
        auto *dialog = static_cast<CSkinFrameObject *>(skin.FindObject("Dialog"));
        EXPECT_GE(Contrast(dialog->m_framed.captionFont.crText, Mean(skin, dialog->m_framed.pieces[1])), 3.0);
    }
}
