// Location of Files and Options, driven the way a person does.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QFileDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "crv/common/dialog_services.h"
#include "crv/common/ui/qt/frm_options.h"
#include "crv/common/ui/qt/frm_paths.h"
#include "crv/common/ui/qt/help.h"
#include "crv/common/ui/qt/message_presenter.h"
#include "crv/testing/files.h"
#include "crv/testing/qt/recording_presenter.h"
#include "crv/testing/qt/snapshot.h"

using crv::testing::RecordingPresenter;
using crv::testing::saveSnapshot;

using namespace crv::common::ui;
using crv::common::AppState;

namespace {

QByteArray readAll(const QString& path) {
    return QByteArray::fromStdString(crv::testing::readBytes(path.toStdString()));
}

void touch(const QString& path) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

struct MenuSpy : crv::common::RecentFilesMenu {
    std::vector<std::vector<std::string>> shown;
    void UpdateRecentFilesMenu(const AppState& s) override { shown.push_back(crv::common::RecentFileCaptions(s)); }
};

// A settings file as the program left it, with the databases in `dir`.
struct Setup {
    QTemporaryDir dir;
    QString settings;
    AppState state;
    std::unique_ptr<crv::platform::SettingsStore> store;

    Setup() {
        settings = dir.path() + "/settings.ini";
        const std::string d = dir.path().toStdString();
        touch(dir.path() + "/FMALL.dat");
        touch(dir.path() + "/G118M136.dat");  // the navaid database is missing
        QDir().mkpath(dir.path() + "/Data");
        state.FCCDatabase = d + "/FMALL.dat";
        state.QVADatabase = d + "/A108M118.dat";
        state.COMDatabase = d + "/G118M136.dat";
        state.UseFCCDB = 1;
        state.UseQVADB = 1;
        state.UseCOMDB = 1;
        state.DataFolder = d + "/Data/";
        state.OutputFolder = d + "/Output/";
        state.UserFolder = d + "/User/";
        state.RecentFiles[0] = d + "/Data/case1.dat";
        store = std::make_unique<crv::platform::SettingsStore>(settings.toStdString());
        QVERIFY(bool(crv::common::SavePaths(state, *store)));
        QVERIFY(bool(crv::common::SaveGeneralSettings(state, *store)));
    }
};

}  // namespace

class PathsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // Nothing here may reach the person's own settings.
        qputenv("CORVANE_SETTINGS", QByteArray(QDir::tempPath().toUtf8() + "/crv-dialogs-test-settings.ini"));
    }

    void missingDatabaseBoxClearedUntilChosen() {
        Setup s;
        RecordingPresenter rec;
        std::vector<std::string> titles;
        PathChoosers choosers;
        choosers.file = [&](QWidget*, const std::string& title, const std::string& folder, const std::string& name) {
            titles.push_back(title + "|" + folder + "|" + name);
            return s.dir.path().toStdString() + "/G118M136.dat";  // any existing file
        };
        frmPaths dlg(s.state, *s.store, nullptr, rec, choosers);
        dlg.show();
        QCOMPARE(dlg.windowTitle(), QString(" Location of CRV Files"));
        QCOMPARE(dlg.tabs()->tabText(0), QString("Database Files"));
        QCOMPARE(dlg.tabs()->tabText(1), QString("CRV Folders"));
        QVERIFY(dlg.useBox(0)->isChecked() && dlg.useBox(0)->isEnabled());
        QVERIFY(!dlg.useBox(1)->isChecked() && !dlg.useBox(1)->isEnabled());
        QVERIFY(dlg.useBox(2)->isChecked() && dlg.useBox(2)->isEnabled());
        QCOMPARE(s.state.UseQVADB, std::int16_t(0));  // cleared at load, kept even after Cancel
        saveSnapshot(&dlg, "common/frmPaths_databases");

        // The FM box cannot be cleared; the COM box toggles.
        QTest::mouseClick(dlg.useBox(0), Qt::LeftButton);
        QVERIFY(dlg.useBox(0)->isChecked());
        QTest::mouseClick(dlg.useBox(2), Qt::LeftButton);
        QVERIFY(!dlg.useBox(2)->isChecked());
        QVERIFY(!dlg.model().useFlag(2));

        dlg.changeButton(1)->click();
        QCOMPARE(QString::fromStdString(titles.at(0)),
                 QString("Select Navaid Database File|%1|A108M118.dat").arg(s.dir.path()));
        QVERIFY(dlg.useBox(1)->isChecked() && dlg.useBox(1)->isEnabled());
        QCOMPARE(dlg.pathLabel(1)->path(), s.dir.path().toStdString() + "/G118M136.dat");
        QVERIFY(rec.messages.empty());

        const QByteArray before = readAll(s.settings);
        dlg.cancelButton()->click();
        QVERIFY(!dlg.isVisible());
        QCOMPARE(readAll(s.settings), before);  // Cancel writes nothing
        QCOMPARE(s.state.QVADatabase, s.dir.path().toStdString() + "/A108M118.dat");
    }

    void okWritesExactlyTheChangedValues() {
        Setup s;
        RecordingPresenter rec;
        MenuSpy menu;
        const std::string newData = s.dir.path().toStdString() + "/Cases";
        PathChoosers choosers;
        choosers.folder = [&](QWidget*, const std::string& title, const std::string& start) {
            if (title != "Select Folder for Data Files") return std::string();
            if (start != s.dir.path().toStdString() + "/Data") return std::string();
            return newData;
        };
        frmPaths dlg(s.state, *s.store, &menu, rec, choosers);
        dlg.show();
        dlg.tabs()->setCurrentIndex(1);
        dlg.changeButton(3)->click();
        dlg.changeButton(4)->click();  // cancelled chooser: nothing changes
        saveSnapshot(&dlg, "common/frmPaths_folders");
        const QByteArray before = readAll(s.settings);
        dlg.okButton()->click();
        QVERIFY(!dlg.isVisible());
        QVERIFY(rec.messages.empty());

        // Only "Data Folder" differs, and "Use QVA DB" which the load cleared.
        QByteArray expected = before;
        expected.replace(QByteArray("Data Folder=") + (s.dir.path() + "/Data/").toUtf8(),
                         QByteArray("Data Folder=") + QByteArray::fromStdString(newData) + "/");
        expected.replace("Use QVA DB=1", "Use QVA DB=0");
        QCOMPARE(readAll(s.settings), expected);
        QCOMPARE(s.state.DataFolder, newData + "/");
        // The recent-file captions are now relative to the new folder: the old case shows its full path.
        QCOMPARE(menu.shown.size(), std::size_t(1));
        QCOMPARE(menu.shown[0].at(0), s.dir.path().toStdString() + "/Data/case1.dat");
    }

    void databaseChooserIgnoresLetterCase() {
        QTemporaryDir dir;
        for (const char* name : {"FMALL.DAT", "a108m118.dat", "G118M136.Dat", "notes.txt"})
            touch(dir.path() + "/" + name);
        const auto dialog =
            makeDatabaseFileDialog(nullptr, "Select FM Station Database File", dir.path().toStdString(), "FMALL.DAT");
        QCOMPARE(dialog->windowTitle(), QString("Select FM Station Database File"));
        dialog->show();
        auto* view = dialog->findChild<QAbstractItemView*>("listView");
        QVERIFY(view);
        const auto rows = [&] {
            QStringList names;
            const QModelIndex root = view->rootIndex();
            for (int r = 0; r < view->model()->rowCount(root); ++r)
                names << view->model()->index(r, 0, root).data().toString();
            names.sort();
            return names;
        };
        // The folder is read in the background; wait for it, not for a fixed time.
        QTRY_COMPARE(rows(), (QStringList{"FMALL.DAT", "G118M136.Dat", "a108m118.dat"}));
        dialog->reject();
    }

    void closeBoxCountsAsCancel() {
        Setup s;
        RecordingPresenter rec;
        PathChoosers choosers;
        choosers.folder = [](QWidget*, const std::string&, const std::string&) { return std::string("/srv/cases"); };
        const QByteArray before = readAll(s.settings);
        frmPaths dlg(s.state, *s.store, nullptr, rec, choosers);
        dlg.show();
        dlg.changeButton(3)->click();
        QCOMPARE(dlg.model().path(3), std::string("/srv/cases"));
        dlg.close();
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(readAll(s.settings), before);
        QCOMPARE(s.state.DataFolder, s.dir.path().toStdString() + "/Data/");
    }

    void okWithoutChangesWritesNothing() {
        Setup s;
        s.state.UseQVADB = 0;
        QVERIFY(bool(crv::common::SavePaths(s.state, *s.store)));
        const QByteArray before = readAll(s.settings);
        const QDateTime stamp = QFileInfo(s.settings).lastModified();
        RecordingPresenter rec;
        MenuSpy menu;
        frmPaths dlg(s.state, *s.store, &menu, rec);
        dlg.show();
        dlg.okButton()->click();
        QCOMPARE(readAll(s.settings), before);
        QCOMPARE(QFileInfo(s.settings).lastModified(), stamp);
        QVERIFY(menu.shown.empty());
    }

    void pathsOf260BytesAreRefused() {
        Setup s;
        RecordingPresenter rec;
        const std::string base = s.dir.path().toStdString() + "/";
        // The folder is stored with its "/": 259 characters with it fit, 260 do not.
        const std::string fits = base + std::string(258 - base.size(), 'f');
        const std::string tooLong = base + std::string(259 - base.size(), 'g');
        std::string answer;
        PathChoosers choosers;
        choosers.folder = [&](QWidget*, const std::string&, const std::string&) { return answer; };
        choosers.file = [&](QWidget*, const std::string&, const std::string&, const std::string&) { return answer; };
        frmPaths dlg(s.state, *s.store, nullptr, rec, choosers);
        answer = tooLong;
        dlg.changeButton(5)->click();
        QCOMPARE(rec.messages.size(), std::size_t(1));
        QCOMPARE(rec.messages[0].text, PathsModel::tooLongText(tooLong));
        QCOMPARE(rec.messages[0].title, std::string("Warning"));
        QCOMPARE(dlg.model().path(5), base + "User");
        answer = fits;
        dlg.changeButton(5)->click();
        QCOMPARE(dlg.model().path(5), fits);
        // A database file of 260 bytes is refused too; of 259 taken.
        answer = base + std::string(260 - base.size(), 'd');
        dlg.changeButton(2)->click();
        QCOMPARE(rec.messages.size(), std::size_t(2));
        answer = base + std::string(259 - base.size(), 'd');
        dlg.changeButton(2)->click();
        QCOMPARE(dlg.model().path(2), answer);
        QCOMPARE(rec.messages.size(), std::size_t(2));
    }

    void longPathShownShortened() {
        Setup s;
        s.state.OutputFolder = "/a/very/long/folder/name/that/goes/on/and/on/for/a/while/Output/Run-2026-12-10/";
        RecordingPresenter rec;
        frmPaths dlg(s.state, *s.store, nullptr, rec);
        dlg.resize(420, dlg.height());
        dlg.show();
        dlg.tabs()->setCurrentIndex(1);
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const QString shown = dlg.pathLabel(4)->shownText();
        QVERIFY2(shown.contains("...") && shown.endsWith("/Run-2026-12-10"), qPrintable(shown));
        QVERIFY(QFontMetrics(dlg.pathLabel(4)->font()).horizontalAdvance(shown) <= dlg.pathLabel(4)->width());
        saveSnapshot(&dlg, "common/frmPaths_shortened");
    }

    void ctrlTabSwitchesPagesShiftTabMovesBack() {
        Setup s;
        RecordingPresenter rec;
        frmPaths dlg(s.state, *s.store, nullptr, rec);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.activateWindow();
        QApplication::setActiveWindow(&dlg);
        dlg.okButton()->setFocus();
        QCOMPARE(dlg.tabs()->currentIndex(), 0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(dlg.tabs()->currentIndex(), 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(dlg.tabs()->currentIndex(), 0);
        // Shift+Tab from Cancel goes back to OK and stays on this page.
        dlg.cancelButton()->setFocus();
        QTest::keyClick(dlg.cancelButton(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), dlg.okButton());
        QCOMPARE(dlg.tabs()->currentIndex(), 0);
    }

    void helpPagesShipWithTheDialogs() {
        Setup s;
        RecordingPresenter rec;
        frmPaths dlg(s.state, *s.store, nullptr, rec);
        const QStringList topics = helpTopics();
        for (const char* topic : {"paths", "options", "file_browser"}) QVERIFY2(topics.contains(topic), topic);
    }

    void optionsSaveOnlyOnChange() {
        Setup s;
        s.state.DefaultOutputPlots = false;
        s.state.AnimationEnabled = true;
        RecordingPresenter rec;
        {
            frmOptions dlg(s.state, *s.store, rec);
            dlg.show();
            QCOMPARE(dlg.windowTitle(), QString("Options"));
            QVERIFY(dlg.optReports()->isChecked() && dlg.optAnimationOn()->isChecked());
            saveSnapshot(&dlg, "common/frmOptions");
            QTest::mouseClick(dlg.optPlots(), Qt::LeftButton);
            QTest::mouseClick(dlg.optAnimationOff(), Qt::LeftButton);
            const QByteArray before = readAll(s.settings);
            dlg.cancelButton()->click();
            QCOMPARE(readAll(s.settings), before);
            QVERIFY(!s.state.DefaultOutputPlots && s.state.AnimationEnabled);
        }
        const int shown = ShowOptions(nullptr, s.state, *s.store, rec, [](frmOptions& dlg) {
            dlg.show();
            QTest::mouseClick(dlg.optPlots(), Qt::LeftButton);
            QTest::mouseClick(dlg.optAnimationOff(), Qt::LeftButton);
            dlg.okButton()->click();
            return dlg.result();
        });
        QCOMPARE(shown, int(QDialog::Accepted));
        QVERIFY(s.state.DefaultOutputPlots && !s.state.AnimationEnabled);
        const QByteArray after = readAll(s.settings);
        QVERIFY(after.contains("Default Output=PLOTS"));
        QVERIFY(after.contains("Animation=OFF"));
        QVERIFY(rec.messages.empty());
    }
};

QTEST_MAIN(PathsTest)
#include "frm_paths_test.moc"
