#!/usr/bin/env python3
"""What the X server shows at a point of Wine's virtual desktop: "x y width height" of the
topmost mapped window there, in desktop coordinates, or nothing. Wine keeps its own Z order,
which can differ from the X server's, and a press goes where the X server says."""
import ctypes
import sys
from ctypes import POINTER, byref, c_int, c_uint, c_ulong, c_void_p

x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = c_ulong
x11.XDefaultRootWindow.argtypes = [c_void_p]
x11.XTranslateCoordinates.argtypes = [c_void_p, c_ulong, c_ulong, c_int, c_int,
                                      POINTER(c_int), POINTER(c_int), POINTER(c_ulong)]
x11.XGetGeometry.argtypes = [c_void_p, c_ulong, POINTER(c_ulong), POINTER(c_int), POINTER(c_int),
                             POINTER(c_uint), POINTER(c_uint), POINTER(c_uint), POINTER(c_uint)]


def child_at(display, parent, x, y):
    """The topmost mapped child of parent at parent's point x, y, or 0."""
    dx, dy, child = c_int(), c_int(), c_ulong()
    x11.XTranslateCoordinates(display, parent, parent, x, y, byref(dx), byref(dy), byref(child))
    return child.value


def geometry(display, window):
    root, x, y = c_ulong(), c_int(), c_int()
    width, height, border, depth = c_uint(), c_uint(), c_uint(), c_uint()
    x11.XGetGeometry(display, window, byref(root), byref(x), byref(y),
                     byref(width), byref(height), byref(border), byref(depth))
    return x.value, y.value, width.value, height.value


def main():
    x, y = int(sys.argv[1]), int(sys.argv[2])
    display = x11.XOpenDisplay(None)
    if not display:
        return 1
    root = x11.XDefaultRootWindow(display)
    desktop = child_at(display, root, x, y)
    if not desktop:
        return 0
    left, top, _, _ = geometry(display, desktop)
    window = child_at(display, desktop, x - left, y - top)
    if window:
        print("%d %d %d %d" % geometry(display, window))
    return 0


sys.exit(main())
