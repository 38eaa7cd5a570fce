#pragma once
// The navaid selection dialog over the navaid search plot file.
#include <QDialog>

#include "crv/common/app_state.h"
#include "crv/main/dialogs/navaid_selection.h"

class QLabel;
class QPushButton;

namespace crv::main::qt {

class SelectionList;
class TextTableModel;

class frmNavSel : public QDialog {
    Q_OBJECT
public:
    frmNavSel(NavaidList list, const std::string& modelType, QWidget* parent = nullptr);

    // SelectNavaid: lists the first "nav@????.plt" of the output folder; the
    // proponent record of the search is restored; on OK the navaid record is
    // set. A missing or damaged file, or an empty list, ends it cancelled
    // with a message and the dialog is not shown.
    static void SelectNavaid(QWidget* parent, crv::common::AppState& state, crv::common::MessagePresenter& presenter,
                             const NavaidRules& rules, bool& canceled);

    SelectionList* list() const { return list_; }
    QLabel* explainLabel() const { return explain_; }
    QPushButton* okButton() const { return ok_; }
    const NavaidItem* selectedItem() const;
    // The scientific edition's note is shown once, when the dialog first opens.
    void setPresenter(crv::common::MessagePresenter* presenter) { presenter_ = presenter; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void resort();

    NavaidList data_;
    std::vector<NavaidItem> shown_;
    ListSort sort_;
    bool scientific_ = false;
    bool noteShown_ = false;
    crv::common::MessagePresenter* presenter_ = nullptr;
    SelectionList* list_ = nullptr;
    TextTableModel* model_ = nullptr;
    QLabel* explain_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace crv::main::qt
