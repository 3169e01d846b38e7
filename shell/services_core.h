// The window services: the rules of the program's life (event hold, the
// end-of-program slot, the order of building, the three ends) carried out
// over a concrete toolkit.
#pragma once

#include "shell/toolkit.h"
#include "shell/window_services.h"

inline constexpr int controlSizeLimit = 32627;

class ServicesCore final : public WindowServices, private ToolkitEvents {
 public:
  explicit ServicesCore(Toolkit& toolkit) : toolkit_(toolkit) {}

  void prepareSystem() override;
  void registerEndRoutine(std::function<void()> routine) override;
  void buildAndShow(const WindowForm& form) override;
  void runMessageLoop() override;

  int windowWidth() override { return toolkit_.outerWidth(); }
  int windowHeight() override { return toolkit_.outerHeight(); }
  void setControlWidth(const char* control, int width) override;
  void setControlHeight(const char* control, int height) override;
  void setAddress(const char* control, ConstText address) override;

  void messageBox(ConstText text, unsigned flags, ConstText caption) override;
  void openAddress(ConstText address) override;
  ByteSet httpRead(ConstText address) override;

  void* allocate(std::size_t size) override;
  void release(void* block) override;

  [[noreturn]] void endProgram(int code) override;
  [[noreturn]] void fatalError(const char* what) override;

  // The end after the message loop has returned: the code for the process.
  int normalEnd(int code);

  int eventHoldCount() const { return eventHoldCount_; }

 private:
  void sizeChanged() override;
  void labelPressed(std::size_t control, int x, int y, int keys) override;
  void windowDestroyed() override;
  void raise(const Handler& handler);
  void runEndRoutine();
  // What every orderly end does before the process goes: hold, destroy, clean up.
  void closeDown();

  Toolkit& toolkit_;
  const WindowForm* form_ = nullptr;
  int eventHoldCount_ = 0;
  bool loopStarted_ = false;
  std::function<void()> endRoutine_;
};
