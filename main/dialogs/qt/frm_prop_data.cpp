#include "crv/main/dialogs/qt/frm_prop_data.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "crv/common/ui/qt/dialog_buttons.h"
#include "crv/common/ui/qt/form_services.h"
#include "crv/common/ui/qt/help.h"
#include "crv/common/ui/qt/lat_lon_options.h"
#include "crv/main/dialogs/qt/box_edit.h"
#include "crv/main/dialogs/qt/dialog_runner.h"

namespace crv::main::qt {

using M = ProponentEntryModel;

frmPropData::frmPropData(crv::common::AppState& state, crv::platform::SettingsStore& store,
                         crv::common::MessagePresenter& presenter, bool manual, QWidget* parent)
    : QDialog(parent), state_(state), store_(store), presenter_(presenter), model_(state, manual) {
    initMainDialogsHelp();
    setWindowTitle(QStringLiteral("Proponent Data"));
    setObjectName(QStringLiteral("frmPropData"));
    const char* captions[] = {"Identifier", "Frequency (MHz)", "Latitude",
                              "Longitude",  "Airspace Case",   "Search Radius (nmi)"};
    auto* fieldsGrid = new QGridLayout;
    for (int k = 0; k < M::FieldCount; ++k) {
        labels_[static_cast<std::size_t>(k)] = new QLabel(QString::fromLatin1(captions[k]), this);
        auto* e = makeBoxEdit(model_.fields(), k, presenter_, this);
        e->setObjectName(QStringLiteral("txtEditBox%1").arg(k));
        edits_[static_cast<std::size_t>(k)] = e;
        fieldsGrid->addWidget(labels_[static_cast<std::size_t>(k)], k, 0);
        fieldsGrid->addWidget(e, k, 1);
    }
    const int charWidth = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (int k : {M::Latitude, M::Longitude}) edit(k)->setMinimumWidth(charWidth * 16);

    auto* methodBox = new QGroupBox(QStringLiteral("Method"), this);
    searchOption_ = new QRadioButton(QStringLiteral("Database Search"), methodBox);
    manualOption_ = new QRadioButton(QStringLiteral("Manual Entry"), methodBox);
    auto* methodLayout = new QVBoxLayout(methodBox);
    methodLayout->addWidget(searchOption_);
    methodLayout->addWidget(manualOption_);

    auto* formatBox = crv::common::ui::LatLonFormatOptions(
        QStringLiteral("Lat/Lon &Format"), formatOptions_,
        [this](int n) {
            // What is typed so far is what gets re-expressed.
            for (int k = 0; k < M::FieldCount; ++k) pushBox(edit(k), model_.fields(), k);
            model_.setLatLonFormat(n);
            pullAll();
        },
        this);

    using crv::common::ui::DialogButtons;
    auto* buttons = new DialogButtons(Qt::Vertical, DialogButtons::Space::After, this);
    ok_ = buttons->add(new QPushButton(QStringLiteral("OK"), this), QDialogButtonBox::AcceptRole);
    cancel_ = buttons->add(new QPushButton(QStringLiteral("Cancel"), this), QDialogButtonBox::RejectRole);
    auto* help = buttons->add(new QPushButton(QStringLiteral("Help"), this), QDialogButtonBox::HelpRole);
    markNoValidate(cancel_);
    markNoValidate(help);  // help is read without the field being checked
    ok_->setDefault(false);
    ok_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    help->setAutoDefault(false);

    auto* right = new QVBoxLayout;
    right->addWidget(methodBox);
    right->addWidget(formatBox);
    right->addStretch();
    auto* top = new QHBoxLayout(this);
    top->addLayout(fieldsGrid);
    top->addLayout(right);
    top->addWidget(buttons);

    connect(searchOption_, &QRadioButton::clicked, this, [this] {
        model_.setMethod(false);
        pullAll();
        edit(model_.focusField())->setFocus();
    });
    connect(manualOption_, &QRadioButton::clicked, this, [this] {
        model_.setMethod(true);
        pullAll();
        edit(model_.focusField())->setFocus();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &frmPropData::onOk);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [] { crv::common::ui::showHelp(QStringLiteral("proponent_data")); });

    (model_.manual() ? manualOption_ : searchOption_)->setChecked(true);
    pullAll();
    crv::common::ui::PlaceForm(this);
}

void frmPropData::pullAll() {
    for (int k = 0; k < M::FieldCount; ++k) {
        pullBox(edit(k), model_.fields(), k);
        const bool visible = model_.fields().box(k).visible;
        edit(k)->setVisible(visible);
        labels_[static_cast<std::size_t>(k)]->setVisible(visible);
        labels_[static_cast<std::size_t>(k)]->setEnabled(model_.fields().box(k).enabled);
    }
}

void frmPropData::onOk() {
    if (crv::common::ui::focusRefused()) return;
    for (int k = 0; k < static_cast<int>(edits_.size()); ++k) pushBox(edit(k), model_.fields(), k);
    const int bad = model_.accept(state_, store_, presenter_, result_);
    pullAll();
    if (bad >= 0) {
        focusBox(edit(bad));
        return;
    }
    accept();
}

void frmPropData::GetParams(QWidget* parent, crv::common::AppState& state, crv::platform::SettingsStore& store,
                            crv::common::MessagePresenter& presenter, float& latitude, float& longitude,
                            float& searchRadius, bool& manual, bool& canceled) {
    frmPropData dialog(state, store, presenter, manual, parent);
    const bool accepted = runDialog(dialog) == QDialog::Accepted && !dialog.entryResult().Canceled;
    canceled = !accepted;
    if (!accepted) return;
    manual = dialog.entryResult().Manual;
    if (!manual) {
        latitude = dialog.entryResult().Latitude;
        longitude = dialog.entryResult().Longitude;
        searchRadius = dialog.entryResult().SearchRadius;
    }
}

}  // namespace crv::main::qt
