#include "shell/OpenArchiveScreen.h"

#include "tests/support/ProgramFolderFixture.h"

#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>

using namespace brivanto;
using platform::Answer;
using platform::MessageKind;

namespace {
const QString ConfirmDelete = QString::fromUtf8(
    "Si sta per eliminare l'archivio di giochi da tavolo selezionato. Si ricorda che il file eliminato non "
    "potrà essere recuperato.\r\n\r\nSi conferma l'eliminazione dell'archivio?");
const QString Deleted = QString::fromUtf8("L'archivio di giochi da tavolo è stato eliminato con successo.");

QString countLine(int n)
{
    return QString("Sono stati creati %1 archivi di giochi da tavolo.").arg(n);
}
} // namespace

class TestApriCatalogo : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void listsOnlyArchivesInOrder();
    void emptyFolder();
    void warningsWithoutSelection_data();
    void warningsWithoutSelection();
    void openHandsOverPathAndName_data();
    void openHandsOverPathAndName();
    void closingWithWindowButtonReturnsToLauncher();
    void deleteAskedNoKeepsEverything();
    void deleteRemovesOnlyTheArchive();
    void deleteRemovesTheEntryAsListed_data();
    void deleteRemovesTheEntryAsListed();
    void restoringFromTheTaskbarKeepsListAndSelection();
    void deleteThatFailsIsReported();
    void keysSelectAndEnterOpens_data();
    void keysSelectAndEnterOpens();
    void doubleClickOpensTheLine();
    void enterWithoutSelectionOrModifiedOpensNothing_data();
    void enterWithoutSelectionOrModifiedOpensNothing();

private:
    QStringList entries() const;
    void showScreen();
    void select(const QString& entry);

    std::unique_ptr<ProgramFolderFixture> folder_;
    std::unique_ptr<OpenArchiveScreen> screen_;
    QListWidget* list_ = nullptr;
};

void TestApriCatalogo::init()
{
    folder_ = std::make_unique<ProgramFolderFixture>();
    screen_ = std::make_unique<OpenArchiveScreen>();
    list_ = child<QListWidget>(screen_.get(), "lstFiles");
}

void TestApriCatalogo::cleanup()
{
    screen_.reset();
    folder_.reset();
}

QStringList TestApriCatalogo::entries() const
{
    QStringList texts;
    for (int i = 0; i < list_->count(); ++i)
        texts << list_->item(i)->text();
    return texts;
}

void TestApriCatalogo::showScreen()
{
    screen_->show();
    QApplication::setActiveWindow(screen_.get());
}

void TestApriCatalogo::select(const QString& entry)
{
    const auto found = list_->findItems(entry, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, list_->visualItemRect(found.front()).center());
    QCOMPARE(list_->selectedItems().value(0), found.front());
}

void TestApriCatalogo::listsOnlyArchivesInOrder()
{
    for (const char* name : {"b.gdt", "A.gdt", "c.GDT", "_z.gdt", "Giochi v.2.gdt", ".nascosto.gdt"})
        folder_->writeFile(QString::fromUtf8(name));
    for (const char* name : {"Èlite.gdt", "Zaino.gdt", "Élite.gdt", "època.gdt"})
        folder_->writeFile(QString::fromUtf8(name));
    for (const char* other : {"unins000.dll", "Guida.pdf", "Zendaro.xls", "Foto_Gioco/b_Foto_A_1.jpg",
                              "Documenti_Allegati/x.gdt", "a.gdt.bak"})
        folder_->writeFile(QString::fromUtf8(other));
    QDir(folder_->dir.path()).mkdir("cartella.gdt");

    showScreen();
    // Only a-z fold: '.' and '_' compare by their codes against the capitals, and accented
    // letters by theirs (È 0xC8, É 0xC9, è 0xE8), so "època" stays after "Élite".
    QCOMPARE(entries(), QStringList({".nascosto.gdt", "A.gdt", "b.gdt", "c.GDT", "Giochi v.2.gdt",
                                     "Zaino.gdt", "_z.gdt", QString::fromUtf8("Èlite.gdt"),
                                     QString::fromUtf8("Élite.gdt"), QString::fromUtf8("època.gdt")}));
    QCOMPARE(child<QLabel>(screen_.get(), "lblCreati")->text(), countLine(10));
    // The first archive is selected, ready for Enter.
    QCOMPARE(list_->selectedItems(), QList<QListWidgetItem*>{list_->item(0)});
    QCOMPARE(list_->currentRow(), 0);
    QCOMPARE(list_->item(0)->font().family(), QString("Courier New"));
    QCOMPARE(list_->item(0)->font().pointSize(), 14);
    QCOMPARE(child<QLabel>(screen_.get(), "lblMemory")->text(), QString("avvio"));
}

