#include "platform/DesktopShell.h"
#include "platform/FileDialogs.h"
#include "platform/Formats.h"
#include "platform/MessageBoxes.h"
#include "platform/PictureBox.h"
#include "platform/Windows1252.h"
#include "platform/testing/ScriptedPlatform.h"

#include <QComboBox>
#include <QFile>
#include <QListView>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace brivanto::platform;

class TestPlatform : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void shellTarget_data();
    void shellTarget();
    void scriptedBoxesRecordAndRestore();
    void fileDialogListsWhatItsFilterMeans_data();
    void fileDialogListsWhatItsFilterMeans();
    void dateAndTimeFormats_data();
    void dateAndTimeFormats();
    void windows1252HighRange_data();
    void windows1252HighRange();
    void picturesOfTheResources_data();
    void picturesOfTheResources();
    void centredPictureDrawsAsOneDraw_data();
    void centredPictureDrawsAsOneDraw();
};

void TestPlatform::shellTarget_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QUrl>("target");
    QTest::newRow("web address") << QStringLiteral("https://www.brivanto.example/")
                                 << QUrl(QStringLiteral("https://www.brivanto.example/"));
    QTest::newRow("quoted path") << QStringLiteral("\"/home/u/Brivanto/Guida.pdf\"")
                                 << QUrl::fromLocalFile(QStringLiteral("/home/u/Brivanto/Guida.pdf"));
    QTest::newRow("quoted path with blanks and hash")
        << QStringLiteral("\"/home/u/Brivanto/Documenti_Allegati/Gioco #1 (rev).pdf\"")
        << QUrl::fromLocalFile(QStringLiteral("/home/u/Brivanto/Documenti_Allegati/Gioco #1 (rev).pdf"));
    QTest::newRow("quoted mail address") << QStringLiteral("\"mailto:info@brivanto.example\"")
                                         << QUrl(QStringLiteral("mailto:info@brivanto.example"));
}

void TestPlatform::shellTarget()
{
    QFETCH(QString, command);
    QFETCH(QUrl, target);
    QCOMPARE(brivanto::platform::shellTarget(command), target);
}

void TestPlatform::scriptedBoxesRecordAndRestore()
{
    MessageBoxes* real = &MessageBoxes::real();
    {
        testing::ScriptedPlatform platform;
        QVERIFY(&Messages::current() == &platform.messages);
        platform.messages.answerNext(Answer::Yes);
        QVERIFY(confirm(nullptr, QStringLiteral("Domanda?")));
        QVERIFY(!confirm(nullptr, QStringLiteral("Di nuovo?"))); // unscripted questions answer No
        warning(nullptr, QStringLiteral("Attenzione: x"));
        QCOMPARE(platform.messages.texts(), QStringList({"Domanda?", "Di nuovo?", "Attenzione: x"}));
        QCOMPARE(platform.messages.shown().last().kind, MessageKind::Warning);
        QCOMPARE(platform.messages.shown().last().buttons, MessageButtons::OkCancel);
    }
    QVERIFY(&Messages::current() == real);
}

void TestPlatform::fileDialogListsWhatItsFilterMeans_data()
{
    QTest::addColumn<QStringList>("filters");
    QTest::addColumn<int>("chosen"); // the filter the user picks from the list of filters
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("listed");
    const QStringList everyFile{"LEGGIMI", "gioco.pdf", "scatola.jpg"};
    QTest::newRow("every file, names without a dot too")
        << QStringList{"Tutti i file (*.*)"} << 0 << "Tutti i file (*.*)" << everyFile;
    QTest::newRow("every file, chosen after another")
        << QStringList{"File Jpeg (*.jpg)", "Tutti i file (*.*)"} << 1 << "Tutti i file (*.*)" << everyFile;
    QTest::newRow("a pattern, chosen after every file")
        << QStringList{"Tutti i file (*.*)", "File Jpeg (*.jpg)"} << 1 << "File Jpeg (*.jpg)"
        << QStringList{"scatola.jpg"};
    QTest::newRow("patterns separated by a semicolon")
        << QStringList{"Documenti (*.pdf; *.jpg)"} << 0 << "Documenti (*.pdf *.jpg)"
        << QStringList{"gioco.pdf", "scatola.jpg"};
}

