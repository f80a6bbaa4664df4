#pragma once

#include "tests/support/clsRecordingHost.h"

#include <QTimer>

#include <functional>

// A host that uploads as the window does: the 2000 ms reply timer and an
// answer to the overwrite warning; its reset does nothing.
class clsUploadingHost : public clsRecordingHost {
public:
    clsUploadingHost() {
        oReplyTimer.setTimerType(Qt::PreciseTimer);
        oReplyTimer.setSingleShot(true);
        oReplyTimer.setInterval(2000);
    }

    void SetReplyTimer(bool bOn) override { bOn ? oReplyTimer.start() : oReplyTimer.stop(); }
    bool ConfirmOverwrite(const QString&) override {
        if (oWhileAsking) {
            oWhileAsking();
        }
        return bConfirm;
    }
    void FilesOpened(const QString&) override {
        if (oOnFilesOpened) {
            oOnFilesOpened();
        }
    }
    void EnableResetCommand() override { bResetEnabled = true; }

    QTimer oReplyTimer;
    bool bConfirm = true;
    // What happens while the question is open.
    std::function<void()> oWhileAsking;
    // What happens once the files are open, before anything in them is read.
    std::function<void()> oOnFilesOpened;
    bool bResetEnabled = false;
};
