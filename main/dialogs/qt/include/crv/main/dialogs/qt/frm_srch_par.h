#pragma once
// The RF-source search parameters dialog over SearchParametersModel.
#include <QDialog>

#include "crv/common/ui/qt/field_edit.h"

#include "crv/main/dialogs/search_parameters.h"

class QComboBox;
class QPushButton;

namespace crv::main::qt {

class frmSrchPar : public QDialog {
    Q_OBJECT
public:
    frmSrchPar(bool backCrs, int svType, float srchRad, const std::string& modelType,
               crv::common::MessagePresenter& presenter, QWidget* parent = nullptr);

    // GetParams: SVType and SrchRad are the proposal on entry and the choice
    // on OK; Cancel leaves them unchanged.
    static void GetParams(QWidget* parent, const std::string& modelType, crv::common::MessagePresenter& presenter,
                          bool backCrs, std::int16_t& svType, float& srchRad, bool& canceled);

    SearchParametersModel& model() { return model_; }
    QComboBox* typeList() const { return list_; }
    crv::common::ui::FieldEdit* radiusEdit() const { return radius_; }
    QPushButton* okButton() const { return ok_; }
    int chosenType() const { return type_; }
    float chosenRadius() const { return radiusValue_; }

private:
    crv::common::MessagePresenter& presenter_;
    SearchParametersModel model_;
    QComboBox* list_ = nullptr;
    crv::common::ui::FieldEdit* radius_ = nullptr;
    QPushButton* ok_ = nullptr;
    int type_ = 0;
    float radiusValue_ = 0;
};

}  // namespace crv::main::qt
