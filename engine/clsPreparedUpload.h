#pragma once

#include "records/clsFlashImage.h"

#include <QList>
#include <QString>

// What preparing an application file and its command file made of them:
// enough to upload the very same image to further boards without reading
// the files again, whatever has become of them meanwhile.
struct clsPreparedUpload {
    // The application file, for the names the upload shows.
    QString sRecFile;
    quint8 yTargetID = 0;
    quint8 yFillValue = 0;
    // In command-file order.
    QList<qint16> aiSectors;
    clsFlashImage oImage;
};
