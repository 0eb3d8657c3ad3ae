#include "skin/Skin.h"
#include "skin/SkinButtonObject.h"
#include "skin/SkinCaptionButtonObject.h"
#include "skin/SkinContainer.h"
#include "skin/SkinControlObject.h"
#include "skin/SkinFrameObject.h"
#include "skin/SkinInfoObject.h"
#include "skin/SkinPopupMenuObject.h"
#include "skin/SkinScrollBarObject.h"
#include "skin/SkinToolBarObject.h"
#include "skin/SkinVersion.h"
#include "skin/SkinWriter.h"
#include "skin/SysColor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

std::unique_ptr<CSkinCaptionButtonObject> CaptionButton(const char *name, DWORD action) {
    auto button = std::make_unique<CSkinCaptionButtonObject>();
    button->SetName(name);
    button->m_dwAction = action;
    return button;
}

CSkinStream FileOf(CSkinWriter &writer) {
    CSkinStream file;
    EXPECT_TRUE(writer.FinishFile(file));
    return file;
}

// A small skin: info, a frame with two caption buttons, a dialog with one, a button, a tool bar, an image
// (encoded bytes that do not decode) and a plain record.
CSkinStream SampleFile(BYTE minor = 5) {
    CSkinWriter writer(minor);
    writer.SetAuthor("tests");
    CSkinInfoObject info;
    info.SetName("Application");
    writer.AddObject(info);
    CSkinButtonObject button;
    button.SetName("Button");
    writer.AddObject(button);
    CSkinFrameObject dialog;
    dialog.SetName("Dialog");
    dialog.AddChild(SKIN_KIND_CAPTION_BUTTON, CaptionButton("Close", 1));
    writer.AddObject(dialog);
    CSkinFrameObject frame;
    frame.SetName("MainFrame");
    frame.AddChild(SKIN_KIND_CAPTION_BUTTON, CaptionButton("Close", 7));
    frame.AddChild(SKIN_KIND_CAPTION_BUTTON, CaptionButton("Minimize", 4));
    frame.AddChild(12, nullptr);
    writer.AddObject(frame);
    CSkinToolBarObject toolbar;
    toolbar.SetName("ToolBar");
    writer.AddObject(toolbar);
    CSkinImageObject image;
    image.SetName("frame.bmp");
    const BYTE junk[] = {1, 2, 3};
    image.SetData(0, junk, sizeof junk);
    writer.AddImage(image);
    CSkinObject plain(SKIN_KIND_PLAIN);
    plain.SetName("Note");
    writer.AddPlain(plain);
    return FileOf(writer);
}

void ReplaceHeaderByte(CSkinStream &file, DWORD offset, BYTE value) {
    file.GetBuffer()[offset] = value;
}

} // namespace

TEST(SkinHeader, AcceptsOnlyVersionOneWithTheNineteenByteMagic) {
    CSkin skin;
    CSkinStream file = SampleFile();
    EXPECT_TRUE(skin.ReadFile(file));
    EXPECT_EQ(1, skin.GetMajorVersion());
    EXPECT_EQ(5, skin.GetMinorVersion());
    EXPECT_STREQ("tests", skin.GetAuthor());

    ReplaceHeaderByte(file, 19, 'X'); // only 19 bytes are compared
    EXPECT_TRUE(skin.ReadFile(file));

    for (BYTE major : {0, 2, 3, 255}) {
        CSkinStream other = SampleFile();
        ReplaceHeaderByte(other, 20, major);
        EXPECT_FALSE(skin.ReadFile(other)) << int(major);
        EXPECT_TRUE(skin.GetObjects().empty());
    }
    CSkinStream badMagic = SampleFile();
    ReplaceHeaderByte(badMagic, 18, 'f');
    EXPECT_FALSE(skin.ReadFile(badMagic));
}

TEST(SkinHeader, FewerThanAHeaderOfBytesIsRefused) {
    CSkinStream file = SampleFile();
    CSkinStream cut;
    cut.Create(file.GetBuffer(), CSkin::HEADER_SIZE - 1);
    CSkin skin;
    EXPECT_FALSE(skin.ReadFile(cut));
    cut.Create(file.GetBuffer(), CSkin::HEADER_SIZE);
    EXPECT_TRUE(skin.ReadFile(cut)); // the lists then simply end
    EXPECT_TRUE(skin.GetObjects().empty());
}

