#include "detail/AlarmRelationsListWt.h"

#include "relations/AlarmVideoRelation.h"

#include "MessageBoxW.h"
#include "SaveAsRecording.h"
#include "VideoManager.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QSaveFile>
#include <QUrl>

#include <algorithm>

namespace VIG_ALARM_MOUDLE {

using VIG_BASE_MODULE::MessageBoxW;

namespace {

const char* const LiveImageRoot = "LiveImageTemp/";
const int TimeTextLength = 19;
// Pixels of the menu's edge in which the pointer still counts as outside.
const int MenuMargin = 8;

const char* const MarkIcon = ":/images/bloodsnow.png";
const char* const SaveAsNormalIcon = ":/menu/images/menu_saveas_normal.png";
const char* const SaveAsHoverIcon = ":/menu/images/menu_saveas_hover.png";
const char* const DeleteNormalIcon = ":/menu/images/menu_delete_normal.png";
const char* const DeleteHoverIcon = ":/menu/images/menu_delete_hover.png";

// A folder or file name given by the server, as written and as it reads once percent-decoded.
bool isSafePathPart(const QString& part)
{
    // No file system takes a longer name, and checking a server's megabyte of text per address would stall.
    // UTF-8 never has fewer bytes than UTF-16 has units: a long text goes before it is converted.
    if (part.size() > 255 || part.toUtf8().size() > 255)
        return false;
    const QString decoded = QUrl::fromPercentEncoding(part.toUtf8());
    for (const QString& form : {part, decoded}) {
        if (form.trimmed().isEmpty() || form == QLatin1String(".") || form.contains(QLatin1Char('/')) ||
            form.contains(QLatin1Char('\\')) || form.contains(QLatin1String("..")) || form.contains(QChar(0)))
            return false;
    }
    return true;
}

// The root is relative and ends with a slash, so the check needs no working directory: a server's list of
// thousands of addresses is checked without a system call each.
bool isInsideImageRoot(const QString& path)
{
    const QString root = QLatin1String(LiveImageRoot);
    return QDir::cleanPath(root + path).startsWith(root);
}

bool isSameFile(const QString& first, const QString& second)
{
    const QFileInfo one(first);
    const QFileInfo other(second);
    if (one.exists() && other.exists())
        return one.canonicalFilePath() == other.canonicalFilePath();
    return QDir::cleanPath(one.absoluteFilePath()) == QDir::cleanPath(other.absoluteFilePath());
}

QList<int> defaultTypeOrder(int defaultType)
{
    switch (defaultType) {
    case LiveVideoRelation:
        return {LiveVideoRelation};
    case IcloudRecordingRelation:
        return {IcloudRecordingRelation, StorageRecordingRelation, LocalRecordingRelation, LiveVideoRelation};
    case LocalRecordingRelation:
        return {LocalRecordingRelation, LiveVideoRelation};
    case CaptureRelation:
        return {CaptureRelation, LiveVideoRelation};
    case LiveImageRelation:
        return {LiveImageRelation, LiveVideoRelation};
    default:
        return {};
    }
}

// Only what this computer made may be deleted from it.
bool isKeptLocally(int type)
{
    return type == LocalRecordingRelation || type == CaptureRelation;
}

void showMessage(const QString& text)
{
    MessageBoxW::information(nullptr, QString(), text, MessageBoxW::OkButton);
}

} // namespace

AlarmRelationsListWt::AlarmRelationsListWt(QWidget* parent)
    : QListWidget(parent)
    , relationsMenu(new QMenu(this))
    , saveAsAction(new QAction(QObject::tr("Save As"), this))
    , deleteAction(new QAction(QObject::tr("Delete"), this))
    , saveAsRecording(new VIG_BASE_MODULE::SaveAsRecording(this))
{
    setIconSize(QSize(24, 24));
    relationsMenu->setProperty("VIG_main_menu", true);
    relationsMenu->installEventFilter(this);
    relationsMenu->addAction(deleteAction);
    relationsMenu->addAction(saveAsAction);
    setNormalMenuIcons();

    connect(relationsMenu, &QMenu::hovered, this, &AlarmRelationsListWt::slotRelationsOperMenuHovered);
    connect(relationsMenu, &QMenu::triggered, this, &AlarmRelationsListWt::slotRelationsOperMenuTriggered);
    connect(this, &QListWidget::itemDoubleClicked, this, &AlarmRelationsListWt::slotItemDoubleClicked);
}

AlarmRelationsListWt::~AlarmRelationsListWt() = default;

void AlarmRelationsListWt::setAlarmUid(const QString& uid)
{
    alarmUid = uid;
}

void AlarmRelationsListWt::clearRelations()
{
    markedItem = nullptr;
    markedRow = -1;
    clear();
}

void AlarmRelationsListWt::setRelations(QList<VIG_AlarmRelation>& relations, const QString& markedPath)
{
    setRelations(relations, 0, markedPath);
}

void AlarmRelationsListWt::setRelations(QList<VIG_AlarmRelation>& relations, int markedType,
                                        const QString& markedPath)
{
    clearRelations();
    std::stable_sort(relations.begin(), relations.end(),
                     [](const VIG_AlarmRelation& one, const VIG_AlarmRelation& other) {
                         if (one.type != other.type)
                             return one.type < other.type;
                         return one.fileName < other.fileName;
                     });
    for (const VIG_AlarmRelation& relation : qAsConst(relations)) {
        if (relation.filePath.isEmpty())
            continue;
        // A recording deleted outside the program is gone for good.
        if (relation.type == LocalRecordingRelation && !QFile::exists(relation.filePath))
            continue;
        addRelationItem(relation);
        // Entries may share a path (the NVR entry borrows one): the kind tells them apart.
        if (!markedItem && !markedPath.isEmpty() && markedPath == relation.filePath &&
            (markedType == 0 || markedType == relation.type))
            markRow(count() - 1);
    }
}

QListWidgetItem* AlarmRelationsListWt::addRelationItem(const VIG_AlarmRelation& relation)
{
    auto* item = new QListWidgetItem(relation.fileName);
    item->setData(TypeRole, relation.type);
    item->setData(FilePathRole, relation.filePath);
    item->setData(TimeTextRole, relation.fileName.right(TimeTextLength));
    addItem(item);
    return item;
}

int AlarmRelationsListWt::itemType(QListWidgetItem* item)
{
    return item ? item->data(TypeRole).toInt() : 0;
}

QString AlarmRelationsListWt::itemFilePath(QListWidgetItem* item)
{
    return item ? item->data(FilePathRole).toString() : QString();
}

QString AlarmRelationsListWt::itemTimeText(QListWidgetItem* item)
{
    return item ? item->data(TimeTextRole).toString() : QString();
}

void AlarmRelationsListWt::markRow(int row)
{
    if (QListWidgetItem* previous = item(markedRow))
        previous->setIcon(QIcon());
    QListWidgetItem* marked = item(row);
    if (!marked) {
        markedItem = nullptr;
        markedRow = -1;
        return;
    }
    setCurrentRow(row);
    marked->setIcon(QIcon(QLatin1String(MarkIcon)));
    markedItem = marked;
    markedRow = row;
}

void AlarmRelationsListWt::restoreMarkedRow()
{
    setCurrentRow(markedRow);
}

void AlarmRelationsListWt::removeLiveImageItems()
{
    for (int row = count() - 1; row >= 0; --row) {
        if (itemType(item(row)) == LiveImageRelation)
            removeItem(item(row));
    }
}

void AlarmRelationsListWt::removeItem(QListWidgetItem* doomed)
{
    if (doomed == markedItem) {
        markedItem = nullptr;
        markedRow = -1;
    }
    delete takeItem(row(doomed));
    if (markedItem)
        markedRow = row(markedItem);
}

QListWidgetItem* AlarmRelationsListWt::findFirstItemOfType(int type) const
{
    for (int row = 0; row < count(); ++row) {
        if (itemType(item(row)) == type)
            return item(row);
    }
    return nullptr;
}

QListWidgetItem* AlarmRelationsListWt::playDefaultItem(int defaultType)
{
    const QList<int> order = defaultTypeOrder(defaultType);
    for (int type : order) {
        if (QListWidgetItem* found = findFirstItemOfType(type)) {
            playItem(found);
            return found;
        }
    }
    return nullptr;
}

void AlarmRelationsListWt::playItem(QListWidgetItem* item)
{
    if (item)
        emit itemDoubleClicked(item);
}

QString AlarmRelationsListWt::liveImageFileName(const QString& address)
{
    // The fragment is never fetched: a name taken from it would not be the file downloaded.
    return address.section(QLatin1Char('?'), 0, 0)
        .section(QLatin1Char('#'), 0, 0)
        .section(QLatin1Char('/'), -1);
}

QString AlarmRelationsListWt::liveImageFolder(const QString& uid)
{
    if (!isSafePathPart(uid) || !isInsideImageRoot(uid))
        return QString();
    return QLatin1String(LiveImageRoot) + uid + QLatin1Char('/');
}

QString AlarmRelationsListWt::liveImageLocalPath(const QString& uid, const QString& address)
{
    const QString folder = liveImageFolder(uid);
    const QString name = liveImageFileName(address);
    if (folder.isEmpty() || !isSafePathPart(name) || !isInsideImageRoot(uid + QLatin1Char('/') + name))
        return QString();
    return folder + name;
}

void AlarmRelationsListWt::contextMenuEvent(QContextMenuEvent* event)
{
    QListWidget::contextMenuEvent(event);
    QListWidgetItem* clicked =
        event->reason() == QContextMenuEvent::Mouse ? itemAt(event->pos()) : currentItem();
    menuRelation = VIG_AlarmRelation();
    if (!clicked)
        return;
    const int type = itemType(clicked);
    if (type != IcloudRecordingRelation && type != LocalRecordingRelation && type != CaptureRelation &&
        type != LiveImageRelation)
        return;
    setCurrentItem(clicked);
    menuRelation.alarmUid = alarmUid;
    menuRelation.filePath = itemFilePath(clicked);
    menuRelation.fileName = clicked->text();
    menuRelation.type = type;
    deleteAction->setVisible(isKeptLocally(type));
    relationsMenu->popup(QCursor::pos());
}

bool AlarmRelationsListWt::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == relationsMenu && event->type() == QEvent::MouseMove) {
        const QPoint pointer = static_cast<QMouseEvent*>(event)->globalPos();
        const QRect inner =
            relationsMenu->geometry().adjusted(MenuMargin, MenuMargin, -MenuMargin, -MenuMargin);
        if (!inner.contains(pointer))
            setNormalMenuIcons();
    }
    return QListWidget::eventFilter(watched, event);
}