void TestApriCatalogo::emptyFolder()
{
    showScreen();
    QVERIFY(entries().isEmpty());
    QCOMPARE(child<QLabel>(screen_.get(), "lblCreati")->text(), countLine(0));
}

void TestApriCatalogo::warningsWithoutSelection_data()
{
    QTest::addColumn<bool>("withArchives");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");
    QTest::newRow("open, empty list") << false << "btnApri"
                                      << "Attenzione: l'elenco non contiene nessun archivio.";
    QTest::newRow("delete, empty list")
        << false << "btnElimina"
        << "Attenzione: l'elenco non contiene nessun archivio di giochi da tavolo.";
    QTest::newRow("open, nothing selected")
        << true << "btnApri"
        << "Attenzione: selezionare l'archivio di giochi da tavolo dall'elenco prima di premere il pulsante "
           "Apri archivio.";
    QTest::newRow("delete, nothing selected") << true << "btnElimina"
                                              << "Attenzione: selezionare dall'elenco l'archivio da "
                                                 "eliminare prima di premere il pulsante del cestino.";
}

void TestApriCatalogo::warningsWithoutSelection()
{
    QFETCH(bool, withArchives);
    QFETCH(QString, button);
    QFETCH(QString, message);
    if (withArchives)
        folder_->writeFile("Giochi.gdt");
    showScreen();
    QSignalSpy toEditor(screen_.get(), &OpenArchiveScreen::archiveChosen);
    // The first archive comes selected: the user took the selection away (Ctrl+click).
    list_->clearSelection();
    click(child(screen_.get(), button.toLatin1().constData()));
    QCOMPARE(folder_->platform.messages.texts(), QStringList{message});
    QCOMPARE(folder_->platform.messages.shown().front().kind, MessageKind::Warning);
    QVERIFY(screen_->isVisible());
    QCOMPARE(toEditor.count(), 0);
    QCOMPARE(entries().size(), withArchives ? 1 : 0);
}

void TestApriCatalogo::openHandsOverPathAndName_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "Giochi rari.gdt"
                           << "Giochi rari";
    QTest::newRow("dots in the name") << "Giochi v.2.gdt"
                                      << "Giochi v.2";
    QTest::newRow("capital extension") << "Vecchi.GDT"
                                       << "Vecchi";
    // Names placed in the folder by someone else: the file as listed, never a trimmed one.
    QTest::newRow("leading blank") << " Giochi.gdt"
                                   << " Giochi";
    QTest::newRow("leading tab") << "\tGiochi.gdt"
                                 << "\tGiochi";
}

void TestApriCatalogo::openHandsOverPathAndName()
{
    QFETCH(QString, entry);
    QFETCH(QString, name);
    folder_->writeFile("Altro.gdt");
    folder_->writeFile("Giochi.gdt");
    folder_->writeFile(entry);
    showScreen();
    select(entry);
    QSignalSpy toEditor(screen_.get(), &OpenArchiveScreen::archiveChosen);
    QSignalSpy toLauncher(screen_.get(), &OpenArchiveScreen::closedToLauncher);
    click(child(screen_.get(), "btnApri"));
    QCOMPARE(toEditor.count(), 1);
    QCOMPARE(toEditor.front().at(0).toString(), folder_->path(entry));
    QCOMPARE(toEditor.front().at(1).toString(), name);
    QCOMPARE(toLauncher.count(), 0);
    QVERIFY(!screen_->isVisible());
    QVERIFY(folder_->platform.messages.shown().isEmpty());

    // The next showing starts afresh: back to the launcher unless "Apri archivio" is pressed,
    // and the first archive selected again.
    showScreen();
    QCOMPARE(child<QLabel>(screen_.get(), "lblMemory")->text(), QString("avvio"));
    QCOMPARE(list_->selectedItems(), QList<QListWidgetItem*>{list_->item(0)});
}

void TestApriCatalogo::closingWithWindowButtonReturnsToLauncher()
{
    folder_->writeFile("Giochi.gdt");
    showScreen();
    select("Giochi.gdt");
    QSignalSpy toEditor(screen_.get(), &OpenArchiveScreen::archiveChosen);
    QSignalSpy toLauncher(screen_.get(), &OpenArchiveScreen::closedToLauncher);
    screen_->close();
    QCOMPARE(toLauncher.count(), 1);
    QCOMPARE(toEditor.count(), 0);
}

