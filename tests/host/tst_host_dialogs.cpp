#include "MessageBoxW.h"
#include "WaitDialog.h"

#include <QApplication>
#include <QPushButton>
#include <QtTest>

using namespace VIG_BASE_MODULE;

namespace {

// Presses the button with this text on the modal box once it is up.
void pressLater(const QString& text)
{
    QTimer::singleShot(0, [text] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        for (QPushButton* button : modal->findChildren<QPushButton*>()) {
            if (button->text() == text) {
                button->click();
                return;
            }
        }
        QFAIL("no such button");
    });
}

} // namespace

class TstHostDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        MessageBoxW::clearCalls();
        MessageBoxW::clearQueuedAnswers();
    }

    void messageBoxWaitsForTheOperatorWithoutQueuedAnswers()
    {
        pressLater("OK");
        QCOMPARE(MessageBoxW::information(nullptr, "", "Confirm", 3), 1);
        pressLater("Cancel");
        QCOMPARE(MessageBoxW::information(nullptr, "", "Confirm", 3), 0);
        pressLater("Second");
        QCOMPARE(MessageBoxW::informationEx(nullptr, "", "Pick", {"First", "Second"}), 1);
        QCOMPARE(MessageBoxW::calls().size(), 3);
    }

    void waitDialogShowsWithoutBlockingAndTimesOut()
    {
        WaitDialog& wait = WaitDialog::_instance();
        QSignalSpy hidden(&wait, &WaitDialog::signalWaitDialogHidden);
        const int shows = wait.showCount();
        const QUuid requester = QUuid::createUuid();

        wait.showWaitDialog("Hanle alarm...", requester, 60000);
        // Returned at once, and the notice is up and modal.
        QVERIFY(wait.isShown());
        QCOMPARE(wait.currentText(), QString("Hanle alarm..."));
        QCOMPARE(wait.currentRequester(), requester);
        QCOMPARE(wait.showCount(), shows + 1);
        QVERIFY(QApplication::activeModalWidget());
        wait.hideWaitDialog();
        QVERIFY(!wait.isShown());
        QCOMPARE(wait.currentText(), QString());
        QCOMPARE(hidden.count(), 1);
        QCOMPARE(hidden.at(0).at(0).toBool(), false);
        QVERIFY(!QApplication::activeModalWidget());

        wait.setDisplayEnabled(false);
        wait.showWaitDialog("Getting the count of records.", QUuid(), 30);
        QVERIFY(wait.isShown());
        QVERIFY(!QApplication::activeModalWidget());
        QTRY_VERIFY(!wait.isShown());
        QCOMPARE(hidden.count(), 2);
        QCOMPARE(hidden.at(1).at(0).toBool(), true);
        wait.setDisplayEnabled(true);
    }
};

QTEST_MAIN(TstHostDialogs)
#include "tst_host_dialogs.moc"
