// The statistics screen over the real record editor: what it covers from the editor and from the
// lists, what a keyboard and a screen reader meet, the games a bar lists, an archive that changes
// or cannot be read, the table copied and saved as CSV, and the printed page measured on paper.
#include "report/PdfOutput.h"
#include "search/ListLine.h"
#include "search/ResultList.h"
#include "statistics/BarChartView.h"
#include "statistics/GroupListScreen.h"
#include "statistics/GroupListing.h"
#include "statistics/StatisticsPage.h"
#include "statistics/StatisticsScreen.h"

#include "tests/editor/EditorFixture.h"
#include "tests/statistics/StatisticsFixture.h"
#include "tests/support/CsvRows.h"
#include "tests/support/PdfProbe.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>

using namespace brivanto;
using namespace brivanto::statistics;
using namespace brivanto::testing;

namespace {

const QString Yes = QString::fromUtf8("Sì");

// Six games: three strategic (one spelt in capitals), two cooperative, one without a genre; two for
// sale; one value that is not money.
std::vector<GameRecord> sixGames()
{
    return {
        game({{"name", "Alfa"},
              {"genre", "Strategico"},
              {"marketValue", "100,00"},
              {"players", "2-4"},
              {"forSale", Yes}}),
        game({{"name", "Beta"}, {"genre", "Cooperativo"}, {"marketValue", "20,50"}, {"players", "1-2"}}),
        game({{"name", "Gamma"}, {"genre", "STRATEGICO"}, {"marketValue", "40,00"}, {"players", "3"}}),
        game({{"name", "Delta"}, {"genre", ""}, {"marketValue", "abc"}, {"players", "tutti"}}),
        game({{"name", "Epsilon"}, {"genre", "Cooperativo"}, {"marketValue", "0,00"}, {"forSale", Yes}}),
        game({{"name", "Zeta"}, {"genre", "Strategico"}, {"marketValue", "7,25"}, {"players", "4+"}}),
    };
}

// The record editor on an archive of the given games.
struct Collection : EditorFixture
{
    explicit Collection(const std::vector<GameRecord>& games = sixGames()) : EditorFixture(0)
    {
        if (!writeGames(archivePath(), games))
            qFatal("cannot write the archive");
    }

    // A screen of the whole archive, shown and read.
    std::unique_ptr<StatisticsScreen> screen(StatisticsCoverage coverage = StatisticsCoverage::wholeArchive())
    {
        auto shown = std::make_unique<StatisticsScreen>(editor, std::move(coverage), &editor);
        if (!shown->startReading())
            return nullptr;
        shown->show();
        if (!QTest::qWaitFor([&] { return !shown->isReading(); }))
            return nullptr;
        QApplication::setActiveWindow(shown.get());
        if (!QTest::qWaitForWindowActive(shown.get()))
            return nullptr;
        return shown;
    }
};

QString textOf(const QWidget* screen, const char* name)
{
    return child<QLabel>(screen, name)->text();
}

QStringList linesOf(const ListLines& lines)
{
    QStringList texts;
    for (qsizetype row = 0; row < lines.size(); ++row)
        texts.append(lines.at(row));
    return texts;
}

// The list lines of `games` chosen by their place in the archive (from 1), in list order.
QStringList expectedLines(const std::vector<GameRecord>& games, const std::vector<int>& positions)
{
    ListLines lines;
    for (const int position : positions)
        lines.append(games[std::size_t(position - 1)]);
    lines.sort();
    return linesOf(lines);
}

// Runs `act`, which opens a modal window; `look` sees that window once it is up, then it closes.
template <class Window>
void whileOpen(const std::function<void()>& act, const std::function<void(Window*)>& look)
{
    bool looked = false;
    QTimer::singleShot(0, [&] {
        looked = true;
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        QVERIFY2(window, "the window did not open");
        look(window);
        if (window->isVisible())
            window->reject();
    });
    act();
    if (!looked)
        QCoreApplication::processEvents();
    QVERIFY(looked);
}

// What a screen reader says of each bar. Offscreen no screen reader listens, so the toolkit does not
// tell the accessible list that its model was reset: it is asked afresh.
QStringList barNames(QWidget* chart)
{
    if (QAccessibleInterface* cached = QAccessible::queryAccessibleInterface(chart))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cached));
    QAccessibleInterface* bars = QAccessible::queryAccessibleInterface(chart);
    QStringList names;
    for (int i = 0; i < bars->childCount(); ++i)
        names.append(bars->child(i)->text(QAccessible::Name));
    return names;
}

