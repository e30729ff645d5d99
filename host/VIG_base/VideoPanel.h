#pragma once

#include "ColouredWidget.h"
#include "VIG_ChannelInfo.h"

#include <QHash>
#include <QMetaType>
#include <QRect>
#include <QVector>

class CPlavexPlayer;
class QAction;
class QFile;
class QMenu;
class QTimer;

namespace VIG_BASE_MODULE {

class VideoLayer;
class VideoWindow;

enum StreamingMediaFlag { MAIN_STREAM = 0, SUB_STREAM = 1, THIRD_STREAM = 2 };

// A multi-window live video surface. Each channel given to connectChannels opens in a window of its own;
// the windows share the panel in a split grid. The picture is synthetic and moves while the panel is
// visible. The context menu captures an image of the window under the pointer and starts or stops a local
// recording of it.
//
// Files: captures go to <working dir>/VideoCaptures/yyyyMMdd/, recordings to
// <working dir>/VideoRecordings/yyyyMMdd/<channel>-<window>-hhmmss-<serial>.vrec (absolute paths, the
// channel id with "-" replaced by "_"). A recording is a text file that grows by one frame line a second.
class VideoPanel : public ColouredWidget
{
    Q_OBJECT

public:
    explicit VideoPanel(QWidget* parent = nullptr);
    ~VideoPanel() override;

    // Opens every channel in a window of its own, in the given order. With closeOpened the channels open
    // now are closed first; otherwise the new ones are added after them. A channel without id fails to
    // connect (its window says so); reconnectFailingChannels tries the failed windows again.
    void connectChannels(const QVector<VIG_DATA_MODULE::VIG_ChannelInfo>& channels, bool closeOpened);
    void disconnectAll();
    void disrecordAll();
    void reconnectFailingChannels();
    void setAlarmRecordMode();
    bool isAlarmRecordMode() const;
    void setDefaultStreamingMediaFlag(StreamingMediaFlag flag);
    StreamingMediaFlag defaultStreamingMediaFlag() const;
    // The panel's top-level window moved; windows keep to the panel.
    void parentMoved();

    // Saves the window's current picture as PNG and returns its absolute path; empty when the window does
    // not exist, shows nothing or the file cannot be written.
    QString videoCapture(int window);

    // Starts recording a window showing a live channel; returns the recording's path (empty when it
    // cannot record). signalVideoRecordingFileNameChanged follows.
    QString startRecording(int window);
    void stopRecording(int window);
    bool isRecording(int window) const;
    QString recordingFilePath(int window) const;

    // Plays a synthetic clip in one window (all channels closed first); signalVideoPlaybackFinished(0)
    // when it ends. A clip that is not ok shows its failure and never finishes.
    void playbackClip(const QString& title, int durationMs, bool ok);
    void stopPlayback();
    bool isPlayingBack() const;

    int windowCount() const;
    int selectedWindow() const;
    void selectWindow(int window);
    VIG_DATA_MODULE::VIG_ChannelInfo windowChannel(int window) const;
    bool isPanelFullScreen() const;

    CPlavexPlayer* getPlayer() const;
    VideoLayer* getVideoLayer() const;

public slots:
    void slotSetFullScreen(bool fullScreen);
    void slotSetDefaultStreamingMediaFlag(int flag);

signals:
    void signalCaptureActionTriggered();
    void signalRecordActionTriggered();
    void signalVideoRecordingFileNameChanged(int window, const QString& filePath);
    void signalVideoPlaybackFinished(int window);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    // The context menu and its actions. closeVideoAction closes the window under the pointer; a derived
    // panel may hide it (its data is then ignored by the panel).
    QMenu* contextMenu = nullptr;
    QAction* captureAction = nullptr;
    QAction* recordAction = nullptr;
    QAction* closeVideoAction = nullptr;

private:
    struct Recording
    {
        QString filePath;
        QFile* file = nullptr;
        int frames = 0;
    };

    VideoWindow* addWindow();
    void closeWindow(int window);
    void updateLayout();
    void onFrameTick();
    void onRecordTick();
    void onCaptureAction();
    void onRecordAction();
    void onPlaybackFinished();
    void onStopRequested(const QString& filePath);
    void updateStreamTexts();

    CPlavexPlayer* player = nullptr;
    VideoLayer* layer = nullptr;
    QVector<VideoWindow*> windows;
    QHash<int, Recording> recordings; // by window
    QTimer* frameTimer = nullptr;
    QTimer* recordTimer = nullptr;
    QTimer* playbackTimer = nullptr;
    StreamingMediaFlag streamFlag = SUB_STREAM;
    bool alarmRecordMode = false;
    bool fullScreen = false;
    Qt::WindowFlags normalFlags;
    QRect normalGeometry;
};

} // namespace VIG_BASE_MODULE

Q_DECLARE_METATYPE(VIG_BASE_MODULE::StreamingMediaFlag)
