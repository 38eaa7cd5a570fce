#include "frm_data_edit.h"

// The case data editor's menu bar: the commands, their shortcuts, the recent
// files, and which of them the page shown allows.
#include <QAction>
#include <QMenuBar>

#include "crv/common/ui/qt/qt_text.h"
#include "crv/common/ui/qt/recent_files_menu.h"
#include "frm_data_edit_keys.h"

namespace crv::editors {

using namespace data_edit;

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

}  // namespace crv::editors
