// Takes pictures of the real program in a real window system: the launcher, the record editor
// showing a stored game with its two photos, and every screen opened from the editor. Run by
// scripts/screenshots.sh under a virtual X display; writes <out>/launcher.png, <out>/editor.png
// and one picture a screen.
#include "access/PasswordScreen.h"
#include "editor/AttachmentsDialog.h"
#include "editor/RecordEditor.h"
#include "media/CaptureScreen.h"
#include "media/Slideshow.h"
#include "media/ZoomWindow.h"
#include "output/CardPreviewDialog.h"
#include "output/CardPrintDialog.h"
#include "output/ExportScreen.h"
#include "search/ForSaleList.h"
#include "search/SearchScreen.h"
#include "shell/Application.h"
#include "shell/Launcher.h"
#include "shell/ScreenSet.h"
#include "statistics/StatisticsScreen.h"
#include "storage/FieldText.h"
#include "storage/ProgramFolder.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <functional>

using namespace brivanto;

namespace {

// A photo-like picture of a game box on a wooden table, at camera resolution.
QImage boxPhoto(const QColor& lid, const QString& title, bool open)
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient wood(0, 0, 4000, 3000);
    wood.setColorAt(0, QColor(0x8A, 0x5A, 0x34));
    wood.setColorAt(1, QColor(0x5E, 0x3B, 0x20));
    p.fillRect(image.rect(), wood);
    p.setPen(QPen(QColor(0, 0, 0, 28), 14));
    for (int y = 60; y < 3000; y += 170)
        p.drawLine(0, y, 4000, y + 120);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(QRectF(720, 560, 2700, 2050), 60, 60);
    p.setBrush(lid);
    p.drawRoundedRect(QRectF(620, 460, 2700, 2050), 50, 50);
    if (open) {
        p.setBrush(QColor(0xEE, 0xE3, 0xC8));
        p.drawRect(QRectF(820, 660, 2300, 1650));
        p.setBrush(QColor(0x2F, 0x7D, 0x6D));
        for (int i = 0; i < 10; ++i)
            for (int j = 0; j < 7; ++j)
                if ((i + j) % 2 == 0)
                    p.drawRect(QRectF(880 + i * 220, 720 + j * 220, 200, 200));
        const QColor pawns[] = {QColor(0xC0, 0x39, 0x2B), QColor(0x29, 0x80, 0xB9), QColor(0xF1, 0xC4, 0x0F)};
        for (int i = 0; i < 3; ++i) {
            p.setBrush(pawns[i]);
            p.drawEllipse(QPointF(1300 + i * 600, 1300 + i * 180), 120, 120);
        }
    } else {
        p.setBrush(QColor(0xFF, 0xF8, 0xEC));
        p.drawRoundedRect(QRectF(820, 700, 2300, 420), 30, 30);
        p.setPen(QColor(0x22, 0x31, 0x3A));
        QFont font(QStringLiteral("Liberation Serif"));
        font.setPixelSize(260);
        font.setBold(true);
        p.setFont(font);
        p.drawText(QRectF(820, 700, 2300, 420), Qt::AlignCenter, title);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xE8, 0xA3, 0x3D));
        QPainterPath hills;
        hills.moveTo(820, 2200);
        hills.cubicTo(1400, 1500, 1900, 2000, 2300, 1600);
        hills.cubicTo(2700, 1300, 2900, 1900, 3120, 1700);
        hills.lineTo(3120, 2300);
        hills.lineTo(820, 2300);
        p.drawPath(hills);
    }
    p.end();
    return image;
}

void setField(GameRecord& record, int index, const QString& text)
{
    textToField(text, fieldAt(record, Fields[index]), Fields[index].capacity);
}

