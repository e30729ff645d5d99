#pragma once

#include <QLabel>

namespace VIG_ALARM_MOUDLE {

// A bar that tells the operator, in plain words, that the alarm server cannot be reached, since when and
// that the client is reconnecting; hidden while the link is up.
class AlarmLinkBanner : public QLabel
{
    Q_OBJECT

public:
    explicit AlarmLinkBanner(QWidget* parent = nullptr);
    ~AlarmLinkBanner() override;

private:
    void follow();
};

} // namespace VIG_ALARM_MOUDLE
