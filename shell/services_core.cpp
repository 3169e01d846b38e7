#include "shell/services_core.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

void ServicesCore::prepareSystem() {
  if (Failure failure = toolkit_.prepare(); !failure.empty()) fatalError(failure.c_str());
}

void ServicesCore::registerEndRoutine(std::function<void()> routine) {
  endRoutine_ = std::move(routine);
}

void ServicesCore::buildAndShow(const WindowForm& form) {
  form_ = &form;
  ++eventHoldCount_;
  if (Failure failure = toolkit_.createWindow(form, *this); !failure.empty())
    fatalError(failure.c_str());
  for (std::size_t i = 0; i < form.controls.size(); ++i) {
    if (Failure failure = toolkit_.createControl(i, form.controls[i]); !failure.empty())
      fatalError(failure.c_str());
  }
  toolkit_.showControls(form);
  --eventHoldCount_;

  raise(form.created);
  // Position changed would come here; the window binds no handler to it.
  if (!toolkit_.windowExists()) return;
  raise(form.sizeChanged);
  if (!toolkit_.windowExists()) return;
  toolkit_.showAndActivate();
}

void ServicesCore::runMessageLoop() {
  loopStarted_ = true;
  if (!toolkit_.windowExists()) return;
  toolkit_.runLoop();
}

void ServicesCore::setControlWidth(const char* control, int width) {
  toolkit_.setControlWidth(control, std::clamp(width, 0, controlSizeLimit));
}

void ServicesCore::setControlHeight(const char* control, int height) {
  toolkit_.setControlHeight(control, std::clamp(height, 0, controlSizeLimit));
}

void ServicesCore::setAddress(const char* control, ConstText address) {
  toolkit_.navigate(control, address ? address : "");
}

void ServicesCore::messageBox(ConstText text, unsigned flags, ConstText caption) {
  toolkit_.messageBox(text ? text : "", flags, caption ? caption : "");
}

void ServicesCore::openAddress(ConstText address) {
  toolkit_.openAddress(address ? address : "");
}

ByteSet ServicesCore::httpRead(ConstText address) {
  auto received = toolkit_.httpRead(address ? address : "");
  if (!received || received->empty()) return {};
  ByteSet set;
  set.bytes = static_cast<unsigned char*>(allocate(received->size()));
  set.count = received->size();
  std::memcpy(set.bytes, received->data(), set.count);
  return set;
}

void* ServicesCore::allocate(std::size_t size) {
  void* block = std::malloc(size ? size : 1);
  if (!block) fatalError("out of memory");
  return block;
}

void ServicesCore::release(void* block) {
  std::free(block);
}

void ServicesCore::runEndRoutine() {
  auto routine = std::move(endRoutine_);
  endRoutine_ = nullptr;
  if (routine) routine();
}

void ServicesCore::endProgram(int code) {
  closeDown();
  toolkit_.exitNow(code);
  std::abort();  // a toolkit whose exit returned
}

void ServicesCore::fatalError(const char* what) {
  ++eventHoldCount_;
  std::string text = "A run-time error occurred and the program must end.";
  if (what && *what) text += std::string("\n\n") + what;
  toolkit_.errorBox(text.c_str());
  endRoutine_ = nullptr;
  endProgram(-1);
}

int ServicesCore::normalEnd(int code) {
  closeDown();
  return code;
}

void ServicesCore::closeDown() {
  ++eventHoldCount_;
  toolkit_.destroyWindows();
  runEndRoutine();
  toolkit_.release();
}

void ServicesCore::raise(const Handler& handler) {
  if (eventHoldCount_ == 0 && handler) handler();
}

void ServicesCore::sizeChanged() {
  if (form_) raise(form_->sizeChanged);
}

void ServicesCore::labelPressed(std::size_t control, int x, int y, int keys) {
  if (eventHoldCount_ != 0 || !form_ || control >= form_->controls.size()) return;
  if (const auto& handler = form_->controls[control].leftButtonPressed) handler(x, y, keys);
}

void ServicesCore::windowDestroyed() {
  if (loopStarted_) toolkit_.quitLoop();
}
