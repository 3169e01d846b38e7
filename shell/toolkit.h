// What the window services need from a concrete toolkit: plain mechanics,
// with no rule of the program's life in them (those live in ServicesCore).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "shell/window_form.h"

// Raw happenings the toolkit reports back; ServicesCore decides whether a
// handler runs.
class ToolkitEvents {
 public:
  virtual ~ToolkitEvents() = default;
  virtual void sizeChanged() = 0;
  virtual void labelPressed(std::size_t control, int x, int y, int keys) = 0;
  virtual void windowDestroyed() = 0;
};

// Failures come back as a description of what failed; empty means success.
using Failure = std::string;

class Toolkit {
 public:
  virtual ~Toolkit() = default;

  virtual Failure prepare() = 0;
  virtual Failure createWindow(const WindowForm& form, ToolkitEvents& events) = 0;
  virtual Failure createControl(std::size_t index, const ControlForm& control) = 0;
  virtual void showControls(const WindowForm& form) = 0;
  virtual bool windowExists() const = 0;
  virtual void showAndActivate() = 0;

  virtual int outerWidth() = 0;
  virtual int outerHeight() = 0;
  virtual void setControlWidth(const char* control, int width) = 0;
  virtual void setControlHeight(const char* control, int height) = 0;
  virtual void navigate(const char* control, const char* address) = 0;

  virtual void messageBox(const char* text, unsigned flags, const char* caption) = 0;
  virtual void errorBox(const char* text) = 0;
  virtual void openAddress(const char* address) = 0;
  // nullopt when nothing was received.
  virtual std::optional<std::vector<unsigned char>> httpRead(const char* address) = 0;

  virtual void runLoop() = 0;
  virtual void quitLoop() = 0;
  virtual void destroyWindows() = 0;
  virtual void release() = 0;
  [[noreturn]] virtual void exitNow(int code) = 0;
};
