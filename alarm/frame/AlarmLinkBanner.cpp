#include "frame/AlarmLinkBanner.h"

#include "frame/AlarmLinkState.h"

namespace VIG_ALARM_MOUDLE {

AlarmLinkBanner::AlarmLinkBanner(QWidget* parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("VIG_LinkBanner"));
    setWordWrap(true);
    // Set here, not in the module's style sheet: a host's own sheet must not hide it.
    setStyleSheet(QStringLiteral("QLabel#VIG_LinkBanner { background: #b3261e; color: #ffffff;"
                                 " font-weight: bold; padding: 6px 10px; border-radius: 3px; }"));
    connect(&AlarmLinkState::_instance(), &AlarmLinkState::signalLinkChanged, this, &AlarmLinkBanner::follow);
    follow();
}

AlarmLinkBanner::~AlarmLinkBanner() = default;

void AlarmLinkBanner::follow()
{
    const QString words = AlarmLinkState::_instance().text();
    setText(words);
    setVisible(!words.isEmpty());
}

} // namespace VIG_ALARM_MOUDLE
