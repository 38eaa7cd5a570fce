#include "crv/main/app/qt/frm_main_menu.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include "crv/common/dialog_services.h"
#include "crv/common/error_report.h"
#include "crv/common/ui/qt/help.h"
#include "crv/common/ui/qt/printing.h"
#include "crv/common/ui/qt/qt_text.h"
#include "crv/main/app/qt/service_volume_view.h"

namespace crv::main::qt {

frmMainMenu::frmMainMenu(MainController& controller, crv::common::AppState& state,
                         crv::common::MessagePresenter& presenter, const std::string& caption, QWidget* parent)
    : QMainWindow(parent), controller_(controller), state_(state), presenter_(presenter) {
    setObjectName(QStringLiteral("frmMainMenu"));
    setWindowTitle(crv::common::ui::displayToQt(caption));
    picture_ = new ServiceVolumeView(this);
    setCentralWidget(picture_);
    statusBar()->setObjectName(QStringLiteral("sbrStatus"));
    statusBar()->setSizeGripEnabled(true);
    resize(640, 480);

    fileMenu_ = menuBar()->addMenu(QStringLiteral("&File"));
    fileMenu_->setObjectName(QStringLiteral("mnuFile"));
    connect(
        addItem(fileMenu_, "mnuFileNew", QStringLiteral("&New Proponent..."), QKeySequence(QStringLiteral("Ctrl+N"))),
        &QAction::triggered, this,
        [this] { guarded(QStringLiteral("mnuFileNew"), [this] { after(controller_.FileNew()); }); });
    connect(
        addItem(fileMenu_, "mnuFileOpen", QStringLiteral("&Open Data File..."), QKeySequence(QStringLiteral("Ctrl+O"))),
        &QAction::triggered, this,
        [this] { guarded(QStringLiteral("mnuFileOpen"), [this] { after(controller_.FileOpen()); }); });
    fileMenu_->addSeparator();
    connect(addItem(fileMenu_, "mnuFileResults", QStringLiteral("&Display Results..."),
                    QKeySequence(QStringLiteral("Ctrl+D"))),
            &QAction::triggered, this, [this] {
                guarded(QStringLiteral("mnuFileResults"), [this] {
                    controller_.FileResults();
                    after(AfterCommand::Nothing);
                });
            });
    QAction* exitSeparator = fileMenu_->addSeparator();
    exitSeparator->setObjectName(QStringLiteral("mnuFileSep3"));
    recent_ = new crv::common::ui::RecentFilesMenuSection(fileMenu_, exitSeparator);
    connect(recent_, &crv::common::ui::RecentFilesMenuSection::openRecentFile, this, [this](const QString& path) {
        guarded(QStringLiteral("mnuFileRecent"),
                [this, path] { after(controller_.OpenRecent(crv::common::ui::pathFromQt(path))); });
    });
    connect(addItem(fileMenu_, "mnuFileExit", QStringLiteral("E&xit"), QKeySequence(QStringLiteral("Ctrl+Q"))),
            &QAction::triggered, this, &QWidget::close);

    navMenu_ = menuBar()->addMenu(QStringLiteral("&Navaid"));
    navMenu_->setObjectName(QStringLiteral("mnuNav"));
    connect(addItem(navMenu_, "mnuNavSelect", QStringLiteral("&Select Navaid...")), &QAction::triggered, this,
            [this] { guarded(QStringLiteral("mnuNavSelect"), [this] { after(controller_.NavSelect()); }); });
    connect(addItem(navMenu_, "mnuNavManual", QStringLiteral("&Manual Entry...")), &QAction::triggered, this,
            [this] { guarded(QStringLiteral("mnuNavManual"), [this] { after(controller_.NavManual()); }); });
    connect(navMenu_, &QMenu::aboutToShow, this, &frmMainMenu::updateEnabling);

    QMenu* sim = menuBar()->addMenu(QStringLiteral("&Simulation"));
    connect(addItem(sim, "mnuSimRun", QStringLiteral("&Run Simulation...")), &QAction::triggered, this,
            [this] { guarded(QStringLiteral("mnuSimRun"), [this] { after(controller_.SimRun()); }); });
    connect(addItem(sim, "mnuSimAuto", QStringLiteral("Run, &Print Results...")), &QAction::triggered, this,
            [this] { guarded(QStringLiteral("mnuSimAuto"), [this] { after(controller_.SimAuto()); }); });

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    connect(addItem(tools, "mnuToolsPaths", QStringLiteral("&Location of Files...")), &QAction::triggered, this,
            [this] { guarded(QStringLiteral("mnuToolsPaths"), [this] { controller_.ToolsPaths(); }); });
    connect(addItem(tools, "mnuToolsDates", QStringLiteral("&Dates of Database Files")), &QAction::triggered, this,
            [this] { guarded(QStringLiteral("mnuToolsDates"), [this] { controller_.ToolsDates(); }); });
    connect(addItem(tools, "mnuToolsPlotPar", QStringLiteral("&Plot Parameters...")), &QAction::triggered, this,
            [this] { guarded(QStringLiteral("mnuToolsPlotPar"), [this] { controller_.ToolsPlotPar(); }); });
    tools->addSeparator();
    connect(addItem(tools, "mnuToolsSimPts", QStringLiteral("&Simulation Test Points...")), &QAction::triggered, this,
            [this] { guarded(QStringLiteral("mnuToolsSimPts"), [this] { controller_.ToolsSimPts(); }); });
    connect(addItem(tools, "mnuToolsRadPat", QStringLiteral("&Radiation Patterns...")), &QAction::triggered, this,
            [this] { guarded(QStringLiteral("mnuToolsRadPat"), [this] { controller_.ToolsRadPat(); }); });
    connect(addItem(tools, "mnuToolsCalDat", QStringLiteral("&Calibration Data...")), &QAction::triggered, this,
            [this] { guarded(QStringLiteral("mnuToolsCalDat"), [this] { controller_.ToolsCalDat(); }); });
    tools->addSeparator();
    connect(addItem(tools, "mnuToolsOptions", QStringLiteral("&Options...")), &QAction::triggered, this, [this] {
        guarded(QStringLiteral("mnuToolsOptions"), [this] {
            controller_.ToolsOptions();
            setAnimationEnabled(state_.AnimationEnabled);
        });
    });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    connect(addItem(help, "mnuHelpShow", QStringLiteral("CRV &Help")), &QAction::triggered, this,
            [this] { guarded(QStringLiteral("mnuHelpShow"), [this] { controller_.HelpShow(); }); });
    connect(addItem(help, "mnuHelpAbout", QStringLiteral("&About")), &QAction::triggered, this,
            [this] { guarded(QStringLiteral("mnuHelpAbout"), [this] { controller_.HelpAbout(); }); });

    controller_.busyChanged = [this] { updateEnabling(); };
    controller_.refresh = [this] { update(); };
}

QAction* frmMainMenu::addItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) a->setShortcut(shortcut);
    return a;
}

