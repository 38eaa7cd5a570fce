// The plot window driven offscreen over the results of an engine run on the
// sample ILS case: paging, the cursor readout at known points, the legend, a
// parameter change, pages that fail or are cancelled, printing to PDF files,
// Save to File read back by an independent reader, and the clipboard.
// Pictures of each state go to build/snapshots/viewers/.
#include "crv/common/error_report.h"
#include "crv/common/ui/qt/help.h"
#include "crv/common/ui/qt/message_presenter.h"
#include "crv/testing/qt/recording_presenter.h"
#include "crv/testing/qt/snapshot.h"
#include "crv/viewers/plot_window/qt/frm_plot_screen.h"
#include "crv50.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <cstdlib>
#include <optional>
#include <tuple>

using namespace crv::common;
using namespace crv::viewers;

namespace {

QString snapDir() { return QString(CRV_SNAPSHOT_DIR) + "viewers/"; }

void snap(QWidget* w, const QString& name) { QVERIFY(crv::testing::saveSnapshot(w, "viewers/" + name)); }

// A progress display that cancels when told to.
class ScriptedProgress : public ProgressDisplay {
public:
    void Initialize(const std::string& m) override {
        messages.push_back(m);
        if (onInitialize) onInitialize();
    }
    std::function<void()> onInitialize;
    void MaxValue(std::int32_t) override {}
    void Value(std::int32_t) override {}
    bool Canceled() const override { return cancelNext; }
    void FinalMsg(const std::string&) override {}
    void Remove() override { ++removed; }
    bool cancelNext = false;
    int removed = 0;
    std::vector<std::string> messages;
};

// The window always closes after the script, even when a check in it failed.
std::function<void(frmPlotScreen&)> closing(std::function<void(frmPlotScreen&)> script) {
    return [script](frmPlotScreen& w) {
        script(w);
        w.Exit();
    };
}

int pdfPages(const QString& pdf) {
    QProcess p;
    p.start("pdfinfo", {pdf});
    if (!p.waitForFinished(60000)) return -1;
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    const auto m = QRegularExpression("Pages:\\s+(\\d+)").match(out);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

double number(const QString& text, const char* after) {
    const auto m = QRegularExpression(QString(after) + "\\s*(-?[0-9.]+)").match(text);
    return m.hasMatch() ? m.captured(1).toDouble() : -1e9;
}

}  // namespace

class PlotWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString run_;
    AppState state_;
    crv::testing::RecordingPresenter presenter_;
    ScriptedProgress progress_;
    std::unique_ptr<QPrinter> pdf_;
    QString pdfDir_;
    int beeps_ = 0;

    PlotWindowServices services() {
        PlotWindowServices s;
        s.state = &state_;
        s.geodesy = {&::DistLL, &::LLDist};
        s.presenter = &presenter_;
        s.progress = &progress_;
        s.printer = pdf_.get();
        s.setUpPrinter = [](QWidget*) { return true; };
        s.beep = [this] { ++beeps_; };
        return s;
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        qputenv("CORVANE_SETTINGS", dir_.filePath("settings.ini").toUtf8());
        const std::string root = dir_.path().toStdString();
        QCOMPARE(std::system((std::string(CRV_SAMPLE_EXE) + " '" + root + "' >/dev/null 2>&1").c_str()), 0);
        QDir().mkpath(dir_.filePath("run"));
        QVERIFY(QFile::copy(dir_.filePath("Data/SampleILS.dat"), dir_.filePath("run/Rfi.plt")));
        QCOMPARE(std::system(("cd '" + root + "' && " + CRV50_EXE + " --quiet run run >/dev/null 2>&1").c_str()), 0);
        run_ = dir_.filePath("run") + "/";
        for (const char* f : {"nav@QKV.plt", "fm@QVT.plt"}) QVERIFY(QFile::copy(QString(CRV_PLOT_DATA) + f, run_ + f));
        QVERIFY(QFile::exists(run_ + "07____A2.plt"));
        state_.PlotColors = kFactoryPlotColors;
        state_.NavLevelMin = -99;
        state_.NavLevelIncr = 6;
        state_.IntLevelMin = 3;
        state_.IntLevelIncr = 3;
        state_.AirspaceCase = "QKV LOC 27     ";
        pdfDir_ = dir_.filePath("pdf");
        QDir().mkpath(pdfDir_);
        pdf_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        pdf_->setOutputFormat(QPrinter::PdfFormat);
        pdf_->setOutputFileName(pdfDir_ + "/first.pdf");
        QDir().mkpath(snapDir());
    }

