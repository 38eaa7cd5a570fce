#pragma once
// The progress window. Application-modal while shown, but it never blocks:
// Value() pumps events once so the bar repaints and Cancel can be clicked.
// The busy cursor is set by Initialize and cleared by Remove, once each.
#include <chrono>
#include <functional>
#include <memory>

#include <QDialog>

#include "crv/common/progress_display.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace crv::common::ui {

class frmProgress : public QDialog, public crv::common::ProgressDisplay {
    Q_OBJECT
public:
    using Pause = std::function<void(std::chrono::milliseconds)>;
    explicit frmProgress(QWidget* parent = nullptr);
    ~frmProgress() override;

    void Initialize(const std::string& message) override;
    void MaxValue(std::int32_t value) override;
    void Value(std::int32_t value) override;
    bool Canceled() const override;
    void FinalMsg(const std::string& message) override;
    void Remove() override;

    // Replaces the 1.5 s pause of FinalMsg (tests).
    void setPause(Pause pause);
    int barValue() const;
    int barMaximum() const;
    QPushButton* cancelButton() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QLabel* label_;
    QProgressBar* bar_;
    QPushButton* cancel_;
    bool canceled_ = false;
    bool busyCursor_ = false;
    Pause pause_;
};

}  // namespace crv::common::ui
