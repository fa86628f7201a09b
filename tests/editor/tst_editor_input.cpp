#include "editor/EditorFields.h"

#include "tests/editor/EditorFixture.h"

#include <QClipboard>
#include <QInputMethodEvent>

using namespace brivanto;

// How the editor's fields take the user's typing: lengths, colours, Enter, the market value.
class TestEditorInput : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void typingStopsAtTheFieldCapacity_data();
    void typingStopsAtTheFieldCapacity();
    void enterMovesToTheNextField();
    void focusedFieldIsYellow();
    void marketValueKeys_data();
    void marketValueKeys();
    void marketValueOtherRoutes_data();
    void marketValueOtherRoutes();
    void leavingTheMarketValueNormalisesIt_data();
    void leavingTheMarketValueNormalisesIt();

private:
    std::unique_ptr<EditorFixture> f_;
};

void TestEditorInput::init()
{
    f_ = std::make_unique<EditorFixture>(0);
    QApplication::setActiveWindow(&f_->editor);
    QVERIFY(QTest::qWaitForWindowActive(&f_->editor));
}

void TestEditorInput::cleanup()
{
    f_.reset();
}

void TestEditorInput::typingStopsAtTheFieldCapacity_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("capacity");
    for (const EditorField& field : EditorFields)
        QTest::newRow(field.objectName)
            << QString(field.objectName) << int(Fields[field.recordField].capacity);
}

void TestEditorInput::typingStopsAtTheFieldCapacity()
{
    QFETCH(QString, field);
    QFETCH(int, capacity);
    QLineEdit* edit = f_->edit(field.toLatin1());
    edit->setFocus();
    edit->clear();
    QTest::keyClicks(edit, QString(capacity + 1, field == "txtValore" ? '9' : 'x'));
    QCOMPARE(edit->text().size(), capacity);
}

void TestEditorInput::enterMovesToTheNextField()
{
    for (int i = 0; i < EditorFieldCount; ++i) {
        QLineEdit* edit = f_->edit(EditorFields[i].objectName);
        edit->setFocus();
        QTest::keyClick(edit, i % 2 ? Qt::Key_Enter : Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f_->edit(EditorFields[(i + 1) % EditorFieldCount].objectName));
    }
    // Enter neither saves nor leaves the screen.
    QCOMPARE(f_->messages(), QStringList());
    QVERIFY(!QFile::exists(f_->photoPath('A', 1)));
}

void TestEditorInput::focusedFieldIsYellow()
{
    QLineEdit* titolo = f_->edit("txtTitolo");
    QLineEdit* serie = f_->edit("txtSerie");
    const auto background = [](QLineEdit* edit) {
        return edit->grab().toImage().pixelColor(3, edit->height() / 2);
    };
    serie->setFocus();
    QCOMPARE(background(serie), QColor(0xFF, 0xFF, 0x00));
    QCOMPARE(background(titolo), QColor(0xF0, 0xF8, 0xFF));
    QCOMPARE(titolo->grab().toImage().pixelColor(0, titolo->height() / 2), QColor(0x87, 0xCE, 0xEB));
    titolo->setFocus();
    QCOMPARE(background(serie), QColor(0xF0, 0xF8, 0xFF));
    QCOMPARE(background(titolo), QColor(0xFF, 0xFF, 0x00));
}

