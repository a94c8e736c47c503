#include "clone_objects.h"

#include "archive.h"
#include "object_factory.h"

std::unique_ptr<CCLObject> CopyObject(const CCLObject& source) {
    if (!IsStoredObjectTag(source.type)) {
        return nullptr;
    }
    std::unique_ptr<CCLObject> copy = CreateObjectForTag(source.type);
    if (!copy) {
        return nullptr;
    }
    // The stored form is the object's whole state; storing only reads it.
    MemoryStream stored;
    try {
        CArchive out(stored, CArchive::store);
        const_cast<CCLObject&>(source).Serialize(out);
        out.Close();
        MemoryStream bytes(stored.Bytes());
        CArchive in(bytes, CArchive::load);
        copy->Serialize(in);
    } catch (const ArchiveException&) {
        return nullptr;
    }
    return copy;
}

int CloneObjectsInto(CDrawingModel& target, const ObjectList& objects, const CCounterStyles& styles) {
    target.Selection().clear();
    target.Objects().clear();
    target.TypeCounters() = ObjectTypeCounters{};
    for (const std::unique_ptr<CCLObject>& object : objects) {
        target.style.unitText = object->unitText;
        target.style.scale = object->scale;
        std::unique_ptr<CCLObject> copy = CopyObject(*object);
        if (!copy) {
            continue;
        }
        // Counters are numbered by their styles, not by type.
        target.TypeCounters().Count(copy->type);
        target.Objects().push_back(std::move(copy));
    }
    if (!styles.Records().empty()) {
        target.CounterStyles().Records() = styles.Records();
    }
    return 1;
}
