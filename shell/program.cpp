#include "shell/program.h"

#include <cfenv>

#include "shell/main_window.h"

Text versionText = nullptr;

void initGlobals() {}

void releaseGlobals(WindowServices& services) {
  if (versionText) services.release(versionText);
}

int programMain(WindowServices& services) {
  services.prepareSystem();
  std::fesetenv(FE_DFL_ENV);
  initGlobals();
  services.registerEndRoutine([&services] { releaseGlobals(services); });
  // The form binds handlers that capture the services, and must outlive the loop.
  const WindowForm form = mainWindowForm(services);
  services.buildAndShow(form);
  services.runMessageLoop();
  return 0;
}
