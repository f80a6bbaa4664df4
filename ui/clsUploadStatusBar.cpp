#include "ui/clsUploadStatusBar.h"

#include "engine/clsApplication.h"
#include "engine/clsUploadProgress.h"
#include "engine/mdlTextUtil.h"

#include <QLabel>
#include <QProgressBar>

namespace {

// As often as the CLI draws its progress line.
constexpr int lRefreshMs = 250;

} // namespace

clsUploadStatusBar::clsUploadStatusBar(clsApplication& oNewApp, clsUploadSequence& oSequence,
                                       QWidget* oParent)
    : QStatusBar(oParent), oApp(oNewApp), prgUpload(new QProgressBar(this)),
      lblUploadEnd(new QLabel(this)) {
    setObjectName(QStringLiteral("staUpload"));
    // The window has a fixed size.
    setSizeGripEnabled(false);
    prgUpload->setObjectName(QStringLiteral("prgUpload"));
    prgUpload->setRange(0, 100);
    prgUpload->hide();
    addWidget(prgUpload, 1);
    lblUploadEnd->setObjectName(QStringLiteral("lblUploadEnd"));
    addWidget(lblUploadEnd, 1);
    oRefresh.setInterval(lRefreshMs);
    connect(&oRefresh, &QTimer::timeout, this, &clsUploadStatusBar::ShowProgress);
    connect(&oSequence, &clsUploadSequence::Started, this, &clsUploadStatusBar::OnStarted);
    connect(&oSequence, &clsUploadSequence::FilesRead, this, &clsUploadStatusBar::TakeSummary);
    connect(&oSequence, &clsUploadSequence::WritingBegan, this,
            &clsUploadStatusBar::OnWritingBegan);
    connect(&oSequence, &clsUploadSequence::Finished, this, &clsUploadStatusBar::OnFinished);
}

void clsUploadStatusBar::OnStarted() {
    lblUploadEnd->clear();
    prgUpload->hide();
}

// Before the board's dialogue, which uses up the sectors to erase.
void clsUploadStatusBar::TakeSummary() {
    oSummary = clsUploadSummary::Of(oApp);
}

void clsUploadStatusBar::OnWritingBegan() {
    oSinceWritingBegan.start();
    oRefresh.start();
}

// The records' progress only: erasing has no share of its own in it.
void clsUploadStatusBar::ShowProgress() {
    if (!oSummary || oApp.AppState() != clsApplication::Uploading) {
        return;
    }
    const clsUploadProgress oNow = clsUploadProgress::At(*oSummary, oApp.RecordCount());
    prgUpload->setValue(oNow.Percent());
    prgUpload->setFormat(QStringLiteral("%1/%2 records, %p%, %3 left")
                             .arg(oNow.lRecordsSent)
                             .arg(oNow.lRecordsToSend)
                             .arg(mdlTextUtil::Duration(qint64(oNow.dSecondsLeft * 1000))));
    // The bar takes the whole width.
    lblUploadEnd->hide();
    prgUpload->show();
}

void clsUploadStatusBar::OnFinished(const clsUploadSequence::Outcome& oOutcome) {
    oRefresh.stop();
    prgUpload->hide();
    lblUploadEnd->show();
    if (oOutcome.LeftIncomplete()) {
        lblUploadEnd->setText(clsUploadSequence::Outcome::IncompleteWarning());
    } else if (oOutcome.oEnding == clsUploadSequence::eEnding::Complete) {
        lblUploadEnd->setText(QStringLiteral("Upload took %1; image checksum 0x%2.")
                                  .arg(mdlTextUtil::Duration(oSinceWritingBegan.elapsed()))
                                  .arg(QString::number(oOutcome.oImageCheckSum.value_or(0), 16)
                                           .toUpper()
                                           .rightJustified(2, u'0')));
    }
}
