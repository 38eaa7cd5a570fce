#include "frm_data_edit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTableView>
#include <QToolTip>
#include <QVBoxLayout>

#include "crv/common/conversions.h"
#include "crv/common/dialog_services.h"
#include "crv/common/ui/qt/qt_text.h"
#include "crv/common/ui/qt/recent_files_menu.h"
#include "crv/common/ui/qt/table_rows.h"
#include "crv/editors/case_editor/diagram_box.h"
#include "crv/editors/diagrams/qt/diagram_images.h"
#include "crv/editors/case_editor/qt/edit_data_file.h"
#include "key_line_edit.h"
#include "rf_table_model.h"

namespace crv::editors {

namespace {

constexpr int kTwipsPerPixel = 15;
int px(int twips) { return twips / kTwipsPerPixel; }

QString q(const std::string& s) { return QString::fromLatin1(s.c_str(), static_cast<int>(s.size())); }
std::string s(const QString& t) { return t.toLatin1().toStdString(); }

// The character a key event carries, as a code of the system's character set.
std::int16_t keyCode(const QKeyEvent* e) {
    const QString t = e->text();
    if (t.isEmpty()) return -1;
    const ushort u = t.at(0).unicode();
    return u < 256 ? static_cast<std::int16_t>(u) : -1;
}

bool isClashingShortcut(const QKeyEvent* e) {
    const auto mods = e->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    const int k = e->key();
    if (mods == Qt::ControlModifier) return k == Qt::Key_A || k == Qt::Key_U || k == Qt::Key_D;
    if (mods == Qt::ShiftModifier) return k == Qt::Key_Insert || k == Qt::Key_Delete;
    return false;
}

}  // namespace

// The table: keys and double clicks go to the editor's logic.
class RfTableView : public QTableView {
public:
    explicit RfTableView(frmDataEdit& w) : QTableView(&w), w_(w) {}
    void defaultKey(QKeyEvent* e) { QTableView::keyPressEvent(e); }

protected:
    void keyPressEvent(QKeyEvent* e) override { w_.tableKey(e); }
    void focusInEvent(QFocusEvent* e) override {
        QTableView::focusInEvent(e);
        if (w_.syncing_) return;
        const auto r = w_.c_.tableEditor().tableGotFocus();
        w_.refreshTable();
        if (r == TableKey::OpenEditor) w_.focusCellEditor();
        else w_.syncCurrentCell();
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        const QModelIndex i = indexAt(e->pos());
        if (!i.isValid()) return;
        if (w_.c_.tableEditor().doubleClick(i.row() + 1, i.column() + 1) == TableKey::OpenEditor) {
            w_.syncCurrentCell();
            w_.showCellEditor();
            w_.focusCellEditor();
        }
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        w_.headerHover(0);
        QTableView::mouseMoveEvent(e);
    }
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override {
        QTableView::currentChanged(current, previous);
        if (w_.syncing_ || !current.isValid()) return;
        auto& te = w_.c_.tableEditor();
        const int oldRow = te.currentRow();
        if (!te.setCurrent(current.row() + 1, current.column() + 1)) {
            // The pending value failed its check: back to its cell.
            QMetaObject::invokeMethod(this, [this] {
                w_.syncCurrentCell();
                w_.focusCellEditor();
            }, Qt::QueuedConnection);
            return;
        }
        w_.model_->rowChanged(oldRow);
        w_.model_->rowChanged(te.currentRow());
        w_.showCellEditor();
        w_.refreshMenus();
    }

private:
    frmDataEdit& w_;
};

frmDataEdit::frmDataEdit(CaseEditorController& controller, QWidget* parent) : QMainWindow(parent), c_(controller) {
    setObjectName("frmDataEdit");
    gridAngleDialog = [this](float course, float& angle, bool& canceled) { GetGridAngle(course, angle, canceled, this); };
    auto* central = new QWidget(this);
    auto* v = new QVBoxLayout(central);
    tabs_ = new QTabBar(central);
    tabs_->setObjectName("tabEditPage");
    for (const char* t : {"Case Description", "Navaid Data", "RF Sources", " Simulation Parameters "}) tabs_->addTab(t);
    tabs_->setFocusPolicy(Qt::NoFocus);
    // Every tab as wide as the widest caption.
    int widest = 0;
    for (int i = 0; i < tabs_->count(); ++i) widest = std::max(widest, tabs_->fontMetrics().horizontalAdvance(tabs_->tabText(i)));
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
        if (page == 3) buildTablePage();
        else buildPage(page);
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

// ---- Menus --------------------------------------------------------------

void frmDataEdit::buildMenus() {
    auto addMenu = [this](const QString& name, const QString& title) {
        QMenu* m = menuBar()->addMenu(title);
        m->setObjectName(name);
        menus_[name] = m;
        return m;
    };
    auto add = [this](QMenu* m, const QString& name, const QString& text, const QKeySequence& key,
                      std::function<void()> f) {
        QAction* a = m->addAction(text);
        a->setObjectName(name);
        if (!key.isEmpty()) {
            a->setShortcut(key);
            a->setShortcutContext(Qt::WindowShortcut);
        }
        connect(a, &QAction::triggered, this, [this, f] {
            f();
            afterCommand();
        });
        actions_[name] = a;
        return a;
    };
    using C = CaseEditorController;
    QMenu* file = addMenu("mnuFile", "&File");
    add(file, "mnuFileOpen", "&Open...", QKeySequence("Ctrl+O"), [this] { c_.fileOpen(); });
    file->addSeparator();
    add(file, "mnuFileSave", "&Save", QKeySequence("Ctrl+S"), [this] { c_.fileSave(); });
    add(file, "mnuFileSaveAs", "Save &As...", {}, [this] { c_.fileSaveAs(); });
    file->addSeparator();
    add(file, "mnuFileRun", "Save, &Run Simulation", QKeySequence("Ctrl+R"), [this] { c_.fileRun(); });
    add(file, "mnuFileAuto", "Save, Run, and &Print", {}, [this] { c_.fileAuto(); });
    QAction* sep4 = file->addSeparator();
    sep4->setObjectName("mnuFileSep4");
    add(file, "mnuFileExit", "E&xit Editor", QKeySequence("Ctrl+Q"), [this] { c_.ExitEditor(); });
    // The recent files follow the program-wide list.
    auto* recent = new crv::common::ui::RecentFilesMenuSection(file, sep4, "mnuFileSep3");
    for (int i = 0; i < crv::common::kRecentFileCount; ++i) actions_[recent->entry(i)->objectName()] = recent->entry(i);
    connect(recent, &crv::common::ui::RecentFilesMenuSection::openRecentFile, this, [this](const QString& path) {
        c_.fileRecentPath(crv::common::ui::pathFromQt(path));
        afterCommand();
    });

    QMenu* select = addMenu("mnuSelect", "&Select");
    add(select, "mnuSelectTagAll", "&Tag All", QKeySequence("Ctrl+T"), [this] { c_.tagAll(); });
    add(select, "mnuSelectUntagAll", "&Untag All", QKeySequence("Ctrl+U"), [this] { c_.untagAll(); });
    add(select, "mnuSelectInvert", "&Invert Tags", {}, [this] { c_.invertTags(); });
    QMenu* insert = addMenu("mnuInsert", "&Insert/Delete");
    add(insert, "mnuInsertInsRow", "&Insert Row", QKeySequence("Shift+Ins"), [this] { c_.insertRow(); });
    insert->addSeparator();
    add(insert, "mnuInsertDelRow", "&Delete Row", QKeySequence("Shift+Del"), [this] { c_.deleteRow(); });
    add(insert, "mnuInsertDelTagged", "Delete Tagged Rows", QKeySequence("Ctrl+D"), [this] { c_.deleteTagged(); });
    QMenu* prop = addMenu("mnuProp", "&PropStatus");
    add(prop, "mnuPropToggle", q(c_.toggleCaption()), QKeySequence("Ctrl+A"), [this] { c_.propToggle(); });
    add(prop, "mnuPropProp", "Tagged Rows -> &Proponent", QKeySequence("Ctrl+P"), [this] { c_.propTagged("P"); });
    add(prop, "mnuPropNonProp", "Tagged Rows -> &Non-Proponent", QKeySequence("Ctrl+N"),
        [this] { c_.propTagged("N"); });
    add(prop, "mnuPropIgnore", "Tagged Rows -> &Ignore", QKeySequence("Ctrl+I"), [this] { c_.propTagged("I"); });
    QMenu* tools = addMenu("mnuTools", "&Tools");
    add(tools, "mnuToolsSort", "Sort", {}, [this] { c_.sortRows(); });
    add(tools, "mnuToolsImods", "Run Intermodulation Check", {}, [this] { c_.runCheck(); });
    add(tools, "mnuToolsDummy", "Use Dummy Values", {}, [this] { c_.useDummyValues(); });
    QAction* help = menuBar()->addAction("&Help");
    help->setObjectName("mnuHelp");
    actions_["mnuHelp"] = help;
    connect(help, &QAction::triggered, this, [this] {
        if (c_.commitPending()) c_.help();
        afterCommand();
    });
    (void)sizeof(C);

    // Opening a menu first commits the pending value.
    for (auto& [name, m] : menus_) {
        connect(m, &QMenu::aboutToShow, this, [this] {
            c_.commitPending();
            afterCommand();
        });
    }
}

void frmDataEdit::refreshMenus() {
    const bool rows = c_.menusEnabled();
    for (const char* m : {"mnuSelect", "mnuInsert", "mnuProp", "mnuTools"}) {
        menus_[m]->setEnabled(rows);
        for (QAction* a : menus_[m]->actions()) a->setEnabled(rows);
    }
    actions_["mnuToolsImods"]->setEnabled(rows && c_.state.imodsEnabled);
    actions_["mnuToolsDummy"]->setEnabled(rows && c_.state.dummyEnabled);
    actions_["mnuPropToggle"]->setText(q(c_.toggleCaption()));
    setWindowTitle(crv::common::ui::displayToQt(c_.caption()));
}

// ---- Pages 1, 2 and 4 ---------------------------------------------------

QWidget* frmDataEdit::buildField(int n) {
    PageFields& pages = c_.pages();
    const FieldBox& f = *pages.field(n);
    QWidget* w = nullptr;
    if (f.isList()) {
        auto* combo = new QComboBox;
        // As wide as the longest option of either edition's list, never
        // narrower than the design width: no choice is shown cut.
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        combo->setMinimumWidth(px(3780));
        combo->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        connect(combo, qOverload<int>(&QComboBox::activated), this, [this, n, combo](int index) {
            if (syncing_) return;
            DiagramKind d = DiagramKind::Hidden;
            const bool ok = c_.pages().listClick(n, index, &d);
            refreshField(n);
            if (ok && combo->hasFocus()) showDiagram(d, c_.pages().field(n)->page);
            refreshMenus();
        });
        w = combo;
    } else if (f.isCheck()) {
        auto* box = new QCheckBox(q(f.record.label));
        box->setMinimumWidth(px(2160));
        connect(box, &QCheckBox::clicked, this, [this, n](bool on) {
            if (syncing_) return;
            c_.pages().checkClick(n, on ? 1 : 0);
            refreshField(n);
        });
        w = box;
    } else {
        auto* edit = new KeyLineEdit;
        if (f.isPosition()) {
            edit->setFixedWidth(std::max(px(1260), edit->fontMetrics().horizontalAdvance("W 180\xB0 59' 59\"") + 16));
        } else {
            edit->setMaxLength(f.record.width);
            // A text box shows all the characters it takes (a 25-character site name whole).
            const int whole = f.wide ? edit->fontMetrics().horizontalAdvance(QString(f.record.width, QLatin1Char('N'))) +
                                           2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8
                                     : 0;
            edit->setFixedWidth(std::max(px(f.wide ? 2040 : 1020), whole));
        }
        edit->onKey = [this, n](QKeyEvent* e) { return pageKey(n, e); };
        edit->onPaste = [this, n](const QString& t) { pagePaste(n, t); };
        edit->onFocusIn = [this, n, edit] {
            if (committing_) return;
            // Back from a message box, a menu or another window into the
            // field that was current: no new entry, so what it held on
            // entry stays what Escape puts back.
            const Qt::FocusReason why = edit->focusInReason();
            if ((why == Qt::ActiveWindowFocusReason || why == Qt::PopupFocusReason) && c_.state.currentField == n)
                return;
            const DiagramKind d = c_.pages().gotFocus(n);
            showDiagram(d, c_.pages().field(n)->page);
            const FieldBox* box = c_.pages().field(n);
            if (box->isPosition()) edit->setCursorPosition(2);
            // Selected once the focus has settled, and only if it is still
            // here: a page switch passes the focus through the page's first
            // field, which must not keep a selection and look current.
            else QMetaObject::invokeMethod(edit, [edit] { if (edit->hasFocus()) edit->selectAll(); }, Qt::QueuedConnection);
        };
        edit->onFocusOut = [this, n](Qt::FocusReason r) { pageFocusOut(n, r); };
        connect(edit, &QLineEdit::textEdited, this, [this, n, edit](const QString& t) {
            // Edits that come without a key (cut, undo, the context menu)
            // start an edit like a key does.
            if (c_.state.editState == 0) {
                std::int16_t k = 8;
                if (c_.pages().keyPress(n, k) == KeyAction::Swallow) {
                    refreshField(n);
                    return;
                }
            }
            c_.pages().textChanged(n, s(edit->text()));
            redrawDiagramSoon();
            (void)t;
        });
        w = edit;
    }
    w->setObjectName(QString("field%1").arg(n));
    w->setEnabled(f.enabled);
    fields_[n] = w;
    return w;
}

void frmDataEdit::buildPage(int page) {
    PageFields& pages = c_.pages();
    auto* pageW = new QWidget;
    pageW->setObjectName(QString("fraEdit%1").arg(page));
    auto* grid = new QGridLayout(pageW);
    grid->setHorizontalSpacing(px(900));
    grid->setVerticalSpacing(2);
    int columns = pages.columnCount(page);
    for (int n : pages.fieldNumbers(page)) {
        const FieldBox& f = *pages.field(n);
        if (!f.visible) continue;
        QWidget* w = buildField(n);
        const int row = f.gridRow * 2;
        auto* label = f.isCheck() ? nullptr : new QLabel(q(f.record.label));
        if (label) label->setObjectName(QString("lblFldLabel%1").arg(n));
        if (n == pages.gridAngleField) {
            // The relative angle button stands right of the field, spanning
            // its label's row, bottoms aligned.
            grid->addWidget(relAngle_, row, f.gridColumn + 1, 2, 1, Qt::AlignLeft | Qt::AlignBottom);
            columns = std::max(columns, f.gridColumn + 2);
        }
        if (label) grid->addWidget(label, row, f.gridColumn, Qt::AlignLeft | Qt::AlignBottom);
        grid->addWidget(w, row + 1, f.gridColumn, Qt::AlignLeft | Qt::AlignTop);
    }
    for (int r = 0; r < 12; ++r) grid->setRowMinimumHeight(r, r % 2 ? px(360) : px(300));
    grid->setColumnStretch(columns + 1, 1);
    grid->setRowStretch(13, 1);
    pagesW_[page] = pageW;
}

void frmDataEdit::refreshField(int n) {
    auto it = fields_.find(n);
    if (it == fields_.end()) {
        if (n == c_.pages().gridAngleField || n == c_.pages().svTypeField) relAngle_->setEnabled(c_.pages().relAngleEnabled());
        return;
    }
    const FieldBox& f = *c_.pages().field(n);
    QSignalBlocker block(it->second);
    syncing_ = true;
    if (auto* combo = qobject_cast<QComboBox*>(it->second)) {
        QStringList items;
        for (const auto& o : f.options) items << q(o);
        QStringList now;
        for (int i = 0; i < combo->count(); ++i) now << combo->itemText(i);
        if (now != items) {
            combo->clear();
            combo->addItems(items);
        }
        combo->setCurrentIndex(f.listIndex);
    } else if (auto* box = qobject_cast<QCheckBox*>(it->second)) {
        box->setChecked(f.checkState != 0);
    } else if (auto* edit = qobject_cast<QLineEdit*>(it->second)) {
        if (edit->text() != q(f.value)) edit->setText(q(f.value));
        if (f.isPosition()) edit->setCursorPosition(f.caret);
    }
    it->second->setEnabled(f.enabled);
    syncing_ = false;
    relAngle_->setEnabled(c_.pages().relAngleEnabled());
}

bool frmDataEdit::pageKey(int n, QKeyEvent* e) {
    auto* edit = static_cast<QLineEdit*>(fields_[n]);
    FieldBox& f = *c_.pages().field(n);
    const int key = e->key();
    auto forward = [&](std::int16_t k) {
        f.caret = edit->cursorPosition();
        const KeyAction a = c_.pages().keyPress(n, k);
        switch (a) {
            case KeyAction::SendTab: focusNextChild(); break;
            case KeyAction::Swallow: refreshField(n); break;
            case KeyAction::Beep: QApplication::beep(); break;
            case KeyAction::Pass:
                // A position's mask takes only what the filter placed itself.
                if (k > 0 && !f.isPosition()) {
                    edit->insert(QString(QChar(static_cast<ushort>(static_cast<unsigned char>(k)))));
                    c_.pages().textChanged(n, s(edit->text()));
                }
                break;
        }
        return a;
    };
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        forward(13);
        return true;
    }
    if (key == Qt::Key_Escape) {
        forward(27);
        return true;
    }
    // Typed over a selected position, a digit, Backspace or Delete first
    // clears the selected digit places, so nothing of the old position
    // survives behind what is typed.
    const std::int16_t typed = keyCode(e);
    if (f.isPosition() && edit->hasSelectedText() &&
        (key == Qt::Key_Backspace || key == Qt::Key_Delete || (typed >= '0' && typed <= '9'))) {
        std::int16_t probe = 8;  // asks first where the field wants confirmation
        if (c_.pages().keyPress(n, probe) == KeyAction::Swallow) {
            refreshField(n);
            return true;
        }
        const int from = edit->selectionStart();
        const int to = from + int(edit->selectedText().size());
        std::string t = f.value;
        for (int p = from; p < to && p < int(t.size()) && p < int(f.maskText.size()); ++p)
            if (f.maskText[std::size_t(p)] == '#') t[std::size_t(p)] = '0';
        c_.pages().textChanged(n, t);
        f.caret = std::max(from, 2);
        refreshField(n);
        if (key == Qt::Key_Backspace || key == Qt::Key_Delete) return true;
    }
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete || e->matches(QKeySequence::Cut) ||
        e->matches(QKeySequence::Undo) || e->matches(QKeySequence::Redo)) {
        if (f.isPosition()) return true;  // the mask keeps its places
        std::int16_t k = 8;
        if (c_.pages().keyPress(n, k) == KeyAction::Swallow) {
            refreshField(n);
            return true;
        }
        return false;  // the box deletes; textEdited hands the text over
    }
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    const std::int16_t k = keyCode(e);
    if (k < 32) return false;  // navigation keys
    forward(k);
    return true;
}

