#pragma once
// The Qt targets of a plot: the on-screen picture, printer and PDF pages, the
// clipboard and ".emf" files. Recordings are played in device space: page
// points are mapped onto the target (anisotropically, as the page is
// stretched over the picture), while text and pen widths keep their shape.
#include "crv/common/drawing/plot.h"
#include "crv/common/drawing/text_layout.h"

#include <crv/platform/expected.h>

#include <QFont>
#include <QImage>
#include <QRectF>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QMimeData;
class QPainter;
class QPrinter;

namespace crv::common {

// The installed faces standing in for the ones plots name: metric-compatible
// substitutes for "Arial" and "Courier New", and the sans face for
// "Small Fonts". The recording and the metafile keep the names plots gave.
QString substituteFace(const std::string& face);
// A Qt font for a plot font whose em height is emPx device pixels.
QFont qtFontFor(const Font& font, double emPx);

// Measures text with the installed fonts (needs a QGuiApplication).
class QtTextMetrics : public TextMetrics {
public:
    TextExtent measure(const Font& font, double emPx, const std::u16string& text) const override;
};

enum class PlayMode {
    // The screen picture: unsmoothed one-pixel-or-wider lines and fills that
    // flood the pixels inside the outline.
    Raster,
    // Printers, PDF and other vector targets: smoothed lines, fills as
    // polygons.
    Vector,
};

// Plays a recording with its 7500 x 10000 page stretched over target. Raster
// fills need the painter to paint on an image; pass it as image.
void playRecording(QPainter& painter, const Recording& recording, const QRectF& target, PlayMode mode,
                   QImage* image = nullptr);

// The screen picture of a plot: white, the surface's size.
QImage renderPicture(const Recording& recording, PlotSurface surface);

// Plays a metafile stretched into target, as a printer page gets it.
void PlayEnhMetafile(QPainter& painter, const EnhancedMetafile& metafile, const QRectF& target);

// The metafile as the bytes of a ".emf" file.
std::vector<std::uint8_t> EnhMetafileBytes(const EnhancedMetafile& metafile);

// Saves the metafile; a failed save leaves no file (and no partial one) behind.
platform::Expected<void> SaveEnhMetafile(const EnhancedMetafile& metafile, const std::string& path);

// Clipboard contents for a plot: the metafile as "image/emf" and the picture
// as an image (PNG for programs that take no metafiles).
std::unique_ptr<QMimeData> plotMimeData(const EnhancedMetafile& metafile, const QImage& picture);
void CopyPlotToClipboard(const EnhancedMetafile& metafile, const QImage& picture);

// Prints the metafile as one job, stretched inside half-inch margins (or the
// printer's own unprintable margins where they are wider).
platform::Expected<void> printMetafile(QPrinter& printer, const EnhancedMetafile& metafile, const std::string& jobName);

}  // namespace crv::common
