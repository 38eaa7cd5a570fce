// Simulation runs in the running program: clicks on the greyed Cancel while a
// step's result shows, two cases (one with a non-ASCII name) run into their
// own folders, and their results opened through File > Display Results.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

#include <filesystem>
#include <set>

#include "crv/common/ui/qt/frm_file_sel.h"
#include "journey_harness.h"

using crv::journeys::clickButton;
using crv::journeys::Journey;
using crv::journeys::saveScreen;
using crv::journeys::triggerMenu;
using crv::resources::Edition;
namespace fs = std::filesystem;

namespace {

// Clicks the rows of the browser's list showing `names` (Ctrl for the second
// on), then OK.
void chooseInBrowser(QWidget* w, const QStringList& names) {
    auto* browser = qobject_cast<crv::common::ui::frmFileSel*>(w);
    QVERIFY(browser);
    QTreeView* list = browser->fileList();
    QTRY_VERIFY(list->model()->rowCount() > 0);
    bool first = true;
    for (const QString& name : names) {
        int row = -1;
        for (int r = 0; r < list->model()->rowCount() && row < 0; ++r)
            if (list->model()->index(r, 0).data().toString() == name) row = r;
        QVERIFY2(row >= 0, qPrintable(name));
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, first ? Qt::KeyboardModifiers{} : Qt::ControlModifier,
                          rect.center());
        first = false;
    }
    QTest::mouseClick(browser->okButton(), Qt::LeftButton);
}

// Watches the progress window for as long as it lives: every step text seen,
// and while a result shows (Cancel greyed) one click on Cancel.
struct ProgressWatch {
    QStringList steps, results;
    void attach(QWidget* progress) {
        auto* poll = new QTimer(progress);
        QObject::connect(poll, &QTimer::timeout, progress, [this, progress] {
            auto* step = progress->findChild<QLabel*>(QStringLiteral("lblMessage1"));
            auto* result = progress->findChild<QLabel*>(QStringLiteral("lblMessage2"));
            auto* cancel = progress->findChild<QPushButton*>(QStringLiteral("cmdCancel"));
            if (!step || !result || !cancel || !progress->isVisible()) return;
            QString text = step->text();
            text.remove(QChar(0x200B));
            if (!steps.contains(text)) steps << text;
            if (result->isVisible() && !cancel->isEnabled() &&
                (results.isEmpty() || results.last() != result->text())) {
                results << result->text();
                QTest::mouseClick(cancel, Qt::LeftButton);
                QTest::keyClick(progress, Qt::Key_Escape);
            }
        });
        poll->start(10);
    }
};

// The File menu the program opens on "Display Results..." after a run.
QMenu* resultsMenu() {
    QMenu* menu = nullptr;
    (void)QTest::qWaitFor([&] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr; },
                          10000);
    return menu;
}

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
    return names;
}

}  // namespace

class RunJourney : public QObject {
    Q_OBJECT
private slots:
    // The sample ILS case, with Cancel clicked and Escape pressed during
    // every result pause: every step still runs and every result is written.
    void greyedCancelDuringTheResultPauses() {
        Journey j(Edition::Scientific);
        ProgressWatch watch;
        const std::string out = j.workspace() + "Output/";
        const int status = j.run([&] {
            j.whenShown(QStringLiteral("frmFileSel"), [&](QWidget* w) { chooseInBrowser(w, {"SampleILS.dat"}); });
            j.whenShown(QStringLiteral("frmProgress"), [&](QWidget* w) { watch.attach(w); });
            QVERIFY(triggerMenu(j.mainWindow(), {"Simulation", "Run Simulation"}));
            QCOMPARE(j.pendingSteps(), 0);
            QMenu* menu = resultsMenu();
            QVERIFY(menu);
            saveScreen(QStringLiteral("run_greyed_cancel"));
            menu->close();
            j.mainWindow()->close();
        });
        QCOMPARE(status, 0);
        // Grid, A2/B2, two- and three-signal B1: each showed its result and ran on.
        QCOMPARE(watch.results.size(), 4);
        QVERIFY2(watch.results[0].endsWith(QStringLiteral(" grid points generated.")), qPrintable(watch.results[0]));
        const auto names = namesIn(out);
        for (const char* f : {"Rfi.plt", "Rfi.txt", "Rcvr_Loc.plx"}) QVERIFY2(names.count(f), f);
        QVERIFY(fs::file_size(out + "Rfi.txt") > 0);
    }