void frmDataEdit::pagePaste(int n, const QString& text) {
    auto* edit = static_cast<QLineEdit*>(fields_[n]);
    FieldBox& f = *c_.pages().field(n);
    f.caret = edit->cursorPosition();
    const std::string filtered = c_.pages().filterPaste(n, s(text));
    if (f.isPosition()) {
        refreshField(n);
        return;
    }
    edit->insert(q(filtered));
    c_.pages().textChanged(n, s(edit->text()));
}

void frmDataEdit::pageFocusOut(int n, Qt::FocusReason reason) {
    if (committing_ || reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) return;
    if (c_.state.currentField != n || c_.state.editState == 0) return;
    committing_ = true;
    const bool ok = c_.pages().CommitFieldEdit();
    committing_ = false;
    refreshField(n);
    refreshMenus();
    if (!ok) {
        // The value failed its check: the focus stays in the field.
        QWidget* w = fields_[n];
        QMetaObject::invokeMethod(this, [w] {
            // The message box had the activation; the editor takes it back
            // (a window manager may hand it on late or elsewhere).
            w->activateWindow();
            w->setFocus(Qt::OtherFocusReason);
            if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
        }, Qt::QueuedConnection);
    }
}

void frmDataEdit::relativeAngle() {
    PageFields& pages = c_.pages();
    if (!c_.commitPending()) return;
    const int course = pages.relAngleCourse();
    const int old = pages.relAngleCurrent();
    float angle = static_cast<float>(old);
    bool canceled = true;
    gridAngleDialog(static_cast<float>(course), angle, canceled);
    if (!canceled) pages.applyRelAngle(angle, old);
    refreshMenus();
    if (QWidget* w = fieldWidget(pages.gridAngleField)) w->setFocus(Qt::OtherFocusReason);
}

