#pragma once
// The receiver test points editor window: the description box, a four-column
// table (row number, two position columns, elevation) of 5000 rows, the
// position format options and the File and Help menus. A thin window over
// RcvrPointsEditor.
#include <QAbstractTableModel>
#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

#include "crv/editors/rcvr_points_editor.h"
#include "crv/editors/site_editors/qt/cell_editing.h"

class QGroupBox;
class QLineEdit;
class QRadioButton;
class QTableView;

namespace crv::editors {

class RcvrPointsTable : public QAbstractTableModel {
public:
    explicit RcvrPointsTable(const RcvrPointsEditor& editor) : editor_(editor) {}
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : RcvrPointsEditor::kRows;
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 4; }
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void refresh() {
        beginResetModel();
        endResetModel();
    }
    void refreshRow(int row) { emit dataChanged(index(row, 0), index(row, 3)); }

private:
    const RcvrPointsEditor& editor_;
};

class frmRcvrPts : public QMainWindow {
    Q_OBJECT
public:
    explicit frmRcvrPts(SiteEditorHost& host, QWidget* parent = nullptr);
    ~frmRcvrPts() override;

    RcvrPointsEditor& editor() { return editor_; }
    QTableView* grid() const { return grid_; }
    CellEditing& cells() { return *cells_; }
    QLineEdit* descriptionBox() const { return description_; }
    // Index 0 "Range (nmi) and Bearing (deg)", 1 "Latitude and Longitude".
    QRadioButton* positionOption(int i) const { return positions_[static_cast<std::size_t>(i)]; }
    // Notations 1 to 3.
    QRadioButton* notationOption(int format) const { return notations_[static_cast<std::size_t>(format - 1)]; }
    QAction* action(const QString& name) const;

    void SetUpForm();
    void ShowData();
    bool CommitEdit();

signals:
    void finished();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void runCommand(bool (RcvrPointsEditor::*command)());
    void formatClicked();
    bool commitDescription();

    SiteEditorHost& host_;
    RcvrPointsEditor editor_;
    RcvrPointsTable table_;
    QTableView* grid_ = nullptr;
    std::unique_ptr<CellEditing> cells_;
    QLineEdit* description_ = nullptr;
    QGroupBox* notationFrame_ = nullptr;
    std::array<QRadioButton*, 2> positions_{};
    std::array<QRadioButton*, 3> notations_{};
    bool descriptionActive_ = false;
    QString descriptionBefore_;
    bool closing_ = false;
};

// Hides the main window, runs the editor until it is closed, shows the main
// window again. `script` (tests) is called with the window once it is shown.
void EditRcvrTestPts(SiteEditorHost& host, QWidget* mainWindow, const std::function<void(frmRcvrPts&)>& script = {});

}  // namespace crv::editors
