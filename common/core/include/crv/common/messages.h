#pragma once
// Message boxes and questions of the common services. The logic decides the
// exact text, title, icon and buttons; a presenter shows them and returns the
// button the user chose. The Qt layer presents in a window, tests record.
// Texts keep their leading and trailing blanks and break lines with a
// carriage return alone (kCR).
#include <string>

#include "crv/platform/message_box.h"

namespace crv::common {

using crv::platform::MessageIcon;

inline constexpr char kCR = '\r';
inline constexpr char kTab = '\t';

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry };

struct Message {
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // Shows the message and returns the chosen button (Ok for an Ok box).
    virtual MessageAnswer present(const Message& message) = 0;
};

// For code running without windows: shows through crv::platform::showMessage
// and answers every question with its safe choice (Cancel, or No), so nothing
// is deleted or overwritten without a person having agreed.
class PlatformMessagePresenter : public MessagePresenter {
public:
    MessageAnswer present(const Message& message) override;
};

}  // namespace crv::common
