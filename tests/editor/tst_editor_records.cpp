#include "editor/EditorFields.h"
#include "platform/PhotoView.h"

#include "tests/editor/EditorFixture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QWindowStateChangeEvent>

using namespace brivanto;
using platform::MessageKind;

// The record editor's screen, browsing and saving, driven as a user would.
class TestEditorRecords : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void opensOnAClearedScreen();
    void browsing_data();
    void browsing();
    void browsingAnEmptyArchive_data();
    void browsingAnEmptyArchive();
    void browsingRecreatesADeletedArchive();
    void showRecordShowsValuesAsStored();
    void browsingAnUnreadableArchiveReportsIt();
    void saveAppendsThenOverwrites();
    void overwriteChangesOnlyThatRecord();
    void saveAppendsAfterTheLastRecord();
    void savePastTheEndAsksFirst();
    void mandatoryFieldsInOrder_data();
    void mandatoryFieldsInOrder();
    void forSaleMarkBytes_data();
    void forSaleMarkBytes();
    void marketValueTypedJustBeforeSavingIsNormalised();
    void textOutsideTheCodePageIsStoredAsQuestionMark();
    void saveToAnUnusableArchiveReportsIt();
    void restoringAMinimisedWindowKeepsTheTyping();
    void hintsFollowTheMouse();
};

void TestEditorRecords::opensOnAClearedScreen()
{
    EditorFixture f(3);
    f.press("cmdUltimo");
    QCOMPARE(f.position(), "3");
    f.editor.hide();
    f.editor.show(); // the open-archive screen shows it again

    for (const EditorField& field : EditorFields)
        QCOMPARE(f.edit(field.objectName)->text(),
                 QString(QString(field.objectName) == "txtValore" ? "0,00" : ""));
    QVERIFY(!child<QCheckBox>(&f.editor, "chkInVendita")->isChecked());
    QCOMPARE(f.position(), "");
    QCOMPARE(f.editor.photo(PhotoSlotId::A), child<platform::PhotoView>(&f.editor, "imgBianco")->image());
    QCOMPARE(f.editor.photo(PhotoSlotId::B), child<platform::PhotoView>(&f.editor, "imgBianco02")->image());
    QCOMPARE(f.editor.photo(PhotoSlotId::A).size(), QSize(366, 260));
    QVERIFY(f.editor.photo(PhotoSlotId::A) != f.editor.photo(PhotoSlotId::B));
    QCOMPARE(f.editor.attachments().files[0], "");
    QCOMPARE(f.editor.focusWidget(), f.edit("txtTitolo"));
    QCOMPARE(child<QLabel>(&f.editor, "panInfo")->text(), "Pronto per archiviare una nuova scheda...");
    QCOMPARE(f.editor.windowTitle(), " Brivanto - Zendaro");
}

void TestEditorRecords::browsing_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("to");

    QTest::newRow("first from 2") << 3 << "2"
                                  << "cmdPrimo"
                                  << "1";
    QTest::newRow("last from 2") << 3 << "2"
                                 << "cmdUltimo"
                                 << "3";
    QTest::newRow("next from 2") << 3 << "2"
                                 << "cmdAvanti"
                                 << "3";
    QTest::newRow("previous from 2") << 3 << "2"
                                     << "cmdIndietro"
                                     << "1";
    QTest::newRow("next at the end stays") << 3 << "3"
                                           << "cmdAvanti"
                                           << "3";
    QTest::newRow("previous at the start stays") << 3 << "1"
                                                 << "cmdIndietro"
                                                 << "1";
    QTest::newRow("next on a new record") << 3 << ""
                                          << "cmdAvanti"
                                          << "1";
    QTest::newRow("previous on a new record") << 3 << ""
                                              << "cmdIndietro"
                                              << "1";
    QTest::newRow("last on a new record") << 3 << ""
                                          << "cmdUltimo"
                                          << "3";
    QTest::newRow("one record, next") << 1 << ""
                                      << "cmdAvanti"
                                      << "1";
    QTest::newRow("one record, next again") << 1 << "1"
                                            << "cmdAvanti"
                                            << "1";
    QTest::newRow("one record, last") << 1 << ""
                                      << "cmdUltimo"
                                      << "1";
    QTest::newRow("next past a shortened end") << 3 << "7"
                                               << "cmdAvanti"
                                               << "7";
}

