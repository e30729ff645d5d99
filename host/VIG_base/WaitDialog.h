#pragma once

#include "ZSingleton.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUuid>

class QDialog;
class QLabel;
class QTimer;

namespace VIG_BASE_MODULE {

// The application-modal "please wait" notice. showWaitDialog returns at once; the notice hides itself after
// the time-out unless hideWaitDialog comes first. A new show replaces the text and restarts the time-out.
class WaitDialog : public QObject, public ZCOMMON::ZSingleton<WaitDialog>
{
    Q_OBJECT
    friend class ZCOMMON::ZSingleton<WaitDialog>;

public:
    ~WaitDialog() override;

    // timeoutMs <= 0: no time-out.
    void showWaitDialog(const QString& text, const QUuid& requester, int timeoutMs);
    void hideWaitDialog();

    bool isShown() const;
    QString currentText() const;
    QUuid currentRequester() const;
    int showCount() const;
    // Tests may turn the window off: the state above is kept, nothing is put on screen.
    void setDisplayEnabled(bool enabled);
    bool isDisplayEnabled() const;

signals:
    void signalWaitDialogHidden(bool timedOut);

private:
    explicit WaitDialog(QObject* parent);
    void ensureDialog();
    void hide(bool timedOut);

    QPointer<QDialog> dialog;
    QLabel* textLabel = nullptr;
    QTimer* timeoutTimer = nullptr;
    QString text;
    QUuid requester;
    bool shown = false;
    bool displayEnabled = true;
    int shows = 0;
};

} // namespace VIG_BASE_MODULE

extern template class ZCOMMON::ZSingleton<VIG_BASE_MODULE::WaitDialog>;
