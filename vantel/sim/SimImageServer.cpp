#include "SimImageServer.h"

#include "SimImageListener.h"

#include <QThread>

#include <future>

namespace {

// The listener is made, and says where it listens, on the thread itself: no object or value crosses threads
// through Qt's queues, whose hand-overs the thread checkers do not see.
class ImageThread : public QThread
{
public:
    ImageThread(const QString& folder, std::promise<quint16> listening)
        : folder(folder), listening(std::move(listening))
    {
    }

protected:
    void run() override
    {
        SimImageListener listener(folder);
        listening.set_value(listener.start());
        exec();
    }

private:
    const QString folder;
    std::promise<quint16> listening;
};

} // namespace

SimImageServer::SimImageServer(const QString& folder)
{
    std::promise<quint16> listening;
    std::future<quint16> port = listening.get_future();
    thread = std::make_unique<ImageThread>(folder, std::move(listening));
    thread->setObjectName(QStringLiteral("image server"));
    thread->start();
    if (const quint16 number = port.get())
        base = QStringLiteral("http://127.0.0.1:%1/").arg(number);
}

SimImageServer::~SimImageServer()
{
    thread->quit();
    thread->wait();
}
