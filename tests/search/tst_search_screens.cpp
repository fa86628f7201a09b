#include "search/ForSaleList.h"
#include "search/ListLine.h"
#include "search/SearchScreen.h"
#include "tests/support/PdfProbe.h"

#include "tests/editor/EditorFixture.h"
#include "tests/search/SearchFixture.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QFileInfo>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

using namespace brivanto;
using brivanto::testing::typeText;
using platform::MessageKind;

namespace {
const QString NotApplicable = QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce.");

// The search and for-sale screens over the real record editor, on an archive of given records.
struct ListScreens : EditorFixture
{
    explicit ListScreens(std::initializer_list<GameRecord> records) : ListScreens(QList<GameRecord>(records))
    {}
    explicit ListScreens(const QList<GameRecord>& records) : EditorFixture(0)
    {
        QByteArray bytes;
        for (const GameRecord& record : records)
            bytes += ::archiveBytes({record});
        QVERIFY(writeArchive(archivePath(), bytes));
    }

    // A search screen opened as the editor opens it, with the caller tag "cartoline".
    std::unique_ptr<SearchScreen> search(const QString& tag = QStringLiteral("cartoline"))
    {
        auto screen = std::make_unique<SearchScreen>(editor, &editor);
        screen->setCallerTag(tag);
        screen->show();
        return screen;
    }
    std::unique_ptr<ForSaleList> forSale()
    {
        auto screen = std::make_unique<ForSaleList>(editor, &editor);
        screen->show();
        return screen;
    }
    // The texts of the boxes shown, each marked when it was not a plain box with OK.
    QStringList plainNotices() const
    {
        QStringList texts;
        for (const auto& message : folder.platform.messages.shown()) {
            const bool plain =
                message.kind == MessageKind::Plain && message.buttons == platform::MessageButtons::Ok;
            texts.append(plain ? message.text : QStringLiteral("not a plain box: ") + message.text);
        }
        return texts;
    }
};

QListView* listOf(const QWidget* screen)
{
    return child<QListView>(screen, "lstRecords");
}

QStringList titlesListed(const QWidget* screen)
{
    QStringList names;
    const auto* model = listOf(screen)->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names.append(model->index(row, 0).data().toString().left(30).trimmed());
    return names;
}

void runSearch(QWidget* screen)
{
    click(child(screen, "btnCerca"));
}

void doubleClickRow(const QWidget* screen, int row)
{
    QListView* list = listOf(screen);
    const QModelIndex index = list->model()->index(row, 0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
}

// The focused control after each of `presses` presses of `key`, from `start`.
QStringList focusPath(QWidget* screen, QWidget* start, Qt::Key key, int presses)
{
    start->setFocus(Qt::OtherFocusReason);
    QStringList path;
    for (int i = 0; i < presses; ++i) {
        QTest::keyClick(screen->focusWidget(), key);
        path.append(screen->focusWidget()->objectName());
    }
    return path;
}

const GameRecord Scacchi = listedGame("Scacchi", "SC-1", "Classico", "Dal Negro", "1990", "12,50", "No");
const GameRecord Dama =
    listedGame("Dama", "DA-1", "Classico", "Dal Negro", "1985", "5,00", QString::fromUtf8("Sì"));
const GameRecord Risiko = listedGame("Risiko", "RS-1", "Strategia", "Editrice Giochi", "1968", "30,00", "");
const GameRecord Go = listedGame("go", "GO-1", "Astratto", "Nessuno", "1950", "", "Forse");
} // namespace

// The search screen and the for-sale summary, driven as a user would, with the real record
// editor underneath.
class TestSearchScreens : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void filterPanelFollowsItsTable();
    void search_data();
    void search();
    void waitTextShowsAsCercaGoesDown();
    void searchOnAnUnusableArchiveStaysOnTheFilters();
    void trovaOnTheScreen();
    void resultListHoldsLinesAsAModel();
    void doubleClickPutsTheLastOfTheRecordsOnTheEditor_data();
    void doubleClickPutsTheLastOfTheRecordsOnTheEditor();
    void openingALineAsksBeforeDroppingChanges_data();
    void openingALineAsksBeforeDroppingChanges();
    void doubleClickLoadsNothingWithoutTheEditorTag();
    void doubleClickOnAnUnreadableArchiveSaysSoAndLeavesTheEditor();
    void doubleClickWithNoLineSelectedJustCloses();
    void openingALineNoLongerInTheArchiveSaysSo_data();
    void openingALineNoLongerInTheArchiveSaysSo();
    void restoringAMinimisedWindowKeepsTheListAndClosingEmptiesIt();
    void forSaleListsEveryRecordNotMarkedNo();
    void forSaleDoubleClickFindsTheRecordEvenIfNotForSale();
    void forSaleWithNothingForSale();
    void forSaleOnAnUnreadableArchiveSaysSo();
    void editorButtonsOpenTheScreens_data();
    void editorButtonsOpenTheScreens();
    void stampaPrintsTheListShown_data();
    void stampaPrintsTheListShown();
};

