// The case data editor window, driven offscreen end to end.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSet>
#include <QStackedWidget>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTableView>
#include <QtTest>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "../qt/frm_data_edit.h"
#include "../qt/frm_rel_angle.h"
#include "../qt/key_line_edit.h"
#include "../qt/rf_table_model.h"
#include "crv/common/ui/qt/help.h"
#include "crv/common/ui/qt/message_presenter.h"
#include "crv/common/ui/qt/recent_files_menu.h"
#include "crv/editors/case_editor/qt/edit_data_file.h"
#include "crv/testing/files.h"
#include "crv/testing/flat_earth.h"
#include "crv/testing/qt/recording_presenter.h"
#include "crv/testing/qt/snapshot.h"

using crv::testing::RecordingPresenter;

namespace fs = std::filesystem;
using crv::testing::readBytes;
using namespace crv::editors;
using crv::resources::Edition;

namespace {

void showActive(QWidget& w) {
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

// Keys go where the focus is, as a person's typing does.
void type(const QString& text) {
    for (QChar c : text) {
        QWidget* w = QApplication::focusWidget();
        QVERIFY(w);
        QTest::keyClick(w, c.toLatin1());
    }
}
void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* w = QApplication::focusWidget();
    QVERIFY2(w, qPrintable(QString("no focus for key %1").arg(int(k), 0, 16)));
    QTest::keyClick(w, k, mods);
}

// Records messages and lets a test look at the screen when each is shown.
struct WatchingPresenter : crv::testing::RecordingPresenter {
    std::function<void(const crv::common::Message&)> onPresent;
    crv::common::MessageAnswer present(const crv::common::Message& m) override {
        if (onPresent) onPresent(m);
        return RecordingPresenter::present(m);
    }
};

// What the table shows in a cell (row and column 1-based).
// True once the focus is on the page the window shows (a field of it, or the
// RF-source table and its edit line): a page switch is then done.
bool focusOnShownPage(frmDataEdit& w) {
    const auto* stack = w.findChild<QStackedWidget*>();
    QWidget* focus = QApplication::focusWidget();
    return stack && stack->currentWidget() && focus && stack->currentWidget()->isAncestorOf(focus);
}

QString shown(frmDataEdit& w, int row, int column) {
    return w.tableModel()->index(row - 1, column - 1).data(Qt::DisplayRole).toString();
}

// Tells when a window gets its close event.
struct CloseWatcher : QObject {
    std::function<void()> onClose;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Close && onClose) onClose();
        return QObject::eventFilter(o, e);
    }
};

struct Workspace {
    explicit Workspace(const char* name) {
        dir = fs::temp_directory_path() / (std::string("crv_case_window_") + name);
        fs::remove_all(dir);
        fs::create_directories(dir);
        const std::string cmd = std::string(CRV_SAMPLE_EXE) + " '" + dir.string() + "' >/dev/null 2>&1";
        if (std::system(cmd.c_str()) != 0) qFatal("sample workspace not written");
        app.DataFolder = (dir / "Data").string() + "/";
        app.UserFolder = (dir / "User").string() + "/";
        app.OutputFolder = (dir / "Output").string() + "/";
        app.CaseFile = "SampleILS.dat";
        store = std::make_unique<crv::platform::SettingsStore>((dir / "settings.ini").string());
    }
    ~Workspace() { fs::remove_all(dir); }
    fs::path dir;
    crv::common::AppState app;
    std::unique_ptr<crv::platform::SettingsStore> store;
};

// An editor window on a case, without EditDataFile's loop.
struct Editor {
    Editor(Workspace& ws, Edition edition, crv::common::MessagePresenter& presenter)
        : dict(FieldDictionary::forEdition(edition)) {
        EditorServices services;
        services.lldist = crv::testing::flatEarthDist;
        controller = std::make_unique<CaseEditorController>(dict, ws.app, *ws.store, presenter, services);
        window = std::make_unique<frmDataEdit>(*controller);
        auto opened = controller->openInitialCase();
        if (!opened) qFatal("%s", opened.error().c_str());
        controller->ResetEditor();
        window->showCase();
    }
    FieldDictionary dict;
    std::unique_ptr<CaseEditorController> controller;
    std::unique_ptr<frmDataEdit> window;
};

}  // namespace

class FrmDataEditTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { crv::common::ui::setAppPresenter(&rec); }
    void init() {
        rec.messages.clear();
        rec.answers.clear();
    }

    // Pictures of every page in both editions.
    void pagesOfBothEditions() {
        for (Edition e : {Edition::Field, Edition::Scientific}) {
            Workspace ws(e == Edition::Field ? "pages_fld" : "pages_sci");
            Editor ed(ws, e, rec);
            showActive(*ed.window);
            const QString code = e == Edition::Field ? "FLD" : "SCI";
            QCOMPARE(ed.window->windowTitle(), QString(" CRV Data Editor -- SampleILS.dat"));
            for (int page : {1, 2, 3, 4}) {
                QVERIFY(ed.window->requestPage(page));
                QCOMPARE(ed.window->tabBar()->currentIndex(), page - 1);
                if (page == 2) {
                    // The service-volume outline while its list has the focus.
                    ed.window->fieldWidget(ed.controller->pages().svTypeField)->setFocus();
                    QTRY_VERIFY(ed.window->diagramBox()->isVisible());
                }
                // The grid diagram on the simulation page, field edition only.
                if (page == 4)
                    QTRY_COMPARE(QApplication::focusWidget(),
                                 ed.window->fieldWidget(ed.controller->pages().gridTypeField));
                if (page == 4) QTRY_COMPARE(ed.window->diagramBox()->isVisible(), e == Edition::Field);
                // The picture once the page has settled: the focus is on it
                // and what its arrival queued (a field's selection) has run.
                QTRY_VERIFY(focusOnShownPage(*ed.window));
                QCoreApplication::sendPostedEvents();
                crv::testing::saveSnapshot(ed.window.get(),
                                           QString("editors/frmDataEdit_%1_page%2").arg(code).arg(page));
            }
            // Hidden fields have no box; the scientific edition has the power.
            const int power = ed.controller->pages().fieldNumber(2, "Transmitter Power");
            QCOMPARE(ed.window->fieldWidget(power) != nullptr, e == Edition::Scientific);
            QVERIFY(!ed.window->fieldWidget(ed.controller->pages().svRadiusField));
        }
    }

    void relAngleDialog() {
        frmRelAngle d(90, 100, rec);
        showActive(d);
        QVERIFY(d.orientationButton(Orientation::Left)->isChecked());
        QCOMPARE(d.angleBox()->text(), QString("10"));
        crv::testing::saveSnapshot(&d, "editors/frmRelAngle");
        // Clicking an orientation while shown resets the box; Center disables it.
        d.orientationButton(Orientation::Right)->click();
        QCOMPARE(d.angleBox()->text(), QString(" 0"));
        d.orientationButton(Orientation::Center)->click();
        QVERIFY(!d.angleBox()->isEnabled());
        d.cancel();
        QVERIFY(d.canceled());

        // An angle far off the course is shown whole and refused on OK.
        frmRelAngle far(90, 190, rec);
        showActive(far);
        QCOMPARE(far.angleBox()->text(), QString("100"));
        crv::testing::saveSnapshot(&far, "editors/frmRelAngle_far");
        far.ok();
        QVERIFY(far.isVisible());
        QCOMPARE(rec.messages.back().text, std::string(" Value must be in the range 0 to 35. "));
        far.angleBox()->setFocus();
        far.angleBox()->selectAll();
        type("12");
        far.ok();
        QVERIFY(!far.canceled());
        QCOMPARE(far.logic().result(), 102.0f);

        // The modal entry, scripted.
        QTimer::singleShot(0, [] {
            auto* dlg = qobject_cast<frmRelAngle*>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            dlg->orientationButton(Orientation::Right)->click();
            dlg->angleBox()->setText("20");
            dlg->logic().setText("20");
            dlg->ok();
        });
        float angle = 10;
        bool canceled = true;
        GetGridAngle(10, angle, canceled);
        QVERIFY(!canceled);
        QCOMPARE(angle, 350.0f);
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        angle = 10;
        GetGridAngle(10, angle, canceled);
        QVERIFY(canceled);
        QCOMPARE(angle, 10.0f);
    }

    // The page switch can refuse: a value failing its check keeps its page,
    // whether the tab is clicked or Ctrl+Tab pressed.
    void pageSwitchRefuses() {
        Workspace ws("refuse");
        Editor ed(ws, Edition::Field, rec);
        showActive(*ed.window);
        auto& pages = ed.controller->pages();
        QVERIFY(ed.window->requestPage(2));
        auto* elevation = qobject_cast<QLineEdit*>(ed.window->fieldWidget(pages.fieldElevationField));
        elevation->setFocus();
        QTRY_VERIFY(elevation->hasFocus());
        elevation->selectAll();
        type("x-");
        QCOMPARE(elevation->text(), QString("-"));
        rec.messages.clear();
        key(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(ed.window->tabBar()->currentIndex(), 1);
        QCOMPARE(rec.messages.size(), std::size_t(1));
        QCOMPARE(rec.messages[0].title, std::string("Input Error"));
        QTest::mouseClick(ed.window->tabBar(), Qt::LeftButton, {}, ed.window->tabBar()->tabRect(3).center());
        QCOMPARE(ed.window->tabBar()->currentIndex(), 1);
        QTRY_VERIFY(elevation->hasFocus());
        key(Qt::Key_Escape);
        QTest::mouseClick(ed.window->tabBar(), Qt::LeftButton, {}, ed.window->tabBar()->tabRect(3).center());
        QCOMPARE(ed.window->tabBar()->currentIndex(), 3);
        key(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(ed.window->tabBar()->currentIndex(), 2);
        QVERIFY(!ed.controller->state.modified);
    }

    // Shortcuts that line edits bind for themselves reach the menus on the
    // RF-source page; elsewhere the boxes keep them.
    void clashingShortcutsReachTheMenus() {
        Workspace ws("shortcuts");
        Editor ed(ws, Edition::Field, rec);
        showActive(*ed.window);
        QVERIFY(ed.window->requestPage(3));
        auto* view = ed.window->tableView();
        QTRY_VERIFY(view->hasFocus());
        const int rows = ed.controller->table().rowCount();
        key(Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(ed.controller->table().rowCount(), rows + 1);
        // In the cell's text editor too.
        key(Qt::Key_Return);
        QTRY_VERIFY(ed.window->cellText()->hasFocus());
        const QString caption = ed.window->action("mnuPropToggle")->text();
        key(Qt::Key_A, Qt::ControlModifier);
        QVERIFY(ed.window->action("mnuPropToggle")->text() != caption);
        key(Qt::Key_T, Qt::ControlModifier);
        QVERIFY(ed.controller->table().tagged(1));
        key(Qt::Key_U, Qt::ControlModifier);
        QVERIFY(!ed.controller->table().tagged(1));
        rec.answers = {crv::common::MessageAnswer::Cancel};
        key(Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(rec.messages.back().text, std::string(" No rows are tagged "));
        rec.answers = {crv::common::MessageAnswer::Ok};
        key(Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(rec.messages.back().text, std::string(" Delete the current row? "));
        QCOMPARE(ed.controller->table().rowCount(), rows);
        // Page 1: Ctrl+A selects the box's text, the menus stay shut.
        QVERIFY(ed.window->requestPage(1));
        auto* site = qobject_cast<QLineEdit*>(ed.window->fieldWidget(ed.controller->pages().siteField));
        QTRY_VERIFY(site->hasFocus());
        site->deselect();
        key(Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(site->selectedText(), site->text());
        QVERIFY(!ed.window->action("mnuPropToggle")->isEnabled());
    }

    void tableEditingTaggingAndToolTip() {
        Workspace ws("table");
        Editor ed(ws, Edition::Field, rec);
        showActive(*ed.window);
        QVERIFY(ed.window->requestPage(3));
        auto* view = ed.window->tableView();
        auto& t = ed.controller->table();
        QTRY_VERIFY(view->hasFocus());
        // Typing on a cell opens its editor with that key; Enter commits and
        // moves on.
        type("zq");
        QTRY_VERIFY(ed.window->cellText()->hasFocus());
        QCOMPARE(ed.window->editCaption()->text(), QString("Call Letters"));
        key(Qt::Key_Return);
        QCOMPARE(t.cell(1, 1).substr(0, 2), std::string("ZQ"));
        QCOMPARE(ed.controller->tableEditor().currentColumn(), 2);
        QVERIFY(ed.controller->state.modified);
        QVERIFY(!ed.controller->state.checkDue);
        // "/" tags the current row; the header shows the mark.
        QTRY_VERIFY(view->hasFocus());
        type("/");
        QVERIFY(t.tagged(1));
        QCOMPARE(ed.window->tableModel()->headerData(0, Qt::Vertical, Qt::DisplayRole).toString(), QString("x    1"));
        // Pasted text in the cell editor goes through the filter.
        QApplication::clipboard()->setText("9\n8.1x");
        key(Qt::Key_Return);
        QTRY_VERIFY(ed.window->cellText()->hasFocus());
        ed.window->cellText()->selectAll();
        ed.window->cellText()->del();
        key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(ed.window->cellText()->text(), QString("98.1"));
        key(Qt::Key_Return);
        QCOMPARE(t.cell(1, 2), std::string(" 98.100"));
        QVERIFY(ed.controller->state.checkDue);
        // A position keeps its mask: "." and letters other than the
        // hemisphere change nothing, digits go into the digit places.
        QVERIFY(ed.controller->tableEditor().setCurrent(1, 3));
        ed.window->showCase();
        QVERIFY(ed.window->requestPage(3));
        QTRY_VERIFY(view->hasFocus());
        key(Qt::Key_Return);
        QTRY_VERIFY(ed.window->cellPosition()->hasFocus());
        const QString lat = ed.window->cellPosition()->text();
        type(".x");
        QCOMPARE(ed.window->cellPosition()->text(), lat);
        type("s");
        QCOMPARE(ed.window->cellPosition()->text().at(0), QChar('S'));
        key(Qt::Key_Escape);
        QCOMPARE(ed.window->cellPosition()->text(), lat);
        QTRY_VERIFY(view->hasFocus());
        // The row-header tool tip: shown for a new header row, cleared by the
        // timer, never again after a header click.
        QWidget* hv = view->verticalHeader()->viewport();
        const int y3 = view->verticalHeader()->sectionViewportPosition(2) + 3;
        QTest::mouseMove(hv, QPoint(5, y3));
        QTRY_COMPARE(view->verticalHeader()->toolTip(), QString("Click this cell to tag or untag this row."));
        QVERIFY(ed.window->toolTipTimer().isActive());
        QCOMPARE(ed.window->toolTipTimer().interval(), 4000);
        QTest::mouseClick(hv, Qt::LeftButton, {}, QPoint(5, y3));
        QVERIFY(t.tagged(3));
        QTest::mouseMove(hv, QPoint(5, view->verticalHeader()->sectionViewportPosition(4) + 3));
        QCOMPARE(view->verticalHeader()->toolTip(), QString());
        // Dragging over headers tags every row of the range.
        const int y5 = view->verticalHeader()->sectionViewportPosition(4) + 3;
        const int y6 = view->verticalHeader()->sectionViewportPosition(5) + 3;
        QTest::mousePress(hv, Qt::LeftButton, {}, QPoint(5, y5));
        QTest::mouseRelease(hv, Qt::LeftButton, {}, QPoint(5, y6));
        QVERIFY(t.tagged(5) && t.tagged(6));
        crv::testing::saveSnapshot(ed.window.get(), "editors/frmDataEdit_FLD_tagged");
        // Colours come from the row flags: an ignored row is yellow on grey.
        int ignored = 0;
        for (int r = 1; r <= t.rowCount() && !ignored; ++r)
            if (t.flags(r) & RowIgnored) ignored = r;
        QVERIFY(ignored);
        const auto bg = ed.window->tableModel()->index(ignored - 1, 0).data(Qt::BackgroundRole).value<QBrush>();
        QCOMPARE(bg.color(), QColor(255, 255, 128));
    }

    // 1280 rows: the model answers per cell, never per row, and the table
    // scrolls and edits at the bottom.
    void manyRows() {
        Workspace ws("many");
        Editor ed(ws, Edition::Field, rec);
        showActive(*ed.window);
        QVERIFY(ed.window->requestPage(3));
        auto& t = ed.controller->table();
        QElapsedTimer clock;
        clock.start();
        while (t.rowCount() < 1280) t.InsertDefaultRow(t.rowCount() + 1);
        ed.window->showCase();
        QVERIFY(ed.window->requestPage(3));
        const qint64 fill = clock.restart();
        auto* view = ed.window->tableView();
        view->setFocus();
        for (int i = 0; i < 100; ++i) key(Qt::Key_PageDown);
        QCOMPARE(ed.controller->tableEditor().currentRow(), 1280);
        const qint64 scroll = clock.restart();
        type("w");
        key(Qt::Key_Return);
        QCOMPARE(t.cell(1280, 1).substr(0, 1), std::string("W"));
        const qint64 edit = clock.elapsed();
        qInfo("1280 rows: fill %lld ms, 100 page downs %lld ms, one edit %lld ms", fill, scroll, edit);
        crv::testing::saveSnapshot(ed.window.get(), "editors/frmDataEdit_FLD_1280rows");
    }

    // EditDataFile end to end: change fields on every page, add and tag
    // stations, check, save, run; then the saved case reads back the same
    // and runs through the engine.
    void editDataFileEndToEnd() {
        Workspace ws("e2e");
        crv::testing::RecordingPresenter presenter;
        CaseEditorEnvironment env(ws.app, *ws.store, presenter);
        env.lldist = crv::testing::flatEarthDist;
        env.edition = Edition::Field;
        QWidget mainWindow;
        mainWindow.show();
        env.mainWindow = &mainWindow;
        // The main window is shown again before the editor closes: closing the
        // program's last visible window would end the program.
        bool mainShownAtClose = false;
        CloseWatcher watcher;
        watcher.onClose = [&] { mainShownAtClose = mainWindow.isVisible(); };
        bool scripted = false, mainHidden = false;
        std::function<void()> poll = [&] {
            frmDataEdit* w = nullptr;
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* e = qobject_cast<frmDataEdit*>(top); e && e->isVisible()) w = e;
            if (!w) {
                QTimer::singleShot(10, poll);
                return;
            }
            mainHidden = !mainWindow.isVisible();
            w->installEventFilter(&watcher);
            editSampleCase(w, presenter);
            scripted = true;
            // A failed step leaves the editor open: close it so the test ends.
            if (QTest::currentTestFailed() && w->onClosed) w->onClosed();
        };
        QTimer::singleShot(0, poll);
        const int result = EditDataFile(env);
        QVERIFY(scripted);
        QVERIFY(mainHidden);
        QCOMPARE(result, 2);
        QVERIFY(mainShownAtClose);
        QVERIFY(mainWindow.isVisible());

        // What was saved reads back with the edits, and writes the same bytes.
        const fs::path saved = ws.dir / "Data" / "SampleILS.dat";
        const std::string bytes = readBytes(saved);
        const auto dict = FieldDictionary::forEdition(Edition::Field);
        auto data = LoadDataFile(saved.string(), dict);
        QVERIFY2(data, data ? "" : data.error().c_str());
        QCOMPARE(data->casePage[1], std::string("North FieldFour"));
        QVERIFY(bytes.find(" 8500") != std::string::npos);
        QVERIFY(bytes.find(" QNXT    ") != std::string::npos);
        QVERIFY(bytes.find("  88.300") != std::string::npos);
        QVERIFY(bytes.find("  5  1  ") != std::string::npos);  // grid type 5
        QVERIFY(bytes.find(" 265 ") != std::string::npos);     // 275 - 10
        const fs::path again = ws.dir / "again.dat";
        QVERIFY(SaveDataFile(again.string(), *data, dict, data->checkedMark));
        QCOMPARE(readBytes(again), bytes);

        // The saved case through the engine, as the main window's Run does.
        fs::create_directories(ws.dir / "run");
        fs::copy_file(saved, ws.dir / "run" / "Rfi.plt");
        const std::string cmd = "cd '" + ws.dir.string() + "' && CORVANE_SETTINGS='" + (ws.dir / "none.ini").string() +
                                "' '" + CRV50_EXE + "' --quiet run run >/dev/null 2>&1";
        QCOMPARE(std::system(cmd.c_str()), 0);
        QVERIFY(fs::file_size(ws.dir / "run" / "Rfi.txt") > 0);
    }

    // Browsing a list cell with the arrow keys shows the option in the cell;
    // Escape leaves the cell, the row and the case as they were.
    void listEscapeUndoesTheBrowsing() {
        Workspace ws("list_escape");
        Editor ed(ws, Edition::Field, rec);
        showActive(*ed.window);
        QVERIFY(ed.window->requestPage(3));
        auto& t = ed.controller->table();
        int r = 0;
        for (int row = 1; row <= t.rowCount() && !r; ++row)
            if (t.cell(row, 10) == "N") r = row;
        QVERIFY(r);
        const auto flags = t.flags(r);
        QVERIFY(ed.controller->tableEditor().setCurrent(r, 10));
        ed.window->showCase();
        QVERIFY(ed.window->requestPage(3));
        QTRY_VERIFY(ed.window->tableView()->hasFocus());
        key(Qt::Key_Return);
        QTRY_VERIFY(ed.window->cellList()->hasFocus());
        key(Qt::Key_Down);
        QCOMPARE(shown(*ed.window, r, 10), QString("P"));
        QCOMPARE(t.cell(r, 10), std::string("N"));
        key(Qt::Key_Escape);
        QTRY_VERIFY(ed.window->tableView()->hasFocus());
        QCOMPARE(shown(*ed.window, r, 10), QString("N"));
        QCOMPARE(t.cell(r, 10), std::string("N"));
        QCOMPARE(t.flags(r), flags);
        QVERIFY(!ed.controller->state.modified);
        QCOMPARE(ed.window->cellList()->currentText().left(1), QString("N"));
        // Enter accepts what was browsed to.
        key(Qt::Key_Return);
        QTRY_VERIFY(ed.window->cellList()->hasFocus());
        key(Qt::Key_Down);
        key(Qt::Key_Return);
        QTRY_VERIFY(ed.window->tableView()->hasFocus());
        QCOMPARE(t.cell(r, 10), std::string("P"));
        QVERIFY(t.flags(r) & RowProponent);
        QVERIFY(ed.controller->state.modified);
    }

    // Tab and Shift+Tab move between cells, from the table and from the edit
    // line; what is typed next goes into the cell Tab went to.
    void tabMovesBetweenCells() {
        Workspace ws("tab");
        Editor ed(ws, Edition::Field, rec);
        showActive(*ed.window);
        QVERIFY(ed.window->requestPage(3));
        auto& te = ed.controller->tableEditor();
        auto& t = ed.controller->table();
        QVERIFY(te.setCurrent(1, 3));
        ed.window->showCase();
        QVERIFY(ed.window->requestPage(3));
        auto* view = ed.window->tableView();
        QTRY_VERIFY(view->hasFocus());
        const std::string latitude = t.cell(1, 3);
        key(Qt::Key_Tab);
        QCOMPARE(te.currentColumn(), 4);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(view));
        key(Qt::Key_Tab);
        QCOMPARE(te.currentColumn(), 5);
        QCOMPARE(ed.window->editCaption()->text().isEmpty(), false);
        type("2");
        QTRY_VERIFY(ed.window->cellText()->hasFocus());
        key(Qt::Key_Tab);  // commits the ERP and moves on
        QTRY_VERIFY(view->hasFocus());
        QCOMPARE(t.cell(1, 5), std::string("  2.0000"));
        QCOMPARE(te.currentColumn(), 6);
        key(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(te.currentColumn(), 5);
        key(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(te.currentColumn(), 4);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(view));
        QCOMPARE(t.cell(1, 3), latitude);
        // Typing opens the editor of the cell Tab went to.
        type("x");
        QTRY_VERIFY(ed.window->cellPosition()->hasFocus());
        QCOMPARE(te.currentColumn(), 4);
    }

    // Opening another case from page 4: the new case is shown from page 1,
    // without the old diagram, and the check asks about rows that are on
    // screen.
    void openingAnotherCaseStartsOnPageOne() {
        Workspace ws("open_other");
        // A copy of the VOR sample whose first station has no ERP: the
        // check asks about it.
        const fs::path vor = ws.dir / "Data" / "SampleVOR.dat";
        std::string text = readBytes(vor);
        const auto firstRow = text.find('\n', text.find('\n') + 1) + 1;
        text.replace(firstRow + 38, 8, "  0.0000");
        std::ofstream(ws.dir / "Data" / "NoErp.dat", std::ios::binary) << text;

        WatchingPresenter watching;
        Editor ed(ws, Edition::Field, watching);
        showActive(*ed.window);
        QVERIFY(ed.window->requestPage(4));
        QTRY_VERIFY(ed.window->diagramBox()->isVisible());
        bool asked = false;
        watching.onPresent = [&](const crv::common::Message& m) {
            if (m.title != "Data Check") return;
            asked = true;
            QCOMPARE(ed.window->tabBar()->currentIndex(), 2);
            QCOMPARE(ed.window->tableModel()->rowCount(), ed.controller->table().rowCount());
            QCOMPARE(shown(*ed.window, 1, 1), QString::fromLatin1(ed.controller->table().cell(1, 1).c_str()));
            QVERIFY(!ed.window->diagramBox()->isVisible());
            crv::testing::saveSnapshot(ed.window.get(), "editors/frmDataEdit_FLD_open_check");
        };
        watching.answers = {crv::common::MessageAnswer::No};
        ws.app.RecentFiles[0] = ws.app.DataFolder + "NoErp.dat";
        ws.app.RecentFiles[1] = ws.app.DataFolder + "SampleILS.dat";
        crv::common::ui::UpdateRecentFilesMenu(ws.app);
        ed.window->action("mnuFileRecent1")->trigger();
        QCOMPARE(ed.window->windowTitle(), QString(" CRV Data Editor -- NoErp.dat"));
        QVERIFY(asked);
        // The check failed: the editor stays on the RF sources.
        QCOMPARE(ed.window->tabBar()->currentIndex(), 2);
        QVERIFY(!ed.window->diagramBox()->isVisible());

        // A case that passes its check opens on page 1, from page 4 too.
        key(Qt::Key_Escape);
        ed.controller->state.modified = false;
        QVERIFY(ed.window->requestPage(4) || ed.window->tabBar()->currentIndex() == 2);
        ed.window->action("mnuFileRecent2")->trigger();
        QCOMPARE(ed.window->windowTitle(), QString(" CRV Data Editor -- SampleILS.dat"));
        QCOMPARE(ed.window->tabBar()->currentIndex(), 0);
        QVERIFY(!ed.window->diagramBox()->isVisible());
    }

    // The grid diagram follows every change of the fields it draws, also one
    // that comes from the relative angle dialog.
    void diagramFollowsTheRelativeAngle() {
        Workspace ws("diagram");
        Editor ed(ws, Edition::Field, rec);
        showActive(*ed.window);
        QVERIFY(ed.window->requestPage(4));
        auto* grid = qobject_cast<QComboBox*>(ed.window->fieldWidget(ed.controller->pages().gridTypeField));
        QVERIFY(grid);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(grid));
        grid->setCurrentIndex(4);  // vertical at a user heading
        emit grid->activated(4);
        QVERIFY(ed.window->relAngleButton()->isEnabled());
        QWidget* angle = ed.window->fieldWidget(ed.controller->pages().gridAngleField);
        angle->setFocus();
        QTRY_VERIFY(angle->hasFocus());
        QTRY_VERIFY(ed.window->diagramBox()->isVisible());
        const QImage before = ed.window->diagramBox()->pixmap().toImage();
        ed.window->gridAngleDialog = [](float, float& a, bool& canceled) {
            a = 295;  // 20 degrees left of the course 275
            canceled = false;
        };
        ed.window->relAngleButton()->click();  // the focus stays in Grid Angle
        QTRY_VERIFY(ed.window->diagramBox()->pixmap().toImage() != before);
        crv::testing::saveSnapshot(ed.window.get(), "editors/frmDataEdit_FLD_rel_angle");
        // The box stands as far above the client area's bottom as it stands
        // from its left edge (both from the Grid Type list), at any size.
        QLabel* box = ed.window->diagramBox();
        for (int h : {560, 690}) {
            ed.window->resize(ed.window->width(), h);
            QWidget* client = ed.window->centralWidget();
            QTRY_VERIFY(std::abs(client->height() - (box->y() + box->height()) - box->x()) <= 1);
            const int gridLeft =
                ed.window->fieldWidget(ed.controller->pages().gridTypeField)->mapTo(client, QPoint(0, 0)).x();
            QVERIFY(std::abs(box->x() - (gridLeft - 8)) <= 1);  // 120 twips left of the list
        }
    }

    // No list choice is cut; the table shows whole rows at any height.
    void listsAndTableShowWholeTexts() {
        for (Edition e : {Edition::Field, Edition::Scientific}) {
            Workspace ws(e == Edition::Field ? "layout_fld" : "layout_sci");
            Editor ed(ws, e, rec);
            showActive(*ed.window);
            for (int page : {2, 4}) {
                QVERIFY(ed.window->requestPage(page));
                for (int n : ed.controller->pages().fieldNumbers(page)) {
                    auto* combo = qobject_cast<QComboBox*>(ed.window->fieldWidget(n));
                    if (!combo) continue;
                    QStyleOptionComboBox opt;
                    opt.initFrom(combo);
                    opt.editable = false;
                    const int room =
                        combo->style()
                            ->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, combo)
                            .width();
                    for (int i = 0; i < combo->count(); ++i)
                        QVERIFY2(combo->fontMetrics().horizontalAdvance(combo->itemText(i)) <= room,
                                 qPrintable(combo->itemText(i)));
                }
            }
            QVERIFY(ed.window->requestPage(3));
            auto* view = ed.window->tableView();
            const int rowHeight = view->verticalHeader()->defaultSectionSize();
            for (int h : {560, 613, 677, 701}) {
                ed.window->resize(ed.window->width(), h);
                QTRY_COMPARE(view->viewport()->height() % rowHeight, 0);
                QVERIFY(view->viewport()->height() >= rowHeight);
            }
            crv::testing::saveSnapshot(ed.window.get(),
                                       QString("editors/frmDataEdit_%1_rows").arg(e == Edition::Field ? "FLD" : "SCI"));
        }
    }

    // Each page has its own help page.
    void helpTopicPerPage() {
        QSet<QString> titles;
        for (int topic = 16; topic <= 19; ++topic) {
            const QString name = QString::fromStdString(caseEditorHelpTopic(topic));
            QVERIFY2(!crv::common::ui::helpPage(name).isEmpty(), qPrintable(name));
            titles.insert(crv::common::ui::helpTitle(name));
        }
        QCOMPARE(titles.size(), 4);
        QVERIFY(crv::common::ui::helpTitle(QString::fromStdString(caseEditorHelpTopic(18))).contains("RF Sources"));
    }

    // The editor opens over the main window, not at the screen's corner.
    void editorOpensOverTheMainWindow() {
        Workspace ws("place");
        crv::testing::RecordingPresenter presenter;
        CaseEditorEnvironment env(ws.app, *ws.store, presenter);
        env.lldist = crv::testing::flatEarthDist;
        QWidget mainWindow;
        mainWindow.resize(300, 200);
        mainWindow.move(150, 120);
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
        env.mainWindow = &mainWindow;
        const QRect main = mainWindow.frameGeometry();
        QRect placed;
        QTimer::singleShot(0, [&] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* e = qobject_cast<frmDataEdit*>(top); e && e->isVisible()) {
                    placed = e->frameGeometry();
                    e->onClosed();
                }
        });
        EditDataFile(env);
        QVERIFY(placed.isValid());
        const QRect work = mainWindow.screen()->availableGeometry();
        // Centred on the main window, pulled into the work area; one larger
        // than the work area starts at its left or top edge.
        const auto pullIn = [](int at, int low, int high) { return std::max(std::min(at, high), low); };
        const int x =
            pullIn(main.center().x() + 1 - placed.width() / 2, work.left(), work.right() + 1 - placed.width());
        const int y =
            pullIn(main.top() + (main.height() + (mainWindow.geometry().top() - main.top())) / 2 - placed.height() / 2,
                   work.top(), work.bottom() + 1 - placed.height());
        QVERIFY(placed.left() >= work.left() && placed.top() >= work.top());
        // (within a few pixels: the window may still grow by its layout once shown)
        QVERIFY2(std::abs(placed.left() - x) <= 8 && std::abs(placed.top() - y) <= 8,
                 qPrintable(QString("at %1,%2, expected %3,%4").arg(placed.left()).arg(placed.top()).arg(x).arg(y)));
    }

    // The File menu's recent entries list the cases and open them.
    void recentEntriesOpenCases() {
        Workspace ws("recent");
        Editor ed(ws, Edition::Field, rec);
        showActive(*ed.window);
        QAction* first = ed.window->action("mnuFileRecent1");
        QVERIFY(first);
        QVERIFY(first->isVisible());
        QCOMPARE(first->text(), QString("SampleILS.dat"));
        ws.app.RecentFiles[0] = ws.app.DataFolder + "SampleVOR.dat";
        ws.app.RecentFiles[1] = ws.app.DataFolder + "SampleILS.dat";
        crv::common::ui::UpdateRecentFilesMenu(ws.app);
        first->trigger();
        QCOMPARE(ws.app.CaseFile, std::string("SampleVOR.dat"));
        QCOMPARE(ed.window->windowTitle(), QString(" CRV Data Editor -- SampleVOR.dat"));
        QCOMPARE(ed.window->action("mnuFileRecent2")->text(), QString("SampleILS.dat"));
        ed.window->action("mnuFileRecent2")->trigger();
        QCOMPARE(ws.app.CaseFile, std::string("SampleILS.dat"));
        QCOMPARE(ed.window->tabBar()->currentIndex(), 0);
    }

    // A case that cannot be read closes the editor with 1 and the error.
    void unreadableCaseReturnsOne() {
        Workspace ws("unreadable");
        ws.app.CaseFile = "Missing.dat";
        crv::testing::RecordingPresenter presenter;
        CaseEditorEnvironment env(ws.app, *ws.store, presenter);
        env.lldist = crv::testing::flatEarthDist;
        QCOMPARE(EditDataFile(env), 1);
        QCOMPARE(presenter.messages.size(), std::size_t(1));
        QCOMPARE(presenter.messages[0].title, std::string("CRV Error"));
    }

    // The close box is Exit Editor.
    void closeBoxIsExit() {
        Workspace ws("closebox");
        crv::testing::RecordingPresenter presenter;
        CaseEditorEnvironment env(ws.app, *ws.store, presenter);
        env.lldist = crv::testing::flatEarthDist;
        QTimer::singleShot(0, [] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* e = qobject_cast<frmDataEdit*>(top)) e->close();
        });
        QCOMPARE(EditDataFile(env), 1);
    }

