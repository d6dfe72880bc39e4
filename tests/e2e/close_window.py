#!/usr/bin/env python3
"""Asks a window to close as a window manager's close button does: a WM_PROTOCOLS client message
carrying WM_DELETE_WINDOW (xdotool's windowclose destroys the window outright, which no desktop does).
usage: close_window.py WINDOW_ID   (DISPLAY from the environment)"""
import ctypes
import ctypes.util
import sys


class XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("xclient", XClientMessageEvent), ("pad", ctypes.c_long * 24)]


window = int(sys.argv[1], 0)
x = ctypes.CDLL(ctypes.util.find_library("X11") or sys.exit("close_window.py: libX11 not found"))
x.XOpenDisplay.restype = ctypes.c_void_p
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(XEvent)]
x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x.XCloseDisplay.argtypes = [ctypes.c_void_p]
display = x.XOpenDisplay(None) or sys.exit("close_window.py: cannot open the display")
event = XEvent()
event.xclient.type = 33  # ClientMessage
event.xclient.window = window
event.xclient.message_type = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.xclient.format = 32
event.xclient.data[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
if not x.XSendEvent(display, window, 0, 0, ctypes.byref(event)):
    sys.exit("close_window.py: XSendEvent failed")
x.XSync(display, 0)
x.XCloseDisplay(display)
