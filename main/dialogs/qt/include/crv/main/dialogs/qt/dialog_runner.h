#pragma once
// How the new-case dialogs are run: exec() in the program; in tests a script
// that drives the shown dialog and returns, so modal dialogs need no sleeps.
#include <functional>

class QDialog;

namespace crv::main::qt {

using DialogScript = std::function<void(QDialog& dialog)>;

// Scripts are taken front first, one per dialog shown; with none left the
// dialog runs modally as usual.
void pushDialogScript(DialogScript script);
void clearDialogScripts();
int pendingDialogScripts();

// Shows the dialog modally (or hands it to the next script) and returns its result.
int runDialog(QDialog& dialog);

// Registers the dialogs' help pages (once).
void initMainDialogsHelp();

}  // namespace crv::main::qt
