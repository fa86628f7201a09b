#pragma once

#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

namespace brivanto {

// The attached files of every record of every archive live as copies in one folder of the
// program folder; a record names its copies by bare file name.

// ProgramFolder() + "Documenti_Allegati", without a trailing separator.
QString attachmentFolder();

// Whether a name taken from a record can only mean a file directly inside the attachments
// folder: not empty, no '/', '\\' or NUL, not "." or "..". Archives come from shared folders,
// so a record may hold any text.
bool isAttachmentName(QStringView name);

// The path of a record's attachment name in the attachments folder; empty when the name is not
// an attachment name (see above).
QString attachmentPath(QStringView name);

// The name under which a file is kept so that the record can hold it exactly: trimmed, every
// character that Windows-1252 cannot hold replaced by '_', and cut to the record's 250
// characters while keeping the extension.
QString storableAttachmentName(QStringView fileName);

// Copies `source` into the attachments folder (created when missing) under its storable name and
// returns that name. When another file of that name is there, `replaceExisting` decides: false
// keeps that file, and the name is returned all the same. A source that already is that file
// (chosen from the attachments folder itself) is not copied at all, and nothing is asked. The
// copy is written beside the existing file and replaces it only when complete. Nothing comes
// back when the file cannot be attached: the source is missing, unreadable or a folder, the
// folder cannot be made, the copy fails.
std::optional<QString> attachFile(const QString& source, const std::function<bool()>& replaceExisting);

} // namespace brivanto
