#pragma once
// The progress window "Please Wait". Application-modal while shown, so no
// other window takes a click while an operation runs, but it never blocks:
// Value() lets the user interface react once, so the bar repaints and Cancel
// is seen. Cancel (or closing the window) sets Canceled and closes the window
// at once; Canceled stays true until the next Initialize. A click on Cancel
// while it is enabled counts whenever it comes, also one the operation only
// sees at FinalMsg (which then returns at once, showing no result); only
// input made while a result shows is dropped. The busy cursor is set by
// Initialize and cleared by Remove, once each however often they are called.
#include <chrono>
#include <functional>

#include <QDialog>
#include <QPointer>

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

    // True from any progress window's Initialize to its Remove: an operation
    // is running, and a command that would start another refuses.
    static bool inUse();

    // Replaces the 1.5 s pause of FinalMsg (tests).
    void setPause(Pause pause);
    int barValue() const;
    int barMaximum() const;
    QPushButton* cancelButton() const;
    QLabel* resultLabel() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool event(QEvent* event) override;

private:
    void cancel();
    void goAway();
    void handBack();
    QLabel* message1_;
    QProgressBar* bar_;
    QLabel* message2_;
    QPushButton* cancel_;
    bool canceled_ = false;
    bool busyCursor_ = false;
    bool running_ = false;
    Pause pause_;
    QPointer<QWidget> returnTo_;  // the window active before the operation
};

}  // namespace crv::common::ui
