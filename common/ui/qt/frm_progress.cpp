#include "crv/common/ui/qt/frm_progress.h"

#include <algorithm>
#include <functional>

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "crv/common/ui/qt/form_services.h"
#include "crv/common/ui/qt/qt_text.h"
#include "crv/common/ui/qt/window_focus.h"

namespace crv::common::ui {
namespace {

int running = 0;  // progress windows between Initialize and Remove

// A precise timer: it runs on a monotonic clock, whatever the time of day
// does meanwhile, and does not go off early as a coarse one may.
void startLimit(QTimer& timer, std::chrono::milliseconds length) {
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    timer.start(length);
}

// Repaints go on; the pause ends when its time is up. Input is thrown away
// meanwhile (see InputDiscarder).
void pauseShowing(std::chrono::milliseconds length) {
    QEventLoop loop;
    QTimer end;
    QObject::connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
    startLimit(end, length);
    loop.exec();
}

// Handles events as they come until `done` holds or `limit` has passed.
// Whatever ends the wait (a release, a drag off the button, the window
// hidden) reaches `watched` as an event; `done` is looked at once that event
// has been handled.
class WaitUntil : public QObject {
public:
    WaitUntil(QObject* watched, std::function<bool()> done) : watched_(watched), done_(std::move(done)) {}

    void run(std::chrono::milliseconds limit) {
        if (done_()) return;
        QTimer end;
        connect(&end, &QTimer::timeout, &loop_, &QEventLoop::quit);
        startLimit(end, limit);
        watched_->installEventFilter(this);
        loop_.exec();
        watched_->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent*) override {
        if (!checkPosted_) {
            checkPosted_ = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    checkPosted_ = false;
                    if (done_()) loop_.quit();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    QObject* watched_;
    std::function<bool()> done_;
    QEventLoop loop_;
    bool checkPosted_ = false;
};

// While a result is shown, a click or key is not held back for later: held
// back, a click on the greyed Cancel would cancel the next step the moment its
// Cancel is enabled. Input arriving during the pause is taken and dropped.
class InputDiscarder : public QObject {
public:
    explicit InputDiscarder(QWidget* window) : window_(window) { qApp->installEventFilter(this); }
    ~InputDiscarder() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::Shortcut:
            case QEvent::Wheel:
            case QEvent::ContextMenu:
            case QEvent::TouchBegin:
            case QEvent::TouchUpdate:
            case QEvent::TouchEnd: return true;
            case QEvent::Close:
                // The window frame's close box is input too.
                if (watched == window_) {
                    event->ignore();
                    return true;
                }
                return false;
            default: return false;
        }
    }

private:
    QWidget* window_;
};

// A progress text as the labels show it: a carriage return is a line break
// (the step texts put the case name and the step on lines of their own), file
// names are the system's, and a long path may break after any "/" so that it
// wraps inside the window instead of widening it past the screen.
QString labelText(const std::string& message) {
    QString text = displayToQt(message);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('/'), QStringLiteral("/\u200B"));
    return text;
}

}  // namespace

