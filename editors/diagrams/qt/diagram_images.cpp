#include "crv/editors/diagrams/qt/diagram_images.h"

#include <QPainter>

#include <cmath>
#include <map>
#include <utility>

#include "crv/common/drawing/qt/qt_output.h"

namespace crv::editors {

const QImage& arraySheetImage(double tppx, double tppy) {
    static std::map<std::pair<double, double>, QImage> sheets;
    auto it = sheets.find({tppx, tppy});
    if (it != sheets.end()) return it->second;
    const common::PlotSurface px{int(std::lround(kArraySheetTwips.width / tppx)),
                                 int(std::lround(kArraySheetTwips.height / tppy))};
    const common::PlotOutput out = drawArraySheet(px);
    return sheets.emplace(std::make_pair(tppx, tppy), common::renderPicture(out.picture, px)).first->second;
}

QImage ShowArrayPattern(int arrayType, QSize boxPx, double tppx, double tppy) {
    const auto tile = arrayTileFor(arrayType);
    if (!tile || boxPx.isEmpty() || tppx <= 0 || tppy <= 0) return {};
    const QImage& sheet = arraySheetImage(tppx, tppy);
    const double px = (kArraySheetTwips.width / tppx) / kArraySheetScaleWidth;
    const double py = (kArraySheetTwips.height / tppy) / kArraySheetScaleHeight;
    const SheetRect r = arrayTileRect(*tile);
    const QRect source(int(std::lround(r.left * px)), int(std::lround(r.top * py)), int(std::lround(r.width * px)),
                       int(std::lround(r.height * py)));
    if (!sheet.rect().contains(source)) return {};
    QImage box(boxPx, QImage::Format_RGB32);
    box.fill(Qt::white);
    QPainter p(&box);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(QRect(QPoint(0, 0), boxPx), sheet, source);
    return box;
}

QImage diagramImage(const common::PlotOutput& out) { return common::renderPicture(out.picture, out.surface); }

}  // namespace crv::editors