// The lines of the list a bar or a figure opens.
QStringList listedFrom(StatisticsScreen&, const std::function<void()>& activate)
{
    QStringList listed;
    whileOpen<GroupListScreen>(activate,
                               [&](GroupListScreen* list) { listed = linesOf(list->listedLines()); });
    return listed;
}

} // namespace

class TestStatisticsScreen : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QAccessible::setActive(true); }

    // Ctrl+T in a field, or the toolbar button: the whole archive, the figures as the editor writes money.
    void editorKeyOpensTheWholeArchive()
    {
        Collection f;
        QApplication::setActiveWindow(&f.editor);
        QVERIFY(QTest::qWaitForWindowActive(&f.editor));
        f.edit("txtNote")->setFocus();
        whileOpen<StatisticsScreen>(
            [&] { QTest::keyClick(f.edit("txtNote"), Qt::Key_T, Qt::ControlModifier); },
            [&](StatisticsScreen* screen) {
                QTRY_VERIFY(!screen->isReading());
                QCOMPARE(screen->windowTitle(), QString::fromUtf8(" Statistiche — tutto l'archivio"));
                QCOMPARE(textOf(screen, "lblCopertura"),
                         QStringLiteral("Archivio \"Giochi rari\": tutto l'archivio"));
                QCOMPARE(textOf(screen, "lblLettura"),
                         QStringLiteral("Dati letti il 02/01/2026 alle 03:04:05"));
                QCOMPARE(textOf(screen, "lblValoreGiochi"), QStringLiteral("6"));
                QCOMPARE(textOf(screen, "lblValoreValoreTotale"), QString::fromUtf8("167,75 €"));
                QCOMPARE(textOf(screen, "lblValoreValoreMedio"), QString::fromUtf8("41,94 €"));
                QCOMPARE(textOf(screen, "lblValoreValoreMediano"), QString::fromUtf8("30,25 €"));
                QCOMPARE(child<QPushButton>(screen, "btnInVendita")->accessibleName(),
                         QString::fromUtf8("In vendita: 2 giochi, 100,00 €"));
                QCOMPARE(child<QPushButton>(screen, "btnSenzaValore")->accessibleName(),
                         QStringLiteral("Senza valore di mercato: 2 giochi (1 non leggibile)"));
                QCOMPARE(screen->focusWidget(), child(screen, "grfBarre"));
            });
        QCOMPARE(f.position(), QString());
        whileOpen<StatisticsScreen>([&] { f.press("cmdStatistiche"); },
                                    [&](StatisticsScreen* screen) {
                                        QTRY_VERIFY(!screen->isReading());
                                        QCOMPARE(screen->statistics()->figures().all.games, std::int64_t(6));
                                    });
    }

    // "Statistiche" on the search list: only the games found, and the title says how many.
    void searchListCoversOnlyItsGames()
    {
        Collection f;
        whileOpen<QDialog>(
            [&] { f.press("cmdTrova"); },
            [&](QDialog* search) {
                child<QLineEdit>(search, "txtEditore")->setText(QStringLiteral("strategico"));
                click(child(search, "btnCerca"));
                whileOpen<StatisticsScreen>(
                    [&] { click(child(search, "btnStatistiche")); },
                    [&](StatisticsScreen* screen) {
                        QTRY_VERIFY(!screen->isReading());
                        QCOMPARE(screen->windowTitle(), QString::fromUtf8(" Statistiche — 3 giochi trovati"));
                        QCOMPARE(screen->statistics()->figures().all.games, std::int64_t(3));
                        QCOMPARE(textOf(screen, "lblValoreValoreTotale"), QString::fromUtf8("147,25 €"));
                    });
                QVERIFY(search->isVisible());
            });
    }

    void forSaleListCoversTheGamesForSale()
    {
        Collection f;
        whileOpen<QDialog>(
            [&] { f.press("cmdCercaDisponibili"); },
            [&](QDialog* list) {
                QApplication::setActiveWindow(list);
                QVERIFY(QTest::qWaitForWindowActive(list));
                whileOpen<StatisticsScreen>(
                    [&] { QTest::keyClick(child(list, "lstRecords"), Qt::Key_T, Qt::ControlModifier); },
                    [&](StatisticsScreen* screen) {
                        QTRY_VERIFY(!screen->isReading());
                        QCOMPARE(screen->windowTitle(),
                                 QString::fromUtf8(" Statistiche — 2 giochi in vendita"));
                        QCOMPARE(screen->statistics()->figures().all.forSale, std::int64_t(2));
                    });
            });
    }

    // What a screen reader says of each bar, the table beside it, the measure, and the keys.
    void barsSayTheirLabelAndFigures()
    {
        Collection f;
        const auto screen = f.screen();
        QVERIFY(screen);
        auto* chart = child<BarChartView>(screen.get(), "grfBarre");
        QAbstractItemModelTester barsTester(chart->model(),
                                            QAbstractItemModelTester::FailureReportingMode::QtTest);
        auto* table = child<QTableView>(screen.get(), "tblTabella");
        QAbstractItemModelTester tableTester(table->model(),
                                             QAbstractItemModelTester::FailureReportingMode::QtTest);

        QAccessibleInterface* bars = QAccessible::queryAccessibleInterface(chart);
        QVERIFY(bars);
        QCOMPARE(bars->text(QAccessible::Name), QStringLiteral("Grafico: Genere, per numero di giochi"));
        QCOMPARE(
            barNames(chart),
            (QStringList{QString::fromUtf8("Strategico: 3 giochi, 1 in vendita, 147,25 €, 50,0 % dei giochi"),
                         QString::fromUtf8("Cooperativo: 2 giochi, 1 in vendita, 20,50 € (1 senza valore), "
                                           "33,3 % dei giochi"),
                         QString::fromUtf8("(non indicato): 1 gioco, 0 in vendita, 0,00 € (1 senza valore), "
                                           "16,7 % dei giochi")}));
        QCOMPARE(table->model()->rowCount(), 3);
        QCOMPARE(table->model()->index(0, 3).data().toString(), QString::fromUtf8("147,25 €"));
        QCOMPARE(table->model()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Quota giochi"));

        // Down moves to the next bar, and the table follows.
        chart->setFocus(Qt::TabFocusReason);
        QTest::keyClick(chart, Qt::Key_Down);
        QCOMPARE(screen->currentBar(), 1);
        QCOMPARE(table->currentIndex().row(), 1);

        // Alt+V: the bars measure value, largest first, "(non indicato)" still last.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::AltModifier);
        QTRY_COMPARE(screen->measure(), Measure::Value);
        QVERIFY(child<QRadioButton>(screen.get(), "optValore")->isChecked());
        QCOMPARE(QAccessible::queryAccessibleInterface(chart)->text(QAccessible::Name),
                 QStringLiteral("Grafico: Genere, per valore di mercato"));
        QCOMPARE(barNames(chart).first(),
                 QString::fromUtf8("Strategico: 3 giochi, 1 in vendita, 147,25 €, 87,8 % del valore"));
        // The bar chosen before stays chosen.
        QCOMPARE(screen->shownChart().rows[std::size_t(screen->currentBar())].label,
                 QStringLiteral("Cooperativo"));

        // Another chart from its list: the players, where a game counts for each number it takes.
        auto* charts = child<QListWidget>(screen.get(), "lstGrafici");
        charts->setCurrentRow(int(ChartId::Players));
        QCOMPARE(screen->chart(), ChartId::Players);
        QVERIFY(child<QLabel>(screen.get(), "lblNota")->isVisibleTo(screen.get()));
        QCOMPARE(barNames(chart).at(3).left(13), QStringLiteral("4 giocatori: "));
    }

    // Tab goes round the screen in reading order; the radio buttons are one stop, the arrows
    // choose between them.
    void tabGoesRoundTheScreenInReadingOrder()
    {
        Collection f;
        const auto screen = f.screen();
        QVERIFY(screen);
        QApplication::setActiveWindow(screen.get());
        QVERIFY(QTest::qWaitForWindowActive(screen.get()));
        const QStringList order{"btnAggiorna",   "btnInVendita", "btnSenzaValore", "btnSenzaFoto",
                                "btnConDifetti", "lstGrafici",   "optGiochi",      "grfBarre",
                                "tblTabella",    "btnElenca",    "btnCopia",       "btnSalvaCsv",
                                "btnAnteprima",  "btnStampa",    "btnGuida",       "btnChiudi"};
        child(screen.get(), "btnAggiorna")->setFocus(Qt::TabFocusReason);
        QStringList reached{QApplication::focusWidget()->objectName()};
        for (qsizetype i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(reached, order);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("btnAggiorna"));
    }

    // A bar, a table row and a figure list exactly their games, read again from the archive.
    void barListsExactlyItsGames()
    {
        const std::vector<GameRecord> games = sixGames();
        Collection f(games);
        const auto screen = f.screen();
        QVERIFY(screen);
        auto* chart = child<BarChartView>(screen.get(), "grfBarre");

        screen->setCurrentBar(0);
        QCOMPARE(listedFrom(*screen, [&] { QTest::keyClick(chart, Qt::Key_Return); }),
                 expectedLines(games, {1, 3, 6}));
        screen->setCurrentBar(2);
        QCOMPARE(listedFrom(*screen, [&] { click(child(screen.get(), "btnElenca")); }),
                 expectedLines(games, {4}));

        auto* table = child<QTableView>(screen.get(), "tblTabella");
        table->setFocus(Qt::TabFocusReason);
        table->selectRow(1);
        QCOMPARE(listedFrom(*screen, [&] { QTest::keyClick(table, Qt::Key_Return); }),
                 expectedLines(games, {2, 5}));

        screen->showChart(ChartId::Players);
        screen->setCurrentBar(3); // four players: 2-4 and 4+
        QCOMPARE(listedFrom(*screen, [&] { QTest::keyClick(chart, Qt::Key_Enter, Qt::KeypadModifier); }),
                 expectedLines(games, {1, 6}));

        screen->showChart(ChartId::MostValuable);
        screen->setCurrentBar(1);
        QCOMPARE(listedFrom(*screen, [&] { QTest::keyClick(chart, Qt::Key_Return); }),
                 expectedLines(games, {3}));

        QCOMPARE(listedFrom(*screen, [&] { click(child(screen.get(), "btnInVendita")); }),
                 expectedLines(games, {1, 5}));
        QCOMPARE(listedFrom(*screen, [&] { click(child(screen.get(), "btnSenzaValore")); }),
                 expectedLines(games, {4, 5}));
        QCOMPARE(listedFrom(*screen, [&] { click(child(screen.get(), "btnSenzaFoto")); }),
                 expectedLines(games, {1, 2, 3, 4, 5, 6}));
        QCOMPARE(f.messages(), QStringList());
    }

    // A game opened from a bar's list: the editor asks about its unsaved changes first, shows the
    // game, and the list and the statistics close.
    void gameOpenedFromABarGoesToTheEditor()
    {
        Collection f;
        f.edit("txtTitolo")->setText(QStringLiteral("Un gioco nuovo"));
        bool opened = false;
        whileOpen<StatisticsScreen>(
            [&] { opened = showStatistics(f.editor, &f.editor, StatisticsCoverage::wholeArchive()); },
            [&](StatisticsScreen* screen) {
                QTRY_VERIFY(!screen->isReading());
                screen->setCurrentBar(0);
                whileOpen<GroupListScreen>([&] { screen->listBar(0); },
                                           [&](GroupListScreen* list) {
                                               auto* lines = child<ResultList>(list, "lstRecords");
                                               lines->selectRow(lines->lines().size() -
                                                                1); // "Zeta": the last in list order
                                               f.folder.platform.messages.answerNext(platform::Answer::No);
                                               QTest::keyClick(lines, Qt::Key_Return);
                                               QVERIFY(!list->isVisible());
                                           });
                QVERIFY(!screen->isVisible());
                QVERIFY(screen->recordOpened());
            });
        QVERIFY(opened);
        QCOMPARE(f.messages(), QStringList{QStringLiteral("Salvare le modifiche alla scheda corrente?")});
        QCOMPARE(f.edit("txtTitolo")->text(), QStringLiteral("Zeta"));
        QCOMPARE(f.position(), QStringLiteral("6"));
    }

    // Another workstation adds a game while the screen is open: the screen says so, a bar lists
    // nothing rather than the wrong games, and "Aggiorna" reads again.
    void changedArchiveIsToldAndReadAgain()
    {
        std::vector<GameRecord> games = sixGames();
        Collection f(games);
        const auto screen = f.screen();
        QVERIFY(screen);
        auto* changed = child<QLabel>(screen.get(), "lblCambiato");
        screen->checkArchiveChanged();
        QVERIFY(!changed->isVisibleTo(screen.get()));

        games.push_back(game({{"name", "Eta"}, {"genre", "Strategico"}, {"marketValue", "1000,00"}}));
        QVERIFY(writeGames(f.archivePath(), games));
        f.folder.platform.timers.tick();
        QVERIFY(changed->isVisibleTo(screen.get()));

        screen->listBar(0);
        QCOMPARE(f.messages(), QStringList{archiveChangedText()});

        f.folder.platform.clock.set(QDateTime(QDate(2026, 1, 2), QTime(4, 5, 6)));
        click(child(screen.get(), "btnAggiorna"));
        QTRY_VERIFY(!screen->isReading());
        QCOMPARE(screen->statistics()->figures().all.games, std::int64_t(7));
        QCOMPARE(textOf(screen.get(), "lblLettura"),
                 QStringLiteral("Dati letti il 02/01/2026 alle 04:05:06"));
        QVERIFY(!changed->isVisibleTo(screen.get()));
        QCOMPARE(listedFrom(*screen, [&] { screen->listBar(0); }), expectedLines(games, {1, 3, 6, 7}));
    }

    // An archive that cannot be read: the access error, and no statistics window.
    void unreadableArchiveOpensNoWindow()
    {
        Collection f;
        QDir(f.folder.path(QString())).mkpath(QStringLiteral("Cartella.gdt"));
        f.editor.setArchive(f.folder.path(QStringLiteral("Cartella.gdt")), QStringLiteral("Cartella"));
        QVERIFY(!showStatistics(f.editor, &f.editor, StatisticsCoverage::wholeArchive()));
        QCOMPARE(f.messages(), QStringList{ArchiveAccessError});
        for (QWidget* window : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<StatisticsScreen*>(window));
    }

    // The table in the clipboard for a spreadsheet, and as a CSV file of the program's form.
    void tableIsCopiedAndSavedAsCsv()
    {
        Collection f;
        const auto screen = f.screen();
        QVERIFY(screen);
        click(child(screen.get(), "btnCopia"));
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        QVERIFY(copied);
        QCOMPARE(
            copied->text().split(QStringLiteral("\r\n")).first(),
            QStringLiteral("Genere\tGiochi\tIn vendita\tValore di mercato (\u20AC)\tQuota dei giochi (%)"));
        QCOMPARE(copied->text().split(QStringLiteral("\r\n")).at(1),
                 QStringLiteral("Strategico\t3\t1\t147,25\t50,0"));
        QVERIFY(copied->data(QStringLiteral("text/csv")).startsWith("\xEF\xBB\xBF"));

        const QString path = f.folder.path(QStringLiteral("tabella.csv"));
        f.folder.platform.dialogs.chooseNext(path);
        click(child(screen.get(), "btnSalvaCsv"));
        QCOMPARE(f.folder.platform.dialogs.requests().last().initialName.section(QLatin1Char('/'), -1),
                 QStringLiteral("Giochi rari - statistiche Genere.csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(bytes.count("\r\n"), 4);
        QCOMPARE(bytes.count('\n'), 4);
        const QList<QStringList> rows = csvRows(QString::fromUtf8(bytes.mid(3)), QLatin1Char(';'));
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows.at(0),
                 (QStringList{"Genere", "Giochi", "In vendita", QString::fromUtf8("Valore di mercato (€)"),
                              "Quota dei giochi (%)"}));
        QCOMPARE(rows.at(2), (QStringList{"Cooperativo", "2", "1", "20,50", "33,3"}));
        QCOMPARE(rows.at(3), (QStringList{"(non indicato)", "1", "0", "0,00", "16,7"}));
        QCOMPARE(f.messages().size(), 1);
        QVERIFY(
            f.messages().first().startsWith(QString::fromUtf8("La tabella è stata salvata nel file CSV")));
    }

    // The chart on screen: each bar as long as its measure allows, for sale in the second colour.
    void barsOnScreenAreInProportion()
    {
        Collection f;
        const auto screen = f.screen();
        QVERIFY(screen);
        screen->resize(1400, 800);
        auto* chart = child<BarChartView>(screen.get(), "grfBarre");
        QTRY_COMPARE(chart->viewport()->width() > 600, true);
        const QImage drawn = chart->viewport()->grab().toImage();
        const double ratio = drawn.width() / double(chart->viewport()->width());
        const auto barLength = [&](int row) {
            const QRect box = chart->visualRect(chart->model()->index(row, 0));
            const int y = int(box.center().y() * ratio);
            int x = int(chart->barsLeft() * ratio) + 1;
            int length = 0;
            for (; x < drawn.width(); ++x, ++length) {
                const QRgb pixel = drawn.pixel(x, y) & 0xFFFFFF;
                if (!colourNear(pixel, NotForSaleColour.rgb() & 0xFFFFFF, 30) &&
                    !colourNear(pixel, ForSaleColour.rgb() & 0xFFFFFF, 30))
                    break;
            }
            return length / ratio;
        };
        const double longest = barLength(0);
        QVERIFY(std::abs(longest - chart->barRoom()) < 3);
        QVERIFY(std::abs(barLength(1) - longest * 2 / 3) < 3);
        QVERIFY(std::abs(barLength(2) - longest / 3) < 3);
    }

    // The printed page, as a PDF file read back with poppler: the figures, the chart's rows, and
    // each bar as long as its measure against the longest.
    void printedPageHoldsTheFiguresAndBarsInProportion()
    {
        if (!havePdfTools())
            QSKIP("poppler-utils is not installed");
        Collection f;
        const auto screen = f.screen();
        QVERIFY(screen);
        const QString pdf = f.folder.path(QStringLiteral("statistiche.pdf"));
        f.folder.platform.printing.printToFileNext(pdf);
        click(child(screen.get(), "btnStampa"));
        QCOMPARE(f.folder.platform.printing.requests().size(), 1);
        QCOMPARE(f.folder.platform.printing.requests().first().documentName,
                 QStringLiteral("Statistiche della collezione"));
        QVERIFY(!f.folder.platform.printing.requests().first().underWaitCursor);
        QCOMPARE(pdfPageCount(pdf), 1);

        const QList<PdfWord> words = pdfWords(pdf).value(0);
        const QString text = textIn(words, QRectF(0, 0, 210, 297));
        for (const char* expected :
             {"Statistiche della collezione", "Archivio: Giochi rari",
              "Dati letti il 02/01/2026 alle 03:04:05", "Genere, per numero di giochi", "Strategico",
              "Cooperativo", "(non indicato)", "Stampa eseguita in data 02/01/2026 alle ore 03:04:05"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        // The figures, each caption with its value on its line.
        const QStringList figures{"Giochi 6", QString::fromUtf8("Valore totale 167,75 €"),
                                  QString::fromUtf8("Valore medio 41,94 €"),
                                  QString::fromUtf8("Valore mediano 30,25 €")};
        for (int i = 0; i < figures.size(); ++i)
            QCOMPARE(textIn(words, QRectF(11, 33.5 + 6 * i, 92, 5)), figures[i]);
        QCOMPARE(textIn(words, QRectF(106, 33.5, 92, 5)), QString::fromUtf8("In vendita 2 giochi, 100,00 €"));
        // The figures of the first row stand in their columns, right-aligned at their edges.
        QRectF share;
        QCOMPARE(textIn(words, QRectF(185, 75, 15, 6), &share), QStringLiteral("50,0 %"));
        QVERIFY(std::abs(share.right() - 199.0) < 0.6);

        constexpr int Dpi = 300;
        const QImage page = rasterisedPage(pdf, 1, Dpi);
        QVERIFY(!page.isNull());
        const auto barLength = [&](int row) {
            const double y = PageFirstRowTop + row * PageRowPitch + 3.25;
            double x = PageBarLeft + 0.1;
            while (x < PageBarLeft + PageBarLength + 5) {
                const QRgb pixel = colourAtMm(page, QPointF(x, y), Dpi);
                if (!colourNear(pixel, NotForSaleColour.rgb() & 0xFFFFFF, 25) &&
                    !colourNear(pixel, ForSaleColour.rgb() & 0xFFFFFF, 25))
                    break;
                x += 0.05;
            }
            return x - PageBarLeft;
        };
        QVERIFY2(std::abs(barLength(0) - PageBarLength) < 0.4, qPrintable(QString::number(barLength(0))));
        QVERIFY2(std::abs(barLength(1) - PageBarLength * 2 / 3) < 0.4,
                 qPrintable(QString::number(barLength(1))));
        QVERIFY2(std::abs(barLength(2) - PageBarLength / 3) < 0.4, qPrintable(QString::number(barLength(2))));
        // The first bar: two games of three not for sale, then one for sale in the second colour.
        const double y = PageFirstRowTop + 3.25;
        QVERIFY(colourNear(colourAtMm(page, QPointF(PageBarLeft + PageBarLength * 0.5, y), Dpi),
                           NotForSaleColour.rgb() & 0xFFFFFF, 25));
        QVERIFY(colourNear(colourAtMm(page, QPointF(PageBarLeft + PageBarLength * 0.9, y), Dpi),
                           ForSaleColour.rgb() & 0xFFFFFF, 25));
    }

    // A cancelled print dialogue prints nothing; the preview shows the same page.
    void cancelledPrintPrintsNothing()
    {
        Collection f;
        const auto screen = f.screen();
        QVERIFY(screen);
        f.folder.platform.printing.cancelNext();
        click(child(screen.get(), "btnStampa"));
        QCOMPARE(f.folder.platform.printing.requests().size(), 1);
        QVERIFY(!f.folder.platform.printing.requests().first().accepted);
        QCOMPARE(f.messages(), QStringList());
    }

    // A long chart on paper: the rows come closer together, and what still does not fit is told.
    void manyGroupsOnOnePage()
    {
        std::vector<GameRecord> games;
        for (int year = 1600; year < 2020; year += 10)
            games.push_back(game({{"year", QString::number(year)}}));
        CollectionStatistics statistics(2026);
        int position = 0;
        for (const GameRecord& record : games)
            statistics.add(record, ++position);
        statistics.finish(nullptr);
        QCOMPARE(statistics.groups(ChartId::Decade).size(), std::size_t(42));
        report::Report page = makeStatisticsPage(
            statistics, ChartId::Decade, Measure::Games,
            {QStringLiteral("Archivio"), QStringLiteral("tutto l'archivio"),
             QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)), QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5))});
        const report::PreparedReport& prepared = page.prepare();
        QCOMPARE(prepared.pages.size(), std::size_t(1));
        int bars = 0;
        bool told = false;
        for (const report::PlacedItem& item : prepared.pages[0].items) {
            if (item.kind == report::ObjectKind::Shape && item.fill == NotForSaleColour &&
                item.box.height() < 4.6 && item.box.width() > 3.5)
                ++bars;
            if (item.kind == report::ObjectKind::Text && item.lines.at(0).startsWith(u"Altri "))
                told = true;
            // Nothing below the closing bar.
            QVERIFY(item.box.bottom() <= 10 + 277 + 0.01);
        }
        QCOMPARE(bars, 42);
        QVERIFY(!told);
    }
};

QTEST_MAIN(TestStatisticsScreen)
#include "tst_statistics_screen.moc"
