// The simulation run's steps, messages and end paths, and result printing,
// over the scripted engine.
#include <gtest/gtest.h>

#include "crv/common/file_system.h"
#include "crv/platform/folder_lock.h"
#include "records.h"
#include "run_test_support.h"

using namespace crv::main::run;
using namespace crv::main::run::test;
using crv::binding::FakeEngine;
using crv::binding::Progress;

namespace {

std::string caseFile(int svType, const std::string& version = "CRV Version 5.0.6") {
    std::vector<std::string> lines;
    if (!version.empty()) lines.push_back(version);
    lines.push_back(navaidRecord("ABC", "90", "109.100", "38 00 00", "77 00 00", svType).substr(0, 69));
    lines.push_back(sourceLine("WAAA-FM", "92.100", "38 05 00", "77 01 00", "LIC"));
    lines.push_back(" $$$$");
    lines.push_back("  1  1  1  1  1  1     0   0 1000 100  1  1");
    lines.push_back(" TESTCASE                                  12/10/26 30");
    return crlf(lines);
}

const std::string kHeader = "Running simulation for a.v2.dat:\r\r";

}  // namespace

TEST(RunSimulation, StepsMessagesAndTheGroundStepForCom) {
    for (int type : {0, 8}) {
        Workspace w("run");
        writeBytes(w.data("a.v2.dat"), caseFile(type));
        writeBytes(w.output("RFI.PLT"), "stale copy\r\n");
        writeBytes(w.output("RfiG.txt"), "temporary\r\n");
        FakeEngine engine;
        engine.points = 1;
        engine.cases = 2;
        engine.combinations = 40;
        w.controller(engine).RunSimulation(w.state.OutputFolder, "a.v2.dat");
        EXPECT_EQ(engine.callNames(),
                  type == 8 ? "Grid Evaluate B1_2Sig B1_3Sig GrndCOM" : "Grid Evaluate B1_2Sig B1_3Sig");
        EXPECT_EQ(engine.calls[0].text, w.state.OutputFolder);
        std::vector<std::string> expected = {
            "Initialize:" + kHeader + "Generating grid of receiver positions...",
            "FinalMsg:One grid point generated.",
            "Initialize:" + kHeader + "Checking for A2 and/or B2 interference...",
            "FinalMsg:2 cases of A2/B2 interference found.",
            "Initialize:" + kHeader + "Checking for two-signal B1 interference...",
            "FinalMsg:2 cases of two-signal B1 interference found\rin 40 intermod combinations.",
            "Initialize:" + kHeader + "Checking for three-signal B1 interference...",
            "FinalMsg:2 cases of three-signal B1 interference found\rin 40 intermod combinations."};
        if (type == 8) {
            expected.push_back("Initialize:" + kHeader + "Checking for interference at ground facility...");
            expected.push_back("FinalMsg:2 cases of interference found\rat the ground facility location.");
        }
        expected.push_back("Remove");
        EXPECT_EQ(w.progress.events, expected);
        EXPECT_EQ(readBytes(w.output("Rfi.plt")), caseFile(type));
        EXPECT_FALSE(fs::exists(w.output("RFI.PLT")));
        EXPECT_FALSE(fs::exists(w.output("RfiG.txt")));
        EXPECT_TRUE(w.messages.shown.empty());
    }
}

TEST(RunSimulation, CountTexts) {
    struct Case {
        std::int16_t cases;
        std::int32_t combinations;
        const char* a2b2;
        const char* b1;
    } cases[] = {
        {0, 40, "No A2/B2 interference found.", "No two-signal B1 interference found\rin 40 intermod combinations."},
        {1, 0, "One case of A2/B2 interference found.",
         "One case of two-signal B1 interference found\rin 0 intermod combinations."}};
    for (const auto& c : cases) {
        Workspace w("runtexts");
        writeBytes(w.data("a.v2.dat"), caseFile(0));
        FakeEngine engine;
        engine.points = 12345;
        engine.cases = c.cases;
        engine.combinations = c.combinations;
        w.controller(engine).RunSimulation(w.state.OutputFolder, "a.v2.dat");
        const auto finals = w.progress.finals();
        ASSERT_EQ(finals.size(), 4u);
        EXPECT_EQ(finals[0], "12345 grid points generated.");
        EXPECT_EQ(finals[1], c.a2b2);
        EXPECT_EQ(finals[2], c.b1);
    }
}

