#include "crv/common/drawing/qt/qt_output.h"
#include "crv/common/drawing/primitives.h"

#include <QFile>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <utility>

#include <memory>

namespace crv::common {
namespace {

constexpr Colour kRed = 0x0000FF;  // 0x00BBGGRR

PlotOutput samplePlot(PlotSurface surface) {
    auto plot = BeginPlot(surface, true, std::string("Corvane\0Sample.plt\0\0", 20));
    SetWorldWindow(*plot, {0, 10, 10, 0});  // y upward
    for (DrawContext* dc : {&plot->picture(), plot->metafile()}) {
        SetPenColor(*dc, kRed);
        PlotMoveTo(*dc, 2, 2);
        PlotLineTo(*dc, 5, 8);
        PlotLineTo(*dc, 8, 2);
        PlotLineTo(*dc, 2, 2);
        FillArea(*dc, kRed, 5, 4);
        SetPenColor(*dc, kBlack);
        PlotBox(*dc, 1, 1, 9, 9);
        SetPlotFont(*dc, 0.3, "");
        PlotText(*dc, "Corvane 123", 5, 9.5, 4, 0);
    }
    return EndPlot(std::move(plot));
}

TEST(ScreenPicture, FillStaysInsideItsOutline) {
    const PlotOutput out = samplePlot({300, 400});
    const QImage image = renderPicture(out.picture, out.surface);
    ASSERT_EQ(image.size(), QSize(300, 400));
    // World (5, 4) is pixel (150, 240): inside the triangle, filled red.
    EXPECT_EQ(image.pixelColor(150, 240), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(150, 300), QColor(255, 0, 0));
    // Beside the triangle's slanted sides and outside the box: untouched.
    EXPECT_EQ(image.pixelColor(60, 180), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(240, 180), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(150, 350), QColor(Qt::white));
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) red += image.pixelColor(x, y) == QColor(255, 0, 0);
    }
    // The triangle spans 180 x 240 pixels: about half of that is red.
    EXPECT_NEAR(red, 180 * 240 / 2, 800);
}

// Height of the inked box of a text drawn on a picture of that size.
QRect inkOf(PlotSurface s) {
    auto plot = BeginPlot(s, false, "");
    SetWorldWindow(*plot, {0, 1, 0, 1});
    SetPlotFont(plot->picture(), 0.5, "");
    PlotText(plot->picture(), "HH", 0.5, 0.5, 4, 0);
    const QImage image = renderPicture(EndPlot(std::move(plot)).picture, s);
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) ink = ink.united(QRect(x, y, 1, 1));
        }
    }
    return ink;
}

TEST(ScreenPicture, TextKeepsItsShapeOnAStretchedPage) {
    const QRect normal = inkOf({750, 1000});
    const QRect wide = inkOf({1500, 1000});  // the page stretched twice as wide
    ASSERT_FALSE(normal.isEmpty());
    EXPECT_NEAR(wide.width(), normal.width(), 2);
    EXPECT_NEAR(wide.height(), normal.height(), 2);
    // Centred on the anchor in both.
    EXPECT_NEAR(wide.center().x(), 750, 3);
    EXPECT_NEAR(normal.center().x(), 375, 3);
}

TEST(EnhancedMetafileFile, ReadBackByAnIndependentReader) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const PlotOutput out = samplePlot({640, 480});
    const std::string emf = dir.filePath("plot.emf").toStdString();
    ASSERT_TRUE(SaveEnhMetafile(*out.metafile, emf));
    QFile f(QString::fromStdString(emf));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_EQ(bytes.mid(40, 4), QByteArray(" EMF"));

    const QString svg = dir.filePath("plot.svg");
    QProcess conv;
    conv.start("emf2svg-conv", {"-i", QString::fromStdString(emf), "-o", svg});
    ASSERT_TRUE(conv.waitForFinished(30000));
    ASSERT_EQ(conv.exitCode(), 0) << conv.readAllStandardError().toStdString();
    QFile s(svg);
    ASSERT_TRUE(s.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(s.readAll());
    EXPECT_TRUE(text.contains("Corvane 123")) << text.left(2000).toStdString();
    EXPECT_TRUE(text.contains("Arial", Qt::CaseInsensitive));
    // The triangle's three red sides, the box's four sides and the red fill.
    EXPECT_EQ(text.count("<path"), 3 + 4 + 1);
    EXPECT_EQ(text.count("stroke=\"#FF0000\" stroke-width"), 3);
    EXPECT_EQ(text.count("fill=\"#FF0000\""), 1);
    // The frame is 1260 x 945 reference pixels: the box from 1 to 9 of a 10
    // wide window starts 126 px in.
    EXPECT_TRUE(text.contains("M 126.0000,850.5000"));
}

