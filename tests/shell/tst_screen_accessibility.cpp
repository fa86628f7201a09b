// What a screen reader and a keyboard user meet on every screen: each control that shows has a
// name, and each picture button is reached with Tab.
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
    int controls = 0;
    QStringList unnamed;
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
            if (child->text(QAccessible::Name).trimmed().isEmpty())
                found.unnamed.append(describe(child));
        }
        const QAccessible::Role role = child->role();
        if (role != QAccessible::List && role != QAccessible::Table && role != QAccessible::Tree)
            walk(child, found);
    }
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

    void everyControlIsNamedAndEveryPictureButtonIsReachedWithTab_data() { addScreenRows(); }
    void everyControlIsNamedAndEveryPictureButtonIsReachedWithTab()
    {
        QFETCH(QString, screen);
        ScreenSession session;
        QWidget* shown = session.open(screen);
        QVERIFY2(shown, qPrintable(screen));

        QAccessibleInterface* root = QAccessible::queryAccessibleInterface(shown);
        QVERIFY(root);
        QVERIFY(!root->text(QAccessible::Name).trimmed().isEmpty());
        Walk found;
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
        QStringList editor{"txtTitolo",       "txtTipologia",
                           "txtEditore",      "txtSerie",
                           "txtDescrizione",  "txtAnno",
                           "txtValore",       "txtDimensioni",
                           "txtCarta",        "txtRarita",
                           "txtMittente",     "txtIndirizzoMit",
                           "txtDestinatario", "txtIndirizzoDes",
                           "txtTesto",        "txtData",
                           "txtFrancobollo",  "txtTimbro",
                           "txtStato",        "txtLuogo",
                           "txtNote",         "chkInVendita",
                           "cmdNuovo",        "cmdSalva",
                           "cmdTrova",        "cmdCercaDisponibili",
                           "cmdFile",         "cmdAnteprima",
                           "cmdStampa",       "cmdPrimo",
                           "cmdIndietro",     "cmdAvanti",
                           "cmdUltimo",       "cmdEsporta",
                           "cmdSlideShow",    "cmdGuida",
                           "cmdEsci"};
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
        QTest::newRow("editor photo button") << "editor"
                                             << "btnZoomFoto02"
                                             << "Visualizza la foto nelle sue dimensioni reali.";
        QTest::newRow("password") << "password"
                                  << "txtPassword"
                                  << "Immetti la password e premi OK.";
        QTest::newRow("new password") << "change password"
                                      << "txtPasswordNew"
                                      << "Nuova password:";
        QTest::newRow("launcher caption") << "launcher"
                                          << "btnApp02"
                                          << "Apri archivio esistente";
        QTest::newRow("launcher exit") << "launcher"
                                       << "imgEsci"
                                       << "Esci";
        QTest::newRow("search filter") << "search filters"
                                       << "txtEditore"
                                       << "Genere:";
        QTest::newRow("attachment description")
            << "attachments"
            << "txtDesc02" << QString::fromUtf8("Descrizione 2° file allegato:");
        QTest::newRow("export button") << "export"
                                       << "cmdEsporta"
                                       << "Esporta l'archivio in formato Microsoft Excel.";
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
        QWidget* shown = session.open(screen);
        QVERIFY(shown);
        auto* widget = shown->findChild<QWidget*>(control);
        QVERIFY2(widget, qPrintable(control));
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(iface);
        if (name.isEmpty()) {
            QVERIFY(iface->state().invisible); // decoration is not shown to assistive technology
            return;
        }
        QVERIFY(!iface->state().invisible);
        QCOMPARE(iface->text(QAccessible::Name), name);
    }
};

QTEST_MAIN(TestScreenAccessibility)
#include "tst_screen_accessibility.moc"
