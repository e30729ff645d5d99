#pragma once

#include <QByteArray>
#include <QString>

// The secret a client presents to the alarm server, kept in a file readable by its owner only.
class NetToken
{
public:
    // Shorter tokens are refused: 128 bits written in hex.
    enum { MinimumLength = 32 };

    // The token of the file; makes a random one first when the file does not exist. Empty, with a one-line
    // reason in error, when the file cannot be read or written, holds no token or a short one, or may be
    // read by other users.
    static QByteArray readOrCreate(const QString& path, QString* error);
    static QByteArray read(const QString& path, QString* error);
    // A new random token, 256 bits in hex.
    static QByteArray make();
    // Writes a new file that only its owner may read or write, whatever the umask: it never exists with
    // wider rights. False with a one-line reason when it exists already or cannot be written.
    static bool writeOwnerOnly(const QString& path, const QByteArray& content, QString* error);
    // False with a one-line reason for an existing file that group or others may read or write.
    static bool isOwnerOnly(const QString& path, QString* error);
    // Compares in a time that does not depend on where the texts differ.
    static bool matches(const QByteArray& expected, const QByteArray& given);
};
