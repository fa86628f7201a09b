#pragma once

#include <QString>

namespace brivanto {

enum class PhotoDisposal
{
    Trash,      // in the desktop's trash, where the file manager can restore it
    KeptFolder, // in the photo folder's "Eliminate" folder
    Failed      // still where it was
};

// Moves the photo of a deleted record to the desktop's trash (the freedesktop trash of the user's
// data folder), or, where that trash cannot take it, into `keepFolder` under its own name (a
// number is added when that name is taken). The file keeps its name, which should be the one it
// had in the photo folder, so that the user recognises it.
PhotoDisposal disposeOfDeletedPhoto(const QString& path, const QString& keepFolder);

} // namespace brivanto
