// The one table of skin object kinds: what it recognises at the top of a file, what it creates, and that the skin
// compiler knows every kind by the same keyword and has a field layout for every kind that stores fields.
#include "skin/Skin.h"
#include "skin/SkinKinds.h"
#include "skin/SkinObject.h"
#include "tools/skinc/SkinFieldTable.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(SkinKinds, EveryKindCreatesAnObjectOfItsOwnKindAndIsFoundByItsKeyword) {
    std::set<DWORD> numbers;
    std::set<std::string> names;
    for (const CSkinKindInfo *p = CSkinKinds::Begin(); p != CSkinKinds::End(); ++p) {
        SCOPED_TRACE(p->name);
        EXPECT_TRUE(numbers.insert(p->kind).second) << "kind listed twice";
        EXPECT_TRUE(names.insert(p->name).second) << "keyword listed twice";
        std::unique_ptr<CSkinObject> object = CSkinObject::Create(p->kind);
        ASSERT_NE(nullptr, object);
        EXPECT_EQ(p->kind, object->GetKind());
        EXPECT_EQ(p, CSkinKinds::Find(p->name));
        DWORD kind = 0;
        ASSERT_TRUE(CSkinFieldTable::KindFromName(p->name, &kind));
        EXPECT_EQ(p->kind, kind);
        EXPECT_STREQ(p->name, CSkinFieldTable::KindName(p->kind));
        EXPECT_EQ(p->bTopLevel, CSkin::IsObjectKind(p->kind));
        // Every kind but the image and plain lists' stores fields the compiler can set.
        if (p->kind != SKIN_KIND_IMAGE && p->kind != SKIN_KIND_PLAIN)
            EXPECT_FALSE(CSkinFieldTable::Fields(p->kind).empty());
    }
    EXPECT_EQ(22u, numbers.size());
}

TEST(SkinKinds, TheFileListsExactlyTheseKindsAtTheTop) {
    const DWORD top[] = {1, 2, 4, 5, 6, 8, 10, 11, 12, 13, 14, 15, 17, 23, 24, 25, 26, 27};
    std::set<DWORD> expected(std::begin(top), std::end(top));
    for (DWORD kind = 0; kind < 64; ++kind)
        EXPECT_EQ(expected.count(kind) == 1, CSkin::IsObjectKind(kind)) << "kind " << kind;
    // Kinds without a record layout are neither created nor named.
    for (DWORD kind : {0u, 7u, 9u, 16u, 21u, 22u, 28u, 0xFFFFFFFFu}) {
        EXPECT_EQ(nullptr, CSkinObject::Create(kind)) << kind;
        EXPECT_EQ(nullptr, CSkinFieldTable::KindName(kind)) << kind;
    }
    DWORD kind = 99;
    EXPECT_FALSE(CSkinFieldTable::KindFromName("tab", &kind));
    EXPECT_EQ(99u, kind);
}

} // namespace
