#pragma once

#include <QLoggingCategory>

// The simulated alarm server's log category, "vig.server".
Q_DECLARE_LOGGING_CATEGORY(vigServer)
