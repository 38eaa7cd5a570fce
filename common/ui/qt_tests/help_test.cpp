#include <QAction>
#include <QDialog>
#include <QFile>
#include <QListWidget>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

#include "crv/common/ui/qt/help.h"
#include "crv/testing/qt/snapshot.h"

// A page set of another library, registered the documented way.
CRV_HELP_RESOURCE(help_test_extra)

namespace ui = crv::common::ui;

class HelpTest : public QObject {
    Q_OBJECT
private slots:
    void topicsFromEveryRegisteredResource() {
        const QStringList topics = ui::helpTopics();
        for (const char* t : {"contents", "using_help", "progress", "entering_values", "recent_files", "print_setup",
                              "paths", "extra_topic"})
            QVERIFY2(topics.contains(t), t);
        QCOMPARE(ui::helpTitle("extra_topic"), QString("A page of another library"));
    }

    void lookupByName() {
        struct Case {
            QString asked, topic;
        } cases[] = {
            {"progress", "progress"},    {"Progress", "progress"},
            {"  progress ", "progress"}, {"the progress window", "progress"},  // by title
            {"no_such_page", ""},        {"", ""},
        };
        for (const auto& c : cases) {
            const QUrl url = ui::helpPage(c.asked);
            QCOMPARE(url.isEmpty() ? QString() : url.fileName().chopped(5), c.topic);
        }
    }

    void everyLinkLeadsToAPage() {
        const QStringList topics = ui::helpTopics();
        static const QRegularExpression href(QStringLiteral("href=\"([^\"#:]+)\\.html\""));
        for (const QString& t : topics) {
            QFile f(":/help/" + t + ".html");
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QString html = QString::fromUtf8(f.readAll());
            QVERIFY2(html.contains("<title>"), qPrintable(t));
            for (auto it = href.globalMatch(html); it.hasNext();) {
                const QString target = it.next().captured(1);
                QVERIFY2(topics.contains(target), qPrintable(t + " -> " + target));
            }
        }
    }

    void windowGoesBackAndForth() {
        ui::HelpWindow w;
        w.show();
        QCOMPARE(w.contentsList()->item(0)->text(), QString("Contents"));
        QCOMPARE(w.contentsList()->count(), ui::helpTopics().size());
        QVERIFY(w.showTopic("contents"));
        QVERIFY(!w.backAction()->isEnabled());
        crv::testing::saveSnapshot(&w, "common/HelpWindow_contents");
        QVERIFY(w.showTopic("progress"));
        QVERIFY(w.showTopic("entering_values"));
        QCOMPARE(w.currentTopic(), QString("entering_values"));
        QCOMPARE(w.contentsList()->currentItem()->data(Qt::UserRole).toString(), QString("entering_values"));
        crv::testing::saveSnapshot(&w, "common/HelpWindow_page");
        QVERIFY(w.backAction()->isEnabled());
        w.backAction()->trigger();
        QCOMPARE(w.currentTopic(), QString("progress"));
        QVERIFY(w.forwardAction()->isEnabled());
        w.forwardAction()->trigger();
        QCOMPARE(w.currentTopic(), QString("entering_values"));
        // A click in the contents list.
        for (int i = 0; i < w.contentsList()->count(); ++i)
            if (w.contentsList()->item(i)->data(Qt::UserRole) == "extra_topic")
                emit w.contentsList()->itemClicked(w.contentsList()->item(i));
        QCOMPARE(w.currentTopic(), QString("extra_topic"));
        QVERIFY(w.windowTitle().endsWith("A page of another library"));
        // An unknown topic shows the contents.
        QVERIFY(!w.showTopic("no_such_page"));
        QCOMPARE(w.currentTopic(), QString("contents"));
    }

    void usableWhileAModalDialogRuns() {
        // Help asked for from a dialog, then the next dialog of the workflow:
        // the help window takes clicks and closes while either is open.
        auto clickTopic = [](const QString& topic) {
            auto* list = ui::helpWindow().contentsList();
            for (int i = 0; i < list->count(); ++i)
                if (list->item(i)->data(Qt::UserRole).toString() == topic) {
                    list->scrollToItem(list->item(i));
                    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                      list->visualItemRect(list->item(i)).center());
                    return;
                }
            QFAIL("topic not listed");
        };
        bool checkedFirst = false, checkedSecond = false;
        QDialog first;
        first.setWindowTitle("Proponent Data");
        QTimer::singleShot(0, &first, [&] {
            ui::showHelp("print_setup");
            QTRY_VERIFY(ui::helpWindow().isVisible());
            clickTopic("progress");
            QTRY_COMPARE(ui::helpWindow().currentTopic(), QString("progress"));
            QTest::mouseClick(ui::helpWindow().contentsList()->viewport(), Qt::LeftButton);  // still alive
            checkedFirst = true;
            first.accept();
        });
        first.exec();
        QVERIFY(checkedFirst);
        QVERIFY(ui::helpWindow().isVisible());  // outlives the dialog it was asked from
        QVERIFY(ui::helpWindow().parentWidget() == nullptr);

        QDialog second;
        QTimer::singleShot(0, &second, [&] {
            clickTopic("paths");
            QTRY_COMPARE(ui::helpWindow().currentTopic(), QString("paths"));
            ui::helpWindow().close();
            QVERIFY(!ui::helpWindow().isVisible());
            checkedSecond = true;
            second.accept();
        });
        second.exec();
        QVERIFY(checkedSecond);
        QVERIFY(ui::helpWindow().parentWidget() == nullptr);
    }

    void hiddenTopicsLeaveTheContents() {
        ui::setHelpTopicHidden("extra_topic", true);
        QVERIFY(!ui::helpTopics().contains("extra_topic"));
        QVERIFY(ui::helpPage("extra_topic").isEmpty());
        QVERIFY(ui::helpPage("A page of another library").isEmpty());
        ui::showHelp("extra_topic");
        QCOMPARE(ui::helpWindow().currentTopic(), QString("contents"));
        for (int i = 0; i < ui::helpWindow().contentsList()->count(); ++i)
            QVERIFY(ui::helpWindow().contentsList()->item(i)->data(Qt::UserRole).toString() != "extra_topic");
        ui::setHelpTopicHidden("extra_topic", false);
        QVERIFY(ui::helpTopics().contains("extra_topic"));
        ui::helpWindow().close();
    }

    void showHelpOpensTheProgramWindow() {
        ui::showHelp("print_setup");
        QVERIFY(ui::helpWindow().isVisible());
        QCOMPARE(ui::helpWindow().currentTopic(), QString("print_setup"));
        ui::showHelp(QString());
        QCOMPARE(ui::helpWindow().currentTopic(), QString("contents"));
        ui::helpWindow().close();
    }
};

QTEST_MAIN(HelpTest)
#include "help_test.moc"