QString AlarmRelationsListWt::chooseSaveAsTarget(const QString& filter)
{
    return QFileDialog::getSaveFileName(this, QObject::tr("Save AlarmRelation"), QStringLiteral("."), filter);
}

void AlarmRelationsListWt::setNormalMenuIcons()
{
    saveAsAction->setIcon(QIcon(QLatin1String(SaveAsNormalIcon)));
    deleteAction->setIcon(QIcon(QLatin1String(DeleteNormalIcon)));
}

void AlarmRelationsListWt::slotRelationsOperMenuHovered(QAction* action)
{
    setNormalMenuIcons();
    if (action == saveAsAction)
        saveAsAction->setIcon(QIcon(QLatin1String(SaveAsHoverIcon)));
    else if (action == deleteAction)
        deleteAction->setIcon(QIcon(QLatin1String(DeleteHoverIcon)));
}

void AlarmRelationsListWt::slotRelationsOperMenuTriggered(QAction* action)
{
    setNormalMenuIcons();
    const VIG_AlarmRelation chosen = menuRelation;
    menuRelation = VIG_AlarmRelation();
    if (chosen.filePath.isEmpty())
        return;
    if (action == saveAsAction)
        saveMenuRelationAs(chosen);
    else if (action == deleteAction && isKeptLocally(chosen.type))
        deleteMenuRelation(chosen);
}

