#pragma once
// Help: HTML pages in Qt resources under ":/help/", one page per topic, the
// topic being the page's file name without ".html" and its title the page's
// <title>. The help window lists every page it finds there (the contents
// page first), with Back, Forward and Contents.
//
// Pages of another library: keep them in that library's own .qrc with
// prefix "/help" (e.g. viewers/plot_window/help/plot_window_help.qrc) and
// register it once, at file scope in one of the library's sources:
//     CRV_HELP_RESOURCE(plot_window_help)
// (the .qrc's base name). Nobody edits common_help.qrc for it.
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>

class QListWidget;
class QTextBrowser;
class QAction;

namespace crv::common::ui {

// Remembers a resource initialiser; every registered one runs before help
// looks for pages. Returns true (for the macro's static).
bool registerHelpResource(int (*init)());

// Leaves a topic out of the contents and of every look-up (a page about a
// tool this edition of the program does not offer), or puts it back.
void setHelpTopicHidden(const QString& topic, bool hidden);

// Opens the program's help window on a topic (the contents when empty or unknown).
void showHelp(const QString& topic);
// Every topic found, sorted.
QStringList helpTopics();
// The page of a topic: by file name, then by file name or title regardless
// of case; an empty URL when there is none.
QUrl helpPage(const QString& topic);
// A page's title (its <title>, else its topic).
QString helpTitle(const QString& topic);

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    // Shows a topic; false (and the contents) when there is no such page.
    bool showTopic(const QString& topic);
    // The topic on show.
    QString currentTopic() const;
    void reloadContents();

    QTextBrowser* browser() const { return browser_; }
    QListWidget* contentsList() const { return contents_; }
    QAction* backAction() const { return back_; }
    QAction* forwardAction() const { return forward_; }

    // Makes the window a child window of `owner` (nullptr: of nobody), staying
    // where and as it is shown.
    void rehome(QWidget* owner);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* contents_;
    QTextBrowser* browser_;
    QAction* back_;
    QAction* forward_;
    QAction* home_;
};

// The one help window of the program, made on first use.
HelpWindow& helpWindow();

}  // namespace crv::common::ui

// At file scope (global namespace) of the library that owns the .qrc.
#define CRV_HELP_RESOURCE(name)                                              \
    extern int qInitResources_##name();                                      \
    [[maybe_unused]] static const bool crvHelpResource_##name##_registered = \
        crv::common::ui::registerHelpResource(&qInitResources_##name);
