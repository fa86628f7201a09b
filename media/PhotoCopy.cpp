#include "media/PhotoCopy.h"

#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"

#include <QFileInfo>

namespace brivanto {

bool savePhotoCopy(QWidget* parent, const Photo& photo)
{
    platform::FileDialogRequest request;
    request.title = QStringLiteral("Selezionare la cartella in cui si desidera salvare il file Jpeg.");
    request.filters = QStringList{QStringLiteral("File Jpeg (*.jpg)")};
    request.initialName = QStringLiteral("Foto.jpg");
    request.defaultExtension = QStringLiteral("jpg");
    request.askBeforeReplacing = true;
    QString chosen = platform::Dialogs::current().saveFile(parent, request);
    if (chosen.isEmpty())
        return false;
    if (QFileInfo(chosen).suffix().isEmpty())
        chosen += QStringLiteral(".jpg");
    if (writePhotoCopy(chosen, photo))
        return true;
    platform::warning(parent,
                      QStringLiteral("Attenzione: non \u00E8 stato possibile salvare la foto nel file "
                                     "indicato.\r\n\r\nAccertarsi che il nome del file sia valido e di "
                                     "possedere i privilegi di scrittura nella cartella scelta."));
    return false;
}

} // namespace brivanto