TEST(SkinRead, ContainerDeclaringOneByteMoreIsRefusedAndTheSkinStaysEmpty) {
    CSkinStream file = SampleFile();
    CSkinStream container;
    ASSERT_TRUE(CSkinContainer::Compress(file.GetBuffer(), file.GetLength(), container));
    CSkin skin;
    ASSERT_TRUE(skin.Read(container));
    EXPECT_EQ(5u, skin.GetObjects().size());

    DWORD declared = file.GetLength() + 1;
    std::memcpy(container.GetBuffer(), &declared, 4);
    EXPECT_FALSE(skin.Read(container));
    EXPECT_TRUE(skin.GetObjects().empty());
    EXPECT_EQ(nullptr, skin.FindObject("MainFrame"));
}

TEST(SkinFind, SearchesObjectsThenChildrenInNameOrderThenImagesThenPlainRecords) {
    CSkinStream file = SampleFile();
    CSkin skin;
    ASSERT_TRUE(skin.ReadFile(file));

    CSkinObject *frame = skin.FindObject("MainFrame");
    ASSERT_NE(nullptr, frame);
    EXPECT_EQ(SKIN_KIND_FRAME, frame->GetKind());
    EXPECT_EQ(SKIN_KIND_FRAME, skin.FindObject("Dialog")->GetKind());

    // "Dialog" comes before "MainFrame", so its "Close" wins.
    auto *close = dynamic_cast<CSkinCaptionButtonObject *>(skin.FindObject("Close"));
    ASSERT_NE(nullptr, close);
    EXPECT_EQ(1u, close->m_dwAction);
    auto *minimize = dynamic_cast<CSkinCaptionButtonObject *>(skin.FindObject("Minimize"));
    ASSERT_NE(nullptr, minimize);
    EXPECT_EQ(4u, minimize->m_dwAction);
    EXPECT_EQ(3u, frame->GetChildren().size());
    EXPECT_EQ(12u, frame->GetChildren()[2].dwKind);

    CSkinObject *image = skin.FindObject("frame.bmp");
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(SKIN_KIND_IMAGE, image->GetKind());
    EXPECT_EQ(nullptr, skin.FindImage("frame.bmp")); // three bytes are no bitmap
    CSkinObject *note = skin.FindObject("Note");
    ASSERT_NE(nullptr, note);
    EXPECT_EQ(SKIN_KIND_PLAIN, note->GetKind());

    EXPECT_EQ(nullptr, skin.FindObject("mainframe")); // case-sensitive
    EXPECT_EQ(nullptr, skin.FindObject(nullptr));
    EXPECT_EQ(nullptr, skin.FindImage(nullptr));
}

TEST(SkinFind, ByKindTakesTheFirstInNameOrderAndAnswersControlBarsWithTheToolBar) {
    CSkinStream file = SampleFile();
    CSkin skin;
    ASSERT_TRUE(skin.ReadFile(file));
    EXPECT_STREQ("Dialog", skin.FindObjectByKind(SKIN_KIND_FRAME)->GetName());
    EXPECT_STREQ("ToolBar", skin.FindObjectByKind(SKIN_KIND_CONTROLBAR)->GetName());
    EXPECT_STREQ("Application", skin.FindObjectByKind(SKIN_KIND_INFO)->GetName());
    EXPECT_EQ(nullptr, skin.FindObjectByKind(SKIN_KIND_SPIN));
    EXPECT_EQ(nullptr, skin.FindObjectByKind(SKIN_KIND_CAPTION_BUTTON)); // children are not searched
}

TEST(SkinRead, TheLaterOfTwoSameNamedObjectsIsFound) {
    CSkinWriter writer;
    CSkinButtonObject first, second;
    first.SetName("Button");
    first.m_dwValue1 = 1;
    second.SetName("Button");
    second.m_dwValue1 = 2;
    writer.AddObject(first);
    writer.AddObject(second);
    CSkinStream file = FileOf(writer);
    CSkin skin;
    ASSERT_TRUE(skin.ReadFile(file));
    ASSERT_EQ(1u, skin.GetObjects().size());
    EXPECT_EQ(2u, static_cast<CSkinButtonObject *>(skin.FindObject("Button"))->m_dwValue1);
}

