// The case data editor's table with 1280 RF sources: how long the model takes
// to answer for every cell, a full repaint at the top and at the bottom, 100
// page downs through the table and one cell edit at the end. Offscreen.
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>
#include <cstdio>
#include <filesystem>

#include "../qt/frm_data_edit.h"
#include "../qt/rf_table_model.h"
#include "crv/common/ui/qt/message_presenter.h"
#include "crv/testing/flat_earth.h"
#include "crv/testing/qt/recording_presenter.h"

namespace fs = std::filesystem;
using namespace crv::editors;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: case_editor_bench <sample workspace written by crv_sample>\n");
        return 2;
    }
    const fs::path dir = argv[1];
    crv::testing::RecordingPresenter presenter;
    crv::common::ui::setAppPresenter(&presenter);
    crv::common::AppState state;
    state.DataFolder = (dir / "Data").string() + "/";
    state.UserFolder = (dir / "User").string() + "/";
    state.CaseFile = "SampleILS.dat";
    crv::platform::SettingsStore store((dir / "bench_settings.ini").string());
    const auto dict = FieldDictionary::forEdition(crv::resources::Edition::Field);
    EditorServices services;
    services.lldist = crv::testing::flatEarthDist;
    CaseEditorController c(dict, state, store, presenter, services);
    frmDataEdit w(c);
    if (!c.openInitialCase()) return 1;
    auto& t = c.table();
    while (t.rowCount() < 1280) t.InsertDefaultRow(t.rowCount() + 1);
    c.ResetEditor();
    w.show();
    w.showCase();
    w.requestPage(3);
    QApplication::processEvents();

    QElapsedTimer clock;
    auto* model = w.tableModel();
    clock.start();
    int cells = 0;
    for (int r = 0; r < model->rowCount(); ++r)
        for (int col = 0; col < model->columnCount(); ++col) {
            const QModelIndex i = model->index(r, col);
            cells += model->data(i, Qt::DisplayRole).isValid() + model->data(i, Qt::BackgroundRole).isValid();
        }
    const double allCells = clock.nsecsElapsed() / 1e6;
    clock.restart();
    (void)w.tableView()->viewport()->grab();
    const double paintTop = clock.nsecsElapsed() / 1e6;
    w.tableView()->setFocus();
    clock.restart();
    for (int i = 0; i < 100; ++i) {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(w.tableView(), &down);
    }
    QApplication::processEvents();
    const double pageDowns = clock.nsecsElapsed() / 1e6;
    clock.restart();
    (void)w.tableView()->viewport()->grab();
    const double paintBottom = clock.nsecsElapsed() / 1e6;
    clock.restart();
    auto& te = c.tableEditor();
    te.tableKey(13);
    te.editorGotFocus();
    te.editorTextChanged("QEND");
    te.CommitCellEdit();
    model->rowChanged(te.currentRow());
    QApplication::processEvents();
    const double edit = clock.nsecsElapsed() / 1e6;
    std::printf("rows %d, row %d current after 100 page downs\n", t.rowCount(), te.currentRow());
    std::printf("every cell's text and colour: %.2f ms (%d answers)\n", allCells, cells);
    std::printf("table repaint at the top: %.2f ms, at the bottom: %.2f ms\n", paintTop, paintBottom);
    std::printf("100 page downs: %.2f ms; one edit committed: %.2f ms\n", pageDowns, edit);
    return 0;
}