    void init() {
        presenter_.messages.clear();
        progress_ = ScriptedProgress{};
        beeps_ = 0;
    }

    void oneSimulationPlotWithItsReadout() {
        bool ran = false;
        bool asked = false;
        PlotWindowServices s = services();
        s.getSettings = [&](bool&, DisplaySettings&) { asked = true; };
        s.shown = closing([&](frmPlotScreen& w) {
            ran = true;
            QVERIFY(!w.prevButton()->isEnabled());
            QVERIFY(!w.nextButton()->isEnabled());
            QVERIFY(w.exitButton()->isEnabled());
            QCOMPARE(w.statusPanel(2)->text(), QString("File:  07____A2.plt"));
            QVERIFY(w.statusPanel(3)->text().startsWith("Folder:  "));
            QCOMPARE(w.statusPanel(4)->text(), QString("Plot 1 of 1"));
            QVERIFY(w.legendMenu()->isEnabled());
            QCOMPARE(QString::fromStdString(progress_.messages.at(0)).section('\r', 0, 1),
                     QString("Processing:  Plot 1 of 1\rFile:  07____A2.plt"));
            const PlotPage& page = w.controller().currentPage();
            QWidget* view = w.pageView();
            // A point of the elevation panel: 12.5 nmi and 1000 ft above the site.
            const auto pixelOf = [&](const PanelRecord& p, double dx, double dy) {
                const double x = p.SheetRect.xmin + (dx - p.DataRect.xmin) / p.ScaleX;
                const double y = p.SheetRect.ymin + (dy - p.DataRect.ymin) / p.ScaleY;
                return QPoint(int(std::lround((x - 0.5) / 7.5 * view->width())),
                              int(std::lround((y - 0.5) / 10.0 * view->height())));
            };
            const PanelRecord& profile = page.ProfilePanel;
            QTest::mouseMove(view, pixelOf(profile, 12.5, 1000));
            QString text = w.statusPanel(1)->text();
            QVERIFY2(text.startsWith("Cursor:  Range: "), qPrintable(text));
            QVERIFY(text.contains(" nmi,   Altitude: "));
            // One pixel of the picture is the tolerance.
            const double nmiPerPixel = std::fabs(profile.ScaleX) * 7.5 / view->width();
            const double ftPerPixel = std::fabs(profile.ScaleY) * 10.0 / view->height();
            QVERIFY(std::fabs(number(text, "Range:") - 12.5) <= nmiPerPixel);
            QVERIFY(std::fabs(number(text, "Altitude:") - (1000 + page.SiteElevation)) <= ftPerPixel + 0.5);
            // The plan panel, 10 nmi out at 80 degrees from its +y axis: a
            // localizer reads the azimuth 80 + heading - 90.
            const PanelRecord& plan = page.PlanPanel;
            const double px = 10 * std::sin(80 * M_PI / 180), py = 10 * std::cos(80 * M_PI / 180);
            QTest::mouseMove(view, pixelOf(plan, px, py));
            text = w.statusPanel(1)->text();
            QVERIFY2(text.contains("nmi,   Azimuth: "), qPrintable(text));
            const double nmiPlan = std::fabs(plan.ScaleX) * 7.5 / view->width() * 1.5;
            QVERIFY(std::fabs(number(text, "Range:") - 10) <= nmiPlan);
            double expected = std::fmod(80 + page.Heading - 90 + 720, 360);
            QVERIFY2(std::fabs(number(text, "Azimuth:") - expected) <= 1.0, qPrintable(text));
            snap(&w, "plot_simulation_readout");
            // Outside every panel the readout is empty.
            QTest::mouseMove(view, QPoint(2, 2));
            QCOMPARE(w.statusPanel(1)->text(), QString());
            // The legend over the corner; a page key hides it again.
            w.LegendShow();
            QVERIFY(w.legendPicture()->isVisible());
            QVERIFY(!w.legendShowAction()->isVisible());
            QVERIFY(w.legendHideAction()->isVisible());
            snap(&w, "plot_simulation_legend");
            QTest::keyClick(w.exitButton(), Qt::Key_PageDown);
            QCOMPARE(beeps_, 1);
            QTest::keyClick(&w, Qt::Key_PageUp);
            QCOMPARE(beeps_, 2);
            // Page keys at the ends only beep; the legend stays.
            QVERIFY(w.legendPicture()->isVisible());
            w.cmdNext_Click();  // Next always hides the legend first
            QVERIFY(!w.legendPicture()->isVisible());
            QVERIFY(w.legendShowAction()->isVisible());
            QTest::keyClick(w.exitButton(), Qt::Key_Space);
        });
        // The caller is hidden while the window is shown, and shown again.
        QWidget caller;
        caller.show();
        bool callerHidden = false;
        const auto script = s.shown;
        s.shown = [&](frmPlotScreen& w) {
            callerHidden = !caller.isVisible();
            script(w);
        };
        DisplayPlots(&caller, run_.toStdString(), "07____A2.plt", false, s);
        QVERIFY(ran);
        QVERIFY(callerHidden);
        QVERIFY(caller.isVisible());
        QVERIFY(!asked);
        QVERIFY(crv::common::ui::helpTopics().contains("plot_window"));
        QVERIFY(presenter_.messages.empty());
    }

