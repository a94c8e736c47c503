#include "history_store.h"

#include <system_error>

#include "archive.h"
#include "history_actions.h"
#include "img_count.h"
#include "replace_file.h"

namespace fs = std::filesystem;

namespace {

// "~TCounts": selection present, x, y, width, height, mark colour.
constexpr std::size_t kCountsValues = 6;

// A step file written whole or not at all: a step the program was ended in
// the middle of never holds a torn list.
template <typename Store>
bool WriteArchive(const fs::path& path, Store&& store) {
    return vz::WriteThenReplace(path, [&](const fs::path& partial) {
        try {
            FileStream file(partial, FileStream::Mode::write);
            CArchive ar(file, CArchive::store);
            store(ar);
            ar.Close();
            file.Close();
            return true;
        } catch (const ArchiveException&) {
            return false;
        }
    }) == vz::Replaced::ok;
}

bool SavePicture(const CPicture* picture, const fs::path& file) {
    return picture != nullptr && picture->IsValid() && picture->GetSize() != 0 && picture->Save(file, kPictureBmp);
}

// Gives the engine the step's picture as its source, as a fresh engine over
// that picture would have it. Initialize already makes the luminance grey
// image, so it is not made a second time.
void ResetCounterSource(CIMGCount& counter, const CPicture& picture) {
    const std::uint32_t mark = counter.getMarkColor();
    counter.Initialize(picture.Pixels(), picture.GetWidth(), picture.GetHeight());
    counter.setMarkColor(mark);
}

}  // namespace

namespace {

// The system's temporary directory; the current folder when it has none,
// so that building a controller never fails for want of one.
fs::path SystemTemporaryDirectory() {
    std::error_code ec;
    fs::path temp = fs::temp_directory_path(ec);
    return ec ? fs::path(".") : temp;
}

}  // namespace

CHistoryStore::CHistoryStore() : CHistoryStore(SystemTemporaryDirectory()) {}

CHistoryStore::CHistoryStore(const fs::path& temporaryDirectory) : baseFolder_(temporaryDirectory / kBaseFolderName) {
    std::error_code ignored;
    fs::create_directories(baseFolder_, ignored);
}

fs::path CHistoryStore::DocumentFolder() const { return baseFolder_ / std::to_string(number_); }

fs::path CHistoryStore::StepFolder(std::int32_t index) const { return DocumentFolder() / std::to_string(index); }

void CHistoryStore::CreateFolder(std::int32_t number) {
    if (!steps_.empty()) {
        Clear();
    }
    number_ = number;
    last_ = current_ = 0;
    std::error_code ignored;
    fs::create_directories(DocumentFolder(), ignored);
}

std::vector<const HistoryStep*> CHistoryStore::UndoList() const {
    std::vector<const HistoryStep*> list;
    for (std::int32_t i = 1; i <= current_ && i < static_cast<std::int32_t>(steps_.size()); ++i) {
        list.push_back(steps_[static_cast<std::size_t>(i)].get());
    }
    return list;
}

std::vector<const HistoryStep*> CHistoryStore::RedoList() const {
    std::vector<const HistoryStep*> list;
    for (std::int32_t i = current_ + 1; i <= last_ && i < static_cast<std::int32_t>(steps_.size()); ++i) {
        list.push_back(steps_[static_cast<std::size_t>(i)].get());
    }
    return list;
}

bool CHistoryStore::PushStep(std::unique_ptr<HistoryStep> step, const ObjectList& objects,
                             const CounterStyleList& styles, const CPicture* picture, std::int32_t pictureKind) {
    (void)pictureKind;  // step pictures are always lossless BMP
    if (!step) {
        return false;
    }
    if (current_ < last_) {
        TruncateAfter(current_);
    }
    if (step->action == kHistoryLoad) {
        DropStepsAbove(-1);
    }
    last_ = current_ = static_cast<std::int32_t>(steps_.size());
    step->index = last_;
    if (step->description.empty()) {
        step->description = std::u16string(HistoryActionText(step->action));
    }
    const fs::path folder = StepFolder(step->index);
    std::error_code ignored;
    fs::create_directories(folder, ignored);

    bool written = true;
    const HistoryActionSaves saves = SavesFor(step->action);
    if (saves.picture) {
        // A step whose picture could not be saved says so, and restoring
        // falls back to the newest picture that was.
        step->hasPicture = SavePicture(picture, folder / kPictureFile) ? 1 : 0;
        written = step->hasPicture != 0;
    }
    if (saves.resetCounter && counter_ != nullptr && picture != nullptr && picture->IsValid()) {
        ResetCounterSource(*counter_, *picture);
    }
    if (saves.countingState) {
        step->hasCountingState = 1;
        if (counter_ != nullptr) {
            written = WriteCountingState(folder) && written;
        }
    }
    written = WriteEntityList(folder, objects, styles) && written;
    steps_.push_back(std::move(step));
    return written;
}

