#include "MessageBoxW.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMutex>
#include <QMutexLocker>
#include <QPushButton>
#include <QQueue>
#include <QVBoxLayout>

namespace VIG_BASE_MODULE {

namespace {

struct Seam
{
    QMutex mutex;
    QQueue<int> answers;
    QVector<MessageBoxW::Call> calls;
};

Seam& seam()
{
    static Seam instance;
    return instance;
}

} // namespace

MessageBoxW::MessageBoxW(QWidget* parent, const QString& title, const QString& text,
                         const QStringList& buttonTexts)
    : MoveableDialog(parent, true)
{
    setObjectName(QStringLiteral("VIG_BASE_MODULE__MessageBoxW"));
    setModal(true);
    setWindowTitle(title);
    setMinimumWidth(360);

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(20, 16, 20, 16);
    box->setSpacing(14);
    if (!title.isEmpty()) {
        auto* titleLabel = new QLabel(title, this);
        titleLabel->setTextFormat(Qt::PlainText);
        QFont bold = titleLabel->font();
        bold.setBold(true);
        titleLabel->setFont(bold);
        box->addWidget(titleLabel);
    }
    auto* textLabel = new QLabel(text, this);
    textLabel->setTextFormat(Qt::PlainText);
    textLabel->setWordWrap(true);
    textLabel->setMinimumHeight(40);
    box->addWidget(textLabel, 1);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    for (int i = 0; i < buttonTexts.size(); ++i) {
        auto* button = new QPushButton(buttonTexts.at(i), this);
        button->setMinimumWidth(80);
        button->setAutoDefault(i == 0);
        connect(button, &QPushButton::clicked, this, [this, i] {
            chosen = i;
            accept();
        });
        buttonRow->addWidget(button);
    }
    box->addLayout(buttonRow);
}

MessageBoxW::~MessageBoxW() = default;

int MessageBoxW::ask(QWidget* parent, const Call& call)
{
    {
        QMutexLocker lock(&seam().mutex);
        seam().calls.append(call);
        if (!seam().answers.isEmpty())
            return seam().answers.dequeue();
    }
    MessageBoxW box(parent, call.title, call.text, call.buttonTexts);
    box.exec();
    if (call.buttons == 0)
        return box.chosen;
    return box.chosen == 0 ? 1 : 0;
}

int MessageBoxW::information(QWidget* parent, const QString& title, const QString& text, short buttons)
{
    Call call;
    call.title = title;
    call.text = text;
    call.buttons = buttons;
    call.buttonTexts << tr("OK");
    // Any value asking for more than the one confirming button (2 or 3) adds the cancelling one.
    if (buttons & 2)
        call.buttonTexts << tr("Cancel");
    return ask(parent, call);
}

int MessageBoxW::informationEx(QWidget* parent, const QString& title, const QString& text,
                               const QStringList& buttonTexts)
{
    Call call;
    call.title = title;
    call.text = text;
    call.buttonTexts = buttonTexts.isEmpty() ? QStringList(tr("OK")) : buttonTexts;
    return ask(parent, call);
}

void MessageBoxW::queueAnswer(int answer)
{
    QMutexLocker lock(&seam().mutex);
    seam().answers.enqueue(answer);
}

int MessageBoxW::queuedAnswerCount()
{
    QMutexLocker lock(&seam().mutex);
    return seam().answers.size();
}

void MessageBoxW::clearQueuedAnswers()
{
    QMutexLocker lock(&seam().mutex);
    seam().answers.clear();
}

QVector<MessageBoxW::Call> MessageBoxW::calls()
{
    QMutexLocker lock(&seam().mutex);
    return seam().calls;
}

void MessageBoxW::clearCalls()
{
    QMutexLocker lock(&seam().mutex);
    seam().calls.clear();
}

} // namespace VIG_BASE_MODULE