    void pagingThroughEveryKindOfPage() {
        bool ran = false;
        PlotWindowServices s = services();
        DisplaySettings asked;
        s.getSettings = [&](bool& canceled, DisplaySettings& d) {
            asked = d;
            canceled = false;
            d = {false, true, true};
        };
        const std::string list = "07____A2.plt|Rcvr_Loc.plx|LocHorU.ptx|FmVrt00.ptx|nav@QKV.plt|Rfi.plt|fm@QVT.plt";
        s.shown = closing([&](frmPlotScreen& w) {
            ran = true;
            const char* names[] = {"plot_interference",        "plot_receiver_points", "plot_pattern_polar_db",
                                   "plot_pattern_vertical_db", "plot_facility_map",    "plot_emitter_map_run",
                                   "plot_emitter_map_search"};
            for (int n = 1; n <= 7; ++n) {
                QCOMPARE(w.controller().CurrentPlot(), n);
                QCOMPARE(w.statusPanel(4)->text(), QString("Plot %1 of 7").arg(n));
                QCOMPARE(w.prevButton()->isEnabled(), n > 1);
                QCOMPARE(w.nextButton()->isEnabled(), n < 7);
                QVERIFY(w.controller().currentPage().Built);
                snap(&w, names[n - 1]);
                if (n < 7) QTest::keyClick(w.nextButton(), Qt::Key_PageDown);
            }
            QCOMPARE(int(w.controller().page(3).kind), int(PageKind::Pattern));
            QVERIFY(w.controller().page(3).Polar);
            QVERIFY(!w.controller().page(4).Polar);  // vertical patterns are never polar
            QCOMPARE(int(w.controller().page(6).kind), int(PageKind::EmitterMap));
            // The polar dB pattern: the centre of the plot reads about -50 dB.
            const PlotPage& pat = w.controller().page(3);
            w.cmdPrev_Click();
            w.cmdPrev_Click();
            w.cmdPrev_Click();
            w.cmdPrev_Click();
            QCOMPARE(w.controller().CurrentPlot(), 3);
            const double cx = (pat.PlanPanel.SheetRect.xmin + pat.PlanPanel.SheetRect.xmax) / 2;
            const double cy = (pat.PlanPanel.SheetRect.ymin + pat.PlanPanel.SheetRect.ymax) / 2;
            QWidget* view = w.pageView();
            // On a real display the pointer's move arrives as a later event.
            QTest::mouseMove(view,
                             QPoint(int((cx - 0.5) / 7.5 * view->width()), int((cy - 0.5) / 10.0 * view->height())));
            QTRY_VERIFY2(w.statusPanel(1)->text().contains(" dB  At "), qPrintable(w.statusPanel(1)->text()));
            // The facility map reads positions as latitude and longitude.
            w.cmdNext_Click();
            w.cmdNext_Click();
            QTest::mouseMove(view, QPoint(view->width() / 2, view->height() / 2));
            QTRY_VERIFY2(w.statusPanel(1)->text().contains("Lat: N "), qPrintable(w.statusPanel(1)->text()));
            QVERIFY(!w.legendMenu()->isEnabled());  // maps have no legend
            // The polar pattern printed on A4: its circles stay round.
            pdf_->setPageSize(QPageSize(QPageSize::A4));
            pdf_->setOutputFileName(pdfDir_ + "/polar.pdf");
            QVERIFY(w.PrintPlot(3));
            QProcess p;
            p.start("pdftoppm", {"-png", "-r", "50", "-singlefile", pdfDir_ + "/CRV_ LocHorU.ptx.pdf",
                                 snapDir() + "plot_print_polar_a4"});
            QVERIFY(p.waitForFinished(60000));
            w.Exit();
        });
        DisplayPlots(nullptr, run_.toStdString(), list, false, s);
        QVERIFY(ran);
        QVERIFY(!asked.printOut == false);
        QVERIFY(asked.decibels && asked.polarPlot);
        QVERIFY(presenter_.messages.empty());
    }

