#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include "crv/common/ui/qt/frm_progress.h"
#include "crv/testing/qt/snapshot.h"

using crv::common::ui::frmProgress;

namespace {
Qt::CursorShape cursorShape() {
    const QCursor* c = QGuiApplication::overrideCursor();
    return c ? c->shape() : Qt::ArrowCursor;
}
}  // namespace

class ProgressTest : public QObject {
    Q_OBJECT
private slots:
    void clampsTheBar() {
        frmProgress p;
        p.setPause([](std::chrono::milliseconds) {});
        p.Initialize("Searching the databases ...");
        QCOMPARE(p.windowTitle(), QString("Please Wait"));
        QCOMPARE(p.barMaximum(), 100);  // as loaded
        p.Value(150);
        QCOMPARE(p.barValue(), 100);
        p.MaxValue(-5);
        QCOMPARE(p.barMaximum(), 0);
        p.MaxValue(10);
        struct {
            int in, out;
        } cases[] = {{-1, 0}, {0, 0}, {7, 7}, {10, 10}, {11, 10}};
        for (auto c : cases) {
            p.Value(c.in);
            QCOMPARE(p.barValue(), c.out);
        }
        p.Value(4);
        crv::testing::saveSnapshot(&p, "common/frmProgress");
        p.Remove();
        p.Initialize("Again");
        QCOMPARE(p.barMaximum(), 100);
        QCOMPARE(p.barValue(), 0);
        p.Remove();
    }

    void modalWhileRunning() {
        QWidget main;
        main.show();
        frmProgress p(&main);
        QVERIFY(!frmProgress::inUse());
        p.Initialize("Working");
        QVERIFY(p.isVisible());
        QCOMPARE(QApplication::activeModalWidget(), static_cast<QWidget*>(&p));
        QVERIFY(frmProgress::inUse());
        p.Remove();
        QVERIFY(!p.isVisible());
        QVERIFY(!frmProgress::inUse());
    }

    void cancelSurvivesTheClose() {
        frmProgress p;
        p.setPause([](std::chrono::milliseconds) {});
        p.Initialize("Working");
        QVERIFY(!p.Canceled());
        p.cancelButton()->click();
        QVERIFY(p.Canceled());
        QVERIFY(!p.isVisible());  // closed at once
        p.Value(50);              // the operation's next steps show nothing
        QVERIFY(!p.isVisible());
        QVERIFY(p.Canceled());
        p.Remove();
        QVERIFY(p.Canceled());
        QVERIFY(!p.isVisible());
        QVERIFY(!QGuiApplication::overrideCursor());
        p.Initialize("Again");
        QVERIFY(!p.Canceled());
        // Escape and the window frame are Cancel too.
        QTest::keyClick(&p, Qt::Key_Escape);
        QVERIFY(p.Canceled());
        p.Initialize("Once more");
        p.close();
        QVERIFY(p.Canceled());
        QVERIFY(!p.isVisible());
        p.Remove();
    }

    void finalMessagePausesThroughTheSeam() {
        frmProgress p;
        std::vector<std::chrono::milliseconds> pauses;
        bool shownDuringPause = false;
        p.setPause([&](std::chrono::milliseconds ms) {
            pauses.push_back(ms);
            shownDuringPause = p.resultLabel()->isVisible();
        });
        p.Initialize("Generating the receiver grid ...");
        p.MaxValue(100);
        p.Value(100);
        p.FinalMsg("12345 grid points generated.");
        QCOMPARE(pauses.size(), std::size_t(1));
        QCOMPARE(pauses[0].count(), 1500);
        QVERIFY(shownDuringPause);
        QCOMPARE(p.resultLabel()->text(), QString("12345 grid points generated."));
        QVERIFY(!p.cancelButton()->isEnabled());
        crv::testing::saveSnapshot(&p, "common/frmProgress_final");
        p.Remove();
        p.Initialize("Next");
        QVERIFY(!p.resultLabel()->isVisible());
        QVERIFY(p.cancelButton()->isEnabled());
        p.Remove();
    }

