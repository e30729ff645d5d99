#pragma once

#include <QByteArray>
#include <QString>

// The shared secret a client presents to the alarm server, kept in a file readable by its owner only.
class NetToken
{
public:
    // The token of the file; makes a random one first when the file does not exist. Empty, with a one-line
    // reason in error, when the file cannot be read or written or holds no token.
    static QByteArray readOrCreate(const QString& path, QString* error);
    static QByteArray read(const QString& path, QString* error);
    // Compares in a time that does not depend on where the texts differ.
    static bool matches(const QByteArray& expected, const QByteArray& given);
};
