#pragma once
// Window helpers shared by the dialogs.
class QDialog;
class QWidget;
class QPainter;
class QRect;
class QColor;

namespace crv::common::ui {
// Centres the dialog over its parent (or the screen), kept on screen.
void PlaceForm(QDialog* dialog);
// Vertical gradient between two colours over `area`.
void PaintGradient(QPainter& painter, const QRect& area, const QColor& top, const QColor& bottom);
}