void frmDataEdit::redrawDiagramSoon() {
    // A change of any field redraws the picture on show once, after the
    // command that changed it (which may change many fields) is done.
    if (diagramRedrawDue_ || !diagram_->isVisible()) return;
    diagramRedrawDue_ = true;
    QMetaObject::invokeMethod(this, [this] {
        diagramRedrawDue_ = false;
        if (diagram_->isVisible() && diagramPage_ == c_.state.currentPage) showDiagram(diagramKind_, diagramPage_);
    }, Qt::QueuedConnection);
}

void frmDataEdit::showDiagram(DiagramKind kind, int page) {
    diagramKind_ = kind;
    diagramPage_ = page;
    const DiagramFields fields = diagramFields(c_.pages());
    QImage picture;
    switch (kind) {
        case DiagramKind::ArrayPattern:
            picture = ShowArrayPattern(fields.arrayType, QSize(px(kArrayPatternBox.width), px(kArrayPatternBox.height)));
            break;
        case DiagramKind::ServiceVolume:
            if (auto out = DrawServiceVolumeDiagram(fields, {px(kServiceVolumeBox.width), px(kServiceVolumeBox.height)}))
                picture = diagramImage(*out);
            break;
        case DiagramKind::Grid:
            if (auto out = DrawGridDiagram(fields, {px(kGridBox.width), px(kGridBox.height)}))
                picture = diagramImage(*out);
            break;
        default: break;
    }
    if (picture.isNull()) {
        diagram_->hide();
        return;
    }
    diagram_->setPixmap(QPixmap::fromImage(picture));
    diagram_->setFixedSize(picture.size());
    // The box stands in the client area as far from its edge as the page's
    // first control stands from the other one: navaid page top right, from
    // the first field; simulation page bottom left, from the Grid Type list.
    QWidget* client = centralWidget();
    if (diagram_->parentWidget() != client) diagram_->setParent(client);
    auto twips = [](int pixels) { return pixels * kTwipsPerPixel; };
    const TwipsSize box{twips(picture.width()), twips(picture.height())};
    TwipsRect at{};
    if (page == 2) {
        const std::vector<int> numbers = c_.pages().fieldNumbers(2);
        QWidget* first = numbers.empty() ? nullptr : fieldWidget(numbers.front());
        const QPoint p = first ? first->mapTo(client, QPoint(0, 0)) : QPoint(px(240), px(240));
        at = placeOnNavaidPage(box, twips(client->width()), twips(p.x()), twips(p.y()));
    } else {
        QWidget* grid = fieldWidget(c_.pages().gridTypeField);
        const QPoint p = grid ? grid->mapTo(client, QPoint(0, 0)) : QPoint(px(240), 0);
        at = placeOnSimulationPage(box, twips(client->height()), twips(p.x()));
    }
    diagram_->move(px(at.left), px(at.top));
    diagram_->show();
    diagram_->raise();
}