namespace {
// Steps 0..stop ran and no later one; each step before the last gave its
// result, the window went and nothing was said.
void expectTheRunEndedAfter(Workspace& w, FakeEngine& engine, const char* const* steps, int stop) {
    std::string expected;
    for (int i = 0; i <= stop; ++i) expected += std::string(i ? " " : "") + steps[i];
    EXPECT_EQ(engine.callNames(), expected);
    EXPECT_EQ(w.progress.finals().size(), static_cast<std::size_t>(stop));
    EXPECT_EQ(w.progress.events.back(), "Remove");
    EXPECT_TRUE(w.messages.shown.empty());
}
}  // namespace

TEST(RunSimulation, NonZeroStatusAtEachStepEndsTheRun) {
    const char* steps[] = {"Grid", "Evaluate", "B1_2Sig", "B1_3Sig", "GrndCOM"};
    for (int stop = 0; stop < 5; ++stop) {
        for (std::int16_t status : {1, 2}) {
            SCOPED_TRACE(std::string(steps[stop]) + " status " + std::to_string(status));
            Workspace w("runstop");
            writeBytes(w.data("a.v2.dat"), caseFile(8));
            writeBytes(w.output("RfiG.txt"), "temporary\r\n");
            FakeEngine engine;
            auto failing = [status](const std::string&, const Progress&, std::int16_t& st, std::int16_t&,
                                    std::int32_t&) { st = status; };
            FakeEngine::RunScript* scripts[] = {&engine.onGrid, &engine.onEvaluate, &engine.onB1_2Sig,
                                                &engine.onB1_3Sig, &engine.onGrndCOM};
            *scripts[stop] = failing;
            w.controller(engine).RunSimulation(w.state.OutputFolder, "a.v2.dat");
            expectTheRunEndedAfter(w, engine, steps, stop);
            EXPECT_FALSE(fs::exists(w.output("RfiG.txt")));
        }
    }
}

TEST(RunSimulation, CancelFromTheProgressDisplay) {
    Workspace w("runcancel");
    writeBytes(w.data("a.v2.dat"), caseFile(0));
    FakeEngine engine;
    w.progress.cancelAtValue = 3;  // the first progress point of Evaluate
    w.controller(engine).RunSimulation(w.state.OutputFolder, "a.v2.dat");
    EXPECT_EQ(engine.callNames(), "Grid Evaluate");
    EXPECT_EQ(w.progress.events.back(), "Remove");
    EXPECT_TRUE(w.messages.shown.empty());
}

TEST(RunSimulation, ACancelTheEngineNeverSawStillStopsTheRun) {
    // Cancel clicked as a step ended: the engine had finished (status 0),
    // the progress window sees the click at the step's result. No later step
    // runs, for each step of a VHF COM case; the same for a Cancel the
    // display took at the step's last progress call, which the engine no
    // longer looked at.
    const char* steps[] = {"Grid", "Evaluate", "B1_2Sig", "B1_3Sig"};
    for (int stop = 0; stop < 4; ++stop) {
        for (bool atResult : {true, false}) {
            SCOPED_TRACE(std::string(steps[stop]) + (atResult ? " at its result" : " after its last callback"));
            Workspace w("runlatecancel");
            writeBytes(w.data("a.v2.dat"), caseFile(8));
            FakeEngine engine;
            if (atResult) {
                w.progress.cancelAtFinal = stop + 1;
            } else {
                FakeEngine::RunScript late = [&w](const std::string&, const Progress&, std::int16_t& st, std::int16_t&,
                                                  std::int32_t& count) {
                    w.progress.cancel();
                    st = 0;
                    count = 10;
                };
                FakeEngine::RunScript* scripts[] = {&engine.onGrid, &engine.onEvaluate, &engine.onB1_2Sig,
                                                    &engine.onB1_3Sig};
                *scripts[stop] = late;
            }
            w.controller(engine).RunSimulation(w.state.OutputFolder, "a.v2.dat");
            expectTheRunEndedAfter(w, engine, steps, stop);
        }
    }
}

