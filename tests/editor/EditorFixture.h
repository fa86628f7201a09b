#pragma once

#include "editor/RecordEditor.h"
#include "storage/FieldText.h"

#include "tests/support/ProgramFolderFixture.h"

#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>

// A record whose title and code carry its number, so the record on screen shows which it is.
inline brivanto::GameRecord numberedRecord(int n)
{
    using namespace brivanto;
    GameRecord record{};
    TextToField(QStringLiteral("Gioco %1").arg(n), record.name);
    TextToField(QStringLiteral("ID-%1").arg(n), record.idCode);
    TextToField(QStringLiteral("Strategico"), record.genre);
    TextToField(QStringLiteral("Editrice"), record.publisher);
    TextToField(QStringLiteral("20%1").arg(10 + n), record.year);
    TextToField(QStringLiteral("%1,50").arg(n), record.marketValue);
    writeForSale(record, n % 2 == 1);
    return record;
}

inline QByteArray recordBytes(const brivanto::GameRecord& record)
{
    return QByteArray(reinterpret_cast<const char*>(&record), sizeof record);
}

// A real JPEG of the given size; its pixels vary, so a re-encoded copy never has the same bytes.
inline QByteArray jpegOf(QSize size, int seed = 1, const char* format = "JPEG")
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb((x * 7 + seed * 40) & 0xFF, (y * 5 + seed) & 0xFF, ((x ^ y) + seed) & 0xFF);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 85);
    return bytes;
}

// The record editor in a temporary program folder, open on the archive "Giochi rari".
class EditorFixture
{
public:
    explicit EditorFixture(int records = 0, const QString& name = QStringLiteral("Giochi rari"))
        : archiveName(name)
    {
        QByteArray bytes;
        for (int n = 1; n <= records; ++n)
            bytes += recordBytes(numberedRecord(n));
        folder.writeFile(archiveName + ".gdt", bytes);
        editor.setArchive(archivePath(), archiveName);
        editor.show();
    }

    QString archivePath() const { return folder.path(archiveName + ".gdt"); }
    QByteArray archiveBytes() const
    {
        QFile file(archivePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString photoPath(char slot, int position) const
    {
        return folder.path(
            QStringLiteral("Foto_Gioco/%1_Foto_%2_%3.jpg").arg(archiveName).arg(slot).arg(position));
    }
    QByteArray fileBytes(const QString& path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QLineEdit* edit(const char* name) const { return child<QLineEdit>(&editor, name); }
    QString position() const { return child<QLabel>(&editor, "lblPosizione")->text(); }
    void setPosition(const QString& text) { child<QLabel>(&editor, "lblPosizione")->setText(text); }
    void press(const char* button) { click(child(&editor, button)); }
    QStringList messages() const { return folder.platform.messages.texts(); }

    void fillMandatory(const QString& title = QStringLiteral("Scacchi"))
    {
        edit("txtTitolo")->setText(title);
        edit("txtTipologia")->setText(QStringLiteral("SC-1"));
        edit("txtEditore")->setText(QStringLiteral("Classico"));
        edit("txtSerie")->setText(QStringLiteral("Dal Negro"));
        edit("txtAnno")->setText(QStringLiteral("1990"));
    }

    QString archiveName;
    ProgramFolderFixture folder;
    brivanto::RecordEditor editor;
};

inline const QString ArchiveAccessError =
    QString::fromUtf8("Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di "
                      "possedere i privilegi "
                      "di scrittura nella cartella di installazione del programma.");
inline const QString EmptyArchive = QString::fromUtf8("L'archivio non contiene nessuna scheda.");
inline const QString Appended = QString::fromUtf8("La scheda corrente è stata inserita in archivio.");
inline const QString Overwritten =
    QString::fromUtf8("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
