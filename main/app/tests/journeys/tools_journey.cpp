// The site editors from the Tools menu: each is edited, saved and left by
// its File > Exit, then opened again and left by its close box. The main
// window comes back each time and the program keeps running; only closing
// the main window ends it, after its shut-down has stored the settings.
#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "journey_harness.h"

using crv::journeys::chooseFile;
using crv::journeys::contentsOf;
using crv::journeys::Journey;
using crv::journeys::saveScreen;
using crv::journeys::triggerMenu;
using crv::journeys::typeInto;
using crv::resources::Edition;

namespace {

QLineEdit* descriptionBox(QWidget* editor) {
    for (auto* frame : editor->findChildren<QGroupBox*>())
        if (frame->title() == QLatin1String("Description")) return frame->findChild<QLineEdit*>();
    return nullptr;
}

struct Tool {
    const char* menuItem;  // under Tools
    const char* window;    // the editor's class
    const char* fileName;  // saved into the user folder
    const char* picture;
};

// One tool opened twice. First: a new description, File > Save... (the
// note on the model's file name, then the save dialog), File > Exit.
// Second: a change left unsaved, the close box, No to saving it.
void walkTool(Journey& j, const Tool& tool) {
    const std::string saved = j.workspace() + "User/" + tool.fileName;
    QVERIFY(!std::filesystem::exists(saved));

    j.whenShown(QString::fromLatin1(tool.window), [&](QWidget* editor) {
        QVERIFY(!j.mainWindow()->isVisible());
        QLineEdit* description = descriptionBox(editor);
        QVERIFY(description);
        typeInto(description, QStringLiteral("Journey data"));
        QTest::keyClick(description, Qt::Key_Return);
        j.answerMessageBox(QMessageBox::Ok);  // the model reads only its own file name
        j.whenShown(QStringLiteral("QFileDialog"),
                    [&](QWidget* dialog) { QVERIFY(chooseFile(dialog, QString::fromStdString(saved))); });
        QVERIFY(triggerMenu(editor, {"File", "Save"}));
        QCOMPARE(j.pendingSteps(), 0);
        QVERIFY(contentsOf(saved).find("Journey data") != std::string::npos);
        QTRY_VERIFY(editor->windowTitle().contains(QLatin1String(tool.fileName)));
        saveScreen(QString::fromLatin1(tool.picture) + QStringLiteral("_saved"));
        QVERIFY(triggerMenu(editor, {"File", "Exit"}));
    });
    QVERIFY(triggerMenu(j.mainWindow(), {"Tools", tool.menuItem}));
    QCOMPARE(j.pendingSteps(), 0);
    QTRY_VERIFY(j.mainWindow()->isVisible());
    QVERIFY(!j.quitRequested());

    QString question;
    j.whenShown(QString::fromLatin1(tool.window), [&](QWidget* editor) {
        QLineEdit* description = descriptionBox(editor);
        QVERIFY(description);
        typeInto(description, QStringLiteral("Not kept"));
        QTest::keyClick(description, Qt::Key_Return);
        j.answerMessageBox(QMessageBox::No, &question);
        editor->close();  // as the window's close box does
    });
    QVERIFY(triggerMenu(j.mainWindow(), {"Tools", tool.menuItem}));
    QCOMPARE(j.pendingSteps(), 0);
    QCOMPARE(question, QStringLiteral(" Save your changes before exiting? "));
    QTRY_VERIFY(j.mainWindow()->isVisible());
    QVERIFY(!j.quitRequested());
    QVERIFY(contentsOf(saved).find("Journey data") != std::string::npos);
    QVERIFY(contentsOf(saved).find("Not kept") == std::string::npos);
}

// Every tool of the edition, then the main window's File > Exit.
void walkTools(Edition edition, const std::vector<Tool>& tools, const QString& picture) {
    Journey j(edition);
    const int status = j.run([&] {
        // The field edition has no calibration tool.
        if (edition == Edition::Field) QVERIFY(!triggerMenu(j.mainWindow(), {"Tools", "Calibration Data"}));
        for (const Tool& tool : tools) {
            walkTool(j, tool);
            if (QTest::currentTestFailed()) return;
        }
        // The settings the program stores only at its end are not there yet.
        QVERIFY(contentsOf(j.settingsFile()).find("Nav Level Min=") == std::string::npos);
        saveScreen(picture);
        QVERIFY(triggerMenu(j.mainWindow(), {"File", "Exit"}));
    });
    QCOMPARE(status, 0);
    QVERIFY(j.quitRequested());
    QVERIFY(!j.mainWindow()->isVisible());
    const std::string settings = contentsOf(j.settingsFile());
    for (const char* value : {"[Plot Parameters]", "Nav Level Min=", "Colors=", "[General]", "Animation=",
                              "Model Type=", "[Paths]", "User Folder="})
        QVERIFY2(settings.find(value) != std::string::npos, value);
}

}  // namespace

class ToolsJourney : public QObject {
    Q_OBJECT
private slots:
    void scientificToolsComeBackToTheMainWindow() {
        walkTools(Edition::Scientific,
                  {{"Simulation Test Points", "frmRcvrPts", "Journey.pts", "tools_rcvr_pts"},
                   {"Radiation Patterns", "frmUserData", "Journey.pat", "tools_patterns"},
                   {"Calibration Data", "frmUserData", "Journey.cal", "tools_calibration"}},
                  QStringLiteral("tools_sci_main_window"));
    }

    void fieldToolsComeBackToTheMainWindow() {
        walkTools(Edition::Field,
                  {{"Simulation Test Points", "frmRcvrPts", "Journey.pts", "tools_fld_rcvr_pts"},
                   {"Radiation Patterns", "frmUserData", "Journey.pat", "tools_fld_patterns"}},
                  QStringLiteral("tools_fld_main_window"));
    }
};

CRV_JOURNEY_MAIN(ToolsJourney)
#include "tools_journey.moc"
