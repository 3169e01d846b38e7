// The services the program takes from its windowing platform. The program's
// own code talks to nothing else.
#pragma once

#include <cstddef>
#include <functional>

#include "shell/texts.h"
#include "shell/window_form.h"

inline constexpr unsigned messageBoxInformation = 64;

class WindowServices {
 public:
  virtual ~WindowServices() = default;

  virtual void prepareSystem() = 0;
  virtual void registerEndRoutine(std::function<void()> routine) = 0;
  virtual void buildAndShow(const WindowForm& form) = 0;
  virtual void runMessageLoop() = 0;

  virtual int windowWidth() = 0;  // outer size: frame and title bar included
  virtual int windowHeight() = 0;
  virtual void setControlWidth(const char* control, int width) = 0;
  virtual void setControlHeight(const char* control, int height) = 0;
  virtual void setAddress(const char* control, ConstText address) = 0;

  virtual void messageBox(ConstText text, unsigned flags, ConstText caption) = 0;
  virtual void openAddress(ConstText address) = 0;
  virtual ByteSet httpRead(ConstText address) = 0;

  virtual void* allocate(std::size_t size) = 0;
  virtual void release(void* block) = 0;

  [[noreturn]] virtual void endProgram(int code) = 0;
  [[noreturn]] virtual void fatalError(const char* what) = 0;
};
