// What a screen reader and a keyboard user meet on every screen: each control that shows has a
// name no other control of its window has, nothing that takes the focus is out of sight, and each
// picture button is reached with Tab.
#include "platform/PhotoView.h"
#include "platform/PictureBox.h"

#include "tests/support/ScreenCatalogue.h"

#include <QAccessible>
#include <QtTest>

using namespace brivanto;

namespace {

// Roles of the things a user works with or reads as content; panes, labels and scroll bars are
// the frame around them.
bool isControlRole(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::Graphic:
    case QAccessible::Link:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
        return true;
    default:
        return false;
    }
}

// A picture or photo on its own widget: it is either named content or hidden decoration.
bool isPicture(const QObject* object)
{
    return qobject_cast<const platform::PictureBox*>(object) ||
           qobject_cast<const platform::PictureButton*>(object) ||
           qobject_cast<const platform::PhotoView*>(object) ||
           object->objectName() == QLatin1String("panPagina");
}

struct Walk
{
    QRect window; // on the screen
    int controls = 0;
    QStringList unnamed;
    QHash<QString, QStringList> named; // the controls that carry each name
    QStringList outOfSight;            // focusable, yet without a size or outside the window

    QStringList sharedNames() const
    {
        QStringList shared;
        for (auto name = named.cbegin(); name != named.cend(); ++name) {
            if (name.value().size() > 1)
                shared.append(QStringLiteral("\"%1\" (%2)").arg(name.key(), name.value().join(u", ")));
        }
        shared.sort();
        return shared;
    }
};

QString describe(QAccessibleInterface* iface)
{
    const QObject* object = iface->object();
    return QStringLiteral("%1 (%2, role 0x%3)")
        .arg(object ? object->objectName() : QString(),
             object ? QString::fromLatin1(object->metaObject()->className()) : QString())
        .arg(int(iface->role()), 0, 16);
}

// Walks what assistive technology sees below `iface`: every object that shows and that the user
// can focus or act on, or that is a control or a picture, is a control and needs a name. Items of
// lists and tables are their view's content, not controls of the screen.
void walk(QAccessibleInterface* iface, Walk& found)
{
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface* child = iface->child(i);
        if (!child || !child->isValid() || child->state().invisible)
            continue;
        const QAccessibleActionInterface* actions = child->actionInterface();
        const bool actionable = actions && !actions->actionNames().isEmpty();
        const bool control = child->state().focusable || actionable || isControlRole(child->role()) ||
                             (child->object() && isPicture(child->object()));
        if (control) {
            ++found.controls;
            const QString name = child->text(QAccessible::Name).trimmed();
            if (name.isEmpty())
                found.unnamed.append(describe(child));
            else
                found.named[name].append(describe(child));
            const QRect place = child->rect();
            if (child->state().focusable && (place.isEmpty() || !found.window.intersects(place)))
                found.outOfSight.append(describe(child));
        }
        const QAccessible::Role role = child->role();
        if (role != QAccessible::List && role != QAccessible::Table && role != QAccessible::Tree)
            walk(child, found);
    }
}

// What assistive technology sees of the named control of the named screen; null when either is
// missing.
QAccessibleInterface* accessibleControl(ScreenSession& session, const QString& screen, const QString& control)
{
    QWidget* shown = session.open(screen);
    QWidget* widget = shown ? shown->findChild<QWidget*>(control) : nullptr;
    return widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
}

} // namespace