// ---- RF-source table ----------------------------------------------------

void frmDataEdit::buildTablePage() {
    auto* pageW = new QWidget;
    pageW->setObjectName("fraEdit3");
    auto* v = new QVBoxLayout(pageW);
    view_ = new RfTableView(*this);
    view_->setObjectName("flxRFSrc");
    model_ = new RfTableModel(c_.tableEditor(), this);
    view_->setModel(model_);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setSelectionBehavior(QAbstractItemView::SelectItems);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setTabKeyNavigation(false);
    view_->setWordWrap(false);
    view_->setMouseTracking(true);
    auto* vh = view_->verticalHeader();
    vh->setSectionResizeMode(QHeaderView::Fixed);
    vh->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    vh->setSectionsClickable(false);
    vh->setMinimumWidth(view_->fontMetrics().horizontalAdvance("x 9999") + 12);
    vh->viewport()->setMouseTracking(true);
    auto* hh = view_->horizontalHeader();
    hh->setSectionResizeMode(QHeaderView::Fixed);
    hh->setSectionsClickable(false);
    hh->setDefaultAlignment(Qt::AlignCenter);
    const RfTable& t = c_.table();
    int headerLines = 1;
    for (int col = 1; col <= t.columnCount(); ++col) {
        const RfColumn& rc = t.column(col);
        if (rc.hidden()) {
            view_->setColumnHidden(col - 1, true);
            continue;
        }
        int widest = 0;
        const QStringList lines = q(rc.record.header).split('\n');
        headerLines = std::max(headerLines, static_cast<int>(lines.size()));
        for (const QString& l : lines) widest = std::max(widest, view_->fontMetrics().horizontalAdvance(l + "    "));
        view_->setColumnWidth(col - 1, widest + 6);
    }
    hh->setMinimumHeight(view_->fontMetrics().height() * headerLines + 8);
    // The table is as wide as its columns: no column hides behind a scroll bar.
    int width = vh->minimumWidth() + view_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * view_->frameWidth() + 4;
    for (int col = 0; col < t.columnCount(); ++col)
        if (!view_->isColumnHidden(col)) width += view_->columnWidth(col);
    view_->setMinimumWidth(width);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    v->addWidget(view_, 1);

    auto* line = new QHBoxLayout;
    cellLine_ = line;
    cellCaption_ = new QLabel(pageW);
    cellCaption_->setObjectName("lblLabel");
    cellCaption_->setMinimumWidth(px(3300));
    cellText_ = new KeyLineEdit(pageW);
    cellText_->setObjectName("txtEditBox");
    cellText_->setFixedWidth(px(1020));
    cellPosition_ = new KeyLineEdit(pageW);
    cellPosition_->setObjectName("mskEditBox");
    cellPosition_->setFixedWidth(
        std::max(px(1260), cellPosition_->fontMetrics().horizontalAdvance("W 180\xB0 59' 59\"") + 16));
    cellList_ = new QComboBox(pageW);
    cellList_->setObjectName("cboSelectBox");
    cellList_->setFixedWidth(px(3500));
    line->addSpacing(px(180));
    line->addWidget(cellCaption_);
    line->addWidget(cellText_);
    line->addWidget(cellPosition_);
    line->addWidget(cellList_);
    line->addStretch();
    v->addLayout(line);
    // The table shows whole rows only (fitTableRows); what is left of the
    // page stays below the edit line.
    v->addStretch(0);
    cellText_->hide();
    cellPosition_->hide();
    cellList_->hide();

    for (KeyLineEdit* e : {cellText_, cellPosition_}) {
        e->onKey = [this](QKeyEvent* ev) { return cellKey(ev); };
        e->onPaste = [this, e](const QString& text) {
            auto& te = c_.tableEditor();
            te.box().caret = e->cursorPosition();
            for (QChar ch : text) {
                const ushort u = ch.unicode();
                if (u < 32 || u == 127 || u > 255) continue;
                std::int16_t k = static_cast<std::int16_t>(u);
                if (te.editorKey(k) == TableKey::Handled && k > 0 && e == cellText_) e->insert(QString(QChar(u)));
                te.box().caret = e->cursorPosition();
            }
            if (e == cellPosition_) {
                e->setText(q(te.box().value));
                e->setCursorPosition(te.box().caret);
            }
            te.editorTextChanged(s(e->text()));
            model_->rowChanged(te.editRow());
        };
        e->onFocusIn = [this, e] {
            if (syncing_) return;
            auto& te = c_.tableEditor();
            te.editorGotFocus();
            syncing_ = true;
            e->setText(q(te.box().value));
            if (e == cellText_ && te.selectAll()) e->selectAll();
            else e->setCursorPosition(te.box().caret);
            syncing_ = false;
            syncCurrentCell();
        };
        connect(e, &QLineEdit::textEdited, this, [this](const QString& text) {
            auto& te = c_.tableEditor();
            te.editorTextChanged(s(text));
            model_->rowChanged(te.editRow());
        });
    }
    connect(cellList_, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
        if (syncing_) return;
        const bool nav = listNavigation_;
        listNavigation_ = false;
        const auto r = c_.tableEditor().listChosen(index, nav);
        model_->rowChanged(c_.tableEditor().editRow());
        refreshMenus();
        if (r == TableKey::FocusTable) view_->setFocus(Qt::OtherFocusReason);
    });
    pagesW_[3] = pageW;
}

