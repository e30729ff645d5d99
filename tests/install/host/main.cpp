// A host that knows the module only through its installed headers and package config.
#include "frame/AlarmModuleAccess.h"
#include "frame/AlarmModuleInit.h"
#include "tables/StoreUnhadledAlarmsTable.h"

#include <QApplication>
#include <QFile>
#include <QTabWidget>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTextStream err(stderr);
    auto& entry = VIG_ALARM_MOUDLE::AlarmModuleInit::_instance();
    if (entry.getVideoAlarmForm()) {
        err << "main form exists before moduleInit\n";
        return 1;
    }
    entry.moduleInit();
    QWidget* form = entry.getVideoAlarmForm();
    if (!form || form->findChild<QTabWidget*>()->count() != 2) {
        err << "no main form with two tabs after moduleInit\n";
        return 1;
    }
    for (const char* resource : {":/ts/VIG_alarm_zh.qm", ":/ts/VIG_alarm_en.qm",
                                 ":/style/VIG_alarm_style.qss", ":/images/bloodsnow.png"}) {
        if (!QFile::exists(QString::fromLatin1(resource))) {
            err << "missing resource " << resource << "\n";
            return 1;
        }
    }
    VIG_ALARM_MOUDLE::StoreUnhadledAlarmsTable table(nullptr);
    table.updateData(QStringLiteral("no-such-store"));
    VIG_ALARM_MOUDLE::AlarmModuleAccess::_instance();
    err << "tiny host ran the installed module\n";
    delete form;
    return 0;
}