// The toolkit's own dialog, as the program sets it up, shown without running it.
void TestPlatform::fileDialogListsWhatItsFilterMeans()
{
    QFETCH(QStringList, filters);
    QFETCH(int, chosen);
    QFETCH(QString, shown);
    QFETCH(QStringList, listed);
    QTemporaryDir folder;
    for (const char* name : {"LEGGIMI", "gioco.pdf", "scatola.jpg"}) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    FileDialogRequest request;
    request.title = "Selezionare il file da allegare:";
    request.filters = filters;
    QFileDialog dialog(nullptr, request.title);
    prepareFileDialog(dialog, request, QFileDialog::AcceptOpen);
    dialog.setDirectory(folder.path());
    dialog.show();
    auto* filterList = dialog.findChild<QComboBox*>("fileTypeCombo");
    auto* fileList = dialog.findChild<QListView*>("listView");
    QVERIFY(filterList && fileList);
    for (int i = 0; i < chosen; ++i)
        QTest::keyClick(filterList, Qt::Key_Down);

    QCOMPARE(filterList->currentText(), shown);
    const auto names = [fileList] {
        QStringList result;
        const QModelIndex root = fileList->rootIndex();
        for (int row = 0; row < fileList->model()->rowCount(root); ++row)
            result.append(fileList->model()->index(row, 0, root).data().toString());
        result.sort();
        return result;
    };
    QTRY_COMPARE(names(), listed);
}

void TestPlatform::dateAndTimeFormats_data()
{
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::newRow("single-digit day, month and hour")
        << QDateTime(QDate(2026, 3, 7), QTime(9, 5, 3)) << "07/03/2026"
        << "09:05:03";
    QTest::newRow("afternoon in 24 hours")
        << QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59)) << "31/12/1999"
        << "23:59:59";
    QTest::newRow("midnight") << QDateTime(QDate(2000, 1, 1), QTime(0, 0, 0)) << "01/01/2000"
                              << "00:00:00";
    QTest::newRow("noon, year below 1000") << QDateTime(QDate(987, 6, 15), QTime(12, 0, 0)) << "15/06/0987"
                                           << "12:00:00";
}

void TestPlatform::dateAndTimeFormats()
{
    QFETCH(QDateTime, moment);
    QFETCH(QString, date);
    QFETCH(QString, time);
    // Under the program's Italian locale, whose own short date has two year digits and whose
    // long time carries a time zone.
    setProcessFormats();
    QCOMPARE(shortDate(moment.date()), date);
    QCOMPARE(longTime(moment.time()), time);
    QCOMPARE(QLocale().toString(1234.5, 'f', 2), QString("1234,50"));
    QCOMPARE(decimalSeparator(), QLatin1Char(','));
}

void TestPlatform::windows1252HighRange_data()
{
    // Bytes 0x80 to 0x9F, where Windows-1252 puts its own characters in place of the C1 controls.
    QTest::addColumn<int>("byte");
    QTest::addColumn<QChar>("character");
    QTest::newRow("80 euro sign") << 0x80 << QChar(0x20AC);
    QTest::newRow("81 undefined, kept as its C1 control") << 0x81 << QChar(0x0081);
    QTest::newRow("82 low single quote") << 0x82 << QChar(0x201A);
    QTest::newRow("83 f with hook") << 0x83 << QChar(0x0192);
    QTest::newRow("84 low double quote") << 0x84 << QChar(0x201E);
    QTest::newRow("85 ellipsis") << 0x85 << QChar(0x2026);
    QTest::newRow("86 dagger") << 0x86 << QChar(0x2020);
    QTest::newRow("87 double dagger") << 0x87 << QChar(0x2021);
    QTest::newRow("88 circumflex") << 0x88 << QChar(0x02C6);
    QTest::newRow("89 per mille") << 0x89 << QChar(0x2030);
    QTest::newRow("8A S caron") << 0x8A << QChar(0x0160);
    QTest::newRow("8B single left angle quote") << 0x8B << QChar(0x2039);
    QTest::newRow("8C OE") << 0x8C << QChar(0x0152);
    QTest::newRow("8D undefined, kept as its C1 control") << 0x8D << QChar(0x008D);
    QTest::newRow("8E Z caron") << 0x8E << QChar(0x017D);
    QTest::newRow("8F undefined, kept as its C1 control") << 0x8F << QChar(0x008F);
    QTest::newRow("90 undefined, kept as its C1 control") << 0x90 << QChar(0x0090);
    QTest::newRow("91 left single quote") << 0x91 << QChar(0x2018);
    QTest::newRow("92 right single quote, the apostrophe") << 0x92 << QChar(0x2019);
    QTest::newRow("93 left double quote") << 0x93 << QChar(0x201C);
    QTest::newRow("94 right double quote") << 0x94 << QChar(0x201D);
    QTest::newRow("95 bullet") << 0x95 << QChar(0x2022);
    QTest::newRow("96 en dash") << 0x96 << QChar(0x2013);
    QTest::newRow("97 em dash") << 0x97 << QChar(0x2014);
    QTest::newRow("98 small tilde") << 0x98 << QChar(0x02DC);
    QTest::newRow("99 trade mark") << 0x99 << QChar(0x2122);
    QTest::newRow("9A s caron") << 0x9A << QChar(0x0161);
    QTest::newRow("9B single right angle quote") << 0x9B << QChar(0x203A);
    QTest::newRow("9C oe") << 0x9C << QChar(0x0153);
    QTest::newRow("9D undefined, kept as its C1 control") << 0x9D << QChar(0x009D);
    QTest::newRow("9E z caron") << 0x9E << QChar(0x017E);
    QTest::newRow("9F Y diaeresis") << 0x9F << QChar(0x0178);
}

