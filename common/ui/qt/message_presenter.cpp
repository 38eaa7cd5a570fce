#include "crv/common/ui/qt/message_presenter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QString>

#include "crv/common/ui/qt/keep_on_screen.h"
#include "crv/common/ui/qt/qt_text.h"
#include "crv/platform/message_box.h"

namespace crv::common::ui {
namespace {

using crv::common::Message;
using crv::common::MessageAnswer;
using crv::common::MessageButtons;
using crv::common::MessageIcon;

QString boxText(const std::string& text) {
    QString s = displayToQt(text);  // messages name files
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QChar('\r'), QChar('\n'));
    return s;
}

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information: return QMessageBox::Information;
        case MessageIcon::Exclamation: return QMessageBox::Warning;
        case MessageIcon::Critical: return QMessageBox::Critical;
        case MessageIcon::Question: return QMessageBox::Question;
        default: return QMessageBox::NoIcon;
    }
}

QtMessagePresenter& qtPresenter() {
    static QtMessagePresenter presenter;
    return presenter;
}

crv::common::MessagePresenter* current = nullptr;

void platformPresenter(const std::string& text, const std::string& title, MessageIcon icon, void*) {
    appPresenter().present(Message{text, title, icon, MessageButtons::Ok});
}

}  // namespace

std::unique_ptr<QMessageBox> makeMessageBox(const Message& message, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(boxIcon(message.icon), toQt(message.title), boxText(message.text),
                                             QMessageBox::NoButton, parent);
    box->setTextFormat(Qt::PlainText);
    switch (message.buttons) {
        case MessageButtons::Ok: box->setStandardButtons(QMessageBox::Ok); break;
        case MessageButtons::OkCancel: box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case MessageButtons::YesNo: box->setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case MessageButtons::YesNoCancel:
            box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        case MessageButtons::RetryCancel: box->setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel); break;
    }
    // A box sized to its text alone may be narrower than its title, which a
    // window manager then elides (" About CRV_Sci" as "A... ci").
    fitTitle(*box);
    return box;
}

namespace {
// The window that asks: the active one; while activation has not yet
// followed a window switch (the main window just hidden, an editor just
// shown), the visible window instead, so the box never stands over a
// hidden one.
QWidget* askingWindow() {
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) return modal;
    if (QWidget* active = QApplication::activeWindow(); active && active->isVisible()) return active;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = w->windowType();
        if (w->isVisible() && (type == Qt::Window || type == Qt::Dialog)) return w;
    }
    return nullptr;
}
}  // namespace

MessageAnswer QtMessagePresenter::present(const Message& message) {
    QPointer<QWidget> owner = askingWindow();
    auto box = makeMessageBox(message, owner);
    const int answer = box->exec();
    box.reset();
    // The keys go back to the window that asked, whatever the window manager
    // (if any) does with the activation once the box has gone.
    if (owner && owner->isVisible() && !QApplication::activeModalWidget())
        owner->activateWindow();
    else if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible())
        modal->activateWindow();
    switch (answer) {
        case QMessageBox::Ok: return MessageAnswer::Ok;
        case QMessageBox::Retry: return MessageAnswer::Retry;
        case QMessageBox::Yes: return MessageAnswer::Yes;
        case QMessageBox::No: return MessageAnswer::No;
        case QMessageBox::Cancel: return MessageAnswer::Cancel;
        default:
            // Closing a question box with Escape or the title bar is its safe choice.
            if (message.buttons == MessageButtons::YesNo) return MessageAnswer::No;
            if (message.buttons != MessageButtons::Ok) return MessageAnswer::Cancel;
            return MessageAnswer::Ok;
    }
}

crv::common::MessagePresenter& installQtMessagePresenter() {
    current = &qtPresenter();
    crv::platform::setMessagePresenter(&platformPresenter, nullptr);
    return qtPresenter();
}

void setAppPresenter(crv::common::MessagePresenter* presenter) {
    current = presenter ? presenter : &qtPresenter();
    crv::platform::setMessagePresenter(&platformPresenter, nullptr);
}

crv::common::MessagePresenter& appPresenter() { return current ? *current : qtPresenter(); }

}  // namespace crv::common::ui

// The engine loaded at run time has its own copy of the platform layer; it
// finds the program's boxes through this hook.
extern "C" __attribute__((visibility("default"))) void crv_host_show_message(const char* text, const char* title,
                                                                             int icon) {
    crv::common::ui::appPresenter().present(crv::common::Message{text ? text : "", title ? title : "",
                                                                 static_cast<crv::common::MessageIcon>(icon),
                                                                 crv::common::MessageButtons::Ok});
}