    void inputDuringTheResultPauseIsDropped() {
        // The greyed Cancel clicked (and Escape pressed) while a result shows:
        // nothing is kept for the next step, which runs to its end.
        frmProgress p;
        p.setPause([&](std::chrono::milliseconds) {
            QTest::mouseClick(p.cancelButton(), Qt::LeftButton);
            QTest::keyClick(&p, Qt::Key_Escape);
            QTest::mouseClick(p.cancelButton(), Qt::LeftButton);
        });
        p.Initialize("Generating the receiver grid ...");
        QVERIFY(QTest::qWaitForWindowExposed(&p));
        p.FinalMsg("100001 grid points generated.");
        QVERIFY(!p.Canceled());
        QVERIFY(p.isVisible());
        p.Initialize("Evaluating A2/B2 interference ...");
        for (int v = 0; v <= 100; v += 25) p.Value(v);
        QCoreApplication::processEvents();
        QVERIFY(!p.Canceled());
        QVERIFY(p.cancelButton()->isEnabled());
        // Cancel works again once the step runs.
        QTest::mouseClick(p.cancelButton(), Qt::LeftButton);
        QVERIFY(p.Canceled());
        p.Remove();
    }

    void aClickOnTheEnabledCancelCountsWhenTheStepEndsFirst() {
        // The step ends before the program gets to the user's click on the
        // enabled Cancel: the click was queued, or only its press came while
        // the step ran and its release comes after. Either way it cancels:
        // no result pause, the window gone, Canceled true for the operation.
        auto post = [](QWidget* w, QEvent::Type type) {
            const QPointF at = QRectF(w->rect()).center();
            QCoreApplication::postEvent(
                w, new QMouseEvent(type, at, w->mapToGlobal(at), Qt::LeftButton,
                                   type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier));
        };
        struct Case {
            const char* what;
            bool pressDuringStep;  // the press handled by the step's last callback
        };
        for (const Case c : {Case{"click queued", false}, Case{"release after the step", true}}) {
            frmProgress p;
            int pauses = 0;
            p.setPause([&](std::chrono::milliseconds) { ++pauses; });
            p.Initialize("Checking for A2 and/or B2 interference...");
            QVERIFY(QTest::qWaitForWindowExposed(&p));
            post(p.cancelButton(), QEvent::MouseButtonPress);
            if (c.pressDuringStep) {
                p.Value(100);  // the last callback sees the press only
                QVERIFY2(p.cancelButton()->isDown(), c.what);
                QTimer::singleShot(50, p.cancelButton(), [&] { post(p.cancelButton(), QEvent::MouseButtonRelease); });
            } else {
                post(p.cancelButton(), QEvent::MouseButtonRelease);
            }
            p.FinalMsg("One case of A2/B2 interference found.");
            QVERIFY2(p.Canceled(), c.what);
            QCOMPARE(pauses, 0);
            QVERIFY2(!p.isVisible(), c.what);
            p.Remove();
        }
    }

