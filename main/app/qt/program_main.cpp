// CRV and CRV_Sci: one main(), built once per edition.
#include <cstdlib>

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

#include "crv/common/ui/message_presenter.h"
#include "crv/main/app/qt/program.h"
#include "program_wiring.h"
#ifdef CRV_HAVE_RUN_CONTROLLER
#include "crv/binding/engine_library.h"
#include "crv/main/app/qt/run_wiring.h"
#endif

#ifndef CRV_PROGRAM_SCIENTIFIC
#define CRV_PROGRAM_SCIENTIFIC 0
#endif

int main(int argc, char** argv) {
    const auto edition =
        CRV_PROGRAM_SCIENTIFIC ? crv::resources::Edition::Scientific : crv::resources::Edition::Field;
    // The engine prefers this over the shared settings, so two editions
    // running side by side each run the engine in their own mode.
    const std::string code = crv::main::qt::editionCodeOf(edition);
    ::setenv("CRV_EDITION", code.c_str(), 1);

    QApplication app(argc, argv);
    const auto identity = crv::resources::identityOf(edition);
    QApplication::setApplicationName(QString::fromLatin1(identity.title.c_str()));
    if (QFontDatabase::families().contains(QStringLiteral("Liberation Sans")))
        QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 9));
    crv::common::MessagePresenter& presenter = crv::common::ui::installQtMessagePresenter();

    crv::main::qt::Program program(edition, presenter);
#ifdef CRV_HAVE_RUN_CONTROLLER
    crv::main::qt::RunWiring run(program, crv::binding::sharedEngine());
#endif
    crv::main::qt::wireEditorsAndViewers(program);
    program.start();
    return app.exec();
}
