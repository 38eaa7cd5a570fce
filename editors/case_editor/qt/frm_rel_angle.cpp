#include "frm_rel_angle.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "crv/common/ui/qt/dialog_buttons.h"
#include "crv/common/ui/qt/form_services.h"
#include "crv/common/ui/qt/help.h"
#include "crv/common/ui/qt/message_presenter.h"
#include "crv/editors/case_editor/qt/edit_data_file.h"

static void initRelAngleHelp() { Q_INIT_RESOURCE(case_editor_help); }

namespace crv::editors {

frmRelAngle::frmRelAngle(float locAngle, float gridAngle, crv::common::MessagePresenter& presenter, QWidget* parent)
    : QDialog(parent), logic_(locAngle, gridAngle), presenter_(presenter) {
    setObjectName("frmRelAngle");
    setWindowTitle(" Relative Grid Angle");
    auto* frame = new QGroupBox("Orientation", this);
    frame->setObjectName("fraOrient");
    left_ = new QRadioButton("Left", frame);
    right_ = new QRadioButton("Right", frame);
    center_ = new QRadioButton("Center", frame);
    auto* fl = new QVBoxLayout(frame);
    fl->addWidget(left_);
    fl->addWidget(right_);
    fl->addWidget(center_);

    auto* caption = new QLabel("Angle Relative to Localizer Course", this);
    box_ = new QLineEdit(this);
    box_->setObjectName("txtRelAngle");
    box_->setMaxLength(3);
    box_->setAlignment(Qt::AlignRight);
    box_->setFixedWidth(box_->fontMetrics().horizontalAdvance("0000") + 16);
    box_->installEventFilter(this);
    up_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    down_ = new QToolButton(this);
    down_->setArrowType(Qt::DownArrow);
    auto* updown = new QVBoxLayout;
    updown->setSpacing(0);
    updown->addWidget(up_);
    updown->addWidget(down_);
    auto* angleRow = new QHBoxLayout;
    angleRow->addWidget(box_);
    angleRow->addLayout(updown);
    angleRow->addWidget(new QLabel("deg", this));
    angleRow->addStretch();

    using crv::common::ui::DialogButtons;
    auto* buttons = new DialogButtons(Qt::Vertical, DialogButtons::Space::After, this);
    auto* okButton = buttons->add(new QPushButton("OK", this), QDialogButtonBox::AcceptRole);
    okButton->setObjectName("cmdOK");
    okButton->setDefault(false);
    okButton->setAutoDefault(false);
    auto* cancelButton = buttons->add(new QPushButton("Cancel", this), QDialogButtonBox::RejectRole);
    cancelButton->setObjectName("cmdCancel");
    cancelButton->setAutoDefault(false);
    auto* helpButton = buttons->add(new QPushButton("Help", this), QDialogButtonBox::HelpRole);
    helpButton->setObjectName("cmdHelp");
    helpButton->setAutoDefault(false);

    auto* leftSide = new QVBoxLayout;
    leftSide->addWidget(frame);
    leftSide->addWidget(caption);
    leftSide->addLayout(angleRow);
    auto* all = new QHBoxLayout(this);
    all->addLayout(leftSide);
    all->addWidget(buttons);

    connect(left_, &QRadioButton::clicked, this, [this] { orient(Orientation::Left); });
    connect(right_, &QRadioButton::clicked, this, [this] { orient(Orientation::Right); });
    connect(center_, &QRadioButton::clicked, this, [this] { orient(Orientation::Center); });
    connect(up_, &QToolButton::clicked, this, [this] {
        logic_.step(1);
        refresh();
    });
    connect(down_, &QToolButton::clicked, this, [this] {
        logic_.step(-1);
        refresh();
    });
    connect(box_, &QLineEdit::textEdited, this, [this](const QString& t) { logic_.setText(t.toStdString()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &frmRelAngle::ok);
    connect(buttons, &QDialogButtonBox::rejected, this, &frmRelAngle::cancel);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [] { crv::common::ui::showHelp("rel_angle"); });
    orientationButton(logic_.orientation())->setChecked(true);
    refresh();
}

QRadioButton* frmRelAngle::orientationButton(Orientation o) const {
    return o == Orientation::Left ? left_ : o == Orientation::Right ? right_ : center_;
}

void frmRelAngle::orient(Orientation o) {
    logic_.selectOrientation(o, isVisible());
    refresh();
}

void frmRelAngle::refresh() {
    box_->setText(QString::fromStdString(logic_.text()));
    box_->setEnabled(logic_.boxEnabled());
    up_->setEnabled(logic_.boxEnabled());
    down_->setEnabled(logic_.boxEnabled());
}

bool frmRelAngle::leaveBox() {
    if (validating_) return true;
    validating_ = true;
    logic_.setText(box_->text().toStdString());
    const bool valid = logic_.validate(presenter_);
    validating_ = false;
    box_->setText(QString::fromStdString(logic_.text()));
    if (!valid) {
        box_->setFocus(Qt::OtherFocusReason);
        box_->selectAll();
    }
    return valid;
}

void frmRelAngle::ok() {
    if (!leaveBox()) return;
    canceled_ = false;
    hide();
    done(QDialog::Accepted);
}

void frmRelAngle::cancel() {
    canceled_ = true;
    done(QDialog::Rejected);
}

void frmRelAngle::reject() { cancel(); }

void frmRelAngle::closeEvent(QCloseEvent* event) {
    canceled_ = true;
    QDialog::closeEvent(event);
}

bool frmRelAngle::eventFilter(QObject* watched, QEvent* event) {
    if (watched != box_) return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        entryText_ = box_->text();
        QMetaObject::invokeMethod(
            box_,
            [this] {
                if (box_->hasFocus()) box_->selectAll();
            },
            Qt::QueuedConnection);
    } else if (event->type() == QEvent::FocusOut) {
        auto* fe = static_cast<QFocusEvent*>(event);
        if (fe->reason() != Qt::PopupFocusReason && fe->reason() != Qt::ActiveWindowFocusReason && box_->isEnabled())
            leaveBox();
    } else if (event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        switch (ke->key()) {
            case Qt::Key_Left:
            case Qt::Key_Down:
                logic_.setText(box_->text().toStdString());
                logic_.step(-1);
                refresh();
                return true;
            case Qt::Key_Up:
            case Qt::Key_Right:
                logic_.setText(box_->text().toStdString());
                logic_.step(1);
                refresh();
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter: focusNextChild(); return true;
            case Qt::Key_Escape:
                box_->setText(entryText_);
                logic_.setText(entryText_.toStdString());
                return true;
            case Qt::Key_Backspace:
            case Qt::Key_Delete:
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_Home:
            case Qt::Key_End: return false;
            default: break;
        }
        if (ke->matches(QKeySequence::Paste)) {
            // Pasted text meets the same filter as typed keys.
            for (QChar c : QGuiApplication::clipboard()->text()) {
                std::int16_t k = static_cast<std::int16_t>(c.unicode() < 128 ? c.unicode() : 0);
                if (k >= 32 && logic_.keyPress(k) == crv::common::KeyVerdict::Passed) box_->insert(QChar(k));
            }
            logic_.setText(box_->text().toStdString());
            return true;
        }
        const QString t = ke->text();
        if (t.isEmpty() || (ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) return false;
        std::int16_t k = static_cast<std::int16_t>(t.at(0).unicode() < 128 ? t.at(0).unicode() : 0);
        if (k < 32 || logic_.keyPress(k) != crv::common::KeyVerdict::Passed) {
            QApplication::beep();
            return true;
        }
        box_->insert(QChar(k));
        logic_.setText(box_->text().toStdString());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void GetGridAngle(float LocAngle, float& GridAngle, bool& Canceled, QWidget* parent) {
    initRelAngleHelp();
    frmRelAngle dialog(LocAngle, GridAngle, crv::common::ui::appPresenter(), parent);
    dialog.adjustSize();
    crv::common::ui::PlaceForm(&dialog);
    dialog.exec();
    Canceled = dialog.canceled();
    if (!Canceled) GridAngle = dialog.logic().result();
}

}  // namespace crv::editors