TEST(EnhancedMetafileFile, FailedSaveLeavesNoFile) {
    QTemporaryDir dir;
    const PlotOutput out = samplePlot({640, 480});
    const std::string path = dir.filePath("missing/folder/plot.emf").toStdString();
    const auto r = SaveEnhMetafile(*out.metafile, path);
    EXPECT_FALSE(r);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
}

// The metafile never goes through a link where the file belongs (the file it
// points to stays as it was) and never waits on a FIFO there.
TEST(EnhancedMetafileFile, ALinkOrFifoInItsPlaceIsRefused) {
    QTemporaryDir dir;
    const PlotOutput out = samplePlot({640, 480});
    const std::string victim = dir.filePath("notes.txt").toStdString();
    std::ofstream(victim) << "notes";
    const std::string link = dir.filePath("link.emf").toStdString();
    ASSERT_EQ(::symlink(victim.c_str(), link.c_str()), 0);
    const std::string fifo = dir.filePath("fifo.emf").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const auto& [path, what] : {std::pair{link, "it is a symbolic link"}, std::pair{fifo, "it is a FIFO"}}) {
        const auto r = SaveEnhMetafile(*out.metafile, path);
        ASSERT_FALSE(r);
        EXPECT_EQ(r.error(), "Could not create " + path + ": " + what);
    }
    std::ifstream in(victim);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "notes");
}

TEST(Clipboard, MetafileAndPicture) {
    const PlotOutput out = samplePlot({640, 480});
    const QImage picture = renderPicture(out.picture, out.surface);
    const auto data = plotMimeData(*out.metafile, picture);
    const QByteArray emf = data->data("image/emf");
    const std::vector<std::uint8_t> expected = EnhMetafileBytes(*out.metafile);
    ASSERT_EQ(static_cast<std::size_t>(emf.size()), expected.size());
    EXPECT_EQ(emf.mid(40, 4), QByteArray(" EMF"));
    EXPECT_TRUE(data->hasImage());
}

TEST(Printer, PdfPageOffscreen) {
    QTemporaryDir dir;
    const std::string pdf = dir.filePath("plot.pdf").toStdString();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    const PlotOutput out = samplePlot({640, 480});
    ASSERT_TRUE(printMetafile(printer, *out.metafile, "CRV: Sample.plt"));
    QFile f(QString::fromStdString(pdf));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_GT(bytes.size(), 1000);
}

TEST(Fonts, SubstitutesKeepMetrics) {
    EXPECT_EQ(substituteFace("Arial"), "Liberation Sans");
    EXPECT_EQ(substituteFace("Small Fonts"), "Liberation Sans");
    EXPECT_EQ(substituteFace("Courier New"), "Liberation Mono");
    const QFont f = qtFontFor(Font{"Courier New", -150, 400, 0, 0, false, 0}, 20);
    EXPECT_EQ(QFontInfo(f).family(), "Liberation Mono");
    // Monospaced: every character measures the same.
    const TextExtent e = QtTextMetrics().measure(Font{"Courier New", -150, 400, 0, 0, false, 0}, 20, u"iW.");
    ASSERT_EQ(e.advances.size(), 3u);
    EXPECT_NEAR(e.advances[0], e.advances[1], 1e-6);
    EXPECT_NEAR(e.width, 3 * 0.6 * 20, 0.5);  // Courier-compatible: 0.6 em each
}

}  // namespace
}  // namespace crv::common
