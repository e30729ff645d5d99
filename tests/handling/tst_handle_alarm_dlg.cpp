#include "handling/HandleAlarmDlg.h"

#include "BusinessConfig.h"
#include "MessageBoxW.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

#include <functional>

using namespace VIG_ALARM_MOUDLE;
using VIG_BASE_MODULE::MessageBoxW;

namespace {

// Runs the step on the dialog once its exec() has made it the active modal widget.
void onModalDialog(std::function<void(HandleAlarmDlg*)> step)
{
    QTimer::singleShot(0, [step] {
        auto* dialog = qobject_cast<HandleAlarmDlg*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        step(dialog);
    });
}

template <typename T> T* child(QWidget* dialog, const char* name)
{
    T* widget = dialog->findChild<T*>(QString::fromLatin1(name));
    [&] {
        QVERIFY2(widget, name);
    }();
    return widget;
}

} // namespace

class TstHandleAlarmDlg : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        MessageBoxW::clearCalls();
        MessageBoxW::clearQueuedAnswers();
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().setStoreWord(QStringLiteral("Shop"));
    }

    void blankNoteIsRefusedAndTheDialogStays()
    {
        HandleAlarmDlg dialog(nullptr);
        MessageBoxW::queueAnswer(1);
        bool checked = false;
        onModalDialog([&](HandleAlarmDlg* shown) {
            QCOMPARE(shown, &dialog);
            auto* note = child<QTextEdit>(shown, "textEdit");
            note->setPlainText(" \n\t \n");
            child<QPushButton>(shown, "HandleBt")->click();
            QVERIFY(shown->isVisible());
            QCOMPARE(note->toPlainText(), QString(" \n\t \n"));
            QCOMPARE(MessageBoxW::calls().size(), 1);
            QCOMPARE(MessageBoxW::calls().at(0).text, QString("The handle note can not be null."));
            checked = true;
            // The close button ends it without an answer.
            shown->closeButton()->click();
        });
        QCOMPARE(dialog.exec(), 0);
        QVERIFY(checked);
    }

    void sentNoteGivesTheThreeAnswers()
    {
        HandleAlarmDlg dialog(nullptr);
        QCOMPARE(child<QLabel>(&dialog, "informKeeperLabel")->text(), QString("InformShop_Keeper"));
        onModalDialog([](HandleAlarmDlg* shown) {
            QTest::keyClicks(child<QTextEdit>(shown, "textEdit"), "  guard sent");
            child<QPushButton>(shown, "HandleBt")->click();
        });
        QCOMPARE(dialog.exec(), 1);
        QCOMPARE(QVariantList(
                     {dialog.getHandleNote(), dialog.isCloseAlarmChecked(), dialog.isInformKeeperChecked()}),
                 QVariantList({"  guard sent", true, false}));
        QVERIFY(MessageBoxW::calls().isEmpty());

        HandleAlarmDlg toggled(nullptr);
        onModalDialog([](HandleAlarmDlg* shown) {
            child<QTextEdit>(shown, "textEdit")->setPlainText("keeper called");
            child<QPushButton>(shown, "closeAlarmBt")->click();
            child<QPushButton>(shown, "informKeeperBt")->click();
            child<QPushButton>(shown, "HandleBt")->click();
        });
        QCOMPARE(toggled.exec(), 1);
        QCOMPARE(QList<bool>({toggled.isCloseAlarmChecked(), toggled.isInformKeeperChecked()}),
                 QList<bool>({false, true}));
    }
};

QTEST_MAIN(TstHandleAlarmDlg)
#include "tst_handle_alarm_dlg.moc"
