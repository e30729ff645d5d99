#include "VideoPanel.h"

#include "CPlavexPlayer.h"
#include "VideoLayer.h"
#include "VideoManager.h"
#include "VideoWindow.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMetaMethod>
#include <QTimer>
#include <QVBoxLayout>

namespace VIG_BASE_MODULE {

namespace {

const int FrameIntervalMs = 100;
const int RecordIntervalMs = 1000;

// A channel id as one piece of a file name: the name's pieces are separated by "-".
QString filePiece(const QString& text)
{
    QString piece;
    for (const QChar c : text)
        piece += c.isLetterOrNumber() || c == QLatin1Char('_') ? c : QLatin1Char('_');
    return piece.isEmpty() ? QStringLiteral("channel") : piece;
}

QString datedFolder(const QString& root)
{
    const QString path =
        QDir::current().absoluteFilePath(root + QLatin1Char('/') + QDate::currentDate().toString("yyyyMMdd"));
    return QDir().mkpath(path) ? path : QString();
}

int nextSerial()
{
    static int serial = 0;
    return ++serial;
}

} // namespace

VideoPanel::VideoPanel(QWidget* parent)
    : ColouredWidget(parent)
    , player(new CPlavexPlayer(this))
    , layer(new VideoLayer(this))
    , frameTimer(new QTimer(this))
    , recordTimer(new QTimer(this))
    , playbackTimer(new QTimer(this))
{
    qRegisterMetaType<StreamingMediaFlag>("StreamingMediaFlag");
    qRegisterMetaType<StreamingMediaFlag>("VIG_BASE_MODULE::StreamingMediaFlag");
    setColor("#1e2128");
    setFocusPolicy(Qt::ClickFocus);
    setMinimumSize(160, 90);

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(layer);

    frameTimer->setInterval(FrameIntervalMs);
    recordTimer->setInterval(RecordIntervalMs);
    playbackTimer->setSingleShot(true);
    connect(frameTimer, &QTimer::timeout, this, &VideoPanel::onFrameTick);
    connect(recordTimer, &QTimer::timeout, this, &VideoPanel::onRecordTick);
    connect(playbackTimer, &QTimer::timeout, this, &VideoPanel::onPlaybackFinished);

    contextMenu = new QMenu(this);
    contextMenu->setProperty("VIG_main_menu", true); // dark, as the modules' other menus
    captureAction = contextMenu->addAction(tr("Capture"));
    recordAction = contextMenu->addAction(tr("Start Recording"));
    closeVideoAction = contextMenu->addAction(tr("Close Video"));
    connect(captureAction, &QAction::triggered, this, &VideoPanel::onCaptureAction);
    connect(recordAction, &QAction::triggered, this, &VideoPanel::onRecordAction);
    connect(closeVideoAction, &QAction::triggered, this, [this] { closeWindow(selectedWindow()); });

    connect(player, &CPlavexPlayer::signalAlarmVideoModeChanged, this, [this] {
        for (VideoWindow* window : qAsConst(windows))
            window->setAlarmMode(player->IsAlarmVideoMode());
    });
    connect(&VideoManager::_instance(), &VideoManager::signalStopVideoRecording, this,
            &VideoPanel::onStopRequested);

    addWindow();
    updateLayout();
}

VideoPanel::~VideoPanel()
{
    disrecordAll();
}

VideoWindow* VideoPanel::addWindow()
{
    auto* window = new VideoWindow(windows.size(), layer);
    window->setAlarmMode(player->IsAlarmVideoMode());
    windows.append(window);
    updateStreamTexts();
    return window;
}

void VideoPanel::updateLayout()
{
    layer->setWindows(windows);
    player->SetWindowNum(windows.size());
}

void VideoPanel::updateStreamTexts()
{
    QString text;
    switch (streamFlag) {
    case MAIN_STREAM:
        text = tr("Main stream");
        break;
    case SUB_STREAM:
        text = tr("Sub stream");
        break;
    case THIRD_STREAM:
        text = tr("Third stream");
        break;
    }
    for (VideoWindow* window : qAsConst(windows))
        window->setStreamText(text);
}

void VideoPanel::connectChannels(const QVector<VIG_DATA_MODULE::VIG_ChannelInfo>& channels, bool closeOpened)
{
    if (closeOpened || isPlayingBack())
        disconnectAll();
    for (const VIG_DATA_MODULE::VIG_ChannelInfo& channel : channels) {
        VideoWindow* target = nullptr;
        for (VideoWindow* window : qAsConst(windows)) {
            if (window->state() == VideoWindow::Idle) {
                target = window;
                break;
            }
        }
        if (!target)
            target = addWindow();
        target->openChannel(channel);
    }
    updateLayout();
}

void VideoPanel::disconnectAll()
{
    disrecordAll();
    playbackTimer->stop();
    layer->setWindows({});
    layer->setSingleWindow(-1);
    qDeleteAll(windows);
    windows.clear();
    addWindow();
    updateLayout();
}

void VideoPanel::closeWindow(int window)
{
    if (window < 0 || window >= windows.size())
        return;
    stopRecording(window);
    if (window == 0)
        playbackTimer->stop();
    windows.at(window)->close();
}

void VideoPanel::disrecordAll()
{
    const QList<int> recorded = recordings.keys();
    for (int window : recorded)
        stopRecording(window);
}

void VideoPanel::reconnectFailingChannels()
{
    for (VideoWindow* window : qAsConst(windows)) {
        if (window->state() == VideoWindow::Failed)
            window->openChannel(window->channel());
    }
}

void VideoPanel::setAlarmRecordMode()
{
    alarmRecordMode = true;
}

bool VideoPanel::isAlarmRecordMode() const
{
    return alarmRecordMode;
}

void VideoPanel::setDefaultStreamingMediaFlag(StreamingMediaFlag flag)
{
    streamFlag = flag;
    updateStreamTexts();
}

StreamingMediaFlag VideoPanel::defaultStreamingMediaFlag() const
{
    return streamFlag;
}

void VideoPanel::slotSetDefaultStreamingMediaFlag(int flag)
{
    if (flag >= MAIN_STREAM && flag <= THIRD_STREAM)
        setDefaultStreamingMediaFlag(static_cast<StreamingMediaFlag>(flag));
}

void VideoPanel::parentMoved()
{
    layer->update();
}

QString VideoPanel::videoCapture(int window)
{
    if (window < 0 || window >= windows.size())
        return QString();
    const VideoWindow* source = windows.at(window);
    const VideoWindow::State state = source->state();
    if (state != VideoWindow::Playing && state != VideoWindow::PlaybackPlaying &&
        state != VideoWindow::PlaybackFinished)
        return QString();

    const QString folder = datedFolder(QStringLiteral("VideoCaptures"));
    if (folder.isEmpty())
        return QString();
    const QString name = source->channel().channelId.isEmpty() ? QStringLiteral("playback")
                                                               : filePiece(source->channel().channelId);
    const QString path =
        QDir(folder).absoluteFilePath(QStringLiteral("%1-%2-%3-%4.png")
                                          .arg(name)
                                          .arg(window + 1)
                                          .arg(QTime::currentTime().toString(QStringLiteral("hhmmss")))
                                          .arg(nextSerial()));
    return source->currentPicture().save(path, "PNG") ? path : QString();
}

QString VideoPanel::startRecording(int window)
{
    if (window < 0 || window >= windows.size() || recordings.contains(window) ||
        windows.at(window)->state() != VideoWindow::Playing)
        return QString();
    const QString folder = datedFolder(QStringLiteral("VideoRecordings"));
    if (folder.isEmpty())
        return QString();

    const VIG_DATA_MODULE::VIG_ChannelInfo& channel = windows.at(window)->channel();
    const QDateTime start = QDateTime::currentDateTime();
    // Four pieces separated by "-": channel, window, start time, serial. The folder and the third piece
    // give the start moment.
    Recording recording;
    recording.filePath = QDir(folder).absoluteFilePath(QStringLiteral("%1-%2-%3-%4.vrec")
                                                           .arg(filePiece(channel.channelId))
                                                           .arg(window + 1)
                                                           .arg(start.toString(QStringLiteral("hhmmss")))
                                                           .arg(nextSerial()));
    recording.file = new QFile(recording.filePath, this);
    if (!recording.file->open(QIODevice::WriteOnly | QIODevice::Text)) {
        delete recording.file;
        return QString();
    }
    recording.file->write(QStringLiteral("VIGREC 1\nchannelId=%1\nchannelName=%2\nstart=%3\nstream=%4\n")
                              .arg(channel.channelId, channel.channelName,
                                   start.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")))
                              .arg(int(streamFlag))
                              .toUtf8());
    recording.file->flush();
    recordings.insert(window, recording);
    VideoManager::_instance().registerRecording(recording.filePath);
    windows.at(window)->setRecording(true);
    if (!recordTimer->isActive())
        recordTimer->start();
    emit signalVideoRecordingFileNameChanged(window, recording.filePath);
    return recording.filePath;
}

void VideoPanel::stopRecording(int window)
{
    const auto it = recordings.find(window);
    if (it == recordings.end())
        return;
    Recording recording = it.value();
    recordings.erase(it);
    recording.file->write(
        QStringLiteral("end=%1\nframes=%2\n")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")))
            .arg(recording.frames)
            .toUtf8());
    recording.file->close();
    delete recording.file;
    VideoManager::_instance().unregisterRecording(recording.filePath);
    if (window < windows.size())
        windows.at(window)->setRecording(false);
    if (recordings.isEmpty())
        recordTimer->stop();
}

bool VideoPanel::isRecording(int window) const
{
    return recordings.contains(window);
}

QString VideoPanel::recordingFilePath(int window) const
{
    return recordings.value(window).filePath;
}

void VideoPanel::onRecordTick()
{
    const QString now = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    for (auto it = recordings.begin(); it != recordings.end(); ++it) {
        ++it->frames;
        it->file->write(QStringLiteral("frame %1 %2\n").arg(it->frames).arg(now).toUtf8());
        it->file->flush();
    }
}

void VideoPanel::onStopRequested(const QString& filePath)
{
    const QString wanted = QDir::cleanPath(QFileInfo(filePath).absoluteFilePath());
    const QList<int> recorded = recordings.keys();
    for (int window : recorded) {
        if (QDir::cleanPath(recordings.value(window).filePath) == wanted)
            stopRecording(window);
    }
}

void VideoPanel::playbackClip(const QString& title, int durationMs, bool ok)
{
    disconnectAll();
    windows.first()->openPlayback(title, durationMs, ok);
    if (ok)
        playbackTimer->start(qMax(1, durationMs));
}

void VideoPanel::stopPlayback()
{
    playbackTimer->stop();
    for (VideoWindow* window : qAsConst(windows)) {
        const VideoWindow::State state = window->state();
        if (state == VideoWindow::PlaybackPlaying || state == VideoWindow::PlaybackFinished ||
            state == VideoWindow::PlaybackFailed)
            window->close();
    }
}

bool VideoPanel::isPlayingBack() const
{
    return playbackTimer->isActive();
}

void VideoPanel::onPlaybackFinished()
{
    windows.first()->setState(VideoWindow::PlaybackFinished);
    emit signalVideoPlaybackFinished(0);
}

int VideoPanel::windowCount() const
{
    return windows.size();
}

int VideoPanel::selectedWindow() const
{
    int selected = -1;
    player->GetWindowNum(nullptr, &selected);
    return selected;
}

void VideoPanel::selectWindow(int window)
{
    player->SetSelectedWindow(window);
    const int selected = selectedWindow();
    for (VideoWindow* each : qAsConst(windows))
        each->setSelected(each->index() == selected);
}

VIG_DATA_MODULE::VIG_ChannelInfo VideoPanel::windowChannel(int window) const
{
    return window >= 0 && window < windows.size() ? windows.at(window)->channel()
                                                  : VIG_DATA_MODULE::VIG_ChannelInfo();
}

bool VideoPanel::isPanelFullScreen() const
{
    return fullScreen;
}

CPlavexPlayer* VideoPanel::getPlayer() const
{
    return player;
}

VideoLayer* VideoPanel::getVideoLayer() const
{
    return layer;
}

void VideoPanel::slotSetFullScreen(bool on)
{
    if (on == fullScreen)
        return;
    fullScreen = on;
    if (on) {
        normalFlags = windowFlags();
        normalGeometry = geometry();
        setWindowFlags(normalFlags | Qt::Window);
        showFullScreen();
    } else {
        setWindowFlags(normalFlags);
        setGeometry(normalGeometry);
        show();
    }
}

void VideoPanel::onFrameTick()
{
    for (VideoWindow* window : qAsConst(windows)) {
        if (window->isVisible())
            window->update();
    }
}

void VideoPanel::onCaptureAction()
{
    const int window = qMax(0, selectedWindow());
    emit signalCaptureActionTriggered();
    // A listener takes the picture itself (and files it); alone, the panel keeps it.
    if (!isSignalConnected(QMetaMethod::fromSignal(&VideoPanel::signalCaptureActionTriggered)))
        videoCapture(window);
}

void VideoPanel::onRecordAction()
{
    const int window = qMax(0, selectedWindow());
    if (isRecording(window)) {
        stopRecording(window);
        return;
    }
    // The listener learns that a recording starts before it learns the file's name.
    emit signalRecordActionTriggered();
    startRecording(window);
}

void VideoPanel::mousePressEvent(QMouseEvent* event)
{
    const int window = layer->windowAt(layer->mapFrom(this, event->pos()));
    if (window < 0) {
        event->ignore();
        return;
    }
    selectWindow(window);
    event->accept();
}

void VideoPanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A window double-clicked shows alone; another double click returns to the split.
    if (event->button() != Qt::LeftButton || windows.size() < 2) {
        event->ignore();
        return;
    }
    if (layer->singleWindow() >= 0) {
        layer->setSingleWindow(-1);
    } else {
        const int window = layer->windowAt(layer->mapFrom(this, event->pos()));
        layer->setSingleWindow(window);
        selectWindow(window);
    }
    event->accept();
}

void VideoPanel::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && fullScreen) {
        slotSetFullScreen(false);
        event->accept();
        return;
    }
    ColouredWidget::keyPressEvent(event);
}

void VideoPanel::contextMenuEvent(QContextMenuEvent* event)
{
    const int window = layer->windowAt(layer->mapFrom(this, event->pos()));
    if (window < 0)
        return;
    selectWindow(window);
    const VideoWindow::State state = windows.at(window)->state();
    captureAction->setEnabled(state == VideoWindow::Playing || state == VideoWindow::PlaybackPlaying ||
                              state == VideoWindow::PlaybackFinished);
    recordAction->setEnabled(state == VideoWindow::Playing);
    recordAction->setText(isRecording(window) ? tr("Stop Recording") : tr("Start Recording"));
    closeVideoAction->setEnabled(state != VideoWindow::Idle);
    contextMenu->exec(event->globalPos());
}

void VideoPanel::showEvent(QShowEvent* event)
{
    ColouredWidget::showEvent(event);
    frameTimer->start();
}

void VideoPanel::hideEvent(QHideEvent* event)
{
    ColouredWidget::hideEvent(event);
    frameTimer->stop();
}

} // namespace VIG_BASE_MODULE
