#include "crv/main/dialogs/qt/box_edit.h"

#include <QApplication>
#include <QKeyEvent>

#include "crv/common/ui/qt/form_services.h"
#include "crv/common/ui/qt/lat_lon_edit.h"
#include "crv/common/ui/qt/qt_text.h"

namespace crv::main::qt {
namespace {

using crv::common::ui::fromQt;
using crv::common::ui::LatLonEdit;
using crv::common::ui::toQt;

// A box other than a position: its key filter is the model's (the check's
// kind may change with the dialog's choices, and identifiers become file names).
class BoxEdit : public FieldEdit {
public:
    BoxEdit(FieldSet& fields, int k, QWidget* parent) : FieldEdit(parent), fields_(fields), k_(k) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const QString typed = event->text();
        const auto mods = event->modifiers() & ~Qt::KeypadModifier;
        // Delete and Backspace carry a control character as their text on
        // some keyboards; they edit, they are not typed.
        const bool editKey = event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace;
        if (!editKey && typed.size() == 1 && typed[0].unicode() >= 0x20 && typed[0].unicode() != 0x7F &&
            !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            // The model decides on the box's text as it is now. A character
            // beyond Windows-1252's first page goes to it as DEL, which no
            // identifier or number box takes.
            const char16_t u = typed[0].unicode();
            std::int16_t code = static_cast<std::int16_t>(u < 0x100 ? u : 0x7F);
            pushBox(this, fields_, k_);
            switch (fields_.filterKey(k_, code, hasSelectedText())) {
                case crv::common::KeyVerdict::Passed: break;
                case crv::common::KeyVerdict::Swallowed: event->accept(); return;
                case crv::common::KeyVerdict::Rejected:
                    QApplication::beep();
                    event->accept();
                    return;
            }
        }
        // Passed: the widget's copy of the same check types it (upper-cased
        // where the check says so).
        check().kind = fields_.check(k_).kind;
        FieldEdit::keyPressEvent(event);
    }

private:
    FieldSet& fields_;
    int k_;
};

}  // namespace

void markNoValidate(QWidget* widget) { crv::common::ui::setCausesValidation(widget, false); }

bool isPositionBox(const FieldSet& fields, int k) { return fields.check(k).kind == crv::common::kFieldLatLon; }

FieldEdit* makeBoxEdit(FieldSet& fields, int k, crv::common::MessagePresenter& presenter, QWidget* parent) {
    FieldEdit* edit = nullptr;
    if (isPositionBox(fields, k)) {
        const auto& c = fields.check(k);
        edit = new LatLonEdit(c.min == 2 ? LatLonEdit::Axis::Longitude : LatLonEdit::Axis::Latitude, c.decimals,
                              &presenter, parent);
    } else {
        edit = new BoxEdit(fields, k, parent);
        edit->setFieldCheck(fields.check(k), &presenter);
        if (fields.box(k).maxLength > 0) edit->setMaxLength(fields.box(k).maxLength);
    }
    // The model's check, on the model's copy of the text; what it rewrites is shown.
    edit->setValidator([edit, &fields, k, &presenter](const QString&) {
        pushBox(edit, fields, k);
        const bool ok = fields.validate(k, presenter);
        pullBox(edit, fields, k);
        return ok;
    });
    pullBox(edit, fields, k);
    return edit;
}

void pullBox(FieldEdit* edit, const FieldSet& fields, int k) {
    const FieldBox& b = fields.box(k);
    if (auto* position = qobject_cast<LatLonEdit*>(edit)) {
        if (position->format() != fields.check(k).decimals) position->setFormat(fields.check(k).decimals);
        if (!b.mask().empty()) position->setMask(b.mask());
    }
    if (fromQt(edit->text()) != b.text()) edit->setText(toQt(b.text()));
    edit->setEnabled(b.enabled);
}

void pushBox(const FieldEdit* edit, FieldSet& fields, int k) {
    FieldBox& b = fields.box(k);
    b.setText(fromQt(edit->text()));
    if (qobject_cast<const LatLonEdit*>(edit)) b.setMask(edit->mask());
}

void focusBox(FieldEdit* edit) {
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

}  // namespace crv::main::qt
