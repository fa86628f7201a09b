#pragma once

#include "platform/Seam.h"

#include <QFileDialog>
#include <QString>
#include <QStringList>

namespace brivanto::platform {

struct FileDialogRequest
{
    QString title;
    QStringList filters;      // "Immagini JPEG (*.jpg)" and the like, first one selected
    QString initialName;      // file name (or full path) proposed in the dialog
    QString defaultExtension; // appended when the user types a name without one ("jpg")
    bool askBeforeReplacing = true;
};

// Open-file and save-file dialogs; an empty result means the user cancelled.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    virtual QString openFile(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual QString saveFile(QWidget* parent, const FileDialogRequest& request) = 0;
    static FileDialogs& real();
};

using Dialogs = Seam<FileDialogs>;

// Sets up the toolkit's dialog for `request` as the program shows it, ready to run. A filter
// "(*.*)" lists every file, names without a dot too, and keeps its text.
void prepareFileDialog(QFileDialog& dialog, const FileDialogRequest& request, QFileDialog::AcceptMode mode);

} // namespace brivanto::platform
