#include "crv/main/app/qt/program_setup.h"

#include <malloc.h>

#include <cstdlib>
#include <string>

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

#include "crv/binding/engine_library.h"
#include "crv/common/ui/qt/button_keys.h"
#include "crv/common/ui/qt/keep_on_screen.h"
#include "crv/common/ui/qt/message_presenter.h"
#include "crv/main/app/qt/program.h"
#include "crv/main/app/qt/program_wiring.h"
#include "crv/main/app/qt/run_wiring.h"

namespace crv::main::qt {

namespace {
constexpr int kMapThresholdBytes = 128 * 1024;  // the allocator's own start value
}  // namespace

void prepareProcess(crv::resources::Edition edition) {
    // A fixed threshold above which the allocator maps memory of its own:
    // left to itself it raises the threshold each time a mapped block is
    // freed, and after one run of a large case the next run's arrays of up to
    // 32 MB came from the heap, where the gaps they left kept hundreds of
    // megabytes resident long after the run.
    ::mallopt(M_MMAP_THRESHOLD, kMapThresholdBytes);
    // The engine prefers this over the shared settings, so two editions
    // running side by side each run the engine in their own mode.
    const std::string code = editionCodeOf(edition);
    ::setenv("CRV_EDITION", code.c_str(), 1);
}

struct ProgramSetup::Parts {
    std::unique_ptr<Program> program;
    std::unique_ptr<RunWiring> run;
};

ProgramSetup::ProgramSetup(crv::resources::Edition edition) : parts_(std::make_unique<Parts>()) {
    const auto identity = crv::resources::identityOf(edition);
    QApplication::setApplicationName(QString::fromLatin1(identity.title.c_str()));
    if (QFontDatabase::families().contains(QStringLiteral("Liberation Sans")))
        QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 9));
    // The editors and viewers hide the main window while they run, so the
    // last visible window closing says nothing about the program's end:
    // only the main window's own close does. Qt's event-loop lockers
    // (dialogs, the window system's helpers) would otherwise still ask to
    // quit whenever no window happens to be visible.
    QApplication::setQuitOnLastWindowClosed(false);
    QCoreApplication::setQuitLockEnabled(false);
    crv::common::MessagePresenter& presenter = crv::common::ui::installQtMessagePresenter();
    crv::common::ui::installButtonKeys();
    crv::common::ui::installKeepOnScreen();

    parts_->program = std::make_unique<Program>(edition, presenter);
    Program& program = *parts_->program;
    parts_->run = std::make_unique<RunWiring>(program, crv::binding::sharedEngine());
    wireEditorsAndViewers(program);
    // Queued, so the window finishes its close (and the savers their work)
    // before the event loop ends.
    QObject::connect(&program.window(), &frmMainMenu::closed, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    program.start();
}

ProgramSetup::~ProgramSetup() = default;

Program& ProgramSetup::program() { return *parts_->program; }

}  // namespace crv::main::qt