TEST(SkinRead, ChildrenOfEqualNameKeepTheFirst) {
    CSkinWriter writer;
    CSkinFrameObject frame;
    frame.SetName("MainFrame");
    frame.AddChild(SKIN_KIND_CAPTION_BUTTON, CaptionButton("Close", 1));
    frame.AddChild(SKIN_KIND_CAPTION_BUTTON, CaptionButton("Close", 5));
    writer.AddObject(frame);
    CSkinStream file = FileOf(writer);
    CSkin skin;
    ASSERT_TRUE(skin.ReadFile(file));
    EXPECT_EQ(1u, static_cast<CSkinCaptionButtonObject *>(skin.FindObject("Close"))->m_dwAction);
}

TEST(SkinRead, UnknownKindsCountAsOneRecordWithNothingAfterThem) {
    CSkinWriter writer;
    writer.AddRawKind(99);
    writer.AddRawKind(SKIN_KIND_CAPTION_BUTTON); // only table kinds are objects at the top level
    CSkinButtonObject button;
    button.SetName("Button");
    button.m_dwValue3 = 77;
    writer.AddObject(button);
    CSkinObject plain(SKIN_KIND_PLAIN);
    plain.SetName("After");
    writer.AddPlain(plain);
    CSkinStream file = FileOf(writer);
    CSkin skin;
    ASSERT_TRUE(skin.ReadFile(file));
    ASSERT_EQ(1u, skin.GetObjects().size());
    EXPECT_EQ(77u, static_cast<CSkinButtonObject *>(skin.FindObject("Button"))->m_dwValue3);
    EXPECT_NE(nullptr, skin.FindObject("After"));
}

TEST(SkinRead, AfterAnUnknownKindTheRecordsAreReadOutOfStep) {
    // An unknown kind followed by a record: the first four bytes of that record's name become the next kind.
    CSkinWriter writer;
    writer.AddRawKind(99);
    CSkinObject disguised(SKIN_KIND_PLAIN);
    disguised.m_szName[0] = SKIN_KIND_BUTTON; // "\x04\0\0\0" reads as kind 4
    writer.AddPlain(disguised);
    CSkinStream file = FileOf(writer);
    // Move the plain list's record into the object list: header count 2, then [99][19][record...].
    CSkinStream bytes;
    bytes.Write(file.GetBuffer(), CSkin::HEADER_SIZE + 4); // header + the raw kind
    DWORD imageCountAt = CSkin::HEADER_SIZE + 4;
    const BYTE *plainList = file.GetBuffer() + imageCountAt + 8;        // image count 0, plain count 1
    bytes.Write(plainList + 4, file.GetLength() - (imageCountAt + 12)); // the record without its kind
    bytes.GetBuffer()[176] = 2;
    CSkin skin;
    ASSERT_TRUE(skin.ReadFile(bytes));
    ASSERT_EQ(1u, skin.GetObjects().size());
    EXPECT_EQ(SKIN_KIND_BUTTON, skin.GetObjects().begin()->second->GetKind());
}

TEST(SkinRead, HostileCountsStopAtTheEndOfTheFile) {
    CSkinStream file = SampleFile();
    DWORD huge = 0x7FFFFFFF;
    std::memcpy(file.GetBuffer() + 176, &huge, 4);
    // The image count and plain count are now read as object kinds; all lists end with the stream.
    auto start = std::chrono::steady_clock::now();
    CSkin skin;
    ASSERT_TRUE(skin.ReadFile(file));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_NE(nullptr, skin.FindObject("MainFrame"));

    // A child count and an image count of two billion in a short file.
    CSkinWriter writer;
    CSkinFrameObject frame;
    frame.SetName("MainFrame");
    frame.AddChild(SKIN_KIND_CAPTION_BUTTON, CaptionButton("Close", 1));
    writer.AddObject(frame);
    CSkinStream many = FileOf(writer);
    const DWORD childCountAt = CSkin::HEADER_SIZE + 4 + 118;
    std::memcpy(many.GetBuffer() + childCountAt, &huge, 4);
    std::memcpy(many.GetBuffer() + many.GetLength() - 8, &huge, 4);
    start = std::chrono::steady_clock::now();
    ASSERT_TRUE(skin.ReadFile(many));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    ASSERT_NE(nullptr, skin.FindObject("MainFrame"));
    // The rest of the file became four-byte children: no more entries than it has words.
    EXPECT_LE(skin.FindObject("MainFrame")->GetChildren().size(), many.GetLength() / 4);
}

