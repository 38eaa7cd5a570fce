#pragma once
// Window helpers shared by the dialogs.
class QDialog;
class QFileDialog;
class QWidget;
class QPainter;
class QRect;
class QColor;

namespace crv::common::ui {
// Places the dialog over its parent's main window (below its caption and
// menu bar, above its status bar), kept inside the screen's work area; when
// it had to be pulled in, the main window (unless minimised) moves by the
// same amount so the dialog still sits over it. Without a parent the
// dialog is centred on the screen. Call before showing the dialog.
void PlaceForm(QDialog* dialog);
// The same for a window without a parent (an editor), placed over the main
// window that opens it; without one it is centred on the screen.
void PlaceForm(QWidget* form, QWidget* mainWindow);
// Vertical gradient between two colours over `area`.
void PaintGradient(QPainter& painter, const QRect& area, const QColor& top, const QColor& bottom);
// The plot window's background: 241 horizontal bands from blue 255 at the
// top to blue 15 at the bottom, each thick enough to leave no gap.
void PaintGradient(QPainter& painter, const QRect& area);
// Marks a widget (a Cancel or Help button) whose taking the focus does not
// check the field being left.
void setCausesValidation(QWidget* widget, bool causes);
bool causesValidation(const QWidget* widget);
// Gives Qt's own file dialog room for its columns: a size that fits the
// screen, the name column taking what the others leave. Call before exec().
void fitFileDialog(QFileDialog* dialog);
}  // namespace crv::common::ui
