// The picture controls as the keyboard, the mouse and assistive technology meet them.
#include "platform/PictureBox.h"

#include <QAccessible>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using brivanto::platform::PictureBox;
using brivanto::platform::PictureButton;
using brivanto::platform::placePictureButtonsLast;

namespace {
const QString Picture = QStringLiteral(":/launcher/info.svg");

// A dialog with a field, a picture button and a default push button, as the tool screens are.
struct Window
{
    Window()
    {
        dialog.resize(400, 200);
        field = new QLineEdit(&dialog);
        field->setGeometry(10, 10, 200, 28);
        button = new PictureButton(QStringLiteral("imgProva"), Picture, &dialog);
        button->move(10, 60);
        button->setAccessibleName(QStringLiteral("Prova"));
        defaultButton = new QPushButton(QStringLiteral("OK"), &dialog);
        defaultButton->setGeometry(300, 150, 80, 30);
        defaultButton->setDefault(true);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        if (!QTest::qWaitForWindowActive(&dialog))
            qFatal("the window does not become active");
    }

    QDialog dialog;
    QLineEdit* field;
    PictureButton* button;
    QPushButton* defaultButton;
};

bool hasFocusMark(PictureButton* button)
{
    // The mark is the frame drawn along the edge of the picture, in the program's focus colour.
    const QImage shot = button->grab().toImage();
    return shot.pixelColor(1, shot.height() / 2) == QColor(0x0F, 0x5E, 0x6B);
}
} // namespace