TEST(SkinRead, ImageLengthBeyondTheFileTakesOnlyWhatIsThere) {
    CSkinWriter writer;
    CSkinImageObject image;
    image.SetName("big.bmp");
    const BYTE bytes[] = {'B', 'M', 0, 0, 0, 0};
    image.SetData(0, bytes, sizeof bytes);
    writer.AddImage(image);
    CSkinStream file = FileOf(writer);
    // The image list is last but one; its length field follows name, colours, name, value and child count.
    const DWORD lengthAt = CSkin::HEADER_SIZE + 4 + 4 + 122;
    DWORD claimed = 0x7FFFFFF0;
    std::memcpy(file.GetBuffer() + lengthAt, &claimed, 4);
    CSkin skin;
    ASSERT_TRUE(skin.ReadFile(file));
    auto *stored = dynamic_cast<CSkinImageObject *>(skin.FindObject("big.bmp"));
    ASSERT_NE(nullptr, stored);
    EXPECT_EQ(claimed, stored->GetDeclaredLength());
    EXPECT_EQ(sizeof bytes + 4u, stored->GetData().size()); // the image bytes and the plain count after them
    EXPECT_EQ(nullptr, skin.FindImage("big.bmp"));
}

TEST(SkinRead, DeeplyNestedCaptionButtonsStopTheRead) {
    auto outer = std::make_unique<CSkinFrameObject>();
    outer->SetName("MainFrame");
    std::unique_ptr<CSkinObject> chain = CaptionButton("level", 0);
    for (int i = 0; i < 40; ++i) {
        auto parent = CaptionButton("level", 0);
        parent->AddChild(SKIN_KIND_CAPTION_BUTTON, std::move(chain));
        chain = std::move(parent);
    }
    outer->AddChild(SKIN_KIND_CAPTION_BUTTON, std::move(chain));
    CSkinWriter writer;
    writer.AddObject(*outer);
    CSkinObject plain(SKIN_KIND_PLAIN);
    plain.SetName("Later");
    writer.AddPlain(plain);
    CSkinStream file = FileOf(writer);
    CSkin skin;
    ASSERT_TRUE(skin.ReadFile(file));
    int depth = 0;
    const CSkinObject *node = skin.FindObject("MainFrame");
    while (node != nullptr && !node->GetChildren().empty()) {
        node = node->GetChildren()[0].object.get();
        ++depth;
    }
    EXPECT_LT(depth, 41);
    EXPECT_EQ(nullptr, skin.FindObject("Later")); // everything after the limit is dropped
}

