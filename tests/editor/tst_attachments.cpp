#include "editor/AttachmentFile.h"
#include "editor/AttachmentsDialog.h"

#include "tests/editor/EditorFixture.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ModalWindows.h"

#include <QPushButton>

#include <sys/stat.h>

using namespace brivanto;
using platform::Answer;
using platform::MessageKind;

namespace {
const QString Overwrite = QString::fromUtf8(
    "Attenzione: nella cartella dei documenti allegati è presente un file con lo stesso nome.\r\n\r\n"
    "Si vuole sovrascrivere il file esistente?");

// The attachments screen over a real record editor, opened as the editor's paper clip opens it.
struct AttachmentsFixture
{
    explicit AttachmentsFixture(const AttachmentLabels& labels = {})
    {
        editor.editor.setAttachments(labels);
        editor.editor.hide();
        screen = std::make_unique<AttachmentsDialog>(editor.editor);
        screen->setCallerTag("cartoline");
        screen->show();
    }
    QLineEdit* edit(const char* name, int slot) const
    {
        return child<QLineEdit>(screen.get(),
                                QStringLiteral("%1%2").arg(name).arg(slot, 2, 10, QChar('0')).toLatin1());
    }
    QPushButton* button(const char* name, int slot) const
    {
        return child<QPushButton>(screen.get(),
                                  QStringLiteral("%1%2").arg(name).arg(slot, 2, 10, QChar('0')).toLatin1());
    }
    // A file outside the program folder, as the user would pick it.
    QString sourceFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = sources.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    void browse(int slot, const QString& chosen)
    {
        platform().dialogs.chooseNext(chosen);
        click(button("btnSfoglia", slot));
    }
    QString copyPath(const QString& name) const { return editor.folder.path("Documenti_Allegati/" + name); }
    platform::testing::ScriptedPlatform& platform() { return editor.folder.platform; }

    EditorFixture editor;
    QTemporaryDir sources;
    std::unique_ptr<AttachmentsDialog> screen;
};
} // namespace

// Attaching, opening and detaching files, and the names a record can hold.
class TestAttachments : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void storableName_data();
    void storableName();
    void attachmentName_data();
    void attachmentName();
    void opensWithTheEditorsValues();
    void browseCopiesTheFile_data();
    void browseCopiesTheFile();
    void sameNameAsksBeforeReplacing_data();
    void sameNameAsksBeforeReplacing();
    void fileAlreadyInTheFolderIsKept();
    void failedCopyIsReported_data();
    void failedCopyIsReported();
    void unreadableSourceIsNotAttached();
    void openGoesThroughTheShell_data();
    void openGoesThroughTheShell();
    void eraseKeepsDescriptionAndCopy();
    void applyAndCancel_data();
    void applyAndCancel();
    void editorButtonOpensTheScreen();
};

void TestAttachments::storableName_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("stored");
    QTest::newRow("plain") << "manuale.pdf"
                           << "manuale.pdf";
    QTest::newRow("blanks, accents, quote and hash") << QString::fromUtf8("  Regole d'oro #2 – più.pdf ")
                                                     << QString::fromUtf8("Regole d'oro #2 – più.pdf");
    QTest::newRow("outside the code page")
        << QString::fromUtf8("Città ★ 東京.jpg") << QString::fromUtf8("Città _ __.jpg");
    QTest::newRow("a question mark is a character of the code page")
        << QStringLiteral("Chi? Dove? Perch\u00E9?.pdf") << QStringLiteral("Chi? Dove? Perch\u00E9?.pdf");
    QTest::newRow("a character in two code units") << QString::fromUtf8("dado 🎲.png") << "dado _.png";
    QTest::newRow("too long, extension kept") << QString(300, 'a') + ".pdf" << QString(246, 'a') + ".pdf";
    QTest::newRow("too long, no extension") << QString(300, 'b') << QString(250, 'b');
    QTest::newRow("exactly 250") << QString(246, 'c') + ".txt" << QString(246, 'c') + ".txt";
}

void TestAttachments::storableName()
{
    QFETCH(QString, fileName);
    QFETCH(QString, stored);
    QCOMPARE(storableAttachmentName(fileName), stored);
    // The record stores it exactly: what it reads back names the same file.
    GameRecord record{};
    TextToField(stored, record.attachment1);
    QCOMPARE(FieldToText(record.attachment1), stored);
}

