#include "crv/main/dialogs/qt/frm_nav_sel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "crv/common/ui/qt/dialog_buttons.h"
#include "crv/common/ui/qt/form_services.h"
#include "crv/common/ui/qt/help.h"
#include "crv/common/ui/qt/qt_text.h"
#include "crv/main/dialogs/qt/dialog_runner.h"
#include "crv/main/dialogs/qt/selection_list.h"
#include "crv/main/dialogs/qt/text_table_model.h"

namespace crv::main::qt {

using crv::common::ui::toQt;

frmNavSel::frmNavSel(NavaidList list, const std::string& modelType, QWidget* parent)
    : QDialog(parent), data_(std::move(list)), scientific_(modelType == "SCI") {
    initMainDialogsHelp();
    setObjectName(QStringLiteral("frmNavSel"));
    setWindowTitle(QStringLiteral(" Navaid Selection"));
    model_ = new TextTableModel(
        kNavaidHeaders,
        {Qt::AlignLeft, Qt::AlignRight, Qt::AlignRight, Qt::AlignHCenter, Qt::AlignHCenter, Qt::AlignLeft}, this);
    list_ = new SelectionList(this);
    list_->setObjectName(QStringLiteral("lvwNavData"));
    list_->setModel(model_);
    shown_ = data_.items;
    resort();
    list_->selectRow(0);
    list_->sizeToList();

    explain_ = new QLabel(this);
    explain_->setObjectName(QStringLiteral("lblExplain"));
    if (!scientific_)
        explain_->setText(toQt(ExplainText(data_.items.size())).replace(QLatin1Char('\r'), QLatin1Char('\n')));

    using crv::common::ui::DialogButtons;
    auto* buttons = new DialogButtons(Qt::Horizontal, DialogButtons::Space::Before, this);
    ok_ = buttons->add(new QPushButton(QStringLiteral("OK"), this), QDialogButtonBox::AcceptRole);
    auto* cancel = buttons->add(new QPushButton(QStringLiteral("Cancel"), this), QDialogButtonBox::RejectRole);
    auto* help = buttons->add(new QPushButton(QStringLiteral("Help"), this), QDialogButtonBox::HelpRole);
    for (auto* b : {ok_, cancel, help}) b->setAutoDefault(false);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(explain_);
    bottom->addWidget(buttons);
    auto* top = new QVBoxLayout(this);
    top->addWidget(list_);
    top->addLayout(bottom);
    top->setSizeConstraint(QLayout::SetFixedSize);

    connect(list_, &SelectionList::headerClicked, this, [this](int column) {
        const NavaidItem* selected = selectedItem();
        const std::string key = selected ? selected->key : std::string();
        sort_.clickHeader(column);
        resort();
        for (std::size_t i = 0; i < shown_.size(); ++i)
            if (shown_[i].key == key) list_->selectRow(static_cast<int>(i));
    });
    connect(list_, &SelectionList::activatedRow, this, [this] { ok_->click(); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (selectedItem()) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [] { crv::common::ui::showHelp(QStringLiteral("navaid_selection")); });
    crv::common::ui::PlaceForm(this);
}

void frmNavSel::resort() {
    sort_.apply(shown_);
    std::vector<TextTableModel::Row> rows;
    for (const auto& item : shown_) rows.push_back(item.columns);
    model_->setRows(std::move(rows));
}

const NavaidItem* frmNavSel::selectedItem() const {
    const int row = list_->selectedRow();
    return row < 0 ? nullptr : &shown_[static_cast<std::size_t>(row)];
}

void frmNavSel::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (scientific_ && !noteShown_ && presenter_) {
        noteShown_ = true;  // once per opening, not on every activation
        QTimer::singleShot(0, this, [this] { presenter_->present(AsteriskNote()); });
    }
}

void frmNavSel::SelectNavaid(QWidget* parent, crv::common::AppState& state, crv::common::MessagePresenter& presenter,
                             const NavaidRules& rules, bool& canceled) {
    canceled = true;
    NavaidList list = ListNavaids(state.OutputFolder, state.ModelType, rules);
    // The proponent of the search comes back with the file, chosen or not.
    if (!list.proponentRecord.empty()) state.ProponentRecord = list.proponentRecord;
    if (!list.error.empty()) {
        presenter.present({list.error, kNavaidSelectionTitle, crv::common::MessageIcon::Exclamation,
                           crv::common::MessageButtons::Ok});
        return;
    }
    frmNavSel dialog(std::move(list), state.ModelType, parent);
    dialog.setPresenter(&presenter);
    if (runDialog(dialog) != QDialog::Accepted) return;
    const NavaidItem* item = dialog.selectedItem();
    if (!item) return;
    const std::size_t n = static_cast<std::size_t>(item->lineNumber);
    state.NavaidRecord = NavaidRecordOfLine(dialog.data_.facilityLines.at(n - 1), rules);
    canceled = false;
}

}  // namespace crv::main::qt
