#include "monitor/DelayedNotification.h"

#include "foundation/ClassPool.h"

void DelayedNotification::reset()
{
    handler = nullptr;
    type = kFlush;
    path.clear();
    newPath.clear();
    errorCode = 0;
    relativePathOffset = 0;
}

void DelayedNotification::recycle()
{
    s::thread::giveBack(this);
}
