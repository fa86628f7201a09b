#include "search/ResultList.h"

#include "tests/support/ScreenCatalogue.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPointer>
#include <QSignalSpy>
#include <QTableView>
#include <QTimer>

using namespace brivanto;

namespace {

// The controls of a window a keyboard user can reach: on view, enabled, in the Tab chain.
QList<QWidget*> reachableControls(QWidget* window)
{
    QList<QWidget*> controls;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->isVisibleTo(window) && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus) &&
            widget->window() == window)
            controls.append(widget);
    }
    return controls;
}

QString nameOf(const QWidget* widget)
{
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

bool pressableByEnter(const QWidget* widget)
{
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    return button && !button->isCheckable();
}

// Enter from either part of the keyboard presses the focused button; with Shift or Ctrl held it
// is another key, and presses nothing.
struct EnterKey
{
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool presses;
};
const EnterKey EnterKeys[] = {
    {"Return", Qt::Key_Return, Qt::NoModifier, true},
    {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, true},
    {"Shift+Return", Qt::Key_Return, Qt::ShiftModifier, false},
    {"Ctrl+Return", Qt::Key_Return, Qt::ControlModifier, false},
    {"Ctrl+keypad Enter", Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier, false},
};

// What a way of closing left: whether the screen is still on view, how a dialog ended, and the
// boxes shown on the way.
struct Closing
{
    bool visible = false;
    int result = -1;
    QStringList messages;
    bool operator==(const Closing&) const = default;
};

Closing closingOf(const QString& screenName, const std::function<void(QWidget*)>& act)
{
    ScreenSession session;
    QWidget* screen = session.open(screenName);
    if (!screen)
        qFatal("cannot open %s", qPrintable(screenName));
    act(screen);
    QCoreApplication::processEvents();
    const auto* dialog = qobject_cast<const QDialog*>(screen);
    return {screen->isVisible(), dialog ? dialog->result() : -1, session.platform().messages.texts()};
}

void pressEscape(QWidget* screen)
{
    QWidget* focus = screen->focusWidget();
    QTest::keyClick(focus ? focus : screen, Qt::Key_Escape);
}

} // namespace

// Enter, Escape and F1 on every screen, as opened by the program.
class TestScreenKeys : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void enterPressesOnlyTheFocusedButton_data();
    void enterPressesOnlyTheFocusedButton();
    void escapeClosesAsTheCloseButtonDoes_data();
    void escapeClosesAsTheCloseButtonDoes();
    void f1OpensTheScreensHelp_data();
    void f1OpensTheScreensHelp();
    void enterOnASelectedLineOpensIt_data();
    void enterOnASelectedLineOpensIt();
    void escapeInACellBeingEditedEndsOnlyTheEdit();
    void messageBoxOverARestoredScreenKeepsItsDefaultButton_data();
    void messageBoxOverARestoredScreenKeepsItsDefaultButton();
};

void TestScreenKeys::enterPressesOnlyTheFocusedButton_data()
{
    addScreenRows();
}

// Every control of the screen in turn takes the focus and gets each key of EnterKeys: a button is
// pressed by a plain Enter, itself only; a field, a list, a grid or a check box presses none, and
// Enter with Shift or Ctrl presses nothing.
void TestScreenKeys::enterPressesOnlyTheFocusedButton()
{
    QFETCH(QString, screen);
    ScreenSession session;
    QWidget* opened = session.open(screen);
    QVERIFY(opened);
    QWidget* window = opened->window();

    // The buttons only report that they were pressed: what they do is other tests' business.
    const QList<QAbstractButton*> buttons = window->findChildren<QAbstractButton*>();
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (QAbstractButton* button : buttons) {
        QObject::disconnect(button, &QAbstractButton::clicked, nullptr, nullptr);
        spies.push_back(std::make_unique<QSignalSpy>(button, &QAbstractButton::clicked));
    }
    const auto pressed = [&] {
        QStringList names;
        for (std::size_t i = 0; i < spies.size(); ++i) {
            if (!spies[i]->isEmpty())
                names.append(nameOf(buttons[static_cast<qsizetype>(i)]));
            spies[i]->clear();
        }
        return names;
    };

    // A list opens its selected line with Enter (enterOnASelectedLineOpensIt); here none is
    // selected, so that Enter on it stays on the screen.
    for (QAbstractItemView* view : window->findChildren<QAbstractItemView*>())
        view->clearSelection();

    const QList<QWidget*> controls = reachableControls(window);
    QVERIFY(!controls.isEmpty() || screen == QLatin1String("zoom") || screen == QLatin1String("slideshow"));
    for (QWidget* control : controls) {
        for (const EnterKey& enter : EnterKeys) {
            if (!control->isVisible() || !window->isVisible())
                QFAIL(qPrintable(QStringLiteral("the screen changed before %1 on %2")
                                     .arg(QLatin1String(enter.name), nameOf(control))));
            control->setFocus(Qt::TabFocusReason);
            QCOMPARE(QApplication::focusWidget(), control);
            QTest::keyClick(control, enter.key, enter.modifiers);
            const QStringList expected =
                enter.presses && pressableByEnter(control) ? QStringList{nameOf(control)} : QStringList();
            const QStringList actual = pressed();
            QVERIFY2(actual == expected, qPrintable(QStringLiteral("%1 on %2 pressed [%3]")
                                                        .arg(QLatin1String(enter.name), nameOf(control),
                                                             actual.join(QStringLiteral(", ")))));
        }
    }
}

