// The relative grid angle dialog's presets and results.
#include <gtest/gtest.h>

#include "crv/editors/case_editor/rel_angle.h"
#include "recording.h"

using namespace crv::editors;

TEST(RelAngle, PresetAndResult) {
    struct Case {
        float course, grid;
        Orientation preset;
        const char* box;
        Orientation chosen;
        const char* typed;
        float expected;
    };
    const Case cases[] = {
        {90, 100, Orientation::Left, "10", Orientation::Left, nullptr, 100},
        {90, 80, Orientation::Right, "10", Orientation::Right, nullptr, 80},
        {90, 90, Orientation::Center, " 0", Orientation::Center, nullptr, 90},
        {350, 5, Orientation::Left, "15", Orientation::Left, nullptr, 5},
        {350, 5, Orientation::Left, "15", Orientation::Right, "15", 335},
        {10, 10, Orientation::Center, " 0", Orientation::Right, "20", 350},
        {359.5f, 359.5f, Orientation::Center, " 0", Orientation::Center, nullptr, 359.5f},
    };
    for (const Case& c : cases) {
        test::Recorder presenter;
        RelAngleLogic d(c.course, c.grid);
        EXPECT_EQ(d.orientation(), c.preset) << c.course << " " << c.grid;
        EXPECT_EQ(d.text(), c.box);
        EXPECT_EQ(d.boxEnabled(), c.preset != Orientation::Center);
        if (c.chosen != c.preset) d.selectOrientation(c.chosen, true);
        if (c.typed) d.setText(c.typed);
        ASSERT_TRUE(d.validate(presenter));
        EXPECT_FLOAT_EQ(d.result(), c.expected) << c.course << " " << c.grid;
    }
}

// A grid angle far from the course is shown whole and refused, never cut to
// its first two digits.
TEST(RelAngle, AngleBeyondTheRangeIsShownWholeAndRefused) {
    test::Recorder presenter;
    RelAngleLogic d(90, 190);
    EXPECT_EQ(d.text(), "100");
    EXPECT_FALSE(d.validate(presenter));
    ASSERT_EQ(presenter.messages.size(), 1u);
    EXPECT_EQ(presenter.messages[0].text, " Value must be in the range 0 to 35. ");
    EXPECT_EQ(presenter.messages[0].title, "Input Error");
    d.setText("36");
    EXPECT_FALSE(d.validate(presenter));
    d.setText("35");
    ASSERT_TRUE(d.validate(presenter));
    EXPECT_EQ(d.text(), " 35");
    EXPECT_FLOAT_EQ(d.result(), 125);
}

TEST(RelAngle, StepsAndKeys) {
    RelAngleLogic d(90, 90);
    d.selectOrientation(Orientation::Left, true);
    EXPECT_EQ(d.text(), " 0");
    d.step(-1);
    EXPECT_EQ(d.text(), " 0");
    d.step(1);
    EXPECT_EQ(d.text(), " 1");
    d.setText("35");
    d.step(1);
    EXPECT_EQ(d.text(), "35");
    std::int16_t k = 'a';
    EXPECT_EQ(d.keyPress(k), crv::common::KeyVerdict::Rejected);
    k = '7';
    EXPECT_EQ(d.keyPress(k), crv::common::KeyVerdict::Passed);
}
