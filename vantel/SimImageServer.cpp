#include "SimImageServer.h"

#include "SimImageListener.h"

#include <QThread>

SimImageServer::SimImageServer(const QString& folder) : thread(std::make_unique<QThread>())
{
    listener = new SimImageListener(folder);
    listener->moveToThread(thread.get());
    QObject::connect(thread.get(), &QThread::finished, listener, &QObject::deleteLater);
    thread->setObjectName(QStringLiteral("image server"));
    thread->start();
    quint16 port = 0;
    QMetaObject::invokeMethod(
        listener, [this, &port] { port = listener->start(); }, Qt::BlockingQueuedConnection);
    if (port != 0)
        base = QStringLiteral("http://127.0.0.1:%1/").arg(port);
}

SimImageServer::~SimImageServer()
{
    thread->quit();
    thread->wait();
}
