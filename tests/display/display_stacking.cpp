// What the X server shows, not what the widgets paint: the module against the embedded simulated server on
// a real display (run by on-xvfb.sh). The screen is grabbed from the X server and compared, point by point,
// with what the window that should be on top at that point paints itself. A pop-up whose floating cell sits
// beneath its own frame shows the frame's bare background there and fails.
#include "ModuleTestSupport.h"

#include "video/AlarmMonitorVideoPanel.h"

#include "ModuleFormModuleInit.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>

#include <functional>
#include <tuple>

using namespace VIG_ALARM_MOUDLE;

namespace {

const int Patience = 15000;
const int Step = 8; // between sampled points, in pixels

bool alike(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) <= 8 && qAbs(qGreen(a) - qGreen(b)) <= 8 && qAbs(qBlue(a) - qBlue(b)) <= 8;
}

QList<AlarmVideoCheckDlg*> stackedDialogs()
{
    return AlarmVideoCheckDlgManager::_instance().stackingOrder();
}

// Share of the sampled points of area (global) not covered by any of covers at which the screen shows what
// widget paints; the number of points sampled goes to samples.
double shownShare(const QImage& screen, QWidget* widget, const QRect& area, const QList<QRect>& covers,
                  int* samples)
{
    const QImage painted = widget->grab().toImage();
    const QPoint origin = widget->mapToGlobal(QPoint(0, 0));
    int sampled = 0;
    int same = 0;
    for (int y = area.top() + Step / 2; y < area.bottom(); y += Step) {
        for (int x = area.left() + Step / 2; x < area.right(); x += Step) {
            const QPoint point(x, y);
            if (!screen.rect().contains(point) ||
                std::any_of(covers.begin(), covers.end(), [&](const QRect& r) { return r.contains(point); }))
                continue;
            ++sampled;
            if (alike(screen.pixel(point), painted.pixel(point - origin)))
                ++same;
        }
    }
    *samples = sampled;
    return sampled ? double(same) / sampled : 0.0;
}

QImage grabScreen()
{
    QCoreApplication::processEvents();
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

// A failed check leaves the screen it saw in the test's working folder.
void keepPicture(const QImage& screen, const char* when)
{
    const QString name = QString::fromLatin1(when).replace(QLatin1Char(' '), QLatin1Char('-')) + ".png";
    screen.save(name);
    qWarning("screen kept in %s", qPrintable(QFileInfo(name).absoluteFilePath()));
}

// Lets the window manager and the X server settle after a change of the stacking.
void settle()
{
    QTest::qWait(800);
}

// Through the X server, as a person does: a window manager sees the press and reacts to it.
void xdotool(const QString& commands)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    QVERIFY2(!tool.isEmpty(), "xdotool is missing (scripts/deps.sh installs it)");
    QCOMPARE(QProcess::execute(tool, commands.split(QLatin1Char(' '))), 0);
}

void click(const QPoint& at)
{
    xdotool(QStringLiteral("mousemove %1 %2 click 1").arg(at.x()).arg(at.y()));
}

// A point of area (global) outside every one of covers, searched from the bottom-left; null when none.
QPoint uncovered(const QRect& area, const QList<QRect>& covers)
{
    for (int y = area.bottom() - 2; y > area.top(); y -= 2) {
        for (int x = area.left() + 2; x < area.right(); x += 2) {
            if (std::none_of(covers.begin(), covers.end(), [&](const QRect& r) { return r.contains(x, y); }))
                return QPoint(x, y);
        }
    }
    return QPoint();
}

} // namespace

class TstDisplayStacking : public QObject
{
    Q_OBJECT

    SimAlarmServer* server = nullptr;
    QMainWindow* window = nullptr;
    bool grid = false;

    QString raise(const QString& probeId)
    {
        QString error;
        const QString uid = server->raiseAlarm(probeId, QString(), &error);
        if (uid.isEmpty())
            qWarning("%s", qPrintable(error));
        return uid;
    }

