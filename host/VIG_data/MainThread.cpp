#include "MainThread.h"

#include <QCoreApplication>
#include <QThread>

namespace VIG_DATA_MODULE {

void MainThread::adopt(QObject* object)
{
    const QCoreApplication* app = QCoreApplication::instance();
    if (app && object->thread() != app->thread())
        object->moveToThread(app->thread());
}

} // namespace VIG_DATA_MODULE