TEST(SkinRead, MinorVersionOneHasNoLaterFieldsAndTheGlobalsAreResetAfterwards) {
    CSkinWriter writer(1);
    CSkinInfoObject info;
    info.SetName("Application");
    std::strcpy(info.m_szAuthor, "author");
    std::strcpy(info.m_szEmail, "mail");
    info.m_dwRegions = 0;
    writer.AddObject(info);
    CSkinFrameObject frame;
    frame.SetName("MainFrame");
    frame.m_framed.rcExtra = RECT{1, 2, 3, 4};
    frame.m_framed.crBackground = 0x123456;
    frame.m_menuBar.m_childButtons[0].rcSource.right = 9;
    frame.m_menuBar.m_background.dwFillMode = 3;
    frame.m_menuBar.m_crOpenFill = 0x654321;
    writer.AddObject(frame);
    CSkinPopupMenuObject popup;
    popup.SetName("PopupMenu");
    popup.m_check.dwMode = 1;
    popup.m_submenuArrow.dwMode = 2;
    writer.AddObject(popup);
    CSkinToolBarObject toolbar;
    toolbar.SetName("ToolBar");
    toolbar.m_header.color.SetTextColor(0xABCDEF);
    toolbar.m_header.dwValue = 5;
    toolbar.m_buttons[4].dwFillMode = 6;
    writer.AddObject(toolbar);
    CSkinStream file = FileOf(writer);

    CSkin skin;
    ASSERT_TRUE(skin.ReadFile(file));
    EXPECT_EQ(1, skin.GetMinorVersion());
    EXPECT_EQ(1, g_nSkinMajorVersion);
    EXPECT_EQ(5, g_nSkinMinorVersion);

    auto *readInfo = static_cast<CSkinInfoObject *>(skin.FindObject("Application"));
    EXPECT_STREQ("author", readInfo->m_szAuthor);
    EXPECT_EQ(0u, readInfo->m_dwRegions);
    EXPECT_STREQ("", readInfo->m_szEmail);
    auto *readFrame = static_cast<CSkinFrameObject *>(skin.FindObject("MainFrame"));
    EXPECT_EQ(0x123456u, readFrame->m_framed.crBackground);
    EXPECT_EQ(0, readFrame->m_framed.rcExtra.right);
    EXPECT_EQ(0x654321u, readFrame->m_menuBar.m_crOpenFill);
    EXPECT_EQ(0, readFrame->m_menuBar.m_childButtons[0].rcSource.right);
    EXPECT_EQ(0u, readFrame->m_menuBar.m_background.dwFillMode);
    auto *readPopup = static_cast<CSkinPopupMenuObject *>(skin.FindObject("PopupMenu"));
    EXPECT_EQ(2u, readPopup->m_submenuArrow.dwMode);
    EXPECT_EQ(0u, readPopup->m_check.dwMode);
    auto *readToolbar = static_cast<CSkinToolBarObject *>(skin.FindObject("ToolBar"));
    EXPECT_EQ(0u, readToolbar->m_header.color.GetTextColor());
    EXPECT_EQ(0u, readToolbar->m_header.dwValue);
    EXPECT_EQ(6u, readToolbar->m_buttons[4].dwFillMode); // still in step after the shorter header
}

TEST(SkinRead, AFileEndingInsideARecordLeavesTheRestAtItsDefaults) {
    CSkinWriter writer;
    CSkinScrollBarObject scroll;
    scroll.SetName("ScrollBar");
    scroll.m_crBackground = 0x010203;
    for (DWORD &v : scroll.m_values)
        v = 0xDEAD;
    writer.AddObject(scroll);
    CSkinStream file = FileOf(writer);
    // Keep the kind, the name and the background colour.
    CSkinStream cut;
    cut.Create(file.GetBuffer(), CSkin::HEADER_SIZE + 4 + 51 + 4);
    CSkin skin;
    ASSERT_TRUE(skin.ReadFile(cut));
    auto *read = static_cast<CSkinScrollBarObject *>(skin.FindObject("ScrollBar"));
    ASSERT_NE(nullptr, read);
    EXPECT_EQ(0x010203u, read->m_crBackground);
    EXPECT_EQ(CSysColor::Get(CSysColor::WINDOWTEXT), read->m_crText);
    EXPECT_EQ(255u, read->m_crKey);
    EXPECT_EQ(100u, read->m_values[1]);
    EXPECT_EQ(10u, read->m_values[4]);
    EXPECT_EQ(-12, read->m_header.font.lf.lfHeight);
    EXPECT_STREQ("Arial", read->m_header.font.lf.lfFaceName);
}

TEST(SkinRead, TextFieldsWithoutANulEndAtTheirField) {
    CSkinWriter writer;
    CSkinObject plain(SKIN_KIND_PLAIN);
    std::memset(plain.m_szName, 'n', CSkinObject::NAME_SIZE);
    writer.AddPlain(plain);
    CSkinStream file = FileOf(writer);
    CSkin skin;
    ASSERT_TRUE(skin.ReadFile(file));
    ASSERT_EQ(1u, skin.GetPlainRecords().size());
    EXPECT_EQ(std::string(51, 'n'), skin.GetPlainRecords().begin()->first);
}

