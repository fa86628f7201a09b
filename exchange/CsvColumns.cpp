#include "exchange/CsvColumns.h"

#include "editor/EditorFields.h"

namespace brivanto {

const std::array<QString, CsvColumnCount>& csvColumnNames()
{
    static const std::array<QString, CsvColumnCount> names = [] {
        std::array<QString, CsvColumnCount> n;
        for (int i = 0; i < EditorFieldCount; ++i) {
            QString label = QString::fromUtf16(EditorFields[i].label);
            if (label.endsWith(QLatin1Char(':')))
                label.chop(1);
            n[EditorFields[i].recordField] = label;
        }
        n[21] = QStringLiteral("In vendita");
        for (int k = 0; k < 3; ++k) {
            n[22 + k] = QStringLiteral("Allegato ") + QString::number(k + 1);
            n[25 + k] = QStringLiteral("Descrizione allegato ") + QString::number(k + 1);
        }
        n[28] = QStringLiteral("Foto 1");
        n[29] = QStringLiteral("Foto 2");
        return n;
    }();
    return names;
}

} // namespace brivanto
