#pragma once

#include "platform/clsHelpViewer.h"

#include <QString>

#include <functional>

class QWidget;

// The "FATAL ERROR" message boxes of the main window.
namespace mdlErrorBox {

// A Help button that opens the help's contents rather than a topic.
constexpr int iContents = clsHelpViewer::iContents;
// No Help button: the box of an unforeseen error.
constexpr int iNoHelp = -2;

// Shows sText with the stop icon and OK, and waits until it is closed. With
// a Help button, oShowHelp gets iTopic at every click and the box stays
// open; the box blocks only oParent's window, so the help can be read
// beside it. The box carries iTopic as its property "helpTopic".
void Show(QWidget* oParent, const QString& sText, int iTopic,
          const std::function<void(int)>& oShowHelp);

} // namespace mdlErrorBox
