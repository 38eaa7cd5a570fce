#include "crv/viewers/plot_window/qt/frm_plot_screen.h"

#include "crv/common/drawing/qt/qt_output.h"
#include "crv/common/error_report.h"
#include "crv/common/text_utils.h"
#include "crv/common/ui/qt/form_services.h"
#include "crv/common/ui/qt/frm_progress.h"
#include "crv/common/ui/qt/help.h"
#include "crv/common/ui/qt/message_presenter.h"
#include "crv/common/ui/qt/printing.h"
#include "crv/viewers/plot_dialogs/qt/plot_dialogs.h"
#include "crv/viewers/plot_window/qt/print_job.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <set>

static void initPlotWindowHelp() { Q_INIT_RESOURCE(plot_window_help); }

namespace crv::viewers {

using namespace crv::common;

namespace {
// Designed sizes of the window, in pixels of a 96 dpi screen (twips / 15).
constexpr int kMargin = 16;            // 240 twips
constexpr int kPlotButtonWidth = 72;   // 1080 twips
constexpr int kPlotButtonHeight = 24;  // 360 twips
constexpr double kPageAspect = 1.308641975308642;
}  // namespace

// The gradient, the frame line and the page's drop shadow.
class PlotBackground : public QWidget {
public:
    explicit PlotBackground(frmPlotScreen* window) : QWidget(window), window_(window) { setMouseTracking(true); }
    QWidget* page = nullptr;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        ui::PaintGradient(p, rect(), QColor(0, 0, 160), QColor(0, 0, 40));
        p.setPen(QPen(palette().color(QPalette::WindowText), 3));
        p.drawRect(QRect(QPoint(3, 3), QPoint(width() - 4, height() - 4)));
        if (page) p.fillRect(page->geometry().translated(kMargin / 4, kMargin / 4), QColor(40, 40, 40));
    }
    void mouseMoveEvent(QMouseEvent*) override { window_->mouseOutsidePage(); }

private:
    frmPlotScreen* window_;
};

// The page picture: the current page's screen drawing, or a blank page.
class PlotPageView : public QWidget {
public:
    explicit PlotPageView(frmPlotScreen* window) : QWidget(), window_(window) { setMouseTracking(true); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        const PlotWindowController& c = window_->controller_;
        if (c.CurrentPlot() >= 1 && c.currentPage().Built) p.drawImage(0, 0, window_->pictureOf(c.CurrentPlot()));
    }
    void mouseMoveEvent(QMouseEvent* e) override { window_->mouseOverPage(e->position().toPoint()); }
    void leaveEvent(QEvent*) override { window_->mouseOutsidePage(); }
    void mouseReleaseEvent(QMouseEvent* e) override {
        const PlotWindowController& c = window_->controller_;
        if (e->button() == Qt::RightButton && c.CurrentPlot() >= 1 && c.currentPage().Built && !c.busy())
            window_->contextMenuAt(false, e->globalPosition().toPoint());
    }

private:
    frmPlotScreen* window_;
};

