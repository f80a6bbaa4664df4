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

    // Why it could not be written to sPath; empty when it was.
    QString Save(const QString& sPath) const;
    // Nothing when sPath holds no image handed over whole.
    static std::optional<clsHandedImage> Load(const QString& sPath);
};
