#include "monitor/DelayedNotification.h"

void DelayedNotification::reset()
{
    handler = nullptr;
    type = kFlush;
    path.clear();
    newPath.clear();
    errorCode = 0;
    relativePathOffset = 0;
}