frmPlotScreen::frmPlotScreen(const PlotWindowServices& services, QWidget* parent)
    : QMainWindow(parent), services_(services) {
    initPlotWindowHelp();
    setObjectName("frmPlotScreen");
    setWindowTitle(" CRV Plot");

    fileMenu_ = menuBar()->addMenu("&File");
    fileMenu_->addAction("&Open", QKeySequence("Ctrl+O"), this, [this] { FileOpen(); });
    fileMenu_->addAction("&Save to File", this, [this] { SavePlotPage(controller_.CurrentPlot()); });
    fileMenu_->addAction("&Print", QKeySequence("Ctrl+P"), this, [this] { PrintCommand(controller_.CurrentPlot()); });
    fileMenu_->addAction("E&xit", QKeySequence("Ctrl+Q"), this, [this] { Exit(); });
    editMenu_ = menuBar()->addMenu("&Edit");
    editMenu_->addAction("&Copy to Clipboard", this, [this] { CopyPlotPage(controller_.CurrentPlot()); });
    editMenu_->addAction("Plot &Parameters", this, [this] { PlotParameters(); });
    legendMenu_ = menuBar()->addMenu("&Legend");
    legendShow_ = legendMenu_->addAction("&Show", this, [this] { LegendShow(); });
    legendHideAct_ = legendMenu_->addAction("&Hide", this, [this] { LegendHide(); });
    legendHideAct_->setVisible(false);
    legendMenu_->addAction("&Print", this, [this] { PrintCommand(0); });
    legendMenu_->addAction("Save to File", this, [this] {
        if (controller_.ensureLegend([this](int n) { return build(n); }, presenter())) SavePlotPage(0);
    });
    legendMenu_->addAction("Copy to Clipboard", this, [this] {
        if (controller_.ensureLegend([this](int n) { return build(n); }, presenter())) CopyPlotPage(0);
    });
    menuBar()->addAction("&Help", this, [] { ui::showHelp(QStringLiteral("plot_window")); });

    context_ = new QMenu("PlotContext", this);
    context_->addAction("Print", this, [this] { PrintCommand(contextOnLegend_ ? 0 : controller_.CurrentPlot()); });
    context_->addAction("Save to File", this, [this] {
        if (contextOnLegend_) {
            if (controller_.ensureLegend([this](int n) { return build(n); }, presenter())) SavePlotPage(0);
        } else {
            SavePlotPage(controller_.CurrentPlot());
        }
    });
    context_->addAction("Copy to Clipboard", this, [this] {
        if (contextOnLegend_) {
            if (controller_.ensureLegend([this](int n) { return build(n); }, presenter())) CopyPlotPage(0);
        } else {
            CopyPlotPage(controller_.CurrentPlot());
        }
    });
    ctxHideLegend_ = context_->addAction("Hide Legend", this, [this] { LegendHide(); });
    ctxHideLegend_->setVisible(false);

    auto* bg = new PlotBackground(this);
    background_ = bg;
    view_ = new PlotPageView(this);
    bg->page = view_;
    prev_ = new QPushButton("Previous");
    next_ = new QPushButton("Next");
    exit_ = new QPushButton("Exit");
    for (QPushButton* b : {prev_, next_, exit_}) {
        b->setFixedSize(kPlotButtonWidth, kPlotButtonHeight);
        b->installEventFilter(this);
    }
    connect(prev_, &QPushButton::clicked, this, [this] { cmdPrev_Click(); });
    connect(next_, &QPushButton::clicked, this, [this] { cmdNext_Click(); });
    connect(exit_, &QPushButton::clicked, this, [this] { Exit(); });
    // The page centred across the whole width; the buttons stacked at the
    // lower right in the space beside it.
    auto* grid = new QGridLayout(bg);
    grid->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    grid->addWidget(view_, 0, 1, Qt::AlignCenter);
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(kMargin);
    buttons->addStretch();
    for (QPushButton* b : {prev_, next_, exit_}) buttons->addWidget(b, 0, Qt::AlignRight);
    grid->addLayout(buttons, 0, 2);
    setCentralWidget(bg);

    legend_ = new QLabel(bg);
    legend_->setObjectName("picLegend");
    legend_->setFrameShape(QFrame::Box);
    legend_->setScaledContents(false);
    legend_->hide();
    legend_->installEventFilter(this);

    for (int i = 0; i < 4; ++i) {
        status_[i] = new QLabel;
        status_[i]->setFrameShape(QFrame::Panel);
        status_[i]->setFrameShadow(QFrame::Sunken);
        statusBar()->addWidget(status_[i]);
    }
    statusBar()->setSizeGripEnabled(false);
    layoutWindow();
}

frmPlotScreen::~frmPlotScreen() = default;

QWidget* frmPlotScreen::pageView() const { return view_; }

void frmPlotScreen::layoutWindow() {
    // 98% of the work area's height; the page as tall as the client area
    // allows, in the page's proportions; at least 92% of its width.
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect work = s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
    const int caption = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const int clientH = static_cast<int>(std::lround(0.98 * work.height())) - caption;
    const int avail = clientH - menuBar()->sizeHint().height() - statusBar()->sizeHint().height();
    const int p = std::max(100, avail - 2 * kMargin);
    const int q = static_cast<int>(std::lround(p / kPageAspect));
    const int w =
        std::max(static_cast<int>(std::lround(0.92 * work.width())), q + 2 * (2 * kMargin + kPlotButtonWidth + 4));
    view_->setFixedSize(q, p);
    legend_->setFixedSize(static_cast<int>(std::lround(0.625 * q)), static_cast<int>(std::lround(0.625 * p)));
    setFixedSize(w, clientH);
    legend_->move(w - legend_->width() - kMargin / 4, kMargin / 4);
    sizeStatusPanels();
    blank_ = QImage();
}

