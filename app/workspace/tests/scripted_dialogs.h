#pragma once
// The file and folder dialogs answered by the test: each call takes the
// next queued answer (cancelled when none is left) and records what it was
// asked.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "common_dialogs.h"

class ScriptedDialogs : public ICommonDialogs {
public:
    std::deque<FileSelection> openAnswers;
    std::deque<std::optional<std::wstring>> saveAnswers;
    std::deque<std::optional<std::wstring>> folderAnswers;

    std::vector<FileDialogRequest> requests;
    struct FolderQuestion {
        std::wstring title;
        std::optional<std::wstring> start;
    };
    std::vector<FolderQuestion> folderQuestions;

    FileSelection OpenFiles(HWND, const FileDialogRequest& request) override {
        requests.push_back(request);
        return Next(openAnswers, FileSelection{});
    }
    std::optional<std::wstring> SaveFile(HWND, const FileDialogRequest& request) override {
        requests.push_back(request);
        return Next(saveAnswers, std::optional<std::wstring>{});
    }
    std::optional<std::wstring> BrowseFolder(HWND, const std::wstring& title,
                                             const std::optional<std::wstring>& start) override {
        folderQuestions.push_back({title, start});
        return Next(folderAnswers, std::optional<std::wstring>{});
    }

private:
    template <typename T>
    static T Next(std::deque<T>& answers, T cancelled) {
        if (answers.empty()) {
            return cancelled;
        }
        T answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
};