void TestApriCatalogo::deleteAskedNoKeepsEverything()
{
    folder_->writeFile("Giochi.gdt", "x");
    showScreen();
    select("Giochi.gdt");
    folder_->platform.messages.answerNext(Answer::No);
    click(child(screen_.get(), "btnElimina"));
    QCOMPARE(folder_->platform.messages.texts(), QStringList{ConfirmDelete});
    QCOMPARE(folder_->platform.messages.shown().front().kind, MessageKind::Confirmation);
    QCOMPARE(folder_->platform.messages.shown().front().buttons, platform::MessageButtons::YesNo);
    QVERIFY(QFile::exists(folder_->path("Giochi.gdt")));
    QCOMPARE(entries(), QStringList{"Giochi.gdt"});
    QCOMPARE(list_->selectedItems().size(), 1);
}

void TestApriCatalogo::deleteRemovesOnlyTheArchive()
{
    for (const char* name :
         {"Giochi.gdt", "Altri.gdt", "Foto_Gioco/Giochi_Foto_A_1.jpg", "Documenti_Allegati/certificato.pdf"})
        folder_->writeFile(QString::fromUtf8(name), "x");
    showScreen();
    select("Giochi.gdt");
    folder_->platform.messages.answerNext(Answer::Yes);
    click(child(screen_.get(), "btnElimina"));
    QCOMPARE(folder_->platform.messages.texts(), QStringList({ConfirmDelete, Deleted}));
    QCOMPARE(folder_->platform.messages.shown().back().kind, MessageKind::Information);
    QVERIFY(!QFile::exists(folder_->path("Giochi.gdt")));
    for (const char* kept :
         {"Altri.gdt", "Foto_Gioco/Giochi_Foto_A_1.jpg", "Documenti_Allegati/certificato.pdf"})
        QVERIFY(QFile::exists(folder_->path(QString::fromUtf8(kept))));
    QCOMPARE(entries(), QStringList{"Altri.gdt"});
    QCOMPARE(child<QLabel>(screen_.get(), "lblCreati")->text(), countLine(1));
    QVERIFY(list_->selectedItems().isEmpty());
    QCOMPARE(child<QLabel>(screen_.get(), "lblFile")->text(), QString());
    QVERIFY(screen_->isVisible());
}

void TestApriCatalogo::deleteRemovesTheEntryAsListed_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("leading blank") << " Giochi.gdt";
    QTest::newRow("leading tab") << "\tGiochi.gdt";
    QTest::newRow("leading blanks and tab") << " \t Giochi.gdt";
}

void TestApriCatalogo::deleteRemovesTheEntryAsListed()
{
    QFETCH(QString, entry);
    folder_->writeFile("Giochi.gdt", "tenuto");
    folder_->writeFile(entry, "da eliminare");
    showScreen();
    select(entry);
    folder_->platform.messages.answerNext(Answer::Yes);
    click(child(screen_.get(), "btnElimina"));
    QCOMPARE(folder_->platform.messages.texts(), QStringList({ConfirmDelete, Deleted}));
    QVERIFY(!QFile::exists(folder_->path(entry)));
    QFile kept(folder_->path("Giochi.gdt"));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("tenuto"));
    QCOMPARE(entries(), QStringList{"Giochi.gdt"});
}

void TestApriCatalogo::restoringFromTheTaskbarKeepsListAndSelection()
{
    folder_->writeFile("Giochi.gdt");
    showScreen();
    select("Giochi.gdt");
    folder_->writeFile("Nuovo.gdt");
    restoreFromTaskbar(screen_.get());
    QCOMPARE(entries(), QStringList{"Giochi.gdt"});
    QCOMPARE(child<QLabel>(screen_.get(), "lblCreati")->text(), countLine(1));
    QSignalSpy toEditor(screen_.get(), &OpenArchiveScreen::archiveChosen);
    click(child(screen_.get(), "btnApri"));
    QCOMPARE(toEditor.count(), 1);
    QCOMPARE(toEditor.front().at(0).toString(), folder_->path("Giochi.gdt"));
}

void TestApriCatalogo::deleteThatFailsIsReported()
{
    // The file goes missing while the question is open (another workstation deleted it).
    folder_->writeFile("Giochi.gdt", "x");
    folder_->writeFile("Altri.gdt", "x");
    showScreen();
    select("Giochi.gdt");
    folder_->platform.messages.answerNext(Answer::Yes);
    folder_->platform.messages.whileShowing([this] { QFile::remove(folder_->path("Giochi.gdt")); });
    click(child(screen_.get(), "btnElimina"));
    const auto& shown = folder_->platform.messages.shown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.back().kind, MessageKind::Warning);
    QVERIFY(shown.back().text.startsWith(QString::fromUtf8("Attenzione: non è stato possibile eliminare")));
    QVERIFY(!folder_->platform.messages.texts().contains(Deleted));
    QCOMPARE(entries(), QStringList{"Altri.gdt"});
    QCOMPARE(child<QLabel>(screen_.get(), "lblCreati")->text(), countLine(1));
}