    void parametersRedrawSimulationPagesOnly() {
        PlotWindowServices s = services();
        s.getSettings = [](bool& c, DisplaySettings& d) {
            c = false;
            d = {false, false, false};
        };
        s.modifyParameters = [this](QWidget*) {
            state_.PlotColors[0] = 0x00FF00;
            return true;
        };
        bool ran = false;
        s.shown = closing([&](frmPlotScreen& w) {
            ran = true;
            w.cmdNext_Click();  // the pattern
            w.cmdNext_Click();  // the second simulation plot
            w.LegendShow();
            const auto first = w.controller().page(1).buildId;
            const auto pattern = w.controller().page(2).buildId;
            const auto current = w.controller().page(3).buildId;
            w.PlotParameters();
            QVERIFY(!w.controller().page(1).Built);
            QCOMPARE(w.controller().page(2).buildId, pattern);
            QVERIFY(w.controller().page(3).Built);
            QVERIFY(w.controller().page(3).buildId != current);
            QVERIFY(w.legendPicture()->isVisible());  // rebuilt and shown again
            QCOMPARE(w.statusPanel(2)->text(), QString("File:  Rcvr_Loc.plx"));
            w.cmdPrev_Click();
            w.cmdPrev_Click();
            QVERIFY(w.controller().page(1).Built);
            QVERIFY(w.controller().page(1).buildId != first);
            w.Exit();
        });
        DisplayPlots(nullptr, run_.toStdString(), "07____A2.plt|FmVrt00.ptx|Rcvr_Loc.plx", false, s);
        QVERIFY(ran);
        state_.PlotColors = kFactoryPlotColors;
    }

    void failedAndCancelledPagesLeaveTheList() {
        QFile bad(run_ + "bad.plt");
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("not a plot file at all");
        bad.close();
        PlotWindowServices s = services();
        s.getSettings = [](bool& c, DisplaySettings& d) {
            c = false;
            d = {false, false, false};
        };
        bool ran = false;
        s.shown = closing([&](frmPlotScreen& w) {
            ran = true;
            // bad.plt (page 1) was reported and dropped: the former page 2 is page 1 of 2.
            QCOMPARE(w.controller().PlotCount(), 2);
            QCOMPARE(w.statusPanel(2)->text(), QString("File:  07____A2.plt"));
            QCOMPARE(w.statusPanel(4)->text(), QString("Plot 1 of 2"));
            QVERIFY(w.fileMenu()->isEnabled());
            QVERIFY(w.exitButton()->isEnabled());
            progress_.cancelNext = true;
            w.cmdNext_Click();
            progress_.cancelNext = false;
            QCOMPARE(w.controller().PlotCount(), 1);
            QCOMPARE(w.statusPanel(4)->text(), QString("Plot 1 of 1"));
            QVERIFY(w.fileMenu()->isEnabled());
            QVERIFY(!w.nextButton()->isEnabled());
            w.Exit();
        });
        DisplayPlots(nullptr, run_.toStdString(), "bad.plt|07____A2.plt|03____B2.plt", false, s);
        QVERIFY(ran);
        QCOMPARE(int(presenter_.messages.size()), 1);
        QVERIFY(QString::fromStdString(presenter_.messages[0].text).contains("bad.plt"));
        QCOMPARE(progress_.removed, int(progress_.messages.size()));

        // The only page failing: DisplayPlots returns without waiting.
        presenter_.messages.clear();
        ran = false;
        DisplayPlots(nullptr, run_.toStdString(), "bad.plt", false, s);
        QVERIFY(!ran);
        QCOMPARE(int(presenter_.messages.size()), 1);
        QFile::remove(run_ + "bad.plt");
    }

