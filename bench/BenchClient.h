#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QUrl>

class QWebSocket;

// A protocol client that only counts: the new-alarm pushes it received, the number of the last, whether
// its catch-up is over, and the longest wait between two pushes since startWatch. It reads the server's
// compact messages by their first bytes, so that many fit in one bench process.
class BenchClient : public QObject
{
    Q_OBJECT

public:
    // since: the number of the last push seen, -1 for a new client.
    BenchClient(const QUrl& url, const QByteArray& token, qint64 since = -1, QObject* parent = nullptr);
    ~BenchClient() override;

    bool welcomed() const { return isWelcomed; }
    bool caughtUp() const { return isCaughtUp; }
    bool closed() const { return isClosed; }
    qint64 alarms() const { return alarmCount; }
    qint64 lastSeq() const { return seq; }
    // Answers to requests received.
    qint64 answers() const { return answerCount; }
    void send(const QByteArray& frame);
    void startWatch();
    double longestWaitMs() const { return longestWait / 1e6; }

private:
    void received(const QByteArray& frame);

    QWebSocket* socket = nullptr;
    bool isWelcomed = false;
    bool isCaughtUp = false;
    bool isClosed = false;
    qint64 alarmCount = 0;
    qint64 answerCount = 0;
    qint64 seq = -1;
    QElapsedTimer watch;
    qint64 lastPush = 0;
    qint64 longestWait = 0;
};
