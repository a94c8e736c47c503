#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "cl_arrow.h"
#include "cl_count.h"
#include "cl_scale_bar.h"
#include "cl_text.h"
#include "record_bytes.h"

namespace {

// The base part of a record, as the base writes it for the same fields.
Bytes BaseRecord(const CCLObject& object) {
    CCLObject base(object);
    base.visible = object.visible;
    return Store(base);
}

void StyleBase(CCLObject& o) {
    o.number = 4;
    o.drawColour = 0x00AA5511;
    o.scale = 0.5f;
    o.unitText = u"mm";
    o.label.text = u"x";
    o.label.x = 3.25f;
}

struct RecordCase {
    const char* name;
    std::function<std::unique_ptr<CCLObject>()> make;  // a filled object
    std::function<Bytes()> ownBytes;                   // its fields after the base record
    std::function<std::unique_ptr<CCLObject>()> blank;
};

std::vector<RecordCase> Cases() {
    return {
        {"text",
         [] {
             auto o = std::make_unique<CCLText>();
             StyleBase(*o);
             o->position = {12.5f, -4};
             o->text = u"样本 1";
             return std::unique_ptr<CCLObject>(std::move(o));
         },
         [] {
             ByteWriter w;
             w.F32(12.5f);
             w.F32(-4);
             w.Text(u"样本 1");
             return w.bytes;
         },
         [] { return std::unique_ptr<CCLObject>(std::make_unique<CCLText>()); }},
        {"arrow",
         [] {
             auto o = std::make_unique<CCLArrow>();
             StyleBase(*o);
             o->SetArrowStyle(6, 50, 40);
             o->tip = {100, 101};
             o->topLeft = {90.5f, 80.25f};
             o->SetArrowColor(0x00123456);
             return std::unique_ptr<CCLObject>(std::move(o));
         },
         [] {
             ByteWriter w;
             w.I32(40);  // height first
             w.I32(50);
             w.F32(90.5f);
             w.F32(80.25f);
             w.F32(50 * 0.008333334f);
             w.I32(6);
             w.F32(100);
             w.F32(101);
             w.I32(0x00123456);
             return w.bytes;
         },
         [] { return std::unique_ptr<CCLObject>(std::make_unique<CCLArrow>()); }},
        {"counter",
         [] {
             auto o = std::make_unique<CCL_CountDiamond>();
             StyleBase(*o);
             o->centre = {7.5f, 8};
             o->markerColour = 0x0000FF00;
             o->size = 21;
             return std::unique_ptr<CCLObject>(std::move(o));
         },
         [] {
             ByteWriter w;
             w.F32(7.5f);
             w.F32(8);
             w.I32(0x0000FF00);
             w.Text(u"菱形计数器");
             w.I32(21);
             return w.bytes;
         },
         [] { return std::unique_ptr<CCLObject>(std::make_unique<CCL_CountDiamond>()); }},
        {"scale bar",
         [] {
             auto o = std::make_unique<CCL_BiaoChi>();
             StyleBase(*o);
             o->origin = {30, 40.5f};
             o->tick = 6;
             o->value = 0.1f;
             o->thickness = 3;
             o->background = 1;
             o->barUnit = u"μm";
             return std::unique_ptr<CCLObject>(std::move(o));
         },
         [] {
             ByteWriter w;
             w.F32(30);
             w.F32(40.5f);
             w.I32(6);
             w.F32(0.1f);
             w.I32(3);
             w.I32(1);
             w.Text(u"μm");
             return w.bytes;
         },
         [] { return std::unique_ptr<CCLObject>(std::make_unique<CCL_BiaoChi>()); }},
    };
}

TEST(AnnotationRecord, OwnFieldsFollowTheBaseRecordByteForByte) {
    for (const RecordCase& c : Cases()) {
        const std::unique_ptr<CCLObject> object = c.make();
        Bytes expected = BaseRecord(*object);
        const Bytes own = c.ownBytes();
        expected.insert(expected.end(), own.begin(), own.end());
        EXPECT_EQ(Store(*object), expected) << c.name;
    }
}

TEST(AnnotationRecord, RoundTripsByteForByte) {
    for (const RecordCase& c : Cases()) {
        const std::unique_ptr<CCLObject> object = c.make();
        const Bytes stored = Store(*object);
        const std::unique_ptr<CCLObject> back = c.blank();
        Load(*back, stored);
        EXPECT_EQ(Store(*back), stored) << c.name;
        EXPECT_EQ(back->id, object->id) << c.name;
        EXPECT_EQ(back->unitText, u"mm") << c.name;
    }
}

// A record cut anywhere in the class's own fields is an error and leaves
// the target as it was, base part included.
TEST(AnnotationRecord, CutRecordChangesNothing) {
    for (const RecordCase& c : Cases()) {
        const Bytes stored = Store(*c.make());
        const std::size_t baseSize = BaseRecord(*c.make()).size();
        const std::unique_ptr<CCLObject> target = c.blank();
        target->number = 77;
        target->visible = 0;
        const Bytes before = Store(*target);
        for (std::size_t cut = baseSize; cut < stored.size(); ++cut) {
            try {
                Load(*target, Bytes(stored.begin(), stored.begin() + static_cast<std::ptrdiff_t>(cut)));
                ADD_FAILURE() << c.name << " loaded a record cut at " << cut;
            } catch (const ArchiveException& e) {
                EXPECT_EQ(e.GetCause(), ArchiveException::endOfFile) << c.name << " " << cut;
            }
            ASSERT_EQ(Store(*target), before) << c.name << " cut at " << cut;
        }
    }
}

TEST(AnnotationRecord, OverlongTextsAreRefused) {
    CCL_CountCircle counter;
    counter.name.assign(CCL_Count::kMaxNameChars + 1, u'n');
    CCL_BiaoChi bar;
    bar.barUnit.assign(CCLObject::kMaxUnitChars + 1, u'u');
    for (CCLObject* object : {static_cast<CCLObject*>(&counter), static_cast<CCLObject*>(&bar)}) {
        const Bytes stored = Store(*object);
        CCL_CountCircle counterTarget;
        CCL_BiaoChi barTarget;
        CCLObject& target = object == &counter ? static_cast<CCLObject&>(counterTarget) : barTarget;
        const Bytes before = Store(target);
        try {
            Load(target, stored);
            ADD_FAILURE() << "loaded an overlong text";
        } catch (const ArchiveException& e) {
            EXPECT_EQ(e.GetCause(), ArchiveException::tooLarge);
        }
        EXPECT_EQ(Store(target), before);
    }
}

}  // namespace
