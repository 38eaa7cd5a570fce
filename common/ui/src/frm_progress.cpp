#include "crv/common/ui/frm_progress.h"

#include <algorithm>
#include <thread>

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace crv::common::ui {

frmProgress::frmProgress(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmProgress"));
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    label_ = new QLabel(this);
    label_->setWordWrap(true);
    label_->setMinimumWidth(320);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 0);
    cancel_ = new QPushButton(tr("Cancel"), this);
    layout->addWidget(label_);
    layout->addWidget(bar_);
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
    connect(cancel_, &QPushButton::clicked, this, [this] { canceled_ = true; });
    // The pause is measured on a monotonic clock while events keep flowing.
    pause_ = [](std::chrono::milliseconds ms) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms.count()) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    };
}

frmProgress::~frmProgress() {
    if (busyCursor_) QApplication::restoreOverrideCursor();
}

void frmProgress::Initialize(const std::string& message) {
    canceled_ = false;
    label_->setText(QString::fromStdString(message));
    bar_->setVisible(true);
    bar_->setMaximum(0);
    bar_->setValue(0);
    cancel_->setEnabled(true);
    if (!busyCursor_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        busyCursor_ = true;
    }
    show();
    QApplication::processEvents();
}

void frmProgress::MaxValue(std::int32_t value) {
    bar_->setMaximum(std::max<std::int32_t>(0, value));
    bar_->setValue(std::clamp(bar_->value(), 0, bar_->maximum()));
}

void frmProgress::Value(std::int32_t value) {
    bar_->setValue(std::clamp<std::int32_t>(value, 0, bar_->maximum()));
    QApplication::processEvents();
}

bool frmProgress::Canceled() const { return canceled_; }

void frmProgress::FinalMsg(const std::string& message) {
    label_->setText(QString::fromStdString(message));
    bar_->setVisible(false);
    cancel_->setEnabled(false);
    QApplication::processEvents();
    if (pause_) pause_(std::chrono::milliseconds(1500));
}

void frmProgress::Remove() {
    if (busyCursor_) {
        QApplication::restoreOverrideCursor();
        busyCursor_ = false;
    }
    hide();
}

void frmProgress::setPause(Pause pause) { pause_ = std::move(pause); }
int frmProgress::barValue() const { return bar_->value(); }
int frmProgress::barMaximum() const { return bar_->maximum(); }
QPushButton* frmProgress::cancelButton() const { return cancel_; }

// Closing the window or pressing Escape means Cancel; the operation that owns
// the window removes it.
void frmProgress::closeEvent(QCloseEvent* event) {
    canceled_ = true;
    event->ignore();
}

void frmProgress::reject() { canceled_ = true; }

}  // namespace crv::common::ui
