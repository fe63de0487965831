#pragma once

#include <string>
#include <string_view>

// Modal questions to the user: the message box and the input box. The dialog's rules decide
// what is asked; an implementation only shows it and returns the answer.
namespace penlark {

// The title of boxes that give none of their own.
inline constexpr std::string_view kApplicationTitle = "Penlark";

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Exclamation };
enum class MessageAnswer { Ok, Yes, No };

struct Message {
  std::string text;
  MessageButtons buttons = MessageButtons::Ok;
  MessageIcon icon = MessageIcon::None;
  std::string title{kApplicationTitle};

  bool operator==(const Message&) const = default;
};

struct InputRequest {
  std::string prompt;
  std::string title{kApplicationTitle};
  std::string defaultText;

  bool operator==(const InputRequest&) const = default;
};

class Prompts {
 public:
  virtual ~Prompts() = default;

  // Shows the message and waits for the user: Ok for an OK box, Yes or No for a Yes/No box.
  virtual MessageAnswer ShowMessage(const Message& message) = 0;

  // Asks for a line of text; "" when the user cancels.
  virtual std::string InputBox(const InputRequest& request) = 0;
};

}  // namespace penlark
