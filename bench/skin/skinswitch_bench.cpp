// What the skin engine's own work costs under Wine: a full skin switch of the console's main frame with three trace
// windows open (reading the skin, re-applying it to every skinned window and repainting), and the window region of a
// 1024 x 768 frame image built from its pixels.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "bench/common/ConsoleBenchWindow.h"
#include "bench/common/Stats.h"
#include "platform/ClientDC.h"
#include "platform/Handle.h"
#include "platform/SelectObject.h"
#include "skin/Skin.h"
#include "skin/SkinEngine.h"
#include "skin/SkinFrameLayout.h"
#include "skin/SkinFrameObject.h"
#include "skin/SkinRegistry.h"
#include "skin/SkinStream.h"
#include "skin/controls/SkinDraw.h"

namespace {

double MillisecondsPer(int count, std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count() / count;
}

// Lets the windows paint what the switch invalidated.
void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// The main frame of the current skin drawn at 1024 x 768: its border parts over the transparent colour, as the frame's
// region is cut from them.
CBitmap FrameImage(LONG width, LONG height) {
    CScreenDC screen;
    CBitmap bitmap(::CreateCompatibleBitmap(screen, width, height));
    CDC dc(::CreateCompatibleDC(screen));
    CSkinFrameObject *frame =
        dynamic_cast<CSkinFrameObject *>(CSkinRegistry::Instance().GetSkin().FindObject("MainFrame"));
    if (!bitmap.IsValid() || !dc.IsValid() || !frame)
        return CBitmap();
    CSelectObject select(dc, bitmap);
    RECT parts[SkinFramedRecord::PART_COUNT];
    CSkinFrameLayout::LayoutParts(frame->m_framed, width, height, parts);
    for (int i = 0; i < SkinFramedRecord::PART_COUNT; ++i)
        DrawPiece(dc, parts[i], frame->m_framed.pieces[i], RGB(255, 0, 255), TRUE);
    return bitmap;
}

} // namespace

int main() {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    CConsoleBenchApp app;
    CMainFrame *frame = app.OpenSkinnedConsoleWindow();
    if (!frame)
        return 1;
    app.OnFileNew();
    app.OnFileNew();
    if (!SkinAttachFrame(frame->m_hWnd, "MainFrame")) {
        std::printf("the main frame could not be skinned\n");
        return 1;
    }
    ::SetWindowPos(frame->m_hWnd, nullptr, 0, 0, 1000, 700, SWP_NOMOVE | SWP_NOZORDER);
    Pump();

    const char *const skins[] = {"DEVIOR", "futuraIII", "Kromo", "corona", "xpsteel"};
    for (const char *name : skins) // each skin once, so that first-use costs are not measured
        SkinLoadResource(instance, name, "SKINWEAVE");
    Pump();
    const size_t windows = CSkinRegistry::Instance().GetWindowCount();
    const int kSwitches = 50;
    // Each switch and each repaint is timed by itself: the medians are the figures (this machine's speed under Wine
    // varies by a third from minute to minute), the means are printed beside them.
    std::vector<double> switches, repaints;
    for (int i = 0; i < kSwitches; ++i) {
        const auto start = std::chrono::steady_clock::now();
        SkinLoadResource(instance, skins[i % 5], "SKINWEAVE");
        Pump();
        switches.push_back(MillisecondsPer(1, start));
    }
    // The baseline: the same windows painted anew, frames and all, without any change of skin. Most of it is the
    // system's own list and header controls.
    for (int i = 0; i < kSwitches; ++i) {
        const auto start = std::chrono::steady_clock::now();
        ::RedrawWindow(frame->m_hWnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        repaints.push_back(MillisecondsPer(1, start));
    }
    const double perSwitch = Median(switches), repaint = Median(repaints);
    std::printf("%-52s %9.2f ms  (goal under 50 ms; median of %d, mean %.2f ms; %zu skinned windows)\n",
                "skin switch, main frame and three trace windows", perSwitch, kSwitches, Mean(switches), windows);
    for (int k = 0; k < 5; ++k) {
        std::vector<double> into;
        for (int i = k; i < kSwitches; i += 5)
            into.push_back(switches[i]);
        std::printf("  into %-47s %9.2f ms  (median)\n", skins[k], Median(into));
    }
    std::printf("%-52s %9.2f ms  (median, mean %.2f ms; a switch costs %.2fx a full repaint)\n",
                "full repaint of the same windows, no switch", repaint, Mean(repaints),
                repaint > 0 ? perSwitch / repaint : 0.0);

    // Where a switch spends its time: reading the skin, re-applying it to the windows, painting what that invalidated.
    double read = 0, install = 0, paint = 0;
    for (int i = 0; i < kSwitches; ++i) {
        HRSRC hFound = ::FindResourceA(instance, skins[i % 5], "SKINWEAVE");
        const void *pBytes = ::LockResource(::LoadResource(instance, hFound));
        auto t0 = std::chrono::steady_clock::now();
        CSkinStream stream;
        stream.Create(pBytes, ::SizeofResource(instance, hFound), CSkinStream::DEFAULT_GROWTH);
        std::unique_ptr<CSkin> pSkin(new CSkin);
        pSkin->Read(stream);
        auto t1 = std::chrono::steady_clock::now();
        CSkinRegistry::Instance().InstallSkin(std::move(pSkin));
        auto t2 = std::chrono::steady_clock::now();
        Pump();
        auto t3 = std::chrono::steady_clock::now();
        read += std::chrono::duration<double, std::milli>(t1 - t0).count();
        install += std::chrono::duration<double, std::milli>(t2 - t1).count();
        paint += std::chrono::duration<double, std::milli>(t3 - t2).count();
    }
    std::printf("%-52s %9.2f ms reading, %.2f ms re-applying, %.2f ms painting\n", "  of which", read / kSwitches,
                install / kSwitches, paint / kSwitches);

    SkinLoadResource(instance, "DEVIOR", "SKINWEAVE");
    CBitmap image = FrameImage(1024, 768);
    if (!image.IsValid()) {
        std::printf("no frame image\n");
        return 1;
    }
    const int kRegions = 20;
    long rects = 0;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRegions; ++i) {
        CRgn region = RegionFromBitmap(image, RGB(255, 0, 255));
        rects = static_cast<long>(::GetRegionData(region, 0, nullptr) - sizeof(RGNDATAHEADER)) /
                static_cast<long>(sizeof(RECT));
    }
    std::printf("%-52s %9.2f ms  (%d regions of %ld rectangles)\n", "RegionFromBitmap, 1024 x 768 frame image",
                MillisecondsPer(kRegions, start), kRegions, rects);
    ::DestroyWindow(frame->m_hWnd);
    SkinEngineExit();
    return 0;
}
