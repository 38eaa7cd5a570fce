#include "crv/main/app/qt/service_volume_view.h"

#include <QPainter>
#include <QPainterPath>

namespace crv::main::qt {

namespace {
const QColor kBackground(0, 0, 128);
}

ServiceVolumeView::ServiceVolumeView(QWidget* parent) : QWidget(parent), outline_(DrawServiceVolume()) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, kBackground);
    setPalette(p);
    timer_.setInterval(40);
    connect(&timer_, &QTimer::timeout, this, &ServiceVolumeView::tick);
}

void ServiceVolumeView::setRunning(bool running) {
    if (running) {
        if (!timer_.isActive()) timer_.start();
    } else {
        timer_.stop();
        clearPicture();
    }
}

void ServiceVolumeView::tick() {
    animation_.tick();
    drawFrame();
    update();
}

void ServiceVolumeView::clearPicture() {
    frame_ = QImage();
    update();
}

void ServiceVolumeView::drawFrame() {
    if (width() <= 0 || height() <= 0) return;
    QImage image(size(), QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 1));
    // 45 units across, x from -22.5 to 22.5; y upwards with the same unit.
    const double unit = width() / 45.0;
    const double cx = width() / 2.0, cy = height() / 2.0;
    const auto line = AnimateServiceVolume(outline_, animation_.angle(), animation_.elevation());
    QPainterPath path;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const QPointF p(cx + line[i].x * unit, cy - line[i].y * unit);
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    painter.drawPath(path);
    frame_ = std::move(image);
}

void ServiceVolumeView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!frame_.isNull()) painter.drawImage(0, 0, frame_);
}

void ServiceVolumeView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!frame_.isNull()) drawFrame();
}

}  // namespace crv::main::qt
