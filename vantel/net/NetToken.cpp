#include "NetToken.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QRandomGenerator>

QByteArray NetToken::read(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QObject::tr("cannot read the token file %1: %2").arg(path, file.errorString());
        return QByteArray();
    }
    const QByteArray token = file.read(4096).trimmed();
    if (token.isEmpty())
        *error = QObject::tr("the token file %1 holds no token").arg(path);
    return token;
}

QByteArray NetToken::readOrCreate(const QString& path, QString* error)
{
    if (QFileInfo::exists(path))
        return read(path, error);
    QByteArray random(32, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(random.data()), random.size() / 4);
    const QByteArray token = random.toHex();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    // The rights are narrowed before the token is written.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        file.write(token + '\n') < 0 || !file.flush()) {
        *error = QObject::tr("cannot write the token file %1: %2").arg(path, file.errorString());
        return QByteArray();
    }
    return token;
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
