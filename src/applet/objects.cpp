#include "applet/objects.h"

#include <cstring>

#include "platform/guards.h"

int AddAppletObject(HGLOBAL* list, int32_t* count, const APPLETOBJECT* object)
{
    const int32_t newCount = *list ? *count + 1 : 1;
    if (newCount <= 0)
        return 0;
    const SIZE_T bytes = sizeof(APPLETOBJECT) * static_cast<SIZE_T>(newCount);
    HGLOBAL grown = *list ? GlobalReAlloc(*list, bytes, GMEM_MOVEABLE | GMEM_ZEROINIT)
                          : GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (grown == nullptr)
        return 0;
    *list = grown;
    {
        GlobalLockGuard<APPLETOBJECT> records(grown);
        if (!records)
            return 0;
        records.get()[newCount - 1] = *object;
    }
    *count = newCount;
    return 1;
}

HGLOBAL GetAppletObject(HGLOBAL list, int index, APPLETOBJECT* object)
{
    GlobalLockGuard<APPLETOBJECT> records(list);
    if (!records)
        return nullptr;
    *object = records.get()[index];
    return object->data;
}

int PutAppletObject(HGLOBAL list, int index, const APPLETOBJECT* object)
{
    GlobalLockGuard<APPLETOBJECT> records(list);
    if (!records)
        return 0;
    records.get()[index] = *object;
    return 1;
}

int MakeNewAppletObject(APPLETOBJECT* object, HGLOBAL list, int32_t count, HGLOBAL data, uint32_t tag)
{
    std::memset(object, 0, sizeof *object);
    int32_t candidate = 1;
    if (count > 0) {
        // One lock for the whole search: it rescans from the start at every
        // number found taken.
        GlobalLockGuard<APPLETOBJECT> records(list);
        if (!records)
            return 0;
        for (int32_t i = 0; i < count; ++i) {
            const APPLETOBJECT& record = records.get()[i];
            if (record.data == nullptr)
                return 0;
            if (record.number == candidate) {
                if (++candidate >= APPLETOBJECT_NUMBER_LIMIT)
                    return 0;
                i = -1;
            }
        }
    }
    object->tag = tag;
    object->size = static_cast<uint32_t>(GlobalSize(data));
    object->number = candidate;
    object->data = data;
    return 1;
}

int FindNumberedAppletObject(APPLETOBJECT* object, HGLOBAL list, int32_t count, int32_t number)
{
    std::memset(object, 0, sizeof *object);
    for (int32_t i = 0; i < count; ++i) {
        APPLETOBJECT record;
        // A record without data ends the search.
        if (GetAppletObject(list, i, &record) == nullptr)
            return 0;
        if (record.number == number) {
            *object = record;
            return 1;
        }
    }
    return 0;
}