void frmDataEdit::fitTableRows() {
    QWidget* pageW = pagesW_[3];
    QLayout* layout = pageW ? pageW->layout() : nullptr;
    if (!layout) return;
    const QMargins m = layout->contentsMargins();
    const int available = pageW->height() - m.top() - m.bottom() - layout->spacing() - cellLine_->sizeHint().height();
    crv::common::ui::fitWholeRows(view_, available);
}

void frmDataEdit::refreshTable() {
    syncing_ = true;
    model_->setErpHeader(q(c_.pages().model().erpHeader()));
    model_->reset();
    syncing_ = false;
    syncCurrentCell();
    showCellEditor();
    refreshMenus();
}

void frmDataEdit::syncCurrentCell() {
    auto& te = c_.tableEditor();
    if (c_.table().rowCount() == 0) return;
    const QModelIndex i = model_->index(te.currentRow() - 1, te.currentColumn() - 1);
    if (view_->currentIndex() != i) {
        syncing_ = true;
        view_->setCurrentIndex(i);
        syncing_ = false;
    }
    view_->scrollTo(i);
}

void frmDataEdit::showCellEditor() {
    auto& te = c_.tableEditor();
    syncing_ = true;
    cellCaption_->setText(q(te.caption()));
    cellText_->setVisible(te.editor() == CellEditor::Text);
    cellPosition_->setVisible(te.editor() == CellEditor::Position);
    cellList_->setVisible(te.editor() == CellEditor::List);
    switch (te.editor()) {
        case CellEditor::Text:
            cellText_->setMaxLength(c_.table().column(te.currentColumn()).record.width);
            cellText_->setText(q(te.box().value));
            break;
        case CellEditor::Position: cellPosition_->setText(q(te.box().value)); break;
        case CellEditor::List: {
            cellList_->clear();
            for (const auto& o : te.listOptions()) cellList_->addItem(q(o));
            cellList_->setCurrentIndex(te.listIndex());
            break;
        }
        default: break;
    }
    syncing_ = false;
    if (te.beeped()) QApplication::beep();
}