class TestPictureButton : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void keysPressTheFocusedButtonOnly_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<bool>("presses");
        QTest::newRow("Space") << int(Qt::Key_Space) << Qt::KeyboardModifiers() << true;
        QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << true;
        QTest::newRow("keypad Enter")
            << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << true;
        QTest::newRow("Ctrl+Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ControlModifier)
                                     << false;
        QTest::newRow("a letter") << int(Qt::Key_A) << Qt::KeyboardModifiers() << false;
    }
    void keysPressTheFocusedButtonOnly()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(bool, presses);
        Window w;
        QSignalSpy clicked(w.button, &PictureButton::clicked);
        QSignalSpy pressed(w.button, &PictureButton::pressed);
        QSignalSpy released(w.button, &PictureButton::released);
        QSignalSpy defaultPressed(w.defaultButton, &QPushButton::clicked);
        w.button->setFocus(Qt::TabFocusReason);
        QVERIFY(w.button->hasFocus());

        QTest::keyClick(w.button, Qt::Key(key), modifiers);
        QCOMPARE(clicked.count(), presses ? 1 : 0);
        QCOMPARE(pressed.count(), presses ? 1 : 0);
        QCOMPARE(released.count(), presses ? 1 : 0);
        // A key that presses the picture never reaches the dialog's default button.
        if (presses)
            QCOMPARE(defaultPressed.count(), 0);
    }

    void tabReachesItAndAClickLeavesTheFocusInTheField()
    {
        Window w;
        w.field->setFocus(Qt::OtherFocusReason);
        QVERIFY(w.button->focusPolicy() & Qt::TabFocus);
        QSignalSpy clicked(w.button, &PictureButton::clicked);
        QTest::mouseClick(w.button, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QVERIFY(w.field->hasFocus());
        QVERIFY(!hasFocusMark(w.button));

        QTest::keyClick(w.field, Qt::Key_Tab);
        QVERIFY(w.button->hasFocus());
        QVERIFY(hasFocusMark(w.button));
    }

    void focusMarkOnlyWhenTheFocusCameFromTheKeyboard_data()
    {
        QTest::addColumn<Qt::FocusReason>("reason");
        QTest::addColumn<bool>("marked");
        QTest::newRow("Tab") << Qt::TabFocusReason << true;
        QTest::newRow("Shift+Tab") << Qt::BacktabFocusReason << true;
        QTest::newRow("the program") << Qt::OtherFocusReason << false;
        QTest::newRow("window activated") << Qt::ActiveWindowFocusReason << false;
        QTest::newRow("mouse") << Qt::MouseFocusReason << false;
    }
    void focusMarkOnlyWhenTheFocusCameFromTheKeyboard()
    {
        QFETCH(Qt::FocusReason, reason);
        QFETCH(bool, marked);
        Window w;
        const QImage plain = w.button->grab().toImage();
        w.button->setFocus(reason);
        QVERIFY(w.button->hasFocus());
        QCOMPARE(w.button->showsFocusMark(), marked);
        QCOMPARE(hasFocusMark(w.button), marked);
        if (!marked)
            QCOMPARE(w.button->grab().toImage(), plain); // the mouse user's look is unchanged

        // A key pressed on the button shows where the focus is; losing the focus drops the mark.
        QTest::keyClick(w.button, Qt::Key_Space);
        QVERIFY(hasFocusMark(w.button));
        w.field->setFocus(Qt::MouseFocusReason);
        QVERIFY(!hasFocusMark(w.button));
    }

    void releasedAwayEndsThePressWithoutAClick()
    {
        Window w;
        QSignalSpy clicked(w.button, &PictureButton::clicked);
        QSignalSpy released(w.button, &PictureButton::released);
        QTest::mousePress(w.button, Qt::LeftButton, {}, w.button->rect().center());
        QVERIFY(w.button->isDown());
        QTest::mouseRelease(w.button, Qt::LeftButton, {}, w.button->rect().bottomRight() + QPoint(30, 30));
        QVERIFY(!w.button->isDown());
        QCOMPARE(released.count(), 1);
        QCOMPARE(clicked.count(), 0);
    }

    // A screen reader finds a named push button, no decoration, and a named picture as a graphic.
    void whatAssistiveTechnologySees()
    {
        Window w;
        auto* decoration = new PictureBox(QStringLiteral("imgDecoro"), Picture, &w.dialog);
        auto* instructions = new PictureBox(QStringLiteral("imgIstruzioni"), Picture, &w.dialog);
        instructions->setAccessibleName(QStringLiteral("Istruzioni"));
        decoration->show();
        instructions->show();

        QAccessibleInterface* button = QAccessible::queryAccessibleInterface(w.button);
        QVERIFY(button);
        QCOMPARE(button->role(), QAccessible::PushButton);
        QCOMPARE(button->text(QAccessible::Name), QStringLiteral("Prova"));
        QVERIFY(button->state().focusable);
        QVERIFY(button->actionInterface());
        QVERIFY(button->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        QSignalSpy clicked(w.button, &PictureButton::clicked);
        button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(clicked.count(), 1);

        QAccessibleInterface* hidden = QAccessible::queryAccessibleInterface(decoration);
        QVERIFY(hidden);
        QVERIFY(hidden->state().invisible);
        QCOMPARE(hidden->role(), QAccessible::NoRole);
        QAccessibleInterface* named = QAccessible::queryAccessibleInterface(instructions);
        QVERIFY(named);
        QVERIFY(!named->state().invisible);
        QCOMPARE(named->role(), QAccessible::Graphic);
        QCOMPARE(named->text(QAccessible::Name), QStringLiteral("Istruzioni"));
    }

    // Picture buttons follow the screen's other controls, row by row, each row left to right,
    // whatever order they were made in; the others keep their order.
    void pictureButtonsComeLastInReadingOrder()
    {
        QWidget screen;
        auto* panel = new QWidget(&screen);
        panel->setGeometry(50, 40, 500, 400);
        auto add = [panel](const char* name, int x, int y) {
            auto* button = new PictureButton(QLatin1String(name), Picture, panel);
            button->move(x, y);
            return button;
        };
        add("bottomRight", 300, 300);
        add("middle", 10, 150);
        add("topRight", 300, 12); // a little lower than its neighbour, still on its row
        add("topLeft", 10, 8);
        add("bottomLeft", 10, 300);
        auto* first = new QLineEdit(panel);
        auto* second = new QLineEdit(panel);
        placePictureButtonsLast(&screen);

        // From the window round to it again: the window's first focus goes to the first field.
        QStringList order;
        for (QWidget* w = screen.nextInFocusChain(); w != &screen; w = w->nextInFocusChain()) {
            if (w->focusPolicy() & Qt::TabFocus)
                order.append(w == first    ? QStringLiteral("first")
                             : w == second ? QStringLiteral("second")
                                           : w->objectName());
        }
        QCOMPARE(order, (QStringList{"first", "second", "topLeft", "topRight", "middle", "bottomLeft",
                                     "bottomRight"}));
    }
};

QTEST_MAIN(TestPictureButton)
#include "tst_picture_button.moc"
