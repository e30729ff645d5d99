#pragma once

#include "frame/VIG_AlarmRelation.h"

#include <QList>
#include <QListWidget>

class QAction;
class QMenu;

namespace VIG_BASE_MODULE {
class SaveAsRecording;
}

namespace VIG_ALARM_MOUDLE {

// Everything that can be watched for one alarm: its live video, its recordings and its images. A double
// click marks the item as playing; the detail view, connected to the same signal, plays it. The context
// menu saves recordings and images elsewhere and deletes what was made on this computer.
class AlarmRelationsListWt : public QListWidget
{
    Q_OBJECT

public:
    enum ItemRole {
        TypeRole = Qt::UserRole + 101,
        FilePathRole = Qt::UserRole + 102,
        TimeTextRole = Qt::UserRole + 103,
    };

    explicit AlarmRelationsListWt(QWidget* parent = nullptr);
    ~AlarmRelationsListWt() override;

    void setAlarmUid(const QString& alarmUid);
    QString getAlarmUid() const { return alarmUid; }

    void clearRelations();
    // Sorts the relations in place by type, then by name, lists those that can be shown and marks the
    // first one whose path is markedPath (and, when markedType is not 0, whose type is markedType).
    void setRelations(QList<VIG_AlarmRelation>& relations, const QString& markedPath);
    void setRelations(QList<VIG_AlarmRelation>& relations, int markedType, const QString& markedPath);
    QListWidgetItem* addRelationItem(const VIG_AlarmRelation& relation);

    static int itemType(QListWidgetItem* item);
    static QString itemFilePath(QListWidgetItem* item);
    static QString itemTimeText(QListWidgetItem* item);

    void markRow(int row);
    void restoreMarkedRow();
    QListWidgetItem* getMarkedItem() const { return markedItem; }
    int getMarkedRow() const { return markedRow; }
    void removeLiveImageItems();
    QListWidgetItem* findFirstItemOfType(int type) const;

    // Plays, as a double click would, the first item of the kinds tried for the default relation type;
    // returns it, or null when there is none (always for types other than 1, 3, 4, 5 and 6).
    QListWidgetItem* playDefaultItem(int defaultType);
    // The item is opened as on a double click.
    void playItem(QListWidgetItem* item);

    // Live images are fetched into "LiveImageTemp/<alarm uid>/<file name>", the name as the address writes
    // it (query and fragment left out). Alarm uid and address come from the server: both are refused
    // (empty result) when they could lead outside that folder.
    static QString liveImageFileName(const QString& address);
    static QString liveImageFolder(const QString& alarmUid);
    static QString liveImageLocalPath(const QString& alarmUid, const QString& address);

signals:
    void signalStopVideoRecordingView(const QString& videoRecordingFilePath);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The operator's choice of where to save; empty when cancelled.
    virtual QString chooseSaveAsTarget(const QString& filter);

private slots:
    void slotRelationsOperMenuHovered(QAction* action);
    void slotRelationsOperMenuTriggered(QAction* action);
    void slotItemDoubleClicked(QListWidgetItem* item);

private:
    void setNormalMenuIcons();
    void deleteMenuRelation(const VIG_AlarmRelation& relation);
    void saveMenuRelationAs(const VIG_AlarmRelation& relation);
    bool copyRelationFile(const QString& source, const QString& target);
    void removeItem(QListWidgetItem* item);

    QString alarmUid;
    QListWidgetItem* markedItem = nullptr;
    QMenu* relationsMenu = nullptr;
    QAction* saveAsAction = nullptr;
    QAction* deleteAction = nullptr;
    VIG_BASE_MODULE::SaveAsRecording* saveAsRecording = nullptr;
    int markedRow = -1;
    // The entry right-clicked when the menu opened: the list may be refilled while the menu is open.
    VIG_AlarmRelation menuRelation;
};

} // namespace VIG_ALARM_MOUDLE
