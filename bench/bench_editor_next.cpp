// One press of Next in the record editor, on an archive of 100,000 records, when the next record
// has two 12-megapixel camera photos: reading the record, filling the 21 edits, reading and
// decoding both photo files and painting their reduced copies. Against it, decoding the same two
// JPEG files alone, which is the part of the press that cannot be avoided.
//
// Before the runs, the memory the editor holds for the two photos on screen is measured once and
// reported as counters of the editor run (resident memory growth, and the decoded pictures'
// own size).
#include "editor/PhotoFile.h"
#include "editor/RecordEditor.h"
#include "platform/testing/ScriptedPlatform.h"
#include "storage/FieldText.h"
#include "storage/GameRecord.h"
#include "storage/ProgramFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace brivanto;

namespace {

constexpr int RecordTotal = 100000;
constexpr int ShownBefore = 49999; // the record on screen before each press
constexpr int ShownAfter = ShownBefore + 1;
const QString ArchiveName = QStringLiteral("Grande");

GameRecord numberedRecord(int n)
{
    GameRecord record{};
    TextToField(QStringLiteral("Gioco %1").arg(n), record.name);
    TextToField(QStringLiteral("ID-%1").arg(n), record.idCode);
    TextToField(QStringLiteral("Strategico"), record.genre);
    TextToField(QStringLiteral("Editrice"), record.publisher);
    TextToField(QStringLiteral("Scatola completa, regolamento in italiano, plancia e segnalini in legno."),
                record.description);
    TextToField(QString::number(1980 + n % 40), record.year);
    TextToField(QStringLiteral("%1,50").arg(n % 300), record.marketValue);
    writeForSale(record, n % 2 == 1);
    return record;
}

void writeArchive(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot create %s", qPrintable(path));
    QByteArray block;
    constexpr int RecordsPerBlock = 1000;
    for (int first = 1; first <= RecordTotal; first += RecordsPerBlock) {
        block.clear();
        for (int n = first; n < first + RecordsPerBlock && n <= RecordTotal; ++n) {
            const GameRecord record = numberedRecord(n);
            block.append(reinterpret_cast<const char*>(&record), sizeof record);
        }
        if (file.write(block) != block.size())
            qFatal("cannot write %s", qPrintable(path));
    }
}

// A camera-like photo: soft light over a gradient, some large shapes, and per-pixel sensor noise
// and texture, so that the JPEG has the size of a real 12-megapixel photo (a few MB), not the
// few hundred KB of a flat synthetic picture.
QImage cameraPhoto(quint32 seed)
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient table(0, 0, 4000, 3000);
    table.setColorAt(0, QColor::fromHsv(int(seed * 67 % 360), 120, 170));
    table.setColorAt(1, QColor::fromHsv(int(seed * 67 % 360), 160, 90));
    painter.fillRect(image.rect(), table);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QRandomGenerator random(seed);
    for (int i = 0; i < 40; ++i) {
        QRadialGradient blob(random.bounded(4000), random.bounded(3000), 200 + random.bounded(700));
        blob.setColorAt(0, QColor::fromHsv(random.bounded(360), 140, 230, 160));
        blob.setColorAt(1, QColor(0, 0, 0, 0));
        painter.setBrush(blob);
        painter.drawEllipse(blob.center(), blob.radius(), blob.radius());
    }
    painter.end();

    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            // A fine grain that follows the rows (wood, cardboard), plus independent noise.
            const quint32 r = random.generate();
            const int grain = int((x * 13 + y * 7 + (x * y >> 9)) % 23) - 11;
            const int noise = int(r & 0x1F) - 16;
            const auto shade = [&](int value, int extra) {
                return qBound(0, value + grain + noise + extra, 255);
            };
            line[x] =
                qRgb(shade(qRed(line[x]), int(r >> 8 & 7) - 4), shade(qGreen(line[x]), int(r >> 12 & 7) - 4),
                     shade(qBlue(line[x]), int(r >> 16 & 7) - 4));
        }
    }
    return image;
}

// The program folder, the archive and the photos of the record after ShownBefore, made once.
struct BenchFolder
{
    BenchFolder()
    {
        if (!dir.isValid())
            qFatal("no temporary folder");
        setProgramFolderForTesting(dir.path());
        archive = ProgramFolder() + ArchiveName + QStringLiteral(".gdt");
        writeArchive(archive);
        if (!ensurePhotoFolder())
            qFatal("no photo folder");
        const QString position = QString::number(ShownAfter);
        photoA = photoFilePath(ArchiveName, position, PhotoSlotId::A);
        photoB = photoFilePath(ArchiveName, position, PhotoSlotId::B);
        cameraPhoto(1).save(photoA, "JPEG", 92);
        cameraPhoto(2).save(photoB, "JPEG", 92);
        std::fprintf(stderr, "archive: %lld bytes; photos: %lld and %lld bytes\n",
                     static_cast<long long>(QFileInfo(archive).size()),
                     static_cast<long long>(QFileInfo(photoA).size()),
                     static_cast<long long>(QFileInfo(photoB).size()));
    }