void TestAttachments::attachmentName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("plain") << "manuale.pdf" << true;
    QTest::newRow("dots inside") << "a..b.pdf" << true;
    QTest::newRow("blanks and hash") << "Regole #1 d'oro.pdf" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("parent") << ".." << false;
    QTest::newRow("itself") << "." << false;
    QTest::newRow("climbing out") << "../unins000.dll" << false;
    QTest::newRow("absolute") << "/etc/passwd" << false;
    QTest::newRow("backslash") << "..\\Zendaro.xls" << false;
    QTest::newRow("subfolder") << "sotto/file.pdf" << false;
}

void TestAttachments::attachmentName()
{
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    QCOMPARE(isAttachmentName(name), accepted);
    QCOMPARE(attachmentPath(name).isEmpty(), !accepted);
}

void TestAttachments::opensWithTheEditorsValues()
{
    AttachmentsFixture f({{"  uno.pdf ", "", " "}, {" Prima ", "Seconda", ""}});
    QCOMPARE(f.screen->objectName(), "TfrmAllegaCartella");
    QCOMPARE(f.screen->windowTitle(), " Allega file");
    QCOMPARE(f.screen->size(), QSize(634, 534));
    QCOMPARE(f.edit("txtFile", 1)->text(), "uno.pdf");
    QCOMPARE(f.edit("txtDesc", 1)->text(), "Prima");
    QCOMPARE(f.edit("txtDesc", 2)->text(), "Seconda");
    QVERIFY(f.edit("txtFile", 1)->isReadOnly());
    QVERIFY(f.button("btnApri", 1)->isEnabled());
    QVERIFY(!f.button("btnApri", 2)->isEnabled());
    QVERIFY(!f.button("btnApri", 3)->isEnabled());
    QCOMPARE(child<QLabel>(f.screen.get(), "lblNome02")->text(), QString::fromUtf8("Nome 2° file allegato:"));
    QCOMPARE(child<QLabel>(f.screen.get(), "lblDescrizione03")->text(),
             QString::fromUtf8("Descrizione 3° file allegato:"));
    QCOMPARE(child(f.screen.get(), "imgCancella01")->cursor().shape(), Qt::PointingHandCursor);
}

void TestAttachments::browseCopiesTheFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "manuale.pdf";
    QTest::newRow("blanks") << "manuale del gioco.pdf";
    QTest::newRow("accents") << QString::fromUtf8("Perché così.pdf");
    QTest::newRow("quote and hash") << "l'edizione #2.txt";
}

void TestAttachments::browseCopiesTheFile()
{
    QFETCH(QString, name);
    AttachmentsFixture f;
    const QByteArray bytes = "contenuto " + name.toUtf8();
    f.browse(2, f.sourceFile(name, bytes));

    const auto& request = f.platform().dialogs.requests().last();
    QCOMPARE(request.title, "Selezionare il file da allegare:");
    QCOMPARE(request.filters, QStringList{"Tutti i file (*.*)"});
    QCOMPARE(f.edit("txtFile", 2)->text(), name);
    QVERIFY(f.button("btnApri", 2)->isEnabled());
    QCOMPARE(f.editor.fileBytes(f.copyPath(name)), bytes);
    QVERIFY(QFileInfo::exists(f.sources.filePath(name)));
    QVERIFY(f.platform().messages.shown().isEmpty());

    // A cancelled choice changes nothing.
    f.browse(2, {});
    QCOMPARE(f.edit("txtFile", 2)->text(), name);
}

void TestAttachments::sameNameAsksBeforeReplacing_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QByteArray>("kept");
    QTest::newRow("No keeps the first copy") << Answer::No << QByteArray("prima copia");
    QTest::newRow("Yes replaces it") << Answer::Yes << QByteArray("seconda copia");
}

void TestAttachments::sameNameAsksBeforeReplacing()
{
    QFETCH(Answer, answer);
    QFETCH(QByteArray, kept);
    AttachmentsFixture f({{"", "vecchio.pdf"}, {}});
    f.editor.folder.writeFile("Documenti_Allegati/manuale.pdf", "prima copia");
    f.platform().messages.answerNext(answer);
    f.browse(2, f.sourceFile("manuale.pdf", "seconda copia"));

    QCOMPARE(f.platform().messages.texts(), QStringList{Overwrite});
    QCOMPARE(f.platform().messages.shown().front().kind, MessageKind::Confirmation);
    QCOMPARE(f.editor.fileBytes(f.copyPath("manuale.pdf")), kept);
    QCOMPARE(f.edit("txtFile", 2)->text(), "manuale.pdf");
}

