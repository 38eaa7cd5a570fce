#include "crv/common/configuration.h"
#include "crv/viewers/display_options.h"
#include "crv/viewers/plot_parameters.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace crv::common;
using namespace crv::viewers;
namespace fs = std::filesystem;

namespace {

AppState factoryState(const char* edition = "SCI") {
    AppState s;
    s.DefIntLevelMin = 3;
    s.DefIntLevelIncr = 3;
    s.DefNavLevelMin = -99;
    s.DefNavLevelIncr = 6;
    s.DefPlotColors = kFactoryPlotColors;
    s.IntLevelMin = 3;
    s.IntLevelIncr = 3;
    s.NavLevelMin = -99;
    s.NavLevelIncr = 6;
    s.PlotColors = kFactoryPlotColors;
    s.ModelType = edition;
    return s;
}

TEST(PlotParameters, CaptionsOfTheDefaultBands) {
    const PlotParametersController c(factoryState());
    const auto i = c.captions(Band::Interference);
    const auto n = c.captions(Band::Navaid);
    EXPECT_EQ(i[0], "int <= 3");
    EXPECT_EQ(i[12], "int <= 39");
    EXPECT_EQ(i[13], "int >  39");
    EXPECT_EQ(n[0], "nav <= -99");
    EXPECT_EQ(n[12], "nav <= -27");
    EXPECT_EQ(n[13], "nav >  -27");
}

TEST(PlotParameters, ArrowKeysStopAtTheRangeEnds) {
    AppState s = factoryState();
    s.IntLevelMin = 49;
    s.IntLevelIncr = 2;
    s.NavLevelMin = -199;
    s.NavLevelIncr = 24;
    PlotParametersController c(s);
    c.step(Band::Interference, BandValue::Minimum, +1);
    c.step(Band::Interference, BandValue::Minimum, +1);
    EXPECT_EQ(c.value(Band::Interference, BandValue::Minimum), 50);
    c.step(Band::Interference, BandValue::Increment, -1);
    c.step(Band::Interference, BandValue::Increment, -1);
    EXPECT_EQ(c.value(Band::Interference, BandValue::Increment), 1);
    c.step(Band::Navaid, BandValue::Minimum, -1);
    c.step(Band::Navaid, BandValue::Minimum, -1);
    EXPECT_EQ(c.value(Band::Navaid, BandValue::Minimum), -200);
    c.step(Band::Navaid, BandValue::Increment, +1);
    c.step(Band::Navaid, BandValue::Increment, +1);
    EXPECT_EQ(c.value(Band::Navaid, BandValue::Increment), 25);
}

TEST(PlotParameters, StoredValuesOutsideTheRangesAreHeldAtTheirEnds) {
    AppState s = factoryState();
    s.IntLevelMin = 30000;
    s.IntLevelIncr = 0;
    s.NavLevelMin = -32768;
    s.NavLevelIncr = 400;
    const PlotParametersController c(s);
    EXPECT_EQ(c.value(Band::Interference, BandValue::Minimum), 50);
    EXPECT_EQ(c.value(Band::Interference, BandValue::Increment), 1);
    EXPECT_EQ(c.value(Band::Navaid, BandValue::Minimum), -200);
    EXPECT_EQ(c.value(Band::Navaid, BandValue::Increment), 25);
}

TEST(PlotParameters, OkWithNothingChangedWritesNothing) {
    AppState s = factoryState();
    PlotParametersController c(s);
    c.exchangeColours(0, 5);
    c.exchangeColours(0, 5);  // and back
    const AppState before = s;
    EXPECT_FALSE(c.accept(s));
    EXPECT_EQ(s.PlotColors, before.PlotColors);
}

TEST(PlotParameters, SwatchesMoveWithTheFocusInMoveMode) {
    PlotParametersController c(factoryState());
    c.focusSwatch(0);
    EXPECT_EQ(c.arrowOnSwatch(-1), 0);  // Up on swatch 1 does nothing
    c.toggleMoveMode();
    EXPECT_EQ(c.arrowOnSwatch(+1), 1);
    EXPECT_EQ(c.colour(1), kFactoryPlotColors[0]);
    EXPECT_EQ(c.colour(0), kFactoryPlotColors[1]);
    c.toggleMoveMode();
    EXPECT_EQ(c.arrowOnSwatch(+1), 2);  // plain focus move: no exchange
    EXPECT_EQ(c.colour(2), kFactoryPlotColors[2]);
    c.focusSwatch(13);
    EXPECT_EQ(c.arrowOnSwatch(+1), 13);
    c.dropSwatch(3, 3);
    EXPECT_EQ(c.colour(3), kFactoryPlotColors[3]);
    c.dropSwatch(3, 4);
    EXPECT_EQ(c.colour(4), kFactoryPlotColors[3]);
    EXPECT_EQ(c.selected(), 4);
}

TEST(PlotParameters, DefaultsThenCancelLeaveTheStateAlone) {
    AppState s = factoryState();
    s.IntLevelMin = 10;
    s.PlotColors[0] = 0x123456;
    const AppState before = s;
    PlotParametersController c(s);
    c.restoreDefaults(s);
    EXPECT_EQ(c.value(Band::Interference, BandValue::Minimum), 3);
    EXPECT_EQ(c.colour(0), kFactoryPlotColors[0]);
    // Cancel: nothing is accepted.
    EXPECT_EQ(s.IntLevelMin, before.IntLevelMin);
    EXPECT_EQ(s.PlotColors, before.PlotColors);
}

TEST(PlotParameters, FieldEditionHidesTheNavaidBandAndKeepsIt) {
    AppState s = factoryState("FLD");
    s.NavLevelMin = -80;
    PlotParametersController c(s);
    EXPECT_FALSE(c.navaidBandVisible());
    c.setValue(Band::Interference, BandValue::Minimum, 6);
    EXPECT_TRUE(c.accept(s));
    EXPECT_EQ(s.NavLevelMin, -80);
    EXPECT_EQ(s.IntLevelMin, 6);
}

TEST(PlotParameters, ChangesAreSavedAndRestoredThroughTheSettingsStore) {
    const fs::path dir = fs::temp_directory_path() / ("plot_params_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    crv::platform::SettingsStore store((dir / "settings.ini").string());
    AppState s = factoryState();
    PlotParametersController c(s);
    c.setValue(Band::Interference, BandValue::Increment, 4);
    c.setValue(Band::Navaid, BandValue::Minimum, -120);
    c.exchangeColours(0, 13);
    auto changed = ApplyPlotParameters(c, s, store);
    ASSERT_TRUE(changed) << changed.error();
    EXPECT_TRUE(*changed);
    EXPECT_EQ(store.get("Plot Parameters", "Int Level Incr", ""), "4");
    EXPECT_EQ(store.get("Plot Parameters", "Nav Level Min", ""), "-120");
    EXPECT_EQ(parsePlotColors(store.get("Plot Parameters", "Colors", ""))[0], kFactoryPlotColors[13]);
    // A second OK without changes writes nothing.
    const auto stamp = fs::last_write_time(dir / "settings.ini");
    PlotParametersController again(s);
    auto second = ApplyPlotParameters(again, s, store);
    ASSERT_TRUE(second);
    EXPECT_FALSE(*second);
    EXPECT_EQ(fs::last_write_time(dir / "settings.ini"), stamp);
    fs::remove_all(dir);
}

TEST(DisplayOptions, OnlyTheAskedFramesShow) {
    struct Case {
        DisplaySettings asked;
        bool d, f, p;
    } cases[] = {
        {{true, true, true}, true, true, true},
        {{false, true, true}, false, true, true},
        {{false, false, false}, false, false, false},
        {{true, false, false}, true, false, false},
    };
    for (const auto& c : cases) {
        const DisplayOptionsLayout l = layoutFor(c.asked);
        EXPECT_EQ(l.showDestination, c.d);
        EXPECT_EQ(l.showFieldStrength, c.f);
        EXPECT_EQ(l.showPlotType, c.p);
    }
}

TEST(DisplayOptions, Answers) {
    // Asking only the destination and choosing Printer.
    const DisplaySettings a = settingsAfter(false, {true, false, false}, {true, true, true});
    EXPECT_TRUE(a.printOut);
    EXPECT_FALSE(a.decibels);
    EXPECT_FALSE(a.polarPlot);
    // Cancel leaves what was passed in.
    const DisplaySettings c = settingsAfter(true, {true, false, false}, {false, false, false});
    EXPECT_TRUE(c.printOut);
    // Nothing asked, OK: all false.
    const DisplaySettings n = settingsAfter(false, {}, {});
    EXPECT_FALSE(n.printOut || n.decibels || n.polarPlot);
}

}  // namespace
