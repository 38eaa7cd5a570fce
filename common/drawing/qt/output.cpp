#include "crv/common/drawing/metafile_export.h"
#include "crv/common/drawing/qt/qt_output.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <string_view>

#include <cmath>
#include "crv/platform/text_file.h"

namespace crv::common {

std::vector<std::uint8_t> EnhMetafileBytes(const EnhancedMetafile& metafile) {
    return encodeEnhancedMetafile(metafile, QtTextMetrics());
}

platform::Expected<void> SaveEnhMetafile(const EnhancedMetafile& metafile, const std::string& path) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = EnhMetafileBytes(metafile);
    } catch (const std::exception& e) {
        return platform::makeError(e.what());
    }
    // Written beside the target and renamed over it only when complete; a
    // link, FIFO, folder or read-only file there is refused, naming it.
    return platform::writeFileAtomic(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::unique_ptr<QMimeData> plotMimeData(const EnhancedMetafile& metafile, const QImage& picture) {
    auto data = std::make_unique<QMimeData>();
    const std::vector<std::uint8_t> bytes = EnhMetafileBytes(metafile);
    data->setData(QStringLiteral("image/emf"),
                  QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
    if (!picture.isNull()) data->setImageData(picture);
    return data;
}

void CopyPlotToClipboard(const EnhancedMetafile& metafile, const QImage& picture) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->setMimeData(plotMimeData(metafile, picture).release());  // the clipboard owns it
    }
}

platform::Expected<void> printMetafile(QPrinter& printer, const EnhancedMetafile& metafile,
                                       const std::string& jobName) {
    printer.setDocName(QString::fromStdString(jobName));
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer)) return platform::makeError("The printer could not start \"" + jobName + "\".");
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    const QRectF printable = printer.pageLayout().paintRectPixels(printer.resolution());
    // Half-inch margins, or the printer's unprintable margins where wider.
    const double mx = std::max(0.5 * printer.logicalDpiX(), printable.left());
    const double my = std::max(0.5 * printer.logicalDpiY(), printable.top());
    const QRectF target(mx, my, paper.width() - 2 * mx, paper.height() - 2 * my);
    PlayEnhMetafile(painter, metafile, target);
    if (!painter.end()) return platform::makeError("The printer could not finish \"" + jobName + "\".");
    return {};
}

}  // namespace crv::common
