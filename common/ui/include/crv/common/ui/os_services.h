#pragma once
// Screen metrics and the folder chooser.
#include <functional>

#include <QString>

#include "crv/common/screen_metrics.h"

class QRect;
class QWidget;

namespace crv::common::ui {

// What the metrics are made of, in pixels (dpi for the twips scale).
struct ScreenFacts {
    double dpiX = 96;
    double dpiY = 96;
    int dialogFrame = 0;
    int sizingFrame = 0;
    int caption = 0;
    int menuBar = 0;
    int scrollBar = 0;
    int workLeft = 0;
    int workTop = 0;
    int workWidth = 0;
    int workHeight = 0;
};

// The metrics in twips for those facts (32-bit: a wide desktop exceeds 32767).
crv::common::ScreenMetrics screenMetricsFrom(const ScreenFacts& facts);

// Reads the primary screen and the style, stores the program-wide metrics
// and returns them. Called at start-up and when the screens change.
const crv::common::ScreenMetrics& GetScreenMetrics();
// The stored metrics (read on first use).
const crv::common::ScreenMetrics& screenMetrics();

// Asks for a folder, opening on `startFolder` when it is not blank. Returns
// the folder without a trailing "/" (the root keeps it), or "" when cancelled.
QString BrowseForFolder(QWidget* owner, const QString& title, const QString& startFolder);

// The question itself (tests script it): returns the chosen folder or "".
using FolderChooser = std::function<QString(QWidget* owner, const QString& title, const QString& startFolder)>;
// Null restores the folder dialog.
void setFolderChooser(FolderChooser chooser);

}  // namespace crv::common::ui