void TestAttachments::fileAlreadyInTheFolderIsKept()
{
    AttachmentsFixture f;
    f.editor.folder.writeFile("Documenti_Allegati/certificato.pdf", "originale");
    f.browse(1, f.copyPath("certificato.pdf"));
    QVERIFY(f.platform().messages.shown().isEmpty());
    QCOMPARE(f.editor.fileBytes(f.copyPath("certificato.pdf")), QByteArray("originale"));
    QCOMPARE(f.edit("txtFile", 1)->text(), "certificato.pdf");

    // A name the record cannot hold: the copy gets one it can, and the slot shows it.
    f.browse(3, f.sourceFile(QString::fromUtf8("scatola ★.jpg"), "foto"));
    QCOMPARE(f.edit("txtFile", 3)->text(), "scatola _.jpg");
    QCOMPARE(f.editor.fileBytes(f.copyPath("scatola _.jpg")), QByteArray("foto"));
}

void TestAttachments::failedCopyIsReported_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("source is a folder") << "folder";
    QTest::newRow("source vanished") << "missing";
    QTest::newRow("attachments folder cannot be made") << "no folder";
    QTest::newRow("a folder of that name is in the way") << "target folder";
}

void TestAttachments::failedCopyIsReported()
{
    QFETCH(QString, kind);
    AttachmentsFixture f({{"precedente.pdf"}, {}});
    QString source = f.sourceFile("nuovo.pdf", "nuovo");
    if (kind == "folder") {
        source = f.sources.filePath("cartella");
        QVERIFY(QDir().mkpath(source));
    } else if (kind == "missing") {
        QVERIFY(QFile::remove(source));
    } else if (kind == "no folder") {
        f.editor.folder.writeFile("Documenti_Allegati", "un file, non una cartella");
    } else if (kind == "target folder") {
        QVERIFY(QDir().mkpath(f.copyPath("nuovo.pdf") + "/dentro"));
        f.platform().messages.answerNext(Answer::Yes);
    }
    f.platform().messages.clear();
    f.browse(1, source);

    QCOMPARE(f.edit("txtFile", 1)->text(), "precedente.pdf");
    QCOMPARE(f.platform().messages.shown().last().kind, MessageKind::Warning);
    QVERIFY(
        f.platform().messages.texts().last().startsWith("Attenzione: non è stato possibile copiare il file"));
    if (kind == "target folder")
        QVERIFY(QFileInfo(f.copyPath("nuovo.pdf") + "/dentro").isDir());
}

