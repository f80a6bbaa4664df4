#pragma once

#include <QString>

#include <functional>

class QWidget;

// The "FATAL ERROR" message boxes of the main window.
namespace mdlErrorBox {

// Shows sText with the stop icon and OK, and waits until it is closed. With
// a Help button (any iTopic but mdlErrorTable::iNoHelp), oShowHelp gets
// iTopic at every click and the box stays open; the box blocks only
// oParent's window, so the help can be read beside it. The box carries iTopic as its property
// "helpTopic".
void Show(QWidget* oParent, const QString& sText, int iTopic,
          const std::function<void(int)>& oShowHelp);

} // namespace mdlErrorBox