void TestEditorRecords::browsing()
{
    QFETCH(int, records);
    QFETCH(QString, from);
    QFETCH(QString, button);
    QFETCH(QString, to);
    EditorFixture f(records);
    f.setPosition(from);
    f.edit("txtTitolo")->setText("typed");
    // What was typed is dropped on purpose; only a browse that shows another record asks.
    f.folder.platform.messages.answerNext(platform::Answer::No);

    f.press(button.toLatin1());

    QCOMPARE(f.position(), to);
    const bool moved = from != to || from.isEmpty();
    QCOMPARE(f.messages(), moved ? QStringList{"Salvare le modifiche alla scheda corrente?"} : QStringList());
    QCOMPARE(f.edit("txtTitolo")->text(), moved ? QString("Gioco %1").arg(to) : QString("typed"));
    if (moved) {
        QCOMPARE(f.edit("txtTipologia")->text(), QString("ID-%1").arg(to));
        QCOMPARE(f.edit("txtValore")->text(), QString("%1,50").arg(to));
        QCOMPARE(child<QCheckBox>(&f.editor, "chkInVendita")->isChecked(), to.toInt() % 2 == 1);
    }
}

void TestEditorRecords::browsingAnEmptyArchive_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::newRow("first") << "cmdPrimo"
                           << ""
                           << "";
    QTest::newRow("previous") << "cmdIndietro"
                              << ""
                              << "";
    QTest::newRow("next") << "cmdAvanti"
                          << ""
                          << "";
    QTest::newRow("last") << "cmdUltimo"
                          << ""
                          << "";
    // An archive emptied by another program: Next alone forgets the position.
    QTest::newRow("first keeps the position") << "cmdPrimo"
                                              << "4"
                                              << "4";
    QTest::newRow("next clears the position") << "cmdAvanti"
                                              << "4"
                                              << "";
}

void TestEditorRecords::browsingAnEmptyArchive()
{
    QFETCH(QString, button);
    QFETCH(QString, from);
    QFETCH(QString, to);
    EditorFixture f(0);
    f.setPosition(from);
    f.press(button.toLatin1());
    QCOMPARE(f.messages(), QStringList{EmptyArchive});
    QCOMPARE(f.folder.platform.messages.shown().front().kind, MessageKind::Information);
    QCOMPARE(f.position(), to);
}

void TestEditorRecords::browsingRecreatesADeletedArchive()
{
    EditorFixture f(2);
    QVERIFY(QFile::remove(f.archivePath()));
    f.press("cmdPrimo");
    QCOMPARE(f.messages(), QStringList{EmptyArchive});
    QVERIFY(QFileInfo(f.archivePath()).isFile());
    QCOMPARE(QFileInfo(f.archivePath()).size(), 0);
}

void TestEditorRecords::showRecordShowsValuesAsStored()
{
    EditorFixture f(0);
    GameRecord marked = numberedRecord(1);
    GameRecord unmarked = numberedRecord(2);
    TextToField(u"12,5", unmarked.marketValue);
    TextToField(u"", unmarked.forSale);
    TextToField(u"   Serie con cinquanta caratteri esatti, fino a qui!!  ", unmarked.publisher);
    TextToField(u"manuale.pdf", unmarked.attachment2);
    TextToField(u"Regole", unmarked.attachmentDescription3);
    f.folder.writeFile("Giochi rari.gdt", recordBytes(marked) + recordBytes(unmarked));

    f.press("cmdPrimo");
    QVERIFY(child<QCheckBox>(&f.editor, "chkInVendita")->isChecked());
    f.press("cmdAvanti");
    QCOMPARE(f.edit("txtValore")->text(), "12,5"); // formatting happens only on leaving the field
    QVERIFY(child<QCheckBox>(&f.editor, "chkInVendita")->isChecked()); // an empty mark leaves the box
    QCOMPARE(f.edit("txtSerie")->text().size(), 50);
    QCOMPARE(f.editor.attachments().files[1], "manuale.pdf");
    QCOMPARE(f.editor.attachments().descriptions[2], "Regole");
    QCOMPARE(child<QLabel>(&f.editor, "lblFile02")->text(), "manuale.pdf");
}

void TestEditorRecords::browsingAnUnreadableArchiveReportsIt()
{
    EditorFixture f(1);
    f.editor.setArchive(f.folder.path("cartella.gdt"), "cartella");
    QVERIFY(QDir().mkpath(f.folder.path("cartella.gdt")));
    f.edit("txtTitolo")->setText("typed");
    f.press("cmdAvanti");
    QCOMPARE(f.messages(), QStringList{ArchiveAccessError});
    QCOMPARE(f.folder.platform.messages.shown().front().kind, MessageKind::Error);
    QCOMPARE(f.edit("txtTitolo")->text(), "typed");
    QCOMPARE(f.position(), ""); // a failed Next leaves no stray "0" behind
}