void writeArchive(const QString& folder)
{
    const QStringList values = {
        QStringLiteral("Le Strade del Re"),
        QStringLiteral("BG-0142"),
        QStringLiteral("Strategico, piazzamento tessere"),
        QStringLiteral("Edizioni Ponte Vecchio"),
        QStringLiteral(
            "Costruzione di strade e città nella campagna medievale; vince chi controlla più regioni."),
        QStringLiteral("2019"),
        QStringLiteral("42,50"),
        QStringLiteral("Italiano"),
        QStringLiteral("Chiara Bellandi, Luca Ferrè"),
        QStringLiteral("Comune"),
        QStringLiteral("Italia"),
        QStringLiteral("Media: regole in 20 minuti"),
        QStringLiteral("30 × 30 × 8 cm"),
        QStringLiteral("Angolo del coperchio ammaccato"),
        QStringLiteral("Plancia, 72 tessere, 40 segnalini in legno, 5 segnapunti, regolamento"),
        QStringLiteral("2-5"),
        QStringLiteral("10+"),
        QStringLiteral("45 minuti"),
        QStringLiteral("Ottimo"),
        QStringLiteral("Scaffale B, ripiano 2"),
        QStringLiteral("Espansione «Fiumi» acquistata a parte (€ 12)."),
    };
    GameRecord first{};
    GameRecord record{};
    for (int i = 0; i < values.size(); ++i)
        setField(record, i, values[i]);
    setField(first, 0, QStringLiteral("Scacchi da viaggio"));
    writeForSale(record, true);
    QFile archive(folder + QStringLiteral("Collezione.gdt"));
    archive.open(QIODevice::WriteOnly);
    archive.write(reinterpret_cast<const char*>(&first), sizeof first);
    archive.write(reinterpret_cast<const char*>(&record), sizeof record);
    archive.close();
    QDir(folder).mkpath(QStringLiteral("Foto_Gioco"));
    boxPhoto(QColor(0x1A, 0x7A, 0x89), QStringLiteral("Le Strade del Re"), false)
        .save(folder + QStringLiteral("Foto_Gioco/Collezione_Foto_A_2.jpg"), "JPEG", 90);
    boxPhoto(QColor(0x1A, 0x7A, 0x89), {}, true)
        .save(folder + QStringLiteral("Foto_Gioco/Collezione_Foto_B_2.jpg"), "JPEG", 90);
}

