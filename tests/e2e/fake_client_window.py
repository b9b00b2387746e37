#!/usr/bin/env python3
"""Shows an X11 window as the running game client has it (title "Quorvash",
class "MainClass.MainClass") until standard input closes."""
import ctypes
import sys

x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XCreateSimpleWindow.restype = ctypes.c_ulong
x.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                  ctypes.c_uint, ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong,
                                  ctypes.c_ulong]
x.XStoreName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_char_p]
x.XMapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]


class ClassHint(ctypes.Structure):
    _fields_ = [("res_name", ctypes.c_char_p), ("res_class", ctypes.c_char_p)]


x.XSetClassHint.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ClassHint)]

display = None
for _ in range(5):  # Xvfb refuses a connection now and then
    display = x.XOpenDisplay(None)
    if display:
        break
if not display:
    sys.exit("no X display")
title = sys.argv[1] if len(sys.argv) > 1 else "Quorvash"
window = x.XCreateSimpleWindow(display, x.XDefaultRootWindow(display), 0, 0, 80, 60, 0, 0, 0)
x.XStoreName(display, window, title.encode())
x.XSetClassHint(display, window, ctypes.byref(ClassHint(b"client", b"MainClass.MainClass")))
x.XMapWindow(display, window)
x.XSync(display, 0)
print("ready", flush=True)
sys.stdin.read()
