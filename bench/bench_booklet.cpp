// SPDX-License-Identifier: MIT
// A booklet of a hundred puzzles, its two costs apart: making the puzzles (the generator, at
// the levels a booklet is usually made of) and drawing the pages into a PDF file in memory
// (numerals or tiles, each choice of puzzles a page, with the solutions). Processor time of
// the running thread, as in the other benchmarks.
#include <benchmark/benchmark.h>
#include <QBuffer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>

#include <random>
#include <string>

#include "generate/generator.h"
#include "print/booklet.h"
#include "render/pagepainter.h"

namespace {

constexpr int kCount = 100;

void BM_MakePuzzles(benchmark::State& state) {
    kz::print::Order order;
    order.count = kCount;
    order.request.level = static_cast<int>(state.range(0));
    std::uint64_t seed = 1;
    for (auto _ : state) {
        order.seed = seed++;
        const kz::print::Made made = kz::print::MakePuzzles(order, kz::generate::Generate);
        if (static_cast<int>(made.puzzles.size()) != kCount) state.SkipWithError("gave up");
    }
    state.SetLabel(std::to_string(kCount) + " puzzles");
}
BENCHMARK(BM_MakePuzzles)->DenseRange(1, 6)->Unit(benchmark::kMillisecond)->Iterations(3);

const kz::print::Booklet& Puzzles() {
    static const kz::print::Booklet booklet = [] {
        kz::print::Order order;
        order.count = kCount;
        order.request.level = 4;
        order.seed = 7;
        kz::print::Booklet b;
        b.puzzles = kz::print::MakePuzzles(order, kz::generate::Generate).puzzles;
        b.title = kz::print::TitleFor(b.puzzles);
        b.origin = kz::print::OriginOf(order);
        b.solutions = true;
        return b;
    }();
    return booklet;
}

void BM_DrawBooklet(benchmark::State& state) {
    kz::print::Booklet booklet = Puzzles();
    booklet.perPage = static_cast<int>(state.range(0));
    booklet.tiles = state.range(1) != 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        QByteArray pdf;
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        if (!kz::render::PaintBooklet(writer, booklet, nullptr)) state.SkipWithError("no pages");
        bytes = pdf.size();
    }
    state.counters["KiB"] = static_cast<double>(bytes) / 1024;
    state.SetLabel(booklet.tiles ? "tiles" : "numerals");
}
BENCHMARK(BM_DrawBooklet)
    ->ArgsProduct({{1, 2, 4, 6}, {0, 1}})
    ->ArgNames({"perPage", "tiles"})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // Fonts need the application object; no display is needed or wanted.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
