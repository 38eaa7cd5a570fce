#include "crv/common/ui/os_services.h"

#include <cmath>

#include <QApplication>
#include <QFileDialog>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>

namespace crv::common::ui {
namespace {

FolderChooser& chooser() {
    static FolderChooser c;
    return c;
}

QString askForFolder(QWidget* owner, const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(owner, title, start, QFileDialog::ShowDirsOnly);
}

crv::common::ScreenMetrics& stored() {
    static crv::common::ScreenMetrics m;
    return m;
}

bool& haveMetrics() {
    static bool have = false;
    return have;
}

}  // namespace

crv::common::ScreenMetrics screenMetricsFrom(const ScreenFacts& f) {
    crv::common::ScreenMetrics m;
    m.TwipsPerPixelX = static_cast<std::int32_t>(std::lround(1440.0 / (f.dpiX > 0 ? f.dpiX : 96)));
    m.TwipsPerPixelY = static_cast<std::int32_t>(std::lround(1440.0 / (f.dpiY > 0 ? f.dpiY : 96)));
    m.DlgFrameWidth = f.dialogFrame * m.TwipsPerPixelX;
    m.SizeFrameWidth = f.sizingFrame * m.TwipsPerPixelX;
    m.CaptionHeight = f.caption * m.TwipsPerPixelY;
    m.MenuHeight = f.menuBar * m.TwipsPerPixelY;
    m.ScrollBarWidth = f.scrollBar * m.TwipsPerPixelX;
    m.WorkAreaLeft = f.workLeft * m.TwipsPerPixelX;
    m.WorkAreaTop = f.workTop * m.TwipsPerPixelY;
    m.WorkAreaWidth = f.workWidth * m.TwipsPerPixelX;
    m.WorkAreaHeight = f.workHeight * m.TwipsPerPixelY;
    return m;
}

const crv::common::ScreenMetrics& GetScreenMetrics() {
    ScreenFacts f;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        f.dpiX = screen->logicalDotsPerInchX();
        f.dpiY = screen->logicalDotsPerInchY();
        const QRect work = screen->availableGeometry();
        f.workLeft = work.left();
        f.workTop = work.top();
        f.workWidth = work.width();
        f.workHeight = work.height();
    }
    if (QStyle* style = QApplication::style()) {
        f.dialogFrame = style->pixelMetric(QStyle::PM_DefaultFrameWidth);
        f.sizingFrame = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
        f.caption = style->pixelMetric(QStyle::PM_TitleBarHeight);
        f.scrollBar = style->pixelMetric(QStyle::PM_ScrollBarExtent);
        f.menuBar = QMenuBar().sizeHint().height();
    }
    stored() = screenMetricsFrom(f);
    haveMetrics() = true;
    return stored();
}

const crv::common::ScreenMetrics& screenMetrics() {
    if (!haveMetrics()) return GetScreenMetrics();
    return stored();
}

QString BrowseForFolder(QWidget* owner, const QString& title, const QString& startFolder) {
    const QString start = startFolder.trimmed();
    QString folder = chooser() ? chooser()(owner, title, start) : askForFolder(owner, title, start);
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/'))) folder.chop(1);
    return folder;
}

void setFolderChooser(FolderChooser c) { chooser() = std::move(c); }

}  // namespace crv::common::ui