    QTemporaryDir dir{QDir::tempPath() + QStringLiteral("/brivanto-bench-XXXXXX")};
    QString archive;
    QString photoA;
    QString photoB;
};

BenchFolder& benchFolder()
{
    static BenchFolder folder;
    return folder;
}

// Counts the paints of a control, to check that each press really drew the photos.
class PaintCounter : public QObject
{
public:
    using QObject::QObject;
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The editor on screen, open on the large archive, with the record before the photos shown.
class EditorOnScreen
{
public:
    EditorOnScreen()
    {
        editor.setArchive(benchFolder().archive, ArchiveName);
        editor.show();
        position = editor.findChild<QLabel*>(QStringLiteral("lblPosizione"));
        next = editor.findChild<QWidget*>(QStringLiteral("cmdAvanti"));
        title = editor.findChild<QLineEdit*>(QStringLiteral("txtTitolo"));
        for (const char* name : {"imgFoto", "imgFoto02"})
            editor.findChild<QWidget*>(QLatin1String(name))->installEventFilter(&counter);
        settle();
    }

    // The state before a press: record ShownBefore on screen with the default pictures.
    void prepare()
    {
        editor.ClearRecordScreen();
        settle();
        position->setText(QString::number(ShownBefore));
        counter.paints = 0;
    }

    // The press and everything it leads to until the screen is painted.
    void pressNext()
    {
        QMetaObject::invokeMethod(next, "clicked");
        settle();
    }

    // Why the last press did not do its job, or null.
    const char* fault() const
    {
        if (position->text() != QString::number(ShownAfter) ||
            title->text() != QStringLiteral("Gioco %1").arg(ShownAfter))
            return "Next did not show the next record";
        if (!platform.messages.shown().isEmpty())
            return "the editor showed a message";
        if (editor.photo(PhotoSlotId::A).size() != QSize(4000, 3000) ||
            editor.photo(PhotoSlotId::B).size() != QSize(4000, 3000))
            return "the photos were not loaded";
        if (counter.paints < 2)
            return "the photos were not painted";
        return nullptr;
    }

    static void settle() { QCoreApplication::processEvents(); }

    platform::testing::ScriptedPlatform platform;
    RecordEditor editor;
    QLabel* position = nullptr;
    QWidget* next = nullptr;
    QLineEdit* title = nullptr;
    PaintCounter counter;
};

// The resident memory of this process, in KiB.
long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

struct PhotoMemory
{
    double residentGrowthMiB = 0;
    double picturesMiB = 0;
};

PhotoMemory measurePhotoMemory(EditorOnScreen& screen)
{
    screen.prepare();
    const long before = residentKiB();
    screen.pressNext();
    const long after = residentKiB();
    const QImage a = screen.editor.photo(PhotoSlotId::A);
    const QImage b = screen.editor.photo(PhotoSlotId::B);
    return {double(after - before) / 1024.0, double(a.sizeInBytes() + b.sizeInBytes()) / (1024.0 * 1024.0)};
}

void EditorNext(benchmark::State& state)
{
    EditorOnScreen screen;
    const PhotoMemory memory = measurePhotoMemory(screen);
    if (const char* fault = screen.fault()) {
        state.SkipWithError(fault);
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        screen.prepare();
        state.ResumeTiming();
        screen.pressNext();
        state.PauseTiming();
        if (const char* fault = screen.fault()) {
            state.SkipWithError(fault);
            break;
        }
        state.ResumeTiming();
    }
    state.counters["resident_growth_MiB"] = memory.residentGrowthMiB;
    state.counters["pictures_MiB"] = memory.picturesMiB;
}

void DecodeTwoPhotos(benchmark::State& state)
{
    const BenchFolder& folder = benchFolder();
    for (auto _ : state) {
        const QImage a(folder.photoA);
        const QImage b(folder.photoB);
        benchmark::DoNotOptimize(a.constBits());
        benchmark::DoNotOptimize(b.constBits());
        if (a.size() != QSize(4000, 3000) || b.size() != QSize(4000, 3000)) {
            state.SkipWithError("the photos could not be decoded");
            break;
        }
    }
}

} // namespace

BENCHMARK(DecodeTwoPhotos)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(EditorNext)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    // No window system is needed: the editor paints into the offscreen platform's backing store.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchFolder();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    setProgramFolderForTesting({});
    return 0;
}