// Status panels as shares of the width, the readout getting the most; the
// file and page panels always wide enough for their texts (the readout gives
// up what they need), the folder shortened to its panel.
void frmPlotScreen::sizeStatusPanels() {
    const int bar = width() - 24;
    const auto fits = [](const QLabel* panel) {
        const QFontMetricsF fm(panel->font());
        const QMargins m = panel->contentsMargins();
        return static_cast<int>(std::ceil(fm.horizontalAdvance(panel->text()))) + m.left() + m.right() +
               2 * panel->margin() + 8;
    };
    const int file = std::max(static_cast<int>(bar * 0.17), fits(status_[1]));
    const int plot = std::max(static_cast<int>(bar * 0.12), fits(status_[3]));
    const int folder = static_cast<int>(bar * 0.26);
    status_[0]->setFixedWidth(std::max(40, bar - file - folder - plot));
    status_[1]->setFixedWidth(file);
    status_[2]->setFixedWidth(folder);
    status_[3]->setFixedWidth(plot);
}

// Pages are drawn in device pixels: on a screen scaled by 1.5 a page drawn
// at its size in logical pixels and scaled up would blur small labels into
// each other.
static PlotSurface deviceSurface(const QWidget* w) {
    const double ratio = w->devicePixelRatioF();
    return {static_cast<int>(std::lround(w->width() * ratio)), static_cast<int>(std::lround(w->height() * ratio))};
}
PlotSurface frmPlotScreen::pageSurface() const { return deviceSurface(view_); }
PlotSurface frmPlotScreen::legendSurface() const { return deviceSurface(legend_); }

MessagePresenter& frmPlotScreen::presenter() const {
    return services_.presenter ? *services_.presenter : ui::appPresenter();
}

ProgressDisplay& frmPlotScreen::progress() {
    if (services_.progress) return *services_.progress;
    if (!ownProgress_) ownProgress_ = std::make_unique<ui::frmProgress>(this);
    return *ownProgress_;
}

QPrinter& frmPlotScreen::printer() const { return services_.printer ? *services_.printer : ui::programPrinter(); }

void frmPlotScreen::beep() {
    if (services_.beep)
        services_.beep();
    else
        QApplication::beep();
}

BuiltPage frmPlotScreen::build(int n) {
    PlotBuildContext ctx;
    if (services_.state) {
        ctx.bands = levelBandsOf(*services_.state);
        ctx.airspaceCase = services_.state->AirspaceCase;
    }
    ctx.geodesy = services_.geodesy;
    ProgressDisplay& bar = progress();
    ctx.progress = &bar;
    if (n == 0) {
        bar.Initialize("Processing plot legend");
    } else {
        // The folder is shortened to its line of the progress window's
        // message, measured in that label's font, so it never wraps mid-path.
        const QLabel* label =
            ownProgress_ && &bar == ownProgress_.get() ? ownProgress_->findChild<QLabel*>("lblMessage1") : nullptr;
        const QFontMetricsF fm(label ? label->font() : font());
        const double width = label ? std::max(label->minimumWidth(), label->contentsRect().width()) : 320;
        const auto measure = [&fm](std::string_view t) {
            return fm.horizontalAdvance(QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size())));
        };
        const std::string folder =
            ShortenPath(measure, RemoveBackslash(controller_.PlotFolder()), width - measure("Folder:  "));
        bar.Initialize(controller_.progressMessage(n, folder));
    }
    BuiltPage b =
        buildPlotPage(controller_.PlotFolder(), n == 0 ? std::string() : controller_.page(n).FileName, n == 0,
                      controller_.decibels(), controller_.polar(), n == 0 ? legendSurface() : pageSurface(), ctx);
    bar.Remove();
    return b;
}

const QImage& frmPlotScreen::pictureOf(int n) {
    const PlotPage& p = controller_.page(n);
    if (!p.Built) return blank_;
    auto it = images_.find(p.buildId);
    if (it == images_.end()) {
        QImage image = renderPicture(p.picture, p.surface);
        // Shown at the widget's size, one image pixel to each device pixel.
        const QWidget* shownIn = n == 0 ? static_cast<const QWidget*>(legend_) : view_;
        image.setDevicePixelRatio(static_cast<double>(p.surface.widthPx) / std::max(1, shownIn->width()));
        it = images_.emplace(p.buildId, std::move(image)).first;
    }
    return it->second;
}

