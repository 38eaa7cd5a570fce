#include "crv/common/ui/qt/frm_options.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "crv/common/ui/qt/dialog_buttons.h"
#include "crv/common/ui/qt/form_services.h"
#include "crv/common/ui/qt/help.h"

static void initDialogsHelp() { Q_INIT_RESOURCE(dialogs_help); }

namespace crv::common::ui {

frmOptions::frmOptions(crv::common::AppState& state, crv::platform::SettingsStore& store,
                       crv::common::MessagePresenter& presenter, QWidget* parent)
    : QDialog(parent), model_(state), store_(store), presenter_(presenter) {
    initDialogsHelp();  // the help window lists the pages it finds
    setWindowTitle(QStringLiteral("Options"));
    auto* fraResults = new QGroupBox(tr("Default Results Type"), this);
    optPlots_ = new QRadioButton(tr("Show plots first"), fraResults);
    optReports_ = new QRadioButton(tr("Show reports first"), fraResults);
    auto* results = new QVBoxLayout(fraResults);
    results->addWidget(optPlots_);
    results->addWidget(optReports_);
    auto* fraAnimation = new QGroupBox(tr("Main Screen Animation"), this);
    optAnimationOn_ = new QRadioButton(tr("Animation on"), fraAnimation);
    optAnimationOff_ = new QRadioButton(tr("Animation off"), fraAnimation);
    auto* animation = new QVBoxLayout(fraAnimation);
    animation->addWidget(optAnimationOn_);
    animation->addWidget(optAnimationOff_);

    (model_.plotsFirst ? optPlots_ : optReports_)->setChecked(true);
    (model_.animationOn ? optAnimationOn_ : optAnimationOff_)->setChecked(true);
    connect(optPlots_, &QRadioButton::toggled, this, [this](bool on) { model_.plotsFirst = on; });
    connect(optAnimationOn_, &QRadioButton::toggled, this, [this](bool on) { model_.animationOn = on; });

    auto* buttons = new DialogButtons(Qt::Vertical, DialogButtons::Space::After, this);
    ok_ = buttons->add(new QPushButton(tr("OK"), this), QDialogButtonBox::AcceptRole);
    cancel_ = buttons->add(new QPushButton(tr("Cancel"), this), QDialogButtonBox::RejectRole);
    buttons->add(new QPushButton(tr("Help"), this), QDialogButtonBox::HelpRole);
    ok_->setDefault(true);
    auto* frames = new QVBoxLayout;
    frames->addWidget(fraResults);
    frames->addWidget(fraAnimation);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(frames, 1);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (model_.accept(store_, presenter_)) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [] {
        initDialogsHelp();
        showHelp(QStringLiteral("options"));
    });
    PlaceForm(this);
}

int ShowOptions(QWidget* parent, crv::common::AppState& state, crv::platform::SettingsStore& store,
                crv::common::MessagePresenter& presenter, const std::function<int(frmOptions&)>& run) {
    frmOptions dialog(state, store, presenter, parent);
    return run ? run(dialog) : dialog.exec();
}

}  // namespace crv::common::ui
