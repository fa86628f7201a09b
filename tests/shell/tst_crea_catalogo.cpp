#include "shell/CreateArchiveScreen.h"

#include "tests/support/ProgramFolderFixture.h"

#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>

using namespace brivanto;
using platform::MessageKind;

namespace {
const QString NameMissing = QString::fromUtf8(
    "Attenzione: per creare l'archivio di giochi da tavolo è necessario indicarne il nome.");
const QString NameUsed = QString::fromUtf8(
    "Attenzione: il nome dell'archivio di giochi da tavolo indicato è già stato utilizzato in "
    "precedenza.\r\n\r\nInserire un nome diverso oppure, se si desidera aprire un archivio di giochi da "
    "tavolo già creato, premere il pulsante Apri archivio esistente.");
const QString Created = QString::fromUtf8(
    "Il file relativo al nuovo archivio di giochi da tavolo è stato creato con successo.\r\n\r\nE' ora "
    "possibile visualizzarlo nell'elenco degli archivi esistenti.");

QStringList folderEntries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}
} // namespace

class TestCreaCatalogo : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void createsEmptyArchive_data();
    void createsEmptyArchive();
    void refusesBlankOrUsedName_data();
    void refusesBlankOrUsedName();
    void nameTheFileSystemRefuses_data();
    void nameTheFileSystemRefuses();
    void refusedCharactersOnlyWhenTyped();
    void refusedCharactersThroughAnInputMethod_data();
    void refusedCharactersThroughAnInputMethod();
    void showingEmptiesAndFocusesTheName();
    void restoringFromTheTaskbarKeepsTheName();
    void nameFieldColourFollowsFocus();
    void cancelLeavesWithoutCreating();

private:
    void submit(const QString& name);

    std::unique_ptr<ProgramFolderFixture> folder_;
    std::unique_ptr<CreateArchiveScreen> screen_;
    QLineEdit* txtFile_ = nullptr;
};

void TestCreaCatalogo::init()
{
    folder_ = std::make_unique<ProgramFolderFixture>();
    screen_ = std::make_unique<CreateArchiveScreen>();
    screen_->show();
    QApplication::setActiveWindow(screen_.get());
    txtFile_ = child<QLineEdit>(screen_.get(), "txtFile");
}

void TestCreaCatalogo::cleanup()
{
    screen_.reset();
    folder_.reset();
}

void TestCreaCatalogo::submit(const QString& name)
{
    txtFile_->setText(name);
    click(child(screen_.get(), "btnApplica"));
}

void TestCreaCatalogo::createsEmptyArchive_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("file");
    QTest::newRow("plain") << "Giochi rari"
                           << "Giochi rari.gdt";
    QTest::newRow("blanks around are dropped, inside kept") << "  Giochi  rari \t"
                                                            << "Giochi  rari.gdt";
    QTest::newRow("dots stay") << "Giochi v.2"
                               << "Giochi v.2.gdt";
    QTest::newRow("extension is always added") << "Giochi.gdt"
                                               << "Giochi.gdt.gdt";
    QTest::newRow("vertical bar is allowed") << "Eurogame|Ameritrash"
                                             << "Eurogame|Ameritrash.gdt";
    QTest::newRow("accents") << QString::fromUtf8("Età dell'oro") << QString::fromUtf8("Età dell'oro.gdt");
    QTest::newRow("250 characters") << QString(250, QLatin1Char('g'))
                                    << QString(250, QLatin1Char('g')) + ".gdt";
}

void TestCreaCatalogo::createsEmptyArchive()
{
    QFETCH(QString, typed);
    QFETCH(QString, file);
    QSignalSpy closed(screen_.get(), &CreateArchiveScreen::closed);
    submit(typed);
    QCOMPARE(folder_->platform.messages.texts(), QStringList{Created});
    QCOMPARE(folder_->platform.messages.shown().front().kind, MessageKind::Information);
    QCOMPARE(folderEntries(folder_->dir.path()), QStringList{file});
    QCOMPARE(QFileInfo(folder_->path(file)).size(), 0);
    QCOMPARE(child<QLabel>(screen_.get(), "lblFile")->text(), folder_->path(file));
    QCOMPARE(closed.count(), 1);
    QVERIFY(!screen_->isVisible());
}

