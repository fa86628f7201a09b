#include "exchange/ImportSummaryDialog.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace brivanto;

namespace {

ImportPlan collectionPlan()
{
    ImportPlan plan;
    plan.kind = CsvKind::BoardGameGeek;
    plan.toImport = 12;
    plan.notOwned = 3;
    plan.alreadyThere = 2;
    plan.cutValues = 1;
    plan.numbersInNotes = 5;
    plan.unmappableCharacters = 4;
    plan.otherCurrency = 1;
    plan.readAsWindows1252 = true;
    return plan;
}

QPushButton* button(const QWidget& dialog, const char* name)
{
    auto* found = dialog.findChild<QPushButton*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no button %s", name);
    return found;
}

} // namespace

// The window shown before an import: what it says, the names a screen reader reads, and the keys.
class TestImportSummary : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void showsWhatTheImportWillDo();
    void everyControlHasItsOwnName();
    void keys_data();
    void keys();
    void nothingToImportLeavesOnlyCancel();
};

void TestImportSummary::showsWhatTheImportWillDo()
{
    ImportSummaryDialog dialog(collectionPlan(), "/home/u/Documenti/collection.csv");
    QStringList shown;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        shown << label->text();
    QCOMPARE(shown,
             (QStringList{
                 "File: collection.csv", "Tipo di file: collezione esportata da BoardGameGeek.",
                 "Giochi da importare: 12.", "Righe saltate perch\u00E9 il gioco non \u00E8 posseduto: 3.",
                 "Giochi saltati perch\u00E9 gi\u00E0 presenti in archivio (stesso codice ID): 2.",
                 "Valori tagliati alla lunghezza massima del campo: 1.",
                 "Valori numerici troppo lunghi per il loro campo, riportati nelle note: 5.",
                 "Caratteri che l'archivio non pu\u00F2 contenere, sostituiti da \u00AB?\u00BB: 4.",
                 "Valori di mercato non in euro, non importati: 1.",
                 "Il file non \u00E8 in UTF-8: \u00E8 stato letto come Windows-1252 (la codifica dei "
                 "fogli di calcolo di Windows)."}));
}

void TestImportSummary::everyControlHasItsOwnName()
{
    ImportSummaryDialog dialog(collectionPlan(), "collection.csv");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QStringList names;
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(accessible);
        const QString name = accessible->text(QAccessible::Name);
        QVERIFY2(!name.isEmpty(), qPrintable(widget->objectName()));
        QVERIFY2(!names.contains(name), qPrintable(name));
        names << name;
        if (widget->focusPolicy() & Qt::TabFocus)
            QVERIFY2(widget->isVisible(), qPrintable(widget->objectName()));
    }
    QVERIFY(names.contains("Importa"));
    QVERIFY(names.contains("Annulla"));
}

void TestImportSummary::keys_data()
{
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    QTest::newRow("Enter at once imports") << 0 << int(Qt::Key_Return) << int(QDialog::Accepted);
    QTest::newRow("Escape cancels") << 0 << int(Qt::Key_Escape) << int(QDialog::Rejected);
    QTest::newRow("Tab then Enter cancels") << 1 << int(Qt::Key_Return) << int(QDialog::Rejected);
    QTest::newRow("Tab then Space cancels") << 1 << int(Qt::Key_Space) << int(QDialog::Rejected);
    QTest::newRow("Tab twice comes back to Importa") << 2 << int(Qt::Key_Space) << int(QDialog::Accepted);
}

void TestImportSummary::keys()
{
    QFETCH(int, tabs);
    QFETCH(int, key);
    QFETCH(int, result);
    ImportSummaryDialog dialog(collectionPlan(), "collection.csv");
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(QApplication::focusWidget(), button(dialog, "cmdImporta"));
    for (int i = 0; i < tabs; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QTRY_COMPARE(finished.size(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), result);
}

void TestImportSummary::nothingToImportLeavesOnlyCancel()
{
    ImportPlan plan;
    plan.alreadyThere = 7;
    ImportSummaryDialog dialog(plan, "Archivio.csv");
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QVERIFY(!button(dialog, "cmdImporta")->isEnabled());
    QVERIFY(dialog.findChild<QLabel*>("lblNessunGioco"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(finished.size(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), int(QDialog::Rejected));
}

QTEST_MAIN(TestImportSummary)
#include "tst_import_summary.moc"
