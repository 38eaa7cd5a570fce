// The report viewer on the screen it is shown on: after a run of the sample
// case, File > Display Results... opens the report, and the whole window,
// frame and menu bar included, lies inside the screen's available area.
// One test per screen size (CRV_JOURNEY_SCREEN).
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>

#include <filesystem>

#include "crv/common/ui/qt/frm_file_sel.h"
#include "journey_harness.h"

using crv::journeys::chooseInBrowser;
using crv::journeys::Journey;
using crv::journeys::saveScreen;
using crv::journeys::triggerMenu;

class ReportSizeJourney : public QObject {
    Q_OBJECT
private slots:
    void theReportViewerFitsTheScreen() {
        const QByteArray asked = qgetenv("CRV_JOURNEY_SCREEN");
        const QSize screen = QGuiApplication::primaryScreen()->size();
        const QString size = QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height());
        if (!asked.isEmpty() && QString::fromLatin1(asked) != size)
            QSKIP(qPrintable(QStringLiteral("the screen is %1, not %2").arg(size, QString::fromLatin1(asked))));
        Journey j(crv::resources::Edition::Scientific);
        const std::string output = j.workspace() + "Output/";
        QRect frame, available;
        const int status = j.run([&] {
            j.whenShown(QStringLiteral("frmFileSel"), [&](QWidget* browser) {
                QVERIFY(chooseInBrowser(browser, j.workspace() + "Data/", QStringLiteral("SampleILS.dat")));
            });
            QVERIFY(triggerMenu(j.mainWindow(), {"Simulation", "Run Simulation"}));
            QVERIFY(std::filesystem::exists(output + "Rfi.txt"));

            j.whenShown(QStringLiteral("frmFileSel"), [&](QWidget* browser) {
                QVERIFY(chooseInBrowser(browser, output, QStringLiteral("Rfi.txt")));
            });
            j.whenShown(QStringLiteral("frmReport"), [&](QWidget* report) {
                QVERIFY(QTest::qWaitForWindowExposed(report));
                frame = report->frameGeometry();
                available = report->screen()->availableGeometry();
                saveScreen(QStringLiteral("report_viewer_") + size);
                QVERIFY(triggerMenu(report, {"File", "Exit"}));
            });
            j.whenShown(QStringLiteral("frmFileSel"), [&](QWidget* browser) {
                QTest::mouseClick(static_cast<crv::common::ui::frmFileSel*>(browser)->cancelButton(), Qt::LeftButton);
            });
            QVERIFY(triggerMenu(j.mainWindow(), {"File", "Display Results"}));
            QCOMPARE(j.pendingSteps(), 0);
            j.mainWindow()->close();
        });
        QCOMPARE(status, 0);
        QVERIFY2(available.contains(frame), qPrintable(QStringLiteral("frame %1,%2 %3x%4 on %5,%6 %7x%8")
                                                           .arg(frame.x())
                                                           .arg(frame.y())
                                                           .arg(frame.width())
                                                           .arg(frame.height())
                                                           .arg(available.x())
                                                           .arg(available.y())
                                                           .arg(available.width())
                                                           .arg(available.height())));
        // The page still uses most of the screen's height.
        QVERIFY(frame.height() > available.height() * 3 / 4);
    }
};

CRV_JOURNEY_MAIN(ReportSizeJourney)
#include "report_size_journey.moc"
