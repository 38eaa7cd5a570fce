#include "journey_harness.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QWindow>

#include "crv/common/ui/qt/frm_file_sel.h"
#include "crv/main/app/qt/program.h"
#include "crv/main/app/qt/program_setup.h"

namespace crv::journeys {

namespace {

// Journeys change TMPDIR and HOME for the program; their own folders are
// made where the test process was told to make them.
const std::string& originalTemp() {
    static const std::string temp = [] {
        const char* t = std::getenv("TMPDIR");
        return std::string(t && *t ? t : "/tmp");
    }();
    return temp;
}

QString plainText(QString text) {
    text.remove(QLatin1Char('&'));
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    if (tab >= 0) text.truncate(tab);
    if (text.endsWith(QStringLiteral("..."))) text.chop(3);
    return text.trimmed();
}

bool matches(const QWidget* w, const QString& classOrTitle) {
    return QString::fromLatin1(w->metaObject()->className()).endsWith(classOrTitle) ||
           w->windowTitle() == classOrTitle || w->windowTitle().trimmed() == classOrTitle.trimmed();
}

QAction* actionNamed(const QList<QAction*>& actions, const QString& text) {
    for (QAction* a : actions)
        if (!a->isSeparator() && a->isVisible() && plainText(a->text()) == plainText(text)) return a;
    return nullptr;
}

// Closes whatever is open, top-most first, one window per tick, so a failed
// journey ends instead of waiting in a dialog nobody answers. The next tick
// is set before each close: a close may ask a question in a loop of its own.
void closeEverything(QObject* owner, QPointer<QMainWindow> main, int tick = 0) {
    QWidget* target = QApplication::activePopupWidget();
    if (!target) target = QApplication::activeModalWidget();
    if (!target)
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != main && w->isVisible() && w->isWindow()) {
                target = w;
                break;
            }
    if (!target && main && main->isVisible()) target = main;
    if (!target) return;
    if (tick > 500) {
        QCoreApplication::exit(1);
        return;
    }
    QTimer::singleShot(20, owner, [owner, main, tick] { closeEverything(owner, main, tick + 1); });
    auto* box = qobject_cast<QMessageBox*>(target);
    if (box && box->button(QMessageBox::No))
        box->button(QMessageBox::No)->click();  // nothing the journey made is kept
    else if (auto* dialog = qobject_cast<QDialog*>(target); dialog && target == QApplication::activeModalWidget())
        dialog->reject();
    else
        target->close();
}

}  // namespace

struct Journey::Parts : QObject {
    struct Step {
        QString classOrTitle;
        std::function<void(QWidget*)> run;
    };
    std::unique_ptr<QTemporaryDir> dir;
    std::string folder;
    std::string settings;
    std::unique_ptr<crv::main::qt::ProgramSetup> setup;
    std::deque<Step> steps;
    bool quit = false;
    bool abandoned = false;

    void abandon() {
        if (abandoned) return;
        abandoned = true;
        for (const Step& s : steps)
            qWarning("journey: no window showed for the step \"%s\"", qPrintable(s.classOrTitle));
        steps.clear();
        closeEverything(this, &setup->program().window());
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Quit && watched == qApp) quit = true;
        if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
        auto* w = static_cast<QWidget*>(watched);
        if (!w->isWindow() || qobject_cast<QMenu*>(w)) return false;
        auto it = std::find_if(steps.begin(), steps.end(), [w](const Step& s) { return matches(w, s.classOrTitle); });
        if (it == steps.end()) {
            // A box nobody expects waits for an answer until the time runs
            // out: say what it asks.
            if (auto* box = qobject_cast<QMessageBox*>(w))
                qWarning("journey: no step for the message box \"%s\": \"%s\"", qPrintable(box->windowTitle()),
                         qPrintable(box->text()));
            return false;
        }
        auto run = std::move(it->run);
        steps.erase(it);
        QPointer<QWidget> shown(w);
        QTimer::singleShot(0, this, [this, run, shown] {
            if (!shown) {
                QTest::qFail("the window closed before its step ran", __FILE__, __LINE__);
                abandon();
                return;
            }
            run(shown);
            if (QTest::currentTestFailed()) abandon();
        });
        return false;
    }
};