void TestScreenKeys::escapeClosesAsTheCloseButtonDoes_data()
{
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("closer"); // the control that closes the screen; empty: Escape does nothing

    // The launcher and the password screen ignore Escape: their exits end the program. The
    // editor is left with its own button.
    for (const char* screen : {"launcher", "password", "editor"})
        QTest::newRow(screen) << QString(screen) << QString();
    // The create and open screens' Escape is their "Annulla": back to the launcher.
    for (const char* screen : {"create", "open"})
        QTest::newRow(screen) << QString(screen) << "btnAnnulla";
    QTest::newRow("change password") << "change password"
                                     << "cmdEsci";
    for (const char* screen : {"help", "info", "splash"})
        QTest::newRow(screen) << QString(screen) << "btnChiudi";
    QTest::newRow("attachments") << "attachments"
                                 << "btnAnnulla";
    QTest::newRow("search filters") << "search filters"
                                    << "btnAnnulla";
    QTest::newRow("search results") << "search results"
                                    << "btnChiudi";
    QTest::newRow("for sale") << "for sale"
                              << "btnChiudi";
    QTest::newRow("export") << "export"
                            << "cmdEsci";
    QTest::newRow("card print") << "card print"
                                << "btnAnnulla";
    QTest::newRow("card preview") << "card preview"
                                  << "btnAnnulla";
    QTest::newRow("preview window") << "preview window"
                                    << "btnChiudi";
    QTest::newRow("capture") << "capture"
                             << "btnClose";
    // The photo windows close with a click on the photo.
    QTest::newRow("zoom") << "zoom"
                          << "imgFoto";
    QTest::newRow("slideshow") << "slideshow"
                               << "imgFoto";
    QTest::newRow("statistics") << "statistics"
                                << "btnChiudi";
    QTest::newRow("statistics list") << "statistics list"
                                     << "btnChiudi";
}

void TestScreenKeys::escapeClosesAsTheCloseButtonDoes()
{
    QFETCH(QString, screen);
    QFETCH(QString, closer);

    const Closing escaped = closingOf(screen, pressEscape);
    if (closer.isEmpty()) {
        QVERIFY(escaped.visible);
        QCOMPARE(escaped.messages, QStringList());
        return;
    }
    const Closing closed = closingOf(screen, [&](QWidget* opened) {
        QWidget* control = opened->findChild<QWidget*>(closer);
        QVERIFY(control);
        QTest::mouseClick(control, Qt::LeftButton);
    });
    QVERIFY(!closed.visible);
    QCOMPARE(escaped.visible, closed.visible);
    QCOMPARE(escaped.result, closed.result);
    QCOMPARE(escaped.messages, closed.messages);
}

void TestScreenKeys::f1OpensTheScreensHelp_data()
{
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("title"); // of the help it opens; empty: none
    for (const QString& screen : screenNames()) {
        QString title;
        if (screen == QLatin1String("launcher"))
            title = help::helpTitle(help::HelpTopic::Overview);
        else if (screen == QLatin1String("create") || screen == QLatin1String("open"))
            title = help::helpTitle(help::HelpTopic::Archives);
        else if (screen == QLatin1String("editor"))
            title = help::helpTitle(help::HelpTopic::Editor);
        else if (screen == QLatin1String("export"))
            title = help::helpTitle(help::HelpTopic::Export);
        else if (screen == QLatin1String("statistics"))
            title = help::helpTitle(help::HelpTopic::Statistics);
        QTest::newRow(qPrintable(screen)) << screen << title;
    }
}

