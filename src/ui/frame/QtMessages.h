#pragma once

#include "core/base/Messages.h"

namespace brix {

// Message boxes on screen, captioned with the program title, with an OK button (or Yes/No).
class QtMessages : public Messages {
public:
    explicit QtMessages(std::string title) : title_(std::move(title)) {}
    void Show(const std::string& text, MessageIcon icon, QObject* owner) override;
    bool AskYesNo(const std::string& text, QObject* owner) override;

private:
    std::string title_;
};

}  // namespace brix
