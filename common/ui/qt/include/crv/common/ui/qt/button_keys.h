#pragma once
// Keys every window shares for its buttons: Enter (Return or the keypad's)
// on a focused push button presses it, as Space does, whether or not the
// button is a dialog's default. The dialogs switch their buttons' default
// behaviour off, so that Enter in a field moves on instead of closing the
// dialog; without this rule Enter on a focused OK would do nothing.
class QObject;

namespace crv::common::ui {

// Installs the rule for the whole application (once; later calls do nothing).
void installButtonKeys();

}  // namespace crv::common::ui