// Pictures of pages that were discarded or left the list go with them.
void frmPlotScreen::pruneImages() {
    std::set<std::uint64_t> live;
    for (int n = 0; n <= controller_.PlotCount(); ++n)
        if (controller_.page(n).Built) live.insert(controller_.page(n).buildId);
    for (auto it = images_.begin(); it != images_.end();)
        it = live.count(it->first) ? std::next(it) : images_.erase(it);
}

void frmPlotScreen::setPlots(const std::string& folder, const std::string& fileList) {
    LegendHide();
    controller_.setList(folder, splitPlotList(fileList));
    pruneImages();
}

void frmPlotScreen::setBusy() {
    for (QMenu* m : {fileMenu_, editMenu_, legendMenu_}) m->setEnabled(false);
    for (QPushButton* b : {prev_, next_, exit_}) b->setEnabled(false);
}

void frmPlotScreen::setReady() {
    fileMenu_->setEnabled(true);
    editMenu_->setEnabled(true);
    legendMenu_->setEnabled(controller_.legendEnabled());
    prev_->setEnabled(controller_.previousEnabled());
    next_->setEnabled(controller_.nextEnabled());
    exit_->setEnabled(true);
    (next_->isEnabled() ? next_ : exit_)->setFocus();
}

void frmPlotScreen::updateStatus() {
    status_[1]->setText(QString::fromStdString(controller_.statusFile()));
    status_[3]->setText(QString::fromStdString(controller_.statusPlot()));
    sizeStatusPanels();
    // Folder names are the file system's (UTF-8).
    const QFontMetricsF fm(status_[2]->font());
    const auto measure = [&fm](std::string_view t) {
        return fm.horizontalAdvance(QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size())));
    };
    const int panelWidth = status_[2]->width() - 8;
    status_[2]->setText(QString::fromStdString(controller_.statusFolder(measure, panelWidth)));
}

bool frmPlotScreen::ShowPlotPage() {
    if (controller_.busy()) return true;  // a second build never starts while one runs
    setBusy();
    view_->update();
    // The panels name the page being built while it is drawn (and the one
    // after it, when a build is cancelled and the page leaves the list).
    const bool shown = controller_.ShowPlotPage(
        [this](int n) {
            updateStatus();
            return build(n);
        },
        presenter());
    pruneImages();
    if (!shown) {
        closed_ = true;
        emit closed();
        return false;
    }
    updateStatus();
    view_->update();
    setReady();
    return true;
}

void frmPlotScreen::cmdNext_Click() {
    if (controller_.busy()) return;
    LegendHide();
    if (controller_.next()) ShowPlotPage();
}

void frmPlotScreen::cmdPrev_Click() {
    if (controller_.busy()) return;
    LegendHide();
    if (controller_.previous()) ShowPlotPage();
}

void frmPlotScreen::Exit() {
    closed_ = true;
    emit closed();
}

void frmPlotScreen::closeEvent(QCloseEvent* event) {
    // Closing only asks DisplayPlots to end; it takes the window down.
    event->ignore();
    Exit();
}

