#pragma once
// Help: HTML pages in Qt resources under :/help/. Each library may ship its
// own .qrc with prefix /help; the help window lists every page found there,
// titled by its <title>.
#include <QString>
#include <QStringList>

namespace crv::common::ui {
// Opens the help window on :/help/<topic>.html (the contents when empty or
// unknown).
void showHelp(const QString& topic);
// Topics found in the resources, sorted.
QStringList helpTopics();
}
