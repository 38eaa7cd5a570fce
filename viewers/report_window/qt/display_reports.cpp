#include "crv/viewers/report_window/qt/display_reports.h"

#include "crv/common/ui/qt/message_presenter.h"
#include "crv/common/ui/qt/printing.h"
#include "crv/viewers/plot_dialogs/qt/plot_dialogs.h"
#include "crv/viewers/report_window/qt/frm_report.h"

#include <QTimer>

#include <climits>

namespace crv::viewers {

void DisplayReports(const std::string& dirPath, const std::string& fileList, bool autoPrint,
                    const ReportViewerServices& services) {
    const ReportQuestions q = reportQuestions(fileList, autoPrint);
    bool print = q.print;
    if (q.ask) {
        DisplaySettings settings{true, false, false};
        bool canceled = false;
        if (services.getSettings)
            services.getSettings(canceled, settings);
        else
            GetSettings(canceled, settings, services.parent);
        if (canceled) return;
        print = settings.printOut;
    }
    frmReport window(services, services.parent);
    window.setReports(dirPath, fileList);
    ReportViewerController& c = window.controller();
    if (print) {
        if (!autoPrint) {
            int from = 0, to = 0;
            const bool ok = services.setUpPrinter ? services.setUpPrinter(services.parent, from, to)
                                                  : common::ui::SetUpPrinter(services.parent);
            if (!ok) return;
        }
        // Every page of every report, however long.
        for (int r = 1; r <= c.ReportCount(); ++r) {
            c.selectReport(r);
            window.LoadFile();
            window.PrintReport(1, INT_MAX);
        }
        c.clear();
        // A job of the caller's (Run, Print Results) is reported by it, once.
        if (!autoPrint)
            common::ui::reportPrintedFiles(services.presenter ? *services.presenter : common::ui::appPresenter());
        return;
    }
    if (c.ReportCount() == 0) return;
    window.ChooseScreenFont();
    window.SizeReportWindow();
    window.LoadFile();
    if (services.shown) {
        QTimer::singleShot(0, &window, [&window, &services] {
            services.shown(window);
            if (window.isVisible()) window.reject();
        });
    }
    window.exec();
    c.clear();
}

}  // namespace crv::viewers