void TestCreaCatalogo::refusesBlankOrUsedName_data()
{
    QTest::addColumn<QString>("existing");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << "Collezione.gdt"
                           << "" << NameMissing;
    QTest::newRow("blanks only") << "Collezione.gdt"
                                 << " \t  " << NameMissing;
    QTest::newRow("name in use") << "Collezione.gdt"
                                 << "Collezione" << NameUsed;
    QTest::newRow("name in use, typed with blanks") << "Collezione.gdt"
                                                    << "  Collezione " << NameUsed;
    // The list shows these as archives of the same name, with the same photo files.
    QTest::newRow("name in use with a capital extension") << "Collezione.GDT"
                                                          << "Collezione" << NameUsed;
    QTest::newRow("name in use with a mixed-case extension") << "Collezione.gDt"
                                                             << "Collezione" << NameUsed;
}

void TestCreaCatalogo::refusesBlankOrUsedName()
{
    QFETCH(QString, existing);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    folder_->writeFile(existing, QByteArray(3376, 'k'));
    QSignalSpy closed(screen_.get(), &CreateArchiveScreen::closed);
    submit(typed);
    QCOMPARE(folder_->platform.messages.texts(), QStringList{message});
    QCOMPARE(folder_->platform.messages.shown().front().kind, MessageKind::Warning);
    QCOMPARE(folder_->platform.messages.shown().front().buttons, platform::MessageButtons::OkCancel);
    QCOMPARE(folderEntries(folder_->dir.path()), QStringList{existing});
    QCOMPARE(QFileInfo(folder_->path(existing)).size(), 3376);
    QCOMPARE(txtFile_->text(), typed);
    QCOMPARE(closed.count(), 0);
    QVERIFY(screen_->isVisible());
    QTRY_VERIFY(txtFile_->hasFocus());
}

void TestCreaCatalogo::nameTheFileSystemRefuses_data()
{
    // The reason is the program's own Italian, never the system's English description.
    const QString badCharacter = "Il nome contiene un carattere non ammesso dal file system.";
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("removeFolder");
    QTest::addColumn<QString>("reason");
    QTest::newRow("path separator, pasted") << "../fuori" << false << badCharacter;
    QTest::newRow("separator into a sub-folder") << "Foto_Gioco/nascosto" << false << badCharacter;
    QTest::newRow("too long for the file system")
        << QString(250, QChar(0x00E8)) << false
        << QString::fromUtf8("Il nome è troppo lungo per il file system.");
    QTest::newRow("program folder gone")
        << "Giochi" << true << QString::fromUtf8("La cartella del programma non è più raggiungibile.");
}

void TestCreaCatalogo::nameTheFileSystemRefuses()
{
    QFETCH(QString, typed);
    QFETCH(bool, removeFolder);
    QFETCH(QString, reason);
    QDir(folder_->dir.path()).mkdir("Foto_Gioco");
    const QStringList before = folderEntries(folder_->dir.path());
    if (removeFolder)
        setProgramFolderForTesting(folder_->dir.filePath("sparita"));
    QSignalSpy closed(screen_.get(), &CreateArchiveScreen::closed);
    submit(typed);
    const auto& shown = folder_->platform.messages.shown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.front().kind, MessageKind::Error);
    QCOMPARE(shown.front().text, QString("Impossibile creare il file \"%1\".\r\n\r\n%2")
                                     .arg(ProgramFolder() + typed + ".gdt", reason));
    QCOMPARE(folderEntries(folder_->dir.path()), before);
    QVERIFY(folderEntries(folder_->dir.filePath("Foto_Gioco")).isEmpty());
    QVERIFY(!QFile::exists(folder_->dir.filePath("../fuori.gdt")));
    QCOMPARE(txtFile_->text(), typed);
    QCOMPARE(closed.count(), 0);
}