void frmDataEdit::focusCellEditor() {
    switch (c_.tableEditor().editor()) {
        case CellEditor::Text: cellText_->setFocus(Qt::OtherFocusReason); break;
        case CellEditor::Position: cellPosition_->setFocus(Qt::OtherFocusReason); break;
        case CellEditor::List: cellList_->setFocus(Qt::OtherFocusReason); break;
        default: break;
    }
}

bool frmDataEdit::cellKey(QKeyEvent* e) {
    auto& te = c_.tableEditor();
    KeyLineEdit* edit = te.editor() == CellEditor::Position ? cellPosition_ : cellText_;
    std::int16_t k;
    const int key = e->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) k = 13;
    else if (key == Qt::Key_Escape) k = 27;
    else if (key == Qt::Key_Backspace || key == Qt::Key_Delete) return te.editor() == CellEditor::Position;
    else if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    else k = keyCode(e);
    if (k < 0 || (k < 32 && k != 13 && k != 27)) return false;
    te.box().caret = edit->cursorPosition();
    const TableKey r = te.editorKey(k);
    switch (r) {
        case TableKey::FocusTable:
            edit->setText(q(te.box().value));
            model_->rowChanged(te.editRow());
            view_->setFocus(Qt::OtherFocusReason);
            break;
        case TableKey::Handled:
            if (k > 0 && edit == cellText_) {
                edit->insert(QString(QChar(static_cast<ushort>(static_cast<unsigned char>(k)))));
            } else {
                edit->setText(q(te.box().value));
                edit->setCursorPosition(te.box().caret);
            }
            te.editorTextChanged(s(edit->text()));
            model_->rowChanged(te.editRow());
            break;
        case TableKey::Beep: QApplication::beep(); break;
        default: break;
    }
    return true;
}

