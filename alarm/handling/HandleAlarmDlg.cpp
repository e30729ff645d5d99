#include "handling/HandleAlarmDlg.h"

#include "ui_HandleAlarmDlg.h"

#include "BusinessConfig.h"
#include "MessageBoxW.h"

namespace VIG_ALARM_MOUDLE {

namespace {

// Scoped to this dialog so that the application's own scroll bars keep their look.
const char* const NoteScrollBarStyle =
    "QWidget#VIG_ALARM_MOUDLE__HandleAlarmDlg QScrollBar:vertical {"
    " width: 6px; margin: 0px; border: none; border-radius: 3px; background: #1e2128; }"
    "QWidget#VIG_ALARM_MOUDLE__HandleAlarmDlg QScrollBar::handle:vertical {"
    " min-height: 20px; border-radius: 3px; background: #555c73; }"
    "QWidget#VIG_ALARM_MOUDLE__HandleAlarmDlg QScrollBar::handle:vertical:hover { background: #666e89; }"
    "QWidget#VIG_ALARM_MOUDLE__HandleAlarmDlg QScrollBar::handle:vertical:pressed { background: #5d6573; }"
    "QWidget#VIG_ALARM_MOUDLE__HandleAlarmDlg QScrollBar::add-line:vertical,"
    " QWidget#VIG_ALARM_MOUDLE__HandleAlarmDlg QScrollBar::sub-line:vertical {"
    " height: 0px; border: none; background: none; }"
    "QWidget#VIG_ALARM_MOUDLE__HandleAlarmDlg QScrollBar::add-page:vertical,"
    " QWidget#VIG_ALARM_MOUDLE__HandleAlarmDlg QScrollBar::sub-page:vertical {"
    " border-radius: 3px; background: #1e2128; }";

} // namespace

HandleAlarmDlg::HandleAlarmDlg(QWidget* parent)
    : VIG_BASE_MODULE::DialogWithCloseBt(parent), ui(new Ui::HandleAlarmDlg)
{
    ui->setupUi(this);

    ui->handleNoteLabel->setProperty("VIG_HandleAlarm_label", true);
    ui->closAlarmLabel->setProperty("VIG_HandleAlarm_label", true);
    ui->informKeeperLabel->setProperty("VIG_HandleAlarm_label", true);
    ui->textEdit->setProperty("VIG_HandleAlarm_Content", true);
    ui->closeAlarmBt->setProperty("VIG_HandleAlarm_close", true);
    ui->informKeeperBt->setProperty("VIG_HandleAlarm_close", true);
    ui->HandleBt->setProperty("VIG_HandleAlarm_send", true);
    ui->textEdit->setStyleSheet(QString::fromLatin1(NoteScrollBarStyle));

    const QString storeWord =
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().getSystemCustomizeInfoFromCache().storeWord;
    ui->informKeeperLabel->setText(QObject::tr("Inform") + storeWord + QObject::tr("_Keeper"));
    ui->informKeeperBt->setChecked(false);

    connect(ui->HandleBt, &QPushButton::clicked, this, &HandleAlarmDlg::slotHandleBtClicked);
}

HandleAlarmDlg::~HandleAlarmDlg()
{
    delete ui;
}

QString HandleAlarmDlg::getHandleNote()
{
    return ui->textEdit->toPlainText();
}

bool HandleAlarmDlg::isCloseAlarmChecked()
{
    return ui->closeAlarmBt->isChecked();
}

bool HandleAlarmDlg::isInformKeeperChecked()
{
    return ui->informKeeperBt->isChecked();
}

void HandleAlarmDlg::slotHandleBtClicked()
{
    if (ui->textEdit->toPlainText().trimmed().isEmpty()) {
        VIG_BASE_MODULE::MessageBoxW::information(this, QString(),
                                                  QObject::tr("The handle note can not be null."),
                                                  VIG_BASE_MODULE::MessageBoxW::OkButton);
        return;
    }
    accept();
}

} // namespace VIG_ALARM_MOUDLE
