#include "crv/viewers/plot_window/qt/display_plots.h"

#include "crv/common/ui/qt/message_presenter.h"
#include "crv/common/ui/qt/printing.h"
#include "crv/viewers/plot_dialogs/qt/plot_dialogs.h"
#include "crv/viewers/plot_window/qt/frm_plot_screen.h"

#include "crv/common/text_utils.h"
#include "crv/common/ui/qt/form_services.h"
#include "crv/common/ui/qt/frm_file_sel.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>

namespace crv::viewers {

std::optional<FileChoice> chooseFiles(common::ui::frmFileSel* browser, int kind, QWidget* parent,
                                      const std::string& folder, const char* filter) {
    FileChoice c;
    if (browser) {
        browser->ShowFiles(kind, true);
        c.folder = browser->SelPath();
        c.names = browser->SelFile();
    } else {
        const QStringList files = QFileDialog::getOpenFileNames(parent, "Open", QString::fromStdString(folder), filter);
        if (files.isEmpty()) return std::nullopt;
        c.folder = common::AddBackslash(QFileInfo(files.first()).absolutePath().toStdString());
        for (const QString& f : files) c.names += (c.names.empty() ? "" : "|") + QFileInfo(f).fileName().toStdString();
    }
    if (c.names.empty()) return std::nullopt;
    return c;
}

void DisplayPlots(QWidget* parent, const std::string& dirPath, const std::string& fileList, bool autoPrint,
                  const PlotWindowServices& services) {
    const DisplayQuestions q = displayQuestions(fileList, autoPrint);
    DisplaySettings chosen = q.settings;
    if (q.ask) {
        bool canceled = false;
        if (services.getSettings)
            services.getSettings(canceled, chosen);
        else
            GetSettings(canceled, chosen, parent);
        if (canceled) return;
    }
    frmPlotScreen window(services, nullptr);
    window.setOptions(chosen.decibels, chosen.polarPlot);
    window.setPlots(dirPath, fileList);
    const int count = window.controller().PlotCount();
    if (chosen.printOut) {
        if (!autoPrint) {
            const bool ok = services.setUpPrinter ? services.setUpPrinter(parent) : common::ui::SetUpPrinter(parent);
            if (!ok) return;
        }
        // One print job per plot; a page that cannot be drawn is reported and
        // the others still print.
        for (int n = 1; n <= count; ++n) window.PrintPlot(n);
        window.controller().discardAll();
        // A job of the caller's (Run, Print Results) is reported by it, once.
        if (!autoPrint)
            common::ui::reportPrintedFiles(services.presenter ? *services.presenter : common::ui::appPresenter());
        return;
    }
    if (count == 0) return;  // nothing to show
    // Over the window that opened it, as every window of the program is placed.
    common::ui::PlaceForm(&window, parent);
    if (parent) parent->hide();
    window.show();
    // It takes the place of the window that opened it, keyboard included: a
    // window manager gives the activation of a hidden window to whichever
    // window it likes.
    window.raise();
    window.activateWindow();
    QApplication::processEvents();
    QEventLoop loop;
    QObject::connect(&window, &frmPlotScreen::closed, &loop, &QEventLoop::quit);
    if (window.ShowPlotPage() && !window.PlotClosed()) {
        if (services.shown) services.shown(window);
        if (!window.PlotClosed()) loop.exec();
    }
    window.hide();
    window.controller().discardAll();
    if (parent) {
        parent->show();
        parent->activateWindow();
        QApplication::processEvents();
    }
}

}  // namespace crv::viewers
