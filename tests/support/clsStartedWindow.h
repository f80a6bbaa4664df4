#pragma once

#include "engine/clsApplication.h"
#include "ui/frmMain.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

// The main window as a technician starts it: the application object reset,
// the window loaded as it shows; the window goes first, as at the end.
struct clsStartedWindow {
    clsStartedWindow() {
        oApp.Reset();
        oWindow.Attach(oApp);
        oWindow.show();
    }
    ~clsStartedWindow() { delete &oWindow; }
    clsStartedWindow(const clsStartedWindow&) = delete;
    clsStartedWindow& operator=(const clsStartedWindow&) = delete;
    template <typename T> T* Find(const char* sName) {
        return oWindow.findChild<T*>(QLatin1String(sName));
    }
    QPushButton* Button(const char* sName) { return Find<QPushButton>(sName); }
    // The status log as its box shows it, lines joined by LF.
    QString Log() { return Find<QPlainTextEdit>("txtStatus")->toPlainText(); }
    // sPath typed into the path box, and Enter pressed when bEnter.
    void Type(const QString& sPath, bool bEnter) {
        auto* oPath = Find<QLineEdit>("txtAppFilePath");
        oPath->setText(sPath);
        if (bEnter) {
            QTest::keyClick(oPath, Qt::Key_Return);
        }
    }

    frmMain& oWindow = *new frmMain;
    clsApplication oApp{oWindow};
};