    void autoPrintWritesOnePdfPerPlot() {
        QDir(pdfDir_).removeRecursively();
        QDir().mkpath(pdfDir_);
        for (const auto& paper : {QPageSize::A4, QPageSize::Letter}) {
            pdf_->setPageSize(QPageSize(paper));
            pdf_->setOutputFileName(pdfDir_ + (paper == QPageSize::A4 ? "/a4.pdf" : "/letter.pdf"));
            DisplayPlots(nullptr, run_.toStdString(), "07____A2.plt|Rfi.plt|LocHorU.ptx", true, services());
        }
        QVERIFY(presenter_.messages.empty());
        // A plot that cannot be drawn is reported; the others still print.
        QFile bad(run_ + "bad.plt");
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("damaged");
        bad.close();
        pdf_->setOutputFileName(pdfDir_ + "/bad.pdf");
        DisplayPlots(nullptr, run_.toStdString(), "bad.plt|03____B2.plt", true, services());
        QFile::remove(run_ + "bad.plt");
        QCOMPARE(int(presenter_.messages.size()), 1);
        QVERIFY(QFile::remove(pdfDir_ + "/bad.pdf"));  // 03____B2, the one drawn
        // Each job: the given file first, the later plots numbered beside it.
        const QStringList files = QDir(pdfDir_).entryList({"*.pdf"}, QDir::Files, QDir::Name);
        QCOMPARE(files,
                 QStringList({"a4 (2).pdf", "a4 (3).pdf", "a4.pdf", "letter (2).pdf", "letter (3).pdf", "letter.pdf"}));
        for (const QString& f : files) QCOMPARE(pdfPages(pdfDir_ + "/" + f), 1);
        // Pictures of the printed pages, A4 and Letter.
        for (const auto& [file, name] :
             {std::pair{"a4.pdf", "plot_print_a4"}, std::pair{"letter.pdf", "plot_print_letter"},
              std::pair{"a4 (3).pdf", "plot_print_pattern_a4"}}) {
            QProcess p;
            p.start("pdftoppm", {"-png", "-r", "50", "-singlefile", pdfDir_ + "/" + file, snapDir() + name});
            QVERIFY(p.waitForFinished(60000));
            QCOMPARE(p.exitCode(), 0);
        }
        // The page keeps its proportions on both papers, centred across: the
        // inked box of the same plot has the same shape on A4 and on Letter.
        const auto inked = [](const QString& png) {
            const QImage img(png);
            int left = img.width(), right = -1, top = img.height(), bottom = -1;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    if (qGray(img.pixel(x, y)) < 200) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                        top = std::min(top, y);
                        bottom = std::max(bottom, y);
                    }
            return std::tuple{QRect(QPoint(left, top), QPoint(right, bottom)), img.width()};
        };
        const auto [a4, a4Width] = inked(snapDir() + "plot_print_a4.png");
        const auto [letter, letterWidth] = inked(snapDir() + "plot_print_letter.png");
        QVERIFY(a4.isValid() && letter.isValid());
        const double a4Aspect = double(a4.width()) / a4.height();
        const double letterAspect = double(letter.width()) / letter.height();
        QVERIFY2(std::fabs(a4Aspect - letterAspect) < 0.02,
                 qPrintable(QString("%1 %2").arg(a4Aspect).arg(letterAspect)));
        // The plot's box is centred on the page, so its ink sits the same
        // share of the page's width from the left on either paper.
        QVERIFY(std::fabs(double(a4.left()) / a4Width - double(letter.left()) / letterWidth) < 0.04);
    }

    void printCommandAndSaveAndClipboard() {
        PlotWindowServices s = services();
        const QString emf = dir_.filePath("saved.emf");
        std::string proposedFolder, proposedName;
        int dialogs = 0;
        s.saveFileName = [&](QWidget*, const std::string& folder, const std::string& name) {
            proposedFolder = folder;
            proposedName = name;
            return emf.toStdString();
        };
        s.setUpPrinter = [&](QWidget*) { return ++dialogs > 0; };
        bool ran = false;
        s.shown = closing([&](frmPlotScreen& w) {
            ran = true;
            w.SavePlotPage(1);
            QCOMPARE(QString::fromStdString(proposedName), QString("07____A2.emf"));
            QCOMPARE(QString::fromStdString(proposedFolder), run_);
            // The legend's name, built on demand.
            w.legendMenu()->actions().at(3)->trigger();
            QCOMPARE(QString::fromStdString(proposedName), QString("Legend.emf"));
            // The page once more; the legend's file is overwritten with it.
            w.SavePlotPage(1);
            // A save into a folder that does not exist says so.
            s.saveFileName = nullptr;
            w.CopyPlotPage(1);
            const QMimeData* data = QGuiApplication::clipboard()->mimeData();
            QVERIFY(data);
            QVERIFY(data->hasFormat("image/emf"));
            QVERIFY(data->hasImage());
            QVERIFY(data->data("image/emf").startsWith(QByteArray("\x01\x00\x00\x00", 4)));
            // File > Print: the dialog, then one job.
            QDir(pdfDir_).removeRecursively();
            QDir().mkpath(pdfDir_);
            pdf_->setOutputFileName(pdfDir_ + "/plot.pdf");
            w.fileMenu()->actions().at(2)->trigger();
            QCOMPARE(dialogs, 1);
            QCOMPARE(pdfPages(pdfDir_ + "/plot.pdf"), 1);
            // The pop-up menu on the legend prints the legend.
            w.LegendShow();
            w.contextMenuAt(true, w.mapToGlobal(QPoint(10, 10)));
            QVERIFY(w.contextHideLegend()->isVisible());
            pdf_->setOutputFileName(pdfDir_ + "/legend.pdf");
            w.contextMenu()->actions().at(0)->trigger();
            w.contextMenu()->hide();
            QCOMPARE(pdfPages(pdfDir_ + "/legend.pdf"), 1);
            w.Exit();
        });
        DisplayPlots(nullptr, run_.toStdString(), "07____A2.plt", false, s);
        QVERIFY(ran);
        // Each print says where its file went.
        QCOMPARE(int(presenter_.messages.size()), 2);
        QVERIFY(QString::fromStdString(presenter_.messages[0].text).contains(pdfDir_ + "/plot.pdf"));
        QVERIFY(QString::fromStdString(presenter_.messages[1].text).contains(pdfDir_ + "/legend.pdf"));
        // The saved metafile opens in an independent reader.
        QProcess conv;
        const QString svg = dir_.filePath("saved.svg");
        conv.start("emf2svg-conv", {"-i", emf, "-o", svg});
        QVERIFY(conv.waitForFinished(60000));
        QCOMPARE(conv.exitCode(), 0);
        QFile f(svg);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        QVERIFY(text.contains("Predicted Interference Areas"));
        QFile::copy(emf, snapDir() + "plot_saved.emf");
    }

    void aFailedSaveIsReported() {
        PlotWindowServices s = services();
        s.saveFileName = [&](QWidget*, const std::string&, const std::string&) {
            return dir_.filePath("no/such/folder/x.emf").toStdString();
        };
        s.shown = closing([&](frmPlotScreen& w) {
            w.SavePlotPage(1);
            w.Exit();
        });
        DisplayPlots(nullptr, run_.toStdString(), "03____B2.plt", false, s);
        QCOMPARE(int(presenter_.messages.size()), 1);
        QVERIFY(!QFile::exists(dir_.filePath("no/such/folder/x.emf")));
    }

    void fileOpenReplacesTheListAndAFailedPrintIsReported() {
        PlotWindowServices s = services();
        s.getSettings = [](bool& c, DisplaySettings& d) {
            c = false;
            d = {false, true, false};
        };
        std::optional<FileChoice> choice;
        std::string askedFolder;
        s.showFiles = [&](QWidget*, const std::string& folder) {
            askedFolder = folder;
            return choice;
        };
        bool ran = false;
        s.shown = closing([&](frmPlotScreen& w) {
            ran = true;
            // Nothing chosen: nothing changes.
            w.FileOpen();
            QCOMPARE(QString::fromStdString(askedFolder), run_);
            QCOMPARE(w.controller().PlotCount(), 2);
            QVERIFY(w.controller().page(1).Built);
            // Two other plots: the old pages are discarded, the first new one shown;
            // the dB choice made at the start still holds.
            choice = FileChoice{run_.toStdString(), "|Rcvr_Loc.plx||FmVrt00.ptx|"};
            w.FileOpen();
            QCOMPARE(w.controller().PlotCount(), 2);
            QCOMPARE(w.statusPanel(2)->text(), QString("File:  Rcvr_Loc.plx"));
            QCOMPARE(w.statusPanel(4)->text(), QString("Plot 1 of 2"));
            QVERIFY(!w.controller().page(2).Built);
            QVERIFY(w.controller().decibels());
            // A print job that cannot start says so and changes nothing.
            pdf_->setOutputFileName(dir_.filePath("missing/folder/x.pdf"));
            QVERIFY(!w.PrintPlot(1));
            pdf_->setOutputFileName(pdfDir_ + "/first.pdf");
        });
        DisplayPlots(nullptr, run_.toStdString(), "07____A2.plt|FmVrt00.ptx", false, s);
        QVERIFY(ran);
        QCOMPARE(int(presenter_.messages.size()), 1);
        QVERIFY(QString::fromStdString(presenter_.messages[0].text).contains("PrintPlot"));
    }

    void choosingThePrinterPrintsEveryPlotInOneJob() {
        QDir(pdfDir_).removeRecursively();
        QDir().mkpath(pdfDir_);
        pdf_->setOutputFileName(pdfDir_ + "/first.pdf");
        PlotWindowServices s = services();
        s.getSettings = [](bool& c, DisplaySettings& d) {
            c = false;
            d.printOut = true;
        };
        int dialogs = 0;
        bool cancel = false;
        s.setUpPrinter = [&](QWidget*) {
            ++dialogs;
            return !cancel;
        };
        bool shown = false;
        s.shown = [&](frmPlotScreen&) { shown = true; };
        DisplayPlots(nullptr, run_.toStdString(), "03____B2.plt|nav@QKV.plt", false, s);
        QCOMPARE(dialogs, 1);
        QVERIFY(!shown);
        QCOMPARE(QDir(pdfDir_).entryList({"*.pdf"}, QDir::Files, QDir::Name),
                 QStringList({"first (2).pdf", "first.pdf"}));
        QCOMPARE(int(presenter_.messages.size()), 1);
        QVERIFY(QString::fromStdString(presenter_.messages[0].text).contains("2 files"));
        // Cancelled in the print dialog: nothing printed, nothing shown.
        cancel = true;
        DisplayPlots(nullptr, run_.toStdString(), "03____B2.plt|nav@QKV.plt", false, s);
        QCOMPARE(dialogs, 2);
        QVERIFY(!shown);
        QCOMPARE(QDir(pdfDir_).entryList({"*.pdf"}).size(), 2);
    }

    // While the next page is drawn, the status panels already name it.
    void statusNamesThePageBeingBuilt() {
        PlotWindowServices s = services();
        s.getSettings = [](bool& c, DisplaySettings& d) {
            c = false;
            d = {false, false, false};
        };
        QStringList seen;
        bool ran = false;
        s.shown = closing([&](frmPlotScreen& w) {
            ran = true;
            progress_.onInitialize = [&] { seen << w.statusPanel(2)->text() + " / " + w.statusPanel(4)->text(); };
            w.cmdNext_Click();
            progress_.onInitialize = nullptr;
            // Each panel holds its whole text.
            for (int n = 2; n <= 4; ++n) {
                QLabel* panel = w.statusPanel(n);
                const QFontMetricsF fm(panel->font());
                QVERIFY2(fm.horizontalAdvance(panel->text()) <= panel->contentsRect().width(),
                         qPrintable(panel->text()));
            }
        });
        DisplayPlots(nullptr, run_.toStdString(), "07____A2.plt|03____B2.plt", false, s);
        QVERIFY(ran);
        QCOMPARE(seen, QStringList({"File:  03____B2.plt / Plot 2 of 2"}));
    }

    // Pages are drawn in device pixels and shown one image pixel to a device
    // pixel. Run once more with QT_SCALE_FACTOR=1.5 (a ctest of its own), as
    // on laptops whose screens are scaled.
    void pagesAreDrawnInDevicePixels() {
        bool ran = false;
        PlotWindowServices s = services();
        s.shown = closing([&](frmPlotScreen& w) {
            ran = true;
            QWidget* view = w.pageView();
            const double ratio = view->devicePixelRatioF();
            if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
                QCOMPARE(ratio, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
            const QImage& picture = w.pictureOf(1);
            QCOMPARE(picture.width(), int(std::lround(view->width() * ratio)));
            QCOMPARE(picture.height(), int(std::lround(view->height() * ratio)));
            QVERIFY(std::fabs(picture.devicePixelRatio() - ratio) < 0.01);
            const PlotPage& page = w.controller().currentPage();
            QCOMPARE(page.surface.widthPx, picture.width());
            snap(&w, ratio > 1 ? "plot_device_pixels_scaled" : "plot_device_pixels");
        });
        DisplayPlots(nullptr, run_.toStdString(), "07____A2.plt", false, s);
        QVERIFY(ran);
        QVERIFY(presenter_.messages.empty());
    }

    // Paging through a long list keeps only the recent pages' pictures.
    void pagingThroughManyPagesKeepsFewPictures() {
        QStringList names;
        for (int i = 0; i < PlotWindowController::kKeptPages + 6; ++i) names << "03____B2.plt";
        PlotWindowServices s = services();
        s.getSettings = [](bool& c, DisplaySettings& d) {
            c = false;
            d = {false, false, false};
        };
        bool ran = false;
        s.shown = closing([&](frmPlotScreen& w) {
            ran = true;
            std::size_t most = 0;
            while (w.controller().nextEnabled()) {
                w.cmdNext_Click();
                w.pictureOf(w.controller().CurrentPlot());  // as painting the page does
                most = std::max(most, w.keptPictures());
            }
            QVERIFY(most <= std::size_t(PlotWindowController::kKeptPages));
            QCOMPARE(w.controller().CurrentPlot(), names.size());
            QVERIFY(w.controller().currentPage().Built);
            // A page given up is drawn again when it is shown again.
            while (w.controller().previousEnabled()) w.cmdPrev_Click();
            QVERIFY(w.controller().currentPage().Built);
            QCOMPARE(w.statusPanel(4)->text(), QString("Plot 1 of %1").arg(names.size()));
        });
        DisplayPlots(nullptr, run_.toStdString(), names.join('|').toStdString(), false, s);
        QVERIFY(ran);
        QVERIFY(presenter_.messages.empty());
    }

    // The window's own progress window: one line each for the plot, the file
    // and the folder, the folder shortened to the message's width.
    void progressLinesFitTheirLabel() {
        const QString deep = dir_.filePath(
            "results of the second assessment run/navaid QKV and its proponents/"
            "runway 27 localizer/");
        QVERIFY(QDir().mkpath(deep));
        QVERIFY(QFile::copy(run_ + "07____A2.plt", deep + "07____A2.plt"));
        PlotWindowServices s = services();
        s.progress = nullptr;
        QString text;
        int labelWidth = 0;
        QFont labelFont;
        bool ran = false;
        s.shown = closing([&](frmPlotScreen& w) {
            ran = true;
            auto* label = w.findChild<QLabel*>("lblMessage1");
            QVERIFY(label);
            // Break opportunities after "/" are invisible; compare what shows.
            text = label->text().remove(QChar(0x200B));
            labelWidth = label->contentsRect().width();
            labelFont = label->font();
        });
        DisplayPlots(nullptr, deep.toStdString(), "07____A2.plt", false, s);
        QVERIFY(ran);
        const QStringList lines = text.split('\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QString("Processing:  Plot 1 of 1"));
        QCOMPARE(lines[1], QString("File:  07____A2.plt"));
        QVERIFY2(lines[2].startsWith("Folder:  ") && lines[2].endsWith("/runway 27 localizer"), qPrintable(lines[2]));
        QVERIFY2(lines[2].size() < QString("Folder:  " + deep).size(), qPrintable(lines[2]));
        const QFontMetricsF fm(labelFont);
        for (const QString& l : lines) QVERIFY2(fm.horizontalAdvance(l) <= labelWidth, qPrintable(l));
    }

    // The window opens over the window that opened it, wholly on the screen:
    // pulled in from the screen's edge, the opener moved along so that it
    // stays centred under it.
    void opensOverItsOpenerAndOnTheScreen() {
        QWidget opener;
        const QRect work = opener.screen()->availableGeometry();
        struct Case {
            const char* what;
            QPoint at;
        } cases[] = {
            {"opener at the bottom right", work.bottomRight() - QPoint(320, 220)},
            {"opener at the top left", work.topLeft() + QPoint(10, 10)},
        };
        for (const Case& c : cases) {
            opener.setGeometry(QRect(c.at, QSize(300, 200)));
            opener.show();
            QVERIFY(QTest::qWaitForWindowExposed(&opener));
            QRect plot, openerWhileShown;
            PlotWindowServices s = services();
            s.shown = closing([&](frmPlotScreen& w) {
                plot = w.frameGeometry();
                openerWhileShown = opener.frameGeometry();
                snap(&w, "plot_window_placed");
            });
            DisplayPlots(&opener, run_.toStdString(), "07____A2.plt", false, s);
            QVERIFY2(!plot.isNull(), c.what);
            QVERIFY2(work.contains(plot), c.what);
            QVERIFY2((plot.center() - openerWhileShown.center()).manhattanLength() <= 2, c.what);
            QVERIFY2(opener.isVisible(), c.what);
        }
    }

    void cancelledOptionsShowNothing() {
        PlotWindowServices s = services();
        s.getSettings = [](bool& c, DisplaySettings&) { c = true; };
        bool ran = false;
        s.shown = [&](frmPlotScreen&) { ran = true; };
        DisplayPlots(nullptr, run_.toStdString(), "07____A2.plt|03____B2.plt", false, s);
        QVERIFY(!ran);
        QVERIFY(progress_.messages.empty());
    }
};

QTEST_MAIN(PlotWindowTest)
#include "plot_window_test.moc"