// Image names that fill their whole 50-byte field end inside it once loaded, in pieces and in image references, so
// that looking the image up never reads into the rest of the record.
TEST(SkinRead, ImageNamesFillingTheirFieldEndInsideIt) {
    CSkinWriter writer;
    CSkinFrameObject frame;
    frame.SetName("MainFrame");
    for (SkinPiece &piece : frame.m_framed.pieces) {
        std::memset(piece.szImage, 'p', sizeof piece.szImage);
        std::memset(piece.reserved, 'r', sizeof piece.reserved);
    }
    writer.AddObject(frame);
    CSkinToolBarObject toolbar;
    toolbar.SetName("ToolBar");
    for (SkinImageRef &ref : toolbar.m_buttons) {
        std::memset(ref.szImage, 'i', sizeof ref.szImage);
        std::memset(ref.reserved, 'r', sizeof ref.reserved);
    }
    std::memset(toolbar.m_header.frame.szImage, 'f', sizeof toolbar.m_header.frame.szImage);
    writer.AddObject(toolbar);
    CSkinStream file = FileOf(writer);
    CSkin skin;
    ASSERT_TRUE(skin.ReadFile(file));

    auto *loadedFrame = static_cast<CSkinFrameObject *>(skin.FindObject("MainFrame"));
    ASSERT_NE(nullptr, loadedFrame);
    for (const SkinPiece &piece : loadedFrame->m_framed.pieces)
        EXPECT_EQ(std::string(SKIN_IMAGE_NAME_SIZE - 1, 'p'), piece.szImage);
    auto *loadedBar = static_cast<CSkinToolBarObject *>(skin.FindObject("ToolBar"));
    ASSERT_NE(nullptr, loadedBar);
    for (const SkinImageRef &ref : loadedBar->m_buttons)
        EXPECT_EQ(std::string(SKIN_IMAGE_NAME_SIZE - 1, 'i'), ref.szImage);
    EXPECT_EQ(std::string(SKIN_IMAGE_NAME_SIZE - 1, 'f'), loadedBar->m_header.frame.szImage);
    EXPECT_EQ(nullptr, skin.FindImage(loadedFrame->m_framed.pieces[0].szImage));
}

namespace {

// A 2048 x 2048 8-bit run-length BMP that ends at once: about 1 KB stored, 4 MB decoded.
std::vector<BYTE> TinyHugeBmp() {
    std::vector<BYTE> bmp(14 + 40 + 1024 + 2, 0);
    auto put32 = [&](size_t at, DWORD v) { std::memcpy(&bmp[at], &v, 4); };
    auto put16 = [&](size_t at, WORD v) { std::memcpy(&bmp[at], &v, 2); };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, static_cast<DWORD>(bmp.size()));
    put32(10, 14 + 40 + 1024);
    put32(14, 40);
    put32(18, 2048);
    put32(22, 2048);
    put16(26, 1);
    put16(28, 8);
    put32(30, 1); // BI_RLE8
    bmp[bmp.size() - 1] = 1; // end of bitmap
    return bmp;
}

CSkinStream SkinWithHugeImages(int count) {
    CSkinWriter writer;
    const std::vector<BYTE> bmp = TinyHugeBmp();
    for (int i = 0; i < count; ++i) {
        CSkinImageObject image;
        image.SetName(("image" + std::to_string(i) + ".bmp").c_str());
        EXPECT_TRUE(image.SetData(CSkinImage::FORMAT_BMP, bmp.data(), static_cast<DWORD>(bmp.size())));
        writer.AddImage(image);
    }
    CSkinFrameObject frame;
    frame.SetName("MainFrame");
    writer.AddObject(frame);
    return FileOf(writer);
}

} // namespace

// One skin's decoded images are capped: 15 images of 4 MB load, 17 are refused with a reason and leave the skin
// empty, although each image alone is well inside the per-image cap.
TEST(SkinRead, DecodedImagesOfOneSkinAreCapped) {
    CSkin skin;
    CSkinStream fits = SkinWithHugeImages(15);
    ASSERT_TRUE(skin.ReadFile(fits));
    EXPECT_EQ(15u, skin.GetImages().size());
    EXPECT_STREQ("", skin.GetError());

    CSkinStream tooMuch = SkinWithHugeImages(17);
    EXPECT_FALSE(skin.ReadFile(tooMuch));
    EXPECT_STREQ("the skin's images need more than 64 MB of memory", skin.GetError());
    EXPECT_TRUE(skin.GetImages().empty());
    EXPECT_TRUE(skin.GetObjects().empty());
    EXPECT_EQ(nullptr, skin.FindObject("MainFrame"));
}
