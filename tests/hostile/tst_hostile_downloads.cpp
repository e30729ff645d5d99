// Live images from a server that never answers or answers with garbage: the detail view waits without
// blocking, the rest of it keeps working, nothing half-fetched is taken for an image, and a view closed
// while a download hangs goes quietly.

#include "ModuleTestSupport.h"

#include "detail/AlarmDetailCheckWt.h"
#include "detail/AlarmRelationsListWt.h"
#include "frame/AlarmSignals.h"

#include "BasicData.h"
#include "ImageViewer.h"
#include "VideoPlaybackPanel.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <memory>

using namespace VIG_ALARM_MOUDLE;
using namespace moduletest;

namespace {

// Answers "/garbage.png" with bytes that are no image, and never answers anything else.
class StallingServer : public QObject
{
public:
    StallingServer()
    {
        server.listen(QHostAddress::LocalHost);
        connect(&server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server.nextPendingConnection()) {
                sockets.append(socket);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
            }
        });
    }

    QString url(const QString& name) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(server.serverPort()).arg(name);
    }
    QStringList requested() const { return paths; }
    void hangUp()
    {
        for (QTcpSocket* socket : qAsConst(sockets))
            socket->abort();
    }

private:
    void answer(QTcpSocket* socket)
    {
        const QByteArray request = socket->readAll();
        const QByteArray path = request.split(' ').value(1);
        paths.append(QString::fromLatin1(path));
        if (path != "/garbage.png")
            return;
        const QByteArray body(4096, '\x9c');
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nConnection: close\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer server;
    QList<QTcpSocket*> sockets;
    QStringList paths;
};

VIG_AlarmInfo alarmOf(const QString& uid)
{
    const VIG_DATA_MODULE::VIG_ProbeInfo probe =
        VIG_DATA_MODULE::BasicData::_instance().getProbeInfo("P0101");
    VIG_AlarmInfo alarm;
    alarm.alarmUid = uid;
    alarm.storeUid = probe.storeUid;
    alarm.deviceId = probe.deviceId;
    alarm.probeId = "P0101";
    alarm.channelIndex = probe.channelIndex;
    alarm.alarmTime = "2026-11-25 21:39:00";
    alarm.state = AlarmNew;
    return alarm;
}

void answerNotes(const QString& uid, const QString& urls)
{
    VIG_AlarmProcess process;
    process.alarmUid = uid;
    process.handleTime = "2026-11-25 22:00:00";
    process.handleNote = "on site";
    process.liveImageUrls = urls;
    emit AlarmSignals::_instance().signalGetAlarmHandleNotes({process}, 0, QString());
}

struct View
{
    AlarmDetailCheckWt widget;

    View()
    {
        widget.resize(1200, 700);
        widget.show();
    }
    AlarmRelationsListWt* list() const
    {
        return widget.findChild<AlarmRelationsListWt*>(QStringLiteral("alarminfoList"));
    }
    VIG_BASE_MODULE::ImageViewer* viewer() const
    {
        return widget.findChild<VIG_BASE_MODULE::ImageViewer*>(QStringLiteral("imageViewer"));
    }
    VIG_BASE_MODULE::VideoPlaybackPanel* playback() const
    {
        return widget.findChild<VIG_BASE_MODULE::VideoPlaybackPanel*>(QStringLiteral("playbackPanel"));
    }
    int rowOf(const QString& text) const
    {
        const QList<QListWidgetItem*> found = list()->findItems(text, Qt::MatchExactly);
        return found.isEmpty() ? -1 : list()->row(found.first());
    }
    void open(int row) const { emit list()->itemDoubleClicked(list()->item(row)); }
};

} // namespace

class TestHostileDownloads : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QDir(QStringLiteral("LiveImageTemp")).removeRecursively();
        installFakeService();
        QVERIFY(VIG_DATA_MODULE::BasicData::_instance().loadScenario(
            QStringLiteral(VIG_SOURCE_DIR "/scenarios/demo.json")));
    }

    void hangingAndGarbageDownloads()
    {
        StallingServer server;
        auto view = std::make_unique<View>();
        view->widget.setAlarm(alarmOf("HANG-1"), LiveVideoRelation);
        QTRY_VERIFY(view->list()->count() >= 1);
        answerNotes("HANG-1", server.url("hang.png") + ',' + server.url("garbage.png"));
        const int hang = view->rowOf("Livehang");
        const int garbage = view->rowOf("Livegarbage");
        QVERIFY(hang >= 0 && garbage >= 0);

        // Never answered: the viewer waits, the UI goes on.
        view->open(hang);
        QTRY_VERIFY(server.requested().contains("/hang.png"));
        QVERIFY(view->viewer()->isVisible());
        QVERIFY(view->viewer()->isWaitingVisible());
        QVERIFY(!view->viewer()->hasImage());

        // The other entries still open meanwhile.
        view->open(view->rowOf("LiveVideo"));
        QVERIFY(view->playback()->isVisible());
        QVERIFY(!view->viewer()->isVisible());

        // Garbage arrives complete, but it is no image: the wait ends without one.
        view->open(garbage);
        QTRY_VERIFY(server.requested().contains("/garbage.png"));
        QTRY_VERIFY(!view->viewer()->isWaitingVisible());
        QVERIFY(!view->viewer()->hasImage());

        // The hanging one fails at last: nothing is left under its name, nothing is shown for it.
        server.hangUp();
        QTRY_VERIFY(!view->viewer()->isWaitingVisible());
        QVERIFY(!QFile::exists("LiveImageTemp/HANG-1/hang.png"));
        QVERIFY(!view->viewer()->hasImage());

        // Another hang, then the page is left and the view closed while it still hangs.
        answerNotes("HANG-1", server.url("hang2.png"));
        view->open(view->rowOf("Livehang2"));
        QTRY_VERIFY(server.requested().contains("/hang2.png"));
        view->widget.findChild<QPushButton*>(QStringLiteral("backBt"))->click();
        view.reset();
        server.hangUp();
        QTest::qWait(50);
        QVERIFY(!QFile::exists("LiveImageTemp/HANG-1/hang2.png"));
    }
};

QTEST_MAIN(TestHostileDownloads)
#include "tst_hostile_downloads.moc"
