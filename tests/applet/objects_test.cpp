#include <gtest/gtest.h>

#include "applet/objects.h"
#include "show/format.h"

namespace {

class ObjectList : public testing::Test {
protected:
    void TearDown() override
    {
        for (int32_t i = 0; i < count; ++i) {
            APPLETOBJECT o;
            if (HGLOBAL data = GetAppletObject(list, i, &o))
                GlobalFree(data);
        }
        if (list)
            GlobalFree(list);
    }

    void Add(int32_t number)
    {
        APPLETOBJECT o{};
        o.tag = TAG_PICT;
        o.number = number;
        o.data = GlobalAlloc(GMEM_MOVEABLE, 8 + number % 5);
        ASSERT_EQ(AddAppletObject(&list, &count, &o), 1);
    }

    HGLOBAL list = nullptr;
    int32_t count = 0;
};

TEST_F(ObjectList, AppendingToAnEmptyListMakesOneRecord)
{
    Add(5);
    EXPECT_NE(list, nullptr);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(GlobalSize(list), sizeof(APPLETOBJECT));
    APPLETOBJECT o;
    EXPECT_NE(GetAppletObject(list, 0, &o), nullptr);
    EXPECT_EQ(o.number, 5);
}

TEST_F(ObjectList, LookupFindsTheFirstOfANumber)
{
    Add(1);
    Add(2);
    Add(2);
    APPLETOBJECT first, found;
    GetAppletObject(list, 1, &first);
    ASSERT_EQ(FindNumberedAppletObject(&found, list, count, 2), 1);
    EXPECT_EQ(found.data, first.data);
    EXPECT_EQ(FindNumberedAppletObject(&found, list, count, 3), 0);
    EXPECT_EQ(found.data, nullptr);
    EXPECT_EQ(FindNumberedAppletObject(&found, list, 0, 1), 0);
}

TEST_F(ObjectList, LookupStopsAtARecordWithoutData)
{
    Add(1);
    Add(2);
    APPLETOBJECT hole;
    HGLOBAL data = GetAppletObject(list, 0, &hole);
    hole.data = nullptr;
    ASSERT_EQ(PutAppletObject(list, 0, &hole), 1);
    APPLETOBJECT found;
    EXPECT_EQ(FindNumberedAppletObject(&found, list, count, 2), 0);
    GlobalFree(data);
}

TEST_F(ObjectList, NewNumbersFillTheFirstGap)
{
    Add(1);
    Add(2);
    Add(4);
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, 12);
    APPLETOBJECT o;
    ASSERT_EQ(MakeNewAppletObject(&o, list, count, data, TAG_WAVE), 1);
    EXPECT_EQ(o.number, 3);
    EXPECT_EQ(o.tag, TAG_WAVE);
    EXPECT_EQ(o.size, 12u);
    EXPECT_EQ(o.data, data);
    GlobalFree(data);
}

TEST_F(ObjectList, NewNumbersRunOutAt16383)
{
    // Every number taken, in descending order, so that the search rescans
    // many times. The records are laid out at once rather than appended.
    count = 16383;
    list = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(APPLETOBJECT) * count);
    {
        auto* records = static_cast<APPLETOBJECT*>(GlobalLock(list));
        for (int32_t i = 0; i < count; ++i) {
            records[i].number = count - i;
            records[i].data = GlobalAlloc(GMEM_MOVEABLE, 1);
        }
        GlobalUnlock(list);
    }
    APPLETOBJECT o;
    EXPECT_EQ(MakeNewAppletObject(&o, list, count, nullptr, TAG_PICT), 0);
    HGLOBAL none = nullptr;
    EXPECT_EQ(MakeNewAppletObject(&o, none, 0, nullptr, TAG_PICT), 1);
    EXPECT_EQ(o.number, 1);
}

}  // namespace