void TestEditorRecords::saveAppendsThenOverwrites()
{
    EditorFixture f(0);
    f.fillMandatory("  Scacchi  ");
    f.press("cmdSalva");
    QCOMPARE(f.messages(), QStringList{Appended});
    QCOMPARE(f.folder.platform.messages.shown().front().kind, MessageKind::Information);
    QCOMPARE(f.position(), "1");
    QCOMPARE(f.archiveBytes().size(), 3376);
    QCOMPARE(f.edit("txtTitolo")->text(), "  Scacchi  "); // the screen keeps what was typed
    QCOMPARE(f.archiveBytes().mid(0, 8), QByteArray("\x07Scacchi"));

    f.edit("txtTitolo")->setText("Dama");
    f.press("cmdSalva");
    QCOMPARE(f.messages(), (QStringList{Appended, Overwritten}));
    QCOMPARE(f.position(), "1");
    QCOMPARE(f.archiveBytes().size(), 3376);
    QCOMPARE(f.archiveBytes().mid(0, 8), QByteArray("\x04"
                                                    "Dama\0\0\0",
                                                    8));
}

void TestEditorRecords::overwriteChangesOnlyThatRecord()
{
    EditorFixture f(7);
    const QByteArray before = f.archiveBytes();
    f.setPosition("2");
    f.press("cmdAvanti");
    QCOMPARE(f.position(), "3");
    f.edit("txtNote")->setText("Manca un dado");
    f.press("cmdSalva");

    QCOMPARE(f.messages(), QStringList{Overwritten});
    QCOMPARE(f.position(), "3");
    const QByteArray after = f.archiveBytes();
    QCOMPARE(after.size(), before.size());
    QCOMPARE(after.left(2 * 3376), before.left(2 * 3376));
    QCOMPARE(after.mid(3 * 3376), before.mid(3 * 3376));
    GameRecord expected = numberedRecord(3);
    TextToField(u"Manca un dado", expected.notes);
    QCOMPARE(after.mid(2 * 3376, 3376), recordBytes(expected));
}

void TestEditorRecords::saveAppendsAfterTheLastRecord()
{
    EditorFixture f(7);
    const QByteArray before = f.archiveBytes();
    f.fillMandatory();
    f.press("cmdSalva");
    QCOMPARE(f.position(), "8");
    QCOMPARE(f.messages(), QStringList{Appended});
    QCOMPARE(f.archiveBytes().left(7 * 3376), before);
    QCOMPARE(f.archiveBytes().size(), 8 * 3376);
    f.press("cmdUltimo"); // reachable at once
    QCOMPARE(f.edit("txtTitolo")->text(), "Scacchi");
}

void TestEditorRecords::savePastTheEndAsksFirst()
{
    // The record on screen was at position 5 of an archive that another program cut to 2
    // records (plus a stray tail): the game may have been deleted there, so the save asks before
    // it brings it back; Sì saves it as a new record at the end, not at 5.
    EditorFixture f(5);
    f.press("cmdUltimo");
    QFile file(f.archivePath());
    QVERIFY(file.resize(2 * 3376 + 100));
    f.folder.platform.messages.answerNext(platform::Answer::Yes);
    f.press("cmdSalva");
    QCOMPARE(f.messages().size(), 2);
    QVERIFY2(f.messages()[0].contains(QStringLiteral("da un'altra postazione")), qPrintable(f.messages()[0]));
    QCOMPARE(f.messages()[1], Appended);
    QCOMPARE(f.position(), "3");
    QCOMPARE(f.archiveBytes().size(), 3 * 3376);
    QCOMPARE(f.archiveBytes().mid(2 * 3376), recordBytes(numberedRecord(5)));
}

void TestEditorRecords::mandatoryFieldsInOrder_data()
{
    QTest::addColumn<QString>("blank");
    QTest::addColumn<QString>("message");
    const QString start = QString::fromUtf8("Attenzione: per salvare la scheda è necessario indicare ");
    QTest::newRow("title, blanks only") << "txtTitolo" << start + "il nome del gioco da tavolo.";
    QTest::newRow("code") << "txtTipologia" << start + "il codice ID del gioco da tavolo.";
    QTest::newRow("genre") << "txtEditore" << start + "il genere di gioco da tavolo.";
    QTest::newRow("publisher") << "txtSerie" << start + "la casa editrice del gioco da tavolo.";
    QTest::newRow("year") << "txtAnno" << start + "l'anno di uscita del gioco da tavolo.";
}

