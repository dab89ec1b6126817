// The window around a document, for tests: a page that keeps model JSON in
// memory and a user who answers from a script and whose every message is kept.
#pragma once

#include "src/win/document/document_lifecycle.h"
#include "tools/converter_host/converter_host.h"
#include <gtest/gtest.h>
#include <deque>

namespace qorva::testing {

class MemoryPage : public DocumentPage {
public:
    std::string model, baseUrl;
    bool modified = false;
    int setTextCalls = 0;

    bool takesDocuments = true, givesDocuments = true;  // false: the calls fail
    int lostSetAnswers = 0;  // that many setTextJson calls take effect but report failure

    std::string GetTextJson() override { return model; }
    void SetTextJson(const std::string& json) override { model = json, ++setTextCalls; }
    std::optional<std::string> TryGetTextJson() override {
        return givesDocuments ? std::optional(model) : std::nullopt;
    }
    bool TrySetTextJson(const std::string& json) override {
        if (takesDocuments) SetTextJson(json);
        if (lostSetAnswers > 0) return --lostSetAnswers, false;
        return takesDocuments;
    }
    void SetBaseUrl(const std::string& url) override { baseUrl = url; }
    bool IsModified() const override { return modified; }
    void SetModified(bool value) override { modified = value; }
};

class ScriptedUi : public DocumentUi {
public:
    std::deque<MessageAnswer> answers;  // taken in turn; Cancel when empty
    std::deque<std::optional<std::string>> chosenFiles;  // taken in turn; none when empty
    std::vector<MessageSpec> messages;
    std::vector<FileDialogSpec> dialogs;
    std::vector<std::vector<std::string>> started;
    std::vector<std::string> urls;
    bool startSucceeds = true;
    int recentChanges = 0, exportResets = 0;

    MessageAnswer ShowMessage(const MessageSpec& message) override {
        return messages.push_back(message), Take(answers, MessageAnswer::Cancel);
    }
    std::optional<std::string> ChooseFileToOpen(const FileDialogSpec& dialog) override { return Choose(dialog); }
    std::optional<std::string> ChooseFileToSave(const FileDialogSpec& dialog) override { return Choose(dialog); }
    bool StartNewInstance(const std::vector<std::string>& arguments) override {
        return started.push_back(arguments), startSucceeds;
    }
    void OpenUrl(const std::string& url) override { urls.push_back(url); }
    void DocumentStateChanged() override {}
    void RecentListChanged() override { ++recentChanges; }
    void ResetRepeatExport() override { ++exportResets; }

    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const MessageSpec& message : messages) texts.push_back(message.text);
        return texts;
    }

private:
    template <typename T>
    static T Take(std::deque<T>& queue, T otherwise) {
        if (!queue.empty()) otherwise = queue.front(), queue.pop_front();
        return otherwise;
    }
    std::optional<std::string> Choose(const FileDialogSpec& dialog) {
        return dialogs.push_back(dialog), Take(chosenFiles, std::optional<std::string>());
    }
};

}  // namespace qorva::testing
