#pragma once
// The report viewer (" CRV Report"): one screen page of a text report in a
// fixed-pitch font sized so a page fills the screen's height, page and
// report buttons below. Thin: ReportViewerController holds the rules.
#include "crv/viewers/report_viewer_controller.h"
#include "crv/viewers/report_window/qt/display_reports.h"

#include <QDialog>

class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QFrame;

namespace crv::viewers {

class frmReport : public QDialog {
    Q_OBJECT
public:
    explicit frmReport(const ReportViewerServices& services, QWidget* parent = nullptr);

    ReportViewerController& controller() { return controller_; }
    void setReports(const std::string& folder, const std::string& fileList);

    // ChooseScreenFont and SizeReportWindow; then LoadFile shows page 1.
    void ChooseScreenFont();
    void SizeReportWindow();
    void LoadFile();
    void LoadPage();
    // Prints printed pages fromPage..toPage of the current report on the
    // printer, as one job named after the report. False on failure (reported).
    bool PrintReport(int fromPage, int toPage);

    void cmdPrevPage_Click();
    void cmdNextPage_Click();
    void cmdPrevReprt_Click();
    void cmdNextReprt_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFilePrint_Click();
    void mnuFileExit_Click();
    void mnuViewFont_Click();

    QPlainTextEdit* textArea() const { return text_; }
    QLabel* pageLabel() const { return pageLabel_; }
    QLabel* reportLabel() const { return reportLabel_; }
    QPushButton* prevPageButton() const { return prevPage_; }
    QPushButton* nextPageButton() const { return nextPage_; }
    QPushButton* prevReportButton() const { return prevReport_; }
    QPushButton* nextReportButton() const { return nextReport_; }
    QMenu* fileMenu() const { return fileMenu_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    common::MessagePresenter& presenter() const;
    QPrinter& printer() const;
    void beep();
    int overheadHeight() const;

    ReportViewerServices services_;
    ReportViewerController controller_;
    QFrame* margin_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QPushButton* prevPage_ = nullptr;
    QPushButton* nextPage_ = nullptr;
    QPushButton* prevReport_ = nullptr;
    QPushButton* nextReport_ = nullptr;
    QLabel* pageLabel_ = nullptr;
    QLabel* reportLabel_ = nullptr;
    QMenu* fileMenu_ = nullptr;
};

// Report texts are Windows-1252.
QString fromWindows1252(std::string_view bytes);

}  // namespace crv::viewers
