#pragma once
// frmRelAngle: the relative grid angle dialog over RelAngleLogic.
#include <QDialog>

#include "crv/common/messages.h"
#include "crv/editors/case_editor/rel_angle.h"

class QLineEdit;
class QRadioButton;
class QToolButton;

namespace crv::editors {

class frmRelAngle : public QDialog {
    Q_OBJECT
public:
    frmRelAngle(float locAngle, float gridAngle, crv::common::MessagePresenter& presenter, QWidget* parent = nullptr);
    RelAngleLogic& logic() { return logic_; }
    bool canceled() const { return canceled_; }
    QLineEdit* angleBox() const { return box_; }
    QRadioButton* orientationButton(Orientation o) const;
    // OK: checks the angle; a refused value keeps the dialog open.
    void ok();
    void cancel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void orient(Orientation o);
    void refresh();
    bool leaveBox();

    RelAngleLogic logic_;
    crv::common::MessagePresenter& presenter_;
    QLineEdit* box_ = nullptr;
    QRadioButton* left_ = nullptr;
    QRadioButton* right_ = nullptr;
    QRadioButton* center_ = nullptr;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    QString entryText_;
    bool canceled_ = true;
    bool validating_ = false;
};

}  // namespace crv::editors
