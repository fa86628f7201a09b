// The card as it comes out on paper: every filled object's text and place in a real PDF, the
// coloured bars on a rasterised page, the photo fitted to its box.
#include "output/CardPrint.h"
#include "output/ReportTemplates.h"
#include "report/PdfOutput.h"
#include "report/ReportError.h"

#include "tests/output/ReportFixture.h"
#include "tests/support/PdfProbe.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace brivanto;
using namespace brivanto::testing;

namespace {
constexpr double Tolerance = 0.3; // mm
const QRgb RoyalBlue = 0x4169E1;

const QString LongDescription = QStringLiteral("Gioco di esplorazione e commercio ").repeated(8).left(250);

struct CardValue
{
    const char* object;
    const char* control; // the editor's control it comes from
    QString typed;
    QString printed;
    QRectF box; // on paper
    bool centred;
};

QList<CardValue> cardValues()
{
    return {
        {"txtNome", nullptr, QStringLiteral("  Collezione privata  "), QStringLiteral("Collezione privata"),
         onPaper(1.0, 0.5, 188.0, 4.0), false},
        // Centred: more blanks after the value than before it, so any of them kept moves its middle.
        {"txtTitolo", "txtTitolo", QStringLiteral(u"\t Le Isole del Vento \t\0  "),
         QStringLiteral("Le Isole del Vento"), onPaper(2.0, 6.2, 186.0, 6.0), true},
        {"txtTipologia", "txtTipologia", QStringLiteral("[ID-042]"), QStringLiteral("[ID-042]"), onPaper(2.0, 145.4, 91.0, 4.0), false},
        {"txtEditore", "txtEditore", QStringLiteral("Strategia & <bluff>"), QStringLiteral("Strategia & <bluff>"),
         onPaper(97.0, 145.4, 91.0, 4.0), false},
        {"txtAnno", "txtAnno", QStringLiteral("1987"), QStringLiteral("1987"), onPaper(2.0, 159.4, 42.0, 4.0), false},
        {"txtDimensioni", "txtDimensioni", QStringLiteral("Italiano"), QStringLiteral("Italiano"), onPaper(48.0, 159.4, 45.0, 4.0), false},
        {"txtSerie", "txtSerie", QStringLiteral("Editrice Ludica"), QStringLiteral("Editrice Ludica"), onPaper(97.0, 159.4, 91.0, 4.0), false},
        {"txtCarta", "txtCarta", QStringLiteral("Mario Rossi"), QStringLiteral("Mario Rossi"), onPaper(2.0, 173.4, 91.0, 4.0), false},
        {"txtRarita", "txtRarita", QStringLiteral("Rara"), QStringLiteral("Rara"), onPaper(97.0, 173.4, 91.0, 4.0), false},
        {"txtDescrizione", "txtDescrizione", QStringLiteral("Esplorazione [base]"), QStringLiteral("Esplorazione [base]"),
         onPaper(2.0, 187.4, 186.0, 4.0), false},
        {"txtMittente", "txtMittente", QStringLiteral("Germania"), QStringLiteral("Germania"), onPaper(2.0, 201.4, 91.0, 4.0), false},
        {"txtIndirizzoMit", "txtIndirizzoMit", QStringLiteral("Media"), QStringLiteral("Media"), onPaper(97.0, 201.4, 91.0, 4.0), false},
        {"txtDestinatario", "txtDestinatario", QStringLiteral("30x30x8"), QStringLiteral("30x30x8"), onPaper(2.0, 215.4, 91.0, 4.0), false},
        {"txtIndirizzoDes", "txtIndirizzoDes", QStringLiteral("Angoli rovinati"), QStringLiteral("Angoli rovinati"),
         onPaper(97.0, 215.4, 91.0, 4.0), false},
        {"txtFrancobollo", "txtFrancobollo", QStringLiteral("10+"), QStringLiteral("10+"), onPaper(2.0, 229.4, 42.0, 4.0), false},
        {"txtValore", "txtValore", QStringLiteral("1.234,50 \u20AC"), QStringLiteral("1.234,50 \u20AC"), onPaper(48.0, 229.4, 45.0, 4.0), false},
        {"txtTimbro", "txtTimbro", QStringLiteral("90 minuti"), QStringLiteral("90 minuti"), onPaper(97.0, 229.4, 91.0, 4.0), false},
        {"txtTesto", "txtTesto", QStringLiteral("Plancia, 120 carte"), QStringLiteral("Plancia, 120 carte"), onPaper(2.0, 243.4, 186.0, 4.0), false},
        {"txtData", "txtData", QStringLiteral("2-4"), QStringLiteral("2-4"), onPaper(2.0, 257.4, 42.0, 4.0), false},
        {"txtStato", "txtStato", QStringLiteral("Ottimo"), QStringLiteral("Ottimo"), onPaper(48.0, 257.4, 45.0, 4.0), false},
        {"txtLuogo", "txtLuogo", QStringLiteral("Scaffale 3"), QStringLiteral("Scaffale 3"), onPaper(97.0, 257.4, 91.0, 4.0), false},
        {"txtNote", "txtNote", QStringLiteral(u"\0\t Completo \t\0"), QStringLiteral("Completo"),
         onPaper(2.0, 271.4, 186.0, 4.0), false},
    };
}

// The twenty caption bars: left, top and width on the template.
struct Bar
{
    double left, top, width;
};
const QList<Bar> CaptionBars{
    {1, 139, 93}, {96, 139, 93}, {1, 153, 44},  {47, 153, 47}, {96, 153, 93}, {1, 167, 93},  {96, 167, 93},
    {1, 181, 188}, {1, 195, 93}, {96, 195, 93}, {1, 209, 93},  {96, 209, 93}, {1, 223, 44},  {47, 223, 47},
    {96, 223, 93}, {1, 237, 188}, {1, 251, 44}, {47, 251, 47}, {96, 251, 93}, {1, 265, 188},
};

QString hex(QRgb colour)
{
    return QStringLiteral("#%1").arg(colour & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

} // namespace

class TestCardPrint : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir folder_;
    QString cardPdf_;
    QList<QList<PdfWord>> words_;

    QString printCard(CardSourceEditor& editor, const QString& file)
    {
        report::Report card = makeCardReport();
        fillCard(card, editor, editor.picture);
        const QString path = folder_.filePath(file);
        report::writePdf(card.prepare(), path);
        return path;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!havePdfTools())
            QSKIP("poppler-utils is not installed");
        CardSourceEditor editor;
        for (const CardValue& value : cardValues()) {
            if (value.control)
                editor.set(value.control, value.typed);
            else
                editor.name = value.typed;
        }
        editor.picture = solidPicture(QSize(400, 300), Qt::red);
        cardPdf_ = printCard(editor, QStringLiteral("card.pdf"));
        words_ = pdfWords(cardPdf_);
    }

