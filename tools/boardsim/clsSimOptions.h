#pragma once

#include "tools/boardsim/clsFaultPlan.h"

#include <QString>
#include <QStringList>

// The simulator's command line.
struct clsSimOptions {
    quint8 yTarget = 0;
    quint8 yAnnounce = 0; // the byte the board announces itself with
    QString sLink;
    qint32 lDelayMs = 300;
    bool bOnEnter = false;
    quint8 yFill = 0xFF;
    qint32 lLingerMs = 500;
    qint32 lTimeoutSeconds = 600;
    QString sSummary; // empty: standard output
    QString sFlash;   // empty: not written
    bool bPace = false;
    qint32 lBoards = 1;
    clsFaultPlan oFaults;

    // Reads asArguments, the program's name first. --help prints the help
    // and ends the program; false with sProblem when they cannot be used.
    bool Parse(const QStringList& asArguments, QString& sProblem);
};