Journey::Journey(crv::resources::Edition edition) : parts_(std::make_unique<Parts>()) {
    Parts& p = *parts_;
    p.dir = std::make_unique<QTemporaryDir>(QString::fromStdString(originalTemp() + "/crv-journey-XXXXXX"));
    if (!p.dir->isValid()) qFatal("no journey folder under %s", originalTemp().c_str());
    p.folder = p.dir->path().toStdString() + "/";
    const std::string ws = workspace();
    QProcess sample;
    sample.start(QStringLiteral(CRV_BIN_DIR "crv_sample"), {QString::fromStdString(ws)});
    if (!sample.waitForFinished(120000) || sample.exitStatus() != QProcess::NormalExit || sample.exitCode() != 0)
        qFatal("crv_sample could not write the sample workspace: %s", sample.readAllStandardError().constData());
    p.settings = p.folder + "settings.ini";
    std::ofstream(p.settings) << "[Paths]\nFCC Database=" << ws << "db/FMALL.dat\nQVA Database=" << ws
                              << "db/A108M118.dat\nUse QVA DB=1\nCOM Database=" << ws
                              << "db/G118M136.dat\nUse COM DB=1\nData Folder=" << ws << "Data/\nOutput Folder=" << ws
                              << "Output/\nUser Folder=" << ws << "User/\n";
    // The program, the engine and Qt's dialogs see only the journey's own
    // folders: the user's settings, home and temporary files stay untouched.
    std::filesystem::create_directories(p.folder + "tmp");
    std::filesystem::create_directories(p.folder + "config");
    std::filesystem::create_directories(p.folder + "data");
    ::setenv("CORVANE_SETTINGS", p.settings.c_str(), 1);
    ::setenv("HOME", p.folder.c_str(), 1);
    ::setenv("TMPDIR", (p.folder + "tmp").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (p.folder + "config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (p.folder + "data").c_str(), 1);
    ::unsetenv("CRV_SNAPSHOT_DIR");

    qApp->installEventFilter(&p);
    crv::main::qt::prepareProcess(edition);
    p.setup = std::make_unique<crv::main::qt::ProgramSetup>(edition);
}

Journey::~Journey() {
    qApp->removeEventFilter(parts_.get());
    parts_->setup.reset();
    ::setenv("TMPDIR", originalTemp().c_str(), 1);
}

std::string Journey::workspace() const { return parts_->folder + "ws/"; }
std::string Journey::folder() const { return parts_->folder; }
std::string Journey::settingsFile() const { return parts_->settings; }
crv::main::qt::Program& Journey::program() { return parts_->setup->program(); }
QMainWindow* Journey::mainWindow() { return &program().window(); }

int Journey::run(const std::function<void()>& walk) {
    Parts& p = *parts_;
    QPointer<QMainWindow> main(mainWindow());
    QTimer start;
    start.setSingleShot(true);
    QObject::connect(&start, &QTimer::timeout, &p, [&] {
        if (!QTest::qWaitForWindowExposed(main)) QTest::qFail("the main window was never shown", __FILE__, __LINE__);
        if (!QTest::currentTestFailed()) walk();
        if (QTest::currentTestFailed() || (main && main->isVisible())) p.abandon();
    });
    // Longer than any step waits, shorter than the test's own time limit. A
    // sanitizer build runs several times slower and sets a limit of its own
    // (CRV_JOURNEY_SECONDS, with QTEST_FUNCTION_TIMEOUT above it).
    QTimer watchdog;
    watchdog.setSingleShot(true);
    bool given = false;
    const int seconds = qEnvironmentVariableIntValue("CRV_JOURNEY_SECONDS", &given);
    watchdog.setInterval(given && seconds > 0 ? seconds * 1000 : 240000);
    QObject::connect(&watchdog, &QTimer::timeout, &p, [&] {
        QTest::qFail("the journey did not end in time", __FILE__, __LINE__);
        p.abandon();
    });
    start.start(0);
    watchdog.start();
    return QApplication::exec();
}

bool Journey::quitRequested() const { return parts_->quit; }

void Journey::whenShown(const QString& classOrTitle, std::function<void(QWidget*)> step) {
    parts_->steps.push_back({classOrTitle, std::move(step)});
}

void Journey::answerMessageBox(QMessageBox::StandardButton button, QString* text) {
    whenShown(QStringLiteral("QMessageBox"), [button, text](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QVERIFY(box);
        if (text) *text = box->text();
        QAbstractButton* b = box->button(button);
        QVERIFY2(b, qPrintable(QStringLiteral("no such button in \"%1\"").arg(box->text())));
        QTest::mouseClick(b, Qt::LeftButton);
    });
}

int Journey::pendingSteps() const { return static_cast<int>(parts_->steps.size()); }

QWidget* waitForWindow(const QString& classOrTitle, int timeoutMs) {
    QWidget* found = nullptr;
    (void)QTest::qWaitFor(
        [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible() && matches(w, classOrTitle)) {
                    found = w;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return found;
}

bool triggerMenu(QWidget* window, const QStringList& path) {
    if (!window || path.isEmpty()) return false;
    auto* bar = window->findChild<QMenuBar*>();
    if (!bar) return false;
    QAction* item = actionNamed(bar->actions(), path.front());
    if (!item || !item->isEnabled() || !item->menu()) return false;
    // A menu the program opened for the user (the File menu after a run)
    // is closed first, as a click elsewhere would.
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    window->activateWindow();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(item).center());
    QMenu* menu = item->menu();
    for (qsizetype i = 1; i < path.size(); ++i) {
        if (!QTest::qWaitFor([menu] { return menu->isVisible(); }, 5000)) return false;
        item = actionNamed(menu->actions(), path[i]);
        if (!item || !item->isEnabled()) {
            menu->close();
            return false;
        }
        if (i + 1 < path.size()) {
            if (!item->menu()) return false;
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
            menu = item->menu();
            continue;
        }
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    }
    return true;
}

bool chooseInBrowser(QWidget* browser, const std::string& folder, const QString& name) {
    auto* b = qobject_cast<crv::common::ui::frmFileSel*>(browser);
    if (!b) return false;
    b->selectFolder(QString::fromStdString(folder));
    QComboBox* types = b->fileTypes();
    for (int i = -1; i < types->count() && !b->listedNames().contains(name); ++i)
        if (i >= 0) types->setCurrentIndex(i);
    const qsizetype row = b->listedNames().indexOf(name);
    if (row < 0) {
        qWarning("journey: the browser lists no \"%s\" in %s", qPrintable(name), folder.c_str());
        return false;
    }
    QTreeView* list = b->fileList();
    const QModelIndex index = list->model()->index(static_cast<int>(row), 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    QTest::mouseClick(b->okButton(), Qt::LeftButton);
    return true;
}

bool clickButton(QWidget* window, const QString& text) {
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (b->isVisible() && plainText(b->text()) == plainText(text)) {
            QTest::mouseClick(b, Qt::LeftButton);
            return true;
        }
    return false;
}

bool chooseFile(QWidget* fileDialog, const QString& path) {
    auto* dialog = qobject_cast<QFileDialog*>(fileDialog);
    auto* name = dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
    if (!name) return false;
    // Typing into Qt's own dialog leaves its list's selection (the proposed
    // name) chosen; the dialog is told the file, then Return accepts it.
    dialog->selectFile(path);
    if (dialog->selectedFiles() != QStringList{QFileInfo(path).absoluteFilePath()}) {
        qWarning("journey: the file dialog chose \"%s\"", qPrintable(dialog->selectedFiles().join(QLatin1Char(','))));
        return false;
    }
    name->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(name, Qt::Key_Return);
    return true;
}

void typeInto(QWidget* widget, const QString& text) {
    widget->activateWindow();
    widget->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(widget, text);
}

namespace {

// Key releases the program has received, one per key whatever the widgets it
// passed through.
class KeyCounter : public QObject {
public:
    KeyCounter() { qApp->installEventFilter(this); }
    int presses = 0;
    int releases = 0;
    int clicks = 0;
    int modalsShown = 0;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease && firstSight(event) && event->spontaneous()) ++clicks;
        if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) && firstSight(event)) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key != Qt::Key_Shift && key != Qt::Key_Control && key != Qt::Key_Alt && key != Qt::Key_Meta)
                ++(event->type() == QEvent::KeyPress ? presses : releases);
        }
        if (event->type() == QEvent::Show && object->isWidgetType()) {
            auto* w = static_cast<QWidget*>(object);
            if (w->isWindow() && w->isModal()) ++modalsShown;
        }
        return false;
    }

