// Saving a record of an archive of 100,000 records with two 12-megapixel camera photos that the
// user loaded from files (their JPEG bytes are written as they are): the record is checked and
// written, and both photos written whole, all under the archive's exclusive lock.
//
// Against it, the same save as the program made it before the archive had one owner: the record
// checked and written under the lock and flushed, then each photo written through QSaveFile
// (flushed and renamed) after the lock was released.
#include "storage/ArchiveFile.h"
#include "storage/FieldText.h"
#include "storage/GameArchive.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstring>

using namespace brivanto;

namespace {

constexpr int RecordTotal = 100000;
constexpr int Saved = 50000;

GameRecord numberedRecord(int n)
{
    GameRecord record{};
    TextToField(QStringLiteral("Gioco %1").arg(n), record.name);
    TextToField(QStringLiteral("ID-%1").arg(n), record.idCode);
    TextToField(QStringLiteral("%1,50").arg(n % 300), record.marketValue);
    writeForSale(record, false);
    return record;
}

// A 12-megapixel picture with per-pixel noise, so that its JPEG has a camera photo's size.
QByteArray cameraJpeg(quint32 seed)
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const quint32 r = random.generate();
            const int base = (x / 16 + y / 12 + int(seed) * 40) % 200;
            line[x] = qRgb(base + int(r & 31), base / 2 + int(r >> 8 & 31), 255 - base - int(r >> 16 & 31));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(92);
    if (!writer.write(image))
        qFatal("cannot encode the photo");
    return bytes;
}

struct BenchFolder
{
    BenchFolder()
    {
        if (!dir.isValid())
            qFatal("no temporary folder");
        archive = dir.filePath(QStringLiteral("Grande.gdt"));
        QFile file(archive);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot create the archive");
        QByteArray block;
        for (int n = 1; n <= RecordTotal; ++n) {
            const GameRecord record = numberedRecord(n);
            block.append(reinterpret_cast<const char*>(&record), RecordSize);
            if (block.size() > (1 << 20) || n == RecordTotal) {
                file.write(block);
                block.clear();
            }
        }
        file.close();
        QDir().mkpath(dir.filePath(QStringLiteral("Foto_Gioco")));
        photoA = cameraJpeg(1);
        photoB = cameraJpeg(2);
        loaded = numberedRecord(Saved);
        edited = loaded;
        TextToField(QStringLiteral("angoli consumati"), edited.notes);
    }
    QTemporaryDir dir;
    QString archive;
    QByteArray photoA, photoB;
    GameRecord loaded{}, edited{};
};

BenchFolder& folder()
{
    static BenchFolder made; // once for every repetition of both sides
    return made;
}

// The record goes back to what was loaded, so each save compares and writes alike.
void restore(const BenchFolder& f)
{
    ArchiveFile archive;
    archive.Open(f.archive);
    archive.Seek(Saved - 1);
    archive.Write(f.loaded);
    archive.Close();
}

void SaveRecordWithTwoPhotos(benchmark::State& state)
{
    BenchFolder& f = folder();
    const GameArchive owner(f.archive);
    for (auto _ : state) {
        state.PauseTiming();
        restore(f);
        state.ResumeTiming();
        const SaveResult saved =
            owner.saveRecord(Saved, recordView(f.loaded), f.edited, {f.photoA, f.photoB});
        if (saved.outcome != SaveOutcome::Written || !saved.photosWritten)
            state.SkipWithError("save failed");
    }
    state.counters["photo_bytes"] = double(f.photoA.size() + f.photoB.size());
}

bool writeWithSaveFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() &&
           file.commit();
}

void SaveAsBeforeOneOwner(benchmark::State& state)
{
    BenchFolder& f = folder();
    const QString photos = f.dir.filePath(QStringLiteral("Foto_Gioco/"));
    for (auto _ : state) {
        state.PauseTiming();
        restore(f);
        state.ResumeTiming();
        ArchiveFile archive;
        archive.Open(f.archive);
        archive.Seek(Saved - 1);
        if (std::memcmp(&archive.ReadInPlace(), &f.loaded, RecordSize) != 0)
            state.SkipWithError("record changed");
        archive.Seek(Saved - 1);
        archive.Write(f.edited);
        archive.Close();
        if (!writeWithSaveFile(photos + QStringLiteral("Grande_Foto_A_50000.jpg"), f.photoA) ||
            !writeWithSaveFile(photos + QStringLiteral("Grande_Foto_B_50000.jpg"), f.photoB))
            state.SkipWithError("photo not written");
    }
}

} // namespace

BENCHMARK(SaveRecordWithTwoPhotos)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SaveAsBeforeOneOwner)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
