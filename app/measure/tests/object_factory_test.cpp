#include <gtest/gtest.h>

#include "object_factory.h"

namespace {

TEST(ObjectFactory, OnlyStoredTagsMakeObjects) {
    for (std::int32_t tag = -2; tag <= 21; ++tag) {
        const bool stored = (tag >= 2 && tag <= 17) || tag == 19;
        EXPECT_EQ(IsStoredObjectTag(tag), stored) << tag;
        const auto object = CreateObjectForTag(tag);
        EXPECT_EQ(object != nullptr, stored) << tag;
        if (object) {
            EXPECT_EQ(object->type, tag);
        }
    }
}

TEST(ObjectFactory, TagsOutsideTheTableNeverMakeObjects) {
    for (std::int32_t tag : {0, 1, 18, 20, -1, 0x7FFFFFFF}) {
        EXPECT_EQ(CreateObjectForTag(tag), nullptr) << tag;
    }
}

}  // namespace
