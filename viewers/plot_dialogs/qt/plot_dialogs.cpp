#include "crv/viewers/plot_dialogs/qt/plot_dialogs.h"

#include "crv/common/ui/qt/dialog_buttons.h"
#include "crv/common/ui/qt/form_services.h"
#include "crv/common/ui/qt/help.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

// The library is static: its help pages join the resources on first use.
static void initPlotDialogsHelp() { Q_INIT_RESOURCE(plot_dialogs_help); }

namespace crv::viewers {

namespace {
const char* const kSwatchMime = "application/x-corvane-swatch";

QString swatchStyle(std::uint32_t c, bool selected, bool moveMode) {
    const QString fill = QString("rgb(%1,%2,%3)").arg(c & 0xFF).arg((c >> 8) & 0xFF).arg((c >> 16) & 0xFF);
    const QString border = !selected  ? "1px solid gray"
                           : moveMode ? "3px solid palette(highlight)"
                                      : "1px dotted black";
    return QString("QToolButton { background: %1; border: %2; }").arg(fill, border);
}
}  // namespace

PlotParametersDialog::PlotParametersDialog(const common::AppState& state, QWidget* parent)
    : QDialog(parent), controller_(state), state_(state) {
    setWindowTitle("CRV Plot Parameters");
    auto* colours = new QGroupBox("Plot &Colors");
    auto* grid = new QGridLayout(colours);
    for (int k = 0; k < common::kLevelClasses; ++k) {
        swatches_[k] = new QToolButton;
        swatches_[k]->setFixedSize(48, 22);
        swatches_[k]->setFocusPolicy(Qt::StrongFocus);
        swatches_[k]->installEventFilter(this);
        swatches_[k]->setAcceptDrops(true);
        intLabels_[k] = new QLabel;
        navLabels_[k] = new QLabel;
        grid->addWidget(navLabels_[k], k, 0);
        grid->addWidget(swatches_[k], k, 1);
        grid->addWidget(intLabels_[k], k, 2);
        connect(swatches_[k], &QToolButton::pressed, this, [this, k] {
            controller_.pressSwatch(k);
            refresh();
        });
    }
    auto band = [&](const QString& title, Band b, int first) {
        auto* box = new QGroupBox(title);
        auto* g = new QGridLayout(box);
        for (int i = 0; i < 2; ++i) {
            const BandValue which = i == 0 ? BandValue::Minimum : BandValue::Increment;
            auto* s = new QSpinBox;
            s->setRange(PlotParametersController::lowest(which), PlotParametersController::highest(which));
            s->setValue(controller_.value(b, which));
            spins_[first + i] = s;
            g->addWidget(new QLabel(i == 0 ? "Minimum" : "Increment"), i, 0);
            g->addWidget(s, i, 1);
            connect(s, &QSpinBox::valueChanged, this, [this, b, which](int v) {
                controller_.setValue(b, which, v);
                refresh();
            });
        }
        return box;
    };
    auto* intFrame = band("Interference Level", Band::Interference, 0);
    navFrame_ = band("&Navaid Signal Level", Band::Navaid, 2);
    navFrame_->setVisible(controller_.navaidBandVisible());
    // Without a parent until the layout takes them, as the frames: the Tab
    // order stays the order of the layout.
    using common::ui::DialogButtons;
    auto* buttons = new DialogButtons(Qt::Vertical, DialogButtons::Space::Before);
    auto* ok = buttons->add(new QPushButton("OK"), QDialogButtonBox::AcceptRole);
    buttons->add(new QPushButton("Cancel"), QDialogButtonBox::RejectRole);
    auto* defaults = buttons->add(new QPushButton("Restore &Defaults"), QDialogButtonBox::ResetRole);
    buttons->add(new QPushButton("Help"), QDialogButtonBox::HelpRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(defaults, &QPushButton::clicked, this, [this] {
        controller_.restoreDefaults(state_);
        refresh();
    });
    connect(buttons, &QDialogButtonBox::helpRequested, this, [] {
        initPlotDialogsHelp();
        common::ui::showHelp(QStringLiteral("plot_parameters"));
    });
    auto* right = new QVBoxLayout;
    right->addWidget(intFrame);
    right->addWidget(navFrame_);
    right->addWidget(buttons);
    auto* top = new QHBoxLayout(this);
    top->addWidget(colours);
    top->addLayout(right);
    refresh();
}

QSpinBox* PlotParametersDialog::spin(Band band, BandValue which) const {
    return spins_[(band == Band::Interference ? 0 : 2) + (which == BandValue::Minimum ? 0 : 1)];
}

void PlotParametersDialog::refresh() {
    const auto ic = controller_.captions(Band::Interference);
    const auto nc = controller_.captions(Band::Navaid);
    for (int k = 0; k < common::kLevelClasses; ++k) {
        intLabels_[k]->setText(QString::fromStdString(ic[k]));
        navLabels_[k]->setText(QString::fromStdString(nc[k]));
        navLabels_[k]->setVisible(controller_.navaidBandVisible());
        swatches_[k]->setStyleSheet(
            swatchStyle(controller_.colour(k), controller_.selected() == k, controller_.moveMode()));
    }
    for (Band b : {Band::Interference, Band::Navaid})
        for (BandValue w : {BandValue::Minimum, BandValue::Increment}) {
            QSpinBox* s = spin(b, w);
            if (s->value() != controller_.value(b, w)) {
                const QSignalBlocker block(s);
                s->setValue(controller_.value(b, w));
            }
        }
}

void PlotParametersDialog::dropSwatchOnto(int from, int to) {
    if (from < 0 || from >= common::kLevelClasses || from == to) return;
    controller_.dropSwatch(from, to);
    swatches_[to]->setFocus();
    refresh();
}

bool PlotParametersDialog::eventFilter(QObject* watched, QEvent* event) {
    int k = -1;
    for (int i = 0; i < common::kLevelClasses; ++i)
        if (watched == swatches_[i]) k = i;
    if (k < 0) return QDialog::eventFilter(watched, event);
    // Dragging a swatch onto another exchanges their colours.
    if (event->type() == QEvent::MouseMove && (static_cast<QMouseEvent*>(event)->buttons() & Qt::LeftButton)) {
        auto* drag = new QDrag(swatches_[k]);
        auto* mime = new QMimeData;
        mime->setData(kSwatchMime, QByteArray::number(k));
        drag->setMimeData(mime);
        drag->exec(Qt::MoveAction);
        return true;
    }
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* e = static_cast<QDropEvent*>(event);
        if (e->mimeData()->hasFormat(kSwatchMime)) e->acceptProposedAction();
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto* e = static_cast<QDropEvent*>(event);
        if (!e->mimeData()->hasFormat(kSwatchMime)) return true;
        dropSwatchOnto(e->mimeData()->data(kSwatchMime).toInt(), k);
        e->acceptProposedAction();
        return true;
    }
    if (event->type() == QEvent::FocusIn) {
        controller_.focusSwatch(k);
        refresh();
    } else if (event->type() == QEvent::FocusOut) {
        QWidget* next = QApplication::focusWidget();
        if (std::find(swatches_.begin(), swatches_.end(), next) == swatches_.end()) {
            controller_.focusLeftSwatches();
            refresh();
        }
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (controller_.selected() != k) controller_.focusSwatch(k);
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            controller_.toggleMoveMode();
            refresh();
            return true;
        }
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            const int now = controller_.arrowOnSwatch(key == Qt::Key_Up ? -1 : +1);
            if (now >= 0) swatches_[now]->setFocus();
            refresh();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool ModifyParameters(common::AppState& state, platform::SettingsStore& store, QWidget* parent,
                      const std::function<int(PlotParametersDialog&)>& run) {
    PlotParametersDialog dialog(state, parent);
    common::ui::PlaceForm(&dialog);
    const int result = run ? run(dialog) : dialog.exec();
    if (result != QDialog::Accepted) return false;
    auto changed = ApplyPlotParameters(dialog.controller(), state, store);
    return changed && *changed;
}

DisplayOptionsDialog::DisplayOptionsDialog(const DisplaySettings& asked, QWidget* parent) : QDialog(parent) {
    setWindowTitle(" Display Options");
    const DisplayOptionsLayout layout = layoutFor(asked);
    auto pair = [&](int i, const char* title, const char* a, const char* b, QRadioButton*& second) {
        frames_[i] = new QGroupBox(title);
        auto* v = new QVBoxLayout(frames_[i]);
        auto* first = new QRadioButton(a);
        second = new QRadioButton(b);
        first->setChecked(true);
        v->addWidget(first);
        v->addWidget(second);
    };
    pair(0, "Destination", "Screen", "Printer", printer_);
    pair(1, "Field Strength", "Linear Scale", "dB Scale", decibels_);
    pair(2, "Plot Type", "Rectangular", "Polar", polar_);
    frames_[0]->setVisible(layout.showDestination);
    frames_[1]->setVisible(layout.showFieldStrength);
    frames_[2]->setVisible(layout.showPlotType);
    auto* left = new QVBoxLayout;
    for (auto* f : frames_) left->addWidget(f);
    left->addStretch();
    using common::ui::DialogButtons;
    auto* buttons = new DialogButtons(Qt::Vertical, DialogButtons::Space::After);
    buttons->add(new QPushButton("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->add(new QPushButton("Cancel"), QDialogButtonBox::RejectRole);
    buttons->add(new QPushButton("Help"), QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [] { common::ui::showHelp(QString()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* top = new QHBoxLayout(this);
    top->addLayout(left);
    top->addWidget(buttons);
}

DisplaySettings DisplayOptionsDialog::chosen() const {
    return {printer_->isChecked(), decibels_->isChecked(), polar_->isChecked()};
}

void GetSettings(bool& canceled, DisplaySettings& settings, QWidget* parent,
                 const std::function<int(DisplayOptionsDialog&)>& run) {
    DisplayOptionsDialog dialog(settings, parent);
    dialog.adjustSize();
    common::ui::PlaceForm(&dialog);
    const int result = run ? run(dialog) : dialog.exec();
    canceled = result != QDialog::Accepted;
    settings = settingsAfter(canceled, settings, dialog.chosen());
}

}  // namespace crv::viewers
