#pragma once

#include <QString>

// The text of the status log: lines joined by CR LF, the newest last, with
// no separator after it. Each append returns what it added to the text.
class clsStatusText {
public:
    QString AppendLine(const QString& sStatusLine);
    QString AppendWaitDots();
    void Clear() { sText.clear(); }
    const QString& Text() const { return sText; }

private:
    QString sText;
};
