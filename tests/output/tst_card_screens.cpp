// The card print and preview screens over the real record editor: what they take from it, what
// they print, the preview window, and the two warnings.
#include "output/CardPreviewDialog.h"
#include "output/CardPrintDialog.h"
#include "report/ReportPreview.h"

#include "tests/editor/EditorFixture.h"
#include "tests/output/ReportFixture.h"
#include "tests/support/ModalWindows.h"
#include "tests/support/PdfProbe.h"

#include <QComboBox>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QtTest>

using namespace brivanto;
using namespace brivanto::testing;
using platform::MessageButtons;
using platform::MessageKind;

namespace {
const QString PrintFailed = QStringLiteral("Attenzione: la stampa non \u00E8 andata a buon fine.\n\r\n\r"
                                           "Si consiglia di ridurre le dimensioni della foto.");
const QString PreviewFailed = QStringLiteral(
    "Attenzione: la visualizzazione dell'anteprima di stampa non \u00E8 andata a buon fine.\n\r\n\r"
    "Si consiglia di ridurre le dimensioni della foto.");

// The editor on the first of two saved records, whose first photo is a real JPEG.
struct CardScreens : EditorFixture
{
    CardScreens() : EditorFixture(2)
    {
        folder.writeFile(QStringLiteral("Foto_Gioco/Giochi rari_Foto_A_1.jpg"), jpegOf(QSize(640, 480), 3));
        press("cmdPrimo");
        pdf = folder.path(QStringLiteral("scheda.pdf"));
    }
    QString pdf;
};

QString wholeText(const QString& pdf)
{
    return textIn(pdfWords(pdf).value(0), QRectF(0, 0, 210, 297));
}

} // namespace

