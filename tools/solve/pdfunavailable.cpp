// SPDX-License-Identifier: MIT
// --pdf in a build without Qt (the fuzzing build): the mode is there, the drawing is not.
#include "tools/solve/pdfmode.h"

namespace kz {

int WritePdf(const PdfOptions& options, const std::vector<print::Entry>&, std::ostream& err) {
    err << "kazarinoset-solve: this build cannot write PDF files (it was built without Qt); "
        << options.out << " not written\n";
    return 2;
}

}  // namespace kz