void TestPlatform::windows1252HighRange()
{
    QFETCH(int, byte);
    QFETCH(QChar, character);
    const auto b = static_cast<std::uint8_t>(byte);
    QCOMPARE(fromWindows1252(&b, 1), QString(character));
    QCOMPARE(toWindows1252(QString(character)), QByteArray(1, static_cast<char>(b)));
}

void TestPlatform::picturesOfTheResources_data()
{
    QTest::addColumn<QString>("resource");
    QTest::newRow("drawing with text") << ":/access/logo.svg";
    QTest::newRow("drawing with a gradient") << ":/launcher/app01.svg";
    QTest::newRow("small drawing") << ":/launcher/esci.svg";
    // Drawn at build time, as the logo is: painted together with a list just read.
    QTest::newRow("the find instructions over a list") << ":/search/istruzioni_trova.svg";
    QTest::newRow("the for-sale list's banner") << ":/search/titolo_in_vendita.svg";
}

// A picture control has its picture's natural size from the start and shows exactly the picture,
// however late it is drawn; a picture set by the program replaces the resource's for good.
void TestPlatform::picturesOfTheResources()
{
    QFETCH(QString, resource);
    const QImage expected = resourcePicture(resource).toImage();
    QVERIFY(!expected.isNull());
    PictureBox box(QStringLiteral("imgBox"), resource, nullptr);
    PictureButton button(QStringLiteral("btnButton"), resource, nullptr);
    for (QWidget* control : std::initializer_list<QWidget*>{&box, &button}) {
        QCOMPARE(control->size(), expected.size());
        QCOMPARE(control->sizeHint(), expected.size());
        // Drawn on the window's background, as on a screen.
        QImage shown(expected.size(), QImage::Format_ARGB32_Premultiplied);
        shown.fill(control->palette().color(QPalette::Window));
        QPainter painter(&shown);
        painter.drawImage(0, 0, expected);
        painter.end();
        QCOMPARE(control->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied), shown);
    }
    QCOMPARE(PictureBox(QStringLiteral("imgBox"), resource, nullptr).picture().toImage(), expected);
    QCOMPARE(PictureButton(QStringLiteral("btnButton"), resource, nullptr).picture().toImage(), expected);

    QPixmap other(10, 10);
    other.fill(Qt::red);
    PictureBox replaced(QStringLiteral("imgBox"), resource, nullptr);
    replaced.setPicture(other);
    QCOMPARE(replaced.picture().toImage(), other.toImage());
    QCOMPARE(replaced.size(), expected.size());
    PictureButton replacedButton(QStringLiteral("btnButton"), resource, nullptr);
    replacedButton.setPicture(other);
    QCOMPARE(replacedButton.picture().toImage(), other.toImage());
}

// A picture drawn at its own size is drawn in bands; a translucent one, over a coloured ground,
// still gives the pixels of one draw of the whole picture.
void TestPlatform::centredPictureDrawsAsOneDraw_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("box");
    QTest::newRow("as it is, bands and a shorter last one") << QSize(360, 150) << QSize(380, 170);
    QTest::newRow("as it is, one band") << QSize(50, 64) << QSize(50, 64);
    QTest::newRow("scaled down") << QSize(200, 300) << QSize(100, 100);
}

void TestPlatform::centredPictureDrawsAsOneDraw()
{
    QFETCH(QSize, picture);
    QFETCH(QSize, box);
    QImage pixels(picture, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            pixels.setPixelColor(x, y, QColor((x * 7) % 256, (y * 5) % 256, (x + y) % 256, (x * y) % 256));
    }
    const QPixmap drawn = QPixmap::fromImage(pixels);
    const auto ground = [&] {
        QImage image(box, QImage::Format_RGB32);
        image.fill(QColor(0xEC, 0xE9, 0xD8));
        return image;
    };
    QImage banded = ground();
    {
        QPainter painter(&banded);
        drawCentred(painter, QRect(QPoint(), box), drawn);
    }
    QImage whole = ground();
    {
        QPainter painter(&whole);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        QSize shown = picture;
        if (shown.width() > box.width() || shown.height() > box.height())
            shown.scale(box, Qt::KeepAspectRatio);
        painter.drawPixmap(
            QRect(QPoint((box.width() - shown.width()) / 2, (box.height() - shown.height()) / 2), shown),
            drawn);
    }
    QCOMPARE(banded, whole);
}

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