    void aPressDraggedOffTheCancelShowsTheResult() {
        // Pressed on the enabled Cancel and dragged off it before the step
        // ends: no click comes, so the wait for the release ends there and
        // the result shows as after any step.
        frmProgress p;
        int pauses = 0;
        p.setPause([&](std::chrono::milliseconds) { ++pauses; });
        p.Initialize("Checking for A2 and/or B2 interference...");
        QVERIFY(QTest::qWaitForWindowExposed(&p));
        QPushButton* cancel = p.cancelButton();
        const QPointF on = QRectF(cancel->rect()).center();
        const QPointF off = on + QPointF(0, 3 * cancel->height());
        QCoreApplication::postEvent(cancel, new QMouseEvent(QEvent::MouseButtonPress, on, cancel->mapToGlobal(on),
                                                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        p.Value(100);
        QVERIFY(cancel->isDown());
        QTimer::singleShot(50, cancel, [&] {
            QCoreApplication::postEvent(cancel, new QMouseEvent(QEvent::MouseMove, off, cancel->mapToGlobal(off),
                                                                Qt::NoButton, Qt::LeftButton, Qt::NoModifier));
        });
        p.FinalMsg("No A2/B2 interference found.");
        QVERIFY(!p.Canceled());
        QCOMPARE(pauses, 1);
        QVERIFY(p.resultLabel()->isVisible());
        QVERIFY(!cancel->isEnabled());
        p.Remove();
    }

    void theShownResultPausesWithTheWindowLive() {
        // The pause as the program makes it: timers and repaints go on, and
        // it lasts its full time.
        frmProgress p;
        p.Initialize("Generating the receiver grid ...");
        QVERIFY(QTest::qWaitForWindowExposed(&p));
        bool timerRan = false;
        QTimer::singleShot(0, &p, [&] { timerRan = true; });
        QElapsedTimer clock;
        clock.start();
        p.FinalMsg("12345 grid points generated.");
        QVERIFY(clock.elapsed() >= 1500);
        QVERIFY(timerRan);
        QVERIFY(p.isVisible());
        QVERIFY(!p.Canceled());
        p.Remove();
    }

    void textsBreakAtCarriageReturnsAndFit() {
        frmProgress p;
        p.setPause([](std::chrono::milliseconds) {});
        const std::string name =
            "/home/engineer/Corvane/Data/Projects 2026/Regional airport studies/Big Copy \xC3\xA4 of the long case.dat";
        p.Initialize("Running simulation for " + name + ":\r\rEvaluating B1 two-signal intermodulation ...");
        p.FinalMsg("12 cases of 2-signal B1 interference found.\r37 combinations checked.");
        QVERIFY(QTest::qWaitForWindowExposed(&p));
        auto* step = p.findChild<QLabel*>("lblMessage1");
        auto* result = p.resultLabel();
        QString shown = step->text();
        shown.remove(QChar(0x200B));  // break chances after each "/"
        QCOMPARE(shown, QString::fromUtf8("Running simulation for " + QByteArray::fromStdString(name) +
                                          ":\n\nEvaluating B1 two-signal intermodulation ..."));
        QCOMPARE(result->text(), QString("12 cases of 2-signal B1 interference found.\n37 combinations checked."));
        // Each label has the height its wrapped text needs, and they do not overlap.
        QTRY_VERIFY(step->height() >= step->heightForWidth(step->width()));
        QVERIFY(result->height() >= result->heightForWidth(result->width()));
        QVERIFY(step->geometry().bottom() < result->geometry().top());
        QVERIFY(p.width() <= p.screen()->availableGeometry().width());
        crv::testing::saveSnapshot(&p, "common/frmProgress_long_texts");
        p.Remove();
    }

    void busyCursorSetAndClearedOnce() {
        QGuiApplication::setOverrideCursor(Qt::CrossCursor);  // someone else's
        {
            frmProgress p;
            p.Initialize("One");
            p.Initialize("Two");
            QCOMPARE(cursorShape(), Qt::BusyCursor);
            p.Remove();
            QCOMPARE(cursorShape(), Qt::CrossCursor);
            p.Remove();  // after Cancel or twice: nothing more to restore
            QCOMPARE(cursorShape(), Qt::CrossCursor);
            p.Initialize("Three");  // dropped without Remove
        }
        QCOMPARE(cursorShape(), Qt::CrossCursor);
        QVERIFY(!frmProgress::inUse());
        QGuiApplication::restoreOverrideCursor();
        QVERIFY(!QGuiApplication::overrideCursor());
    }
};

QTEST_MAIN(ProgressTest)
#include "progress_test.moc"
