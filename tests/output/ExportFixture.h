#pragma once

#include "output/ExportColumns.h"
#include "storage/FieldText.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>

// A record whose fields name..forSale hold `texts` in order (the missing ones empty); the
// attachment fields hold names that must never reach the worksheet.
inline brivanto::GameRecord exportRecord(const QStringList& texts)
{
    using namespace brivanto;
    GameRecord record{};
    for (int f = 0; f < FieldCount; ++f) {
        const QString text = f < texts.size()          ? texts[f]
                             : f >= ExportedFieldCount ? QStringLiteral("allegato.pdf")
                                                       : QString();
        textToField(text, fieldAt(record, Fields[f]), Fields[f].capacity);
    }
    return record;
}

inline QByteArray archiveOf(const QList<brivanto::GameRecord>& records)
{
    QByteArray bytes;
    for (const brivanto::GameRecord& record : records)
        bytes.append(reinterpret_cast<const char*>(&record), sizeof record);
    return bytes;
}

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The worksheet's fixed beginning, word for word, up to and including the heading row.
inline QByteArray expectedHeader()
{
    return "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
           "xmlns:x=\"urn:schemas-microsoft-com:office:excel\" xmlns=\"http://www.w3.org/TR/REC-html40\">"
           "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
           "<!--[if gte mso 9]><xml><x:ExcelWorkbook><x:ExcelWorksheets><x:ExcelWorksheet>"
           "<x:Name>Zendaro</x:Name><x:WorksheetOptions><x:Selected/><x:Panes><x:Pane>"
           "<x:Number>1</x:Number><x:ActiveRow>3</x:ActiveRow></x:Pane></x:Panes>"
           "<x:ProtectContents>False</x:ProtectContents><x:ProtectObjects>False</x:ProtectObjects>"
           "<x:ProtectScenarios>False</x:ProtectScenarios></x:WorksheetOptions></x:ExcelWorksheet>"
           "</x:ExcelWorksheets></x:ExcelWorkbook></xml><![endif]--></head><body><table x:str><tr>"
           "<td style=\"text-align: left; font-weight: bold;\" width=300>Nome del gioco</td>"
           "<td style=\"text-align: left; font-weight: bold;\" width=250>Codice ID</td>"
           "<td style=\"text-align: left; font-weight: bold;\" width=300>Genere</td>"
           "<td style=\"text-align: left; font-weight: bold;\" width=250>Casa editrice</td>"
           "<td style=\"text-align: left; font-weight: bold;\" width=450>Descrizione del gioco</td>"
           "<td style=\"text-align: left; font-weight: bold;\" width=200>Anno di uscita</td>"
           "<td style=\"text-align: left; font-weight: bold;\" width=250>Valore di mercato</td>"
           "<td style=\"text-align: left; font-weight: bold;\" width=250>Lingua del gioco</td>"
           "<td style=\"text-align: left; font-weight: bold;\" width=250>Autore</td>"
           "<td style=\"text-align: left; font-weight: bold;\" width=250>Rarit\xE0</td>"
           "<td style=\"text-align: left; font-weight: bold;\" width=300>Paese di origine</td>"
           "<td style=\"text-align: left; font-weight: bold;\" width=300>Livello di complessit\xE0</td>"
           "<td style=\"text-align: left; font-weight: bold;\" width=350>Dimensioni della scatola</td>"
           "<td style=\"text-align: left; font-weight: bold;\" width=350>Difetti</td>"
           "<td style=\"text-align: left; font-weight: bold;\" width=450>Contenuto della scatola</td>"
           "<td style=\"text-align: left; font-weight: bold;\" width=250>Numero di giocatori</td>"
           "<td style=\"text-align: left; font-weight: bold;\" width=300>Et\xE0 consigliata</td>"
           "<td style=\"text-align: left; font-weight: bold;\" width=300>Durata media della partita</td>"
           "<td style=\"text-align: left; font-weight: bold;\" width=250>Stato conservazione</td>"
           "<td style=\"text-align: left; font-weight: bold;\" width=300>Luogo conservazione</td>"
           "<td style=\"text-align: left; font-weight: bold;\" width=400>Note</td>"
           "<td style=\"text-align: left; font-weight: bold;\" width=200>In vendita</td></tr>";
}

inline const QByteArray ExpectedClosing = "</table></body></html>";

// One data row of the worksheet whose 22 cells hold `cells` (already in Windows-1252 and
// escaped), the missing ones empty.
inline QByteArray expectedRow(const QList<QByteArray>& cells)
{
    QByteArray row = "<tr>";
    for (int c = 0; c < brivanto::ExportedFieldCount; ++c)
        row += "<td style=\"text-align: left;\">" + (c < cells.size() ? cells[c] : QByteArray()) + "</td>";
    return row + "</tr>";
}
