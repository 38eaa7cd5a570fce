#include "crv/common/field_check.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace crv::common {
namespace {

using testing::RecordingPresenter;

class FakeBox : public FieldControl {
public:
    explicit FakeBox(std::string text, std::string mask = {}) : text_(std::move(text)), mask_(std::move(mask)) {}
    std::string text() const override { return text_; }
    void setText(const std::string& text) override { text_ = text; }
    std::string mask() const override { return mask_; }
    void setMask(const std::string& mask) override { mask_ = mask; }
    int selStart() const override { return caret_; }
    void setSelStart(int caret) override { caret_ = caret; }

    std::string text_;
    std::string mask_;
    int caret_ = 0;
};

const std::string deg = "\xB0";

struct ValidateCase {
    std::int32_t kind;
    float min, max;
    std::int16_t width, decimals;
    std::string typed;
    bool valid;
    std::string textAfter;
    std::string message;  // "" when none is shown
};

TEST(ValidateField, ChecksAndRewritesEachKind) {
    const ValidateCase cases[] = {
        // Not blank.
        {2, 0, 0, 0, 0, "   ", false, "", " This field must not be left blank. "},
        {2, 0, 0, 0, 0, " abc ", true, "abc", ""},
        // Whole numbers.
        {3, 0, 360, 3, 0, "400", false, "400", " Value must be in the range 0 to 360. "},
        {3, 0, 360, 3, 0, " 45 ", true, " 45", ""},
        {3, 0, 360, 3, 0, "4.5", true, "  5", ""},  // a full stop got in; the value rounds half away
        {3, 0, 360, 3, 0, "12a", false, "12a", " A valid number must be entered. "},
        {3, -99, 99, 4, 0, "-7", true, "  -7", ""},
        // Reals.
        {4, 0, 10000, 8, 1, "1E3", true, "  1000.0", ""},
        {4, 0, 10000, 8, 3, "2.675", true, "   2.675", ""},
        {4, 0, 10, 5, 2, "2.675", true, " 2.68", ""},
        {4, 0.5f, 2.5f, 5, 2, "3", false, "3", " Value must be in the range 0.5 to 2.5. "},
        {4, -1e6f, 1e6f, 9, 2, "1E40", false, "1E40", " Value must be in the range -1000000 to 1000000. "},
        {4, -3.4e38f, 3.4e38f, 9, 2, "-1E40", false, "-1E40", " Value must be in the range -3.4E+38 to 3.4E+38. "},
        {4, 0, 10, 5, 2, "", false, "", " A valid number must be entered. "},
        // Dates.
        {6, 0, 0, 0, 0, "2/5/02", true, "02/05/02", ""},
        {6, 0, 0, 0, 0, "", true, "", ""},
        {6, 0, 0, 0, 0, " 12/31/1999 ", true, "12/31/99", ""},
        {6, 0, 0, 0, 0, "2/29/2000", true, "02/29/00", ""},
        {6, 0, 0, 0, 0, "13/1/02", false, "13/1/02", " 13/1/02 is not a valid date. "},
        {6, 0, 0, 0, 0, "2/30/02", false, "2/30/02", " 2/30/02 is not a valid date. "},
        {6, 0, 0, 0, 0, "yesterday", false, "yesterday", " yesterday is not a valid date. "},
        // Positions: min tells latitude (1) from longitude (2), decimals the display code.
        {5, 1, 90, 0, 1, "N 95 00 00", false, "N 95 00 00", " Value must be in the range 0 to 90 degrees. "},
        {5, 1, 90, 0, 1, "S 90 00 01", false, "S 90 00 01", " Value must be in the range 0 to 90 degrees. "},
        {5, 1, 90, 0, 1, "n 38 30 0", true, "N 38" + deg + " 30' 00\"", ""},
        {5, 1, 90, 0, 2, "S 12 30", true, "S 12.5000" + deg, ""},
        {5, 2, 180, 0, 3, "w 77.25", true, "W 077" + deg + " 15.00'", ""},
        // Unchecked kinds.
        {0, 0, 0, 0, 0, " x ", true, " x ", ""},
        {9, 0, 0, 0, 0, " x ", true, " x ", ""},
    };
    for (const auto& c : cases) {
        FakeBox box(c.typed);
        FieldCheck field{&box, c.min, c.max, 0, c.kind, c.width, c.decimals};
        RecordingPresenter presenter;
        EXPECT_EQ(ValidateField(field, presenter), c.valid) << c.kind << " '" << c.typed << "'";
        EXPECT_EQ(box.text_, c.textAfter) << c.kind << " '" << c.typed << "'";
        if (c.message.empty()) {
            EXPECT_TRUE(presenter.shown.empty()) << c.kind << " '" << c.typed << "'";
        } else {
            ASSERT_EQ(presenter.shown.size(), 1u) << c.kind << " '" << c.typed << "'";
            EXPECT_EQ(presenter.shown[0].text, c.message);
            EXPECT_EQ(presenter.shown[0].title, "Input Error");
            EXPECT_EQ(presenter.shown[0].icon, MessageIcon::Exclamation);
            EXPECT_EQ(presenter.shown[0].buttons, MessageButtons::Ok);
        }
    }
}

struct KeyCase {
    std::int32_t kind;
    char key;
    KeyVerdict verdict;
    char after;  // the key code afterwards
};

TEST(FilterKeyPress, AcceptsEachKindsCharacters) {
    const KeyCase cases[] = {
        {0, 'a', KeyVerdict::Passed, 'a'},      // free text: untouched
        {3, '\b', KeyVerdict::Passed, '\b'},    {3, '.', KeyVerdict::Passed, '.'},
        {3, '7', KeyVerdict::Passed, '7'},      {3, '-', KeyVerdict::Passed, '-'},
        {3, ' ', KeyVerdict::Passed, ' '},      {3, 'e', KeyVerdict::Rejected, 0},
        {3, ',', KeyVerdict::Rejected, 0},      {4, 'e', KeyVerdict::Passed, 'E'},
        {4, '+', KeyVerdict::Passed, '+'},      {4, 'x', KeyVerdict::Rejected, 0},
        {2, 'a', KeyVerdict::Passed, 'A'},      {6, '/', KeyVerdict::Passed, '/'},
        {7, 'q', KeyVerdict::Passed, 'Q'},
    };
    for (const auto& c : cases) {
        FakeBox box("");
        FieldCheck field{&box, 0, 0, 0, c.kind, 0, 0};
        std::int16_t key = static_cast<unsigned char>(c.key);
        EXPECT_EQ(FilterKeyPress(field, key), c.verdict) << c.kind << " '" << c.key << "'";
        EXPECT_EQ(key, static_cast<unsigned char>(c.after)) << c.kind << " '" << c.key << "'";
    }
}

TEST(FilterKeyPress, PutsDigitsIntoTheMasksDigitPlaces) {
    const std::string mask = "N ##" + deg + " ##' ##\"";  // digit places at 2,3 6,7 10,11
    FakeBox box("N 38" + deg + " 30' 00\"", mask);
    FieldCheck field{&box, 1, 90, 0, kFieldLatLon, 0, 1};

    struct Step {
        int caret;
        char digit;
        KeyVerdict verdict;
        int caretAfter;
        std::size_t written;  // where the digit went
    } steps[] = {
        {0, '4', KeyVerdict::Swallowed, 3, 2},   // before the first place: goes into it
        {3, '5', KeyVerdict::Swallowed, 6, 3},   // the caret jumps the literals to the next place
        {4, '1', KeyVerdict::Swallowed, 7, 6},   // caret on the degree sign: the next place takes it
        {11, '9', KeyVerdict::Swallowed, 13, 11},  // the last place: caret to the end of the mask
    };
    for (const auto& s : steps) {
        box.caret_ = s.caret;
        std::int16_t key = s.digit;
        EXPECT_EQ(FilterKeyPress(field, key), s.verdict) << s.caret;
        EXPECT_EQ(key, 0);
        EXPECT_EQ(box.caret_, s.caretAfter) << s.caret;
        EXPECT_EQ(box.text_[s.written], s.digit) << s.caret;
    }
    EXPECT_EQ(box.text_, "N 45" + deg + " 10' 09\"");

    box.caret_ = 12;  // after the last place
    std::int16_t key = '3';
    EXPECT_EQ(FilterKeyPress(field, key), KeyVerdict::Rejected);
    EXPECT_EQ(key, 0);
}

TEST(FilterKeyPress, TurnsTheHemisphereWithItsOwnLettersOnly) {
    FakeBox lat("N 38" + deg + " 30' 00\"", "N ##" + deg + " ##' ##\"");
    FieldCheck latField{&lat, 1, 90, 0, kFieldLatLon, 0, 1};
    lat.caret_ = 7;
    std::int16_t key = 's';
    EXPECT_EQ(FilterKeyPress(latField, key), KeyVerdict::Swallowed);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(lat.mask_[0], 'S');
    EXPECT_EQ(lat.text_[0], 'S');
    EXPECT_EQ(lat.caret_, 2);
    key = 'E';
    EXPECT_EQ(FilterKeyPress(latField, key), KeyVerdict::Rejected);
    EXPECT_EQ(lat.mask_[0], 'S');

    FakeBox lon("W 077" + deg + " 15.00'", "W ###" + deg + " ##.##'");
    FieldCheck lonField{&lon, 2, 180, 0, kFieldLatLon, 0, 3};
    key = 'e';
    EXPECT_EQ(FilterKeyPress(lonField, key), KeyVerdict::Swallowed);
    EXPECT_EQ(lon.mask_[0], 'E');
    key = 'N';
    EXPECT_EQ(FilterKeyPress(lonField, key), KeyVerdict::Rejected);
    key = '.';  // the full stop always passes
    EXPECT_EQ(FilterKeyPress(lonField, key), KeyVerdict::Passed);
    EXPECT_EQ(key, '.');
}

}  // namespace
}  // namespace crv::common
