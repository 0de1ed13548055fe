#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/base/Messages.h"

namespace brix::test {

// Records every message instead of showing it; answers questions from a script.
class RecordingMessages : public Messages {
public:
    struct Entry {
        std::string Text;
        MessageIcon Icon;
        QObject* Owner;
    };
    void Show(const std::string& text, MessageIcon icon, QObject* owner) override {
        Shown.push_back({text, icon, owner});
    }
    bool AskYesNo(const std::string& text, QObject* owner) override {
        Shown.push_back({text, MessageIcon::Question, owner});
        if (Answers.empty()) return false;
        bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    std::vector<Entry> Shown;
    std::deque<bool> Answers;
};

}  // namespace brix::test
