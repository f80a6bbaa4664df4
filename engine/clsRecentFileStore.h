#pragma once

#include <QStringList>

class clsApplication;

// The recent-file list in the settings store: values "1", "2", ... of the
// key "Recent Files", "1" the newest. Failures of the store are skipped
// step by step: an unreadable list reads as empty, an unwritable one stays
// as it was. Copies of the program add one at a time.
class clsRecentFileStore {
public:
    explicit clsRecentFileStore(clsApplication& oNewApp) : oApp(oNewApp) {}

    // Every stored path from "1" up to the first missing or empty value.
    QStringList List();
    // Puts sPath first and moves "1" to "3" down one place; "4" is lost.
    void Add(const QString& sPath);

private:
    void OpenKey(bool bCreate);
    // The text value sName; empty when it is missing or unreadable.
    QString Read(int iName) const;

    clsApplication& oApp;
};
