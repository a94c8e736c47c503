#pragma once
// Undo and redo history of one picture, kept on disk: every change is a
// numbered step whose state (objects and counter styles, and for picture and
// counting changes the picture and the counting engine's state) is written to
// a folder of its own under <temp>/Mikra_TempFiles/<controller number>/<step>.
//
// Step pictures are written as BMP whatever the picture came from, so every
// picture can be saved and an undone picture is exactly the one left.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "kqmk_blocks.h"

class CIMGCount;

struct HistoryStep {
    std::int32_t index = 0;
    std::int32_t hasPicture = 0;
    std::int32_t hasCountingState = 0;
    std::u16string description;
    std::int32_t action = 0;
};

class CHistoryStore {
public:
    static constexpr const char* kBaseFolderName = "Mikra_TempFiles";
    static constexpr const char* kPictureFile = "~TImg";
    static constexpr const char* kEntityListFile = "~TEntityList";
    static constexpr const char* kCountsFile = "~TCounts";
    static constexpr const char* kEdgeImageFile = "~Edge.bmp";

    // Under the system's temporary directory.
    CHistoryStore();
    // Under `temporaryDirectory`; the base folder is created when missing.
    explicit CHistoryStore(const std::filesystem::path& temporaryDirectory);
    CHistoryStore(const CHistoryStore&) = delete;
    CHistoryStore& operator=(const CHistoryStore&) = delete;
    virtual ~CHistoryStore() = default;

    // Starts the history of controller `number` and creates its folder.
    void CreateFolder(std::int32_t number);
    std::filesystem::path GetBaseFolder() const { return baseFolder_; }
    std::filesystem::path DocumentFolder() const;
    std::filesystem::path StepFolder(std::int32_t index) const;

    // Records the state after `step->action` as the newest step; a redo tail
    // is dropped first, and action 0 starts the history afresh. A step
    // without a description is described by its action's own text. Returns false when a file of the
    // step could not be written (the step is recorded all the same, with
    // has picture telling whether its picture was saved).
    bool PushStep(std::unique_ptr<HistoryStep> step, const ObjectList& objects, const CounterStyleList& styles,
                  const CPicture* picture, std::int32_t pictureKind);

    // Reads step `target` and appends its objects and counter styles to the
    // lists; reloads the picture when a step between the current one and the
    // target changed it, and the counting state. Returns false, changing
    // nothing, when the target does not exist or its object list cannot be
    // read.
    bool RestoreStep(CPicture* picture, ObjectList& objects, CounterStyleList& styles, std::int32_t target);

    // Deletes the steps above `index`.
    void TruncateAfter(std::int32_t index);
    // Deletes the folder of this history with all its steps.
    void Clear();
    // The picture of the newest step at or below the current one that has
    // one; false (picture unchanged) when there is none or it cannot be read.
    bool LoadCurrentPicture(CPicture& picture) const;
    // Removes everything under `path`, then `path`; whether it is gone.
    static bool DeleteFolder(const std::filesystem::path& path);

    // The controller's counting engine, not owned; null without one.
    void SetCounter(CIMGCount* counter) { counter_ = counter; }
    // What restored objects are made by; CreateObjectForTag unless set.
    void SetObjectFactory(ObjectFactory makeObject) { makeObject_ = makeObject; }

    std::int32_t Last() const { return last_; }
    std::int32_t Current() const { return current_; }
    const std::vector<std::unique_ptr<HistoryStep>>& Steps() const { return steps_; }
    // Steps 1 .. current, oldest first (step 0 is never undone past).
    std::vector<const HistoryStep*> UndoList() const;
    // Steps current + 1 .. last, oldest first.
    std::vector<const HistoryStep*> RedoList() const;
    // Objects per type in the step read last.
    const ObjectTypeCounters& TypeCounters() const { return counters_; }

private:
    bool WriteEntityList(const std::filesystem::path& folder, const ObjectList& objects,
                         const CounterStyleList& styles) const;
    bool WriteCountingState(const std::filesystem::path& folder) const;
    bool ReadCountingState(const std::filesystem::path& folder) const;
    void DropStepsAbove(std::int32_t index);

    std::filesystem::path baseFolder_;
    std::int32_t number_ = 0;
    std::int32_t last_ = 0;
    std::int32_t current_ = 0;
    std::vector<std::unique_ptr<HistoryStep>> steps_;
    ObjectTypeCounters counters_;
    CIMGCount* counter_ = nullptr;
    ObjectFactory makeObject_ = &CreateObjectForTag;
};