private:
    // An event passes this filter once for each widget it propagates to. The
    // next event may be built at the same address (Qt makes input events on
    // the stack: a key's release often where its press was), so an event is
    // told apart by its type and time stamp too.
    bool firstSight(const QEvent* event) {
        const auto stamp = static_cast<const QInputEvent*>(event)->timestamp();
        if (event == last_ && event->type() == lastType_ && stamp == lastStamp_) return false;
        last_ = event;
        lastType_ = event->type();
        lastStamp_ = stamp;
        return true;
    }
    const QEvent* last_ = nullptr;
    QEvent::Type lastType_ = QEvent::None;
    quint64 lastStamp_ = 0;
};

KeyCounter& keyCounter() {
    static KeyCounter* counter = new KeyCounter;
    return *counter;
}

QWidget* keyTarget() {
    if (QWidget* popup = QApplication::activePopupWidget()) return popup;
    QWidget* focus = QApplication::focusWidget();
    if (QWidget* modal = QApplication::activeModalWidget()) {
        if (focus && modal->isAncestorOf(focus)) return focus;
        return modal->focusWidget() ? modal->focusWidget() : modal;
    }
    if (focus && focus->window()->isVisible()) return focus;
    if (QWidget* active = QApplication::activeWindow(); active && active->isVisible()) return active;
    // Without a window manager nothing may have taken the activation back
    // from a window that has gone: the keys go to the window on show.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog))
            return w->focusWidget() ? w->focusWidget() : w;
    return nullptr;
}

