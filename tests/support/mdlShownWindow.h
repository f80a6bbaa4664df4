#pragma once

#include <QApplication>
#include <QWidget>

// The windows a program shows, found as any top-level window is.
namespace mdlShownWindow {

// The first top-level window of class T; none when there is none.
template <typename T> T* Find() {
    for (QWidget* pWidget : QApplication::topLevelWidgets()) {
        if (auto* pWindow = qobject_cast<T*>(pWidget)) {
            return pWindow;
        }
    }
    return nullptr;
}

} // namespace mdlShownWindow
