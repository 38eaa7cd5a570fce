#pragma once
// Journeys: tests of the program as a person uses it. A journey builds the
// application exactly as main() does (ProgramSetup: same wiring, font,
// message boxes and quit rule), runs it in the application's own event loop
// on a fresh copy of the sample workspace with the real engine, and walks a
// path with key and mouse events, waiting on conditions, never on time.
//
// A journey test file:
//
//   class ToolJourneys : public QObject {
//       Q_OBJECT
//   private slots:
//       void exitComesBack() {
//           Journey j(crv::resources::Edition::Scientific);
//           const int status = j.run([&] {
//               j.whenShown("frmRcvrPts", [&](QWidget* editor) {
//                   triggerMenu(editor, {"File", "Exit"});
//               });
//               triggerMenu(j.mainWindow(), {"Tools", "Simulation Test Points"});
//               QTRY_VERIFY(j.mainWindow()->isVisible());
//               saveScreen("tool_exit");
//               j.mainWindow()->close();
//           });
//           QCOMPARE(status, 0);
//       }
//   };
//   CRV_JOURNEY_MAIN(ToolJourneys)
//
// Modal dialogs, message boxes and the editors' own loops block whoever
// opened them: a step for such a window is registered with whenShown()
// before the command that opens it, and runs inside that window's loop.
// When a check fails, the harness closes every window so the test ends.
#include <functional>
#include <memory>
#include <string>

#include <QMessageBox>
#include <QStringList>
#include <QTest>

#include "crv/resources/identity.h"

class QMainWindow;
class QWidget;

namespace crv::main::qt {
class Program;
}

namespace crv::journeys {

class Journey {
public:
    // A private folder with the sample workspace (written by crv_sample), a
    // settings file pointing at it (CORVANE_SETTINGS), a private HOME and
    // temporary folder, then the program of `edition`, started and shown.
    explicit Journey(crv::resources::Edition edition);
    ~Journey();
    Journey(const Journey&) = delete;
    Journey& operator=(const Journey&) = delete;

    // "<folder>/ws/" holding db/, Data/, User/ and Output/.
    std::string workspace() const;
    // The private folder itself ("<folder>/"), also the journey's HOME.
    std::string folder() const;
    std::string settingsFile() const;
    crv::main::qt::Program& program();
    QMainWindow* mainWindow();

    // Runs `walk` inside QApplication::exec() and returns exec()'s status.
    // The walk ends the program the way a person does (closing the main
    // window); a walk that fails or forgets has every window closed for it.
    int run(const std::function<void()>& walk);
    // True once anything asked the application to quit (the quit rule after
    // the main window closed, or the last visible window closing).
    bool quitRequested() const;

    // Runs `step` (from a zero-delay timer, inside the window's own loop)
    // when the next top-level window whose class name or window title is
    // `classOrTitle` is shown. Steps wait in the order registered.
    void whenShown(const QString& classOrTitle, std::function<void(QWidget*)> step);
    // Answers the next message box with `button`; its text is kept in *text.
    void answerMessageBox(QMessageBox::StandardButton button, QString* text = nullptr);
    // Steps registered and not yet run.
    int pendingSteps() const;

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

// The visible top-level window whose class name or title is `classOrTitle`,
// waited for up to `timeoutMs`; nullptr when none showed.
QWidget* waitForWindow(const QString& classOrTitle, int timeoutMs = 10000);
// Opens the menu path by mouse through `window`'s menu bar (closing any menu
// left open first) and clicks the last item ({"Tools", "Radiation Patterns"}); texts without '&' and "...".
// Returns false when an item is missing or disabled. The click runs the
// command: a modal window it opens must have a whenShown() step.
bool triggerMenu(QWidget* window, const QStringList& path);
// In the program's file browser (frmFileSel): opens `folder`, picks the
// file type that lists `name`, clicks the file and OK.
bool chooseInBrowser(QWidget* browser, const std::string& folder, const QString& name);
// Clicks the button of `window` whose text (without '&') is `text`.
bool clickButton(QWidget* window, const QString& text);
// In a Qt file dialog: chooses `path` as the file and accepts it (Return).
bool chooseFile(QWidget* fileDialog, const QString& path);
// Gives `widget` the focus, selects what it holds (Ctrl+A) and types `text`.
void typeInto(QWidget* widget, const QString& text);
// Keys and clicks as a person makes them. On an X server (the xcb platform,
// with xdotool at hand) they go through the server: keys to whichever window
// the window manager gave the keyboard, clicks to whatever lies under the
// pointer, with the press and release as separate events. Elsewhere (the
// offscreen platform) they go to the widget that has the focus, as Qt would
// route them. Each returns once the program has received what was sent.
bool onXServer();
// Key combinations in xdotool's names, separated by blanks: "shift+Tab",
// "Next" (Page Down), "alt+f", "ctrl+s", "Return", "Escape", "Delete", "4".
void pressKeys(const QString& keys);
// Types the characters of `text` one key each.
void typeText(const QString& text);
// A left click in the middle of `widget`, or at `at` in its coordinates.
void clickAsAUser(QWidget* widget);
void clickAsAUser(QWidget* widget, QPoint at);
// True when the window's frame lies inside its screen's work area.
bool frameInsideWorkArea(const QWidget* window);

// The bytes of a file as they are on disk ("" when it cannot be read).
std::string contentsOf(const std::string& path);
// A picture of the whole screen, every visible top-level window at its
// place, to build/snapshots/journeys/NAME.png.
bool saveScreen(const QString& name);

// Sets up the process as main() does before its QApplication, builds the
// application, then runs the test object. CRV_JOURNEY_SCREEN=WIDTHxHEIGHT
// gives the offscreen platform a screen of that size.
int runJourneyTests(int argc, char** argv, const std::function<std::unique_ptr<QObject>()>& makeTests);

}  // namespace crv::journeys

#define CRV_JOURNEY_MAIN(TestClass)                                                                        \
    int main(int argc, char** argv) {                                                                      \
        return crv::journeys::runJourneyTests(argc, argv, [] { return std::make_unique<TestClass>(); });  \
    }
