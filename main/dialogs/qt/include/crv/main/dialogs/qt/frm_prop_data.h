#pragma once
// The proponent site dialog over ProponentEntryModel.
#include <array>

#include <QDialog>

#include "crv/common/ui/qt/field_edit.h"

#include "crv/main/dialogs/proponent_entry.h"

class QLabel;
class QRadioButton;
class QPushButton;

namespace crv::main::qt {

class frmPropData : public QDialog {
    Q_OBJECT
public:
    frmPropData(crv::common::AppState& state, crv::platform::SettingsStore& store,
                crv::common::MessagePresenter& presenter, bool manual, QWidget* parent = nullptr);

    // GetParams: Manual is read on entry; the other values are set only when
    // not cancelled (latitude, longitude and radius only for a database search).
    static void GetParams(QWidget* parent, crv::common::AppState& state, crv::platform::SettingsStore& store,
                          crv::common::MessagePresenter& presenter, float& latitude, float& longitude,
                          float& searchRadius, bool& manual, bool& canceled);

    ProponentEntryModel& model() { return model_; }
    crv::common::ui::FieldEdit* edit(int k) const { return edits_[static_cast<std::size_t>(k)]; }
    QRadioButton* methodOption(int n) const { return n == 2 ? manualOption_ : searchOption_; }
    QRadioButton* formatOption(int n) const { return formatOptions_[static_cast<std::size_t>(n - 1)]; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    const ProponentEntryResult& entryResult() const { return result_; }

private:
    void pullAll();
    void onOk();

    crv::common::AppState& state_;
    crv::platform::SettingsStore& store_;
    crv::common::MessagePresenter& presenter_;
    ProponentEntryModel model_;
    ProponentEntryResult result_;
    std::array<crv::common::ui::FieldEdit*, ProponentEntryModel::FieldCount> edits_{};
    std::array<QLabel*, ProponentEntryModel::FieldCount> labels_{};
    QRadioButton* searchOption_ = nullptr;
    QRadioButton* manualOption_ = nullptr;
    std::array<QRadioButton*, 3> formatOptions_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace crv::main::qt
