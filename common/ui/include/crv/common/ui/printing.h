#pragma once
// One printer for the whole program. SetUpPrinter shows the print setup
// dialog on it; without any printer it prints to a PDF file.
class QPrinter;
class QWidget;

namespace crv::common::ui {
QPrinter& programPrinter();
// Returns false when the user cancelled.
bool SetUpPrinter(QWidget* parent = nullptr);
}
