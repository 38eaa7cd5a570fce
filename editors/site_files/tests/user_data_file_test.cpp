// Pattern and calibration files: the layout byte for byte, what the engine's
// own readers make of a written file, and reading files the editor did not
// write (damaged, foreign, too long).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "case_folder.h"
#include "crv/editors/user_data_file.h"
#include "pattern_files.h"

using namespace crv::editors;
namespace et = crv::engine::test;

namespace {
UserData pattern(int kind, int scale, double gain = 0) {
    UserData d = newUserData(kind);
    d.scale = scale;
    d.gain = gain;
    d.description = "Test pattern             ";
    for (std::size_t i = 0; i < d.values.size(); ++i) d.values[i] = 100.0 - 2.0 * static_cast<double>(i);
    return d;
}
}  // namespace

TEST(UserDataFile, LayoutOfEachKind) {
    {
        const auto lines = textLines(writeUserDataFile(pattern(3, 1, 21.5)));
        ASSERT_EQ(lines.size(), 2u + 37u);
        EXPECT_EQ(lines[0], "Test pattern             ");
        EXPECT_EQ(lines[1], " 3    1   21.5");
        // x in six columns, ten blanks, the value in eight.
        EXPECT_EQ(lines[2], "  0.00" + std::string(10, ' ') + "   0.000");   // 100 % is 0 dB
        EXPECT_EQ(lines[38], "180.00" + std::string(10, ' ') + " -11.057");  // 28 %
    }
    {
        const std::string bytes = writeUserDataFile(pattern(1, 0));
        const auto lines = textLines(bytes);
        ASSERT_EQ(lines.size(), 2u + 37u);  // 0 to 360 degrees, 360 included
        EXPECT_EQ(lines[1], " 1    0    0.0");
        EXPECT_EQ(lines[2], "  0.00" + std::string(10, ' ') + " 100.000");
        EXPECT_EQ(lines[38].substr(0, 6), "360.00");
        EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1);  // CR LF endings
    }
    {
        UserData d = newUserData(4);
        d.values[0] = 12.25;
        const auto lines = textLines(writeUserDataFile(d));
        ASSERT_EQ(lines.size(), 2u + 49u);
        EXPECT_EQ(lines[1], " 4 ");
        EXPECT_EQ(lines[2], " 88.00" + std::string(10, ' ') + " 12.25");
        EXPECT_EQ(lines[50].substr(0, 6), "136.00");
    }
    {
        UserData d = newUserData(5);
        d.values[0] = -123.45;
        const auto lines = textLines(writeUserDataFile(d));
        ASSERT_EQ(lines.size(), 2u + 11u);
        EXPECT_EQ(lines[1], " 5 ");
        EXPECT_EQ(lines[2], "-101.0" + std::string(10, ' ') + " -123.45");  // the x field is six characters
        EXPECT_EQ(lines[12].substr(0, 6), "-51.00");
    }
}

TEST(UserDataFile, ScalesAndNormalising) {
    EXPECT_DOUBLE_EQ(RelToDb(0.0001), -99.99);
    EXPECT_NEAR(RelToDb(0.0002), -113.979, 1e-3);
    EXPECT_DOUBLE_EQ(shownDb(0.0002), -99.99);  // cells never show less
    EXPECT_DOUBLE_EQ(DbToRel(-99.99), 0.0);
    EXPECT_NEAR(DbToRel(-6.0206), 50.0, 1e-3);

    UserData d = newUserData(2);
    d.values.assign(d.values.size(), 0.0);
    NormalizePattern(d);
    for (double v : d.values) EXPECT_EQ(v, 0.0);  // all zero: unchanged, no division
    d.values[3] = 50;
    d.values[4] = 25;
    NormalizePattern(d);
    EXPECT_DOUBLE_EQ(d.values[3], 100);
    EXPECT_DOUBLE_EQ(d.values[4], 50);
}

// What the editor writes, the engine reads with the same values.
TEST(UserDataFile, EngineReadsWhatIsWritten) {
    et::CaseFolder folder;
    struct Case {
        int kind, scale;
        crv::engine::PatternKind engineKind;
    } cases[] = {{1, 0, crv::engine::PatternKind::FmHorizontal},
                 {2, 1, crv::engine::PatternKind::FmVertical},
                 {3, 1, crv::engine::PatternKind::Localizer}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        const UserData d = pattern(c.kind, c.scale, 21.5);
        et::writeBytes(folder.user + "p.pat", writeUserDataFile(d));
        crv::engine::Pattern read;
        const double gain = crv::engine::readPatternFile(folder.user + "p.pat", c.engineKind, read, "test");
        EXPECT_EQ(read.description, "Test pattern");
        EXPECT_DOUBLE_EQ(gain, c.kind == 3 ? 21.5 : 0.0);
        for (std::size_t i = 0; i < 37; ++i) EXPECT_NEAR(read.values[i], d.values[i] / 100.0, 1e-4) << i;
    }
    UserData antenna = newUserData(4);
    for (std::size_t i = 0; i < antenna.values.size(); ++i) antenna.values[i] = 0.5 * static_cast<double>(i);
    et::writeBytes(folder.user + "Antenna.cal", writeUserDataFile(antenna));
    std::vector<std::pair<double, double>> table;
    crv::engine::readAntennaCalibration(folder.user + "Antenna.cal", table, "test");
    ASSERT_EQ(table.size(), 49u);
    EXPECT_DOUBLE_EQ(table[48].first, 136);
    EXPECT_DOUBLE_EQ(table[48].second, 24);

    UserData receiver = newUserData(5);
    for (std::size_t i = 0; i < receiver.values.size(); ++i) receiver.values[i] = -120.0 + static_cast<double>(i);
    et::writeBytes(folder.user + "Receiver.cal", writeUserDataFile(receiver));
    std::array<double, 12> thresholds{};
    crv::engine::readReceiverCalibration(folder.user + "Receiver.cal", thresholds, "test");
    EXPECT_DOUBLE_EQ(thresholds[1], -120);
    EXPECT_DOUBLE_EQ(thresholds[11], -110);
}

