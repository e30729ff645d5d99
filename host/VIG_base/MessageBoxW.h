#pragma once

#include "MoveableDialog.h"

#include <QStringList>
#include <QVector>

class QLabel;

namespace VIG_BASE_MODULE {

// The host's modal message box. Every call is recorded, and answers queued with queueAnswer are returned
// in order without showing anything (for tests); with no answer queued the box is shown and waits.
class MessageBoxW : public MoveableDialog
{
    Q_OBJECT

public:
    enum Buttons { OkButton = 1, OkCancelButtons = 3 };
    enum Answer { NotConfirmed = 0, Confirmed = 1 };

    struct Call
    {
        QString title;
        QString text;
        int buttons = 0;         // 0 for informationEx
        QStringList buttonTexts; // the texts shown, in order
    };

    // OkButton: one confirming button; OkCancelButtons: confirming and cancelling. Returns an Answer.
    static int information(QWidget* parent, const QString& title, const QString& text, short buttons);
    // One button per text, left to right. Returns the index of the chosen button, -1 when closed.
    static int informationEx(QWidget* parent, const QString& title, const QString& text,
                             const QStringList& buttonTexts);

    static void queueAnswer(int answer);
    static int queuedAnswerCount();
    static void clearQueuedAnswers();
    static QVector<Call> calls();
    static void clearCalls();

    ~MessageBoxW() override;

private:
    MessageBoxW(QWidget* parent, const QString& title, const QString& text, const QStringList& buttonTexts);

    static int ask(QWidget* parent, const Call& call);

    int chosen = -1;
};

} // namespace VIG_BASE_MODULE
