#pragma once

#include <QMetaType>

namespace VIG_SYSTEM_MODULE {

struct VideoSteamConfigInfo
{
    int videoViewSplitCount = 4;
    int defaultStreamingMediaFlag = 1; // second field: the stream kind new video windows open
};

} // namespace VIG_SYSTEM_MODULE

Q_DECLARE_METATYPE(VIG_SYSTEM_MODULE::VideoSteamConfigInfo)