// A file written, read and written again is the same file; the scale comes back.
TEST(UserDataFile, RoundTripIsByteIdentical) {
    for (int kind = 1; kind <= 5; ++kind)
        for (int scale = 0; scale <= (kind <= 3 ? 1 : 0); ++scale) {
            SCOPED_TRACE(kind * 10 + scale);
            UserData d = kind <= 3 ? pattern(kind, scale, 12.5) : newUserData(kind);
            if (kind > 3)
                for (std::size_t i = 0; i < d.values.size(); ++i) d.values[i] = 0.25 * static_cast<double>(i);
            const std::string first = writeUserDataFile(d);
            const UserDataRead r = readUserDataFile(first, kind <= 3);
            EXPECT_EQ(r.data.kind, kind);
            EXPECT_EQ(r.data.scale, scale);
            EXPECT_EQ(r.badCount, 0);
            EXPECT_EQ(writeUserDataFile(r.data), first);
        }
}

TEST(UserDataFile, ReadingFilesTheEditorDidNotWrite) {
    struct Case {
        const char* name;
        const char* text;
        bool patternMode;
        int kind, scale;
        double value0, value1, last;
        int badCount, firstBadLine, extraLines;
    } cases[] = {
        // A kind outside the mode's kinds and an unknown scale fall back.
        {"foreign kind", "Old\n 9  7  3\n0 50\n10 25\n", true, 1, 0, 50, 25, 0, 0, 0, 0},
        {"calibration kind", "Cal\n 2\n88 3\n", false, 4, 0, 3, 0, 0, 0, 0, 0},
        {"kind past any number", "Cal\n 1e308\n88 3\n", false, 4, 0, 3, 0, 0, 0, 0, 0},
        // A gain no cell holds reads as 0 and counts as the first bad value.
        {"endless gain", "Loc\n 3  0  1e999\n0 50\n", true, 3, 0, 50, 0, 0, 1, 2, 0},
        // A blank first point line is the point 0, 0; later points are cleared
        // rather than left from an earlier file.
        {"blank line", "Blank\n 1  0  0\n\n10 80\n", true, 1, 0, 0, 80, 0, 0, 0, 0},
        // Values outside the cell's range are kept but marked, first line and count.
        {"out of range", "Big\n 2  0  0\n0 100\n2.5 130\n5 -4\n", true, 2, 0, 100, 130, 0, 2, 4, 0},
        {"dB above 0", "dB\n 3  1  21.5\n0 0\n5 3\n", true, 3, 1, 100, 100 * std::pow(10.0, 3.0 / 20.0), 0, 1, 4, 0},
        {"threshold range", "Rx\n 5\n-101 -250\n", false, 5, 0, -250, 0, 0, 1, 3, 0},
        // More point lines than the table holds: the table's end, the rest counted.
        {"too long", "Rx\n 5\n-101 1\n-96 2\n-91 3\n-86 4\n-81 5\n-76 6\n-71 7\n-66 8\n-61 9\n-56 10\n-51 11\n-46 12\n"
                     "-41 13\n",
         false, 5, 0, 1, 2, 11, 0, 0, 2},
        // Tokens read as the number they begin with; no number is 0.
        {"text tokens", "T\n 1  0  0\n0 55abc\n10 x\n", true, 1, 0, 55, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const UserDataRead r = readUserDataFile(c.text, c.patternMode);
        EXPECT_EQ(r.data.kind, c.kind);
        EXPECT_EQ(r.data.scale, c.scale);
        EXPECT_EQ(r.data.description.size(), 25u);
        EXPECT_NEAR(r.data.values[0], c.value0, 1e-9);
        EXPECT_NEAR(r.data.values[1], c.value1, 1e-9);
        EXPECT_NEAR(r.data.values.back(), c.last, 1e-9);
        EXPECT_EQ(r.badCount, c.badCount);
        EXPECT_EQ(r.firstBadLine, c.firstBadLine);
        EXPECT_EQ(r.extraLines, c.extraLines);
        EXPECT_DOUBLE_EQ(r.data.x[1] - r.data.x[0], userDataKind(c.kind).xStep);  // x values are the kind's own
    }
}
