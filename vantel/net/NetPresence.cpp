#include "NetPresence.h"

#include "NetCodec.h"

#include <utility>

NetPresence::NetPresence(Send send, QObject* parent) : AlarmPresence(parent), send(std::move(send)) {}

void NetPresence::take(const QStringList& alarmUids)
{
    // The server would refuse it from an operator who may not handle.
    if (mayHandle() && !alarmUids.isEmpty())
        send(NetCodec::mark(true, alarmUids));
}

void NetPresence::release(const QStringList& alarmUids)
{
    if (mayHandle() && !alarmUids.isEmpty())
        send(NetCodec::mark(false, alarmUids));
}