frmProgress::frmProgress(QWidget* parent) : QDialog(parent), pause_(pauseShowing) {
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(tr("Please Wait"));
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    // The window takes the size of its texts each time they change, so no
    // line is clipped or covered by the next label.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    const int em = fontMetrics().horizontalAdvance(QLatin1Char('M'));
    message1_ = new QLabel(this);
    message1_->setObjectName(QStringLiteral("lblMessage1"));
    message1_->setWordWrap(true);
    message1_->setMinimumWidth(320);
    message1_->setMaximumWidth(em * 40);
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("pbProgBar"));
    bar_->setRange(0, 100);
    message2_ = new QLabel(this);
    message2_->setObjectName(QStringLiteral("lblMessage2"));
    message2_->setWordWrap(true);
    message2_->setMaximumWidth(em * 40);
    message2_->hide();
    cancel_ = new QPushButton(tr("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("cmdCancel"));
    layout->addWidget(message1_);
    layout->addWidget(bar_);
    layout->addWidget(message2_);
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
    connect(cancel_, &QPushButton::clicked, this, &frmProgress::cancel);
}

frmProgress::~frmProgress() {
    if (busyCursor_) QApplication::restoreOverrideCursor();
    if (running_) --running;
}

bool frmProgress::inUse() { return running > 0; }

void frmProgress::Initialize(const std::string& message) {
    if (!busyCursor_) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        busyCursor_ = true;
    }
    if (!running_) {
        running_ = true;
        ++running;
    }
    canceled_ = false;
    message1_->setText(labelText(message));
    message2_->hide();
    bar_->show();
    cancel_->setEnabled(true);
    if (!isVisible()) {
        PlaceForm(this);
        show();
    }
    if (QWidget* active = QApplication::activeWindow(); active && active != this) returnTo_ = active;
    raise();
    activateWindow();
    bar_->setValue(0);
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
    // Input made while Cancel was enabled belongs to the step that just
    // ended: it is delivered first, before Cancel greys out. A click is a
    // press and a release; a step that ends between the two still gets its
    // click, so a press on the enabled Cancel waits for its release (as long
    // as the pause would last at most). A Cancel seen here closes the window
    // at once, and the operation reads Canceled as after any other Cancel.
    QApplication::processEvents();
    WaitUntil(cancel_, [this] { return !cancel_->isDown() || canceled_; }).run(std::chrono::milliseconds(1500));
    if (canceled_) return;
    message2_->setText(labelText(message));
    message2_->show();
    bar_->hide();
    cancel_->setEnabled(false);
    repaint();
    const InputDiscarder discard(this);
    QApplication::processEvents();
    if (pause_) pause_(std::chrono::milliseconds(1500));
    QApplication::processEvents();  // what came in at the very end goes too
}

void frmProgress::Remove() {
    if (busyCursor_) {
        QApplication::restoreOverrideCursor();
        busyCursor_ = false;
    }
    if (running_) {
        running_ = false;
        --running;
    }
    goAway();
    returnTo_.clear();
    bar_->setMaximum(100);  // as the window is loaded, for the next operation
    bar_->setValue(0);
}

void frmProgress::setPause(Pause pause) { pause_ = std::move(pause); }
int frmProgress::barValue() const { return bar_->value(); }
int frmProgress::barMaximum() const { return bar_->maximum(); }
QPushButton* frmProgress::cancelButton() const { return cancel_; }
QLabel* frmProgress::resultLabel() const { return message2_; }

// Cancel, Escape and the window frame all mean Cancel: the flag is set and
// the window goes at once; the operation sees the flag and calls Remove.
void frmProgress::cancel() {
    canceled_ = true;
    goAway();
}

// Under a window manager the activation of a window shown for a moment (a
// plot page built in a second) may arrive after the window has gone; every
// key then went to the vanished window instead of the one the user works in.
// The window the operation started from is asked to be active again.
void frmProgress::goAway() {
    if (!isVisible()) return;
    hide();
    handBack();
}

void frmProgress::handBack() {
    // The window active before the operation, or the one the progress window
    // belongs to when that one has been hidden meanwhile.
    QWidget* back = returnTo_ && returnTo_->isVisible() ? returnTo_.data() : nullptr;
    if (!back && parentWidget() && parentWidget()->window()->isVisible()) back = parentWidget()->window();
    // Else the window the user sees (the plot window the main window opened).
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (back) break;
        const Qt::WindowType type = w->windowType();
        if (w != this && w->isVisible() && (type == Qt::Window || type == Qt::Dialog)) back = w;
    }
    if (!back) return;
    giveKeyboardTo(back);
    // Once more when the hiding has gone through the window system.
    QPointer<QWidget> later(back);
    QMetaObject::invokeMethod(
        qApp,
        [later, self = QPointer<frmProgress>(this)] {
            if (later && later->isVisible() && (!self || !self->isVisible()) && !later->isActiveWindow())
                giveKeyboardTo(later);
        },
        Qt::QueuedConnection);
}

bool frmProgress::event(QEvent* event) {
    // An activation that arrives once the window has gone goes on to the
    // window the user works in.
    if (event->type() == QEvent::WindowActivate && !isVisible())
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!isVisible() && isActiveWindow()) handBack();
            },
            Qt::QueuedConnection);
    return QDialog::event(event);
}

void frmProgress::closeEvent(QCloseEvent* event) {
    canceled_ = true;
    event->accept();
}

void frmProgress::reject() { cancel(); }

}  // namespace crv::common::ui
