/* Asks a window to close as a window manager's close button does: the
   WM_DELETE_WINDOW message of the WM_PROTOCOLS the window takes part in.
   Usage: x_close_window WINDOW-ID (decimal or 0x hex), on $DISPLAY. */
#include <X11/Xlib.h>
#include <stdlib.h>
int main(int argc, char** argv) {
  if (argc != 2) return 2;
  Display* d = XOpenDisplay(NULL);
  if (!d) return 1;
  Window w = (Window)strtoul(argv[1], NULL, 0);
  XEvent e = {0};
  e.xclient.type = ClientMessage;
  e.xclient.window = w;
  e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = XInternAtom(d, "WM_DELETE_WINDOW", False);
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, w, False, NoEventMask, &e);
  XFlush(d);
  XCloseDisplay(d);
  return 0;
}
