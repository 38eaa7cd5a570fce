#include "crv/main/dialogs/qt/frm_nav_data.h"

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

using M = ManualNavaidModel;

frmNavData::frmNavData(crv::common::AppState& state, crv::platform::SettingsStore& store,
                       crv::common::MessagePresenter& presenter, QWidget* parent)
    : QDialog(parent), state_(state), store_(store), presenter_(presenter), model_(state) {
    initMainDialogsHelp();
    setObjectName(QStringLiteral("frmNavData"));
    setWindowTitle(QStringLiteral(" Manual Navaid Entry"));
    const char* captions[] = {"Identifier",      "Frequency (MHz)", "Rwy Hdg (true deg)",
                              "Latitude",        "Longitude",       "Field Elevation (ft)",
                              "SV Radius (nmi)", "SV Height (ft)",  "Airspace Case"};
    auto* grid = new QGridLayout;
    for (int k = 0; k < M::FieldCount; ++k) {
        auto* label = new QLabel(QString::fromLatin1(captions[k]), this);
        auto* e = makeBoxEdit(model_.fields(), k, presenter_, this);
        e->setObjectName(k == M::Latitude || k == M::Longitude ? QStringLiteral("mskEditBox%1").arg(k)
                                                               : QStringLiteral("txtEditBox%1").arg(k));
        labels_[static_cast<std::size_t>(k)] = label;
        edits_[static_cast<std::size_t>(k)] = e;
        grid->addWidget(label, k, 0);
        grid->addWidget(e, k, 1);
    }
    const int charWidth = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (int k : {M::Latitude, M::Longitude, M::AirspaceCase}) edit(k)->setMinimumWidth(charWidth * 17);

    auto* typeBox = new QGroupBox(QStringLiteral("Navaid Type "), this);
    auto* typeLayout = new QVBoxLayout(typeBox);
    const char* types[] = {"ILS", "TLS", "VOR", "COM"};
    for (int n = 1; n <= 4; ++n) {
        auto* o = new QRadioButton(QString::fromLatin1(types[n - 1]), typeBox);
        typeOptions_[static_cast<std::size_t>(n - 1)] = o;
        typeLayout->addWidget(o);
        connect(o, &QRadioButton::clicked, this, [this, n] {
            model_.setNavaidType(n);
            pullAll();
        });
    }
    typeOptions_[0]->setChecked(true);

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
    ok_->setObjectName(QStringLiteral("cmdOK"));
    cancel_ = buttons->add(new QPushButton(QStringLiteral("Cancel"), this), QDialogButtonBox::RejectRole);
    auto* help = buttons->add(new QPushButton(QStringLiteral("Help"), this), QDialogButtonBox::HelpRole);
    markNoValidate(cancel_);
    markNoValidate(help);  // help is read without the field being checked
    for (auto* b : {ok_, cancel_, help}) b->setAutoDefault(false);

    auto* right = new QVBoxLayout;
    right->addWidget(typeBox);
    right->addWidget(formatBox);
    right->addStretch();
    auto* top = new QHBoxLayout(this);
    top->addLayout(grid);
    top->addLayout(right);
    top->addWidget(buttons);
    top->setSizeConstraint(QLayout::SetFixedSize);

    connect(buttons, &QDialogButtonBox::accepted, this, &frmNavData::onOk);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [] { crv::common::ui::showHelp(QStringLiteral("manual_navaid")); });
    pullAll();
    crv::common::ui::PlaceForm(this);
}

void frmNavData::pullAll() {
    for (int k = 0; k < M::FieldCount; ++k) {
        pullBox(edit(k), model_.fields(), k);
        labels_[static_cast<std::size_t>(k)]->setEnabled(model_.fields().box(k).enabled);
    }
}

void frmNavData::onOk() {
    if (crv::common::ui::focusRefused()) return;
    for (int k = 0; k < static_cast<int>(edits_.size()); ++k) pushBox(edit(k), model_.fields(), k);
    const int bad = model_.accept(state_, store_, presenter_);
    pullAll();
    if (bad >= 0) {
        focusBox(edit(bad));
        return;
    }
    accept();
}

void frmNavData::ManualNavaidEntry(QWidget* parent, crv::common::AppState& state, crv::platform::SettingsStore& store,
                                   crv::common::MessagePresenter& presenter, bool& canceled) {
    frmNavData dialog(state, store, presenter, parent);
    canceled = runDialog(dialog) != QDialog::Accepted;
}

}  // namespace crv::main::qt
