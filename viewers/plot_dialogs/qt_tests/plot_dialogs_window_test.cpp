// The two plot dialogs driven through their widgets; pictures of their main
// states go to build/snapshots/plot_dialogs/.
#include "crv/common/configuration.h"
#include "crv/common/ui/qt/help.h"
#include "crv/viewers/plot_dialogs/qt/plot_dialogs.h"

#include <QApplication>
#include <QPushButton>
#include <memory>
#include <vector>

#include <QDir>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMimeData>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace crv::common;
using namespace crv::viewers;

namespace {
AppState state(const char* edition) {
    AppState s;
    s.DefIntLevelMin = s.IntLevelMin = 3;
    s.DefIntLevelIncr = s.IntLevelIncr = 3;
    s.DefNavLevelMin = s.NavLevelMin = -99;
    s.DefNavLevelIncr = s.NavLevelIncr = 6;
    s.DefPlotColors = s.PlotColors = kFactoryPlotColors;
    s.ModelType = edition;
    return s;
}
bool snap(QWidget& w, const char* name) {
    const QString dir = QString(CRV_SNAPSHOT_DIR) + "plot_dialogs/";
    QDir().mkpath(dir);
    w.adjustSize();
    return w.grab().save(dir + name + ".png");
}
}  // namespace

class PlotDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void parametersEditAndSave() {
        QTemporaryDir dir;
        crv::platform::SettingsStore store(dir.filePath("settings.ini").toStdString());
        bool inside = false;
        AppState s = state("SCI");
        const bool changed = ModifyParameters(s, store, nullptr, [&](PlotParametersDialog& d) -> int {
            inside = snap(d, "plot_parameters");
            d.spin(Band::Interference, BandValue::Minimum)->setValue(6);
            inside = inside && d.label(Band::Interference, 0)->text() == "int <= 6" &&
                     d.label(Band::Interference, 13)->text() == "int >  42";
            d.swatch(0)->setFocus();
            QTest::keyClick(d.swatch(0), Qt::Key_Return);
            QTest::keyClick(d.swatch(0), Qt::Key_Down);
            inside = inside && snap(d, "plot_parameters_move_mode");
            return int(QDialog::Accepted);
        });
        QVERIFY(inside);
        QVERIFY(changed);
        QCOMPARE(int(s.IntLevelMin), 6);
        QCOMPARE(s.PlotColors[1], kFactoryPlotColors[0]);
        QCOMPARE(QString::fromStdString(store.get("Plot Parameters", "Int Level Min", "")), QString("6"));
    }

    void parametersCancelAndFieldEdition() {
        QTemporaryDir dir;
        crv::platform::SettingsStore store(dir.filePath("settings.ini").toStdString());
        bool inside = false;
        AppState s = state("FLD");
        const bool changed = ModifyParameters(s, store, nullptr, [&](PlotParametersDialog& d) -> int {
            d.show();
            inside = !d.navaidFrame()->isVisible() && snap(d, "plot_parameters_field_edition");
            d.spin(Band::Interference, BandValue::Increment)->setValue(5);
            return int(QDialog::Rejected);
        });
        QVERIFY(inside);
        QVERIFY(!changed);
        QCOMPARE(int(s.IntLevelIncr), 3);
        QVERIFY(!QFile::exists(dir.filePath("settings.ini")));
    }

    void droppingASwatchExchangesColours() {
        AppState s = state("SCI");
        PlotParametersDialog d(s);
        d.dropSwatchOnto(2, 7);
        QCOMPARE(d.controller().colour(7), kFactoryPlotColors[2]);
        QCOMPARE(d.controller().colour(2), kFactoryPlotColors[7]);
        d.dropSwatchOnto(2, 2);  // onto itself: nothing
        QCOMPARE(d.controller().colour(2), kFactoryPlotColors[7]);
    }

    // Help on either dialog opens the help window; the parameters page is
    // among the program's help topics.
    void helpButtonsOpenHelp() {
        AppState s = state("SCI");
        for (int which = 0; which < 2; ++which) {
            for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
            std::unique_ptr<QDialog> d;
            if (which == 0)
                d = std::make_unique<PlotParametersDialog>(s);
            else
                d = std::make_unique<DisplayOptionsDialog>(DisplaySettings{true, true, true});
            QPushButton* help = nullptr;
            for (auto* b : d->findChildren<QPushButton*>())
                if (b->text() == "Help") help = b;
            QVERIFY(help && help->isEnabled());
            help->click();
            int shown = 0;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible() && w != d.get()) ++shown;
            QCOMPARE(shown, 1);
        }
        QVERIFY(crv::common::ui::helpTopics().contains("plot_parameters"));
    }

    void displayOptions() {
        bool inside = false;
        bool canceled = true;
        DisplaySettings asked{false, true, true};
        GetSettings(canceled, asked, nullptr, [&](DisplayOptionsDialog& d) -> int {
            d.show();
            inside = !d.frame(0)->isVisible() && d.frame(1)->isVisible() && d.frame(2)->isVisible() &&
                     snap(d, "display_options");
            d.polar()->setChecked(true);
            return int(QDialog::Accepted);
        });
        QVERIFY(inside);
        QVERIFY(!canceled);
        QVERIFY(!asked.printOut && !asked.decibels && asked.polarPlot);

        DisplaySettings dest{true, false, false};
        GetSettings(canceled, dest, nullptr, [&](DisplayOptionsDialog&) -> int { return int(QDialog::Rejected); });
        QVERIFY(canceled);
        QVERIFY(dest.printOut);
    }

    // The frames asked for stand under each other from the top, in their
    // order, with no room left for those not asked; the dialog is just tall
    // enough for them (or for its buttons when nothing is asked).
    void displayOptionsCloseUpTheFramesNotAsked() {
        int heights[4] = {};
        const DisplaySettings askedSets[4] = {
            {false, false, false}, {false, false, true}, {false, true, true}, {true, true, true}};
        for (int i = 0; i < 4; ++i) {
            bool canceled = false;
            DisplaySettings asked = askedSets[i];
            std::vector<QRect> shown;  // the frames shown, top to bottom
            GetSettings(canceled, asked, nullptr, [&](DisplayOptionsDialog& d) -> int {
                d.show();
                d.layout()->activate();
                heights[i] = d.height();
                for (int f = 0; f < 3; ++f)
                    if (d.frame(f)->isVisible()) shown.push_back(d.frame(f)->geometry());
                snap(d, QString("display_options_%1").arg(i).toStdString().c_str());
                return int(QDialog::Rejected);
            });
            QCOMPARE(int(shown.size()),
                     int(askedSets[i].printOut) + int(askedSets[i].decibels) + int(askedSets[i].polarPlot));
            for (std::size_t k = 0; k < shown.size(); ++k) {
                if (k == 0) {
                    // The first frame shown is the top one, whichever it is.
                    QVERIFY2(shown[k].top() < 30, qPrintable(QString::number(shown[k].top())));
                } else {
                    QVERIFY(shown[k].top() > shown[k - 1].bottom());
                    QVERIFY2(shown[k].top() - shown[k - 1].bottom() < shown[k].height() / 2,
                             "room left for a frame not shown");
                }
            }
        }
        QVERIFY(heights[1] >= heights[0]);
        QVERIFY(heights[2] > heights[1]);
        QVERIFY(heights[3] > heights[2]);
    }
};

QTEST_MAIN(PlotDialogsTest)
#include "plot_dialogs_window_test.moc"
