#include "crv/common/ui/printing.h"

#include <QDir>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace crv::common::ui {
namespace {

PrintDialogRunner& runner() {
    static PrintDialogRunner r;
    return r;
}

bool noPrinterInstalled() { return QPrinterInfo::availablePrinterNames().isEmpty(); }

}  // namespace

QPrinter& programPrinter() {
    static QPrinter* printer = [] {
        auto* p = new QPrinter(QPrinter::HighResolution);
        if (noPrinterInstalled()) {
            p->setOutputFormat(QPrinter::PdfFormat);
            p->setOutputFileName(QDir::home().filePath(QStringLiteral("crv_print.pdf")));
        }
        return p;
    }();
    return *printer;
}

void SetUpPrinter(bool& cancel, std::int16_t& first, std::int16_t& last, QWidget* parent) {
    QPrinter& printer = programPrinter();
    printer.setPrintRange(QPrinter::AllPages);
    QPrintDialog dialog(&printer, parent);
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintShowPageSize;
    // Printing to a file is offered only where it is the one way to print.
    if (noPrinterInstalled()) options |= QAbstractPrintDialog::PrintToFile;
    const bool pages = first >= 1 && last >= 1;
    if (pages) {
        options |= QAbstractPrintDialog::PrintPageRange;
        dialog.setMinMax(first, last);
        dialog.setFromTo(first, first);
    }
    dialog.setOptions(options);
    const int result = runner() ? runner()(dialog) : dialog.exec();
    if (result != QDialog::Accepted) {
        cancel = true;
        return;
    }
    cancel = false;
    // The dialog has already handed printer, copies, orientation and paper
    // to the printer; only the page range comes back here.
    if (pages && printer.printRange() == QPrinter::PageRange) {
        first = static_cast<std::int16_t>(printer.fromPage());
        last = static_cast<std::int16_t>(printer.toPage());
    }
}

bool SetUpPrinter(QWidget* parent) {
    bool cancel = false;
    std::int16_t first = 0;
    std::int16_t last = 0;
    SetUpPrinter(cancel, first, last, parent);
    return !cancel;
}

void setPrintDialogRunner(PrintDialogRunner r) { runner() = std::move(r); }

}  // namespace crv::common::ui
