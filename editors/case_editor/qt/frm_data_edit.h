#pragma once
// frmDataEdit: the case data editor window over CaseEditorController. Four
// pages on one tab strip (the page switch may refuse to leave a page), the
// RF-source table with its edit line, the menus and their shortcuts.
#include <functional>
#include <map>

#include <QMainWindow>
#include <QTimer>

#include "crv/editors/case_editor/case_editor_controller.h"

class QAction;
class QCheckBox;
class QComboBox;
class QEvent;
class QKeyEvent;
class QLabel;
class QLayout;
class QMenu;
class QPushButton;
class QStackedWidget;
class QTabBar;
class QTableView;

namespace crv::editors {

class KeyLineEdit;
class RfTableModel;
class RfTableView;

class frmDataEdit : public QMainWindow {
    Q_OBJECT
public:
    explicit frmDataEdit(CaseEditorController& controller, QWidget* parent = nullptr);
    ~frmDataEdit() override;

    // Shows everything the controller holds (after a load or a command).
    void showCase();

    // The relative grid angle dialog; tests replace it.
    std::function<void(float course, float& angle, bool& canceled)> gridAngleDialog;
    // Called once the controller's closed flag is set.
    std::function<void()> onClosed;
    // The status line below the pages ("Checking ..." during the check).
    void setStatus(const QString& text);
    // A close the program asks for itself (not turned into Exit Editor).
    bool programClose = false;

    // For tests.
    QTabBar* tabBar() const { return tabs_; }
    QTableView* tableView() const;
    QWidget* fieldWidget(int number) const;
    QAction* action(const QString& name) const;
    QMenu* menu(const QString& name) const;
    QLabel* editCaption() const { return cellCaption_; }
    KeyLineEdit* cellText() const { return cellText_; }
    KeyLineEdit* cellPosition() const { return cellPosition_; }
    QComboBox* cellList() const { return cellList_; }
    QPushButton* relAngleButton() const { return relAngle_; }
    QLabel* diagramBox() const { return diagram_; }
    QTimer& toolTipTimer() { return tipTimer_; }
    RfTableModel* tableModel() const { return model_; }
    // Switches pages as a click on a tab does.
    bool requestPage(int page);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class RfTableView;
    void buildMenus();
    void buildPage(int page);
    void buildTablePage();
    QWidget* buildField(int n);
    void refreshField(int n);
    void refreshMenus();
    void refreshTable();
    void fitTableRows();
    void syncCurrentCell();
    void showCellEditor();
    void focusCellEditor();
    void showDiagram(DiagramKind kind, int page);
    void redrawDiagramSoon();
    void afterCommand();
    void run(void (CaseEditorController::*command)());
    bool pageKey(int n, QKeyEvent* e);
    bool cellKey(QKeyEvent* e);
    void pagePaste(int n, const QString& text);
    void pageFocusOut(int n, Qt::FocusReason reason);
    void tableKey(QKeyEvent* e);
    void tabMove(bool back);
    void headerHover(int row);
    void relativeAngle();
    // The event filter's handlers, one per watched widget or key; true when
    // the event is used up.
    bool tabStripEvent(QEvent* event);
    bool pageSwitchKey(QKeyEvent* e);
    bool rowShortcutOverride(QKeyEvent* e);
    bool tableTabKey(QObject* watched, QKeyEvent* e);
    bool headerEvent(QEvent* event);
    bool cellListEvent(QEvent* event);
    bool fieldEvent(int n, QEvent* event);

    CaseEditorController& c_;
    QTabBar* tabs_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QWidget* pagesW_[5] = {};
    std::map<int, QWidget*> fields_;
    RfTableView* view_ = nullptr;
    RfTableModel* model_ = nullptr;
    QLabel* cellCaption_ = nullptr;
    QLayout* cellLine_ = nullptr;
    KeyLineEdit* cellText_ = nullptr;
    KeyLineEdit* cellPosition_ = nullptr;
    QComboBox* cellList_ = nullptr;
    QPushButton* relAngle_ = nullptr;
    QLabel* diagram_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer tipTimer_;
    std::map<QString, QAction*> actions_;
    std::map<QString, QMenu*> menus_;
    bool syncing_ = false;
    bool committing_ = false;
    bool listNavigation_ = false;
    int headerPressRow_ = 0;
    DiagramKind diagramKind_ = DiagramKind::Hidden;
    int diagramPage_ = 0;
    bool diagramRedrawDue_ = false;
};

}  // namespace crv::editors