void TestCreaCatalogo::refusedCharactersOnlyWhenTyped()
{
    const QString refused = QString::fromUtf8("\"*/:<>?\\°ÇÑçñ");
    QVERIFY(txtFile_->maxLength() == 250);
    testing::typeText(txtFile_, "A" + refused + "|b");
    QCOMPARE(txtFile_->text(), QString("A|b"));
    // Pasted text is not filtered.
    txtFile_->insert(refused);
    QCOMPARE(txtFile_->text(), "A|b" + refused);
}

void TestCreaCatalogo::refusedCharactersThroughAnInputMethod_data()
{
    // What a dead key or an input method commits, with the cursor between "X" and "Y".
    QTest::addColumn<QString>("committed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("dead-key tilde and n") << QString::fromUtf8("ñ") << "XY";
    QTest::newRow("composed capital c cedilla") << QString::fromUtf8("Ç") << "XY";
    QTest::newRow("degree sign among letters") << QString::fromUtf8("a°b") << "XabY";
    QTest::newRow("every refused character") << QString::fromUtf8("\"*/:<>?\\°ÇÑçñ") << "XY";
    QTest::newRow("accented letters are welcome") << QString::fromUtf8("èà") << QString::fromUtf8("XèàY");
}

void TestCreaCatalogo::refusedCharactersThroughAnInputMethod()
{
    QFETCH(QString, committed);
    QFETCH(QString, expected);
    txtFile_->setText("XY");
    txtFile_->setCursorPosition(1);
    QInputMethodEvent composing(QString::fromUtf8("~"), {});
    QCoreApplication::sendEvent(txtFile_, &composing);
    QInputMethodEvent commit;
    commit.setCommitString(committed);
    QCoreApplication::sendEvent(txtFile_, &commit);
    QCOMPARE(txtFile_->text(), expected);
    // The cursor stays after what was let in, where the user goes on typing.
    QCOMPARE(txtFile_->cursorPosition(), expected.size() - 1);
}

void TestCreaCatalogo::showingEmptiesAndFocusesTheName()
{
    txtFile_->setText("resto");
    screen_->hide();
    screen_->show();
    QCOMPARE(txtFile_->text(), QString());
    QTRY_VERIFY(txtFile_->hasFocus());
}

void TestCreaCatalogo::restoringFromTheTaskbarKeepsTheName()
{
    testing::typeText(txtFile_, "Giochi ra");
    txtFile_->setCursorPosition(3);
    restoreFromTaskbar(screen_.get());
    QCOMPARE(txtFile_->text(), QString("Giochi ra"));
    QCOMPARE(txtFile_->cursorPosition(), 3);
}

void TestCreaCatalogo::nameFieldColourFollowsFocus()
{
    auto colourInside = [this] {
        return txtFile_->grab().toImage().pixelColor(txtFile_->width() - 6, txtFile_->height() / 2);
    };
    QTRY_VERIFY(txtFile_->hasFocus());
    QCOMPARE(colourInside(), QColor(0xFF, 0xFF, 0x00));
    child(screen_.get(), "imgGuida")->setFocusPolicy(Qt::StrongFocus);
    child(screen_.get(), "imgGuida")->setFocus();
    QTRY_VERIFY(!txtFile_->hasFocus());
    QCOMPARE(colourInside(), QColor(0xF0, 0xF8, 0xFF));
}

void TestCreaCatalogo::cancelLeavesWithoutCreating()
{
    QSignalSpy closed(screen_.get(), &CreateArchiveScreen::closed);
    txtFile_->setText("Giochi");
    click(child(screen_.get(), "btnAnnulla"));
    QCOMPARE(closed.count(), 1);
    QVERIFY(folderEntries(folder_->dir.path()).isEmpty());
    QVERIFY(folder_->platform.messages.shown().isEmpty());
}

QTEST_MAIN(TestCreaCatalogo)
#include "tst_crea_catalogo.moc"
