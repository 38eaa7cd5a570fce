// CRV and CRV_Sci: one main(), built once per edition.
#include <QApplication>

#include "crv/main/app/qt/program_setup.h"

#ifndef CRV_PROGRAM_SCIENTIFIC
#define CRV_PROGRAM_SCIENTIFIC 0
#endif

int main(int argc, char** argv) {
    const auto edition = CRV_PROGRAM_SCIENTIFIC ? crv::resources::Edition::Scientific : crv::resources::Edition::Field;
    crv::main::qt::prepareProcess(edition);
    QApplication app(argc, argv);
    crv::main::qt::ProgramSetup setup(edition);
    return app.exec();
}