void frmDataEdit::tableKey(QKeyEvent* e) {
    auto& te = c_.tableEditor();
    const int key = e->key();
    const auto mods = e->modifiers();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        if (mods & (Qt::ControlModifier | Qt::AltModifier)) return;
        tabMove(key == Qt::Key_Backtab || (mods & Qt::ShiftModifier));
        return;
    }
    std::int16_t k = -1;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) k = 13;
    else if (!(mods & (Qt::ControlModifier | Qt::AltModifier))) k = keyCode(e);
    if (k >= 0) {
        const TableKey r = te.tableKey(k);
        if (r == TableKey::Handled) {
            model_->rowChanged(te.currentRow());
            return;
        }
        if (r == TableKey::OpenEditor) {
            showCellEditor();
            focusCellEditor();
            return;
        }
        if (k >= 32 || k == 13) return;
    }
    view_->defaultKey(e);
}

void frmDataEdit::tabMove(bool back) {
    auto& te = c_.tableEditor();
    const int top = view_->rowAt(0) + 1;
    const int visible = std::max(1, view_->viewport()->height() / std::max(1, view_->verticalHeader()->defaultSectionSize()));
    const int oldRow = te.currentRow();
    te.tabKey(back, top, visible);
    model_->rowChanged(oldRow);
    model_->rowChanged(te.currentRow());
    syncCurrentCell();
    showCellEditor();
}

void frmDataEdit::headerHover(int row) {
    switch (c_.tableEditor().headerHover(row)) {
        case RfTableEditor::Tip::Show:
            view_->verticalHeader()->setToolTip(RfTableEditor::toolTipText());
            QToolTip::showText(QCursor::pos(), RfTableEditor::toolTipText(), view_->verticalHeader());
            tipTimer_.start();
            break;
        case RfTableEditor::Tip::Clear:
            if (!view_->verticalHeader()->toolTip().isEmpty() || tipTimer_.isActive()) {
                view_->verticalHeader()->setToolTip(QString());
                QToolTip::hideText();
            }
            tipTimer_.stop();
            break;
        case RfTableEditor::Tip::Keep: break;
    }
}

// ---- Window -------------------------------------------------------------

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
    if (c_.state.currentPage == 3) view_->setFocus(Qt::OtherFocusReason);
    else if (QWidget* w = fieldWidget(c_.pages().focusFieldFor(c_.state.currentPage))) w->setFocus(Qt::OtherFocusReason);
}

