#pragma once

#include <QString>

#include <memory>

class QThread;

// Serves the files of one folder over HTTP on the loopback address, from a thread of its own, so that the
// simulated cameras' live images reach clients as a real server's do. Only plain names in the folder itself
// are served; anything else is 404.
class SimImageServer
{
public:
    explicit SimImageServer(const QString& folder);
    ~SimImageServer();
    SimImageServer(const SimImageServer&) = delete;
    SimImageServer& operator=(const SimImageServer&) = delete;

    // "http://127.0.0.1:PORT/", or empty when nothing could listen.
    QString baseUrl() const { return base; }

private:
    std::unique_ptr<QThread> thread;
    QString base;
};
