// Message boxes: the box a message becomes, the unexpected-error report and
// the engine's own messages reaching the program's presenter.
#include <dlfcn.h>

#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "crv/common/ui/qt/message_presenter.h"
#include "crv/common/ui/qt/program_messages.h"
#include "crv/platform/message_box.h"
#include "crv/testing/qt/recording_presenter.h"
#include "crv/testing/qt/snapshot.h"

namespace ui = crv::common::ui;
using crv::common::Message;
using crv::common::MessageAnswer;
using crv::common::MessageButtons;
using crv::common::MessageIcon;

class MessagePresenterTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { ui::setAppPresenter(nullptr); }

    void boxKeepsTheTextAsItStands() {
        const Message m{" An unexpected error has occurred in \r procedure <b>LoadFile</b>: \r\r caf\xe9 ", "CRV Error",
                        MessageIcon::Exclamation, MessageButtons::Ok};
        auto box = ui::makeMessageBox(m);
        QCOMPARE(box->text(), QString(" An unexpected error has occurred in \n procedure <b>LoadFile</b>: \n\n caf") +
                                  QChar(0xE9) + " ");
        QCOMPARE(box->textFormat(), Qt::PlainText);  // "<b>" is shown, not bold
        QCOMPARE(box->windowTitle(), QString("CRV Error"));
        QCOMPARE(box->icon(), QMessageBox::Warning);
        QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
        crv::testing::saveSnapshot(box.get(), "common/MessageBox");

        struct Case {
            MessageIcon icon;
            QMessageBox::Icon qt;
            MessageButtons buttons;
            QMessageBox::StandardButtons qtButtons;
        } cases[] = {
            {MessageIcon::Information, QMessageBox::Information, MessageButtons::OkCancel,
             QMessageBox::Ok | QMessageBox::Cancel},
            {MessageIcon::Critical, QMessageBox::Critical, MessageButtons::YesNo, QMessageBox::Yes | QMessageBox::No},
            {MessageIcon::Question, QMessageBox::Question, MessageButtons::YesNoCancel,
             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel},
            {MessageIcon::None, QMessageBox::NoIcon, MessageButtons::Ok, QMessageBox::Ok},
        };
        for (const auto& c : cases) {
            auto b = ui::makeMessageBox({" Save the changes to the case file? ", "Case Data", c.icon, c.buttons});
            if (c.buttons == MessageButtons::YesNoCancel)
                crv::testing::saveSnapshot(b.get(), "common/MessageBox_question");
            QCOMPARE(b->icon(), c.qt);
            QCOMPARE(b->standardButtons(), c.qtButtons);
        }
    }

    void questionReturnsTheButtonChosen() {
        ui::QtMessagePresenter presenter;
        struct Case {
            MessageButtons buttons;
            QMessageBox::StandardButton click;  // NoButton: Escape
            MessageAnswer answer;
        } cases[] = {
            {MessageButtons::YesNoCancel, QMessageBox::No, MessageAnswer::No},
            {MessageButtons::YesNo, QMessageBox::NoButton, MessageAnswer::No},
            {MessageButtons::OkCancel, QMessageBox::NoButton, MessageAnswer::Cancel},
            // OK of an OK/Cancel box is OK (a reminder before a save goes on).
            {MessageButtons::OkCancel, QMessageBox::Ok, MessageAnswer::Ok},
            {MessageButtons::Ok, QMessageBox::Ok, MessageAnswer::Ok},
            {MessageButtons::RetryCancel, QMessageBox::Retry, MessageAnswer::Retry},
            {MessageButtons::RetryCancel, QMessageBox::NoButton, MessageAnswer::Cancel},
        };
        for (const auto& c : cases) {
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                if (c.click == QMessageBox::NoButton)
                    QTest::keyClick(box, Qt::Key_Escape);
                else
                    box->button(c.click)->click();
            });
            QCOMPARE(presenter.present({"Save changes?", "Case", MessageIcon::Question, c.buttons}), c.answer);
        }
    }

    // A box asked for while activation has not yet followed a switch of
    // windows (the main window hidden, an editor just shown) stands over the
    // window that is shown, never over the hidden one.
    void boxStandsOverTheWindowShown() {
        ui::QtMessagePresenter presenter;
        QWidget main;
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QApplication::setActiveWindow(&main);
        QWidget editor;
        main.hide();
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QWidget* parent = &main;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            parent = box->parentWidget();
            box->button(QMessageBox::Ok)->click();
        });
        presenter.present({" Data Check ", "Data Check", MessageIcon::Exclamation, MessageButtons::Ok});
        QCOMPARE(parent, &editor);
    }

    void unexpectedErrorThroughThePresenter() {
        crv::testing::RecordingPresenter rec;
        ui::setAppPresenter(&rec);
        ui::ShowUnexpectedError("RunSimulation", "Division by zero");
        QCOMPARE(rec.messages.size(), std::size_t(1));
        QCOMPARE(rec.messages[0].text, std::string(" An unexpected error has occurred in \r"
                                                   " procedure RunSimulation: \r\r Division by zero "));
        QCOMPARE(rec.messages[0].title, std::string("CRV Error"));
        QCOMPARE(rec.messages[0].icon, MessageIcon::Exclamation);
        QCOMPARE(rec.messages[0].buttons, MessageButtons::Ok);
    }

    void engineMessagesReachTheProgram() {
        crv::testing::RecordingPresenter rec;
        ui::setAppPresenter(&rec);
        // This copy of the platform layer, through the installed presenter.
        crv::platform::showMessage("Cannot open the case file.", "CRV Error", MessageIcon::Critical);
        // The engine's own copy finds the program's hook by name.
        using Hook = void (*)(const char*, const char*, int);
        auto hook = reinterpret_cast<Hook>(::dlsym(RTLD_DEFAULT, "crv_host_show_message"));
        QVERIFY(hook);
        hook(" Error reading file \r Rfi.dat ", "CRV Error", 2);
        hook(nullptr, nullptr, 0);
        QCOMPARE(rec.messages.size(), std::size_t(3));
        QCOMPARE(rec.messages[0].text, std::string("Cannot open the case file."));
        QCOMPARE(rec.messages[0].icon, MessageIcon::Critical);
        QCOMPARE(rec.messages[1].text, std::string(" Error reading file \r Rfi.dat "));
        QCOMPARE(rec.messages[1].title, std::string("CRV Error"));
        QCOMPARE(rec.messages[1].icon, MessageIcon::Exclamation);
        QCOMPARE(rec.messages[2].text, std::string());
        // Without a presenter of its own, the layer falls back on the hook too.
        crv::platform::setMessagePresenter(nullptr, nullptr);
        crv::platform::showMessage("From the engine", "CRV Error", MessageIcon::Exclamation);
        QCOMPARE(rec.messages.size(), std::size_t(4));
        QCOMPARE(rec.messages[3].text, std::string("From the engine"));
    }

    void theEnginesBoxComesThroughTheHook() {
#ifndef CRV50_LIBRARY
        QSKIP("the engine is not built here");
#else
        crv::testing::RecordingPresenter rec;
        ui::setAppPresenter(&rec);
        QTemporaryDir home;
        qputenv("CORVANE_SETTINGS", (home.path() + "/settings.ini").toLocal8Bit());
        void* engine = ::dlopen(CRV50_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        QVERIFY2(engine, ::dlerror());
        using GridFn = void (*)(const char*, void (*)(std::int32_t, std::int16_t*), std::int16_t*, std::int32_t*);
        auto grid = reinterpret_cast<GridFn>(::dlsym(engine, "Grid"));
        QVERIFY(grid);
        std::int16_t status = -1;
        std::int32_t points = -1;
        grid((home.path() + "/no such folder/").toLocal8Bit().constData(), nullptr, &status, &points);
        // Not unloaded: the programs never unload the engine, whose state
        // and worker threads live as long as the process.
        QCOMPARE(status, std::int16_t(2));
        QCOMPARE(rec.messages.size(), std::size_t(1));
        QCOMPARE(rec.messages[0].title, std::string("CRV Error"));
        QCOMPARE(rec.messages[0].icon, MessageIcon::Exclamation);
        QVERIFY(!rec.messages[0].text.empty());
#endif
    }
};

QTEST_MAIN(MessagePresenterTest)
#include "message_presenter_test.moc"