// One xdotool key name as Qt's key and modifiers (the offscreen path).
bool qtKeyOf(const QString& combo, Qt::Key& key, Qt::KeyboardModifiers& mods, QString& text) {
    QStringList parts = combo.split(QLatin1Char('+'));
    const QString name = parts.takeLast();
    mods = {};
    for (const QString& m : parts) {
        if (m == QLatin1String("shift"))
            mods |= Qt::ShiftModifier;
        else if (m == QLatin1String("ctrl"))
            mods |= Qt::ControlModifier;
        else if (m == QLatin1String("alt"))
            mods |= Qt::AltModifier;
        else
            return false;
    }
    static const std::pair<const char*, Qt::Key> named[] = {{"Tab", Qt::Key_Tab},
                                                            {"Return", Qt::Key_Return},
                                                            {"Escape", Qt::Key_Escape},
                                                            {"Delete", Qt::Key_Delete},
                                                            {"BackSpace", Qt::Key_Backspace},
                                                            {"Next", Qt::Key_PageDown},
                                                            {"Prior", Qt::Key_PageUp},
                                                            {"space", Qt::Key_Space},
                                                            {"period", Qt::Key_Period},
                                                            {"Home", Qt::Key_Home},
                                                            {"End", Qt::Key_End}};
    for (const auto& [n, k] : named)
        if (name == QLatin1String(n)) {
            key = k;
            text = k == Qt::Key_Space ? QStringLiteral(" ") : k == Qt::Key_Period ? QStringLiteral(".") : QString();
            if (k == Qt::Key_Tab && (mods & Qt::ShiftModifier)) key = Qt::Key_Backtab;
            if (k == Qt::Key_Delete) text = QString(QChar(0x7F));  // as an X keyboard sends it
            return true;
        }
    if (name.size() != 1) return false;
    const QChar c = name[0];
    key = static_cast<Qt::Key>(c.toUpper().unicode());
    text = (mods & (Qt::ControlModifier | Qt::AltModifier)) ? QString() : QString(c);
    return true;
}

