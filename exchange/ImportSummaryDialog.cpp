#include "exchange/ImportSummaryDialog.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace brivanto {
QStringList ImportSummaryDialog::summaryLines(const ImportPlan& plan)
{
    QStringList lines;
    lines << (plan.kind == CsvKind::Brivanto
                  ? QStringLiteral("Tipo di file: archivio esportato da questo programma.")
                  : QStringLiteral("Tipo di file: collezione esportata da BoardGameGeek."));
    const auto counted = [&lines](const QString& what, int n) {
        lines << what + QStringLiteral(": ") + QString::number(n) + QLatin1Char('.');
    };
    counted(QStringLiteral("Giochi da importare"), plan.toImport);
    if (plan.kind == CsvKind::BoardGameGeek)
        counted(QStringLiteral("Righe saltate perch\u00E9 il gioco non \u00E8 posseduto"), plan.notOwned);
    counted(QStringLiteral("Giochi saltati perch\u00E9 gi\u00E0 presenti in archivio (stesso codice ID)"),
            plan.alreadyThere);
    counted(QStringLiteral("Valori tagliati alla lunghezza massima del campo"), plan.cutValues);
    if (plan.numbersInNotes > 0)
        counted(QStringLiteral("Valori numerici troppo lunghi per il loro campo, riportati nelle note"),
                plan.numbersInNotes);
    counted(QStringLiteral("Caratteri che l'archivio non pu\u00F2 contenere, sostituiti da \u00AB?\u00BB"),
            plan.unmappableCharacters);
    if (plan.otherCurrency > 0)
        counted(QStringLiteral("Valori di mercato non in euro, non importati"), plan.otherCurrency);
    if (plan.readAsWindows1252)
        lines << QStringLiteral("Il file non \u00E8 in UTF-8: \u00E8 stato letto come Windows-1252 "
                                "(la codifica dei fogli di calcolo di Windows).");
    return lines;
}

ImportSummaryDialog::ImportSummaryDialog(const ImportPlan& plan, const QString& fileName, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ImportSummaryDialog"));
    setWindowTitle(QStringLiteral(" Importazione da file CSV"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);

    auto* file = new QLabel(QStringLiteral("File: ") + QFileInfo(fileName).fileName(), this);
    file->setObjectName(QStringLiteral("lblFileImportato"));
    file->setAccessibleName(file->text());
    layout->addWidget(file);
    const QStringList lines = summaryLines(plan);
    for (int i = 0; i < lines.size(); ++i) {
        auto* line = new QLabel(lines[i], this);
        line->setObjectName(QStringLiteral("lblRiepilogo%1").arg(i + 1));
        line->setAccessibleName(lines[i]);
        line->setWordWrap(true);
        layout->addWidget(line);
    }
    if (plan.toImport == 0) {
        auto* none = new QLabel(QStringLiteral("Nessun gioco da importare."), this);
        none->setObjectName(QStringLiteral("lblNessunGioco"));
        none->setAccessibleName(none->text());
        layout->addWidget(none);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    import_ = new QPushButton(QStringLiteral("Importa"), this);
    import_->setObjectName(QStringLiteral("cmdImporta"));
    import_->setAccessibleName(QStringLiteral("Importa"));
    import_->setAccessibleDescription(QStringLiteral("Aggiunge all'archivio i giochi elencati."));
    import_->setEnabled(plan.ok() && plan.toImport > 0);
    cancel_ = new QPushButton(QStringLiteral("Annulla"), this);
    cancel_->setObjectName(QStringLiteral("cmdAnnulla"));
    cancel_->setAccessibleName(QStringLiteral("Annulla"));
    cancel_->setAccessibleDescription(QStringLiteral("Chiude senza importare nulla."));
    buttons->addWidget(import_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    connect(import_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    // Enter presses the button that has the focus; the focus starts on the way forward when there is one.
    (import_->isEnabled() ? import_ : cancel_)->setFocus();
}

} // namespace brivanto