void AlarmRelationsListWt::slotItemDoubleClicked(QListWidgetItem* item)
{
    if (item)
        markRow(row(item));
}

void AlarmRelationsListWt::deleteMenuRelation(const VIG_AlarmRelation& relation)
{
    const QString& filePath = relation.filePath;
    const int type = relation.type;
    const QString& uid = relation.alarmUid;
    if (MessageBoxW::information(nullptr, QString(),
                                 QObject::tr("Do you want to delete relation : %1?").arg(relation.fileName),
                                 MessageBoxW::OkCancelButtons) != MessageBoxW::Confirmed)
        return;

    if (type == LocalRecordingRelation) {
        VIG_BASE_MODULE::VideoManager::_instance().stopVideoRecording(filePath);
        emit signalStopVideoRecordingView(filePath);
    }
    if (!QFile::remove(filePath) && QFile::exists(filePath)) {
        showMessage(QObject::tr("Delete relation failed,video recording now or open in somewhere."));
        return;
    }
    AlarmVideoRelation::_instance().deleteRelation(uid, filePath);
    if (uid != alarmUid)
        return;
    for (int row = count() - 1; row >= 0; --row) {
        QListWidgetItem* listed = item(row);
        if (itemType(listed) == type && itemFilePath(listed) == filePath)
            removeItem(listed);
    }
}

