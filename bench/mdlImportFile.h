#pragma once

#include "records/clsFlashImage.h"

#include <QString>

namespace mdlImportFile {

// Reads an application file line by line through the file table and places
// every record into oImage, as image preparation does; raises what the
// codec or the image raises. Returns the number of lines.
qint32 ImportFile(const QString& sPath, clsFlashImage& oImage);

} // namespace mdlImportFile