void frmDataEdit::afterCommand() {
    for (auto& [n, w] : fields_) refreshField(n);
    refreshTable();
    if (c_.state.editState == 2 && c_.state.currentPage == 3) focusCellEditor();
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

bool frmDataEdit::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    const bool mine = widget && widget->window() == this;
    if (!mine) return QMainWindow::eventFilter(watched, event);

    if (watched == pagesW_[3] && event->type() == QEvent::Resize) fitTableRows();
    if (watched == tabs_) {
        // The tab strip never switches by itself: the page switch decides.
        if (event->type() == QEvent::MouseButtonPress) {
            const int i = tabs_->tabAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            if (i >= 0) requestPage(i + 1);
            return true;
        }
        if (event->type() == QEvent::Wheel || event->type() == QEvent::MouseButtonDblClick) return true;
    }
    if (event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        // Tab and Shift+Tab move between the table's cells, from the table
        // and from its edit line alike: the focus never lands in the edit
        // line by Tab, where the next value typed would go into the cell
        // just left.
        const bool tab = ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab;
        if (tab && !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
            (watched == view_ || watched == cellText_ || watched == cellPosition_ || watched == cellList_)) {
            const bool back = ke->key() == Qt::Key_Backtab || (ke->modifiers() & Qt::ShiftModifier);
            if (watched != view_) {
                // Giving the table the focus commits the edit; a value that
                // fails its check keeps the editor and the cell.
                view_->setFocus(Qt::TabFocusReason);
                if (c_.state.editState != 0 || !view_->hasFocus()) return true;
            }
            tabMove(back);
            return true;
        }
        if ((ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) && (ke->modifiers() & Qt::ControlModifier)) {
            const bool back = ke->key() == Qt::Key_Backtab || (ke->modifiers() & Qt::ShiftModifier);
            int p = c_.state.currentPage + (back ? -1 : 1);
            if (p > 4) p = 1;
            if (p < 1) p = 4;
            requestPage(p);
            return true;
        }
    }
    // The row commands' shortcuts that line edits and lists bind for
    // themselves reach the menu while the RF-source page is shown.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (isClashingShortcut(ke) && c_.menusEnabled()) {
            event->ignore();
            return true;
        }
    }
    if (watched == view_->verticalHeader()->viewport()) {
        auto* hv = view_->verticalHeader();
        if (event->type() == QEvent::MouseButtonPress) {
            headerPressRow_ = hv->logicalIndexAt(static_cast<QMouseEvent*>(event)->position().toPoint()) + 1;
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            const int end = hv->logicalIndexAt(static_cast<QMouseEvent*>(event)->position().toPoint()) + 1;
            if (headerPressRow_ >= 1) {
                auto& te = c_.tableEditor();
                te.headerClick(headerPressRow_, end >= 1 ? end : headerPressRow_);
                headerHover(0);
                refreshTable();
                view_->setFocus(Qt::OtherFocusReason);
            }
            headerPressRow_ = 0;
            return true;
        }
        if (event->type() == QEvent::MouseMove) {
            headerHover(hv->logicalIndexAt(static_cast<QMouseEvent*>(event)->position().toPoint()) + 1);
            return false;
        }
        if (event->type() == QEvent::Leave) headerHover(0);
        if (event->type() == QEvent::ToolTip) return true;  // shown by headerHover
    }
    if (watched == cellList_) {
        if (event->type() == QEvent::FocusIn && !syncing_) {
            c_.tableEditor().editorGotFocus();
        } else if (event->type() == QEvent::KeyPress) {
            auto* ke = static_cast<QKeyEvent*>(event);
            const int k = ke->key();
            if (k == Qt::Key_PageUp || k == Qt::Key_PageDown || k == Qt::Key_End || k == Qt::Key_Home ||
                k == Qt::Key_Left || k == Qt::Key_Right || k == Qt::Key_Up || k == Qt::Key_Down)
                listNavigation_ = true;
            if (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Escape) {
                std::int16_t code = k == Qt::Key_Escape ? 27 : 13;
                if (c_.tableEditor().editorKey(code) == TableKey::FocusTable) {
                    model_->rowChanged(c_.tableEditor().editRow());
                    view_->setFocus(Qt::OtherFocusReason);
                }
                return true;
            }
        }
        return false;
    }
    // Lists and check boxes of the pages.
    for (auto& [n, w] : fields_) {
        if (w != watched || qobject_cast<QLineEdit*>(w)) continue;
        const int field = n;
        if (event->type() == QEvent::FocusIn && !committing_) {
            const DiagramKind d = c_.pages().gotFocus(field);
            showDiagram(d, c_.pages().field(field)->page);
        } else if (event->type() == QEvent::FocusOut) {
            auto r = static_cast<QFocusEvent*>(event)->reason();
            if (!committing_ && r != Qt::PopupFocusReason && r != Qt::ActiveWindowFocusReason &&
                c_.state.currentField == field && c_.state.editState != 0) {
                committing_ = true;
                c_.pages().CommitFieldEdit();
                committing_ = false;
                refreshMenus();
            }
        } else if (event->type() == QEvent::KeyPress) {
            auto* ke = static_cast<QKeyEvent*>(event);
            if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) {
                focusNextChild();
                return true;
            }
            if (ke->key() == Qt::Key_Escape) {
                c_.pages().escape(field);
                refreshField(field);
                return true;
            }
        }
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace crv::editors