    void oneA4PortraitPageTitledWithTheReportName()
    {
        QCOMPARE(pdfPageCount(cardPdf_), 1);
        QCOMPARE(pdfInfo(cardPdf_, QStringLiteral("Title")), QStringLiteral("Scheda Gioco da Tavolo"));
        const QString size = pdfInfo(cardPdf_, QStringLiteral("Page size"));
        QCOMPARE(size, QStringLiteral("595 x 842 pts (A4)"));
    }

    void everyFilledObjectPrintsItsTrimmedTextInItsBox_data()
    {
        QTest::addColumn<QString>("printed");
        QTest::addColumn<QRectF>("box");
        QTest::addColumn<bool>("centred");
        for (const CardValue& value : cardValues())
            QTest::newRow(value.object) << value.printed << value.box << value.centred;
    }
    void everyFilledObjectPrintsItsTrimmedTextInItsBox()
    {
        QFETCH(QString, printed);
        QFETCH(QRectF, box);
        QFETCH(bool, centred);
        QCOMPARE(words_.size(), 1);
        QRectF span;
        // The words are looked for a little beyond the box, so that text out of place shows.
        QCOMPARE(textIn(words_[0], box.adjusted(-2, -1, 2, 1), &span), printed);
        if (centred)
            QVERIFY2(std::abs(span.center().x() - box.center().x()) <= Tolerance,
                     qPrintable(QStringLiteral("centre %1 mm, box centre %2 mm").arg(span.center().x()).arg(box.center().x())));
        else
            QVERIFY2(std::abs(span.left() - box.left()) <= Tolerance,
                     qPrintable(QStringLiteral("left %1 mm, box left %2 mm").arg(span.left()).arg(box.left())));
        QVERIFY2(std::abs(span.center().y() - box.center().y()) <= Tolerance,
                 qPrintable(QStringLiteral("middle %1 mm, box middle %2 mm").arg(span.center().y()).arg(box.center().y())));
        QVERIFY(span.right() <= box.right() + Tolerance);
    }

    void fixedCaptionsStandInTheirBars()
    {
        const QList<std::pair<QString, Bar>> captions{
            {QStringLiteral("CODICE ID"), CaptionBars[0]},
            {QStringLiteral("RARITA'"), CaptionBars[6]},
            {QStringLiteral("LIVELLO DI COMPLESSITA'"), CaptionBars[9]},
            {QStringLiteral("NOTE"), CaptionBars[19]},
        };
        for (const auto& [caption, bar] : captions) {
            const QRectF box = onPaper(bar.left + 1, bar.top + 1, bar.width - 2, 3.6);
            QRectF span;
            QCOMPARE(textIn(words_[0], box.adjusted(-1, -0.5, 1, 0.5), &span), caption);
            QVERIFY(std::abs(span.left() - box.left()) <= Tolerance);
        }
    }

