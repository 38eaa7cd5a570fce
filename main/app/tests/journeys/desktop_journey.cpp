// The programs on a desktop, as a person uses them: Page Down through a long
// list of plots and the plot window's keys after Legend > Show, every window
// inside the screen with its frame, and a click on Cancel during each step of
// a run of the largest case, after which no later step runs. On an X server
// the keys and clicks go through it (and through the window manager when
// there is one); see journey_harness.h.
#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>

#include <filesystem>
#include <functional>
#include <set>

#include "crv/common/ui/qt/frm_file_sel.h"
#include "crv/common/ui/qt/frm_progress.h"
#include "journey_harness.h"

using crv::journeys::clickAsAUser;
using crv::journeys::frameInsideWorkArea;
using crv::journeys::Journey;
using crv::journeys::pressKeys;
using crv::journeys::saveScreen;
using crv::journeys::triggerMenu;
using crv::resources::Edition;
namespace fs = std::filesystem;

namespace {

// The plot window's "Plot n of m" panel.
QString plotPanel(QWidget* plot) {
    for (auto* l : plot->findChildren<QLabel*>())
        if (l->text().startsWith(QLatin1String("Plot "))) return l->text();
    return {};
}

// Page n is shown and built: no progress window any more, the buttons back.
bool pageShown(QWidget* plot, int n) {
    if (plotPanel(plot) != QStringLiteral("Plot %1 of 24").arg(n) || QApplication::activeModalWidget() ||
        !plot->isActiveWindow())
        return false;
    for (auto* b : plot->findChildren<QPushButton*>())
        if (b->text() == QLatin1String("Exit")) return b->isEnabled();
    return false;
}

// Every visible window whose frame leaves its screen's work area.
QStringList windowsPastTheEdge() {
    QStringList out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog) &&
            !frameInsideWorkArea(w))
            out << w->objectName();
    return out;
}

}  // namespace