void TestEditorRecords::mandatoryFieldsInOrder()
{
    QFETCH(QString, blank);
    QFETCH(QString, message);
    EditorFixture f(0);
    QVERIFY(QFile::remove(f.archivePath()));
    f.fillMandatory();
    f.edit(blank.toLatin1())->setText(" \t ");
    // The fields after the blank one are not looked at yet.
    for (int i = EditorFields.size() - 1; i >= 0 && EditorFields[i].objectName != blank; --i)
        f.edit(EditorFields[i].objectName)->clear();

    f.press("cmdSalva");
    QCOMPARE(f.messages(), QStringList{message});
    QCOMPARE(f.folder.platform.messages.shown().front().kind, MessageKind::Warning);
    QCOMPARE(f.editor.focusWidget(), f.edit(blank.toLatin1()));
    QVERIFY(!QFile::exists(f.archivePath())); // the archive is not touched
    QCOMPARE(f.position(), "");
}

void TestEditorRecords::forSaleMarkBytes_data()
{
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("ticked") << true << QByteArray("\x02\x53\xEC");
    QTest::newRow("unticked") << false << QByteArray("\x02\x4E\x6F");
}

void TestEditorRecords::forSaleMarkBytes()
{
    QFETCH(bool, ticked);
    QFETCH(QByteArray, stored);
    EditorFixture f(0);
    f.fillMandatory();
    child<QCheckBox>(&f.editor, "chkInVendita")->setChecked(ticked);
    f.press("cmdSalva");
    QCOMPARE(f.archiveBytes().mid(1867, 3), stored);
}

void TestEditorRecords::marketValueTypedJustBeforeSavingIsNormalised()
{
    EditorFixture f(0);
    f.fillMandatory();
    QLineEdit* valore = f.edit("txtValore");
    valore->setFocus();
    valore->clear();
    QTest::keyClicks(valore, "999999999999");
    QCOMPARE(valore->text(), "999999999999");
    f.press("cmdSalva");
    QCOMPARE(valore->text(), "999999999999,00"); // fifteen characters on screen
    QCOMPARE(f.archiveBytes().mid(530, 13), QByteArray("\x0C"
                                                       "999999999999"));
}

void TestEditorRecords::textOutsideTheCodePageIsStoredAsQuestionMark()
{
    EditorFixture f(0);
    f.fillMandatory(QString::fromUtf8("Go 囲碁 € è"));
    f.press("cmdSalva");
    QCOMPARE(f.archiveBytes().mid(0, 10), QByteArray("\x09Go ?? \x80 \xE8"));
    f.press("cmdNuovo");
    f.press("cmdPrimo");
    QCOMPARE(f.edit("txtTitolo")->text(), QString::fromUtf8("Go ?? € è"));
}

void TestEditorRecords::saveToAnUnusableArchiveReportsIt()
{
    EditorFixture f(0);
    QVERIFY(QFile::remove(f.archivePath()));
    QVERIFY(QDir().mkpath(f.archivePath())); // a folder where the archive should be
    f.fillMandatory();
    f.press("cmdSalva");
    QCOMPARE(f.messages(), QStringList{ArchiveAccessError});
    QCOMPARE(f.folder.platform.messages.shown().front().kind, MessageKind::Error);
    QCOMPARE(f.position(), "");
    QVERIFY(!QFile::exists(f.photoPath('A', 1)));
}

void TestEditorRecords::restoringAMinimisedWindowKeepsTheTyping()
{
    EditorFixture f(2);
    f.press("cmdUltimo");
    f.edit("txtNote")->setText("non ancora salvato");
    // The window system reports the window restored from minimised: the toolkit then sends the
    // window a spontaneous show event.
    QWindowStateChangeEvent restored(Qt::WindowMinimized);
    QCoreApplication::sendEvent(&f.editor, &restored);
    QCOMPARE(f.edit("txtNote")->text(), "non ancora salvato");
    QCOMPARE(f.position(), "2");
}

void TestEditorRecords::hintsFollowTheMouse()
{
    EditorFixture f(0);
    QVERIFY(QTest::qWaitForWindowExposed(&f.editor));
    auto* info = child<QLabel>(&f.editor, "panInfo");
    QTest::mouseMove(child(&f.editor, "cmdSalva"));
    QTRY_COMPARE(info->text(), "Salva la scheda in archivio.");
    QTest::mouseMove(child(&f.editor, "btnZoomFoto02"));
    QTRY_COMPARE(info->text(), "Visualizza la foto nelle sue dimensioni reali.");
    QTest::mouseMove(child(&f.editor, "chkInVendita"));
    QTRY_COMPARE(
        info->text(),
        QString::fromUtf8("Spunta questa casella per annotare che il gioco da tavolo è in vendita."));
    QTest::mouseMove(child(&f.editor, "imgFoto"));
    QTRY_COMPARE(info->text(), "");
}

QTEST_MAIN(TestEditorRecords)
#include "tst_editor_records.moc"
