#include <gtest/gtest.h>

#include "crv/main/dialogs/navaid_selection.h"
#include "crv/main/dialogs/proponent_selection.h"
#include "test_support.h"

using namespace crv::main;
using crv::main::test::TempDir;

namespace {

// An FM result line: call sign 2-8, frequency 10-16, position 18-37, ERP and
// height to 52, city 54-73, state 85-86, licence 88-90.
std::string fmLine(const std::string& call, const std::string& freq, const std::string& city,
                   const std::string& licence) {
    std::string l(90, ' ');
    l.replace(1, call.size(), call);
    l.replace(9, 7, freq);
    l.replace(17, 9, " 39 20 15");
    l.replace(27, 10, "  77 45 40");
    l.replace(38, 14, " 50.0000   500");
    l.replace(53, city.size(), city);
    l.replace(84, 2, "MD");
    l.replace(87, 3, licence);
    return l;
}

// A navaid facility line: id 2-4, course 6-8, frequency 10-16, position,
// service-volume type 58-59, radius 61-63, name 74-97, state 99-100,
// antenna description 102-136.
std::string navLine(const std::string& id, const std::string& freq, int svType, const std::string& name) {
    std::string l(136, ' ');
    l.replace(1, 3, id);
    l.replace(5, 3, "282");
    l.replace(9, 7, freq);
    l.replace(17, 9, " 39 20 15");
    l.replace(27, 10, "  77 45 40");
    l.replace(38, 5, "  500");
    l.replace(44, 5, "15000");
    l.replace(50, 3, " 50");
    l.replace(54, 2, " 0");
    l.replace(57, 2, (svType < 10 ? " " : "") + std::to_string(svType));
    l.replace(60, 3, " 25");
    l.replace(70, 2, " 0");
    l.replace(73, name.size(), name);
    l.replace(98, 2, "VA");
    l.replace(101, 20, "17 TRAVELING WAVE 6 ");
    return l;
}

const std::string kProponent = " WXYZ    101.500  39 10 00   77 30 00  50.0000   500";

// Facilities named "IN..." count as inside the widened area.
NavaidRules rulesByName() {
    NavaidRules r;
    r.CheckNavaidDistance = [](int, double radius, double, double, const std::string& line) {
        EXPECT_EQ(radius, 30.0);
        return line.substr(73, 2) == "IN";
    };
    r.GetAntennaType = [](const std::string& d) { return d.substr(0, 2) == "17" ? 9 : 0; };
    return r;
}

std::vector<std::string> navFile(std::vector<std::string> facilities) {
    std::vector<std::string> lines{"CRV Version 5.0.6"};
    for (auto& f : facilities) lines.push_back(f);
    lines.push_back(" $$$");
    lines.push_back(kProponent);
    return lines;
}

}  // namespace

TEST(ProponentSelection, ItemsKeysAndRecord) {
    TempDir dir;
    const auto path = dir.write("RfiSrch1.tmp", {fmLine("WAAA-FM", " 99.100", "FREDERICK", "LIC"), "",
                                                 fmLine("WBB", "101.500", "HAGERSTOWN", "CP ")});
    const ProponentList list = ReadProponentList(path);
    ASSERT_EQ(list.error, "");
    ASSERT_EQ(list.items.size(), 2u);
    EXPECT_EQ(list.items[0].key, "P0001");
    EXPECT_EQ(list.items[1].key, "P0002");  // the empty line is not counted
    EXPECT_EQ(list.items[1].columns[0], "WBB");
    EXPECT_EQ(list.items[1].columns[1], "101.500");
    EXPECT_EQ(list.items[1].columns[2], "CP ");
    EXPECT_EQ(list.items[1].columns[3], "N 39\xB0 20' 15\"");
    EXPECT_EQ(list.items[1].columns[4], "W 077\xB0 45' 40\"");
    EXPECT_EQ(list.items[1].columns[5], " MD  HAGERSTOWN");
    EXPECT_EQ(ProponentRecordOf(list, list.items[1]), fmLine("WBB", "101.500", "HAGERSTOWN", "CP ").substr(0, 52));
}

TEST(ProponentSelection, MissingOrEmptyFileIsAnError) {
    TempDir dir;
    EXPECT_NE(ReadProponentList(dir.folder() + "RfiSrch1.tmp").error, "");
    EXPECT_EQ(ReadProponentList(dir.write("RfiSrch1.tmp", {""})).error, " No FM facilities found. ");
}

