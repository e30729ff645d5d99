#include "handling/HandleAlarmDlg.h"

#include "ui_HandleAlarmDlg.h"

#include "frame/VIG_AlarmInfo.h"

#include "BusinessConfig.h"
#include "MessageBoxW.h"

#include <QLabel>

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

const int BaseWidth = 550;
const int BaseHeight = 320;

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

    summaryLabel = new QLabel(this);
    summaryLabel->setObjectName(QStringLiteral("summaryLabel"));
    summaryLabel->setProperty("VIG_HandleAlarm_label", true);
    summaryLabel->setWordWrap(true);
    summaryLabel->hide();
    ui->mainLayout->insertWidget(0, summaryLabel);

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

void HandleAlarmDlg::setAlarmCount(int count)
{
    alarmCount = count;
    showSummary();
}

void HandleAlarmDlg::setFailedHandling(const HandlingAnswers& answers, const QString& reason)
{
    ui->textEdit->setPlainText(answers.note);
    ui->closeAlarmBt->setChecked(answers.mode == AlarmFinished);
    ui->informKeeperBt->setChecked(answers.informKeeper);
    failure = reason;
    showSummary();
}

bool HandleAlarmDlg::ask(int alarmCount, HandlingAnswers* answers, const QString& failure, QWidget* parent,
                         const std::function<void(HandleAlarmDlg*)>& opened)
{
    HandleAlarmDlg dialog(parent);
    dialog.setAlarmCount(alarmCount);
    if (!failure.isEmpty())
        dialog.setFailedHandling(*answers, failure);
    if (opened)
        opened(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    answers->note = dialog.getHandleNote();
    answers->mode = dialog.isCloseAlarmChecked() ? AlarmFinished : AlarmDealt;
    answers->informKeeper = dialog.isInformKeeperChecked();
    return true;
}

void HandleAlarmDlg::showSummary()
{
    QStringList lines;
    if (alarmCount > 0)
        lines.append(QObject::tr("Alarms in this handling: %1").arg(alarmCount));
    if (!failure.isEmpty())
        lines.append(QStringLiteral("<span style=\"color:#ff6e89;\">%1</span>")
                         .arg(QObject::tr("Not handled yet: %1").arg(failure).toHtmlEscaped()));
    summaryLabel->setText(lines.join(QStringLiteral("<br>")));
    if (lines.isEmpty() == summaryLabel->isHidden())
        return;
    // The dialog has a fixed size: it grows by the summary's lines.
    summaryLabel->setVisible(!lines.isEmpty());
    const int extra = lines.isEmpty() ? 0 : 44;
    setFixedSize(BaseWidth, BaseHeight + extra);
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