bool CHistoryStore::RestoreStep(CPicture* picture, ObjectList& objects, CounterStyleList& styles, std::int32_t target) {
    if (target < 0 || target > last_ || target >= static_cast<std::int32_t>(steps_.size())) {
        return false;
    }
    kqmk::ObjectBlocks blocks;
    try {
        FileStream file(StepFolder(target) / kEntityListFile, FileStream::Mode::read);
        CArchive ar(file, CArchive::load);
        blocks = kqmk::LoadObjectBlocks(ar, makeObject_);
    } catch (const ArchiveException&) {
        return false;
    }

    const std::int32_t first = target < current_ ? target + 1 : current_ + 1;
    const std::int32_t end = target < current_ ? current_ : target;
    bool pictureChanged = false;
    for (std::int32_t i = first; i <= end && i < static_cast<std::int32_t>(steps_.size()); ++i) {
        pictureChanged = pictureChanged || steps_[static_cast<std::size_t>(i)]->hasPicture != 0;
    }
    if (picture != nullptr && pictureChanged) {
        for (std::int32_t i = target; i >= 0; --i) {
            if (steps_[static_cast<std::size_t>(i)]->hasPicture != 0) {
                CPicture loaded;
                if (loaded.Load(StepFolder(i) / kPictureFile, kPictureAuto)) {
                    *picture = std::move(loaded);
                }
                break;
            }
        }
    }
    if (picture != nullptr && counter_ != nullptr) {
        for (std::int32_t i = target; i >= 0; --i) {
            if (steps_[static_cast<std::size_t>(i)]->hasCountingState != 0) {
                ResetCounterSource(*counter_, *picture);
                ReadCountingState(StepFolder(i));
                break;
            }
        }
    }

    for (auto& object : blocks.objects) {
        objects.push_back(std::move(object));
    }
    styles.insert(styles.end(), blocks.styles.begin(), blocks.styles.end());
    counters_ = blocks.counters;
    current_ = target;
    return true;
}

void CHistoryStore::TruncateAfter(std::int32_t index) {
    if (index < 0 || index > last_) {
        return;
    }
    DropStepsAbove(index);
    last_ = current_ = steps_.empty() ? 0 : static_cast<std::int32_t>(steps_.size()) - 1;
}

void CHistoryStore::DropStepsAbove(std::int32_t index) {
    for (auto i = static_cast<std::int32_t>(steps_.size()) - 1; i > index; --i) {
        DeleteFolder(StepFolder(i));
        steps_.pop_back();
    }
}

void CHistoryStore::Clear() {
    DeleteFolder(DocumentFolder());
    steps_.clear();
    last_ = current_ = 0;
}

bool CHistoryStore::LoadCurrentPicture(CPicture& picture) const {
    for (std::int32_t i = std::min<std::int32_t>(current_, static_cast<std::int32_t>(steps_.size()) - 1); i >= 0; --i) {
        if (steps_[static_cast<std::size_t>(i)]->hasPicture != 0) {
            CPicture loaded;
            if (!loaded.Load(StepFolder(i) / kPictureFile, kPictureAuto)) {
                return false;
            }
            picture = std::move(loaded);
            return true;
        }
    }
    return false;
}

bool CHistoryStore::DeleteFolder(const fs::path& path) {
    std::error_code ec;
    fs::remove_all(path, ec);
    return !fs::exists(path, ec);
}

bool CHistoryStore::WriteEntityList(const fs::path& folder, const ObjectList& objects,
                                    const CounterStyleList& styles) const {
    return WriteArchive(folder / kEntityListFile, [&](CArchive& ar) { kqmk::StoreObjectBlocks(ar, objects, styles); });
}

bool CHistoryStore::WriteCountingState(const fs::path& folder) const {
    const bool edgeSaved = counter_->saveEdgeImg(folder / kEdgeImageFile, 1);
    CountPoint corner;
    int width = 0, height = 0;
    const bool hasSelection = counter_->getSelRect(corner, width, height);
    const bool stored = WriteArchive(folder / kCountsFile, [&](CArchive& ar) {
        ar << std::int32_t{hasSelection ? 1 : 0} << std::int32_t{corner.x} << std::int32_t{corner.y}
           << std::int32_t{width} << std::int32_t{height} << std::uint32_t{counter_->getMarkColor()};
    });
    return stored && edgeSaved;
}

bool CHistoryStore::ReadCountingState(const fs::path& folder) const {
    counter_->loadEdgeImg(folder / kEdgeImageFile);
    std::int32_t values[kCountsValues] = {};
    try {
        FileStream file(folder / kCountsFile, FileStream::Mode::read);
        CArchive ar(file, CArchive::load);
        for (std::int32_t& v : values) {
            ar >> v;
        }
    } catch (const ArchiveException&) {
        return false;  // the engine keeps its selection and mark colour
    }
    if (values[0] != 0) {
        counter_->setSelRect(CountPoint{values[1], values[2]}, values[3], values[4]);
    } else {
        counter_->releaseSelRect();
    }
    counter_->setMarkColor(static_cast<std::uint32_t>(values[5]));
    return true;
}
