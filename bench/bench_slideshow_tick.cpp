// One slideshow tick that brings a 12-megapixel photo on screen (the archive read, the photo
// file read and checked, the full-size decode and the first paint of the scaled copy), against
// decoding the same JPEG at full size and nothing else. Both read the same, page-cached file in
// the same run.
#include "editor/RecordEditor.h"
#include "media/Slideshow.h"
#include "platform/PhotoView.h"
#include "platform/testing/ScriptedPlatform.h"
#include "storage/FieldText.h"
#include "storage/ProgramFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QRandomGenerator>
#include <QScreen>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace brivanto;

namespace {

constexpr QSize PhotoSize(4000, 3000);

// Colour ramps, sharp edges and a little sensor noise: about what a camera's photo of a game box
// gives the decoder to do.
QImage photoLikePicture()
{
    QImage image(PhotoSize, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int band = ((x / 300 + y / 200) % 3) * 50;
            const int noise = int(random.bounded(12u));
            line[x] = qRgb((x * 180 / image.width() + band + noise) % 256,
                           (y * 160 / image.height() + band / 2 + noise) % 256, (90 + band + noise) % 256);
        }
    }
    return image;
}

struct Setup
{
    Setup()
    {
        setProgramFolderForTesting(dir.path());
        QDir().mkpath(ProgramFolder() + QStringLiteral("Foto_Gioco"));
        photo = ProgramFolder() + QStringLiteral("Foto_Gioco/Grande_Foto_A_1.jpg");
        photoLikePicture().save(photo, "JPEG", 92);
        QFile archive(ProgramFolder() + QStringLiteral("Grande.gdt"));
        GameRecord record{};
        TextToField(QStringLiteral("Gioco"), record.name);
        archive.open(QIODevice::WriteOnly);
        archive.write(reinterpret_cast<const char*>(&record), sizeof record);
        archive.close();
        editor.setArchive(archive.fileName(), QStringLiteral("Grande"));
    }

    QTemporaryDir dir;
    platform::testing::ScriptedPlatform platform;
    RecordEditor editor;
    QString photo;
};

// Made on first use, gone before the application object.
std::unique_ptr<Setup> instance;

Setup& setup()
{
    if (!instance)
        instance = std::make_unique<Setup>();
    return *instance;
}

void DecodeFullSize(benchmark::State& state)
{
    const QString path = setup().photo;
    QImageReader::setAllocationLimit(400);
    for (auto _ : state) {
        QImageReader reader(path);
        const QImage image = reader.read();
        if (image.size() != PhotoSize)
            state.SkipWithError("not decoded");
        benchmark::DoNotOptimize(image.constBits());
    }
}

void SlideshowTick(benchmark::State& state)
{
    Setup& s = setup();
    Slideshow slideshow(s.editor);
    slideshow.setGeometry(slideshow.screen()->geometry());
    slideshow.show();
    auto* imgFoto = slideshow.findChild<platform::PhotoView*>(QStringLiteral("imgFoto"));
    auto* counter = slideshow.findChild<QLabel*>(QStringLiteral("lblPosizione"));
    for (auto _ : state) {
        counter->clear(); // every tick shows record 1 again
        s.platform.timers.tick();
        imgFoto->repaint();
        if (imgFoto->image().size() != PhotoSize)
            state.SkipWithError("photo not shown");
    }
    state.counters["screen_width"] = slideshow.screen()->size().width();
}

} // namespace

BENCHMARK(DecodeFullSize)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SlideshowTick)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    instance.reset();
    return 0;
}
