#include "SimLogging.h"

Q_LOGGING_CATEGORY(vigServer, "vig.server")
