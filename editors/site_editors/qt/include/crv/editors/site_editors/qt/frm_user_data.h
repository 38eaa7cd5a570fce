#pragma once
// The pattern and calibration editor window: a two-column table (the fixed x
// values and the editable values), the description and gain boxes, the data
// kind and scale options, and the menus File, Normalize, Plot and Help. A thin
// window over UserDataEditor.
#include <QAbstractTableModel>
#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

#include "crv/editors/site_editors/qt/cell_editing.h"
#include "crv/editors/user_data_editor.h"

class QGroupBox;
class QLineEdit;
class QRadioButton;
class QTableView;

namespace crv::editors {

class UserDataTable : public QAbstractTableModel {
public:
    explicit UserDataTable(const UserDataEditor& editor) : editor_(editor) {}
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : editor_.rows(); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 2; }
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void refresh() {
        beginResetModel();
        endResetModel();
    }

private:
    const UserDataEditor& editor_;
};

class frmUserData : public QMainWindow {
    Q_OBJECT
public:
    frmUserData(SiteEditorHost& host, bool patternMode, QWidget* parent = nullptr);
    ~frmUserData() override;

    UserDataEditor& editor() { return editor_; }
    QTableView* grid() const { return grid_; }
    CellEditing& cells() { return *cells_; }
    QLineEdit* descriptionBox() const { return description_; }
    QGroupBox* gainFrame() const { return gainFrame_; }
    QRadioButton* kindOption(int kind) const { return kinds_[static_cast<std::size_t>(kind - 1)]; }
    QRadioButton* scaleOption(int scale) const { return scales_[static_cast<std::size_t>(scale)]; }
    QAction* action(const QString& name) const;

    // Lays the window out for the kind and scale and shows the editor's data.
    void SetUpForm();
    void ShowData();
    // Commits whatever editor is open; false when its value is invalid.
    bool CommitEdit();

signals:
    // The editor has closed (Exit, or the close box answered).
    void finished();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void runCommand(bool (UserDataEditor::*command)());
    bool commitBox(QLineEdit* box);

    SiteEditorHost& host_;
    UserDataEditor editor_;
    UserDataTable table_;
    QTableView* grid_ = nullptr;
    std::unique_ptr<CellEditing> cells_;
    QLineEdit* description_ = nullptr;
    QLineEdit* gain_ = nullptr;
    QGroupBox* gainFrame_ = nullptr;
    QGroupBox* kindFrame_ = nullptr;
    QGroupBox* scaleFrame_ = nullptr;
    std::array<QRadioButton*, 5> kinds_{};
    std::array<QRadioButton*, 2> scales_{};
    QLineEdit* activeBox_ = nullptr;
    QString boxBefore_;
    bool boxInvalid_ = false;
    bool closing_ = false;
};

// The entries: each hides the main window, runs the editor until it is
// closed and shows the main window again. `script` (tests) is called with the
// window once it is shown.
void EditRadiationPattern(SiteEditorHost& host, QWidget* mainWindow,
                          const std::function<void(frmUserData&)>& script = {});
void EditCalibrationData(SiteEditorHost& host, QWidget* mainWindow,
                         const std::function<void(frmUserData&)>& script = {});

}  // namespace crv::editors
