#include "skin/SkinCaptionButtonObject.h"
#include "skin/SkinCheckObject.h"
#include "skin/SkinFrameObject.h"
#include "skin/SkinInfoObject.h"
#include "skin/SkinWriter.h"
#include "tools/skinc/SkinCanvas.h"
#include "tools/skinc/SkinDumper.h"
#include "tools/skinc/SkinFieldValue.h"
#include "tools/skinc/SkinSource.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>

namespace {

const char kSource[] = R"(# a small skin
minor 5
author "tester"
plain "Note"
object "Application" info
    key #00FF00
    description "with \"quotes\" and \\ and \x7F"
    regions 0
end
object "MainFrame" frame
    background #102030
    active.t "frame.bmp" 32 0 64 28 2
    placement.br 271 155 276 160
    caption-font "Tahoma" -13 700 #FFFFFF
    caption "Close"
        normal "caption.bmp" 0 0 21 18 0
        rect 250 5 271 23
        anchor 4
        action 1
    end
    child-kind 12
    menubar
        hover "menubar.bmp" 0 22 40 44  5 4 5 4  1
        normal-text #123456
        child.icon.pressed "mdi.bmp" 32 48 48 64 0
    end
end
object "Radio" radio
    block.6.color #ABCDEF
    value2 -1
end
)";

bool ParseText(const std::string &text, CSkinSource &source) {
    std::istringstream in(text);
    return source.Parse(in, {});
}

} // namespace

TEST(SkinSource, ReadsObjectsFieldsCaptionButtonsAndTheMenuBar) {
    CSkinSource source;
    ASSERT_TRUE(ParseText(kSource, source)) << source.GetError();
    EXPECT_EQ(5, source.GetMinor());
    EXPECT_EQ("tester", source.GetAuthor());
    const CSkin &skin = source.GetSkin();
    ASSERT_EQ(3u, skin.GetObjects().size());
    ASSERT_EQ(1u, skin.GetPlainRecords().size());

    auto *info = static_cast<CSkinInfoObject *>(skin.GetObjects().at("Application").get());
    EXPECT_EQ(RGB(0, 255, 0), info->m_crKey);
    EXPECT_STREQ("with \"quotes\" and \\ and \x7F", info->m_szDescription);
    EXPECT_EQ(0u, info->m_dwRegions);

    auto *frame = static_cast<CSkinFrameObject *>(skin.GetObjects().at("MainFrame").get());
    EXPECT_EQ(RGB(0x10, 0x20, 0x30), frame->m_crBackground);
    EXPECT_STREQ("frame.bmp", frame->m_framed.pieces[1].szImage);
    EXPECT_EQ(64, frame->m_framed.pieces[1].rcSource.right);
    EXPECT_EQ(2u, frame->m_framed.pieces[1].dwMode);
    EXPECT_EQ(271, frame->m_framed.placement[8].left);
    EXPECT_STREQ("Tahoma", frame->m_framed.captionFont.lf.lfFaceName);
    EXPECT_EQ(700, frame->m_framed.captionFont.lf.lfWeight);
    EXPECT_EQ(3, frame->m_framed.captionFont.lf.lfOutPrecision); // unnamed font fields keep their defaults
    ASSERT_EQ(2u, frame->GetChildren().size());
    auto *close = dynamic_cast<CSkinCaptionButtonObject *>(frame->FindChild("Close"));
    ASSERT_NE(nullptr, close);
    EXPECT_EQ(4u, close->m_dwAnchor);
    EXPECT_EQ(250, close->m_rect.left);
    EXPECT_EQ(12u, frame->GetChildren()[1].dwKind);
    EXPECT_EQ(5, frame->m_menuBar.m_hoverImage.rcMargins.left);
    EXPECT_EQ(1u, frame->m_menuBar.m_hoverImage.dwFillMode);
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), frame->m_menuBar.m_normalText.GetTextColor());
    EXPECT_EQ(48, frame->m_menuBar.m_childButtons[11].rcSource.right);

    auto *radio = static_cast<CSkinCheckObject *>(skin.GetObjects().at("Radio").get());
    EXPECT_EQ(SKIN_KIND_RADIO, radio->GetKind());
    EXPECT_EQ(RGB(0xAB, 0xCD, 0xEF), radio->m_blocks[6].color.GetTextColor());
    EXPECT_EQ(0xFFFFFFFFu, radio->m_dwValue2);
}

TEST(SkinSource, ReportsTheLineOfTheFirstError) {
    const struct {
        std::string text;
        const char *message;
    } cases[] = {
        {"object \"X\" button\n    nosuch 1\nend\n", ":2: no field nosuch in a button"},
        {"object \"X\" button\n    value3 abc\nend\n", ":2: value3: expected a number"},
        {"object \"X\" button\n    state.normal \"b.bmp\" 1 2 3\nend\n", ":2: state.normal: expected"},
        {"object \"X\" button\n", ":1: missing end"},
        {"object \"X\" image\nend\n", ":1: kind image is not an object kind"},
        {"object \"X\" 3\nend\n", ":1: kind 3 is not an object kind"},
        {"minor 6\n", ":1: minor version 1 to 5"},
        {"author \"open\n", ":1: unterminated quoted text"},
        {"image \"a.bmp\" missing.bmp\n", ":1: image file missing.bmp not found"},
        {"object \"X\" button\n    menubar\n    end\nend\n", ":2: no field menubar in a button"},
        {"object \"X\" static\n    text-field \"" + std::string(51, 'x') + "\"\nend\n", ":2: text-field: expected"},
    };
    for (const auto &c : cases) {
        CSkinSource source;
        EXPECT_FALSE(ParseText(c.text, source)) << c.text;
        EXPECT_NE(std::string::npos, source.GetError().find(c.message)) << source.GetError();
    }
}