void TestSearchScreens::cleanup()
{
    while (QWidget* modal = QApplication::activeModalWidget())
        modal->close();
}

void TestSearchScreens::filterPanelFollowsItsTable()
{
    ListScreens f{Scacchi};
    auto screen = f.search();
    QCOMPARE(screen->windowTitle(), " Trova giochi da tavolo in archivio");
    QCOMPARE(screen->minimumSize(), QSize(862, 560));
    QCOMPARE(screen->maximumSize(), QSize(862, 560));
    QVERIFY(child(screen.get(), "panAvvio")->isVisible());
    QVERIFY(!child(screen.get(), "panContainer")->isVisible());
    QVERIFY(!child(screen.get(), "lblAttendere")->isVisible());
    QTRY_COMPARE(screen->focusWidget(), child(screen.get(), "txtTitolo"));
    screen->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(screen.get()));

    const QStringList filters = {"txtTitolo", "txtTipologia", "txtEditore", "txtSerie", "txtDescrizione",
                                 "txtAnno",   "txtMittente",  "txtCarta",   "txtTesto", "txtNote"};
    QCOMPARE(focusPath(screen.get(), child(screen.get(), "txtTitolo"), Qt::Key_Tab, 12),
             (filters.mid(1) + QStringList{"btnAnnulla", "btnCerca", "txtTitolo"}));
    QCOMPARE(focusPath(screen.get(), child(screen.get(), "txtTitolo"), Qt::Key_Return, 10),
             (filters.mid(1) + QStringList{"txtTitolo"}));
    QCOMPARE(child<QLabel>(screen.get(), "lblEditore")->text(), "Genere:");
    QCOMPARE(child<QLabel>(screen.get(), "lblSerie")->text(), "Casa editrice:");

    // Each highlight shows only while its filter has the focus.
    const QStringList highlights = {"effCampo01", "effCampo02", "effCampo09", "effCampo10", "effCampo05",
                                    "effCampo06", "effCampo07", "effCampo08", "effCampo03", "effCampo04"};
    for (int i = 0; i < filters.size(); ++i) {
        QWidget* focused = child(screen.get(), filters[i].toLatin1());
        focused->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(focused->hasFocus());
        for (int j = 0; j < highlights.size(); ++j)
            QVERIFY2(child(screen.get(), highlights[j].toLatin1())->isVisible() == (i == j),
                     qPrintable(filters[i] + " " + highlights[j]));
        QVERIFY(child<QLineEdit>(screen.get(), filters[i].toLatin1())->maxLength() >= 32767);
    }
}

void TestSearchScreens::search_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("listed");

    QTest::newRow("no filter lists every record, sorted")
        << "txtTitolo"
        << "" << QStringList{"Dama", "go", "Risiko", "Scacchi"};
    QTest::newRow("blanks only") << "txtNote"
                                 << "   " << QStringList{"Dama", "go", "Risiko", "Scacchi"};
    QTest::newRow("a word typed in capitals") << "txtSerie"
                                              << "DAL NEGRO" << QStringList{"Dama", "Scacchi"};
    QTest::newRow("the year") << "txtAnno"
                              << "19" << QStringList{"Dama", "go", "Risiko", "Scacchi"};
    QTest::newRow("nothing matches") << "txtTitolo"
                                     << "monopoli" << QStringList{};
}

