#include "ui/frmHelp.h"

#include "platform/clsHelpViewer.h"
#include "resources/mdlResources.h"

#include <QHeaderView>
#include <QIcon>
#include <QLineEdit>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace {

constexpr int iSectionRole = Qt::UserRole;

QTextEdit::ExtraSelection Marked(const QTextCursor& oFound) {
    QTextEdit::ExtraSelection oMark;
    oMark.cursor = oFound;
    oMark.format.setBackground(QColor(255, 230, 110));
    return oMark;
}

// Names oItem's section, the chapters in bold.
void Label(QTreeWidgetItem& oItem, const QString& sTitle, int iSection, bool bChapter) {
    oItem.setText(0, sTitle);
    oItem.setData(0, iSectionRole, iSection);
    QFont oFont = oItem.font(0);
    oFont.setBold(bChapter);
    oItem.setFont(0, oFont);
}

} // namespace

frmHelp::frmHelp(QWidget* oParent)
    : QWidget(oParent, Qt::Window), txtHelpPage(new QTextBrowser), lstContents(new QTreeWidget),
      txtSearch(new QLineEdit) {
    setWindowTitle(mdlResources::WindowTitle() + QStringLiteral(" Help"));
    setWindowIcon(QIcon(mdlResources::IconPath(QStringLiteral("QUELLIS_ICON"))));
    // Help left open must not keep the program running without its main window.
    setAttribute(Qt::WA_QuitOnClose, false);
    LayOut();

    connect(txtHelpPage, &QTextBrowser::sourceChanged, this, &frmHelp::FillContents);
    connect(lstContents, &QTreeWidget::currentItemChanged, this, &frmHelp::lstContents_Click);
    connect(lstContents, &QTreeWidget::itemClicked, this, &frmHelp::lstContents_Click);
    connect(txtSearch, &QLineEdit::textChanged, this, &frmHelp::txtSearch_Change);
    connect(txtSearch, &QLineEdit::returnPressed, this, &frmHelp::txtSearch_Enter);
    // Closed as help windows close, whichever part has the focus.
    for (const QKeySequence& oKeys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        connect(new QShortcut(oKeys, this), &QShortcut::activated, this, &QWidget::close);
    }
}

void frmHelp::LayOut() {
    txtHelpPage->setObjectName(QStringLiteral("txtHelpPage"));
    lstContents->setObjectName(QStringLiteral("lstContents"));
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setPlaceholderText(QStringLiteral("Search"));
    txtSearch->setClearButtonEnabled(true);
    lstContents->header()->hide();
    lstContents->setRootIsDecorated(false);

    auto* oSide = new QWidget;
    auto* oSideLayout = new QVBoxLayout(oSide);
    oSideLayout->setContentsMargins(0, 0, 0, 0);
    oSideLayout->addWidget(txtSearch);
    oSideLayout->addWidget(lstContents);
    auto* oSplitter = new QSplitter;
    oSplitter->addWidget(oSide);
    oSplitter->addWidget(txtHelpPage);
    oSplitter->setStretchFactor(1, 1);
    oSplitter->setSizes({330, 650});
    (new QVBoxLayout(this))->addWidget(oSplitter);
    resize(980, 680);
}

void frmHelp::Open(const QString& sFile, int iTopic) {
    // A source set again shows the page from its top all the same.
    txtHelpPage->setSource(QUrl::fromLocalFile(sFile));
    lstContents->setCurrentItem(nullptr);
    if (iTopic == clsHelpViewer::iContents) {
        return;
    }
    // The topic asked for stands in the contents whatever was searched before.
    txtSearch->clear();
    const QString sAnchor = QStringLiteral("topic-%1").arg(iTopic);
    txtHelpPage->scrollToAnchor(sAnchor);
    for (QTreeWidgetItemIterator oItem(lstContents); *oItem != nullptr; ++oItem) {
        if (SectionOf(*oItem).sAnchor == sAnchor) {
            lstContents->setCurrentItem(*oItem);
        }
    }
}

void frmHelp::FillContents() {
    aSections = mdlHelpSections::Read(*txtHelpPage->document());
    lstContents->clear();
    QTreeWidgetItem* oChapter = nullptr;
    for (int iSection = 0; iSection < aSections.size(); ++iSection) {
        const bool bChapter =
            oChapter == nullptr || aSections.at(iSection).iLevel == aSections.first().iLevel;
        auto* oItem = bChapter ? new QTreeWidgetItem(lstContents) : new QTreeWidgetItem(oChapter);
        Label(*oItem, aSections.at(iSection).sTitle, iSection, bChapter);
        oChapter = bChapter ? oItem : oChapter;
    }
    lstContents->expandAll();
    txtSearch_Change();
}

void frmHelp::lstContents_Click(const QTreeWidgetItem* oItem) {
    if (oItem != nullptr) {
        txtHelpPage->scrollToAnchor(SectionOf(oItem).sAnchor);
    }
}

// Lists only the sections that hold every word typed, with the chapters
// they belong to, and marks the words on the page.
void frmHelp::txtSearch_Change() {
    const QStringList asWords = SearchWords();
    for (int iChapter = 0; iChapter < lstContents->topLevelItemCount(); ++iChapter) {
        Filter(*lstContents->topLevelItem(iChapter), asWords);
    }
    Highlight(asWords);
}

// Selects the next place on the page that holds one of the words, from the
// top again after the last.
void frmHelp::txtSearch_Enter() {
    QTextCursor oNext = NextPlace(txtHelpPage->textCursor());
    if (oNext.isNull()) {
        oNext = NextPlace(QTextCursor(txtHelpPage->document()));
    }
    if (!oNext.isNull()) {
        txtHelpPage->setTextCursor(oNext);
    }
}

QTextCursor frmHelp::NextPlace(const QTextCursor& oFrom) const {
    QTextCursor oNearest;
    for (const QString& sWord : SearchWords()) {
        const QTextCursor oFound = txtHelpPage->document()->find(sWord, oFrom);
        if (!oFound.isNull() && (oNearest.isNull() || oFound.position() < oNearest.position())) {
            oNearest = oFound;
        }
    }
    return oNearest;
}

bool frmHelp::Filter(QTreeWidgetItem& oItem, const QStringList& asWords) const {
    bool bShown = mdlHelpSections::Holds(SectionOf(&oItem), asWords);
    for (int iChild = 0; iChild < oItem.childCount(); ++iChild) {
        bShown = Filter(*oItem.child(iChild), asWords) || bShown;
    }
    oItem.setHidden(!bShown);
    return bShown;
}

void frmHelp::Highlight(const QStringList& asWords) {
    QList<QTextEdit::ExtraSelection> aMarks;
    const QTextDocument& oPage = *txtHelpPage->document();
    for (const QString& sWord : asWords) {
        for (QTextCursor oFound = oPage.find(sWord); !oFound.isNull();
             oFound = oPage.find(sWord, oFound)) {
            aMarks.append(Marked(oFound));
        }
    }
    txtHelpPage->setExtraSelections(aMarks);
}

QStringList frmHelp::SearchWords() const {
    return txtSearch->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

const mdlHelpSections::Section& frmHelp::SectionOf(const QTreeWidgetItem* oItem) const {
    return aSections.at(oItem->data(0, iSectionRole).toInt());
}