void TestApriCatalogo::keysSelectAndEnterOpens_data()
{
    QTest::addColumn<QList<Qt::Key>>("keys");
    QTest::addColumn<QString>("opened");
    // Listed as "Altro.gdt", "Bosco.gdt", "Giochi rari.gdt", "Zeta.gdt".
    QTest::newRow("as shown") << QList<Qt::Key>{} << "Altro.gdt";
    QTest::newRow("Down") << QList<Qt::Key>{Qt::Key_Down} << "Bosco.gdt";
    QTest::newRow("Down Down Up") << QList<Qt::Key>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Up} << "Bosco.gdt";
    QTest::newRow("End") << QList<Qt::Key>{Qt::Key_End} << "Zeta.gdt";
    QTest::newRow("End Home") << QList<Qt::Key>{Qt::Key_End, Qt::Key_Home} << "Altro.gdt";
    QTest::newRow("Page Down") << QList<Qt::Key>{Qt::Key_PageDown} << "Zeta.gdt";
    QTest::newRow("first letter") << QList<Qt::Key>{Qt::Key_G} << "Giochi rari.gdt";
}

// The keyboard alone: the list takes the focus with Tab, the keys move the selection with the
// current line, and Enter opens the selected archive.
void TestApriCatalogo::keysSelectAndEnterOpens()
{
    QFETCH(QList<Qt::Key>, keys);
    QFETCH(QString, opened);
    for (const char* name : {"Zeta.gdt", "Giochi rari.gdt", "Bosco.gdt", "Altro.gdt"})
        folder_->writeFile(QString::fromUtf8(name));
    showScreen();
    QVERIFY(QTest::qWaitForWindowActive(screen_.get()));
    list_->setFocus(Qt::TabFocusReason);
    for (const Qt::Key key : keys)
        QTest::keyClick(list_, key);
    QCOMPARE(list_->selectedItems().value(0) ? list_->selectedItems().value(0)->text() : QString(), opened);

    QSignalSpy toEditor(screen_.get(), &OpenArchiveScreen::archiveChosen);
    QTest::keyClick(list_, Qt::Key_Return);
    QCOMPARE(toEditor.count(), 1);
    QCOMPARE(toEditor.front().at(0).toString(), folder_->path(opened));
    QVERIFY(!screen_->isVisible());
    QVERIFY(folder_->platform.messages.shown().isEmpty());
}

void TestApriCatalogo::doubleClickOpensTheLine()
{
    for (const char* name : {"Altro.gdt", "Giochi.gdt"})
        folder_->writeFile(QString::fromUtf8(name));
    showScreen();
    QSignalSpy toEditor(screen_.get(), &OpenArchiveScreen::archiveChosen);
    const QPoint line = list_->visualItemRect(list_->item(1)).center();
    QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, line);
    QTest::mouseDClick(list_->viewport(), Qt::LeftButton, {}, line);
    QCOMPARE(toEditor.count(), 1);
    QCOMPARE(toEditor.front().at(0).toString(), folder_->path("Giochi.gdt"));
}

void TestApriCatalogo::enterWithoutSelectionOrModifiedOpensNothing_data()
{
    QTest::addColumn<bool>("selected");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("nothing selected") << false << Qt::KeyboardModifiers();
    QTest::newRow("Shift+Enter") << true << Qt::KeyboardModifiers(Qt::ShiftModifier);
    QTest::newRow("Ctrl+Enter") << true << Qt::KeyboardModifiers(Qt::ControlModifier);
}

void TestApriCatalogo::enterWithoutSelectionOrModifiedOpensNothing()
{
    QFETCH(bool, selected);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    folder_->writeFile("Giochi.gdt");
    showScreen();
    QVERIFY(QTest::qWaitForWindowActive(screen_.get()));
    list_->setFocus(Qt::TabFocusReason);
    if (!selected)
        list_->clearSelection();
    QSignalSpy toEditor(screen_.get(), &OpenArchiveScreen::archiveChosen);
    QTest::keyClick(list_, Qt::Key_Return, modifiers);
    QCOMPARE(toEditor.count(), 0);
    QVERIFY(screen_->isVisible());
    QVERIFY(folder_->platform.messages.shown().isEmpty());
}

QTEST_MAIN(TestApriCatalogo)
#include "tst_apri_catalogo.moc"
