#include "platform/FileDialogs.h"

#include <QFileDialog>

namespace brivanto::platform {
namespace {

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
        dialog.setNameFilters(request.filters);
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
