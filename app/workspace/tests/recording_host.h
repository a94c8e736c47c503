#pragma once
// A controller host that records what the controller asked and told, and
// answers with what the test set beforehand.
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "image_controller_host.h"

namespace controller_testing {

class RecordingHost : public IImageControllerHost {
public:
    std::u16string Text(int stringId) override {
        const auto found = texts.find(stringId);
        return found != texts.end() ? found->second : std::u16string();
    }
    std::optional<std::u16string> AskAnnotationText(WindowPoint at) override {
        textAskedAt.push_back(at);
        return Next(annotationTexts);
    }
    std::optional<CalibrationChoice> AskCalibration(float pixelLength, int pictureWidth, int pictureHeight) override {
        calibrationAsked.push_back({pixelLength, pictureWidth, pictureHeight});
        return Next(calibrations);
    }
    int SelectedCalibration() override { return selectedCalibration; }
    void HistoryChanged() override {
        notices.push_back(Notice::history);
        if (onHistoryChanged) {
            onHistoryChanged();
        }
    }
    void CalibrationChanged() override { notices.push_back(Notice::calibration); }
    void ShowImageInfo(const std::u16string& text) override { imageInfos.push_back(text); }
    void ShowArrowPanel(CCLArrow& arrow) override {
        arrowPanel = &arrow;
        arrowPanelCalls.push_back("show");
    }
    void CloseArrowPanel(const CCLArrow& arrow) override {
        arrowPanelCalls.push_back(&arrow == arrowPanel ? "close" : "close other");
        if (&arrow == arrowPanel) {
            arrowPanel = nullptr;
        }
    }
    // The arrow the panel edits, null when it is closed; the calls in order.
    const CCLArrow* arrowPanel = nullptr;
    std::vector<std::string> arrowPanelCalls;

    enum class Notice { history, calibration };
    struct CalibrationQuestion {
        float pixelLength;
        int pictureWidth;
        int pictureHeight;
    };

    int HistoryNotices() const {
        int n = 0;
        for (Notice notice : notices) {
            n += notice == Notice::history ? 1 : 0;
        }
        return n;
    }

    // Answers, in order; a question with no answer left is cancelled.
    std::deque<std::optional<std::u16string>> annotationTexts;
    std::deque<std::optional<CalibrationChoice>> calibrations;
    std::map<int, std::u16string> texts;
    int selectedCalibration = -1;
    std::function<void()> onHistoryChanged;

    std::vector<WindowPoint> textAskedAt;
    std::vector<std::u16string> imageInfos;
    std::vector<CalibrationQuestion> calibrationAsked;
    std::vector<Notice> notices;

private:
    template <typename T>
    static std::optional<T> Next(std::deque<std::optional<T>>& answers) {
        if (answers.empty()) {
            return std::nullopt;
        }
        auto answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
};

}  // namespace controller_testing