void TestSearchScreens::search()
{
    QFETCH(QString, filter);
    QFETCH(QString, typed);
    QFETCH(QStringList, listed);
    ListScreens f{Scacchi, Risiko, Go, Dama};
    auto screen = f.search();
    QTest::keyClicks(child(screen.get(), filter.toLatin1()), typed);
    runSearch(screen.get());

    QVERIFY(child(screen.get(), "panContainer")->isVisible());
    QVERIFY(!child(screen.get(), "panAvvio")->isVisible());
    QCOMPARE(titlesListed(screen.get()), listed);
    QCOMPARE(screen->listedLines().size(), listed.size());
    QCOMPARE(child<QLabel>(screen.get(), "lblTrovate")->text(),
             QString("Il presente riepilogo contiene %1 schede.").arg(listed.size()));
    QCOMPARE(child<QLabel>(screen.get(), "lblConta")->text(), typed.trimmed().isEmpty() ? "0" : "1");
    QCOMPARE(screen->focusWidget(), child(screen.get(), "txtTrova"));
    QCOMPARE(f.messages(), QStringList());
}

void TestSearchScreens::waitTextShowsAsCercaGoesDown()
{
    ListScreens f{Scacchi};
    auto screen = f.search();
    QWidget* cerca = child(screen.get(), "btnCerca");
    QTest::mousePress(cerca, Qt::LeftButton);
    QVERIFY(child(screen.get(), "lblAttendere")->isVisible());
    QVERIFY(screen->listedLines().isEmpty()); // the archive is read on release
    QTest::mouseRelease(cerca, Qt::LeftButton);
    QCOMPARE(screen->listedLines().size(), 1);
    QVERIFY(!child(screen.get(), "lblAttendere")->isVisible());
}

void TestSearchScreens::searchOnAnUnusableArchiveStaysOnTheFilters()
{
    ListScreens f{Scacchi};
    QVERIFY(QFile::remove(f.archivePath()));
    QVERIFY(QDir().mkpath(f.archivePath())); // a folder where the archive should be
    auto screen = f.search();
    runSearch(screen.get());
    QCOMPARE(f.plainNotices(), QStringList{ArchiveAccessError});
    QVERIFY(child(screen.get(), "panAvvio")->isVisible());
    QVERIFY(child(screen.get(), "lblAttendere")->isVisible());
    QVERIFY(!child(screen.get(), "panContainer")->isVisible());

    // Once the archive is gone it is created empty, and the search reports 0.
    QVERIFY(QDir(f.archivePath()).removeRecursively());
    runSearch(screen.get());
    QVERIFY(child(screen.get(), "panContainer")->isVisible());
    QCOMPARE(child<QLabel>(screen.get(), "lblTrovate")->text(), "Il presente riepilogo contiene 0 schede.");
    QCOMPARE(QFileInfo(f.archivePath()).size(), 0);
}

void TestSearchScreens::trovaOnTheScreen()
{
    ListScreens f{Scacchi, Risiko, Go, Dama};
    auto screen = f.search();
    runSearch(screen.get());
    auto* trova = child<QLineEdit>(screen.get(), "txtTrova");
    typeText(trova, QStringLiteral("DAL NEGRO"));
    QTest::keyClick(trova, Qt::Key_Return);
    QCOMPARE(screen->focusWidget(), child(screen.get(), "btnTrova"));
    QTest::keyClick(screen->focusWidget(), Qt::Key_Return);
    QCOMPARE(listOf(screen.get())->currentIndex().row(), 0); // Dama
    click(child(screen.get(), "btnTrova"));
    QCOMPARE(listOf(screen.get())->currentIndex().row(), 3); // Scacchi
    click(child(screen.get(), "btnTrova"));
    QCOMPARE(listOf(screen.get())->currentIndex().row(), 0);
    QCOMPARE(f.messages(), QStringList());

    // An empty list has nothing to find in.
    ListScreens empty{};
    auto nothing = empty.search();
    runSearch(nothing.get());
    click(child(nothing.get(), "btnTrova"));
    QCOMPARE(empty.plainNotices(), QStringList{NotApplicable});

    // Printing comes later: the button does nothing yet.
    click(child(screen.get(), "btnStampa"));
    QVERIFY(screen->isVisible());
    QCOMPARE(f.messages(), QStringList());
}