void frmPlotScreen::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_PageDown || event->key() == Qt::Key_PageUp) {
        if (controller_.busy()) return;  // keys during a build are ignored
        const bool down = event->key() == Qt::Key_PageDown;
        if (down ? !controller_.nextEnabled() : !controller_.previousEnabled()) {
            beep();
            return;
        }
        down ? cmdNext_Click() : cmdPrev_Click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

bool frmPlotScreen::eventFilter(QObject* watched, QEvent* event) {
    // Page Up and Page Down reach the window whichever button has the focus.
    if (event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_PageDown || k->key() == Qt::Key_PageUp) {
            keyPressEvent(k);
            return true;
        }
    }
    if (watched == legend_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        contextMenuAt(true, static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// The progress window is never hidden behind the page.
void frmPlotScreen::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && ownProgress_ && ownProgress_->isVisible())
        ownProgress_->raise();
    QMainWindow::changeEvent(event);
}

void frmPlotScreen::mouseOverPage(QPoint pixel) {
    const double x = 0.5 + 7.5 * pixel.x() / std::max(1, view_->width());
    const double y = 0.5 + 10.0 * pixel.y() / std::max(1, view_->height());
    const auto text = controller_.cursorReadout(x, y, services_.geodesy);
    view_->setCursor(text ? Qt::CrossCursor : Qt::ArrowCursor);
    status_[0]->setText(text ? QString::fromLatin1("Cursor:  ") + QString::fromLatin1(*text) : QString());
}

void frmPlotScreen::mouseOutsidePage() { status_[0]->clear(); }

void frmPlotScreen::contextMenuAt(bool onLegend, QPoint global) {
    contextOnLegend_ = onLegend;
    ctxHideLegend_->setVisible(onLegend);
    context_->popup(global);
}

void frmPlotScreen::LegendShow() {
    if (controller_.busy()) return;
    setBusy();
    const bool built = controller_.ensureLegend([this](int n) { return build(n); }, presenter());
    if (built) {
        legend_->setPixmap(QPixmap::fromImage(pictureOf(0)));
        legend_->raise();
        legend_->show();
        legendHideAct_->setVisible(true);
        legendShow_->setVisible(false);
    }
    setReady();
}

void frmPlotScreen::LegendHide() {
    legend_->hide();
    legendShow_->setVisible(true);
    legendHideAct_->setVisible(false);
}

void frmPlotScreen::SavePlotPage(int n) {
    if (n < 0 || n > controller_.PlotCount() || !controller_.page(n).Built) return;
    const PlotPage& page = controller_.page(n);
    const std::string proposed = PlotWindowController::saveName(page.FileName);
    std::string path;
    if (services_.saveFileName) {
        path = services_.saveFileName(this, controller_.PlotFolder(), proposed);
    } else {
        path =
            QFileDialog::getSaveFileName(this, "Save As", QString::fromStdString(controller_.PlotFolder() + proposed),
                                         "Enhanced Metafiles (*.emf);;All Files (*)")
                .toStdString();
        if (!path.empty() && QFileInfo(QString::fromStdString(path)).suffix().isEmpty()) path += ".emf";
    }
    if (path.empty()) return;
    // A save that fails says so; it leaves no file behind.
    if (auto saved = SaveEnhMetafile(*page.MetaFile, path); !saved) {
        presenter().present({saved.error(), "CRV Error", MessageIcon::Exclamation, MessageButtons::Ok});
    }
}

void frmPlotScreen::CopyPlotPage(int n) {
    if (n < 0 || n > controller_.PlotCount() || !controller_.page(n).Built) return;
    CopyPlotToClipboard(*controller_.page(n).MetaFile, pictureOf(n));
}

void frmPlotScreen::PrintCommand(int n) {
    if (controller_.busy()) return;
    const bool ok = services_.setUpPrinter ? services_.setUpPrinter(this) : ui::SetUpPrinter(this);
    if (!ok) return;
    PrintPlot(n);
    ui::reportPrintedFiles(presenter());
}

bool frmPlotScreen::PrintPlot(int n) {
    const auto metafile = controller_.metafileForPrint(
        n, [this](int k) { return build(k); }, presenter());
    if (!metafile) return false;  // cancelled or failed (reported): nothing printed
    try {
        if (auto printed = printPlotPage(printer(), *metafile, controller_.jobName(n)); !printed) {
            ShowUnexpectedError(presenter(), "PrintPlot", printed.error());
            return false;
        }
    } catch (const std::exception& e) {
        ShowUnexpectedError(presenter(), "PrintPlot", e.what());
        return false;
    }
    return true;
}

void frmPlotScreen::PlotParameters() {
    if (controller_.busy()) return;
    bool changed = false;
    if (services_.modifyParameters) {
        changed = services_.modifyParameters(this);
    } else if (services_.state && services_.store) {
        changed = ModifyParameters(*services_.state, *services_.store, this);
    }
    if (!changed) return;
    const bool legendShown = legend_->isVisible();
    // Every simulation page and the legend are discarded first; the current
    // page is then drawn again with the new bands and colours.
    const bool rebuild = controller_.parametersChanged();
    pruneImages();
    if (rebuild) {
        ShowPlotPage();
    } else {
        view_->update();
    }
    if (legendShown) {
        LegendHide();
        LegendShow();
    }
}

void frmPlotScreen::FileOpen() {
    if (controller_.busy()) return;
    const std::optional<FileChoice> choice = services_.showFiles
                                                 ? services_.showFiles(this, controller_.PlotFolder())
                                                 : chooseFiles(services_.fileBrowser, 4, this, controller_.PlotFolder(),
                                                               "Plot Files (*.plt *.plx *.ptx);;All Files (*)");
    if (!choice || splitPlotList(choice->names).empty()) return;
    setPlots(choice->folder, choice->names);
    ShowPlotPage();
}

}  // namespace crv::viewers
