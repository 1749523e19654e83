#pragma once

#include <notiko/notificationarea.h>
#include <QList>

// Stands in for the desktop's notification area: records every operation and
// answers as the test says.
class FakeArea final : public notiko::NotificationArea
{
public:
    struct Call
    {
        notiko::NotifyMessage message;
        notiko::NotifyIconData record;
    };

    int notifyIcon(notiko::NotifyMessage message, const notiko::NotifyIconData& record) override
    {
        calls.append({message, record});
        return answer;
    }

    QList<Call> calls;
    int answer = 1;
};