void AlarmRelationsListWt::saveMenuRelationAs(const VIG_AlarmRelation& relation)
{
    const int type = relation.type;
    const QString& filePath = relation.filePath;
    const QString timeText = relation.fileName.right(TimeTextLength);
    const QString& uid = relation.alarmUid;
    const bool video = type == IcloudRecordingRelation || type == LocalRecordingRelation;
    const QString filter = video ? QStringLiteral("Videos(*.mp4)") : QStringLiteral("Images(*.png *.jpg)");

    VIG_BASE_MODULE::VideoManager& videos = VIG_BASE_MODULE::VideoManager::_instance();
    if (type == LocalRecordingRelation && videos.isVideoRecordingNow(filePath)) {
        if (MessageBoxW::information(nullptr, QString(),
                                     QObject::tr("video recording now, do you want stop and save as?"),
                                     MessageBoxW::OkCancelButtons) != MessageBoxW::Confirmed)
            return;
        videos.stopVideoRecording(filePath);
    }

    const QString target = chooseSaveAsTarget(filter);
    if (target.isEmpty())
        return;

    switch (type) {
    case LocalRecordingRelation:
        if (isSameFile(filePath, target)) {
            showMessage(QObject::tr("Can not save the relation file onto itself."));
            return;
        }
        if (!saveAsRecording->saveAsLocalVideoRecording(filePath, target))
            showMessage(QObject::tr("Save as relation file failed."));
        return;
    case IcloudRecordingRelation:
        if (!saveAsRecording->saveAsIcloudAlarmVideoRecording(filePath, target, timeText))
            showMessage(QObject::tr("Save as relation file failed."));
        return;
    case LiveImageRelation:
        copyRelationFile(liveImageLocalPath(uid, filePath), target);
        return;
    default:
        copyRelationFile(filePath, target);
        return;
    }
}

bool AlarmRelationsListWt::copyRelationFile(const QString& source, const QString& target)
{
    const bool present = !source.isEmpty() && QFileInfo(source).isFile();
    if (present && isSameFile(source, target)) {
        showMessage(QObject::tr("Can not save the relation file onto itself."));
        return false;
    }
    // The copy replaces an existing target only once it is whole, so a failure leaves the target as it was.
    QFile input(source);
    QSaveFile output(target);
    bool copied = present && input.open(QIODevice::ReadOnly) && output.open(QIODevice::WriteOnly);
    while (copied && !input.atEnd()) {
        const QByteArray chunk = input.read(1 << 20);
        copied = !chunk.isEmpty() && output.write(chunk) == chunk.size();
    }
    copied = copied && output.commit();
    if (!copied) {
        if (output.isOpen())
            output.cancelWriting();
        showMessage(QObject::tr("Save as relation file failed."));
    }
    return copied;
}

} // namespace VIG_ALARM_MOUDLE