QString xdotoolName(QChar c) {
    if (c == QLatin1Char(' ')) return QStringLiteral("space");
    if (c == QLatin1Char('.')) return QStringLiteral("period");
    if (c == QLatin1Char('-')) return QStringLiteral("minus");
    return QString(c);
}

// The X window that holds the keyboard now ("" when none can be told).
QString xInputFocus() {
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("getwindowfocus")});
    if (!xdotool.waitForFinished(3000)) return {};
    return QString::fromLatin1(xdotool.readAllStandardOutput()).trimmed();
}

// A person types into the window in front of them once it is there: a box or
// dialog just shown is mapped and given the keyboard a moment later (by the
// window manager, or by Qt itself where there is none), and keys sent before
// that go to the window behind it, which its modality then refuses. So the
// keys wait until the X server's input focus is on the window the program
// takes as active. A popup menu holds the keyboard by a grab instead and
// needs no wait.
void waitForTheKeyboard() {
    if (QApplication::activePopupWidget()) return;
    (void)QTest::qWaitFor(
        [] {
            QWidget* front = QApplication::activeModalWidget();
            if (!front) front = QApplication::activeWindow();
            if (!front || !front->isVisible() || !front->windowHandle() || !front->windowHandle()->isExposed())
                return false;
            return xInputFocus() == QString::number(front->windowHandle()->winId());
        },
        3000);
}

}  // namespace

bool onXServer() {
    static const bool x = QGuiApplication::platformName() == QLatin1String("xcb") &&
                          !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty();
    return x;
}

void pressKeys(const QString& keys) {
    const QStringList combos = keys.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (onXServer()) {
        waitForTheKeyboard();
        KeyCounter& counter = keyCounter();
        const int before = counter.releases, pressedBefore = counter.presses, modalsBefore = counter.modalsShown;
        QStringList args{QStringLiteral("key"), QStringLiteral("--clearmodifiers")};
        args += combos;
        QProcess::execute(QStringLiteral("xdotool"), args);
        // Keys sent to a window of another program, or swallowed by the
        // window manager, never arrive; the wait then ends by its limit. A
        // press that opened a modal window (a progress window, a message box)
        // has its release refused by the window it blocked, so the presses
        // count then.
        const int n = int(combos.size());
        (void)QTest::qWaitFor(
            [&] {
                return counter.releases >= before + n ||
                       (counter.presses >= pressedBefore + n && counter.modalsShown > modalsBefore);
            },
            3000);
        QCoreApplication::processEvents();
        return;
    }
    for (const QString& combo : combos) {
        Qt::Key key{};
        Qt::KeyboardModifiers mods;
        QString text;
        if (!qtKeyOf(combo, key, mods, text)) {
            qWarning("journey: no key \"%s\"", qPrintable(combo));
            continue;
        }
        QWidget* target = keyTarget();
        if (!target) continue;
        QTest::sendKeyEvent(QTest::Press, target, key, text, mods);
        if (QPointer<QWidget> still = keyTarget()) QTest::sendKeyEvent(QTest::Release, still, key, text, mods);
        QCoreApplication::processEvents();
    }
}

