#pragma once
// Print jobs of the viewers on the program's printer. When the program
// prints to PDF files (no printer on the machine), the first document of a
// job writes the file the user chose and later ones are numbered beside it
// (common/ui printing.h).
#include "crv/common/drawing/plot.h"

#include <crv/platform/expected.h>

#include <QString>

class QPrinter;

namespace crv::viewers {

// Names the document and, for PDF output, sets its file. Returns the file
// (empty for a real printer).
QString beginPrintJob(QPrinter& printer, const std::string& documentName);

// The printer's page in device units: resolution, paper size and the
// offsets of its printable area (its unprintable margins).
struct PrinterPage {
    double dpiX = 0, dpiY = 0, paperWidth = 0, paperHeight = 0, offX = 0, offY = 0;
};
PrinterPage printerPage(const QPrinter& printer);

// One print job of one plot page: the metafile played inside the margins,
// its proportions kept and centred.
platform::Expected<void> printPlotPage(QPrinter& printer, const common::EnhancedMetafile& metafile,
                                       const std::string& jobName);

}  // namespace crv::viewers
