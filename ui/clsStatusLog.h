#pragma once

#include "engine/clsStatusText.h"

#include <QElapsedTimer>

class QPlainTextEdit;

// The status log shown in a text box. Every line and dot is on screen as
// soon as it is written, without running pending events: an event handled
// here could tear down objects that the writer is still using. Repaints
// are throttled because one costs far more than a dot.
class clsStatusLog {
public:
    explicit clsStatusLog(QPlainTextEdit& oNewBox);

    void AppendLine(const QString& sStatusLine);
    void AppendWaitDots();
    void Clear();

private:
    void Show(const QString& sAdded);

    QPlainTextEdit& oBox;
    clsStatusText oText;
    QElapsedTimer oSinceRepaint;
};
