#pragma once

#include "ui/mdlHelpSections.h"

#include <QTextCursor>
#include <QWidget>

class QLineEdit;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

// The help window: a help page with its contents beside it and a search
// box above them.
class frmHelp : public QWidget {
    Q_OBJECT

public:
    explicit frmHelp(QWidget* oParent = nullptr);

    // Shows the page in sFile, a readable file, at the section of topic
    // iTopic, or from its top for clsHelpViewer::iContents.
    void Open(const QString& sFile, int iTopic);

private:
    void LayOut();
    void FillContents();
    void lstContents_Click(const QTreeWidgetItem* oItem);
    void txtSearch_Change();
    void txtSearch_Enter();
    // The nearest place after oFrom that holds one of the words; null for none.
    QTextCursor NextPlace(const QTextCursor& oFrom) const;
    // Shows oItem when its section or one below it holds every word; true
    // when shown.
    bool Filter(QTreeWidgetItem& oItem, const QStringList& asWords) const;
    void Highlight(const QStringList& asWords);
    QStringList SearchWords() const;
    const mdlHelpSections::Section& SectionOf(const QTreeWidgetItem* oItem) const;

    QTextBrowser* txtHelpPage;
    QTreeWidget* lstContents;
    QLineEdit* txtSearch;
    QList<mdlHelpSections::Section> aSections;
};
