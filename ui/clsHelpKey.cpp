#include "ui/clsHelpKey.h"

#include "engine/mdlErrorTable.h"

#include <QKeyEvent>
#include <QWidget>

clsHelpKey::clsHelpKey(std::function<void(int)> oNewShowHelp, QObject* oParent)
    : QObject(oParent), oShowHelp(std::move(oNewShowHelp)) {}

// A key goes to the platform's window before the widget with the focus:
// the widget's delivery is the one taken.
bool clsHelpKey::eventFilter(QObject* oWatched, QEvent* oEvent) {
    if (oEvent->type() != QEvent::KeyPress || !oWatched->isWidgetType() ||
        !static_cast<QKeyEvent*>(oEvent)->matches(QKeySequence::HelpContents)) {
        return false;
    }
    const QWidget* oWindow = static_cast<QWidget*>(oWatched)->window();
    const QVariant vTopic = oWindow->property("helpTopic");
    const bool bTopic = vTopic.isValid() && vTopic.toInt() != mdlErrorTable::iNoHelp;
    oShowHelp(bTopic ? vTopic.toInt() : mdlErrorTable::iContents);
    return true;
}