void TestSearchScreens::resultListHoldsLinesAsAModel()
{
    ListScreens f{Scacchi, Risiko, Go, Dama};
    auto screen = f.search();
    runSearch(screen.get());
    QListView* list = listOf(screen.get());
    QAbstractItemModelTester tester(list->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(list->uniformItemSizes());
    QCOMPARE(list->width(), 801);
    QCOMPARE(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(list->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    const QModelIndex first = list->model()->index(0, 0);
    QCOMPARE(first.data(Qt::SizeHintRole).toSize().width(), 1600);
    const QFont font = first.data(Qt::FontRole).value<QFont>();
    QCOMPARE(font.family(), "Courier New");
    QCOMPARE(font.pointSize(), 12);
    QCOMPARE(first.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::black));
    QCOMPARE(first.data().toString(), brivanto::listLine(Dama));
    QVERIFY(list->horizontalScrollBar()->maximum() > 0); // the lines are wider than the list
}

void TestSearchScreens::doubleClickPutsTheLastOfTheRecordsOnTheEditor_data()
{
    QTest::addColumn<QStringList>("marks"); // of the records sharing the line, in archive order
    QTest::addColumn<bool>("ticked");
    const QString yes = QString::fromUtf8("Sì");
    QTest::newRow("the later unmarked one leaves the box as a Sì set it") << QStringList{yes, ""} << true;
    QTest::newRow("a No between a Sì and a later unmarked one") << QStringList{yes, "No", ""} << false;
    QTest::newRow("a Sì between a No and a later unmarked one") << QStringList{"No", yes, ""} << true;
}

// The records sharing the line stand at 2, 4, 5...: the editor ends on the last, its box as the
// last of them that holds "Sì" or "No" set it.
void TestSearchScreens::doubleClickPutsTheLastOfTheRecordsOnTheEditor()
{
    QFETCH(QStringList, marks);
    QFETCH(bool, ticked);
    QList<GameRecord> records{Scacchi};
    for (qsizetype i = 0; i < marks.size(); ++i) {
        GameRecord sharing = Dama;
        TextToField(QStringLiteral("scheda %1").arg(i + 1), sharing.notes);
        TextToField(marks[i], sharing.forSale);
        records.append(sharing);
        if (i == 0)
            records.append(Risiko);
    }
    const int last = int(records.size());
    ListScreens f(records);
    f.folder.writeFile(QStringLiteral("Foto_Gioco/Giochi rari_Foto_A_2.jpg"), jpegOf(QSize(320, 200), 1));
    f.folder.writeFile(QStringLiteral("Foto_Gioco/Giochi rari_Foto_B_2.jpg"), jpegOf(QSize(320, 200), 2));
    f.folder.writeFile(QStringLiteral("Foto_Gioco/Giochi rari_Foto_A_%1.jpg").arg(last),
                       jpegOf(QSize(400, 300), 3));
    f.folder.writeFile(QStringLiteral("Foto_Gioco/Giochi rari_Foto_B_%1.jpg").arg(last),
                       jpegOf(QSize(410, 310), 4));
    auto screen = f.search();
    runSearch(screen.get());
    const QStringList listed =
        QStringList(marks.size(), QStringLiteral("Dama")) + QStringList{"Risiko", "Scacchi"};
    QCOMPARE(titlesListed(screen.get()), listed);

    doubleClickRow(screen.get(), 1);

    QVERIFY(!screen->isVisible());
    QCOMPARE(screen->result(), int(QDialog::Accepted));
    QCOMPARE(f.position(), QString::number(last));
    QCOMPARE(f.edit("txtNote")->text(), QStringLiteral("scheda %1").arg(marks.size()));
    QCOMPARE(f.edit("txtTitolo")->text(), "Dama");
    QCOMPARE(child<QCheckBox>(&f.editor, "chkInVendita")->isChecked(), ticked);
    QCOMPARE(f.editor.photo(PhotoSlotId::A).size(), QSize(400, 300));
    QCOMPARE(f.editor.photo(PhotoSlotId::B).size(), QSize(410, 310));
    QVERIFY(screen->listedLines().isEmpty()); // closing empties the list
    QCOMPARE(f.messages(), QStringList());
}

// A game typed on the editor is not dropped by opening a line: Sì saves it first, No drops it,
// Annulla stays on the list with the game still typed.
void TestSearchScreens::openingALineAsksBeforeDroppingChanges_data()
{
    QTest::addColumn<platform::Answer>("answer");
    QTest::addColumn<int>("records");   // in the archive afterwards
    QTest::addColumn<QString>("title"); // on the editor afterwards
    QTest::addColumn<bool>("listOpen");
    QTest::newRow("Sì") << platform::Answer::Yes << 3 << "Dama" << false;
    QTest::newRow("No") << platform::Answer::No << 2 << "Dama" << false;
    QTest::newRow("Annulla") << platform::Answer::Cancel << 2 << "Gioco nuovo" << true;
}

void TestSearchScreens::openingALineAsksBeforeDroppingChanges()
{
    QFETCH(platform::Answer, answer);
    QFETCH(int, records);
    QFETCH(QString, title);
    QFETCH(bool, listOpen);
    ListScreens f({Scacchi, Dama});
    f.edit("txtTitolo")->setText(QStringLiteral("Gioco nuovo"));
    f.edit("txtTipologia")->setText(QStringLiteral("GN-1"));
    f.edit("txtEditore")->setText(QStringLiteral("Astratto"));
    f.edit("txtSerie")->setText(QStringLiteral("Editrice"));
    f.edit("txtAnno")->setText(QStringLiteral("2024"));
    auto screen = f.search();
    runSearch(screen.get());
    f.folder.platform.messages.clear();
    f.folder.platform.messages.answerNext(answer);

    doubleClickRow(screen.get(), 0);

    QCOMPARE(f.messages().value(0), QStringLiteral("Salvare le modifiche alla scheda corrente?"));
    QCOMPARE(screen->isVisible(), listOpen);
    QCOMPARE(f.edit("txtTitolo")->text(), title);
    QCOMPARE(int(QFileInfo(f.editor.archiveFile()).size() / RecordSize), records);
}

void TestSearchScreens::doubleClickLoadsNothingWithoutTheEditorTag()
{
    ListScreens f{Scacchi, Dama};
    auto screen = f.search(QStringLiteral("altro"));
    runSearch(screen.get());
    doubleClickRow(screen.get(), 0);
    QVERIFY(!screen->isVisible());
    QCOMPARE(f.position(), "");
    QCOMPARE(f.edit("txtTitolo")->text(), "");
}

void TestSearchScreens::doubleClickOnAnUnreadableArchiveSaysSoAndLeavesTheEditor()
{
    ListScreens f{Scacchi, Dama};
    f.press("cmdUltimo");
    QCOMPARE(f.position(), "2");
    auto screen = f.search();
    runSearch(screen.get());
    QVERIFY(QFile::remove(f.archivePath()));
    QVERIFY(QDir().mkpath(f.archivePath()));

    doubleClickRow(screen.get(), 1); // Scacchi

    QCOMPARE(f.plainNotices(), QStringList{ArchiveAccessError});
    QVERIFY(!screen->isVisible());
    QCOMPARE(f.position(), "2");
    QCOMPARE(f.edit("txtTitolo")->text(), "Dama");
}

void TestSearchScreens::doubleClickWithNoLineSelectedJustCloses()
{
    ListScreens f{Scacchi, Dama};
    auto screen = f.search();
    runSearch(screen.get());
    QListView* list = listOf(screen.get());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, list->viewport()->height() - 5));
    QVERIFY(!screen->isVisible());
    QCOMPARE(f.messages(), QStringList());
    QCOMPARE(f.position(), "");
}

