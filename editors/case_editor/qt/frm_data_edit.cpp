#include "frm_data_edit.h"

// The window itself: its pages on the tab strip, the page switch, the
// commands' aftermath and the one event filter that hands each watched
// widget's events to its handler. The menus, the dictionary pages and the
// RF-source page are built in frm_data_edit_menus.cpp,
// frm_data_edit_pages.cpp and frm_data_edit_table.cpp.
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QToolTip>
#include <QVBoxLayout>

#include "crv/common/ui/qt/recent_files_menu.h"
#include "crv/editors/case_editor/qt/edit_data_file.h"
#include "frm_data_edit_keys.h"
#include "key_line_edit.h"
#include "rf_table_view.h"

namespace crv::editors {

using namespace data_edit;

frmDataEdit::frmDataEdit(CaseEditorController& controller, QWidget* parent) : QMainWindow(parent), c_(controller) {
    setObjectName("frmDataEdit");
    gridAngleDialog = [this](float course, float& angle, bool& canceled) {
        GetGridAngle(course, angle, canceled, this);
    };
    auto* central = new QWidget(this);
    auto* v = new QVBoxLayout(central);
    tabs_ = new QTabBar(central);
    tabs_->setObjectName("tabEditPage");
    for (const char* t : {"Case Description", "Navaid Data", "RF Sources", " Simulation Parameters "}) tabs_->addTab(t);
    tabs_->setFocusPolicy(Qt::NoFocus);
    // Every tab as wide as the widest caption.
    int widest = 0;
    for (int i = 0; i < tabs_->count(); ++i)
        widest = std::max(widest, tabs_->fontMetrics().horizontalAdvance(tabs_->tabText(i)));
    tabs_->setStyleSheet(QString("QTabBar::tab { min-width: %1px; }").arg(widest + px(120)));
    tabs_->setExpanding(false);
    stack_ = new QStackedWidget(central);
    v->addWidget(tabs_);
    v->addWidget(stack_, 1);
    setCentralWidget(central);
    status_ = new QLabel(this);
    status_->setObjectName("lblStatus");
    statusBar()->addWidget(status_, 1);

    diagram_ = new QLabel(this);
    diagram_->setObjectName("picDiagram");
    diagram_->setFrameShape(QFrame::Box);
    diagram_->hide();

    relAngle_ = new QPushButton("Relative\n  Angle", this);
    relAngle_->setObjectName("cmdRelAngle");
    relAngle_->setFixedSize(px(1020), px(540) + 4);
    connect(relAngle_, &QPushButton::clicked, this, &frmDataEdit::relativeAngle);

    c_.pages().fieldChanged = [this](int n) {
        refreshField(n);
        redrawDiagramSoon();
    };
    for (int page = 1; page <= 4; ++page) {
        if (page == 3)
            buildTablePage();
        else
            buildPage(page);
        stack_->addWidget(pagesW_[page]);
    }
    buildMenus();

    tipTimer_.setSingleShot(true);
    tipTimer_.setInterval(RfTableEditor::kToolTipMs);
    connect(&tipTimer_, &QTimer::timeout, this, [this] {
        view_->verticalHeader()->setToolTip(QString());
        QToolTip::hideText();
    });
    c_.rowsChanged = [this] { refreshTable(); };
    // Another case was read, or the editor was reset: its page is shown
    // afresh, without the diagram of the case before.
    c_.caseShown = [this] {
        diagram_->hide();
        showCase();
    };
    // One filter for the whole window: the tab strip, the row headers, the
    // lists and check boxes, Ctrl+Tab and the row commands' shortcuts.
    qApp->installEventFilter(this);
    resize(minimumSizeHint().expandedTo(QSize(px(9600), px(7800))));
}

frmDataEdit::~frmDataEdit() {
    qApp->removeEventFilter(this);
    // The fields outlive this body: while the window's base parts take the
    // pages down, a field that loses the focus (to another page, or as the
    // window hides) must not call back into the editor already gone.
    for (KeyLineEdit* e : findChildren<KeyLineEdit*>()) {
        e->onKey = nullptr;
        e->onPaste = nullptr;
        e->onFocusIn = nullptr;
        e->onFocusOut = nullptr;
    }
    for (QObject* child : findChildren<QObject*>()) disconnect(child, nullptr, this, nullptr);
    c_.pages().fieldChanged = nullptr;
    c_.rowsChanged = nullptr;
    c_.caseShown = nullptr;
}

QTableView* frmDataEdit::tableView() const { return view_; }

QWidget* frmDataEdit::fieldWidget(int number) const {
    auto it = fields_.find(number);
    return it == fields_.end() ? nullptr : it->second;
}

QAction* frmDataEdit::action(const QString& name) const {
    auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

QMenu* frmDataEdit::menu(const QString& name) const {
    auto it = menus_.find(name);
    return it == menus_.end() ? nullptr : it->second;
}

bool frmDataEdit::requestPage(int page) {
    const int before = c_.state.currentPage;
    committing_ = true;
    const bool ok = c_.selectPage(page);
    committing_ = false;
    const int now = c_.state.currentPage;
    // Hidden first: showing the new page may already give one of its fields
    // the focus, which draws the box again.
    if (now != before) diagram_->hide();
    syncing_ = true;
    tabs_->setCurrentIndex(now - 1);
    stack_->setCurrentIndex(now - 1);
    syncing_ = false;
    refreshMenus();
    if (!ok) {
        if (now == 3 && c_.state.editState == 2) {
            focusCellEditor();
        } else if (now != 3 && c_.state.currentField > 0) {
            if (QWidget* w = fieldWidget(c_.state.currentField)) w->setFocus(Qt::OtherFocusReason);
        }
        refreshTable();
        return false;
    }
    if (now != before || page == now) {
        if (now == 3) {
            refreshTable();
            view_->setFocus(Qt::OtherFocusReason);
        } else if (QWidget* w = fieldWidget(c_.pages().focusFieldFor(now))) {
            w->setFocus(Qt::OtherFocusReason);
        }
    }
    return true;
}

void frmDataEdit::setStatus(const QString& text) {
    status_->setText(text);
    status_->repaint();
}

void frmDataEdit::showCase() {
    for (auto& [n, w] : fields_) refreshField(n);
    syncing_ = true;
    tabs_->setCurrentIndex(c_.state.currentPage - 1);
    stack_->setCurrentIndex(c_.state.currentPage - 1);
    syncing_ = false;
    crv::common::ui::RecentFilesNotifier::instance().UpdateRecentFilesMenu(c_.app());
    refreshTable();
    if (c_.state.currentPage == 3)
        view_->setFocus(Qt::OtherFocusReason);
    else if (QWidget* w = fieldWidget(c_.pages().focusFieldFor(c_.state.currentPage)))
        w->setFocus(Qt::OtherFocusReason);
}

void frmDataEdit::afterCommand() {
    for (auto& [n, w] : fields_) refreshField(n);
    refreshTable();
    if (c_.state.editState == 2 && c_.state.currentPage == 3)
        focusCellEditor();
    else if (c_.state.editState != 0 && c_.state.currentField > 0)
        if (QWidget* w = fieldWidget(c_.state.currentField)) w->setFocus(Qt::OtherFocusReason);
    if (c_.closed && onClosed) onClosed();
}

void frmDataEdit::closeEvent(QCloseEvent* event) {
    if (programClose) {
        event->accept();
        return;
    }
    // Every close that the program did not ask for is Exit Editor.
    event->ignore();
    c_.ExitEditor();
    afterCommand();
}

void frmDataEdit::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // The placement rules measure from the client area's edges.
    redrawDiagramSoon();
}

// One filter for the whole window (installed on the application, so that it
// sees the events of every widget the window holds): each watched widget's
// events go to its handler.
bool frmDataEdit::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    const bool mine = widget && widget->window() == this;
    if (!mine) return QMainWindow::eventFilter(watched, event);