class TestScreenAccessibility : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QAccessible::setActive(true);
    }

    void everyControlIsNamedOnceIsOnViewAndPictureButtonsAreReachedWithTab_data() { addScreenRows(); }
    void everyControlIsNamedOnceIsOnViewAndPictureButtonsAreReachedWithTab()
    {
        QFETCH(QString, screen);
        ScreenSession session;
        QWidget* shown = session.open(screen);
        QVERIFY2(shown, qPrintable(screen));

        QAccessibleInterface* root = QAccessible::queryAccessibleInterface(shown);
        QVERIFY(root);
        QVERIFY(!root->text(QAccessible::Name).trimmed().isEmpty());
        Walk found;
        found.window = root->rect();
        walk(root, found);
        qInfo("%s: %d controls, %lld unnamed", qPrintable(screen), found.controls, found.unnamed.size());
        QVERIFY(found.controls > 0);

        // The picture buttons on view, and the ones Tab reaches from the window.
        QStringList unreachable;
        QSet<const QWidget*> chain;
        QWidget* window = shown->window();
        for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain())
            chain.insert(w);
        for (const auto* button : shown->findChildren<platform::PictureButton*>()) {
            if (!button->isVisibleTo(window))
                continue;
            if (!(button->focusPolicy() & Qt::TabFocus) || !chain.contains(button))
                unreachable.append(button->objectName());
        }

        QVERIFY2(found.unnamed.isEmpty(),
                 qPrintable(QStringLiteral("unnamed: ") + found.unnamed.join(u", ")));
        QVERIFY2(unreachable.isEmpty(),
                 qPrintable(QStringLiteral("not in the Tab chain: ") + unreachable.join(u", ")));
        const QStringList shared = found.sharedNames();
        QVERIFY2(shared.isEmpty(), qPrintable(QStringLiteral("names said twice: ") + shared.join(u"; ")));
        QVERIFY2(found.outOfSight.isEmpty(),
                 qPrintable(QStringLiteral("focusable out of sight: ") + found.outOfSight.join(u", ")));
    }

    // The order Tab follows from the window round to it again: the screen's own order where it
    // has one, then its picture buttons row by row, each row left to right.
    void tabOrderKeepsTheScreensOrderThenPictureButtonsInReadingOrder_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("launcher") << QStringLiteral("launcher")
                                  << QStringList{"imgInfo",  "imgGuida",     "imgApp01",
                                                 "imgApp02", "btnApp01",     "btnApp02",
                                                 "imgSito",  "imgCopyright", "imgEsci"};
        QStringList editor{
            "txtTitolo",   "txtTipologia",        "txtEditore",      "txtSerie",        "txtDescrizione",
            "txtAnno",     "txtValore",           "txtDimensioni",   "txtCarta",        "txtRarita",
            "txtMittente", "txtIndirizzoMit",     "txtDestinatario", "txtIndirizzoDes", "txtTesto",
            "txtData",     "txtFrancobollo",      "txtTimbro",       "txtStato",        "txtLuogo",
            "txtNote",     "chkInVendita",        "cmdNuovo",        "cmdSalva",        "cmdElimina",
            "cmdTrova",    "cmdCercaDisponibili", "cmdFile",         "cmdAnteprima",    "cmdStampa",
            "cmdPrimo",    "cmdIndietro",         "cmdAvanti",       "cmdUltimo",       "cmdEsporta",
            "cmdImporta",  "cmdSlideShow",        "cmdStatistiche",  "cmdGuida",        "cmdEsci"};
        for (const QString& suffix : {QString(), QStringLiteral("02")}) {
            for (const char* button :
                 {"btnCaricaFoto", "btnAcquisisciFoto", "btnSalvaFoto", "btnCancFoto", "btnZoomFoto"})
                editor.append(QLatin1String(button) + suffix);
        }
        QTest::newRow("editor") << QStringLiteral("editor") << editor;
        QStringList attachments;
        for (const char* slot : {"01", "02", "03"}) {
            for (const char* control : {"txtFile", "btnSfoglia", "btnApri", "txtDesc"})
                attachments.append(QLatin1String(control) + QLatin1String(slot));
        }
        attachments << "btnApplica"
                    << "btnAnnulla"
                    << "imgCancella01"
                    << "imgCancella02"
                    << "imgCancella03";
        QTest::newRow("attachments") << QStringLiteral("attachments") << attachments;
        QTest::newRow("create") << QStringLiteral("create")
                                << QStringList{"txtFile", "imgGuida", "btnApplica", "btnAnnulla"};
        QTest::newRow("open") << QStringLiteral("open")
                              << QStringList{"lstFiles", "imgGuida", "btnElimina", "btnApri", "btnAnnulla"};
    }
    void tabOrderKeepsTheScreensOrderThenPictureButtonsInReadingOrder()
    {
        QFETCH(QString, screen);
        QFETCH(QStringList, order);
        ScreenSession session;
        QWidget* shown = session.open(screen);
        QVERIFY(shown);
        QStringList chain;
        for (QWidget* w = shown->nextInFocusChain(); w && w != shown; w = w->nextInFocusChain()) {
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(shown) && !w->objectName().isEmpty())
                chain.append(w->objectName());
        }
        QCOMPARE(chain, order);

        // Tab itself walks that order round the window, skipping what is disabled; no field keeps
        // the focus.
        QStringList expected;
        for (const QString& name : std::as_const(order)) {
            if (shown->findChild<QWidget*>(name)->isEnabled())
                expected.append(name);
        }
        shown->findChild<QWidget*>(expected.first())->setFocus(Qt::TabFocusReason);
        QStringList reached;
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached.append(QApplication::focusWidget() ? QApplication::focusWidget()->objectName()
                                                       : QString());
        }
        expected.append(expected.takeFirst());
        QCOMPARE(reached, expected);
    }

    // What a screen reader says for a sample of controls: a field says its label, a password
    // field its prompt, a picture button its hint or caption; a picture that decorates says nothing.
    void namesSayWhatTheLabelHintOrCaptionSays_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::newRow("editor field") << "editor"
                                      << "txtTitolo"
                                      << "Nome del gioco:";
        QTest::newRow("editor market value") << "editor"
                                             << "txtValore" << QString::fromUtf8("Valore di mercato: €");
        QTest::newRow("editor toolbar") << "editor"
                                        << "cmdSalva"
                                        << "Salva la scheda in archivio.";
        QTest::newRow("editor delete button") << "editor"
                                              << "cmdElimina"
                                              << "Elimina la scheda corrente dall'archivio.";
        QTest::newRow("editor photo button") << "editor"
                                             << "btnZoomFoto02"
                                             << "Ingrandisci la foto 2";
        QTest::newRow("editor photo 1 button") << "editor"
                                               << "btnCancFoto"
                                               << "Cancella la foto 1";
        QTest::newRow("password") << "password"
                                  << "txtPassword"
                                  << "Immetti la password e premi OK.";
        QTest::newRow("new password") << "change password"
                                      << "txtPasswordNew"
                                      << "Nuova password:";
        QTest::newRow("launcher caption") << "launcher"
                                          << "btnApp02"
                                          << "Apri archivio esistente";
        QTest::newRow("launcher work area") << "launcher"
                                            << "imgApp02"
                                            << "Area degli archivi esistenti";
        QTest::newRow("launcher exit") << "launcher"
                                       << "imgEsci"
                                       << "Esci";
        QTest::newRow("search filter") << "search filters"
                                       << "txtEditore"
                                       << "Genere:";
        QTest::newRow("attachment description")
            << "attachments"
            << "txtDesc02" << QString::fromUtf8("Descrizione 2° file allegato:");
        QTest::newRow("attachment browse")
            << "attachments"
            << "btnSfoglia02" << QString::fromUtf8("Sfoglia per il 2° file allegato");
        QTest::newRow("attachment open") << "attachments"
                                         << "btnApri03" << QString::fromUtf8("Apri il 3° file allegato");
        QTest::newRow("export button") << "export"
                                       << "cmdEsporta"
                                       << "Esporta l'archivio in formato Microsoft Excel.";
        QTest::newRow("export CSV button")
            << "export"
            << "cmdEsportaCsv"
            << "Esporta l'archivio in un file CSV, che leggono i fogli di calcolo e gli altri programmi.";
        QTest::newRow("editor import") << "editor"
                                       << "cmdImporta"
                                       << "Importa giochi da un file CSV.";
        QTest::newRow("editor statistics") << "editor"
                                           << "cmdStatistiche"
                                           << "Visualizza le statistiche della collezione.";
        QTest::newRow("statistics chart") << "statistics"
                                          << "grfBarre"
                                          << "Grafico: Genere, per numero di giochi";
        QTest::newRow("statistics table") << "statistics"
                                          << "tblTabella"
                                          << "Tabella: Genere";
        QTest::newRow("statistics charts") << "statistics"
                                           << "lstGrafici"
                                           << "Grafici";
        QTest::newRow("statistics measure") << "statistics"
                                            << "optValore"
                                            << "il valore di mercato";
        QTest::newRow("statistics for sale")
            << "statistics"
            << "btnInVendita" << QString::fromUtf8("In vendita: 2 giochi, 5,00 €");
        QTest::newRow("search list statistics") << "search results"
                                                << "btnStatistiche"
                                                << "Statistiche";
        QTest::newRow("group list") << "statistics list"
                                    << "lstRecords"
                                    << "Giochi del gruppo Genere: Strategico";
        QTest::newRow("help link icon") << "help"
                                        << "imgPDF"
                                        << "Visualizza guida in formato PDF";
        QTest::newRow("for-sale list") << "for sale"
                                       << "lstRecords"
                                       << "Giochi da tavolo in vendita";
        QTest::newRow("launcher title") << "launcher"
                                        << "icoTitolo01" << QString();
        QTest::newRow("editor hand") << "editor"
                                     << "icoInVendita" << QString();
    }
    void namesSayWhatTheLabelHintOrCaptionSays()
    {
        QFETCH(QString, screen);
        QFETCH(QString, control);
        QFETCH(QString, name);
        ScreenSession session;
        QAccessibleInterface* iface = accessibleControl(session, screen, control);
        QVERIFY2(iface, qPrintable(control));
        if (name.isEmpty()) {
            QVERIFY(iface->state().invisible); // decoration is not shown to assistive technology
            return;
        }
        QVERIFY(!iface->state().invisible);
        QCOMPARE(iface->text(QAccessible::Name), name);
    }

    // A named button's hint, shown on the status line under the mouse, is read as its
    // description: the name says what the control is, the description what it does.
    void hintsDescribeNamedButtons_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("description");
        QTest::newRow("photo 2 zoom") << "editor"
                                      << "btnZoomFoto02"
                                      << "Visualizza la foto nelle sue dimensioni reali.";
        QTest::newRow("photo 1 clear") << "editor"
                                       << "btnCancFoto"
                                       << "Cancella la foto.";
        QTest::newRow("for-sale box")
            << "editor"
            << "chkInVendita"
            << QString::fromUtf8("Spunta questa casella per annotare che il gioco da "
                                 "tavolo è in vendita.");
        QTest::newRow("launcher work area") << "launcher"
                                            << "imgApp01"
                                            << "Crea un nuovo archivio di giochi da tavolo.";
    }
    void hintsDescribeNamedButtons()
    {
        QFETCH(QString, screen);
        QFETCH(QString, control);
        QFETCH(QString, description);
        ScreenSession session;
        QAccessibleInterface* iface = accessibleControl(session, screen, control);
        QVERIFY2(iface, qPrintable(control));
        QCOMPARE(iface->text(QAccessible::Description), description);
        QVERIFY(iface->text(QAccessible::Name) != description);
    }
};

QTEST_MAIN(TestScreenAccessibility)
#include "tst_screen_accessibility.moc"
