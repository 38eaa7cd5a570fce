#pragma once
// The main window: menu bar, the turning service-volume picture, status bar.
// Every command goes to MainController; the window only shows its state.
// The recent-file entries follow the program-wide RecentFilesNotifier.
#include <array>
#include <functional>

#include <QMainWindow>

#include "crv/common/configuration.h"
#include "crv/common/ui/qt/recent_files_menu.h"
#include "crv/main/app/main_controller.h"

class QAction;
class QMenu;

namespace crv::main::qt {

class ServiceVolumeView;

class frmMainMenu : public QMainWindow {
    Q_OBJECT
public:
    frmMainMenu(MainController& controller, crv::common::AppState& state, crv::common::MessagePresenter& presenter,
                const std::string& caption, QWidget* parent = nullptr);

    // Start-up after the settings are loaded: the calibration tool by
    // edition, the window centred, the animation as configured.
    void startUp();

    bool AnimationEnabled() const { return animationEnabled_; }
    void setAnimationEnabled(bool enabled);

    QAction* action(const QString& name) const;  // by its menu item name, e.g. "mnuFileNew"
    QMenu* fileMenu() const { return fileMenu_; }
    QMenu* navMenu() const { return navMenu_; }
    ServiceVolumeView* picture() const { return picture_; }
    // How often the File menu was opened on "Display Results..." after a run.
    int resultsMenuOpenings() const { return resultsMenuOpenings_; }

signals:
    // The window has closed after its shut-down: the program ends here.
    void closed();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* addItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut = {});
    void after(AfterCommand result);
    void guarded(const QString& command, const std::function<void()>& work);
    void updateEnabling();
    void updateAnimation();
    void openResultsMenu();

    MainController& controller_;
    crv::common::AppState& state_;
    crv::common::MessagePresenter& presenter_;
    ServiceVolumeView* picture_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* navMenu_ = nullptr;
    crv::common::ui::RecentFilesMenuSection* recent_ = nullptr;
    bool animationEnabled_ = false;
    bool closing_ = false;
    int resultsMenuOpenings_ = 0;
};

}  // namespace crv::main::qt
