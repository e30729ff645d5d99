#include "DialogWithCloseBt.h"
#include "MessageBoxW.h"
#include "PageTurningWidget.h"
#include "SaveAsRecording.h"
#include "WaitDialog.h"
#include "WordwrapLabel.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace VIG_BASE_MODULE;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
}

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

    void messageBoxAnswersFromTheQueueAndRecordsCalls()
    {
        MessageBoxW::queueAnswer(1);
        MessageBoxW::queueAnswer(0);
        MessageBoxW::queueAnswer(2);
        QCOMPARE(MessageBoxW::information(nullptr, "", "Are you sure?", 3), 1);
        QCOMPARE(MessageBoxW::information(nullptr, "T", "Plain", 1), 0);
        QCOMPARE(MessageBoxW::informationEx(nullptr, "", "Pick", {"False", "False And Alarm Off", "Cancel"}),
                 2);
        QCOMPARE(MessageBoxW::queuedAnswerCount(), 0);

        const QVector<MessageBoxW::Call> calls = MessageBoxW::calls();
        QCOMPARE(calls.size(), 3);
        QCOMPARE(calls.at(0).text, QString("Are you sure?"));
        QCOMPARE(calls.at(0).buttons, 3);
        QCOMPARE(calls.at(0).buttonTexts.size(), 2);
        QCOMPARE(calls.at(1).title, QString("T"));
        QCOMPARE(calls.at(1).buttonTexts.size(), 1);
        QCOMPARE(calls.at(2).buttons, 0);
        QCOMPARE(calls.at(2).buttonTexts, QStringList({"False", "False And Alarm Off", "Cancel"}));
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

    void pageTurnerSignals()
    {
        PageTurningWidget pages;
        QSignalSpy turned(&pages, &PageTurningWidget::signalPageChanged);
        QSignalSpy perPage(&pages, &PageTurningWidget::signalSetNumPerPage);
        pages.setPriviousButtomEnabled(true);
        pages.setNextButtomEnabled(true);
        for (QPushButton* button :
             {pages.firstButton(), pages.previousButton(), pages.nextButton(), pages.lastButton()})
            button->click();
        QCOMPARE(turned.count(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(turned.at(i).at(0).value<PAGETURNFLAG>(), PAGETURNFLAG(i));

        pages.setPriviousButtomEnabled(false);
        QVERIFY(!pages.firstButton()->isEnabled() && !pages.previousButton()->isEnabled());
        QVERIFY(pages.nextButton()->isEnabled());

        QCOMPARE(pages.numPerPage(), 20);
        pages.numPerPageBox()->setCurrentIndex(2);
        pages.numPerPageBox()->setCurrentIndex(1);
        pages.numPerPageBox()->setCurrentIndex(-1);
        QCOMPARE(perPage.count(), 2);
        QCOMPARE(perPage.at(0).at(0).toInt(), 100);
        QCOMPARE(perPage.at(1).at(0).toInt(), 50);

        pages.setRecordsCount(45);
        QCOMPARE(pages.recordsCount(), 45);
    }

    void closeButtonRejectsAndBodyDrags()
    {
        DialogWithCloseBt dialog(nullptr, true);
        dialog.resize(300, 200);
        dialog.move(100, 100);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        const QPoint start = dialog.pos();
        dialog.mousePress(dialog.mapToGlobal(QPoint(50, 50)));
        dialog.mouseMove(dialog.mapToGlobal(QPoint(50, 50)) + QPoint(30, -20));
        dialog.mouseRelease();
        QCOMPARE(dialog.pos(), start + QPoint(30, -20));
        dialog.mouseMove(QPoint(0, 0));
        QCOMPARE(dialog.pos(), start + QPoint(30, -20));

        QSignalSpy rejected(&dialog, &QDialog::rejected);
        dialog.closeButton()->click();
        QCOMPARE(rejected.count(), 1);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void wordwrapLabelGrowsWithItsText()
    {
        QWidget host;
        auto* label = new ZCOMMON::WordwrapLabel(&host);
        label->setFixedWidth(120);
        host.show();
        label->setText("short");
        const int oneLine = label->height();
        label->setText(QString("<b>not bold</b> ") + QString(60, QChar(0x5e97)) + QString(80, 'x'));
        QVERIFY(label->height() > 3 * oneLine);
        QCOMPARE(label->text(), QString("<b>not bold</b> ") + QString(60, QChar(0x5e97)) + QString(80, 'x'));
        QVERIFY(label->toPlainText().startsWith("<b>"));
        QVERIFY(label->isReadOnly());
        label->setText("short");
        QCOMPARE(label->height(), oneLine);
    }

    void saveAsCopiesAndNeverLosesTheTarget()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString source = dir.filePath("rec-1-101010-1.vrec");
        const QString target = dir.filePath("out/saved.vrec");
        writeFile(source, "recording");
        SaveAsRecording saver;

        QVERIFY(saver.saveAsLocalVideoRecording(source, target));
        QCOMPARE(readAll(target), QByteArray("recording"));

        writeFile(source, "newer");
        QVERIFY(saver.saveAsLocalVideoRecording(source, target));
        QCOMPARE(readAll(target), QByteArray("newer"));

        // Refused: the source itself, by any spelling; a missing source. The files stay as they were.
        QVERIFY(!saver.saveAsLocalVideoRecording(source, source));
        QVERIFY(!saver.saveAsLocalVideoRecording(source, dir.filePath("out/../rec-1-101010-1.vrec")));
        QCOMPARE(readAll(source), QByteArray("newer"));
        QVERIFY(!saver.saveAsLocalVideoRecording(dir.filePath("missing"), target));
        QCOMPARE(readAll(target), QByteArray("newer"));

        QVERIFY(saver.saveAsIcloudAlarmVideoRecording("/rec/2026/a \"b\".mp4", dir.filePath("cloud.vrec"),
                                                      "2026-01-05 10:00:00"));
        QVERIFY(readAll(dir.filePath("cloud.vrec")).contains("a \"b\".mp4"));
        QVERIFY(!saver.saveAsIcloudAlarmVideoRecording("", dir.filePath("none.vrec"), ""));
        QVERIFY(!QFile::exists(dir.filePath("none.vrec")));
    }
};

QTEST_MAIN(TstHostDialogs)
#include "tst_host_dialogs.moc"