    // A loaded machine may show a change late: the check is repeated until it holds or patience runs out,
    // and only the last screen seen counts. False, with what that screen showed, if it never held.
    static bool holds(const char* when, const std::function<QString(const QImage&)>& failureOn)
    {
        QElapsedTimer waited;
        waited.start();
        for (;;) {
            settle();
            const QImage screen = grabScreen();
            const QString failure = failureOn(screen);
            if (failure.isEmpty())
                return true;
            if (waited.elapsed() >= Patience) {
                keepPicture(screen, when);
                qWarning("%s: %s", when, qPrintable(failure));
                return false;
            }
        }
    }

    static bool popupsShown(const char* when)
    {
        return holds(when, [](const QImage& screen) {
            QList<QRect> above;
            for (AlarmVideoCheckDlg* dlg : stackedDialogs()) {
                int samples = 0;
                const double share =
                    shownShare(screen, dlg->cell(), dlg->cell()->geometry(), above, &samples);
                if (samples >= 10 && share < 0.7)
                    return QString::asprintf("pop-up at %d,%d shows its cell at %d%% of %d points", dlg->x(),
                                             dlg->y(), int(share * 100), samples);
                above.append(dlg->frameGeometry());
            }
            return QString();
        });
    }

    bool windowShown(const char* when) const
    {
        QList<QRect> above;
        const bool shown = holds(when, [&](const QImage& screen) {
            above.clear();
            for (AlarmVideoCheckDlg* dlg : stackedDialogs())
                above.append(dlg->frameGeometry());
            int samples = 0;
            const double share = shownShare(screen, window, window->geometry(), above, &samples);
            return samples > 100 && share >= 0.8
                       ? QString()
                       : QString::asprintf("the console window shows itself at %d%% of %d points",
                                           int(share * 100), samples);
        });
        if (!shown) {
            window->grab().save(QString::fromLatin1(when).replace(QLatin1Char(' '), QLatin1Char('-')) +
                                "-window.png");
            for (const QRect& r : qAsConst(above))
                qWarning("pop-up frame %d,%d %dx%d", r.x(), r.y(), r.width(), r.height());
            const QRect w = window->geometry();
            qWarning("window %d,%d %dx%d", w.x(), w.y(), w.width(), w.height());
        }
        return shown;
    }

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        grid = qgetenv("VIG_DISPLAY_MODE") == "grid";
        VIG_SYSTEM_MODULE::BusinessConfig& config = moduletest::businessConfig();
        config.setAlarmVideoShowMode(grid ? 1 : 0);
        config.setShowAlarmMap(true);
        config.setMaxVideoCheckDlgCount(3);
        server = moduletest::startSimulatedServer();
        QVERIFY(server);
        server->setGeneratorRate(0);

