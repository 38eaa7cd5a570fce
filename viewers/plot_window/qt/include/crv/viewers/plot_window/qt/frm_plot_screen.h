#pragma once
// The plot window (" CRV Plot"): one page at a time over a gradient, a
// legend picture over the top right corner, a status bar of four panels.
// Thin: the page list, readout and rules live in PlotWindowController.
#include "crv/viewers/plot_window/qt/display_plots.h"
#include "crv/viewers/plot_window_controller.h"

#include <QImage>
#include <QMainWindow>

#include <map>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace crv::common::ui {
class frmProgress;
}

namespace crv::viewers {

class PlotPageView;

class frmPlotScreen : public QMainWindow {
    Q_OBJECT
public:
    frmPlotScreen(const PlotWindowServices& services, QWidget* parent = nullptr);
    ~frmPlotScreen() override;

    PlotWindowController& controller() { return controller_; }
    // A new list (DisplayPlots, File > Open).
    void setPlots(const std::string& folder, const std::string& fileList);
    void setOptions(bool decibels, bool polar) { controller_.setOptions(decibels, polar); }
    // ShowPlotPage; false when the list ran empty and the window closes.
    bool ShowPlotPage();
    bool PlotClosed() const { return closed_; }

    // Commands, as the menus, buttons and keys run them.
    void cmdNext_Click();
    void cmdPrev_Click();
    void Exit();
    void FileOpen();
    void SavePlotPage(int page);
    void CopyPlotPage(int page);
    void PrintCommand(int page);  // SetUpPrinter, then PrintPlot
    bool PrintPlot(int page);     // on the printer, no dialog
    void PlotParameters();
    void LegendShow();
    void LegendHide();
    // The readout at a pixel of the page picture (the mouse moving there).
    void mouseOverPage(QPoint pixel);
    void mouseOutsidePage();
    void contextMenuAt(bool onLegend, QPoint global);

    // For tests and snapshots.
    QPushButton* prevButton() const { return prev_; }
    QPushButton* nextButton() const { return next_; }
    QPushButton* exitButton() const { return exit_; }
    QLabel* statusPanel(int n) const { return status_[n - 1]; }
    QWidget* pageView() const;
    QLabel* legendPicture() const { return legend_; }
    QMenu* fileMenu() const { return fileMenu_; }
    QMenu* legendMenu() const { return legendMenu_; }
    QMenu* contextMenu() const { return context_; }
    QAction* legendShowAction() const { return legendShow_; }
    QAction* legendHideAction() const { return legendHideAct_; }
    QAction* contextHideLegend() const { return ctxHideLegend_; }
    const QImage& pictureOf(int page);
    // Pictures rendered and kept for the built pages.
    std::size_t keptPictures() const { return images_.size(); }

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    BuiltPage build(int page);
    common::MessagePresenter& presenter() const;
    common::ProgressDisplay& progress();
    QPrinter& printer() const;
    void setBusy();
    void setReady();
    void updateStatus();
    void pruneImages();
    void beep();
    common::PlotSurface pageSurface() const;
    common::PlotSurface legendSurface() const;
    void layoutWindow();
    void sizeStatusPanels();

    PlotWindowServices services_;
    PlotWindowController controller_;
    std::unique_ptr<common::ui::frmProgress> ownProgress_;
    std::map<std::uint64_t, QImage> images_;
    QImage blank_;
    bool closed_ = false;
    bool contextOnLegend_ = false;

    QWidget* background_ = nullptr;
    PlotPageView* view_ = nullptr;
    QLabel* legend_ = nullptr;
    QPushButton* prev_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* exit_ = nullptr;
    QLabel* status_[4] = {};
    QMenu* fileMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* legendMenu_ = nullptr;
    QMenu* context_ = nullptr;
    QAction* legendShow_ = nullptr;
    QAction* legendHideAct_ = nullptr;
    QAction* ctxHideLegend_ = nullptr;
    friend class PlotPageView;
};

}  // namespace crv::viewers
