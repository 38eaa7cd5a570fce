#include "crv/viewers/plot_window/qt/print_job.h"

#include "crv/common/drawing/qt/qt_output.h"
#include "crv/common/ui/qt/printing.h"
#include "crv/viewers/plot_window_controller.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

namespace crv::viewers {

QString beginPrintJob(QPrinter& printer, const std::string& documentName) {
    printer.setDocName(QString::fromStdString(documentName));
    return common::ui::nextPrintFile(printer);
}

PrinterPage printerPage(const QPrinter& printer) {
    const int res = printer.resolution();
    QPageLayout layout = printer.pageLayout();
    const QRect paper = layout.fullRectPixels(res);
    // The unprintable edge is the layout's minimum margin.
    layout.setMinimumMargins(layout.minimumMargins());
    layout.setMargins(layout.minimumMargins());
    const QMargins edge = layout.marginsPixels(res);
    PrinterPage p;
    p.dpiX = res;
    p.dpiY = res;
    p.paperWidth = paper.width();
    p.paperHeight = paper.height();
    p.offX = edge.left();
    p.offY = edge.top();
    return p;
}

platform::Expected<void> printPlotPage(QPrinter& printer, const common::EnhancedMetafile& metafile,
                                       const std::string& jobName) {
    const PrinterPage page = printerPage(printer);
    beginPrintJob(printer, jobName);
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer)) return platform::makeError("The printer could not start \"" + jobName + "\".");
    const PrintRect r = plotPrintTarget(page.dpiX, page.dpiY, page.paperWidth, page.paperHeight, page.offX, page.offY);
    common::PlayEnhMetafile(painter, metafile, QRectF(r.left, r.top, r.width, r.height));
    if (!painter.end()) return platform::makeError("The printer could not finish \"" + jobName + "\".");
    return {};
}

}  // namespace crv::viewers
