#include "NetToken.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

QByteArray NetToken::read(const QString& path, QString* error)
{
    if (!isOwnerOnly(path, error))
        return QByteArray();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QObject::tr("cannot read the token file %1: %2").arg(path, file.errorString());
        return QByteArray();
    }
    const QByteArray token = file.read(4096).trimmed();
    if (token.isEmpty()) {
        *error = QObject::tr("the token file %1 holds no token").arg(path);
    } else if (token.size() < MinimumLength) {
        *error = QObject::tr("the token in %1 is too short: at least %2 hex characters (128 bits) are needed")
                     .arg(path)
                     .arg(int(MinimumLength));
        return QByteArray();
    }
    return token;
}

QByteArray NetToken::make()
{
    QByteArray random(32, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(random.data()), random.size() / 4);
    return random.toHex();
}

QByteArray NetToken::readOrCreate(const QString& path, QString* error)
{
    if (QFileInfo::exists(path))
        return read(path, error);
    const QByteArray token = make();
    QDir().mkpath(QFileInfo(path).absolutePath());
    return writeOwnerOnly(path, token + '\n', error) ? token : QByteArray();
}

bool NetToken::writeOwnerOnly(const QString& path, const QByteArray& content, QString* error)
{
    QFile file(path);
    bool opened = false;
#ifdef Q_OS_UNIX
    // Created with the owner's rights alone; a umask can only narrow them further, and fchmod gives the
    // owner back what a strict umask took.
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    opened = fd >= 0 && ::fchmod(fd, 0600) == 0 &&
             file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle);
    if (fd >= 0 && !opened)
        ::close(fd);
#else
    opened = file.open(QIODevice::WriteOnly | QIODevice::NewOnly) &&
             file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
#endif
    if (!opened || file.write(content) != content.size() || !file.flush()) {
        *error = QObject::tr("cannot write the file %1: %2")
                     .arg(path, opened ? file.errorString() : QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return true;
}

bool NetToken::isOwnerOnly(const QString& path, QString* error)
{
    const QFileDevice::Permissions others =
        QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    if (QFileInfo::exists(path) && (QFile::permissions(path) & others)) {
        *error = QObject::tr("%1 may be read by other users; make it readable by its owner only (chmod 600)")
                     .arg(path);
        return false;
    }
    return true;
}

bool NetToken::matches(const QByteArray& expected, const QByteArray& given)
{
    if (expected.isEmpty() || expected.size() != given.size())
        return false;
    unsigned char difference = 0;
    for (int i = 0; i < expected.size(); ++i)
        difference |= static_cast<unsigned char>(expected.at(i) ^ given.at(i));
    return difference == 0;
}
