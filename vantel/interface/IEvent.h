#pragma once

class IEvent
{
public:
    virtual ~IEvent() = default;
};
