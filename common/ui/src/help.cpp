#include "crv/common/ui/help.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextBrowser>

static void initCommonHelp() { Q_INIT_RESOURCE(common_help); }

namespace crv::common::ui {

QStringList helpTopics() {
    initCommonHelp();
    QStringList topics;
    for (const QString& f : QDir(QStringLiteral(":/help")).entryList({QStringLiteral("*.html")}, QDir::Files))
        topics << f.chopped(5);
    topics.sort();
    return topics;
}

void showHelp(const QString& topic) {
    initCommonHelp();
    static QTextBrowser* window = nullptr;
    if (!window) {
        window = new QTextBrowser;
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->setWindowTitle(QObject::tr("Help"));
        window->resize(640, 480);
    }
    QString page = QStringLiteral(":/help/%1.html").arg(topic);
    if (topic.isEmpty() || !QFile::exists(page)) page = QStringLiteral(":/help/contents.html");
    window->setSource(QUrl(QStringLiteral("qrc") + page));
    window->show();
    window->raise();
}

}  // namespace crv::common::ui
