// SPDX-License-Identifier: MIT
// The Qt half of --pdf: a GUI application object, only for this mode, and the booklet drawn
// into a PDF file.
#include <QGuiApplication>
#include <QPageSize>
#include <iostream>
#include <memory>

#include "render/pagepainter.h"
#include "tools/solve/pdfmode.h"

namespace kz {

int WritePdf(const PdfOptions& options, const std::vector<print::Entry>& puzzles,
             std::ostream& err) {
    if (puzzles.empty()) {
        err << "kazarinoset-solve: no puzzle to print; " << options.out << " not written\n";
        return 1;
    }
    std::unique_ptr<QGuiApplication> app;
    if (QGuiApplication::instance() == nullptr) {
        // Fonts need the application object, a PDF file no display: a terminal without one
        // still gets its file.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        static int argc = 1;
        static char name[] = "kazarinoset-solve";
        static char* argv[] = {name, nullptr};
        // Qt's own notices about the session (no runtime folder, say) mean nothing to a
        // command that writes a file; its real errors still reach standard error.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtCriticalMsg || type == QtFatalMsg) {
                std::cerr << "kazarinoset-solve: " << text.toStdString() << '\n';
            }
        });
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    print::Booklet booklet;
    booklet.puzzles = puzzles;
    booklet.perPage = options.perPage;
    booklet.solutions = options.solutions;
    booklet.tiles = options.tiles;
    booklet.title = print::TitleFor(puzzles);
    std::string error;
    const QPageSize paper(options.letter ? QPageSize::Letter : QPageSize::A4);
    if (!render::WriteBookletPdf(options.out, booklet, paper, &error)) {
        err << "kazarinoset-solve: " << error << '\n';
        return 2;
    }
    return 0;
}

}  // namespace kz