// A collection of sixty games such as a collector keeps, for the pictures of the statistics.
void writeCollection(const QString& folder)
{
    struct Sample
    {
        const char* genre;
        const char* publisher;
        int value; // cents
    };
    const char* const names[] = {"Le Strade del Re",  "Isole del Vento",    "Mercanti di Venezia",
                                 "La Via della Seta", "Draghi e Torri",     "Il Faro",
                                 "Rotte Polari",      "Giardini Pensili",   "Cronache di Citt\u00E0",
                                 "L'Ultimo Treno",    "Castelli di Sabbia", "Il Grande Fiume"};
    const char* const genres[] = {"Strategico", "strategico", "Cooperativo", "Party game",
                                  "Gestionale", "Astratto",   "Deduzione",   "Piazzamento tessere",
                                  "Gestionale", "Strategico"};
    const char* const publishers[] = {"Editrice Ludica", "Tavolo & Dadi",    "Giochi Rossi", "Ludoteca Nord",
                                      "Dal Negro",       "Cranio Creations", "dV Giochi"};
    const char* const conditions[] = {"Ottimo", "Buono", "Ottimo", "Discreto", "Nuovo, in cellophane",
                                      "Buono"};
    const char* const players[] = {"2-4", "2\u20135", "1-6", "2+", "3-8 giocatori", "2", "1-4"};
    const char* const times[] = {"45 minuti", "60-90 min", "2 ore", "30'", "1h30", "20 minuti"};
    const char* const ages[] = {"8+", "10+", "da 12 anni", "14 anni", "10+"};
    const char* const rarities[] = {"Comune", "Rara", "Rarit\u00E0", "Comune", "Introvabile"};
    QFile archive(folder + QStringLiteral("Ludoteca.gdt"));
    archive.open(QIODevice::WriteOnly);
    for (int n = 0; n < 60; ++n) {
        GameRecord record{};
        setField(record, 0,
                 QString::fromUtf8(names[n % 12]) +
                     (n >= 12 ? QStringLiteral(" %1").arg(n / 12 + 1) : QString()));
        setField(record, 1, QStringLiteral("LT-%1").arg(100 + n));
        setField(record, 2, QString::fromUtf8(genres[(n * 7) % 10]));
        setField(record, 3, QString::fromUtf8(publishers[(n * 3) % 7]));
        setField(record, 5, QString::number(1972 + (n * 13) % 53));
        const int cents = n % 11 == 5 ? 0 : 1500 + (n * 7919) % 24000 + (n % 9 == 0 ? 35000 : 0);
        setField(record, 6,
                 n == 17 ? QStringLiteral("1.234,5")
                         : QStringLiteral("%1,%2").arg(cents / 100).arg(cents % 100, 2, 10, QChar(u'0')));
        setField(record, 7, n % 5 == 0 ? QStringLiteral("Inglese") : QStringLiteral("Italiano"));
        setField(record, 9, QString::fromUtf8(rarities[n % 5]));
        setField(record, 10, n % 4 == 0 ? QStringLiteral("Germania") : QStringLiteral("Italia"));
        setField(record, 11, n % 3 == 0 ? QStringLiteral("Media") : QStringLiteral("Bassa"));
        setField(record, 13, n % 8 == 3 ? QStringLiteral("Angolo del coperchio ammaccato") : QString());
        setField(record, 15, QString::fromUtf8(players[n % 7]));
        setField(record, 16, QString::fromUtf8(ages[n % 5]));
        setField(record, 17, QString::fromUtf8(times[n % 6]));
        setField(record, 18, QString::fromUtf8(conditions[n % 6]));
        setField(record, 19, QStringLiteral("Scaffale %1").arg(QChar(u'A' + n % 4)));
        writeForSale(record, n % 6 == 1 || n % 10 == 4);
        archive.write(reinterpret_cast<const char*>(&record), sizeof record);
    }
}

