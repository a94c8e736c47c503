#include "fake_property_set.h"
#include "ks_property.h"
#include "property_sets.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <set>
#include <tuple>
#include <vector>

using ks_testing::FakeFilter;
using ks_testing::FakePropertySet;
using ks_testing::kRefused;
using ks_testing::Same;

namespace {

using Getter = long (CKsProperty::*)(long&);
using Setter = long (CKsProperty::*)(long);

struct Accessor {
    const char* name;
    DWORD id;
    Getter get;  // null: write-only
    Setter set;
    bool preset;  // the getter stores -1 first
};

const std::vector<Accessor>& Accessors() {
    static const std::vector<Accessor> table = {
        {"AE", 0, &CKsProperty::GetAE, &CKsProperty::SetAE, true},
        {"AWB", 1, &CKsProperty::GetAWB, &CKsProperty::SetAWB, true},
        {"BW", 2, &CKsProperty::GetBW, &CKsProperty::SetBW, true},
        {"LightAVG", 3, &CKsProperty::GetLightAVG, &CKsProperty::SetLightAVG, true},
        {"AEHML", 5, &CKsProperty::GetAEHML, &CKsProperty::SetAEHML, true},
        {"MODEL", 6, &CKsProperty::GetMODEL, &CKsProperty::SetMODEL, true},
        {"Exposure", 7, &CKsProperty::GetExposure, &CKsProperty::SetExposure, true},
        {"Gain_R", 8, &CKsProperty::GetGain_R, &CKsProperty::SetGain_R, true},
        {"Gain_B", 9, &CKsProperty::GetGain_B, &CKsProperty::SetGain_B, true},
        {"Gain_G", 10, &CKsProperty::GetGain_G, &CKsProperty::SetGain_G, true},
        {"Contrast", 11, &CKsProperty::GetContrast, &CKsProperty::SetContrast, true},
        {"Offset_H", 12, &CKsProperty::GetOffset_H, &CKsProperty::SetOffset_H, true},
        {"Offset_V", 13, &CKsProperty::GetOffset_V, &CKsProperty::SetOffset_V, true},
        {"CrossMid", 16, &CKsProperty::GetCrossMid, &CKsProperty::SetCrossMid, true},
        {"VideoZoom", 22, &CKsProperty::GetVideoZoom, &CKsProperty::SetVideoZoom, false},
        {"ClearView", 23, &CKsProperty::GetClearView, &CKsProperty::SetClearView, false},
        {"Gamma", 29, &CKsProperty::GetGamma, &CKsProperty::SetGamma, true},
        {"FinBadPNT", 30, &CKsProperty::GetFinBadPNT, &CKsProperty::SetFinBadPNT, false},
        {"LightAVGTable", 31, nullptr, &CKsProperty::SetLightAVGTable, false},
    };
    return table;
}

GUID Candidate(std::size_t order) { return CandidatePropertySets()[order - 1].set; }

// A camera answering the given candidates (1-based table positions).
struct Camera {
    FakePropertySet set;
    FakeFilter filter{&set};
    explicit Camera(std::vector<std::size_t> answering = {}) {
        for (std::size_t order : answering) set.answers.push_back(Candidate(order));
    }
};

TEST(KsPropertySets, TableHoldsTheFortyTwoSetsOfOneFamily) {
    auto sets = CandidatePropertySets();
    ASSERT_EQ(sets.size(), 42u);
    const std::set<std::vector<unsigned char>> heads = {{0xBE, 0xAB}, {0x00, 0x00}, {0x01, 0x00}, {0x01, 0x01}};
    std::vector<GUID> seen;
    for (std::size_t i = 0; i < sets.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const GUID& g = sets[i].set;
        EXPECT_EQ(g.Data1 & 0xFFFFF000u, 0x1F8D9000u);
        EXPECT_TRUE(g.Data2 == 0xAB21 || g.Data2 == 0xAB20 || g.Data2 == 0xAB22);
        EXPECT_EQ(g.Data3, 0x48FE);
        EXPECT_EQ(heads.count({g.Data4[0], g.Data4[1]}), 1u);
        EXPECT_TRUE((g.Data4[2] == 0x51 || g.Data4[2] == 0x50) || (g.Data4[2] == 0x56 && g.Data4[3] == 0x47 &&
                                                                 g.Data4[4] == 0x41));
        EXPECT_EQ(g.Data4[6], 0x4B);
        EXPECT_GE(sets[i].type, 1);
        EXPECT_LE(sets[i].type, 14);
        seen.push_back(g);
    }
    // Candidates 3 and 14 are the same set; every other one differs.
    int duplicates = 0;
    for (std::size_t i = 0; i < seen.size(); ++i)
        for (std::size_t j = i + 1; j < seen.size(); ++j) duplicates += Same(seen[i], seen[j]);
    EXPECT_EQ(duplicates, 1);
    EXPECT_TRUE(Same(seen[2], seen[13]));
}

TEST(KsProperty, KeepsItsLayoutForCallersThatAllocateIt) {
    EXPECT_EQ(offsetof(CKsProperty, m_guid), 0u);
    EXPECT_EQ(offsetof(CKsProperty, m_deviceType), 16u);
    EXPECT_EQ(offsetof(CKsProperty, m_pFilter), 16u + sizeof(void*));
    EXPECT_EQ(offsetof(CKsProperty, m_pKsPropertySet), 16u + 2 * sizeof(void*));
    EXPECT_EQ(offsetof(CKsProperty, m_pUnknown), 16u + 3 * sizeof(void*));
    EXPECT_EQ(sizeof(CKsProperty), 16u + 4 * sizeof(void*));
    EXPECT_EQ(sizeof(KSP_DEVICE_TYPE), 4u);
}

TEST(KsProperty, UnboundObjectsAnswerOneWithoutACall) {
    Camera silent;                    // has the interface, answers no set
    FakeFilter bare;                  // no property-set interface
    FakeFilter closed;                // refuses even IUnknown
    closed.refuseUnknown = true;
    CKsProperty nullFilter(nullptr);
    CKsProperty none(&silent.filter);
    CKsProperty noInterface(&bare);
    CKsProperty noUnknown(&closed);
    for (CKsProperty* object : {&nullFilter, &none, &noInterface, &noUnknown}) {
        EXPECT_EQ(object->m_deviceType, KSP_DEVICE_NONE);
        EXPECT_TRUE(IsNullGuid(object->m_guid));
        for (const Accessor& a : Accessors()) {
            SCOPED_TRACE(a.name);
            long value = 1234;
            if (a.get) {
                EXPECT_EQ((object->*a.get)(value), 1);
                EXPECT_EQ(value, a.preset ? -1 : 1234);
            }
            EXPECT_EQ((object->*a.set)(5), 1);
        }
        long on = 7, x = 7, y = 7;
        EXPECT_EQ(object->GetCrosslineStatus(on, x, y), 1);
        EXPECT_EQ(std::make_tuple(on, x, y), std::make_tuple(-1L, 0L, 0L));
        EXPECT_EQ(object->EnableCrossLine(1, 2, 3), 1);
        unsigned char block[64] = {};
        EXPECT_EQ(object->GetSerialNum(block), 1);
        EXPECT_EQ(object->SetSerialNum(block), 1);
    }
    EXPECT_EQ(noInterface.m_pUnknown, nullptr);
    EXPECT_EQ(noInterface.m_pKsPropertySet, nullptr);
    EXPECT_EQ(bare.references, 0);
    EXPECT_EQ(closed.references, 0);
    // The silent camera was probed once per candidate, then never again.
    EXPECT_EQ(silent.set.calls.size(), 42u);
}

TEST(KsProperty, ProbeTakesTheFirstCandidateThatAnswers) {
    struct Case {
        std::vector<std::size_t> answering;
        std::size_t winner;  // 0: none
        int type;
    };
    const std::vector<Case> cases = {
        {{1, 9}, 1, 1},
        {{9, 1}, 1, 1},
        {{24}, 24, 5},
        {{23}, 23, 2},
        {{42, 30}, 30, 10},
        {{}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.winner);
        Camera camera(c.answering);
        CKsProperty object(&camera.filter);
        EXPECT_EQ(object.m_deviceType, c.type);
        if (c.winner) {
            EXPECT_TRUE(Same(object.m_guid, Candidate(c.winner)));
        } else {
            EXPECT_TRUE(IsNullGuid(object.m_guid));
        }
        std::size_t probes = c.winner ? c.winner : 42;
        ASSERT_EQ(camera.set.calls.size(), probes);
        for (std::size_t i = 0; i < probes; ++i) {
            const auto& call = camera.set.calls[i];
            EXPECT_FALSE(call.set);
            EXPECT_EQ(call.id, 7u);
            EXPECT_EQ(call.size, 4u);
            EXPECT_TRUE(call.sameBuffer);
            EXPECT_TRUE(Same(call.guid, Candidate(i + 1)));
        }
    }
    const GUID expected = {0x1F8D9300, 0xAB21, 0x48FE, {0x01, 0x00, 0x56, 0x47, 0x41, 0xED, 0x4B, 0x67}};
    EXPECT_TRUE(Same(Candidate(24), expected));
}

TEST(KsProperty, EveryCandidateAloneGivesItsTableType) {
    auto sets = CandidatePropertySets();
    for (std::size_t order = 1; order <= sets.size(); ++order) {
        SCOPED_TRACE(order);
        Camera camera({order});
        CKsProperty object(&camera.filter);
        EXPECT_EQ(object.m_deviceType, sets[order - 1].type);
        // Candidate 14 repeats candidate 3, so the earlier position answers.
        std::size_t first = order == 14 ? 3 : order;
        EXPECT_EQ(camera.set.calls.size(), first);
    }
}

TEST(KsProperty, BoundAccessorsReachTheirPropertyIds) {
    Camera camera({5});
    CKsProperty object(&camera.filter);
    camera.set.calls.clear();
    for (const Accessor& a : Accessors()) {
        SCOPED_TRACE(a.name);
        const long written = -1000 - static_cast<long>(a.id);
        EXPECT_EQ((object.*a.set)(written), 0);
        ASSERT_FALSE(camera.set.calls.empty());
        auto call = camera.set.calls.back();
        EXPECT_TRUE(call.set);
        EXPECT_EQ(call.id, a.id);
        EXPECT_EQ(call.size, 4u);
        EXPECT_TRUE(call.sameBuffer);
        EXPECT_TRUE(Same(call.guid, Candidate(5)));
        EXPECT_EQ(camera.set.values[a.id], written);
        if (a.get) {
            long read = 0;
            EXPECT_EQ((object.*a.get)(read), 0);
            EXPECT_EQ(camera.set.calls.back().id, a.id);
            EXPECT_FALSE(camera.set.calls.back().set);
            EXPECT_EQ(read, written);
        }
    }
}

TEST(KsProperty, RefusedCallsPassTheirResultBack) {
    Camera camera({1});
    CKsProperty object(&camera.filter);
    camera.set.failing[7] = kRefused;
    camera.set.failing[22] = S_FALSE;
    long exposure = 55;
    EXPECT_EQ(object.GetExposure(exposure), kRefused);
    EXPECT_EQ(exposure, -1);
    long zoom = 55;
    EXPECT_EQ(object.GetVideoZoom(zoom), S_FALSE);
    EXPECT_EQ(zoom, 55);
    EXPECT_EQ(object.SetExposure(3), kRefused);
}

TEST(KsProperty, SerialNumberIsOneSixtyFourByteBlock) {
    Camera camera({2});
    CKsProperty object(&camera.filter);
    unsigned char written[64];
    for (int i = 0; i < 64; ++i) written[i] = static_cast<unsigned char>(0xA0 + i);
    EXPECT_EQ(object.SetSerialNum(written), 0);
    unsigned char read[64] = {};
    EXPECT_EQ(object.GetSerialNum(read), 0);
    EXPECT_EQ(std::vector<unsigned char>(read, read + 64), std::vector<unsigned char>(written, written + 64));
    auto call = camera.set.calls.back();
    EXPECT_EQ(call.id, 18u);
    EXPECT_EQ(call.size, 64u);
    EXPECT_TRUE(call.sameBuffer);
    EXPECT_EQ(object.GetSerialNum(nullptr), 1);
}

TEST(KsProperty, CrosslineUsesAllThreePropertiesInOrder) {
    Camera camera({1});
    CKsProperty object(&camera.filter);
    camera.set.values = {{4, 1}, {15, 320}, {14, 240}};
    camera.set.calls.clear();

    camera.set.failing = {{4, kRefused}};
    long on = 9, x = 9, y = 9;
    EXPECT_EQ(object.GetCrosslineStatus(on, x, y), 0);
    EXPECT_EQ(std::make_tuple(on, x, y), std::make_tuple(-1L, 320L, 240L));

    camera.set.failing = {{15, kRefused}};
    EXPECT_NE(object.GetCrosslineStatus(on, x, y), 0);
    EXPECT_EQ(std::make_tuple(on, x, y), std::make_tuple(1L, 0L, 240L));

    camera.set.failing = {{4, kRefused}, {15, kRefused}};
    EXPECT_EQ(object.EnableCrossLine(0, 11, 22), 0);
    camera.set.failing = {{14, kRefused}};
    EXPECT_EQ(object.EnableCrossLine(0, 11, 22), kRefused);

    std::vector<DWORD> ids;
    for (const auto& call : camera.set.calls) ids.push_back(call.id);
    EXPECT_EQ(ids, (std::vector<DWORD>{4, 15, 14, 4, 15, 14, 4, 15, 14, 4, 15, 14}));
    EXPECT_EQ(camera.set.values[14], 22);
}

TEST(KsProperty, PropertiesTheCamerasLackNeverReachIt) {
    Camera camera({1});
    CKsProperty object(&camera.filter);
    camera.set.calls.clear();
    const std::vector<std::pair<Getter, Setter>> absent = {
        {&CKsProperty::GetOffset_R, &CKsProperty::SetOffset_R}, {&CKsProperty::GetOffset_G, &CKsProperty::SetOffset_G},
        {&CKsProperty::GetOffset_B, &CKsProperty::SetOffset_B}, {&CKsProperty::GetRawData, &CKsProperty::SetRawData},
        {&CKsProperty::GetRotate, &CKsProperty::SetRotate}};
    for (const auto& [get, set] : absent) {
        long value = 8;
        EXPECT_EQ((object.*get)(value), 1);
        EXPECT_EQ(value, -1);
        EXPECT_EQ((object.*set)(3), 1);
    }
    EXPECT_TRUE(camera.set.calls.empty());
}

TEST(KsProperty, SetGuidAndProbingAgainMoveTheBinding) {
    Camera camera({9});
    CKsProperty object(&camera.filter);
    ASSERT_EQ(object.m_deviceType, 1);

    object.SetGUID(GUID{});
    camera.set.calls.clear();
    long value = 0;
    EXPECT_EQ(object.GetExposure(value), 1);
    EXPECT_EQ(object.SetGain_R(4), 1);
    EXPECT_TRUE(camera.set.calls.empty());

    // A later probe starts from candidate 1 again; the stored type stays.
    camera.set.answers = {Candidate(30), Candidate(36)};
    EXPECT_EQ(object.CheckDeviceType(), 10);
    EXPECT_TRUE(Same(object.m_guid, Candidate(30)));
    EXPECT_EQ(object.m_deviceType, 1);
    EXPECT_TRUE(Same(camera.set.calls.front().guid, Candidate(1)));
    EXPECT_EQ(object.SetGain_R(4), 0);

    // A probe that finds nothing leaves the set as it was.
    camera.set.answers.clear();
    EXPECT_EQ(object.CheckDeviceType(), KSP_DEVICE_NONE);
    EXPECT_TRUE(Same(object.m_guid, Candidate(30)));
}

TEST(KsProperty, CopiesHoldReferencesOfTheirOwn) {
    Camera first({1});
    Camera second({24});
    {
        CKsProperty a(&first.filter);
        ASSERT_EQ(first.filter.references, 1);
        ASSERT_EQ(first.set.references, 1);
        {
            CKsProperty b(&second.filter);
            b = a;  // gives up the second camera, shares the first
            EXPECT_EQ(second.filter.references, 0);
            EXPECT_EQ(second.set.references, 0);
            EXPECT_EQ(first.filter.references, 2);
            EXPECT_EQ(first.set.references, 2);
            EXPECT_EQ(b.m_deviceType, 1);
            EXPECT_TRUE(Same(b.m_guid, Candidate(1)));
            EXPECT_EQ(b.m_pFilter, &first.filter);

            CKsProperty& self = b;
            b = self;
            EXPECT_EQ(first.filter.references, 2);
            EXPECT_EQ(first.set.references, 2);

            CKsProperty c(b);
            EXPECT_EQ(first.set.references, 3);
            c = CKsProperty();  // an unbound object releases what c held
            EXPECT_EQ(first.set.references, 2);
            EXPECT_EQ(c.m_pKsPropertySet, nullptr);
            long value = 0;
            EXPECT_EQ(c.GetExposure(value), 1);
        }
        EXPECT_EQ(first.filter.references, 1);
        EXPECT_EQ(first.set.references, 1);
        long value = 0;
        EXPECT_EQ(a.GetExposure(value), 0);
    }
    EXPECT_EQ(first.filter.references, 0);
    EXPECT_EQ(first.set.references, 0);
}

}  // namespace
