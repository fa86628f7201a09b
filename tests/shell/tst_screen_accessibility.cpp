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
    return qobject_cast<const platform::PictureBox*>(object) || qobject_cast<const platform::PictureButton*>(object)
           || qobject_cast<const platform::PhotoView*>(object)
           || object->objectName() == QLatin1String("panPagina");
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
        const bool control = child->state().focusable || actionable || isControlRole(child->role())
                             || (child->object() && isPicture(child->object()));
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

        QVERIFY2(found.unnamed.isEmpty(), qPrintable(QStringLiteral("unnamed: ") + found.unnamed.join(u", ")));
        QVERIFY2(unreachable.isEmpty(), qPrintable(QStringLiteral("not in the Tab chain: ") + unreachable.join(u", ")));
    }
};

QTEST_MAIN(TestScreenAccessibility)
#include "tst_screen_accessibility.moc"
