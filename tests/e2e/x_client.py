#!/usr/bin/env python3
"""What the end-to-end tests ask of the X server beyond xdotool and xprop (DISPLAY from the environment).
usage: x_client.py close WINDOW_ID
    asks the window to close as a window manager's close button does: a WM_PROTOCOLS client message
    carrying WM_DELETE_WINDOW (xdotool's windowclose destroys the window outright, which no desktop does)
usage: x_client.py watch
    watches the top-level windows as they are created and mapped: prints "watching" once it listens,
    "mapped ID NAME" with the legacy name (WM_NAME) read as the map is heard, "renamed ID" when WM_NAME
    changes while the window is mapped, and "unmapped ID". The server sends events in order, so a rename
    after the map is told even if the name reads right by the time it is read, and is told before the
    unmap. Runs until killed."""
import ctypes
import ctypes.util
import sys

CLIENT_MESSAGE, CREATE_NOTIFY, UNMAP_NOTIFY, MAP_NOTIFY, PROPERTY_NOTIFY = 33, 16, 18, 19, 28
SUBSTRUCTURE_NOTIFY, PROPERTY_CHANGE = 1 << 19, 1 << 22
XA_WM_NAME = 39


# The head that ClientMessage (window, message_type), CreateNotify (parent, window), UnmapNotify
# and MapNotify (event, window) and PropertyNotify (window, atom) share; then a client message's data.
class Any(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("first", ctypes.c_ulong), ("second", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class Event(ctypes.Union):
    _fields_ = [("any", Any), ("pad", ctypes.c_long * 24)]


class TextProperty(ctypes.Structure):
    _fields_ = [("value", ctypes.c_char_p), ("encoding", ctypes.c_ulong), ("format", ctypes.c_int),
                ("nitems", ctypes.c_ulong)]


x = ctypes.CDLL(ctypes.util.find_library("X11") or sys.exit("x_client.py: libX11 not found"))
x.XOpenDisplay.restype = ctypes.c_void_p
x.XDefaultRootWindow.restype = x.XInternAtom.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(Event)]
x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(Event)]
x.XGetWMName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(TextProperty)]
x.Xutf8TextPropertyToTextList.argtypes = [ctypes.c_void_p, ctypes.POINTER(TextProperty),
                                          ctypes.POINTER(ctypes.POINTER(ctypes.c_char_p)), ctypes.POINTER(ctypes.c_int)]
# a window may be gone before it is asked about: its errors are no reason to stop
IGNORE = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda display, error: 0)
x.XSetErrorHandler(IGNORE)
display = x.XOpenDisplay(None) or sys.exit("x_client.py: cannot open the display")
event = Event()


def legacy_name(window):
    prop = TextProperty()
    texts, count = ctypes.POINTER(ctypes.c_char_p)(), ctypes.c_int()
    if not x.XGetWMName(display, window, ctypes.byref(prop)):
        return "(none)"
    if x.Xutf8TextPropertyToTextList(display, ctypes.byref(prop), ctypes.byref(texts), ctypes.byref(count)) < 0:
        return "(undecodable)"
    return texts[0].decode("utf-8", "replace") if count.value else ""


if sys.argv[1:2] == ["close"]:
    window = int(sys.argv[2], 0)
    e = event.any
    e.type, e.first, e.second, e.format = CLIENT_MESSAGE, window, x.XInternAtom(display, b"WM_PROTOCOLS", 0), 32
    e.data[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    if not x.XSendEvent(display, window, 0, 0, ctypes.byref(event)):
        sys.exit("x_client.py: XSendEvent failed")
    x.XSync(display, 0)
    sys.exit(0)
x.XSelectInput(display, x.XDefaultRootWindow(display), SUBSTRUCTURE_NOTIFY)
x.XSync(display, 0)
print("watching", flush=True)
mapped = set()
while True:
    x.XNextEvent(display, ctypes.byref(event))
    e = event.any
    if e.type == CREATE_NOTIFY:
        x.XSelectInput(display, e.second, PROPERTY_CHANGE)
    elif e.type == UNMAP_NOTIFY and e.second in mapped:
        mapped.discard(e.second)  # an id comes back with the next client, and a window may show again
        print(f"unmapped {e.second:#x}", flush=True)
    elif e.type == MAP_NOTIFY:
        mapped.add(e.second)
        print(f"mapped {e.second:#x} {legacy_name(e.second)}", flush=True)
    elif e.type == PROPERTY_NOTIFY and e.first in mapped and e.second == XA_WM_NAME:
        print(f"renamed {e.first:#x}", flush=True)
