#include "crv/common/ui/printing.h"

#include <QDir>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace crv::common::ui {

QPrinter& programPrinter() {
    static QPrinter* printer = [] {
        auto* p = new QPrinter(QPrinter::HighResolution);
        if (QPrinterInfo::availablePrinters().isEmpty()) {
            p->setOutputFormat(QPrinter::PdfFormat);
            p->setOutputFileName(QDir::home().filePath(QStringLiteral("crv_print.pdf")));
        }
        return p;
    }();
    return *printer;
}

bool SetUpPrinter(QWidget* parent) {
    QPageSetupDialog dialog(&programPrinter(), parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace crv::common::ui
