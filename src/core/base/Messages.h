#pragma once

#include <string>

class QObject;

namespace brix {

enum class MessageIcon { None, Stop, Warning, Information, Question };

// Every message box of the program goes through this seam. The owner is the window the box
// belongs to (nullptr: none); the caption is always the program title.
class Messages {
public:
    virtual ~Messages() = default;
    virtual void Show(const std::string& text, MessageIcon icon = MessageIcon::None,
                      QObject* owner = nullptr) = 0;
    virtual bool AskYesNo(const std::string& text, QObject* owner = nullptr) = 0;
};

}  // namespace brix
