// Prints, one per line in hex, every text that the program's own code hands
// to the toolkit: the window's title, its controls' names and captions, the
// version check's boxes and the channels' addresses. The fuzz build compiles
// the program from a copy whose literals are escaped for clang; its probe must
// print exactly what the shipped build's probe prints.
#include <cstdio>
#include <optional>
#include <string>

#include "shell/main_window.h"
#include "shell/program.h"
#include "shell/services_core.h"
#include "tests/unit/fake_toolkit.h"

namespace {

class ProbeToolkit : public FakeToolkit {
 public:
  Failure createWindow(const WindowForm& form, ToolkitEvents& events) override {
    note(std::string("title ") + form.title);
    return FakeToolkit::createWindow(form, events);
  }
  Failure createControl(std::size_t index, const ControlForm& control) override {
    note(std::string("caption ") + (control.caption ? control.caption : ""));
    return FakeToolkit::createControl(index, control);
  }
};

void print(const std::string& entry) {
  for (unsigned char byte : entry) std::printf("%02x", byte);
  std::printf("\n");
}

}  // namespace

int main() {
  const std::optional<std::string> bodies[] = {"1.4", "1.3", std::nullopt};
  for (const auto& body : bodies) {
    ProbeToolkit toolkit;
    ServicesCore services(toolkit);
    if (body) toolkit.body.emplace(body->begin(), body->end());
    versionText = nullptr;
    try {
      const WindowForm form = mainWindowForm(services);
      services.buildAndShow(form);
      for (const ControlForm& control : form.controls)
        if (control.leftButtonPressed) control.leftButtonPressed(1, 1, 0);
      services.normalEnd(0);
    } catch (const ProgramEnded&) {
    }
    for (const std::string& entry : toolkit.log) print(entry);
  }
  return 0;
}
