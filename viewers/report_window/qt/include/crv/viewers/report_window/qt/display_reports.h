#pragma once
// The report viewer's entry, as the main window's Display Results and the
// run controller's result printing call it.
#include "crv/common/messages.h"
#include "crv/viewers/display_options.h"
#include "crv/viewers/plot_window/qt/display_plots.h"  // FileChoice

#include <functional>
#include <optional>
#include <string>

class QFont;
class QPrinter;
class QWidget;

namespace crv::viewers {

class frmReport;

// What the viewer uses of the rest of the program; every member has a
// default, tests replace the dialogs with scripts.
struct ReportViewerServices {
    QWidget* parent = nullptr;
    common::MessagePresenter* presenter = nullptr;  // default: the program's
    QPrinter* printer = nullptr;                    // default: the program's printer
    // View or print, for several reports (GetSettings with PrintOut only).
    std::function<void(bool& canceled, DisplaySettings& settings)> getSettings;
    // The print dialog; with toPage 0 it offers no range. On return the
    // range chosen (all pages: fromPage..toPage as passed). False: cancelled.
    std::function<bool(QWidget* parent, int& fromPage, int& toPage)> setUpPrinter;
    // The program's file browser, opened on reports (kind 3) by File > Open.
    common::ui::frmFileSel* fileBrowser = nullptr;
    // In place of the browser (tests): nullopt when nothing was chosen.
    std::function<std::optional<FileChoice>(QWidget* parent, const std::string& folder)> showFiles;
    // The Save As dialog: the chosen path, empty when cancelled.
    std::function<std::string(QWidget* parent, const std::string& folder, const std::string& name)> saveFileName;
    // The font dialog (fixed-pitch fonts); false when cancelled.
    std::function<bool(QWidget* parent, QFont& font)> chooseFont;
    std::function<void()> beep;
    // Called once the viewer is shown (tests drive it from here and close it).
    std::function<void(frmReport& window)> shown;
};

// Shows the reports of dirPath listed in fileList ("|"-joined) in the modal
// viewer, or, with autoPrint, prints every page of each on the program's
// printer without dialog or window. Several reports first ask view or print.
void DisplayReports(const std::string& dirPath, const std::string& fileList, bool autoPrint,
                    const ReportViewerServices& services);

}  // namespace crv::viewers
