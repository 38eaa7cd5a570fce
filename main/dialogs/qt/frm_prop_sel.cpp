#include "crv/main/dialogs/qt/frm_prop_sel.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "crv/common/text_utils.h"
#include "crv/common/ui/qt/dialog_buttons.h"
#include "crv/common/ui/qt/form_services.h"
#include "crv/common/ui/qt/help.h"
#include "crv/main/dialogs/qt/dialog_runner.h"
#include "crv/main/dialogs/qt/selection_list.h"
#include "crv/main/dialogs/qt/text_table_model.h"
#include "crv/platform/text_file.h"

namespace crv::main::qt {

frmPropSel::frmPropSel(ProponentList list, QWidget* parent) : QDialog(parent), data_(std::move(list)) {
    initMainDialogsHelp();
    setObjectName(QStringLiteral("frmPropSel"));
    setWindowTitle(QStringLiteral(" Proponent Selection"));
    model_ = new TextTableModel(
        kProponentHeaders,
        {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter, Qt::AlignHCenter, Qt::AlignHCenter, Qt::AlignLeft}, this);
    list_ = new SelectionList(this);
    list_->setModel(model_);
    shown_ = data_.items;
    resort();
    list_->selectRow(0);
    list_->sizeToList();

    using crv::common::ui::DialogButtons;
    auto* buttons = new DialogButtons(Qt::Horizontal, DialogButtons::Space::Before, this);
    ok_ = buttons->add(new QPushButton(QStringLiteral("OK"), this), QDialogButtonBox::AcceptRole);
    auto* cancel = buttons->add(new QPushButton(QStringLiteral("Cancel"), this), QDialogButtonBox::RejectRole);
    // Manual closes the dialog as OK does, with manual entry chosen instead of a row.
    manual_ = buttons->add(new QPushButton(QStringLiteral("Manual"), this), QDialogButtonBox::AcceptRole);
    auto* help = buttons->add(new QPushButton(QStringLiteral("Help"), this), QDialogButtonBox::HelpRole);
    for (auto* b : {ok_, cancel, manual_, help}) b->setAutoDefault(false);
    auto* top = new QVBoxLayout(this);
    top->addWidget(list_);
    top->addWidget(buttons);
    top->setSizeConstraint(QLayout::SetFixedSize);

    connect(list_, &SelectionList::headerClicked, this, [this](int column) {
        const int row = list_->selectedRow();
        const std::string key = row >= 0 ? shown_[static_cast<std::size_t>(row)].key : std::string();
        sort_.clickHeader(column);
        resort();
        for (std::size_t i = 0; i < shown_.size(); ++i)
            if (shown_[i].key == key) list_->selectRow(static_cast<int>(i));
    });
    connect(list_, &SelectionList::activatedRow, this, [this] { ok_->click(); });
    connect(ok_, &QPushButton::clicked, this, [this] {
        if (list_->selectedRow() >= 0) accept();
    });
    connect(manual_, &QPushButton::clicked, this, [this] {
        manualChosen_ = true;
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [] { crv::common::ui::showHelp(QStringLiteral("proponent_selection")); });
    crv::common::ui::PlaceForm(this);
}

void frmPropSel::resort() {
    sort_.apply(shown_);
    std::vector<TextTableModel::Row> rows;
    for (const auto& item : shown_) rows.push_back(item.columns);
    model_->setRows(std::move(rows));
}

std::string frmPropSel::chosenRecord() const {
    const int row = list_->selectedRow();
    if (row < 0) return {};
    return ProponentRecordOf(data_, shown_[static_cast<std::size_t>(row)]);
}

void frmPropSel::SelectProponent(QWidget* parent, crv::common::AppState& state,
                                 crv::common::MessagePresenter& presenter, bool& canceled, bool& manual) {
    canceled = false;
    manual = false;
    const std::string path = crv::common::AddBackslash(state.TempFolder) + "RfiSrch1.tmp";
    ProponentList list = ReadProponentList(path);
    if (!list.error.empty()) {
        presenter.present({list.error, " Proponent Selection", crv::common::MessageIcon::Exclamation,
                           crv::common::MessageButtons::Ok});
        canceled = true;
    } else {
        frmPropSel dialog(std::move(list), parent);
        if (runDialog(dialog) != QDialog::Accepted) {
            canceled = true;
        } else if (dialog.manualChosen()) {
            manual = true;
        } else {
            state.ProponentRecord = dialog.chosenRecord();
        }
    }
    // The dialog owns the result file from the moment it opens.
    crv::platform::removeFile(path);
}

}  // namespace crv::main::qt
