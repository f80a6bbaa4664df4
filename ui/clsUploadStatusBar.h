#pragma once

#include "engine/clsUploadSequence.h"
#include "engine/clsUploadSummary.h"

#include <QElapsedTimer>
#include <QStatusBar>
#include <QTimer>

#include <optional>

class QLabel;
class QProgressBar;
class clsApplication;

// The main window's status bar, beside its specified controls: while the
// records go, how many of all went, the percentage and the time left, the
// figures of the CLI's progress line; at the end, the time the upload took
// and the image's checksum, or that the board holds part of the image.
class clsUploadStatusBar : public QStatusBar {
    Q_OBJECT

public:
    clsUploadStatusBar(clsApplication& oNewApp, clsUploadSequence& oSequence,
                       QWidget* oParent = nullptr);

private:
    void OnStarted();
    void TakeSummary();
    void OnWritingBegan();
    void ShowProgress();
    void OnFinished(const clsUploadSequence::Outcome& oOutcome);

    clsApplication& oApp;
    QProgressBar* prgUpload;
    QLabel* lblUploadEnd;
    QTimer oRefresh;
    QElapsedTimer oSinceWritingBegan;
    std::optional<clsUploadSummary> oSummary;
};