private:
    void editSampleCase(frmDataEdit* w, crv::testing::RecordingPresenter& presenter) {
        showActive(*w);
        // Page 1: the site, typed and pasted (the line break is dropped).
        auto* site = qobject_cast<QLineEdit*>(w->findChild<QWidget*>("field17"));
        QVERIFY(site);
        QTRY_VERIFY(site->hasFocus());
        site->selectAll();
        type("North");
        QApplication::clipboard()->setText(" Field\r\nFour");
        key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(site->text(), QString("North FieldFour"));
        // Page 2 by a tab click: the site is committed on the way.
        QTest::mouseClick(w->tabBar(), Qt::LeftButton, {}, w->tabBar()->tabRect(1).center());
        QCOMPARE(w->tabBar()->currentIndex(), 1);
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        qobject_cast<QLineEdit*>(focus)->selectAll();
        type("8500");  // Runway Length
        // Page 3 by Ctrl+Tab: a new station, tagged, made a non-proponent.
        key(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(w->tabBar()->currentIndex(), 2);
        QTRY_VERIFY(w->tableView()->hasFocus());
        key(Qt::Key_Insert, Qt::ShiftModifier);
        type("qnxt");
        key(Qt::Key_Return);
        type("88.3");
        key(Qt::Key_Return);
        QTRY_VERIFY(w->tableView()->hasFocus());
        type("/");
        key(Qt::Key_N, Qt::ControlModifier);
        w->action("mnuToolsImods")->trigger();
        // Page 4: a user heading, set through the relative angle dialog.
        key(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(w->tabBar()->currentIndex(), 3);
        auto* grid = qobject_cast<QComboBox*>(QApplication::focusWidget());
        QVERIFY(grid);
        grid->setCurrentIndex(4);
        emit grid->activated(4);
        QVERIFY(w->relAngleButton()->isEnabled());
        QTimer::singleShot(0, [] {
            auto* dlg = qobject_cast<frmRelAngle*>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            dlg->orientationButton(Orientation::Right)->click();
            dlg->angleBox()->setText("10");
            dlg->logic().setText("10");
            dlg->ok();
        });
        w->relAngleButton()->click();
        showActive(*w);  // no window manager gives the editor back its activation
        QTRY_VERIFY(QApplication::focusWidget() != nullptr);
        crv::testing::saveSnapshot(w, "editors/frmDataEdit_FLD_edited");
        key(Qt::Key_S, Qt::ControlModifier);
        for (const auto& m : presenter.messages) qInfo("message: %s", m.text.c_str());
        key(Qt::Key_R, Qt::ControlModifier);
    }

    crv::testing::RecordingPresenter rec;
};

QTEST_MAIN(FrmDataEditTest)
#include "frm_data_edit_qtest.moc"