TEST(ListSort, HeaderClicksFlipOrChangeTheColumn) {
    std::vector<ProponentItem> items(3);
    items[0].columns = {"B", "101.500", "", "N 2", "", ""};
    items[1].columns = {"A", " 99.100", "", "N 3", "", ""};
    items[2].columns = {"C", "105.000", "", "N 1", "", ""};
    ListSort sort;  // frequency, ascending
    sort.apply(items);
    EXPECT_EQ(items[0].columns[0], "A");
    sort.clickHeader(1);
    EXPECT_TRUE(sort.descending);
    sort.apply(items);
    EXPECT_EQ(items[0].columns[0], "C");
    sort.clickHeader(3);  // latitude, the order stays descending
    EXPECT_EQ(sort.column, 3);
    EXPECT_TRUE(sort.descending);
    sort.apply(items);
    EXPECT_EQ(items[0].columns[0], "A");
}

TEST(NavaidSelection, EachEditionsThirtyMileRule) {
    TempDir dir;
    dir.write("nav@WXYZ.plt", navFile({navLine("IAA", "110.100", 0, "OUT ONE"), navLine("IBB", "109.300", 0, "IN TWO"),
                                       navLine("VCC", "112.000", 5, "OUT THREE"), navLine("DDD", "127.000", 8, "IN FOUR"),
                                       navLine("EEE", "113.000", 7, "OUT FIVE")}));
    const NavaidList field = ListNavaids(dir.folder(), "FLD", rulesByName());
    ASSERT_EQ(field.error, "");
    EXPECT_EQ(field.fileName, "nav@WXYZ.plt");
    EXPECT_EQ(field.proponentRecord, kProponent);
    ASSERT_EQ(field.items.size(), 2u);
    EXPECT_EQ(field.items[0].columns[0], "  IBB");  // no asterisk in the field edition
    EXPECT_EQ(field.items[0].key, "N0002");       // keys number every facility line
    EXPECT_EQ(field.items[1].columns[0], "  DDD");
    EXPECT_EQ(field.items[1].columns[2], "COM");
    EXPECT_EQ(ExplainText(field.items.size()),
              "Only the 2 navaids that actually\rfall within the 30 nmi limit are shown.");

    const NavaidList sci = ListNavaids(dir.folder(), "SCI", rulesByName());
    ASSERT_EQ(sci.items.size(), 5u);
    EXPECT_EQ(sci.items[0].columns[0], "  IAA");
    EXPECT_EQ(sci.items[1].columns[0], "* IBB");
    EXPECT_EQ(sci.items[2].columns[2], "VOR");
    EXPECT_EQ(sci.items[0].columns[2], "282");
    EXPECT_EQ(sci.items[0].columns[5], " VA  OUT ONE");
}

TEST(NavaidSelection, NothingInsideInTheFieldEdition) {
    TempDir dir;
    dir.write("nav@WXYZ.plt", navFile({navLine("IAA", "110.100", 0, "OUT ONE")}));
    const NavaidList list = ListNavaids(dir.folder(), "FLD", rulesByName());
    EXPECT_EQ(list.error, " No navaids were found that were within the \r search radius  of the current proponent. ");
}

TEST(NavaidSelection, FilesThatWouldBeReadPastTheirEndAreRefused) {
    struct Case {
        const char* what;
        std::vector<std::string> lines;
    };
    const std::string f = navLine("IBB", "109.300", 0, "IN TWO");
    const Case cases[] = {
        {"no terminator", {"CRV Version 5.0.6", f}},
        {"no proponent line", {"CRV Version 5.0.6", f, " $$$"}},
        {"old layout", {f, " 999", kProponent}},
        {"empty", {}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.write("NAV@ABCD.PLT", c.lines);  // found without regard to letter case
        const NavaidList list = ListNavaids(dir.folder(), "SCI", rulesByName());
        EXPECT_NE(list.error, "") << c.what;
        EXPECT_TRUE(list.items.empty()) << c.what;
    }
    TempDir none;
    EXPECT_EQ(ListNavaids(none.folder(), "SCI", rulesByName()).error,
              " Could not find a navaid search file. \r Select \"Database Search\" or \"Manual Entry\" \r from the "
              "Navaid menu. ");
}

TEST(NavaidSelection, RecordByFacilityKind) {
    struct Case {
        int svType;
        const char* power;
        const char* arrayType;
    };
    // The localizer's antenna description starts "17 TRAVELING WAVE 6": the rules give 9.
    for (const Case& c : {Case{0, " 15", " 9"}, Case{3, " 15", " 9"}, Case{4, "  1", "35"}, Case{6, " 50", "36"},
                          Case{8, " 50", "37"}, Case{9, " 50", "37"}}) {
        const std::string line = navLine("XYZ", "110.100", c.svType, "NAME");
        const std::string r = NavaidRecordOfLine(line, rulesByName());
        ASSERT_EQ(r.size(), 72u);
        EXPECT_EQ(r.substr(50, 3), c.power) << c.svType;
        EXPECT_EQ(r.substr(54, 2), c.arrayType) << c.svType;
        EXPECT_EQ(r.substr(0, 50), line.substr(0, 50));
        EXPECT_EQ(r.substr(70, 2), " 0");
    }
}
