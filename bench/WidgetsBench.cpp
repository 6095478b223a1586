// Loading the logo must not delay the window: only the header is read at
// load, the pixels are decoded once, and repaints only copy them.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QPainter>

#include "ui/JpegPicture.h"
#include "ui/PictureBox.h"

namespace {

QByteArray demoLogo() {
    QFile file(QStringLiteral(DORVAK_DEMO_DIR "/logo.jpg"));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void LogoHeaderAtLoad(benchmark::State& state) {
    const QByteArray bytes = demoLogo();
    for (auto _ : state) benchmark::DoNotOptimize(dorvak::JpegPicture::fromData(bytes).size());
}
BENCHMARK(LogoHeaderAtLoad);

void LogoPixelsAtFirstPaint(benchmark::State& state) {
    const QByteArray bytes = demoLogo();
    for (auto _ : state) {
        const auto picture = dorvak::JpegPicture::fromData(bytes);
        benchmark::DoNotOptimize(picture.image().constBits());
    }
}
BENCHMARK(LogoPixelsAtFirstPaint);

void LogoStripRepaint(benchmark::State& state) {
    dorvak::PictureBox box;
    box.setPicture(dorvak::JpegPicture::fromData(demoLogo()));
    box.resize(797, box.maximumHeight());
    QImage target(box.size(), QImage::Format_RGB32);
    box.render(&target);  // the first paint decodes
    for (auto _ : state) {
        box.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(LogoStripRepaint);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
