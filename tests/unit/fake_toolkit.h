// A toolkit that records what the window services ask of it.
#pragma once

#include <algorithm>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "shell/program.h"
#include "shell/services_core.h"
#include "shell/toolkit.h"

struct ProgramEnded {
  int code;
};

class FakeToolkit : public Toolkit {
 public:
  std::vector<std::string> log;
  ToolkitEvents* events = nullptr;
  bool exists = false;
  int width = 952, height = 625;
  std::string failControl;  // name of a control that cannot be created
  std::optional<std::vector<unsigned char>> body;
  std::map<std::string, int> widths, heights;

  Failure prepare() override { return note("prepare"), Failure{}; }
  Failure createWindow(const WindowForm&, ToolkitEvents& e) override {
    events = &e;
    exists = true;
    note("createWindow");
    events->sizeChanged();  // sizes reported while building
    return {};
  }
  Failure createControl(std::size_t, const ControlForm& control) override {
    note("createControl " + std::string(control.name ? control.name : "?"));
    if (control.name && failControl == control.name) return "cannot create " + failControl;
    return {};
  }
  void showControls(const WindowForm&) override { note("showControls"); }
  bool windowExists() const override { return exists; }
  void showAndActivate() override { note("show"); }
  int outerWidth() override { return width; }
  int outerHeight() override { return height; }
  void setControlWidth(const char* c, int w) override {
    widths[c] = w;
    note("width " + std::to_string(w));
  }
  void setControlHeight(const char* c, int h) override {
    heights[c] = h;
    note("height " + std::to_string(h));
  }
  void navigate(const char*, const char* address) override {
    note("navigate " + std::string(address));
  }
  void messageBox(const char* text, unsigned flags, const char* caption) override {
    note("box " + std::to_string(flags) + " [" + caption + "] " + text);
  }
  void errorBox(const char*) override { note("errorBox"); }
  void openAddress(const char* address) override { note("open " + std::string(address)); }
  std::optional<std::vector<unsigned char>> httpRead(const char* address) override {
    note("httpRead " + std::string(address));
    return body;
  }
  void runLoop() override { note("runLoop"); }
  void quitLoop() override { note("quitLoop"); }
  void destroyWindows() override {
    note("destroyWindows");
    if (exists && events) {
      events->sizeChanged();  // destruction reports sizes too
      exists = false;
      events->windowDestroyed();
    }
  }
  void release() override { note("release"); }
  [[noreturn]] void exitNow(int code) override { throw ProgramEnded{code}; }

  void note(const std::string& entry) { log.push_back(entry); }

  // The message boxes shown, in order.
  std::vector<std::string> boxes() const {
    std::vector<std::string> shown;
    std::copy_if(log.begin(), log.end(), std::back_inserter(shown),
                 [](const std::string& entry) { return entry.rfind("box ", 0) == 0; });
    return shown;
  }
};

// The whole program over the toolkit, from a fresh start to its end: its exit code.
inline int runProgram(FakeToolkit& toolkit) {
  ServicesCore services(toolkit);
  versionText = nullptr;
  try {
    return services.normalEnd(programMain(services));
  } catch (const ProgramEnded& ended) {
    return ended.code;
  }
}
