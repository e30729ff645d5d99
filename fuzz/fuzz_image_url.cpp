// Live image addresses and alarm uids come from the server: whatever they hold, the local copy of an image
// is named inside "LiveImageTemp/<uid>/" or not at all.

#include "FuzzSupport.h"

#include "detail/AlarmRelationsListWt.h"

#include <QDir>
#include <QStringList>

using fuzzsupport::fail;
using VIG_ALARM_MOUDLE::AlarmRelationsListWt;

namespace {

void checkInside(const QString& uid, const QString& address)
{
    const QString folder = AlarmRelationsListWt::liveImageFolder(uid);
    const QString path = AlarmRelationsListWt::liveImageLocalPath(uid, address);
    if (!folder.isEmpty()) {
        if (!folder.startsWith(QLatin1String("LiveImageTemp/")) || QDir::isAbsolutePath(folder))
            fail("a live image folder outside the download folder");
        const QString clean = QDir::cleanPath(folder);
        if (clean != QLatin1String("LiveImageTemp/") + uid || uid.contains(QLatin1Char('/')) ||
            uid.contains(QLatin1Char('\\')))
            fail("a live image folder that is not one level below the download folder");
    }
    if (path.isEmpty())
        return;
    if (folder.isEmpty() || !path.startsWith(folder))
        fail("a live image path outside its alarm's folder");
    const QString name = path.mid(folder.size());
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name.contains(QChar(0)))
        fail("a live image file name that leaves its folder");
    if (QDir::cleanPath(path) != path)
        fail("a live image path that is not already clean");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::startApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::Pieces pieces(data, size);
    const QString uid = fuzzsupport::text(pieces.take());
    const QString urls = fuzzsupport::text(pieces.take());
    // The detail view splits a handling's addresses at commas, keeping empty ones. A long list repeats
    // itself: its first addresses and its last one tell as much as all of them, many times faster.
    const QStringList addresses = urls.split(QLatin1Char(','), Qt::KeepEmptyParts);
    for (int i = 0; i < addresses.size(); ++i) {
        if (i >= 64 && i != addresses.size() - 1)
            continue;
        AlarmRelationsListWt::liveImageFileName(addresses.at(i));
        checkInside(uid, addresses.at(i));
    }
    return 0;
}
