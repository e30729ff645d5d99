// Live images from a server that never answers or answers with garbage: the detail view waits without
// blocking, the rest of it keeps working, nothing half-fetched is taken for an image, and a view closed
// while a download hangs goes quietly.

#include "ModuleTestSupport.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

using namespace VIG_ALARM_MOUDLE;

namespace {

// Answers "/garbage.png" with bytes that are no image, and never answers anything else.
class StallingServer : public QTcpServer
{
public:
    StallingServer()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                sockets.append(socket);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                    // A request may come in pieces on a busy machine: it counts once its head is whole.
                    QByteArray& head = heads[socket];
                    head += socket->readAll();
                    const int end = head.indexOf("\r\n\r\n");
                    if (end < 0)
                        return;
                    const QByteArray path = head.left(end).split(' ').value(1);
                    head.remove(0, end + 4);
                    requested.append(QString::fromLatin1(path));
                    if (path == "/garbage.png") {
                        socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nConnection: close\r\n"
                                      "Content-Length: 4096\r\n\r\n" +
                                      QByteArray(4096, '\x9c'));
                        socket->disconnectFromHost();
                    }
                });
            }
        });
    }

    QString url(const QString& name) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(serverPort()).arg(name);
    }
    void hangUp()
    {
        for (QTcpSocket* socket : qAsConst(sockets))
            socket->abort();
    }

    QStringList requested;

private:
    QList<QTcpSocket*> sockets;
    QHash<QTcpSocket*, QByteArray> heads;
};

void answerNotes(const QString& urls)
{
    VIG_AlarmProcess process;
    process.alarmUid = "HANG-1";
    process.handleTime = "2026-11-25 22:00:00";
    process.handleNote = "on site";
    process.liveImageUrls = urls;
    emit AlarmSignals::_instance().signalGetAlarmHandleNotes({process}, 0, QString());
}

} // namespace

class TestHostileDownloads : public QObject
{
    Q_OBJECT

private slots:
    void hangingAndGarbageDownloads()
    {
        QDir(QStringLiteral("LiveImageTemp")).removeRecursively();
        moduletest::installFakeService();
        QVERIFY(VIG_DATA_MODULE::BasicData::_instance().loadScenario(VIG_SOURCE_DIR "/scenarios/demo.json"));
        VIG_AlarmInfo alarm;
        alarm.alarmUid = "HANG-1";
        alarm.probeId = "P0101";
        alarm.state = AlarmNew;

        StallingServer server;
        auto view = std::make_unique<AlarmDetailCheckWt>();
        view->resize(1200, 700);
        view->show();
        auto* list = view->findChild<AlarmRelationsListWt*>(QStringLiteral("alarminfoList"));
        auto* viewer = view->findChild<VIG_BASE_MODULE::ImageViewer*>(QStringLiteral("imageViewer"));
        auto* playback =
            view->findChild<VIG_BASE_MODULE::VideoPlaybackPanel*>(QStringLiteral("playbackPanel"));
        QVERIFY(list && viewer && playback);
        const auto open = [list](const QString& text) {
            QTRY_VERIFY2(!list->findItems(text, Qt::MatchExactly).isEmpty(), qPrintable(text));
            const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
            emit list->itemDoubleClicked(found.first());
        };
        const auto image = [&alarm](int number) {
            return QStringLiteral("Live image %1, channel %2, 2026-11-25 22:00:00")
                .arg(number)
                .arg(alarm.channelIndex);
        };
        view->setAlarm(alarm, LiveVideoRelation);
        QTRY_VERIFY(list->count() >= 1);
        answerNotes(server.url("hang.png") + ',' + server.url("garbage.png"));

        // Never answered: the viewer waits, the UI goes on.
        open(image(1));
        QTRY_VERIFY(server.requested.contains("/hang.png"));
        QVERIFY(viewer->isVisible() && viewer->isWaitingVisible() && !viewer->hasImage());
        // The other entries still open meanwhile.
        open("LiveVideo");
        QVERIFY(playback->isVisible() && !viewer->isVisible());

        // Garbage arrives complete, but it is no image: the wait ends without one.
        open(image(2));
        QTRY_VERIFY(server.requested.contains("/garbage.png"));
        QTRY_VERIFY(!viewer->isWaitingVisible());
        QVERIFY(!viewer->hasImage());

        // The hanging one fails at last: nothing is left under its name, nothing is shown for it.
        server.hangUp();
        QTRY_VERIFY(!viewer->isWaitingVisible());
        QVERIFY(!QFile::exists("LiveImageTemp/HANG-1/hang.png"));
        QVERIFY(!viewer->hasImage());

        // Another hang, then the page is left and the view closed while it still hangs.
        answerNotes(server.url("hang2.png"));
        open(image(1));
        QTRY_VERIFY(server.requested.contains("/hang2.png"));
        view->findChild<QPushButton*>(QStringLiteral("backBt"))->click();
        view.reset();
        server.hangUp();
        QTest::qWait(50);
        QVERIFY(!QFile::exists("LiveImageTemp/HANG-1/hang2.png"));
    }
};

QTEST_MAIN(TestHostileDownloads)
#include "tst_hostile_downloads.moc"