class TestCardScreens : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void editorOpensEachScreen_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("runCaption");
        QTest::newRow("print") << "cmdStampa"
                               << "TfrmStampaCartolina"
                               << " Stampa documento"
                               << "Stampa";
        QTest::newRow("preview") << "cmdAnteprima"
                                 << "TfrmAnteprimaCartolina"
                                 << " Anteprima di stampa"
                                 << "Mostra anteprima";
    }
    void editorOpensEachScreen()
    {
        QFETCH(QString, command);
        QFETCH(QString, screen);
        QFETCH(QString, caption);
        QFETCH(QString, runCaption);
        CardScreens f;
        bool seen = false;
        whenModalShown([&](QWidget* modal) {
            seen = true;
            QCOMPARE(modal->objectName(), screen);
            QCOMPARE(modal->windowTitle(), caption);
            QCOMPARE(modal->parentWidget(), &f.editor);
            QCOMPARE(modal->size(), QSize(364, 287));
            QCOMPARE(modal->minimumSize(), modal->maximumSize());
            auto* run = child<QPushButton>(modal, "btnStampa");
            auto* cancel = child<QPushButton>(modal, "btnAnnulla");
            QCOMPARE(run->text(), runCaption);
            QCOMPARE(cancel->text(), QStringLiteral("Annulla"));
            QCOMPARE(cancel->nextInFocusChain(), run);
            // Both hold the picture to be printed from the start.
            auto* card = static_cast<CardDialogBase*>(modal);
            QCOMPARE(card->substitutePicture().size(), QSize(297, 184));
            QCOMPARE(card->logoPicture().size(), QSize(640, 480));
            click(cancel);
            QVERIFY(!modal->isVisible());
        });
        f.press(qPrintable(command));
        QVERIFY(seen);
        QVERIFY(f.folder.platform.printing.requests().isEmpty());
        QCOMPARE(f.messages(), QStringList());
    }

    // A record being typed prints as it stands, unsaved; the photo is slot A's.
    void printPrintsWhatTheEditorShows()
    {
        if (!havePdfTools())
            QSKIP("poppler-utils is not installed");
        CardScreens f;
        f.edit("txtTitolo")->setText(QStringLiteral("  Gioco non ancora salvato  "));
        f.edit("txtNote")->setText(QStringLiteral("[nota] <prova> & \u20AC"));
        f.folder.platform.printing.printToFileNext(f.pdf);
        CardPrintDialog screen(f.editor);
        screen.show();
        click(child(&screen, "btnStampa"));
        QVERIFY(!screen.isVisible());
        QCOMPARE(screen.result(), int(QDialog::Accepted));
        QCOMPARE(f.messages(), QStringList());
        QCOMPARE(f.folder.platform.printing.requests().size(), 1);
        QCOMPARE(f.folder.platform.printing.requests()[0].documentName,
                 QStringLiteral("Scheda Gioco da Tavolo"));
        QCOMPARE(pdfPageCount(f.pdf), 1);
        const QString printed = wholeText(f.pdf);
        for (const QString& expected :
             {QStringLiteral("Giochi rari"), QStringLiteral("Gioco non ancora salvato"),
              QStringLiteral("ID-1"), QStringLiteral("[nota] <prova> & \u20AC")})
            QVERIFY2(printed.contains(expected), qPrintable(expected + QStringLiteral(" in ") + printed));
        QVERIFY(!printed.contains(QStringLiteral("  Gioco")));
        // The photo's colours stand in the picture box.
        const QImage page = rasterisedPage(f.pdf, 1);
        const QImage photo = QImage::fromData(jpegOf(QSize(640, 480), 3));
        QVERIFY(qAbs(qRed(colourAtMm(page, {105, 86.5})) - qRed(photo.pixel(320, 240))) < 40);
    }

    void pictureTakenWhenShown_data()
    {
        QTest::addColumn<int>("source"); // 0 the editor's photo, 1 its default picture, 2 no picture at all
        QTest::newRow("record with a photo") << 0;
        QTest::newRow("new record: the slot's default picture") << 1;
        QTest::newRow("no picture to be had: the blue euro") << 2;
    }
    void pictureTakenWhenShown()
    {
        QFETCH(int, source);
        CardScreens f;
        CardSourceEditor bare;
        if (source == 1)
            f.press("cmdNuovo");
        RecordEditorAccess& editor = source == 2 ? static_cast<RecordEditorAccess&>(bare) : f.editor;
        CardPreviewDialog screen(editor);
        screen.show();
        const QImage expected = source == 2 ? screen.substitutePicture() : editor.photo(PhotoSlotId::A);
        QVERIFY(!expected.isNull());
        QCOMPARE(screen.logoPicture(), expected);
        if (source == 1)
            QVERIFY(screen.logoPicture().size() != QSize(640, 480));
        // A copy: what the editor does afterwards does not reach the screen.
        if (source == 0) {
            f.editor.putPhoto(PhotoSlotId::A, solidPicture(QSize(10, 10), Qt::green));
            QCOMPARE(screen.logoPicture().size(), QSize(640, 480));
        }
    }

    void cancellingThePrintDialogueClosesQuietly()
    {
        CardScreens f;
        f.folder.platform.printing.cancelNext();
        CardPrintDialog screen(f.editor);
        screen.show();
        click(child(&screen, "btnStampa"));
        QVERIFY(!screen.isVisible());
        QCOMPARE(f.messages(), QStringList());
        QVERIFY(!QFile::exists(f.pdf));
    }

    void aFailedPrintWarnsAndCloses()
    {
        CardScreens f;
        f.folder.platform.printing.printToFileNext(f.folder.path(QStringLiteral("manca/scheda.pdf")));
        CardPrintDialog screen(f.editor);
        screen.show();
        click(child(&screen, "btnStampa"));
        QVERIFY(!screen.isVisible());
        const auto& shown = f.folder.platform.messages.shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, PrintFailed);
        QCOMPARE(shown[0].kind, MessageKind::Warning);
        QCOMPARE(shown[0].buttons, MessageButtons::OkCancel);
        QCOMPARE(f.position(), QStringLiteral("1"));
    }

    // The preview: modal, maximised, named after the report, at 100 %, with only its tools; what
    // it shows is what the printer gets.
    void previewShowsThePageThePrinterGets()
    {
        if (!havePdfTools())
            QSKIP("poppler-utils is not installed");
        CardScreens f;
        CardPreviewDialog screen(f.editor);
        screen.show();
        QImage shown;
        int dotsPerInch = 0;
        bool previewed = false;
        QTimer::singleShot(0, [&] {
            auto* preview = qobject_cast<report::ReportPreview*>(QApplication::activeModalWidget());
            QVERIFY(preview);
            previewed = true;
            QCOMPARE(preview->windowTitle(), QStringLiteral("Scheda Gioco da Tavolo"));
            QVERIFY(preview->isModal());
            QVERIFY(preview->windowState() & Qt::WindowMaximized);
            QCOMPARE(preview->zoom(), 1.0);
            QCOMPARE(child<QComboBox>(preview, "cmbZoom")->currentText(), QStringLiteral("100%"));
            QStringList tools;
            for (const QToolButton* tool : preview->findChildren<QToolButton*>())
                if (tool->isVisibleTo(preview))
                    tools.append(tool->objectName());
            QCOMPARE(tools, (QStringList{"btnStampa", "btnRiduci", "btnIngrandisci", "btnSchermoIntero",
                                         "btnChiudi"}));
            QWidget* page = child(preview, "panPagina");
            dotsPerInch = page->logicalDpiX();
            QCOMPARE(page->width(), qRound(210 * dotsPerInch / 25.4));
            shown = page->grab().toImage();
            f.folder.platform.printing.printToFileNext(f.pdf);
            click(child(preview, "btnStampa"));
            QVERIFY(preview->isVisible());
            click(child(preview, "btnChiudi"));
        });
        click(child(&screen, "btnStampa"));
        QVERIFY(previewed);
        QVERIFY(!screen.isVisible());
        QCOMPARE(f.messages(), QStringList());

        // The same page from the PDF, at the preview's resolution. The two rasterisers draw the
        // edges of letters and thin lines each in their own way, so both pages are looked at a
        // quarter of the size, where an object out of place by a millimetre still shows. The
        // photo, which each scales in its own way, is compared in patches.
        const QImage paper = rasterisedPage(f.pdf, 1, dotsPerInch);
        QVERIFY(qAbs(paper.width() - shown.width()) <= 1 && qAbs(paper.height() - shown.height()) <= 1);
        const QSize small = paper.size() / 4;
        const QImage a = paper.scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_RGB32);
        const QImage b = shown.scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_RGB32);
        const double dotsPerMm = small.width() / 210.0;
        const QRectF photo(11 * dotsPerMm, 26 * dotsPerMm, 188 * dotsPerMm, 121 * dotsPerMm);
        double total = 0;
        int worst = 0;
        int counted = 0;
        for (int y = 0; y < small.height(); ++y) {
            for (int x = 0; x < small.width(); ++x) {
                if (photo.adjusted(-1, -1, 1, 1).contains(x, y))
                    continue;
                const int d = qAbs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
                total += d;
                worst = std::max(worst, d);
                ++counted;
            }
        }
        QVERIFY2(total / counted < 5, qPrintable(QStringLiteral("mean difference %1").arg(total / counted)));
        QVERIFY2(worst < 60, qPrintable(QStringLiteral("worst difference %1").arg(worst)));

        // Where a long caption ends, white on blue: texts are as wide on screen as on paper.
        const auto captionEnd = [&](const QImage& page) {
            const double perMm = dotsPerInch / 25.4;
            int rightmost = -1;
            for (int y = int((233 + 1) * perMm); y < int((233 + 4.4) * perMm); ++y)
                for (int x = int(107 * perMm); x < int(199 * perMm); ++x)
                    if (qGray(page.pixel(x, y)) > 200)
                        rightmost = std::max(rightmost, x);
            return rightmost;
        };
        QVERIFY(captionEnd(paper) > 0);
        QVERIFY2(qAbs(captionEnd(paper) - captionEnd(shown)) <= 1,
                 qPrintable(QStringLiteral("caption ends at %1 on paper, %2 on screen")
                                .arg(captionEnd(paper))
                                .arg(captionEnd(shown))));
        const auto patch = [](const QImage& image, const QRect& area) {
            double sum = 0;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    sum += qGray(image.pixel(x, y));
            return sum / (area.width() * area.height());
        };
        for (double across : {0.2, 0.5, 0.8}) {
            for (double down : {0.25, 0.75}) {
                const QRect area(QPoint(int(photo.left() + across * photo.width()) - 5,
                                        int(photo.top() + down * photo.height()) - 5),
                                 QSize(10, 10));
                const double d = qAbs(patch(a, area) - patch(b, area));
                QVERIFY2(
                    d < 8,
                    qPrintable(QStringLiteral("photo differs by %1 at %2, %3").arg(d).arg(across).arg(down)));
            }
        }
    }

    void aFailedPrintFromThePreviewWarnsAndCloses()
    {
        CardScreens f;
        CardPreviewDialog screen(f.editor);
        screen.show();
        QTimer::singleShot(0, [&] {
            QWidget* preview = QApplication::activeModalWidget();
            QVERIFY(preview);
            f.folder.platform.printing.printToFileNext(f.folder.path(QStringLiteral("manca/scheda.pdf")));
            click(child(preview, "btnStampa"));
        });
        click(child(&screen, "btnStampa"));
        QVERIFY(!screen.isVisible());
        QCOMPARE(f.messages(), QStringList{PreviewFailed});
        QCOMPARE(f.folder.platform.messages.shown().value(0).kind, MessageKind::Warning);
    }
};

QTEST_MAIN(TestCardScreens)
#include "tst_card_screens.moc"
