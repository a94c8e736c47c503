#pragma once
// A stored object for tests of documents and history steps, standing in for
// the measurement classes this build does not hold: the common record plus
// one field of its own, so a reader that skips or misplaces class fields is
// caught.

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

inline std::unique_ptr<CCLObject> MakeTestTaggedObject(std::int32_t tag) {
    return std::make_unique<TestTaggedObject>(tag);
}

// Registers TestTaggedObject for every stored tag while in scope.
class ScopedTestObjects {
public:
    ScopedTestObjects() : previous_(SetTestObjectMaker(&MakeTestTaggedObject)) {}
    ~ScopedTestObjects() { SetTestObjectMaker(previous_); }
    ScopedTestObjects(const ScopedTestObjects&) = delete;
    ScopedTestObjects& operator=(const ScopedTestObjects&) = delete;

private:
    TestObjectMaker previous_;
};