TEST(RunSimulation, ZeroGridPointsEndsWithTheMessage) {
    Workspace w("runzero");
    writeBytes(w.data("a.v2.dat"), caseFile(0));
    writeBytes(w.output("RfiG.txt"), "temporary\r\n");
    FakeEngine engine;
    engine.points = 0;
    w.controller(engine).RunSimulation(w.state.OutputFolder, "a.v2.dat");
    EXPECT_EQ(engine.callNames(), "Grid");
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].text, " No grid points generated. ");
    EXPECT_EQ(w.messages.shown[0].title, "Error");
    EXPECT_EQ(w.messages.shown[0].icon, crv::common::MessageIcon::Exclamation);
    // The window is gone before the message.
    EXPECT_EQ(w.progress.events.back(), "Remove");
    EXPECT_FALSE(fs::exists(w.output("RfiG.txt")));
}

TEST(RunSimulation, OlderCaseIsUpgradedBeforeTheCopy) {
    Workspace w("runold");
    writeBytes(w.data("a.v2.dat"), caseFile(0, "CRV Version 5.0.1"));
    FakeEngine engine;
    w.controller(engine).RunSimulation(w.state.OutputFolder, "a.v2.dat");
    const auto copy = crlfLines(readBytes(w.output("Rfi.plt")));
    ASSERT_FALSE(copy.empty());
    EXPECT_EQ(copy[0], "CRV Version 5.0.6");
    EXPECT_EQ(readBytes(w.output("Rfi.plt")), readBytes(w.data("a.v2.dat")));
}

TEST(RunSimulation, MissingCaseAndCopyOntoItselfAreReported) {
    {
        Workspace w("runmissing");
        FakeEngine engine;
        w.controller(engine).RunSimulation(w.state.OutputFolder, "gone.dat");
        EXPECT_TRUE(engine.calls.empty());
        ASSERT_EQ(w.messages.shown.size(), 1u);
        EXPECT_NE(w.messages.shown[0].text.find("RunSimulation"), std::string::npos);
    }
    {
        // The case file is the run copy itself: refused, the file kept.
        Workspace w("runself");
        writeBytes(w.output("Rfi.plt"), caseFile(0));
        w.state.DataFolder = w.state.OutputFolder;
        FakeEngine engine;
        w.controller(engine).RunSimulation(w.state.OutputFolder, "Rfi.plt");
        EXPECT_TRUE(engine.calls.empty());
        EXPECT_EQ(readBytes(w.output("Rfi.plt")), caseFile(0));
        ASSERT_EQ(w.messages.shown.size(), 1u);
    }
}

TEST(PrintResults, ReportAndResultPlotsWithoutSearchFiles) {
    Workspace w("print");
    for (const char* f : {"Rfi.txt", "Rfi.plt", "01____A2.plt", "nav@WXYZ.plt", "FM@ABC.plt", "Loc@X.plt", "fm@ABC.txt",
                          "Rcvr_Loc.plx"})
        writeBytes(w.output(f), "x");
    std::vector<std::string> calls;
    w.viewers.DisplayReports = [&](const std::string& dir, const std::string& list, bool autoPrint) {
        calls.push_back("reports " + dir + " " + list + (autoPrint ? " auto" : ""));
    };
    w.viewers.DisplayPlots = [&](const std::string& dir, const std::string& list, bool autoPrint) {
        calls.push_back("plots " + dir + " " + list + (autoPrint ? " auto" : ""));
    };
    FakeEngine engine;
    w.controller(engine).PrintResults(w.state.OutputFolder);
    EXPECT_EQ(calls, (std::vector<std::string>{"reports " + w.state.OutputFolder + " Rfi.txt auto",
                                               "plots " + w.state.OutputFolder + " 01____A2.plt|Rfi.plt auto"}));
}

