#include "WaitDialog.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

template class ZCOMMON::ZSingleton<VIG_BASE_MODULE::WaitDialog>;

namespace VIG_BASE_MODULE {

WaitDialog::WaitDialog(QObject* parent) : QObject(parent), timeoutTimer(new QTimer(this))
{
    timeoutTimer->setSingleShot(true);
    connect(timeoutTimer, &QTimer::timeout, this, [this] { hide(true); });
}

WaitDialog::~WaitDialog()
{
    // The singleton may outlive the application object; a window is only deleted while one exists.
    if (dialog && QCoreApplication::instance())
        delete dialog.data();
}

void WaitDialog::ensureDialog()
{
    if (dialog)
        return;
    dialog = new QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint);
    dialog->setObjectName(QStringLiteral("VIG_BASE_MODULE__WaitDialog"));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setMinimumWidth(300);
    QPalette colours = dialog->palette();
    colours.setColor(QPalette::Window, QColor(0x2b, 0x2f, 0x3a));
    colours.setColor(QPalette::WindowText, QColor(0xdf, 0xe1, 0xe8));
    dialog->setPalette(colours);
    dialog->setAutoFillBackground(true);

    auto* box = new QVBoxLayout(dialog);
    box->setContentsMargins(24, 18, 24, 18);
    textLabel = new QLabel(dialog);
    textLabel->setTextFormat(Qt::PlainText);
    textLabel->setWordWrap(true);
    textLabel->setAlignment(Qt::AlignCenter);
    auto* busy = new QProgressBar(dialog);
    busy->setRange(0, 0);
    busy->setTextVisible(false);
    busy->setFixedHeight(6);
    box->addWidget(textLabel);
    box->addWidget(busy);
}

void WaitDialog::showWaitDialog(const QString& waitText, const QUuid& requesterUuid, int timeoutMs)
{
    text = waitText;
    requester = requesterUuid;
    shown = true;
    ++shows;
    if (timeoutMs > 0)
        timeoutTimer->start(timeoutMs);
    else
        timeoutTimer->stop();

    if (!displayEnabled || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    ensureDialog();
    textLabel->setText(waitText);
    dialog->adjustSize();
    // show(), not exec(): the caller goes on, and the modality keeps the operator's hands off meanwhile.
    dialog->show();
    dialog->raise();
}

void WaitDialog::hideWaitDialog()
{
    hide(false);
}

void WaitDialog::hide(bool timedOut)
{
    timeoutTimer->stop();
    const bool wasShown = shown;
    shown = false;
    if (dialog)
        dialog->hide();
    if (wasShown)
        emit signalWaitDialogHidden(timedOut);
}

bool WaitDialog::isShown() const
{
    return shown;
}

QString WaitDialog::currentText() const
{
    return shown ? text : QString();
}

QUuid WaitDialog::currentRequester() const
{
    return shown ? requester : QUuid();
}

int WaitDialog::showCount() const
{
    return shows;
}

void WaitDialog::setDisplayEnabled(bool enabled)
{
    displayEnabled = enabled;
    if (!enabled && dialog)
        dialog->hide();
}

bool WaitDialog::isDisplayEnabled() const
{
    return displayEnabled;
}

} // namespace VIG_BASE_MODULE
