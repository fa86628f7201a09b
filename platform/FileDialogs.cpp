#include "platform/FileDialogs.h"

#include <QFileDialog>
#include <QFileSystemModel>

#include <algorithm>

namespace brivanto::platform {
namespace {

const QString EveryFileWithADot = QStringLiteral("*.*");

// The patterns of "Immagine JPEG (*.jpg; *.jpeg)": what stands between its last parentheses,
// separated by blanks or semicolons.
QStringList patternsOf(const QString& filter)
{
    const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
    const qsizetype close = filter.lastIndexOf(QLatin1Char(')'));
    const QString patterns = open >= 0 && close > open ? filter.mid(open + 1, close - open - 1) : filter;
    return QString(patterns)
        .replace(QLatin1Char(';'), QLatin1Char(' '))
        .split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

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

// The patterns the file list applies for `filter`: "*.*" stands for every file, as users of the
// program's filters know it, while the toolkit reads it literally and hides every name without
// a dot ("LEGGIMI").
QStringList listedPatterns(const QString& filter)
{
    QStringList patterns = patternsOf(filter);
    patterns.replaceInStrings(EveryFileWithADot, QStringLiteral("*"));
    return patterns;
}

bool hasEveryFileFilter(const QStringList& filters)
{
    return std::any_of(filters.begin(), filters.end(),
                       [](const QString& filter) { return patternsOf(filter).contains(EveryFileWithADot); });
}

// The filter keeps its visible text; only the list behind it matches every file.
void listEveryFileForStarDotStar(QFileDialog& dialog)
{
    auto* list = dialog.findChild<QFileSystemModel*>();
    if (!list)
        return;
    const auto apply = [list](const QString& filter) { list->setNameFilters(listedPatterns(filter)); };
    apply(dialog.selectedNameFilter());
    // Emitted after the dialog has applied the chosen filter's literal patterns.
    QObject::connect(&dialog, &QFileDialog::filterSelected, list, apply);
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
        prepareFileDialog(dialog, request, mode);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }
};

} // namespace

void prepareFileDialog(QFileDialog& dialog, const FileDialogRequest& request, QFileDialog::AcceptMode mode)
{
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const QStringList filters = toolkitFilters(request.filters);
    // A desktop's own dialog would read "*.*" literally: such filters are shown in the toolkit's.
    const bool everyFile = hasEveryFileFilter(filters);
    if (everyFile)
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setNameFilters(filters);
    if (everyFile)
        listEveryFileForStarDotStar(dialog);
    dialog.setDefaultSuffix(request.defaultExtension);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.askBeforeReplacing);
    if (!request.initialName.isEmpty())
        dialog.selectFile(request.initialName);
}

FileDialogs& FileDialogs::real()
{
    static QtFileDialogs dialogs;
    return dialogs;
}

} // namespace brivanto::platform