void TestSearchScreens::openingALineNoLongerInTheArchiveSaysSo_data()
{
    QTest::addColumn<bool>("forSale");
    QTest::newRow("search list") << false;
    QTest::newRow("for-sale list") << true;
}

// Another workstation deleted the listed game after the list was read: the line opens nothing,
// says so, and the list stays for another choice; the editor keeps its record.
void TestSearchScreens::openingALineNoLongerInTheArchiveSaysSo()
{
    QFETCH(bool, forSale);
    ListScreens f{Risiko, Dama};
    f.press("cmdUltimo");
    std::unique_ptr<QDialog> screen;
    if (forSale) {
        screen = f.forSale();
    } else {
        screen = f.search();
        runSearch(screen.get());
    }
    const int risiko = titlesListed(screen.get()).indexOf(QStringLiteral("Risiko"));
    QVERIFY(risiko >= 0);
    QVERIFY(writeArchive(f.archivePath(), ::archiveBytes({Dama})));

    doubleClickRow(screen.get(), risiko);

    QCOMPARE(f.plainNotices(), QStringList{QString::fromUtf8(
                                   "Il gioco da tavolo selezionato non si trova più in archivio: dopo la "
                                   "compilazione dell'elenco è stato eliminato o modificato, forse da "
                                   "un'altra postazione.\r\n\r\nChiudere l'elenco e ripetere la ricerca "
                                   "per aggiornarlo.")});
    QVERIFY(screen->isVisible());
    QCOMPARE(f.position(), "2");
    QCOMPARE(f.edit("txtTitolo")->text(), "Dama");
}