void typeText(const QString& text) {
    QStringList names;
    for (QChar c : text) names << xdotoolName(c);
    pressKeys(names.join(QLatin1Char(' ')));
}

void clickAsAUser(QWidget* widget) {
    if (widget) clickAsAUser(widget, widget->rect().center());
}

void clickAsAUser(QWidget* widget, QPoint centre) {
    if (!widget) return;
    if (onXServer()) {
        // Where the window manager has put the window by now.
        (void)QTest::qWaitForWindowExposed(widget->window());
        (void)QTest::qWaitForWindowActive(widget->window(), 2000);
        KeyCounter& counter = keyCounter();
        const int before = counter.clicks;
        const QPoint at = widget->mapToGlobal(centre);
        QProcess::execute(QStringLiteral("xdotool"),
                          {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                           QStringLiteral("click"), QStringLiteral("1")});
        (void)QTest::qWaitFor([&] { return counter.clicks > before; }, 3000);
        QCoreApplication::processEvents();
        return;
    }
    QTest::mouseClick(widget, Qt::LeftButton, {}, centre);
}

bool frameInsideWorkArea(const QWidget* window) {
    const QScreen* screen = window->screen();
    return screen && screen->availableGeometry().contains(window->frameGeometry());
}

std::string contentsOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool saveScreen(const QString& name) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return false;
    const QString path = QStringLiteral(CRV_SNAPSHOT_DIR "journeys/") + name + QStringLiteral(".png");
    QDir().mkpath(QFileInfo(path).absolutePath());
    // The screen is put together from the windows themselves, the same on
    // every platform (the offscreen one has no screen to grab, and a bare X
    // server's root window shows black): frames are not drawn, the active
    // window on top.
    const QRect area = screen->geometry();
    QPixmap picture(area.size());
    picture.fill(QColor(0x3a, 0x6e, 0xa5));
    QPainter painter(&picture);
    QList<QWidget*> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->isWindow()) windows.append(w);
    std::stable_sort(windows.begin(), windows.end(), [](QWidget* a, QWidget* b) {
        auto rank = [](QWidget* w) {
            if (w->windowType() == Qt::Popup || w->windowType() == Qt::ToolTip) return 3;
            if (w == QApplication::activeModalWidget()) return 2;
            return w == QApplication::activeWindow() ? 1 : 0;
        };
        return rank(a) < rank(b);
    });
    for (QWidget* w : windows) painter.drawPixmap(w->geometry().topLeft() - area.topLeft(), w->grab());
    painter.end();
    return picture.save(path, "PNG");
}

int runJourneyTests(int argc, char** argv, const std::function<std::unique_ptr<QObject>()>& makeTests) {
    // A screen size for the offscreen platform, which otherwise has 800x600.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const QByteArray size = qgetenv("CRV_JOURNEY_SCREEN");
    std::string config;
    if (!size.isEmpty() && (platform.isEmpty() || platform.startsWith("offscreen"))) {
        const QList<QByteArray> wh = size.split('x');
        if (wh.size() == 2) {
            config = originalTemp() + "/crv-journey-screen-" + std::to_string(::getpid()) + ".json";
            std::ofstream(config) << R"({"screens":[{"name":"journey","x":0,"y":0,"width":)" << wh[0].toInt()
                                  << R"(,"height":)" << wh[1].toInt() << R"(,"logicalDpi":96,"dpr":1}]})";
            ::setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).c_str(), 1);
        }
    }
    int status = 0;
    {
        QApplication app(argc, argv);
        std::unique_ptr<QObject> tests = makeTests();
        status = QTest::qExec(tests.get(), argc, argv);
    }
    if (!config.empty()) std::filesystem::remove(config);
    return status;
}

}  // namespace crv::journeys
