// What a new frame needs to build its view: the document it shows and how to make the view.
#pragma once

#include <functional>

class CDocument;
class CFrameWnd;
class CMultiDocTemplate;
class CView;

class CCreateContext {
public:
    CDocument *m_pCurrentDoc = nullptr;
    CMultiDocTemplate *m_pNewDocTemplate = nullptr;
    std::function<CView *()> m_newView;
};