    void barsAreRoyalBlueAndValueBoxesWhite()
    {
        const QImage page = rasterisedPage(cardPdf_, 1);
        QVERIFY(!page.isNull());
        // The title bar, away from its centred text.
        for (const QPointF& inBar : {QPointF(11.5, 16), QPointF(198.5, 22), QPointF(30, 15.6)})
            QVERIFY2(colourNear(colourAtMm(page, inBar), RoyalBlue), qPrintable(hex(colourAtMm(page, inBar))));
        for (const Bar& bar : CaptionBars) {
            const QPointF inBar(bar.left + 10 + 0.5, bar.top + 10 + 2.4);
            QVERIFY2(colourNear(colourAtMm(page, inBar), RoyalBlue),
                     qPrintable(QStringLiteral("bar at %1, %2: %3").arg(bar.left).arg(bar.top).arg(hex(colourAtMm(page, inBar)))));
            const QPointF inValueBox(bar.left + 10 + bar.width - 1.5, bar.top + 10 + 5 + 3);
            QVERIFY(colourNear(colourAtMm(page, inValueBox), 0xFFFFFF));
            const QPointF belowBar(bar.left + 10 + 0.5, bar.top + 10 + 4.8 + 0.1);
            QVERIFY2(!colourNear(colourAtMm(page, belowBar), RoyalBlue, 40), "the bar is 4.8 mm high");
        }
        // Nothing is printed in the margins.
        for (const QPointF& margin : {QPointF(5, 5), QPointF(205, 150), QPointF(105, 292)})
            QVERIFY(colourNear(colourAtMm(page, margin), 0xFFFFFF));
    }

    void aLongValueIsCutAtItsBoxOnOneLine()
    {
        CardSourceEditor editor;
        editor.set("txtDescrizione", LongDescription);
        const QString pdf = printCard(editor, QStringLiteral("long.pdf"));
        const QRectF box = onPaper(2.0, 187.4, 186.0, 4.0);
        QRectF span;
        const QString printed = textIn(pdfWords(pdf).value(0), box.adjusted(-2, -3, 60, 3), &span);
        QVERIFY2(LongDescription.startsWith(printed), qPrintable(printed));
        QVERIFY(printed.size() < LongDescription.size());
        QVERIFY2(span.right() <= box.right() + Tolerance, qPrintable(QString::number(span.right())));
        // Cut at the edge, not short of it: less than one character's width is left.
        QVERIFY2(span.right() >= box.right() - 2.5, qPrintable(QString::number(span.right())));
        QVERIFY2(span.height() < 4.0, "one line");
    }

