#pragma once
// The manual navaid entry dialog over ManualNavaidModel.
#include <array>

#include <QDialog>

#include "crv/common/ui/qt/field_edit.h"

#include "crv/main/dialogs/manual_navaid.h"

class QLabel;
class QRadioButton;
class QPushButton;

namespace crv::main::qt {

class frmNavData : public QDialog {
    Q_OBJECT
public:
    frmNavData(crv::common::AppState& state, crv::platform::SettingsStore& store,
               crv::common::MessagePresenter& presenter, QWidget* parent = nullptr);

    // ManualNavaidEntry: on OK the navaid record is set and the proponent record cleared.
    static void ManualNavaidEntry(QWidget* parent, crv::common::AppState& state, crv::platform::SettingsStore& store,
                                  crv::common::MessagePresenter& presenter, bool& canceled);

    ManualNavaidModel& model() { return model_; }
    crv::common::ui::FieldEdit* edit(int k) const { return edits_[static_cast<std::size_t>(k)]; }
    QRadioButton* typeOption(int n) const { return typeOptions_[static_cast<std::size_t>(n - 1)]; }
    QRadioButton* formatOption(int n) const { return formatOptions_[static_cast<std::size_t>(n - 1)]; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    void pullAll();
    void onOk();

    crv::common::AppState& state_;
    crv::platform::SettingsStore& store_;
    crv::common::MessagePresenter& presenter_;
    ManualNavaidModel model_;
    std::array<crv::common::ui::FieldEdit*, ManualNavaidModel::FieldCount> edits_{};
    std::array<QLabel*, ManualNavaidModel::FieldCount> labels_{};
    std::array<QRadioButton*, 4> typeOptions_{};
    std::array<QRadioButton*, 3> formatOptions_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace crv::main::qt
