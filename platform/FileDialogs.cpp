#include "platform/FileDialogs.h"

#include <QFileDialog>

namespace brivanto::platform {
namespace {

// "Immagine JPEG (*.jpg; *.jpeg)": the toolkit separates patterns by blanks only, so a pattern
// followed by a semicolon would match no file.
QStringList toolkitFilters(const QStringList& filters)
{
    QStringList result;
    for (QString filter : filters) {
        const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
        if (open >= 0)
            filter =
                filter.left(open) + filter.mid(open).replace(QLatin1Char(';'), QLatin1Char(' ')).simplified();
        result.append(filter);
    }
    return result;
}

class QtFileDialogs final : public FileDialogs
{
public:
    QString openFile(QWidget* parent, const FileDialogRequest& request) override
    {
        return run(parent, request, QFileDialog::AcceptOpen);
    }
    QString saveFile(QWidget* parent, const FileDialogRequest& request) override
    {
        return run(parent, request, QFileDialog::AcceptSave);
    }

private:
    static QString run(QWidget* parent, const FileDialogRequest& request, QFileDialog::AcceptMode mode)
    {
        QFileDialog dialog(parent, request.title);
        dialog.setAcceptMode(mode);
        dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                           : QFileDialog::AnyFile);
        dialog.setNameFilters(toolkitFilters(request.filters));
        dialog.setDefaultSuffix(request.defaultExtension);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.askBeforeReplacing);
        if (!request.initialName.isEmpty())
            dialog.selectFile(request.initialName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }
};

} // namespace

FileDialogs& FileDialogs::real()
{
    static QtFileDialogs dialogs;
    return dialogs;
}

} // namespace brivanto::platform