class DesktopJourney : public QObject {
    Q_OBJECT
private slots:
    // File > Display Results on 24 plots: Page Down 20 times, each page
    // waited for; Alt+F opens the File menu and Escape closes it; Legend >
    // Show by its keys, then Page Down still pages; the window lies inside
    // the screen with its frame; Ctrl+Q leaves the plots and Escape closes the
    // browser that comes back.
    void pageDownThroughThePlots() {
        // What is tried here is how the keyboard reaches the window through
        // the window system: the offscreen platform routes keys by itself.
        if (!crv::journeys::onXServer()) QSKIP("needs an X server and xdotool (run on xvfb)");
        Journey j(Edition::Field);
        // 24 copies of the sample's result plots in a folder of their own.
        const std::string folder = j.workspace() + "Output/Many/";
        fs::create_directories(folder);
        {
            const std::string run = j.workspace() + "Output/Sample/";
            fs::create_directories(run);
            fs::copy_file(j.workspace() + "Data/SampleILS.dat", run + "Rfi.plt");
            QProcess engine;
            engine.start(QStringLiteral(CRV_BIN_DIR "crv50"),
                         {QStringLiteral("--quiet"), QStringLiteral("run"), QString::fromStdString(run)});
            QVERIFY(engine.waitForFinished(120000));
            std::vector<fs::path> plots;
            for (const auto& e : fs::directory_iterator(run))
                if (e.path().extension() == ".plt" && e.path().filename() != "Rfi.plt") plots.push_back(e.path());
            QVERIFY(!plots.empty());
            for (int i = 0; i < 24; ++i)
                fs::copy_file(plots[std::size_t(i) % plots.size()],
                              folder + "P" + std::to_string(10 + i) + "_" +
                                  plots[std::size_t(i) % plots.size()].filename().string());
        }
        QStringList pages, outside;
        bool fileMenuOpened = false, legendShown = false;
        std::function<void(QWidget*)> walkThePlots;
        const int status = j.run([&] {
            j.whenShown(QStringLiteral("frmFileSel"), [&](QWidget* w) {
                auto* browser = qobject_cast<crv::common::ui::frmFileSel*>(w);
                QVERIFY(browser);
                browser->selectFolder(QString::fromStdString(folder));
                browser->fileTypes()->setCurrentIndex(1);  // simulation plots
                QTRY_COMPARE(browser->fileList()->model()->rowCount(), 24);
                clickAsAUser(browser->fileList()->viewport(),
                             browser->fileList()->visualRect(browser->fileList()->model()->index(0, 0)).center());
                pressKeys(QStringLiteral("ctrl+a"));
                QTRY_COMPARE(browser->fileList()->selectionModel()->selectedRows().size(), 24);
                clickAsAUser(browser->okButton());
            });
            // Leaving the plots brings the browser back for another choice;
            // Escape closes it.
            j.whenShown(QStringLiteral("frmFileSel"), [&](QWidget* w) {
                pressKeys(QStringLiteral("Escape"));
                QTRY_VERIFY(!w->isVisible());
            });
            j.whenShown(QStringLiteral("DisplayOptionsDialog"), [&](QWidget* d) {
                pressKeys(QStringLiteral("Return"));
                QTRY_VERIFY(!d->isVisible());
            });
            // The window shows its first page after this step has returned;
            // the walk through it starts once that page is there.
            j.whenShown(QStringLiteral("frmPlotScreen"), [&](QWidget* plot) {
                auto* ready = new QTimer(plot);
                QObject::connect(ready, &QTimer::timeout, plot, [&, plot, ready] {
                    if (!pageShown(plot, 1)) return;
                    ready->stop();
                    walkThePlots(plot);
                });
                ready->start(20);
            });
            walkThePlots = [&](QWidget* plot) {
                // The keyboard reaches the window the user works in.
                QTRY_VERIFY(plot->isActiveWindow());
                QTRY_VERIFY(frameInsideWorkArea(plot));
                for (int n = 2; n <= 21; ++n) {
                    pressKeys(QStringLiteral("Next"));
                    const QString expected = QStringLiteral("Plot %1 of 24").arg(n);
                    QTRY_VERIFY_WITH_TIMEOUT(pageShown(plot, n), 10000);
                    QCOMPARE(plotPanel(plot), expected);
                    pages << plotPanel(plot);
                }
                pressKeys(QStringLiteral("alt+f"));
                fileMenuOpened =
                    QTest::qWaitFor([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }, 5000);
                pressKeys(QStringLiteral("Escape"));
                QTRY_VERIFY(!QApplication::activePopupWidget());
                pressKeys(QStringLiteral("alt+l"));
                QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()));
                pressKeys(QStringLiteral("s"));
                auto* legend = plot->findChild<QWidget*>(QStringLiteral("picLegend"));
                QVERIFY(legend);
                legendShown = QTest::qWaitFor([legend] { return legend->isVisible(); }, 10000);
                saveScreen(QStringLiteral("desktop_plot_legend"));
                for (int n = 22; n <= 24; ++n) {
                    pressKeys(QStringLiteral("Next"));
                    QTRY_VERIFY_WITH_TIMEOUT(pageShown(plot, n), 10000);
                    pages << plotPanel(plot);
                }
                outside = windowsPastTheEdge();
                saveScreen(QStringLiteral("desktop_plot_last_page"));
                pressKeys(QStringLiteral("ctrl+q"));
            };
            QVERIFY(triggerMenu(j.mainWindow(), {"File", "Display Results"}));
            QTRY_COMPARE(j.pendingSteps(), 0);
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) d->reject();
            QTRY_VERIFY(j.mainWindow()->isVisible());
            QVERIFY(frameInsideWorkArea(j.mainWindow()));
            j.mainWindow()->close();
        });
        QCOMPARE(status, 0);
        QCOMPARE(pages.size(), 23);
        QVERIFY(fileMenuOpened);
        QVERIFY(legendShown);
        QVERIFY2(outside.isEmpty(), qPrintable(outside.join(QLatin1Char(','))));
    }

    // Simulation > Run on the largest case, once per step, with a click on
    // the enabled Cancel while that step runs: the run stops there, no later
    // step starts, and the progress window is gone.
    void cancelDuringEachStepOfTheLargestCase() {
        const QStringList stepTexts = {QStringLiteral("Generating grid of receiver positions..."),
                                       QStringLiteral("Checking for A2 and/or B2 interference..."),
                                       QStringLiteral("Checking for two-signal B1 interference..."),
                                       QStringLiteral("Checking for three-signal B1 interference...")};
        for (int stop = 0; stop < stepTexts.size(); ++stop) {
            Journey j(Edition::Scientific);
            const std::string data = j.workspace() + "Data/";
            QProcess make;
            make.start(
                QStringLiteral(CRV_BIN_DIR "crv_bench"),
                {QStringLiteral("make"), QString::fromStdString(j.folder() + "largest"), QStringLiteral("largest")});
            QVERIFY(make.waitForFinished(120000));
            fs::copy_file(j.folder() + "largest/Rfi.plt", data + "Largest.dat");
            QStringList seen;
            bool clicked = false;
            const int status = j.run([&] {
                j.whenShown(QStringLiteral("frmFileSel"), [&](QWidget* w) {
                    QVERIFY(crv::journeys::chooseInBrowser(w, data, QStringLiteral("Largest.dat")));
                });
                j.whenShown(QStringLiteral("frmProgress"), [&](QWidget* progress) {
                    // Watches the step texts; once the chosen step runs with
                    // its Cancel enabled, Cancel is clicked.
                    auto* poll = new QTimer(progress);
                    QObject::connect(poll, &QTimer::timeout, progress, [&, progress, poll] {
                        auto* step = progress->findChild<QLabel*>(QStringLiteral("lblMessage1"));
                        auto* cancel = progress->findChild<QPushButton*>(QStringLiteral("cmdCancel"));
                        if (!step || !cancel || !progress->isVisible()) return;
                        for (const QString& t : stepTexts)
                            if (step->text().remove(QChar(0x200B)).endsWith(t) && !seen.contains(t)) seen << t;
                        if (!clicked && seen.size() == stop + 1 && cancel->isEnabled()) {
                            clicked = true;
                            poll->stop();
                            clickAsAUser(cancel);
                        }
                    });
                    poll->start(5);
                });
                QVERIFY(triggerMenu(j.mainWindow(), {"Simulation", "Run Simulation"}));
                QTRY_COMPARE_WITH_TIMEOUT(j.pendingSteps(), 0, 60000);
                QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activeModalWidget() ||
                                             QApplication::activeModalWidget()->objectName() != "frmProgress",
                                         60000);
                // The run is over (the results menu or the main window again).
                QTRY_VERIFY_WITH_TIMEOUT(
                    qobject_cast<QMenu*>(QApplication::activePopupWidget()) ||
                        (j.mainWindow()->isActiveWindow() && !crv::common::ui::frmProgress::inUse()),
                    60000);
                saveScreen(QStringLiteral("desktop_cancel_step_%1").arg(stop + 1));
                if (QWidget* menu = QApplication::activePopupWidget()) menu->close();
                j.mainWindow()->close();
            });
            QCOMPARE(status, 0);
            QVERIFY(clicked);
            // The step clicked was the last one started.
            QCOMPARE(seen, stepTexts.mid(0, stop + 1));
        }
    }
};

CRV_JOURNEY_MAIN(DesktopJourney)
#include "desktop_journey.moc"
