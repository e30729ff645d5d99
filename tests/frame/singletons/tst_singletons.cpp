#include "SingletonProbe.h"

#include "frame/AlarmSignals.h"
#include "relations/AlarmVideoRelation.h"

#include <QtTest>

using namespace VIG_ALARM_MOUDLE;

class TestSingletons : public QObject
{
    Q_OBJECT

private slots:
    void oneInstanceAcrossLibraries()
    {
        // The probe library is loaded separately from this executable; both must reach the same objects.
        QCOMPARE(singletonProbeHub(), static_cast<const void*>(&AlarmSignals::_instance()));
        QCOMPARE(singletonProbeRelationStore(), static_cast<const void*>(&AlarmVideoRelation::_instance()));
        QCOMPARE(&AlarmSignals::_instance(), &AlarmSignals::_instance());
        QVERIFY(AlarmSignals::_instance().parent() == nullptr);
    }
};

QTEST_MAIN(TestSingletons)
#include "tst_singletons.moc"