void settle(int ms)
{
    for (int i = 0; i < ms / 20; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
}

bool shoot(const QString& path)
{
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    return !shot.isNull() && shot.save(path);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: brivanto_screenshots <output folder>\n");
        return 2;
    }
    Application app(argc, argv);
    const QString out = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    QTemporaryDir folder;
    setProgramFolderForTesting(folder.path());
    writeArchive(ProgramFolder());
    writeCollection(ProgramFolder());

    ScreenSet screens;
    screens.start();
    settle(300);
    switchScreen(screens.password(), screens.avvio());
    settle(800);
    bool ok = shoot(out + QStringLiteral("launcher.png"));

    screens.cartoline()->setArchive(ProgramFolder() + QStringLiteral("Collezione.gdt"),
                                    QStringLiteral("Collezione"));
    switchScreen(screens.avvio(), screens.cartoline());
    settle(500);
    QWidget* last = screens.cartoline()->findChild<QWidget*>(QStringLiteral("cmdUltimo"));
    QMetaObject::invokeMethod(last, "clicked");
    // The pointer rests on the save button, so the status line shows its hint.
    QWidget* save = screens.cartoline()->findChild<QWidget*>(QStringLiteral("cmdSalva"));
    QCursor::setPos(save->mapToGlobal(save->rect().center()));
    settle(800);
    ok = shoot(out + QStringLiteral("editor.png")) && ok;

    // The screens opened from the editor, each through the editor's own way of opening it: the
    // picture is taken once the screen is up, then the screen is closed.
    RecordEditor& editor = *screens.cartoline();
    const std::pair<const char*, std::function<void()>> opened[] = {
        // The lists as the editor's buttons open them, with their "Statistiche".
        {"search.png",
         [&] { QMetaObject::invokeMethod(editor.findChild<QWidget*>(QStringLiteral("cmdTrova")), "click"); }},
        {"for_sale.png",
         [&] {
             QMetaObject::invokeMethod(editor.findChild<QWidget*>(QStringLiteral("cmdCercaDisponibili")),
                                       "click");
         }},
        {"attachments.png", [&] { showAttachments(editor); }},
        {"export.png", [&] { showExport(editor); }},
        {"capture.png", [&] { showCapture(editor, QStringLiteral("foto01")); }},
        {"zoom.png", [&] { showZoom(&editor, editor.photo(PhotoSlotId::A)); }},
        {"slideshow.png", [&] { showSlideshow(editor); }},
        {"card_print.png", [&] { showCardPrint(editor); }},
        {"card_preview.png", [&] { showCardPreview(editor); }},
    };
    for (const auto& [name, open] : opened) {
        QTimer::singleShot(1500, [&ok, &out, name = QLatin1String(name)] {
            ok = shoot(out + name) && ok;
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
            else if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        open();
    }

    // The preview window with the card of the record on the editor, as "Mostra anteprima" opens it.
    QTimer::singleShot(1500, [&] {
        QWidget* screen = QApplication::activeModalWidget();
        QTimer::singleShot(2000, [&ok, &out] {
            ok = shoot(out + QStringLiteral("card_preview_window.png")) && ok;
            if (auto* preview = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                preview->reject();
        });
        QMetaObject::invokeMethod(screen->findChild<QWidget*>(QStringLiteral("btnStampa")), "click");
    });
    showCardPreview(editor);

    // The statistics of a collection of sixty games: by genre, counted and by value; the games of
    // a bar; the printed page in its preview.
    editor.setArchive(ProgramFolder() + QStringLiteral("Ludoteca.gdt"), QStringLiteral("Ludoteca"));
    const auto statisticsShot =
        [&ok, &out](const char* name, const std::function<void(statistics::StatisticsScreen*)>& before) {
            return [&ok, &out, name = QLatin1String(name), before] {
                auto* screen = qobject_cast<statistics::StatisticsScreen*>(QApplication::activeModalWidget());
                if (!screen) {
                    ok = false;
                    return;
                }
                before(screen);
                settle(700);
                ok = shoot(out + name) && ok;
            };
        };
    QTimer::singleShot(1500, [&] {
        statisticsShot("statistics.png", [](statistics::StatisticsScreen*) {})();
        statisticsShot("statistics_value.png", [](statistics::StatisticsScreen* screen) {
            screen->setMeasure(statistics::Measure::Value);
        })();
        statisticsShot("statistics_players.png", [](statistics::StatisticsScreen* screen) {
            screen->setMeasure(statistics::Measure::Games);
            screen->showChart(statistics::ChartId::Players);
        })();
        auto* screen = qobject_cast<statistics::StatisticsScreen*>(QApplication::activeModalWidget());
        if (!screen)
            return;
        screen->showChart(statistics::ChartId::Genre);
        settle(500);
        QTimer::singleShot(1200, [&ok, &out] {
            ok = shoot(out + QStringLiteral("statistics_list.png")) && ok;
            if (auto* list = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                list->reject();
            QTimer::singleShot(300, [&ok, &out] {
                auto* statisticsScreen = QApplication::activeModalWidget();
                QTimer::singleShot(2000, [&ok, &out] {
                    ok = shoot(out + QStringLiteral("statistics_page.png")) && ok;
                    if (auto* preview = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                        preview->reject();
                    QTimer::singleShot(300, [] {
                        if (auto* rest = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                            rest->reject();
                    });
                });
                QMetaObject::invokeMethod(
                    statisticsScreen->findChild<QWidget*>(QStringLiteral("btnAnteprima")), "click");
            });
        });
        screen->listBar(0);
    });
    statistics::showStatistics(editor, &editor, statistics::StatisticsCoverage::wholeArchive());
    return ok ? 0 : 1;
}
