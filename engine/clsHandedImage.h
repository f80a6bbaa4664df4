#pragma once

#include "engine/clsOpenedFiles.h"
#include "engine/clsPreparedUpload.h"

#include <optional>

// An image one program prepared, handed in a file to another that uploads
// it: what the preparation made, and the files as they were opened, so that
// the uploading program reads neither file and records the files the image
// was made from.
struct clsHandedImage {
    clsPreparedUpload oPrepared;
    clsOpenedFiles oFiles;

    // As Load reads it.
    QByteArray Bytes() const;
    // Nothing, with sWhy, when sPath holds no image handed over whole: read
    // only from an ordinary file no larger than the largest image.
    static std::optional<clsHandedImage> Load(const QString& sPath, QString& sWhy);
};
