#pragma once
// Message boxes. The logic of the engine and of the programs shows messages
// through this layer; what the user actually sees depends on the presenter.
//
// Presenter lookup, first match wins:
//  1. a presenter installed in this copy of the layer with setMessagePresenter
//     (tests, and the programs for their own messages);
//  2. a host hook: when the process defines the C function
//       extern "C" void crv_host_show_message(const char* text,
//                                             const char* title, int icon);
//     with default visibility (a program linked with ENABLE_EXPORTS), it is
//     used. This is how a program that loaded libcrv50.so at run time gets the
//     engine's "CRV Error" boxes in its own windows, while the library still
//     exports only its nine functions;
//  3. standard error: "title: text", carriage returns shown as line breaks.
#include <string>

namespace crv::platform {

// Icon codes as the host hook receives them.
enum class MessageIcon : int { None = 0, Information = 1, Exclamation = 2, Critical = 3, Question = 4 };

using MessagePresenter = void (*)(const std::string& text, const std::string& title, MessageIcon icon,
                                  void* context);

// Installs a presenter for this copy of the layer; nullptr removes it.
void setMessagePresenter(MessagePresenter presenter, void* context);

// Shows one message and returns when it has been seen (or printed).
void showMessage(const std::string& text, const std::string& title, MessageIcon icon);

}  // namespace crv::platform