void TestEditorInput::marketValueKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("focus"); // the field that has the focus afterwards; txtValore if empty
    // From "12,5" with the cursor after "12".
    QTest::newRow("digit") << int(Qt::Key_7) << "7"
                           << "127,5" << 3 << QString();
    QTest::newRow("comma") << int(Qt::Key_Comma) << ","
                           << "12,,5" << 3 << QString();
    QTest::newRow("letter") << int(Qt::Key_A) << "a"
                            << "12,5" << 2 << QString();
    QTest::newRow("point") << int(Qt::Key_Period) << "."
                           << "12,5" << 2 << QString();
    QTest::newRow("minus") << int(Qt::Key_Minus) << "-"
                           << "12,5" << 2 << QString();
    QTest::newRow("space") << int(Qt::Key_Space) << " "
                           << "12,5" << 2 << QString();
    // Tab types nothing and leaves the field along the Tab order, which normalises the value.
    QTest::newRow("tab") << int(Qt::Key_Tab) << "\t"
                         << "12,50" << 5 << "txtDimensioni";
    QTest::newRow("home") << int(Qt::Key_Home) << ""
                          << "12,5" << 2 << QString();
    QTest::newRow("end") << int(Qt::Key_End) << ""
                         << "12,5" << 2 << QString();
    QTest::newRow("up") << int(Qt::Key_Up) << ""
                        << "12,5" << 2 << QString();
    QTest::newRow("down") << int(Qt::Key_Down) << ""
                          << "12,5" << 2 << QString();
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << ""
                               << "1,5" << 1 << QString();
    QTest::newRow("delete") << int(Qt::Key_Delete) << ""
                            << "125" << 2 << QString();
    QTest::newRow("left") << int(Qt::Key_Left) << ""
                          << "12,5" << 1 << QString();
    QTest::newRow("right") << int(Qt::Key_Right) << ""
                           << "12,5" << 3 << QString();
}

void TestEditorInput::marketValueKeys()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(QString, after);
    QFETCH(int, cursor);
    QFETCH(QString, focus);
    QLineEdit* valore = f_->edit("txtValore");
    valore->setFocus();
    valore->setText("12,5");
    valore->setCursorPosition(2);
    QTest::sendKeyEvent(QTest::Click, valore, Qt::Key(key), text, Qt::NoModifier);
    QCOMPARE(valore->text(), after);
    QCOMPARE(valore->cursorPosition(), cursor);
    QCOMPARE(QApplication::focusWidget(), focus.isEmpty() ? valore : f_->edit(qPrintable(focus)));
}

void TestEditorInput::marketValueOtherRoutes_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("after");
    QTest::newRow("paste digits") << "paste"
                                  << "1,2,3"
                                  << "51,2,3";
    QTest::newRow("paste a point") << "paste"
                                   << "12.50"
                                   << "5";
    QTest::newRow("paste letters") << "paste"
                                   << "abc"
                                   << "5";
    QTest::newRow("paste too long") << "paste"
                                    << "123456789012"
                                    << "5";
    QTest::newRow("input method digit") << "input method"
                                        << "7"
                                        << "57";
    QTest::newRow("input method letter") << "input method" << QString::fromUtf8("ñ") << "5";
    QTest::newRow("input method euro") << "input method" << QString::fromUtf8("€") << "5";
}

void TestEditorInput::marketValueOtherRoutes()
{
    QFETCH(QString, route);
    QFETCH(QString, text);
    QFETCH(QString, after);
    QLineEdit* valore = f_->edit("txtValore");
    valore->setFocus();
    valore->setText("5");
    if (route == "paste") {
        QApplication::clipboard()->setText(text);
        valore->paste(); // what the context menu and the keyboard shortcut both do
    } else {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QCoreApplication::sendEvent(valore, &commit);
    }
    QCOMPARE(valore->text(), after);
}

void TestEditorInput::leavingTheMarketValueNormalisesIt_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("whole") << "7"
                           << "7,00";
    QTest::newRow("one decimal") << "3,5"
                                 << "3,50";
    QTest::newRow("two commas") << "1,2,3"
                                << "0,00";
    QTest::newRow("empty") << ""
                           << "0,00";
    QTest::newRow("rounded in double precision") << "2,675"
                                                 << "2,67";
}

void TestEditorInput::leavingTheMarketValueNormalisesIt()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QLineEdit* valore = f_->edit("txtValore");
    valore->setFocus();
    valore->clear();
    QTest::keyClicks(valore, typed);
    f_->edit("txtNote")->setFocus();
    QCOMPARE(valore->text(), shown);
}

QTEST_MAIN(TestEditorInput)
#include "tst_editor_input.moc"
