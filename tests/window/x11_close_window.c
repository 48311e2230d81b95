/* x11_close_window: finds a top-level X11 window by its exact title and asks it to close, the way
 * a window manager's close button does (a WM_DELETE_WINDOW message).
 *
 *   x11_close_window [--find] TITLE [TIMEOUT_SECONDS]
 *
 * Waits up to TIMEOUT_SECONDS (default 10) for the window. With --find it only waits for it.
 * Exit status 0 when the window was found (and asked to close), 1 when it never appeared, 2 on a
 * usage or display error. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static int HasTitle(Display* display, Window window, const char* title) {
  Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
  Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* value = NULL;
  int found = 0;
  if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                         &after, &value) == Success &&
      value != NULL) {
    found = strcmp((const char*)value, title) == 0;
    XFree(value);
    if (found) return 1;
  }
  char* name = NULL;
  if (XFetchName(display, window, &name) && name != NULL) {
    found = strcmp(name, title) == 0;
    XFree(name);
  }
  return found;
}

/* Searches the window tree below `parent` (window managers may add frames around clients). */
static Window FindWindow(Display* display, Window parent, const char* title, int depth) {
  Window root, up, *children = NULL;
  unsigned int count = 0;
  Window result = 0;
  if (depth > 4 || !XQueryTree(display, parent, &root, &up, &children, &count)) return 0;
  for (unsigned int i = 0; i < count && result == 0; ++i) {
    if (HasTitle(display, children[i], title)) {
      result = children[i];
    } else {
      result = FindWindow(display, children[i], title, depth + 1);
    }
  }
  if (children != NULL) XFree(children);
  return result;
}

/* Windows come and go while the tree is searched; a vanished one is simply not the one. */
static int IgnoreErrors(Display* display, XErrorEvent* error) {
  (void)display;
  (void)error;
  return 0;
}

static double Now(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec + ts.tv_nsec / 1e9;
}

int main(int argc, char** argv) {
  int argi = 1, findOnly = 0;
  if (argi < argc && strcmp(argv[argi], "--find") == 0) {
    findOnly = 1;
    ++argi;
  }
  if (argi >= argc) {
    fprintf(stderr, "usage: x11_close_window [--find] TITLE [TIMEOUT_SECONDS]\n");
    return 2;
  }
  const char* title = argv[argi];
  double timeout = argi + 1 < argc ? atof(argv[argi + 1]) : 10.0;
  Display* display = XOpenDisplay(NULL);
  if (display == NULL) {
    fprintf(stderr, "x11_close_window: cannot open the display\n");
    return 2;
  }
  XSetErrorHandler(IgnoreErrors);
  double end = Now() + timeout;
  Window window = 0;
  while ((window = FindWindow(display, DefaultRootWindow(display), title, 0)) == 0) {
    if (Now() > end) {
      fprintf(stderr, "x11_close_window: no window titled \"%s\"\n", title);
      XCloseDisplay(display);
      return 1;
    }
    struct timespec nap = {0, 50 * 1000 * 1000};
    nanosleep(&nap, NULL);
  }
  if (!findOnly) {
    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
  }
  XCloseDisplay(display);
  return 0;
}
