#pragma once
// The dialogs' input boxes are the common edit fields of every window
// (FieldEdit; LatLonEdit for a position), bound to one box of the dialog
// model's FieldSet: the model's check decides when the box is left, and the
// window copies texts between the model and the box.
#include "crv/common/messages.h"
#include "crv/common/ui/qt/field_edit.h"
#include "crv/main/dialogs/field_box.h"

namespace crv::main::qt {

using crv::common::ui::FieldEdit;

// Marks a button that takes the focus without the field being checked (Cancel, Help).
void markNoValidate(QWidget* widget);

// A LatLonEdit for a position box, else a FieldEdit with the box's key filter
// (an identifier box takes only the characters a file name may hold).
FieldEdit* makeBoxEdit(FieldSet& fields, int k, crv::common::MessagePresenter& presenter, QWidget* parent);

bool isPositionBox(const FieldSet& fields, int k);
// Model to box: text, display format, mask and enabled state.
void pullBox(FieldEdit* edit, const FieldSet& fields, int k);
// Box to model.
void pushBox(const FieldEdit* edit, FieldSet& fields, int k);
// Gives the box the focus as on entry: the text selected.
void focusBox(FieldEdit* edit);

}  // namespace crv::main::qt
