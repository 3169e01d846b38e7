/* Starts a command and reports, on CLOCK_MONOTONIC, when it was started and
 * when its first top-level window was mapped (the window manager's frame
 * appearing on the root window), to the microsecond. */
#include <X11/Xlib.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

static double now(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: mapwatch command [args...]\n");
    return 2;
  }
  Display* display = XOpenDisplay(NULL);
  if (!display) return 2;
  Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);

  double started = now();
  pid_t child = fork();
  if (child == 0) {
    close(ConnectionNumber(display));
    /* The command must not hold our report open. */
    int null = open("/dev/null", O_WRONLY);
    if (null >= 0) dup2(null, STDOUT_FILENO);
    execvp(argv[1], argv + 1);
    _exit(127);
  }
  printf("pid %d\nexec %.6f\n", (int)child, started);
  fflush(stdout);
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == MapNotify && !event.xmap.override_redirect) {
      printf("mapped %.6f\n", now());
      fflush(stdout);
      return 0;
    }
  }
}
