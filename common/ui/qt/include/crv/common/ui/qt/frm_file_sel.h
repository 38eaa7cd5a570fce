#pragma once
// The program's file browser: a folder tree, the program's own file kinds
// with a description for every result file, single or multiple selection.
// The caller keeps one browser for the life of the program, so an opening
// with reload comes back to the folder, type, sort, selection and layout of
// the last one. What is listed and returned is decided by FileBrowserModel.
//
//   browser.ShowFiles(3, true);
//   if (!browser.SelFile().empty()) open(browser.SelPath(), browser.SelFile(), browser.FileKind());
#include <functional>
#include <string>

#include <QDialog>
#include <QList>

#include "crv/common/messages.h"
#include "crv/common/ui/file_browser_model.h"
#include "crv/common/ui/qt/file_browser_list_model.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSplitter;
class QTreeView;
class QTreeWidget;
class QTreeWidgetItem;

namespace crv::common::ui {

class frmFileSel : public QDialog {
    Q_OBJECT
public:
    // `presenter` asks the question of an empty OK; nullptr means appPresenter().
    explicit frmFileSel(const crv::common::AppState& state, crv::common::MessagePresenter* presenter = nullptr,
                        QWidget* parent = nullptr);

    // Shows the browser modally for `Kind` (1 to 7). With Reload and the kind
    // shown last, the last folder, type, sort, selection and layout come back;
    // otherwise it starts fresh in the kind's start folder.
    void ShowFiles(int Kind, bool Reload = false);
    int FileKind() const { return model_.FileKind(); }
    // The folder, ending in "/"; "" after a cancel.
    std::string SelPath() const { return model_.SelPath(); }
    // The chosen names in list order joined by "|"; "" after a cancel.
    std::string SelFile() const { return model_.SelFile(); }

    // Replaces exec() while the browser is shown (tests drive it from here).
    void setRunner(std::function<void(frmFileSel&)> run) { run_ = std::move(run); }

    const FileBrowserModel& model() const { return model_; }
    QTreeWidget* folderTree() const { return ftvFolder_; }
    QComboBox* fileTypes() const { return cboFileTypes_; }
    QTreeView* fileList() const { return lvwFiles_; }
    QLabel* contentsLabel() const { return lblContents_; }
    QSplitter* splitter() const { return splitter_; }
    QPushButton* okButton() const { return cmdOK_; }
    QPushButton* cancelButton() const { return cmdCancel_; }
    // Selects the folder in the tree, as a click would.
    void selectFolder(const QString& path);
    // The names shown in list order.
    QStringList listedNames() const;
    QSize sizeHint() const override;

public slots:
    void accept() override;
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void setUpKind();
    void folderSelected(const QString& path);
    void showList();
    void showHeading();
    void typeChosen(int index);
    void headerClicked(int section);
    void defaultColumnWidths();
    void saveState();
    QTreeWidgetItem* itemFor(const QString& path);
    void populate(QTreeWidgetItem* item);
    void refreshTree(QTreeWidgetItem* item);
    QList<int> selectedRows() const;

    FileBrowserModel model_;
    FileListModel list_;
    crv::common::MessagePresenter* presenter_;
    std::function<void(frmFileSel&)> run_;
    bool loading_ = false;
    bool widthsPending_ = false;
    bool dragging_ = false;  // the splitter is being dragged
    QList<int> dragStart_;

    QTreeWidget* ftvFolder_;
    QComboBox* cboFileTypes_;
    QTreeView* lvwFiles_;
    QLabel* lblContents_;
    QSplitter* splitter_;
    QPushButton* cmdOK_;
    QPushButton* cmdCancel_;
    QPushButton* cmdHelp_;

    // Layout kept for a reload.
    QByteArray savedGeometry_;
    QByteArray savedSplitter_;
    QList<int> savedWidths_;
};

}  // namespace crv::common::ui
