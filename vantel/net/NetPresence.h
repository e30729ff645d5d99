#pragma once

#include "AlarmPresence.h"

#include <QByteArray>

#include <functional>

// The presence of a console of a remote server: its takes and releases go to the server as messages,
// which tells every console.
class NetPresence : public AlarmPresence
{
    Q_OBJECT

public:
    using Send = std::function<void(const QByteArray& frame)>;

    explicit NetPresence(Send send, QObject* parent = nullptr);

    void take(const QStringList& alarmUids) override;
    void release(const QStringList& alarmUids) override;

private:
    Send send;
};
