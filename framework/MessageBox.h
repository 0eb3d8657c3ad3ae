// The framework's message boxes, with a seam through which tests capture them instead of showing them.
#pragma once

#include <windows.h>
#include <functional>
#include <string>

class CMessageBox {
public:
    typedef std::function<int(const std::string &text, UINT type)> Handler;

    // Shows text with the application's title over its main window; returns the button pressed.
    static int Show(const std::string &text, UINT type = MB_OK);
    // Replaces how messages are shown (an empty handler restores the real box); returns the previous handler.
    static Handler SetHandler(Handler handler);

private:
    static Handler &Current();
};

inline int AfxMessageBox(const std::string &text, UINT type = MB_OK) {
    return CMessageBox::Show(text, type);
}
