#pragma once

#include <QObject>

#include <functional>

// F1 anywhere in the program: the help at the topic of the box in front, as
// its property "helpTopic" names it (the error boxes carry theirs), or at
// the contents where the window in front has none.
class clsHelpKey : public QObject {
public:
    // oNewShowHelp gets the topic, or clsHelpViewer::iContents.
    clsHelpKey(std::function<void(int)> oNewShowHelp, QObject* oParent);

protected:
    bool eventFilter(QObject* oWatched, QEvent* oEvent) override;

private:
    std::function<void(int)> oShowHelp;
};
