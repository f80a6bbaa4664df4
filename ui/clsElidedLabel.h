#pragma once

#include <QLabel>

// A label for a name that may be longer than its box: the name elided in
// the middle, so that its start and its end both show, a note after it,
// and both whole in the tooltip. Its caption never grows a layout.
class clsElidedLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

    void SetName(const QString& sNewName, const QString& sNewNote);

protected:
    void resizeEvent(QResizeEvent* oEvent) override;

private:
    void Elide();

    QString sName;
    QString sNote;
};
