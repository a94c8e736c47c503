#pragma once
// One prototype object per drawing tool: the object in progress is driven on
// its tool's prototype, and a finished object is a copy of it.
#include <array>
#include <memory>

#include "cl_object.h"

class CCL_Scale;

class CToolPrototypes {
public:
    static constexpr int kToolCount = 20;
    static constexpr int kCalibrationTool = 1;

    // Every drawing tool: the figures 1 to 12, text, counters, scale bar and
    // arrow.
    CToolPrototypes();

    // Adds the prototype of `tool`, of class T.
    template <typename T>
    void Register(int tool) {
        if (tool > 0 && tool < kToolCount) {
            entries_[static_cast<std::size_t>(tool)] = {
                std::make_unique<T>(), [](const CCLObject& prototype) -> std::unique_ptr<CCLObject> {
                    return std::make_unique<T>(static_cast<const T&>(prototype));
                }};
        }
    }

    // nullptr for a tool without a prototype.
    CCLObject* Get(int tool) const;
    // The prototype of a tool registered with class T.
    template <typename T>
    T& As(int tool) const {
        return dynamic_cast<T&>(*Get(tool));
    }
    // A new object of the tool's class copied from its prototype.
    std::unique_ptr<CCLObject> CopyOf(int tool) const;
    CCL_Scale& CalibrationLine() const;

    template <typename F>
    void ForEach(F&& f) const {
        for (const Entry& e : entries_) {
            if (e.object) {
                f(*e.object);
            }
        }
    }

private:
    struct Entry {
        std::unique_ptr<CCLObject> object;
        std::unique_ptr<CCLObject> (*copy)(const CCLObject&) = nullptr;
    };
    std::array<Entry, kToolCount> entries_;
};