void TestAttachments::unreadableSourceIsNotAttached()
{
    ProgramFolderFixture folder;
    ::chmod(QFile::encodeName(folder.dir.path()).constData(), 0777);
    folder.writeFile("fonte.pdf", "segreto");
    ::chmod(QFile::encodeName(folder.path("fonte.pdf")).constData(), 0);
    const int attached = brivanto::testing::runInChild(
        [&] { return attachFile(folder.path("fonte.pdf"), [] { return true; }) ? 1 : 0; }, true);
    QCOMPARE(attached, 0);
    // The folder was made, but no copy and no leftover is in it.
    QCOMPARE(QDir(attachmentFolder()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

void TestAttachments::openGoesThroughTheShell_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("opened");       // handed to the desktop
    QTest::addColumn<bool>("desktopOpens"); // the desktop has a program for it
    QTest::addColumn<QString>("warning");   // "" none, "cannot open" naming the copy, "invalid name"
    QTest::newRow("blanks and hash") << "manuale del gioco #2.pdf" << true << true << "";
    // The desktop's opener answers yes for a missing file and shows nothing.
    QTest::newRow("copy missing") << "sparito.pdf" << false << true << "cannot open";
    QTest::newRow("the desktop cannot open it")
        << "manuale del gioco #2.pdf" << true << false << "cannot open";
    QTest::newRow("climbing out") << "../unins000.dll" << false << true << "invalid name";
    QTest::newRow("absolute") << "/etc/passwd" << false << true << "invalid name";
    QTest::newRow("backslash") << "..\\Zendaro.xls" << false << true << "invalid name";
}

void TestAttachments::openGoesThroughTheShell()
{
    QFETCH(QString, name);
    QFETCH(bool, opened);
    QFETCH(bool, desktopOpens);
    QFETCH(QString, warning);
    AttachmentLabels labels;
    labels.files[2] = name;
    AttachmentsFixture f(labels);
    f.editor.folder.writeFile("Documenti_Allegati/manuale del gioco #2.pdf", "pdf");
    if (!desktopOpens)
        f.platform().shell.refuseEverything();
    click(f.button("btnApri", 3));

    const QList<QUrl> expected = opened ? QList<QUrl>{QUrl::fromLocalFile(f.copyPath(name))} : QList<QUrl>{};
    QCOMPARE(f.platform().shell.opened(), expected);
    const auto& shown = f.platform().messages.shown();
    QCOMPARE(shown.size(), warning.isEmpty() ? 0 : 1);
    if (!warning.isEmpty()) {
        QCOMPARE(shown.front().kind, MessageKind::Warning);
        QCOMPARE(shown.front().parent, f.screen.get());
    }
    if (warning == "cannot open") {
        // Named whole, over the attachments screen.
        QCOMPARE(shown.front().text,
                 QString("Attenzione: non è stato possibile aprire il file \"%1\".\r\n\r\n"
                         "Accertarsi che il file esista e che sul computer sia installato un "
                         "programma in grado di aprire questo tipo di file.")
                     .arg(f.copyPath(name)));
    } else if (warning == "invalid name") {
        QVERIFY2(shown.front().text.startsWith("Attenzione: il nome del file allegato non è valido."),
                 qPrintable(shown.front().text));
    }
    QVERIFY(f.screen->isVisible());
}

void TestAttachments::eraseKeepsDescriptionAndCopy()
{
    AttachmentsFixture f({{"manuale.pdf"}, {"Il manuale"}});
    f.editor.folder.writeFile("Documenti_Allegati/manuale.pdf", "pdf");
    click(child(f.screen.get(), "imgCancella01"));
    QCOMPARE(f.edit("txtFile", 1)->text(), "");
    QVERIFY(!f.button("btnApri", 1)->isEnabled());
    QCOMPARE(f.edit("txtDesc", 1)->text(), "Il manuale");
    QVERIFY(QFileInfo::exists(f.copyPath("manuale.pdf")));
    click(child(f.screen.get(), "btnApplica"));
    QCOMPARE(f.editor.editor.attachments().files[0], "");
    QCOMPARE(f.editor.editor.attachments().descriptions[0], "Il manuale");
}

void TestAttachments::applyAndCancel_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("applied");
    QTest::addColumn<bool>("closed");
    QTest::newRow("apply from the editor") << " cartoline "
                                           << "btnApplica" << true << true;
    QTest::newRow("apply with another tag does nothing") << "foto01"
                                                         << "btnApplica" << false << false;
    QTest::newRow("cancel") << "cartoline"
                            << "btnAnnulla" << false << true;
}

void TestAttachments::applyAndCancel()
{
    QFETCH(QString, tag);
    QFETCH(QString, button);
    QFETCH(bool, applied);
    QFETCH(bool, closed);
    AttachmentsFixture f({{"a.pdf", "b.pdf", "c.pdf"}, {"A", "B", "C"}});
    f.screen->setCallerTag(tag);
    f.browse(3, f.sourceFile("nuovo.pdf", "nuovo"));
    f.edit("txtDesc", 3)->setText("  Nuova descrizione  ");
    click(child(f.screen.get(), button.toLatin1().constData()));

    const AttachmentLabels labels = f.editor.editor.attachments();
    QCOMPARE(labels.files[2], applied ? "nuovo.pdf" : "c.pdf");
    QCOMPARE(labels.descriptions[2], applied ? "Nuova descrizione" : "C");
    QCOMPARE(labels.files[0], "a.pdf");
    QCOMPARE(f.screen->isVisible(), !closed);
    QVERIFY(QFileInfo::exists(f.copyPath("nuovo.pdf"))); // copies stay in every case
}

void TestAttachments::editorButtonOpensTheScreen()
{
    EditorFixture f(0);
    f.editor.setAttachments({{"uno.pdf"}, {"Uno"}});
    QString name;
    QString tag;
    QString file;
    bool overEditor = false;
    whenModalShown([&](QWidget* modal) {
        name = modal->objectName();
        tag = child<QLabel>(modal, "lblMemory")->text();
        file = child<QLineEdit>(modal, "txtFile01")->text();
        overEditor = modal->isModal() && modal->parentWidget() == &f.editor;
    });
    f.press("cmdFile");
    QCOMPARE(name, "TfrmAllegaCartella");
    QCOMPARE(tag, "cartoline");
    QCOMPARE(file, "uno.pdf");
    QVERIFY(overEditor);
    QVERIFY(f.editor.findChildren<AttachmentsDialog*>().isEmpty());
}

QTEST_MAIN(TestAttachments)
#include "tst_attachments.moc"