void TestSearchScreens::restoringAMinimisedWindowKeepsTheListAndClosingEmptiesIt()
{
    ListScreens f{Scacchi, Dama};
    auto screen = f.search();
    runSearch(screen.get());
    child<QLineEdit>(screen.get(), "txtTrova")->setText("dama");
    restoreFromTaskbar(screen.get());
    QVERIFY(child(screen.get(), "panContainer")->isVisible());
    QCOMPARE(screen->listedLines().size(), 2);
    QCOMPARE(child<QLineEdit>(screen.get(), "txtTrova")->text(), "dama");

    click(child(screen.get(), "btnChiudi"));
    QVERIFY(!screen->isVisible());
    QVERIFY(screen->listedLines().isEmpty());
    QVERIFY(!child(screen.get(), "lblAttendere")->isVisible());
}

void TestSearchScreens::forSaleListsEveryRecordNotMarkedNo()
{
    ListScreens f{Scacchi, Risiko, Go, Dama};
    auto screen = f.forSale();
    QCOMPARE(screen->windowTitle(), " Riepilogo giochi da tavolo in vendita");
    QCOMPARE(screen->maximumSize(), QSize(862, 560));
    // "Sì", an empty mark and any other text are listed; "No" is not.
    QCOMPARE(titlesListed(screen.get()), (QStringList{"Dama", "go", "Risiko"}));
    QTRY_COMPARE(screen->focusWidget(), child(screen.get(), "txtTrova"));
    QCOMPARE(focusPath(screen.get(), child(screen.get(), "txtTrova"), Qt::Key_Tab, 5),
             (QStringList{"lstRecords", "btnStampa", "btnTrova", "btnChiudi", "txtTrova"}));

    typeText(child(screen.get(), "txtTrova"), QStringLiteral("strategia"));
    click(child(screen.get(), "btnTrova"));
    QCOMPARE(listOf(screen.get())->currentIndex().row(), 2);
    click(child(screen.get(), "btnStampa"));
    QVERIFY(screen->isVisible());
    QCOMPARE(f.messages(), QStringList());
}

void TestSearchScreens::forSaleDoubleClickFindsTheRecordEvenIfNotForSale()
{
    GameRecord notForSale = Dama;
    TextToField(QStringLiteral("No"), notForSale.forSale);
    ListScreens f{Dama, notForSale};
    auto screen = f.forSale();
    QCOMPARE(titlesListed(screen.get()), QStringList{"Dama"});
    doubleClickRow(screen.get(), 0);
    QVERIFY(!screen->isVisible());
    QCOMPARE(f.position(), "2");
    QVERIFY(!child<QCheckBox>(&f.editor, "chkInVendita")->isChecked());
}

void TestSearchScreens::forSaleWithNothingForSale()
{
    ListScreens f{Scacchi};
    auto screen = f.forSale();
    QVERIFY(screen->listedLines().isEmpty());
    click(child(screen.get(), "btnTrova"));
    QCOMPARE(f.plainNotices(), QStringList{NotApplicable});
    QVERIFY(screen->isVisible());
}

void TestSearchScreens::forSaleOnAnUnreadableArchiveSaysSo()
{
    ListScreens f{Dama};
    QVERIFY(QFile::remove(f.archivePath()));
    QVERIFY(QDir().mkpath(f.archivePath()));
    auto screen = f.forSale();
    QTRY_COMPARE(f.plainNotices(), QStringList{ArchiveAccessError});
    QVERIFY(screen->isVisible());
    QVERIFY(screen->listedLines().isEmpty());
}

