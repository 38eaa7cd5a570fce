#include "crv/main/dialogs/qt/dialog_runner.h"

#include <deque>

#include <QCoreApplication>
#include <QDialog>

static void initHelpResource() { Q_INIT_RESOURCE(main_dialogs_help); }

namespace crv::main::qt {

namespace {
std::deque<DialogScript>& scripts() {
    static std::deque<DialogScript> s;
    return s;
}
}  // namespace

void pushDialogScript(DialogScript script) { scripts().push_back(std::move(script)); }
void clearDialogScripts() { scripts().clear(); }
int pendingDialogScripts() { return static_cast<int>(scripts().size()); }

int runDialog(QDialog& dialog) {
    if (scripts().empty()) return dialog.exec();
    DialogScript script = std::move(scripts().front());
    scripts().pop_front();
    dialog.setModal(true);
    dialog.show();
    QCoreApplication::processEvents();
    dialog.activateWindow();
    script(dialog);
    // A script that left the dialog open cancels it, as the close box would.
    if (dialog.isVisible()) dialog.reject();
    return dialog.result();
}

void initMainDialogsHelp() {
    static bool done = false;
    if (!done) {
        initHelpResource();
        done = true;
    }
}

}  // namespace crv::main::qt
