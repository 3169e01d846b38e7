// Process entry: stand up the platform, run the program, end it.
#include "platform/gtk_toolkit.h"
#include "shell/program.h"
#include "shell/services_core.h"

int main() {
  auto toolkit = makeGtkToolkit();
  ServicesCore services(*toolkit);
  const int code = programMain(services);
  return services.normalEnd(code);
}
