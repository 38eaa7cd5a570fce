#pragma once
// "Location of CRV Files": the three facility database files with their use
// boxes and the three work folders, on two pages. The rules live in
// PathsModel; this window shows them. OK saves what changed, Cancel (or the
// window's close box) discards the edits.
#include <array>
#include <functional>
#include <memory>
#include <string>

#include <QDialog>

#include "crv/common/ui/frm_paths_model.h"

class QCheckBox;
class QFileDialog;
class QLabel;
class QPushButton;
class QTabWidget;

namespace crv::common::ui {

class PathLabel;

// The choosers the dialog asks; tests replace them. Each returns "" when the
// person cancelled.
struct PathChoosers {
    // A folder, starting at `start`.
    std::function<std::string(QWidget* parent, const std::string& title, const std::string& start)> folder;
    // An existing database file, starting in `folder` with `fileName` proposed.
    std::function<std::string(QWidget* parent, const std::string& title, const std::string& folder,
                              const std::string& fileName)>
        file;
};
// The open dialog of the database choosers, set up but not shown.
std::unique_ptr<QFileDialog> makeDatabaseFileDialog(QWidget* parent, const std::string& title,
                                                    const std::string& folder, const std::string& fileName);

class frmPaths : public QDialog {
    Q_OBJECT
public:
    frmPaths(crv::common::AppState& state, crv::platform::SettingsStore& store, crv::common::RecentFilesMenu* menu,
             crv::common::MessagePresenter& presenter, PathChoosers choosers = {}, QWidget* parent = nullptr);

    const PathsModel& model() const { return model_; }
    QTabWidget* tabs() const { return tabs_; }
    PathLabel* pathLabel(int i) const { return labels_[static_cast<std::size_t>(i)]; }
    QPushButton* changeButton(int i) const { return change_[static_cast<std::size_t>(i)]; }
    QCheckBox* useBox(int db) const { return use_[static_cast<std::size_t>(db)]; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    void changePath(int i);
    void showModel();

    PathsModel model_;
    crv::platform::SettingsStore& store_;
    crv::common::RecentFilesMenu* menu_;
    crv::common::MessagePresenter& presenter_;
    PathChoosers choosers_;
    QTabWidget* tabs_ = nullptr;
    std::array<PathLabel*, kPathCount> labels_{};
    std::array<QPushButton*, kPathCount> change_{};
    std::array<QCheckBox*, kDatabaseCount> use_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* help_ = nullptr;
};

// A label showing a path shortened with "..." to its width; the tool tip holds the whole path.
class PathLabel : public QWidget {
    Q_OBJECT
public:
    explicit PathLabel(QWidget* parent = nullptr);
    void setPath(const std::string& path);
    const std::string& path() const { return path_; }
    // The text as shown at the current width.
    QString shownText() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string path_;
};

// Tools > Location of Files: shows the dialog modally. `run` replaces exec() (tests).
int ShowPaths(QWidget* parent, crv::common::AppState& state, crv::platform::SettingsStore& store,
              crv::common::RecentFilesMenu* menu, crv::common::MessagePresenter& presenter,
              const std::function<int(frmPaths&)>& run = {});

}  // namespace crv::common::ui