void TestScreenKeys::f1OpensTheScreensHelp()
{
    QFETCH(QString, screen);
    QFETCH(QString, title);
    ScreenSession session;
    QWidget* opened = session.open(screen);
    QVERIFY(opened);

    QString shown;
    bool looked = false;
    QTimer::singleShot(0, [&] {
        looked = true;
        auto* help = qobject_cast<HelpWindow*>(QApplication::activeModalWidget());
        if (help && help != opened->window()) {
            shown = help->findChild<QLabel*>(QStringLiteral("lblTitolo"))->text();
            help->close();
        }
    });
    QWidget* focus = opened->window()->focusWidget();
    QTest::keyClick(focus ? focus : opened, Qt::Key_F1);
    if (!looked)
        QCoreApplication::processEvents();
    QCOMPARE(shown, title);
}

void TestScreenKeys::enterOnASelectedLineOpensIt_data()
{
    QTest::addColumn<QString>("screen");
    QTest::newRow("search results") << "search results";
    QTest::newRow("for sale") << "for sale";
    QTest::newRow("statistics list") << "statistics list";
}

// The keyboard's double-click: Enter on a selected line puts its record on the editor and closes
// the list; with no line selected it does nothing.
void TestScreenKeys::enterOnASelectedLineOpensIt()
{
    QFETCH(QString, screen);
    ScreenSession session;
    QWidget* opened = session.open(screen);
    QVERIFY(opened);
    auto* list = opened->findChild<ResultList*>(QStringLiteral("lstRecords"));
    QVERIFY(list && list->lines().size() >= 2);
    list->setFocus(Qt::TabFocusReason);
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(opened->isVisible());
    QCOMPARE(session.editor().position(), QString());

    list->selectRow(1);
    const QString title = list->lines().at(1).left(30).trimmed();
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(!opened->isVisible());
    QCOMPARE(session.editor().fieldTexts().constFirst(), title);
    QVERIFY(!session.editor().position().isEmpty());
}

void TestScreenKeys::escapeInACellBeingEditedEndsOnlyTheEdit()
{
    ScreenSession session;
    QWidget* opened = session.open(QStringLiteral("export"));
    QVERIFY(opened);
    auto* grid = opened->findChild<QTableView*>(QStringLiteral("grdRecords"));
    QVERIFY(grid);
    QModelIndex cell;
    for (int column = 0; column < grid->model()->columnCount() && !cell.isValid(); ++column) {
        if (grid->model()->flags(grid->model()->index(0, column)) & Qt::ItemIsEditable)
            cell = grid->model()->index(0, column);
    }
    QVERIFY(cell.isValid());
    grid->setFocus();
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    const QPointer<QWidget> editor = QApplication::focusWidget();
    QVERIFY(editor && editor != grid && grid->isAncestorOf(editor));
    QTest::keyClick(editor, Qt::Key_Escape);
    QVERIFY(opened->isVisible());
    QTRY_VERIFY(editor.isNull());
    QCOMPARE(QApplication::focusWidget(), grid);
    QTest::keyClick(grid, Qt::Key_Escape);
    QVERIFY(!opened->isVisible());
}

void TestScreenKeys::messageBoxOverARestoredScreenKeepsItsDefaultButton_data()
{
    QTest::addColumn<QString>("screen");
    for (const char* screen : {"editor", "open", "attachments"})
        QTest::newRow(screen) << QString(screen);
}

// A message box over a screen ("saved", a question) while the window is minimised and restored:
// the screen's key rule runs again on the restore, and must leave the box's default button, the
// one Enter answers it with.
void TestScreenKeys::messageBoxOverARestoredScreenKeepsItsDefaultButton()
{
    QFETCH(QString, screen);
    ScreenSession session;
    QWidget* opened = session.open(screen);
    QVERIFY(opened);
    QWidget* window = opened->window();

    QMessageBox box(QMessageBox::Question, QStringLiteral("Brivanto"), QStringLiteral("Procedere?"),
                    QMessageBox::Yes | QMessageBox::No, window);
    box.setDefaultButton(QMessageBox::Yes);
    box.setWindowModality(Qt::WindowModal);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));

    restoreFromTaskbar(window);
    QCoreApplication::processEvents();

    QVERIFY(box.defaultButton() && box.defaultButton()->isDefault());
    QCOMPARE(box.defaultButton(), box.button(QMessageBox::Yes));
    QApplication::setActiveWindow(&box);
    QVERIFY(QTest::qWaitForWindowActive(&box));
    QTest::keyClick(box.focusWidget() ? box.focusWidget() : &box, Qt::Key_Return);
    QVERIFY(!box.isVisible());
    QCOMPARE(box.clickedButton(), box.button(QMessageBox::Yes));
}

QTEST_MAIN(TestScreenKeys)
#include "tst_screen_keys.moc"
