// Simulation > Run through the run controller on a scripted engine: the menus
// that would start another engine call are disabled while one runs, and
// closing the main window during the call cancels it and closes afterwards.
#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>

#include "crv/binding/fake_engine.h"
#include "crv/common/ui/qt/frm_progress.h"
#include "crv/common/ui/qt/message_presenter.h"
#include "crv/main/app/qt/program.h"
#include "crv/main/app/qt/run_wiring.h"
#include "crv/main/run/run_controller.h"
#include "crv/testing/qt/recording_presenter.h"

using namespace crv::main;
using namespace crv::main::qt;
using crv::resources::Edition;
using crv::testing::RecordingPresenter;

class RunFakeEngine : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    RecordingPresenter presenter;

private slots:
    void initTestCase() {
        qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit() + "/data");
        QDir().mkpath(dir.path() + QStringLiteral("/tmp"));
        qputenv("TMPDIR", dir.path().toLocal8Bit() + "/tmp");
        crv::common::ui::setAppPresenter(&presenter);
    }

    void closingDuringAnEngineCallCancelsIt() {
        const std::string root = dir.path().toStdString() + "/";
        const std::string settings = root + "settings.ini";
        std::ofstream(settings) << "";
        Program program(Edition::Field, presenter, settings);
        crv::binding::FakeEngine engine;
        RunWiring wiring(program, engine);
        wiring.progress().setPause([](std::chrono::milliseconds) {});
        program.start();
        auto& w = program.window();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (const char* name : {"a.dat", "b.dat"})
            std::ofstream(program.state.DataFolder + name) << "CRV Version 5.0.6\r\n";
        program.entries.ShowFiles = [&](int, bool) {
            return FileSelection{program.state.DataFolder, "a.dat|b.dat", 2};
        };

        bool closedDuringCall = true;
        engine.onGrid = [&](const std::string&, const crv::binding::Progress& progress, std::int16_t& status,
                            std::int16_t&, std::int32_t& points) {
            QVERIFY(engine.busy());
            for (const char* name : {"mnuFileNew", "mnuFileOpen", "mnuNavManual", "mnuSimRun", "mnuSimAuto"})
                QVERIFY2(!w.action(QString::fromLatin1(name))->isEnabled(), name);
            // A second run asked for now starts nothing.
            w.action(QStringLiteral("mnuSimAuto"))->trigger();
            closedDuringCall = w.close();
            status = progress(50) ? 1 : 0;  // the engine sees the cancel at its next progress point
            points = 10;
        };
        w.action(QStringLiteral("mnuSimRun"))->trigger();
        QVERIFY(!closedDuringCall);  // the window stayed while the engine ran
        QCOMPARE(QString::fromStdString(engine.callNames()), QStringLiteral("Grid"));  // cancelled, b.dat not run
        QTRY_VERIFY(!w.isVisible());
        QVERIFY(!wiring.controller().busy());
    }
};

QTEST_MAIN(RunFakeEngine)
#include "run_fake_engine_test.moc"