    // Two cases, one named "Big Copy ä.dat", run into folders of their own;
    // File > Display Results, opened once before the run, shows both folders
    // now, and a plot of each opens.
    void twoCasesThenDisplayResults() {
        Journey j(Edition::Scientific);
        const std::string data = j.workspace() + "Data/";
        const std::string copyName = "Big Copy \xC3\xA4.dat";
        fs::copy_file(data + "SampleILS.dat", data + copyName);
        const QString copy = QString::fromUtf8(copyName.c_str());
        ProgressWatch watch;
        QStringList folders;
        const int status = j.run([&] {
            // The browser looks at the output folder before the run folders exist.
            j.whenShown(QStringLiteral("frmFileSel"), [&](QWidget* w) {
                auto* tree = qobject_cast<crv::common::ui::frmFileSel*>(w)->folderTree();
                tree->currentItem()->setExpanded(true);
                QCOMPARE(tree->currentItem()->childCount(), 0);
                static_cast<QDialog*>(w)->reject();
            });
            QVERIFY(triggerMenu(j.mainWindow(), {"File", "Display Results"}));
            QCOMPARE(j.pendingSteps(), 0);

            j.whenShown(QStringLiteral("frmFileSel"), [&](QWidget* w) { chooseInBrowser(w, {copy, "SampleILS.dat"}); });
            j.whenShown(QStringLiteral("frmProgress"), [&](QWidget* w) { watch.attach(w); });
            QVERIFY(triggerMenu(j.mainWindow(), {"Simulation", "Run Simulation"}));
            QCOMPARE(j.pendingSteps(), 0);

            // From the menu the program opened: Display Results, a run folder, its
            // receiver plot; the browser comes back after each plot.
            auto openPlotOf = [&](const QString& folderName, const QString& picture) {
                j.whenShown(QStringLiteral("frmFileSel"), [&, folderName, picture](QWidget* w) {
                    auto* browser = qobject_cast<crv::common::ui::frmFileSel*>(w);
                    QTreeWidgetItem* output = browser->folderTree()->currentItem();
                    while (output &&
                           output->data(0, Qt::UserRole).toString() != QString::fromStdString(j.workspace() + "Output"))
                        output = output->parent();
                    QVERIFY(output);
                    output->setExpanded(true);
                    folders.clear();
                    QTreeWidgetItem* runFolder = nullptr;
                    for (int i = 0; i < output->childCount(); ++i) {
                        folders << output->child(i)->text(0);
                        if (output->child(i)->text(0) == folderName) runFolder = output->child(i);
                    }
                    QVERIFY(runFolder);
                    browser->folderTree()->setCurrentItem(runFolder);
                    browser->fileTypes()->setCurrentIndex(2);  // receiver positions (*.plx)
                    saveScreen(picture + QStringLiteral("_browser"));
                    chooseInBrowser(w, {"Rcvr_Loc.plx"});
                });
                j.whenShown(QStringLiteral("frmPlotScreen"), [&, picture](QWidget* plot) {
                    QTRY_VERIFY(plot->isVisible());
                    saveScreen(picture);
                    QVERIFY(clickButton(plot, QStringLiteral("Exit")));
                });
            };
            openPlotOf(QStringLiteral("Big Copy ") + QChar(0xE4), QStringLiteral("plot_of_the_non_ascii_run"));
            openPlotOf(QStringLiteral("SampleILS"), QStringLiteral("plot_of_the_sample_run"));
            j.whenShown(QStringLiteral("frmFileSel"), [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
            QMenu* menu = resultsMenu();
            QVERIFY(menu);
            QCOMPARE(menu->activeAction() ? menu->activeAction()->objectName() : QString(),
                     QStringLiteral("mnuFileResults"));
            QTest::keyClick(menu, Qt::Key_Return);
            QTRY_COMPARE(j.pendingSteps(), 0);
            QTRY_VERIFY(j.mainWindow()->isVisible());
            j.mainWindow()->close();
        });
        QCOMPARE(status, 0);
        QCOMPARE(folders, QStringList({QStringLiteral("Big Copy ") + QChar(0xE4), QStringLiteral("SampleILS")}));
        // The progress window named the case as the file system does.
        bool named = false;
        for (const QString& s : watch.steps)
            named = named || s.contains(QStringLiteral("Big Copy ") + QChar(0xE4) + ".dat");
        QVERIFY2(named, qPrintable(watch.steps.join(QLatin1Char('|'))));
        QCOMPARE(watch.results.size(), 8);  // four steps for each case, none cancelled
        for (const std::string& folder :
             {j.workspace() + "Output/Big Copy \xC3\xA4/", j.workspace() + "Output/SampleILS/"})
            for (const char* f : {"Rfi.txt", "Rcvr_Loc.plx"}) QVERIFY2(fs::exists(folder + f), (folder + f).c_str());
    }

    // A case named "Big Copy ä.dat" opened: the editor's caption and both
    // recent-file menus show its name as the file system has it.
    void nonAsciiCaseNameOnScreen() {
        Journey j(Edition::Scientific);
        const std::string data = j.workspace() + "Data/";
        fs::copy_file(data + "SampleILS.dat", data + "Big Copy \xC3\xA4.dat");
        const QString name = QStringLiteral("Big Copy ") + QChar(0xE4) + QStringLiteral(".dat");
        QString caption, editorRecent;
        const int status = j.run([&] {
            j.whenShown(QStringLiteral("frmFileSel"), [&](QWidget* w) { chooseInBrowser(w, {name}); });
            j.whenShown(QStringLiteral("frmDataEdit"), [&](QWidget* editor) {
                QTRY_VERIFY(editor->windowTitle().contains(name));
                caption = editor->windowTitle();
                if (auto* recent = editor->findChild<QAction*>(QStringLiteral("mnuFileRecent1")))
                    editorRecent = recent->text();
                saveScreen(QStringLiteral("editor_non_ascii_caption"));
                QVERIFY(triggerMenu(editor, {"File", "Exit Editor"}));
            });
            QVERIFY(triggerMenu(j.mainWindow(), {"File", "Open Data File"}));
            QCOMPARE(j.pendingSteps(), 0);
            QTRY_VERIFY(j.mainWindow()->isVisible());
            QAction* recent = j.mainWindow()->findChild<QAction*>(QStringLiteral("mnuFileRecent1"));
            QVERIFY(recent && recent->isVisible());
            QCOMPARE(recent->text(), name);
            auto* file = j.mainWindow()->findChild<QMenu*>(QStringLiteral("mnuFile"));
            if (file) {
                file->popup(j.mainWindow()->mapToGlobal(QPoint(0, 20)));
                QTRY_VERIFY(file->isVisible());
                saveScreen(QStringLiteral("recent_files_non_ascii"));
                file->close();
            }
            j.mainWindow()->close();
        });
        QCOMPARE(status, 0);
        QVERIFY2(caption.contains(name), qPrintable(caption));
        QCOMPARE(editorRecent, name);
    }
};

CRV_JOURNEY_MAIN(RunJourney)
#include "run_journey.moc"