TEST(PrintResults, OnlySearchFilesPrintNothingAndAMissingViewerIsAnError) {
    Workspace w("printnone");
    writeBytes(w.output("nav@WXYZ.plt"), "x");
    int calls = 0;
    w.viewers.DisplayReports = [&](const std::string&, const std::string&, bool) { ++calls; };
    w.viewers.DisplayPlots = [&](const std::string&, const std::string&, bool) { ++calls; };
    FakeEngine engine;
    w.controller(engine).PrintResults(w.state.OutputFolder);
    EXPECT_EQ(calls, 0);

    Workspace v("printmissing");
    writeBytes(v.output("Rfi.plt"), "x");
    EXPECT_THROW(v.controller(engine).PrintResults(v.state.OutputFolder), std::runtime_error);
}

TEST(RunSimulation, AFailingProgressDisplayIsReportedAndEndsTheRun) {
    Workspace w("runthrow");
    writeBytes(w.data("a.v2.dat"), caseFile(0));
    w.progress.onValue = [] { throw std::runtime_error("display gone"); };
    FakeEngine engine;
    w.controller(engine).RunSimulation(w.state.OutputFolder, "a.v2.dat");
    EXPECT_EQ(engine.callNames(), "Grid");
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_NE(w.messages.shown[0].text.find("RunSimulation"), std::string::npos);
    EXPECT_NE(w.messages.shown[0].text.find("display gone"), std::string::npos);
    EXPECT_EQ(w.progress.events.back(), "Remove");
    EXPECT_FALSE(w.ctl->busy());
}

// A run folder is used by one run at a time, whichever program or driver runs
// it: while a run holds it, a second is refused with a message naming the
// folder, before the case is copied or the engine is called.
TEST(RunSimulation, AFolderInUseByAnotherRunIsRefused) {
    Workspace w("runbusy");
    writeBytes(w.data("a.v2.dat"), caseFile(0));
    writeBytes(w.output("Rfi.plt"), "the other run's case\r\n");
    FakeEngine engine;
    {
        crv::platform::FolderLock otherRun;  // as the driver would hold it
        ASSERT_TRUE(otherRun.tryLock(w.state.OutputFolder) && otherRun.held());
        w.controller(engine).RunSimulation(w.state.OutputFolder, "a.v2.dat");
    }
    EXPECT_EQ(engine.callNames(), "");
    EXPECT_EQ(readBytes(w.output("Rfi.plt")), "the other run's case\r\n");
    EXPECT_TRUE(w.progress.events.empty());
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].text, " The run folder " + w.state.OutputFolder + " is in use by another run. \r" +
                                            " Wait for it to end, or run this case in another folder. ");
    EXPECT_EQ(w.messages.shown[0].icon, crv::common::MessageIcon::Exclamation);

    // The run itself holds the folder from its first step to its last.
    std::vector<bool> heldDuring;
    engine.onGrid = [&](const std::string& folder, const Progress&, std::int16_t&, std::int16_t&, std::int32_t& n) {
        crv::platform::FolderLock probe;
        heldDuring.push_back(!probe.tryLock(folder));
        n = 1;
    };
    engine.onB1_3Sig = [&](const std::string& folder, const Progress&, std::int16_t&, std::int16_t&, std::int32_t&) {
        crv::platform::FolderLock probe;
        heldDuring.push_back(!probe.tryLock(folder));
    };
    w.messages.shown.clear();
    w.controller(engine).RunSimulation(w.state.OutputFolder, "a.v2.dat");
    EXPECT_EQ(heldDuring, (std::vector<bool>{true, true}));
    EXPECT_TRUE(w.messages.shown.empty());
    crv::platform::FolderLock after;
    EXPECT_TRUE(after.tryLock(w.state.OutputFolder) && after.held());
}
