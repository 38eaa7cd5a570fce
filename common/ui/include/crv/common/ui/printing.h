#pragma once
// One printer for the whole program. Without any printer installed it
// prints to a PDF file.
#include <cstdint>
#include <functional>

class QPrintDialog;
class QPrinter;
class QWidget;

namespace crv::common::ui {
QPrinter& programPrinter();

// The print set-up dialog on the program's printer. Page numbers are offered
// only when first and last are both at least 1: the limits are first..last
// and the boxes start at first..first; when the user picks a range, first
// and last become it, otherwise they stay. cancel is true when the user
// cancelled. Printer, copies, orientation and paper stay with the printer.
void SetUpPrinter(bool& cancel, std::int16_t& first, std::int16_t& last, QWidget* parent = nullptr);
// Without page numbers; false when the user cancelled.
bool SetUpPrinter(QWidget* parent = nullptr);

// Runs the dialog (tests script it); returns QDialog::Accepted or Rejected.
using PrintDialogRunner = std::function<int(QPrintDialog& dialog)>;
// Null restores exec().
void setPrintDialogRunner(PrintDialogRunner runner);
}  // namespace crv::common::ui
