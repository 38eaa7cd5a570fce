#include <QPushButton>
#include <QtTest>

#include "crv/common/ui/frm_progress.h"
#include "crv/common/ui/snapshot.h"

using crv::common::ui::frmProgress;

class ProgressTest : public QObject {
    Q_OBJECT
private slots:
    void clampsTheBar() {
        frmProgress p;
        p.setPause([](std::chrono::milliseconds) {});
        p.Initialize("Searching the databases ...");
        p.MaxValue(-5);
        QCOMPARE(p.barMaximum(), 0);
        p.MaxValue(10);
        struct { int in, out; } cases[] = {{-1, 0}, {0, 0}, {7, 7}, {10, 10}, {11, 10}};
        for (auto c : cases) {
            p.Value(c.in);
            QCOMPARE(p.barValue(), c.out);
        }
        p.Value(4);
        crv::common::ui::saveSnapshot(&p, "common/frmProgress");
        p.Remove();
    }
    void cancelSurvivesTheClose() {
        frmProgress p;
        std::chrono::milliseconds paused{0};
        p.setPause([&](std::chrono::milliseconds ms) { paused = ms; });
        p.Initialize("Working");
        QVERIFY(!p.Canceled());
        p.cancelButton()->click();
        QVERIFY(p.Canceled());
        p.FinalMsg("Done");
        QCOMPARE(paused.count(), 1500);
        QVERIFY(!p.cancelButton()->isEnabled());
        crv::common::ui::saveSnapshot(&p, "common/frmProgress_final");
        p.Remove();
        QVERIFY(p.Canceled());
        QVERIFY(!p.isVisible());
        p.Initialize("Again");
        QVERIFY(!p.Canceled());
        p.Remove();
    }
};

QTEST_MAIN(ProgressTest)
#include "progress_test.moc"