TEST(SkinSource, ImagesMustDecode) {
    std::string folder = ::testing::TempDir();
    CSkinCanvas canvas(5, 3, RGB(1, 2, 3));
    ASSERT_TRUE(canvas.SaveBmp(folder + "/ok.bmp"));
    FILE *f = std::fopen((folder + "/bad.bmp").c_str(), "wb");
    ASSERT_NE(nullptr, f);
    std::fputs("BMnot really", f);
    std::fclose(f);

    CSkinSource good;
    std::istringstream in("image \"ok.bmp\" ok.bmp\n");
    ASSERT_TRUE(good.Parse(in, {folder})) << good.GetError();
    ASSERT_EQ(1u, good.GetSkin().GetImages().size());
    const CSkinImage *image = good.GetSkin().GetImages().begin()->second->GetImage();
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(5u, image->GetWidth());
    RGBQUAD pixel = image->GetPixelColor(4, 2);
    EXPECT_EQ(1, pixel.rgbRed);
    EXPECT_EQ(3, pixel.rgbBlue);

    CSkinSource bad;
    std::istringstream badIn("image \"bad.bmp\" bad.bmp\n");
    EXPECT_FALSE(bad.Parse(badIn, {folder}));
    EXPECT_NE(std::string::npos, bad.GetError().find("does not decode"));
}

TEST(SkinDumper, ADumpParsesBackIntoTheSameSkin) {
    CSkinSource source;
    ASSERT_TRUE(ParseText(kSource, source)) << source.GetError();
    CSkinWriter writer(source.GetMinor());
    writer.SetAuthor(source.GetAuthor().c_str());
    writer.AddSkin(source.GetSkin());
    CSkinImageObject image;
    image.SetName("art.bmp");
    std::vector<BYTE> bmp = CSkinCanvas(2, 3).ToBmp();
    ASSERT_TRUE(image.SetData(CSkinImage::FORMAT_BMP, bmp.data(), static_cast<DWORD>(bmp.size())));
    writer.AddImage(image);
    CSkinStream container;
    ASSERT_TRUE(writer.FinishContainer(container));
    CSkin read;
    ASSERT_TRUE(read.Read(container));

    std::ostringstream dump;
    CSkinDumper::Dump(read, dump);
    EXPECT_NE(std::string::npos, dump.str().find("caption \"Close\""));
    EXPECT_NE(std::string::npos, dump.str().find("child-kind 12"));
    EXPECT_NE(std::string::npos, dump.str().find("# image \"art.bmp\": format 0, 78 bytes, 2 x 3 x 24"));
    EXPECT_EQ(std::string::npos, dump.str().find("framed-background")); // defaults are left out

    CSkinSource again;
    ASSERT_TRUE(ParseText(dump.str(), again)) << again.GetError();
    CSkinWriter first(5), second(5);
    first.SetAuthor("tester");
    second.SetAuthor("tester");
    first.AddSkin(source.GetSkin());
    second.AddSkin(again.GetSkin());
    CSkinStream a, b;
    ASSERT_TRUE(first.FinishFile(a));
    ASSERT_TRUE(second.FinishFile(b));
    ASSERT_EQ(a.GetLength(), b.GetLength());
    EXPECT_EQ(0, std::memcmp(a.GetBuffer(), b.GetBuffer(), a.GetLength()));
}

TEST(SkinFieldValue, QuotesAndTokenizesTextsBackToTheSameBytes) {
    const char text[] = "tab\there \"q\" back\\slash \xB2\xE2";
    std::string quoted = CSkinFieldValue::Quote(text, sizeof text);
    std::vector<std::string> tokens;
    ASSERT_TRUE(CSkinFieldValue::Tokenize("name " + quoted + " 12", &tokens));
    ASSERT_EQ(3u, tokens.size());
    EXPECT_EQ(text, tokens[1]);
    EXPECT_EQ("12", tokens[2]);

    COLORREF color = 0;
    EXPECT_TRUE(CSkinFieldValue::ParseColor("#FF8000", &color));
    EXPECT_EQ(RGB(255, 128, 0), color);
    EXPECT_TRUE(CSkinFieldValue::ParseColor("0xFF00FF", &color));
    EXPECT_EQ(0xFF00FFu, color);
    EXPECT_FALSE(CSkinFieldValue::ParseColor("#FF80", &color));
    EXPECT_FALSE(CSkinFieldValue::ParseColor("#GG0000", &color));
    long long number = 0;
    EXPECT_FALSE(CSkinFieldValue::ParseNumber("12x", &number));
    EXPECT_TRUE(CSkinFieldValue::ParseNumber("-13", &number));
    EXPECT_EQ(-13, number);
}