void frmMainMenu::guarded(const QString& command, const std::function<void()>& work) {
    // A failure inside a command ends the command with a message, never the
    // program: nothing thrown may leave a Qt event handler.
    try {
        work();
        // A print job the command ran (Run, Print Results) says where its
        // files went once it is over.
        crv::common::ui::reportPrintedFiles(presenter_);
    } catch (const std::exception& e) {
        crv::common::ShowUnexpectedError(presenter_, command.toStdString(), e.what());
        updateEnabling();
    } catch (...) {
        crv::common::ShowUnexpectedError(presenter_, command.toStdString(), "unknown error");
        updateEnabling();
    }
}

QAction* frmMainMenu::action(const QString& name) const { return findChild<QAction*>(name); }

void frmMainMenu::startUp() {
    action(QStringLiteral("mnuToolsCalDat"))->setVisible(controller_.calibrationVisible());
    // The help has no page for a tool this edition does not offer.
    crv::common::ui::setHelpTopicHidden(QStringLiteral("calibration_data"), !controller_.calibrationVisible());
    setAnimationEnabled(state_.AnimationEnabled);
    if (QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        QRect r = frameGeometry();
        r.moveCenter(area.center());
        move(r.topLeft());
    }
    updateEnabling();
}

void frmMainMenu::setAnimationEnabled(bool enabled) {
    animationEnabled_ = enabled;
    state_.AnimationEnabled = enabled;
    updateAnimation();
}

void frmMainMenu::updateAnimation() { picture_->setRunning(animationEnabled_ && isActiveWindow()); }

void frmMainMenu::updateEnabling() {
    const bool idle = controller_.commandsEnabled();
    for (const char* name :
         {"mnuFileNew", "mnuFileOpen", "mnuNavManual", "mnuSimRun", "mnuSimAuto", "mnuToolsPaths", "mnuToolsOptions"})
        action(QString::fromLatin1(name))->setEnabled(idle);
    for (int i = 0; i < crv::common::kRecentFileCount; ++i) recent_->entry(i)->setEnabled(idle);
    action(QStringLiteral("mnuNavSelect"))->setEnabled(idle && controller_.navSelectEnabled());
}

void frmMainMenu::after(AfterCommand result) {
    updateEnabling();
    if (result == AfterCommand::Close) {
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    if (result == AfterCommand::OpenResultsMenu) openResultsMenu();
}

void frmMainMenu::openResultsMenu() {
    ++resultsMenuOpenings_;
    QTimer::singleShot(0, this, [this] {
        if (!isVisible()) return;
        menuBar()->setActiveAction(fileMenu_->menuAction());
        fileMenu_->setActiveAction(action(QStringLiteral("mnuFileResults")));
    });
}

void frmMainMenu::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) updateAnimation();
}

void frmMainMenu::closeEvent(QCloseEvent* event) {
    // A command still running (an engine call behind the progress window)
    // is asked to stop first; the window closes when it has returned.
    if (!controller_.requestClose()) {
        event->ignore();
        return;
    }
    if (!closing_) {
        closing_ = true;
        picture_->setRunning(false);
        controller_.Shutdown();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != this && w->isVisible()) w->close();
    }
    event->accept();
    emit closed();
}

}  // namespace crv::main::qt
