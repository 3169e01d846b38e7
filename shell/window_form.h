// A window's form: its settings, its controls and the handlers bound to them.
#pragma once

#include <functional>
#include <vector>

enum class ControlType { Label, HtmlViewer };

// Function-key state of a press: or-ed together.
enum KeyState : int { keyCtrl = 1, keyShift = 2, keyAlt = 4 };

using Handler = std::function<void()>;
using PressHandler = std::function<void(int x, int y, int keys)>;

struct ControlForm {
  const char* name;
  ControlType type;
  int left, top, width, height;
  bool tabStop;
  const char* caption;             // labels only
  PressHandler leftButtonPressed;  // labels only; empty when unbound
};

struct WindowForm {
  const char* title;
  int outerWidth, outerHeight;
  int left, top;                      // stored, but centring overrides them
  std::vector<ControlForm> controls;  // in creation order
  std::vector<const char*> stackingTopDown;
  Handler created;
  Handler sizeChanged;
};

struct ScreenPlace {
  int left, top;
};
// A window of the form's outer size centred on a whole screen, halves
// truncated toward zero.
constexpr ScreenPlace centredPlace(int screenWidth, int screenHeight, const WindowForm& form) {
  return {(screenWidth - form.outerWidth) / 2, (screenHeight - form.outerHeight) / 2};
}
