#include "crv/common/ui/qt/help.h"

#include <algorithm>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

// Both page sets of this library; other libraries register their own.
CRV_HELP_RESOURCE(common_help)
CRV_HELP_RESOURCE(dialogs_help)

namespace crv::common::ui {
namespace {

std::vector<int (*)()>& initialisers() {
    static std::vector<int (*)()> list;
    return list;
}

void loadResources() {
    for (auto init : initialisers()) init();  // registering twice is harmless
}

const QString kRoot = QStringLiteral(":/help/");

QString baseTitle() {
    const QString program = QCoreApplication::applicationName();
    return program.isEmpty() ? HelpWindow::tr("Help") : program + HelpWindow::tr(" Help");
}

QStringList& hiddenTopics() {
    static QStringList hidden;
    return hidden;
}

QString topicOf(const QUrl& url) {
    const QString name = url.fileName();
    return name.endsWith(QStringLiteral(".html")) ? name.chopped(5) : name;
}

}  // namespace

bool registerHelpResource(int (*init)()) {
    initialisers().push_back(init);
    return true;
}

void setHelpTopicHidden(const QString& topic, bool hidden) {
    hiddenTopics().removeAll(topic);
    if (hidden) hiddenTopics() << topic;
}

QStringList helpTopics() {
    loadResources();
    QStringList topics;
    for (const QString& f : QDir(kRoot).entryList({QStringLiteral("*.html")}, QDir::Files))
        if (!hiddenTopics().contains(f.chopped(5))) topics << f.chopped(5);
    topics.sort();
    return topics;
}

QString helpTitle(const QString& topic) {
    QFile f(kRoot + topic + QStringLiteral(".html"));
    if (f.open(QIODevice::ReadOnly)) {
        static const QRegularExpression title(
            QStringLiteral("<title>(.*?)</title>"),
            QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
        const auto m = title.match(QString::fromUtf8(f.read(4096)));
        if (m.hasMatch()) return m.captured(1).simplified();
    }
    return topic;
}

QUrl helpPage(const QString& topic) {
    const QStringList topics = helpTopics();
    const QString wanted = topic.trimmed();
    if (wanted.isEmpty()) return {};
    QString found;
    if (topics.contains(wanted)) {
        found = wanted;
    } else {
        for (const QString& t : topics)
            if (t.compare(wanted, Qt::CaseInsensitive) == 0 || helpTitle(t).compare(wanted, Qt::CaseInsensitive) == 0) {
                found = t;
                break;
            }
    }
    if (found.isEmpty()) return {};
    return QUrl(QStringLiteral("qrc") + kRoot + found + QStringLiteral(".html"));
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(baseTitle());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* tools = new QToolBar(this);
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    back_ = tools->addAction(tr("< &Back"));
    forward_ = tools->addAction(tr("&Forward >"));
    home_ = tools->addAction(tr("&Contents"));
    back_->setShortcut(QKeySequence::Back);
    forward_->setShortcut(QKeySequence::Forward);
    layout->addWidget(tools);
    auto* split = new QSplitter(this);
    contents_ = new QListWidget(split);
    contents_->setObjectName(QStringLiteral("helpContents"));
    browser_ = new QTextBrowser(split);
    browser_->setObjectName(QStringLiteral("helpPage"));
    browser_->setOpenExternalLinks(true);
    split->addWidget(contents_);
    split->addWidget(browser_);
    split->setStretchFactor(1, 1);
    split->setSizes({180, 460});
    layout->addWidget(split, 1);
    back_->setEnabled(false);
    forward_->setEnabled(false);
    connect(back_, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward_, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(home_, &QAction::triggered, this, [this] { showTopic(QStringLiteral("contents")); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
    connect(contents_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { showTopic(item->data(Qt::UserRole).toString()); });
    connect(contents_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showTopic(item->data(Qt::UserRole).toString()); });
    // Keep the list on the page shown, however it was reached.
    connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        const QString topic = topicOf(url);
        for (int i = 0; i < contents_->count(); ++i)
            if (contents_->item(i)->data(Qt::UserRole).toString() == topic) {
                const QSignalBlocker block(contents_);
                contents_->setCurrentRow(i);
            }
        setWindowTitle(baseTitle() + QStringLiteral(" - ") + browser_->documentTitle());
    });
    resize(680, 480);
    reloadContents();
    qApp->installEventFilter(this);
}

// A modal dialog blocks every window that is not its own. The help window is
// made the child window of the newest dialog for as long as that dialog is
// shown, so help opened from a dialog (or still open when the next one comes
// up) can be read, navigated and closed; it goes back to the dialog before,
// or to no owner, before its dialog is hidden and unloaded.
void HelpWindow::rehome(QWidget* owner) {
    if (owner == this || parentWidget() == owner) return;
    const bool shown = isVisible();
    const QPoint at = pos();
    setParent(owner, Qt::Window);
    move(at);
    if (shown) show();
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if ((type == QEvent::Show || type == QEvent::Hide) && watched != this && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        // Message boxes are answered first; help waits for them.
        if (w->isWindow() && w->isModal() && !qobject_cast<QMessageBox*>(w)) {
            if (type == QEvent::Show && isVisible())
                rehome(w);
            else if (type == QEvent::Hide && parentWidget() == w)
                rehome(QApplication::activeModalWidget() == w ? nullptr : QApplication::activeModalWidget());
        }
    }
    return QWidget::eventFilter(watched, event);
}

void HelpWindow::reloadContents() {
    contents_->clear();
    QStringList topics = helpTopics();
    // The contents page heads the list; the others follow by title.
    std::vector<std::pair<QString, QString>> pages;
    for (const QString& t : topics)
        if (t != QStringLiteral("contents")) pages.emplace_back(helpTitle(t), t);
    std::sort(pages.begin(), pages.end(),
              [](const auto& a, const auto& b) { return a.first.compare(b.first, Qt::CaseInsensitive) < 0; });
    if (topics.contains(QStringLiteral("contents")))
        pages.insert(pages.begin(), {helpTitle(QStringLiteral("contents")), QStringLiteral("contents")});
    for (const auto& [title, topic] : pages) {
        auto* item = new QListWidgetItem(title, contents_);
        item->setData(Qt::UserRole, topic);
    }
}

bool HelpWindow::showTopic(const QString& topic) {
    QUrl page = helpPage(topic);
    const bool found = !page.isEmpty();
    if (!found) page = helpPage(QStringLiteral("contents"));
    if (page != browser_->source()) browser_->setSource(page);
    return found;
}

QString HelpWindow::currentTopic() const { return topicOf(browser_->source()); }

HelpWindow& helpWindow() {
    static HelpWindow* window = new HelpWindow;  // lives as long as the program
    return *window;
}

void showHelp(const QString& topic) {
    HelpWindow& w = helpWindow();
    if (w.contentsList()->count() != helpTopics().size()) w.reloadContents();  // a library registered late
    w.showTopic(topic);
    QWidget* modal = QApplication::activeModalWidget();
    if (qobject_cast<QMessageBox*>(modal)) modal = nullptr;
    w.rehome(modal);
    w.show();
    w.raise();
    w.activateWindow();
}

}  // namespace crv::common::ui
