#pragma once
// The report's texts and layouts of the B1 intermodulation checks: the
// Fortran-style edit descriptors the report, debugging file and plot titles
// are written with, for the two- and the three-signal check.
#include <cstddef>

#include "imod_lists.h"

namespace crv::engine::b1 {

// The texts and layouts that differ between the two- and three-signal checks.
template <std::size_t N>
struct B1Texts;

template <>
struct B1Texts<2> {
    static constexpr const char* routine = "B1_2Sig        ";
    static constexpr const char* listName = kImod2ListName;
    static constexpr const char* debugName = "B1_2Sig.dbg";
    static constexpr const char* noList =
        "(/,/,1X,'There are no 2-signal intermodulation ','combinations for this data file.')";
    static constexpr const char* heading = "(/,1X,'Evaluation of 2-signal intermodulation interference')";
    static constexpr const char* summaryHeading = "(/,1X,'2-signal intermodulation summary for above data:',/)";
    static constexpr const char* caption1 = "(1X,'Freq1   ID   Call   Freq2   ID   Call    ','IMod  Offset   #Pts')";
    static constexpr const char* caption2 = "(1X,' MHz                 MHz                 ',' MHz    kHz')";
    static constexpr const char* row = "(1X,2(F6.2,1X,I4,1X,A7,1X),F7.3,2X,I3,2X,I6)";
    static constexpr const char* splitRow = "(1X,2(F6.2,1X,I4,1X,A7,1X),F7.3,2X,I3,1X,I6,A1)";
    static constexpr const char* splitRest = "(54X,I6,A1)";
    static constexpr const char* debugCaption =
        "(5X,'DISRX  ',8X,'RAD    ',8X,'RXELEV ',8X,'NAVDBM ',8X,'PDBM(1)',/,"
        "6X,'PDBM(2)',8X,'SIG2   ',8X,'B1TH2  ',8X,'REJ(1) ',8X,'REJ(2) ',/,"
        "7X,'TL(1)  ',8X,'TL(2)  ',8X,'PCUT(1)',8X,'PCUT(2)',/,"
        "8X,'VALID/SOME2F/TRGFLG',2X,'2 X (ABFLG/CUTFLG/SITFLG)',2X,'FAIL2F')";
    static constexpr const char* debugValues = "(1X,5(E14.4,1X),/,2X,5(E14.4,1X),/,3X,4(E14.4,1X))";
    static constexpr const char* debugFlags = "(8X,3(3L1,2X),L1,/)";
    static constexpr const char* debugFileLine = "(1X,7(E14.4,1X))";
    static constexpr const char* noInterference = "(1X,'No 2-signal intermodulation interference found.')";
    static constexpr const char* noteMasked =
        "(/,1X,'Note:  Some 2-signal points masked ','by adjacent-channel / overload interference.')";
    static constexpr const char* noteSight = "(/,1X,'Note:  Some 2-signal points beyond ','line-of-site distance.')";
    static constexpr const char* noteCutoff = "(/,1X,'Note:  Some 2-signal points below ','cutoff level.')";
    static constexpr const char* noteTrigger = "(/,1X,'Note:  Some 2-signal points below ','trigger level.')";
    static constexpr const char* title1 = "('Intermodulation (B1) plot:  ',A,' (',I3,') & ',A,' (',I3,')')";
    static constexpr const char* title2 = "('Frequencies:',2(2X,A,' = ',F7.3,' MHz'))";
};

template <>
struct B1Texts<3> {
    static constexpr const char* routine = "B1_3Sig        ";
    static constexpr const char* listName = kImod3ListName;
    static constexpr const char* debugName = "B1_3Sig.dbg";
    static constexpr const char* noList =
        "(/,/,/,1X,'There are no 3-signal intermodulation ','combinations for this data file.')";
    static constexpr const char* heading = "(/,/,1X,'Evaluation of 3-signal intermodulation interference')";
    static constexpr const char* summaryHeading = "(/,1X,'3-signal intermodulation summary for above data:',/)";
    static constexpr const char* caption1 =
        "(1X,'Freq1   ID   Call   Freq2   ID   Call   ','Freq3   ID   Call    IMod  Offset   #Pts')";
    static constexpr const char* caption2 =
        "(1X,' MHz                 MHz                ',' MHz                  MHz    kHz')";
    static constexpr const char* row = "(1X,3(F6.2,1X,I4,1X,A7,1X),F7.3,2X,I3,2X,I6)";
    static constexpr const char* splitRow = "(1X,3(F6.2,1X,I4,1X,A7,1X),F7.3,2X,I3,1X,I6,A1)";
    static constexpr const char* splitRest = "(74X,I6,A1)";
    static constexpr const char* debugCaption =
        "(5X,'DISRX  ',8X,'RAD    ',8X,'RXELEV ',8X,'NAVDBM ',8X,'PDBM(1)',/,"
        "6X,'PDBM(2)',8X,'PDBM(3)',8X,'SIG3   ',8X,'B1TH3  ',8X,'REJ(1) ',/,"
        "7X,'REJ(2) ',8X,'REJ(3) ',8X,'TL(1)  ',8X,'TL(2)  ',8X,'TL(3)  ',/,"
        "8X,'PCUT(1)',8X,'PCUT(2)',8X,'PCUT(3)',/,"
        "9X,'VALID/SOME3F/TRGFLG',2X,'3 X (ABFLG/CUTFLG/SITFLG)',2X,'FAIL3F')";
    static constexpr const char* debugValues = "(1X,5(E14.4,1X),/,2X,5(E14.4,1X),/,3X,5(E14.4,1X),/,4X,3(E14.4,1X))";
    static constexpr const char* debugFlags = "(9X,4(3L1,2X),L1,/)";
    static constexpr const char* debugFileLine = "(1X,8(E14.4,1X))";
    static constexpr const char* noInterference = "(1X,'No 3-signal intermodulation interference found.')";
    static constexpr const char* noteMasked =
        "(/,1X,'Note:  Some 3-signal points masked ','by adjacent-channel / overload interference.')";
    static constexpr const char* noteSight = "(/,1X,'Note:  Some 3-signal points beyond ','line-of-site distance.')";
    static constexpr const char* noteCutoff = "(/,1X,'Note:  Some 3-signal points below ','cutoff level.')";
    static constexpr const char* noteTrigger = "(/,1X,'Note:  Some 3-signal points below ','trigger level.')";
    static constexpr const char* title1 = "('Intermod (B1) plot:  ',2(A,' (',I3,'), '),'& ',A,' (',I3,')')";
    static constexpr const char* title2 = "('Frequencies:',3(2X,A,' = ',F7.3),' MHz')";
};

}  // namespace crv::engine::b1