        AlarmModuleInit& entry = AlarmModuleInit::_instance();
        entry.moduleInit();
        window = new QMainWindow;
        window->setCentralWidget(entry.getVideoAlarmForm());
        VIG_MODULEFORM_MODULE::ModuleFormModuleInit::_instance().setMainWindow(window);
        window->setGeometry(40, 60, 1600, 950);
        // As a host does when the module asks for its form.
        connect(&VIG_CONTACT_MODULE::ModuleAccessSignals::_instance(),
                &VIG_CONTACT_MODULE::ModuleAccessSignals::signalSetCurrentModuleForm, window, [this] {
                    window->raise();
                    window->activateWindow();
                });
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        settle();
    }

    void popupsShowTheirCells()
    {
        if (grid)
            QSKIP("pop-up mode only");
        const QStringList probes = server->probeIds();
        QVERIFY(probes.size() >= 4);
        for (int i = 0; i < 3; ++i)
            QVERIFY(!raise(probes.at(i)).isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(stackedDialogs().size(), 3, Patience);
        QVERIFY(popupsShown("three pop-ups"));
        QVERIFY(windowShown("three pop-ups"));

        // The first pop-up's alarms handled elsewhere: it is freed and reused for a fourth probe.
        AlarmVideoCheckDlg* first = stackedDialogs().first();
        moduletest::handleElsewhere(first->cell()->checkWidget()->alarmUids());
        QTRY_VERIFY_WITH_TIMEOUT(first->isHidden(), Patience);
        QVERIFY(!raise(probes.at(3)).isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(first->isVisible(), Patience);
        QVERIFY(popupsShown("a freed pop-up reused"));
    }

    // What an operator does first: the console is not made active before, and every click goes through the X
    // server. A click on a pop-up brings it whole on top; any other leaves the pop-ups as they stand.

    void operatorClicksKeepPopUpsWhole()
    {
        if (grid)
            QSKIP("pop-up mode only");
        auto* table = window->findChild<AlarmMonitorTable*>();
        auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("tabWidget"));
        QVERIFY(table && tabs && table->rowCount() > 0);
        const auto centre = [](QWidget* widget, const QRect& area) {
            return widget->mapToGlobal(area.center());
        };
        const auto tab = [&](int index) {
            return centre(tabs->tabBar(), tabs->tabBar()->tabRect(index));
        };
        const auto lowestVideo = [] {
            const QList<AlarmVideoCheckDlg*> stack = stackedDialogs();
            QList<QRect> above;
            for (AlarmVideoCheckDlg* dlg : stack.mid(0, stack.size() - 1))
                above.append(dlg->frameGeometry());
            QWidget* video = stack.last()->cell()->videoPanel();
            return uncovered(QRect(video->mapToGlobal(QPoint()), video->size()), above);
        };
        const auto detail = [&] {
            auto* button =
                stackedDialogs().first()->cell()->findChild<QPushButton*>(QStringLiteral("detailCheckBt"));
            return centre(button, button->rect());
        };
        const QList<std::tuple<const char*, std::function<QPoint()>, int, bool>> clicks = {
            {"table row",
             [&] { return centre(table->viewport(), table->visualRect(table->model()->index(0, 1))); }, 0,
             false},
            {"record tab", [&] { return tab(1); }, 1, false},
            {"monitor tab", [&] { return tab(0); }, 0, false},
            {"Detail", detail, 2, false},
            {"lowest video", lowestVideo, 2, true},
        };
        for (const auto& [what, spot, tabAfter, lowestOnTop] : clicks) {
            AlarmVideoCheckDlg* top = lowestOnTop ? stackedDialogs().last() : stackedDialogs().first();
            const QPoint at = spot();
            QVERIFY(!at.isNull());
            click(at);
            QTRY_COMPARE_WITH_TIMEOUT(tabs->currentIndex(), tabAfter, Patience);
            QTRY_COMPARE_WITH_TIMEOUT(stackedDialogs().first(), top, Patience);
            QVERIFY(
                popupsShown(qPrintable(QStringLiteral("after a click on the %1").arg(QLatin1String(what)))));
        }

        // Dragged by its frame, then by a point of its cell that does not use the mouse: the cell goes with
        // it.
        AlarmVideoCheckDlg* dlg = stackedDialogs().first();
        for (const QPoint& handle : {QPoint(4, dlg->height() / 2), QPoint(26, dlg->height() - 14)}) {
            const QPoint from = dlg->pos() + handle;
            const QPoint to = from + QPoint(-60, 40);
            xdotool(QString::asprintf(
                "mousemove %d %d mousedown 1 mousemove %d %d sleep 0.2 mousemove %d %d sleep 0.2 "
                "mouseup 1",
                from.x(), from.y(), from.x() - 30, from.y() + 20, to.x(), to.y()));
            QTRY_COMPARE_WITH_TIMEOUT(dlg->pos() + handle, to, Patience);
            QVERIFY(popupsShown("after a drag"));
        }
    }

    void gridAndDetailShowTheirWidgets()
    {
        if (!grid)
            QSKIP("grid mode only");
        const QStringList probes = server->probeIds();
        QString last;
        for (int i = 0; i < 3; ++i)
            QVERIFY(!(last = raise(probes.at(i))).isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!window->findChildren<AlarmVideoCheckWt*>().isEmpty(), Patience);
        QVERIFY(windowShown("grid with three alarms"));

        emit AlarmSignals::_instance().signalAlarmTableRecordDoubleClicked(
            moduletest::alarmOf(last, probes.at(2)), LiveVideoRelation);
        auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("tabWidget"));
        QVERIFY(tabs);
        QTRY_COMPARE_WITH_TIMEOUT(tabs->count(), 3, Patience);
        QTRY_COMPARE_WITH_TIMEOUT(tabs->currentIndex(), 2, Patience);
        QVERIFY(windowShown("detail tab"));
    }
};

QTEST_MAIN(TstDisplayStacking)
#include "display_stacking.moc"
