#pragma once
// A stored object for tests of documents and history steps: the common
// record plus one field of its own, so a reader that skips or misplaces
// class fields is caught whatever the tag says the object is.

#include <memory>

#include "archive.h"
#include "cl_object.h"
#include "object_factory.h"

class TestTaggedObject : public CCLObject {
public:
    explicit TestTaggedObject(std::int32_t tag) { type = tag; }
    void Serialize(CArchive& ar) override {
        CCLObject::Serialize(ar);
        if (ar.IsStoring()) {
            ar << extra;
        } else {
            ar >> extra;
        }
    }
    std::int32_t extra = 0;
};

// The object factory of these tests: a TestTaggedObject for every stored tag
// and nothing for any other, as CreateObjectForTag makes nothing for them.
inline std::unique_ptr<CCLObject> MakeTestTaggedObject(std::int32_t tag) {
    if (!IsStoredObjectTag(tag)) {
        return nullptr;
    }
    return std::make_unique<TestTaggedObject>(tag);
}
