#pragma once
// The proponent selection dialog over the FM search results.
#include <QDialog>

#include "crv/common/app_state.h"
#include "crv/common/messages.h"
#include "crv/main/dialogs/proponent_selection.h"

class QPushButton;

namespace crv::main::qt {

class SelectionList;
class TextTableModel;

class frmPropSel : public QDialog {
    Q_OBJECT
public:
    frmPropSel(ProponentList list, QWidget* parent = nullptr);

    // SelectProponent: lists "RfiSrch1.tmp" of the temporary folder, sets the
    // proponent record when a station is chosen, and deletes the file however
    // the dialog ends. An unreadable file ends it as cancelled, with a message.
    static void SelectProponent(QWidget* parent, crv::common::AppState& state,
                                crv::common::MessagePresenter& presenter, bool& canceled, bool& manual);

    SelectionList* list() const { return list_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* manualButton() const { return manual_; }
    bool manualChosen() const { return manualChosen_; }
    // The record of the selected station ("" when none).
    std::string chosenRecord() const;

private:
    void resort();

    ProponentList data_;
    std::vector<ProponentItem> shown_;
    ListSort sort_;
    SelectionList* list_ = nullptr;
    TextTableModel* model_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* manual_ = nullptr;
    bool manualChosen_ = false;
};

}  // namespace crv::main::qt
