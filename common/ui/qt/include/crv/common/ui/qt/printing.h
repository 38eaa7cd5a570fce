#pragma once
// One printer for the whole program. Without any printer installed it
// prints to a PDF file.
#include <cstdint>
#include <functional>

#include <QString>
#include <QStringList>

namespace crv::common {
class MessagePresenter;
}
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

// Print jobs to a PDF file (the machine has no printer) write the file the
// user chose in the print set-up. When one job holds several documents (Run,
// Print Results prints the report and every plot), the first is the chosen
// file and each later one is written beside it as "NAME (2).pdf",
// "NAME (3).pdf"..., never over a file that is already there.
// Names the next document's file on `printer` and returns it; empty when
// the printer is a real one.
QString nextPrintFile(QPrinter& printer);
// The files written since the last print set-up, in order; the list is
// emptied.
QStringList takePrintedFiles();
// Tells the user (through `presenter`) where the job's PDF
// output went, then empties the list; says nothing when no file was written.
void reportPrintedFiles(crv::common::MessagePresenter& presenter);

// Runs the dialog (tests script it); returns QDialog::Accepted or Rejected.
using PrintDialogRunner = std::function<int(QPrintDialog& dialog)>;
// Null restores exec().
void setPrintDialogRunner(PrintDialogRunner runner);
}  // namespace crv::common::ui