void TestSearchScreens::editorButtonsOpenTheScreens_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("tag");
    QTest::newRow("search") << "cmdTrova"
                            << "TfrmTrovaCartoline"
                            << "cartoline";
    QTest::newRow("for sale") << "cmdCercaDisponibili"
                              << "TfrmInVendita"
                              << "";
}

void TestSearchScreens::editorButtonsOpenTheScreens()
{
    QFETCH(QString, button);
    QFETCH(QString, screen);
    QFETCH(QString, tag);
    ListScreens f{Dama};
    QString opened;
    QString openedTag;
    QWidget* owner = nullptr;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        opened = modal->objectName();
        owner = modal->parentWidget();
        if (auto* memory = modal->findChild<QLabel*>("lblMemory"))
            openedTag = memory->text();
        // Both screens open with their "Chiudi" button on view only once a list is shown.
        if (auto* annulla = modal->findChild<QPushButton*>("btnAnnulla"); annulla && annulla->isVisible())
            annulla->click();
        else
            modal->findChild<QPushButton*>("btnChiudi")->click();
    });
    f.press(button.toLatin1());
    QCOMPARE(opened, screen);
    QCOMPARE(openedTag, tag);
    QCOMPARE(owner, &f.editor);
    QVERIFY(!f.editor.findChild<QDialog*>()); // discarded once closed
}

void TestSearchScreens::stampaPrintsTheListShown_data()
{
    QTest::addColumn<bool>("forSale");
    QTest::addColumn<QString>("title");
    QTest::newRow("search") << false << "Riepilogo giochi da tavolo in archivio";
    QTest::newRow("for sale") << true << "Riepilogo giochi da tavolo in vendita";
}

// "Stampa" prints the lines as listed, under the screen's own title; a print that fails reaches
// the general error report and the screen stays as it was.
void TestSearchScreens::stampaPrintsTheListShown()
{
    QFETCH(bool, forSale);
    QFETCH(QString, title);
    ListScreens f{Scacchi, Risiko, Go, Dama};
    std::unique_ptr<QDialog> screen;
    if (forSale) {
        screen = f.forSale();
    } else {
        auto search = f.search();
        runSearch(search.get());
        screen = std::move(search);
    }
    const QStringList listed = titlesListed(screen.get());
    QVERIFY(!listed.isEmpty());

    const QString pdf = f.folder.path(QStringLiteral("riepilogo.pdf"));
    f.folder.platform.printing.printToFileNext(pdf);
    click(child(screen.get(), "btnStampa"));
    QCOMPARE(f.messages(), QStringList());
    QVERIFY(screen->isVisible());
    QCOMPARE(f.folder.platform.printing.requests().size(), 1);
    QCOMPARE(f.folder.platform.printing.requests()[0].documentName, QStringLiteral("Riepilogo dati"));
    if (brivanto::testing::havePdfTools()) {
        QStringList expected{title};
        const auto* model = listOf(screen.get())->model();
        for (int row = 0; row < model->rowCount(); ++row)
            expected.append(model->index(row, 0).data().toString().simplified());
        expected.append(QStringLiteral("Stampa eseguita in data 02/01/2026 alle ore 03:04:05"));
        QCOMPARE(brivanto::testing::pdfText(pdf, 1), expected.join(QLatin1Char(' ')));
    }

    f.folder.platform.printing.printToFileNext(f.folder.path(QStringLiteral("manca/riepilogo.pdf")));
    click(child(screen.get(), "btnStampa"));
    QCOMPARE(f.folder.platform.messages.shown().size(), 1);
    QCOMPARE(f.folder.platform.messages.shown()[0].kind, MessageKind::Error);
    QCOMPARE(f.folder.platform.messages.shown()[0].buttons, platform::MessageButtons::Ok);
    QVERIFY(f.messages()[0].startsWith(QStringLiteral("Errore di stampa: ")));
    QVERIFY(screen->isVisible());
    QCOMPARE(titlesListed(screen.get()), listed);
}

QTEST_MAIN(TestSearchScreens)
#include "tst_search_screens.moc"
