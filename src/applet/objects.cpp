#include "applet/objects.h"

#include "platform/guards.h"

HGLOBAL GetAppletObject(HGLOBAL list, int index, APPLETOBJECT* object)
{
    GlobalLockGuard<APPLETOBJECT> records(list);
    if (!records)
        return nullptr;
    *object = records.get()[index];
    return object->data;
}
