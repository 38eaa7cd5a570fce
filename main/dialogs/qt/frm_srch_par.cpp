#include "crv/main/dialogs/qt/frm_srch_par.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "crv/common/ui/qt/dialog_buttons.h"
#include "crv/common/ui/qt/form_services.h"
#include "crv/common/ui/qt/help.h"
#include "crv/common/ui/qt/qt_text.h"
#include "crv/main/dialogs/qt/box_edit.h"
#include "crv/main/dialogs/qt/dialog_runner.h"

namespace crv::main::qt {

using crv::common::ui::toQt;

namespace {
// The type list: Escape puts back the entry it had when it got the focus,
// Enter moves on as Tab.
class TypeList : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void focusInEvent(QFocusEvent* event) override {
        QComboBox::focusInEvent(event);
        entryIndex_ = currentIndex();
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) {
            setCurrentIndex(entryIndex_);
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            focusNextChild();
            event->accept();
            return;
        }
        QComboBox::keyPressEvent(event);
    }

private:
    int entryIndex_ = 0;
};
}  // namespace

frmSrchPar::frmSrchPar(bool backCrs, int svType, float srchRad, const std::string& modelType,
                       crv::common::MessagePresenter& presenter, QWidget* parent)
    : QDialog(parent), presenter_(presenter), model_(backCrs, svType, srchRad, modelType) {
    initMainDialogsHelp();
    setObjectName(QStringLiteral("frmSrchPar"));
    setWindowTitle(QStringLiteral(" RFI Search Parameters"));
    auto* typeLabel = new QLabel(QStringLiteral("Navaid Service Volume Type"), this);
    list_ = new TypeList(this);
    list_->setObjectName(QStringLiteral("cboSVType"));
    for (const auto& entry : model_.group().entries) list_->addItem(toQt(entry));
    list_->setCurrentIndex(model_.listIndex());
    list_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(list_, &QComboBox::currentIndexChanged, this, [this](int i) { model_.setListIndex(i); });

    auto* note = new QLabel(QString::fromLatin1(kBackCourseNote), this);
    note->setObjectName(QStringLiteral("lblBackCrs"));
    note->setWordWrap(true);
    note->setVisible(model_.backCourseNote());

    auto* radiusFrame = new QGroupBox(this);
    radiusFrame->setObjectName(QStringLiteral("fraSrchRad"));
    auto* radiusLabel = new QLabel(QStringLiteral("Search Radius (nmi)"), radiusFrame);
    radius_ = makeBoxEdit(model_.fields(), 0, presenter_, radiusFrame);
    radius_->setObjectName(QStringLiteral("txtSrchRad"));
    radius_->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000")));
    radiusLabel->setEnabled(model_.radiusEditable());
    auto* radiusLayout = new QHBoxLayout(radiusFrame);
    radiusLayout->addWidget(radiusLabel);
    radiusLayout->addWidget(radius_);
    radiusLayout->addStretch();

    using crv::common::ui::DialogButtons;
    auto* buttons = new DialogButtons(Qt::Horizontal, DialogButtons::Space::Before, this);
    ok_ = buttons->add(new QPushButton(QStringLiteral("OK"), this), QDialogButtonBox::AcceptRole);
    auto* cancel = buttons->add(new QPushButton(QStringLiteral("Cancel"), this), QDialogButtonBox::RejectRole);
    auto* help = buttons->add(new QPushButton(QStringLiteral("Help"), this), QDialogButtonBox::HelpRole);
    markNoValidate(cancel);
    markNoValidate(help);  // help is read without the field being checked
    for (auto* b : {ok_, cancel, help}) b->setAutoDefault(false);

    auto* top = new QVBoxLayout(this);
    top->addWidget(typeLabel);
    top->addWidget(list_);
    top->addWidget(note);
    top->addWidget(radiusFrame);
    top->addWidget(buttons);
    top->setSizeConstraint(QLayout::SetFixedSize);

    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (crv::common::ui::focusRefused()) return;
        pushBox(radius_, model_.fields(), 0);
        int type = 0;
        float radius = 0;
        const int bad = model_.accept(presenter_, type, radius);
        pullBox(radius_, model_.fields(), 0);
        if (bad >= 0) {
            radius_->setFocus();
            radius_->selectAll();
            return;
        }
        type_ = type;
        radiusValue_ = radius;
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [] { crv::common::ui::showHelp(QStringLiteral("search_parameters")); });
    crv::common::ui::PlaceForm(this);
}

void frmSrchPar::GetParams(QWidget* parent, const std::string& modelType, crv::common::MessagePresenter& presenter,
                           bool backCrs, std::int16_t& svType, float& srchRad, bool& canceled) {
    frmSrchPar dialog(backCrs, svType, srchRad, modelType, presenter, parent);
    canceled = runDialog(dialog) != QDialog::Accepted;
    if (canceled) return;
    svType = static_cast<std::int16_t>(dialog.chosenType());
    srchRad = dialog.chosenRadius();
}

}  // namespace crv::main::qt