    if (watched == pagesW_[3] && event->type() == QEvent::Resize) fitTableRows();
    if (watched == tabs_ && tabStripEvent(event)) return true;
    if (event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (tableTabKey(watched, ke) || pageSwitchKey(ke)) return true;
    }
    if (event->type() == QEvent::ShortcutOverride && rowShortcutOverride(static_cast<QKeyEvent*>(event))) return true;
    if (watched == view_->verticalHeader()->viewport()) return headerEvent(event);
    if (watched == cellList_) return cellListEvent(event);
    // Lists and check boxes of the pages (their line edits bind their own).
    for (auto& [n, w] : fields_) {
        if (w != watched) continue;
        if (!qobject_cast<QLineEdit*>(w) && fieldEvent(n, event)) return true;
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool frmDataEdit::tabStripEvent(QEvent* event) {
    // The tab strip never switches by itself: the page switch decides.
    if (event->type() == QEvent::MouseButtonPress) {
        const int i = tabs_->tabAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (i >= 0) requestPage(i + 1);
        return true;
    }
    return event->type() == QEvent::Wheel || event->type() == QEvent::MouseButtonDblClick;
}

bool frmDataEdit::pageSwitchKey(QKeyEvent* e) {
    // Ctrl+Tab and Ctrl+Shift+Tab step through the pages, round the end.
    const bool tab = e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab;
    if (!tab || !(e->modifiers() & Qt::ControlModifier)) return false;
    const bool back = e->key() == Qt::Key_Backtab || (e->modifiers() & Qt::ShiftModifier);
    requestPage(c_.neighbourPage(back ? -1 : 1));
    return true;
}

bool frmDataEdit::rowShortcutOverride(QKeyEvent* e) {
    // The row commands' shortcuts that line edits and lists bind for
    // themselves reach the menu while the RF-source page is shown.
    if (!isClashingShortcut(e) || !c_.menusEnabled()) return false;
    e->ignore();
    return true;
}

}  // namespace crv::editors
