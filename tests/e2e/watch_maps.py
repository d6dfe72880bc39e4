#!/usr/bin/env python3
"""Watches the top-level windows of the display as they are created and mapped: prints "watching" once
it listens, "mapped ID NAME" with the legacy name (WM_NAME) read as the map is heard, "renamed ID" when
WM_NAME changes while the window is mapped, and "unmapped ID". The server sends events in order, so a
rename after the map is told even if the name reads right by the time it is read, and is told before
the unmap. Runs until killed.
usage: watch_maps.py   (DISPLAY from the environment)"""
import ctypes
import ctypes.util
import sys

CREATE_NOTIFY, UNMAP_NOTIFY, MAP_NOTIFY, PROPERTY_NOTIFY = 16, 18, 19, 28
SUBSTRUCTURE_NOTIFY, PROPERTY_CHANGE = 1 << 19, 1 << 22
XA_WM_NAME = 39


# The head that CreateNotify (parent, window), UnmapNotify and MapNotify (event, window) and
# PropertyNotify (window, atom) share.
class Any(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("first", ctypes.c_ulong), ("second", ctypes.c_ulong)]


class Event(ctypes.Union):
    _fields_ = [("any", Any), ("pad", ctypes.c_long * 24)]


class TextProperty(ctypes.Structure):
    _fields_ = [("value", ctypes.c_char_p), ("encoding", ctypes.c_ulong), ("format", ctypes.c_int),
                ("nitems", ctypes.c_ulong)]


x = ctypes.CDLL(ctypes.util.find_library("X11") or sys.exit("watch_maps.py: libX11 not found"))
x.XOpenDisplay.restype = ctypes.c_void_p
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(Event)]
x.XGetWMName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(TextProperty)]
x.Xutf8TextPropertyToTextList.argtypes = [ctypes.c_void_p, ctypes.POINTER(TextProperty),
                                          ctypes.POINTER(ctypes.POINTER(ctypes.c_char_p)), ctypes.POINTER(ctypes.c_int)]
# a window may be gone before it is asked about: its errors are no reason to stop
IGNORE = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda display, error: 0)
x.XSetErrorHandler(IGNORE)


def legacy_name(display, window):
    prop = TextProperty()
    texts, count = ctypes.POINTER(ctypes.c_char_p)(), ctypes.c_int()
    if not x.XGetWMName(display, window, ctypes.byref(prop)):
        return "(none)"
    if x.Xutf8TextPropertyToTextList(display, ctypes.byref(prop), ctypes.byref(texts), ctypes.byref(count)) < 0:
        return "(undecodable)"
    return texts[0].decode("utf-8", "replace") if count.value else ""


display = x.XOpenDisplay(None) or sys.exit("watch_maps.py: cannot open the display")
x.XSelectInput(display, x.XDefaultRootWindow(display), SUBSTRUCTURE_NOTIFY)
x.XSync(display, 0)
print("watching", flush=True)
mapped = set()
event = Event()
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
        print(f"mapped {e.second:#x} {legacy_name(display, e.second)}", flush=True)
    elif e.type == PROPERTY_NOTIFY and e.first in mapped and e.second == XA_WM_NAME:
        print(f"renamed {e.first:#x}", flush=True)