    // At the edge of its box a value loses exactly the characters that do not fit. Liberation Sans
    // (Arial's metrics) at 8 pt: an M is 2.351 mm wide, a digit 1.570 mm.
    void aValueAtTheEdgeOfItsBox_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRectF>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("printed");
        const QRectF code = onPaper(2.0, 145.4, 91.0, 4.0);
        const QRectF language = onPaper(48.0, 159.4, 45.0, 4.0);
        const QString digits = QStringLiteral("1234567890").repeated(3);
        // 38 Ms take 89.3 mm of 91; 39 would take 91.7.
        QTest::newRow("as long as fits a wide box")
            << "txtTipologia" << code << QString(38, u'M') << QString(38, u'M');
        QTest::newRow("one character over a wide box")
            << "txtTipologia" << code << QString(39, u'M') << QString(38, u'M');
        // 28 digits take 44.0 mm of 45; 29 would take 45.5.
        QTest::newRow("as long as fits a narrow box")
            << "txtDimensioni" << language << digits.left(28) << digits.left(28);
        QTest::newRow("one character over a narrow box")
            << "txtDimensioni" << language << digits.left(29) << digits.left(28);
    }
    void aValueAtTheEdgeOfItsBox()
    {
        QFETCH(QString, control);
        QFETCH(QRectF, box);
        QFETCH(QString, typed);
        QFETCH(QString, printed);
        CardSourceEditor editor;
        editor.set(qPrintable(control), typed);
        const QString pdf =
            printCard(editor, control + QString::number(typed.size()) + QStringLiteral(".pdf"));
        QRectF span;
        QCOMPARE(textIn(pdfWords(pdf).value(0), box.adjusted(-2, -3, 60, 3), &span), printed);
        QVERIFY2(span.right() <= box.right() + Tolerance, qPrintable(QString::number(span.right())));
    }

    void picturesFitTheirBoxKeepingProportions_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRectF>("expected"); // on paper
        const QRectF box = onPaper(1, 16, 188, 121);
        const auto centredIn = [&](double width, double height) {
            return QRectF(box.center().x() - width / 2, box.center().y() - height / 2, width, height);
        };
        QTest::newRow("12 megapixels, 4:3") << QSize(4000, 3000) << centredIn(121 * 4.0 / 3, 121);
        QTest::newRow("sliver 1x2000") << QSize(1, 2000) << centredIn(121.0 / 2000, 121);
        QTest::newRow("small, enlarged") << QSize(40, 30) << centredIn(121 * 4.0 / 3, 121);
        QTest::newRow("wide panorama") << QSize(3000, 500) << centredIn(188, 188.0 / 6);
        QTest::newRow("exactly the box's shape") << QSize(1880, 1210) << box;
    }
    void picturesFitTheirBoxKeepingProportions()
    {
        QFETCH(QSize, size);
        QFETCH(QRectF, expected);
        report::Report card = makeCardReport();
        CardSourceEditor editor;
        fillCard(card, editor, solidPicture(size, Qt::red));
        const report::PreparedReport& prepared = card.prepare();
        QCOMPARE(prepared.pages.size(), std::size_t(1));
        const report::PlacedItem* picture = nullptr;
        for (const report::PlacedItem& item : prepared.pages[0].items)
            if (item.kind == report::ObjectKind::Picture)
                picture = &item;
        QVERIFY(picture);
        const QRectF& placed = picture->pictureBox;
        for (const auto& [actual, wanted] : {std::pair{placed.left(), expected.left()}, {placed.top(), expected.top()},
                                              {placed.width(), expected.width()}, {placed.height(), expected.height()}})
            QVERIFY2(std::abs(actual - wanted) < 0.01,
                     qPrintable(QStringLiteral("placed %1,%2 %3x%4").arg(placed.left()).arg(placed.top())
                                    .arg(placed.width()).arg(placed.height())));
        // A big photo travels at print resolution, not whole.
        QVERIFY(picture->picture.width() <= std::max(size.width(), 2300));
        QVERIFY(picture->picture.width() * picture->picture.height() <= 2300 * 1500);
    }

    void thePhotoIsPrintedCentredOnWhite()
    {
        const QImage page = rasterisedPage(cardPdf_, 1);
        // 400x300 red: 161.3 mm wide, centred across the 188 mm box.
        QVERIFY(colourNear(colourAtMm(page, {11 + 94, 26 + 60.5}), 0xFF0000, 30));
        QVERIFY(colourNear(colourAtMm(page, {11 + 14.8, 26 + 60.5}), 0xFF0000, 30));
        QVERIFY(colourNear(colourAtMm(page, {11 + 12.5, 26 + 60.5}), 0xFFFFFF));
        QVERIFY(colourNear(colourAtMm(page, {11 + 175.5, 26 + 60.5}), 0xFFFFFF));
    }

    void findingObjects_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("askedKind");
        QTest::addColumn<bool>("found");
        const int text = int(report::ObjectKind::Text), picture = int(report::ObjectKind::Picture),
                  band = int(report::ObjectKind::Band);
        QTest::newRow("text as text") << "txtTitolo" << text << true;
        QTest::newRow("picture as picture") << "imgLogo" << picture << true;
        QTest::newRow("picture as text") << "imgLogo" << text << false;
        QTest::newRow("text as picture") << "txtNote" << picture << false;
        QTest::newRow("shape as text") << "shpTitolo" << text << false;
        QTest::newRow("missing") << "txtFrancobolli" << text << false;
        QTest::newRow("letter case differs") << "TXTTITOLO" << text << false;
        QTest::newRow("empty name of a caption") << "" << text << false;
        QTest::newRow("summary band in the card") << "MasterData" << band << false;
    }
    void findingObjects()
    {
        QFETCH(QString, name);
        QFETCH(int, askedKind);
        QFETCH(bool, found);
        report::Report card = makeCardReport();
        bool threw = false;
        try {
            switch (report::ObjectKind(askedKind)) {
            case report::ObjectKind::Text:
                card.findText(name);
                break;
            case report::ObjectKind::Picture:
                card.findPicture(name);
                break;
            default:
                card.findBand(name);
            }
        } catch (const report::ReportError& failure) {
            threw = true;
            QVERIFY(failure.description().startsWith(QStringLiteral("Errore di stampa: ")));
        }
        QCOMPARE(!threw, found);
    }
};

QTEST_MAIN(TestCardPrint)
#include "tst_card_print.moc"
