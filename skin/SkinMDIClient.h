// The client area of a skinned multiple-document frame: its background drawn from the frame object, and its
// document windows brought under the frame's skin.
#pragma once

#include <windows.h>

#include "skin/SkinWnd.h"

class CSkinFrameWnd;

class CSkinMDIClient : public CSkinWnd {
public:
    explicit CSkinMDIClient(CSkinFrameWnd *pFrame);
    ~CSkinMDIClient() override;

    BOOL Attach(HWND hWnd) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The frame that holds the client area (looked up: it may go first at the end of the process).
    CSkinFrameWnd *GetFrame() const;
    // The active document window and whether it is maximised.
    HWND GetActiveChild(BOOL *pbMaximized = nullptr) const;
    // Attaches a document window as a skinned frame with the owning frame's object (nothing if it has one).
    void AttachDocumentWindow(HWND hChild);

private:
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    LRESULT OnMDICreate(WPARAM wParam, LPARAM lParam);

    HWND m_hFrame;
};
