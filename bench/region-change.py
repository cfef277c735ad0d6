#!/usr/bin/env python3
"""region-change.py X Y W H TIMEOUT: waits until a rectangle of the X screen
looks different from its first look, every 20 ms; prints the time of the look
that saw the change (seconds since the epoch) and the mean time between looks
in ms. Exit code 1 when nothing changed within TIMEOUT seconds.

One process that keeps its display connection: an `import` per look costs
40-100 ms of processor time on a busy machine, which the install being timed
would pay for."""
import ctypes
import sys
import time

x, y, w, h = (int(v) for v in sys.argv[1:5])
timeout = float(sys.argv[5])


class XImage(ctypes.Structure):  # the leading fields of Xlib's XImage
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int)]


x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XGetImage.restype = ctypes.POINTER(XImage)
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                          ctypes.c_ulong, ctypes.c_int]
x11.XDestroyImage.argtypes = [ctypes.POINTER(XImage)]
display = x11.XOpenDisplay(None)
if not display:
    sys.exit("region-change: no X display")
root = x11.XDefaultRootWindow(display)
ALL_PLANES, Z_PIXMAP = 0xFFFFFFFFFFFFFFFF, 2


def look():
    image = x11.XGetImage(display, root, x, y, w, h, ALL_PLANES, Z_PIXMAP)
    if not image:
        sys.exit("region-change: the rectangle is off the screen")
    pixels = ctypes.string_at(image.contents.data, image.contents.bytes_per_line * h)
    x11.XDestroyImage(image)
    return pixels


first, start, looks = look(), time.time(), 0
while True:
    time.sleep(0.02)
    now, seen = look(), time.time()
    looks += 1
    if now != first:
        print(f"{seen:.3f} {(seen - start) * 1000 / looks:.0f}")
        sys.exit(0)
    if seen - start > timeout:
        sys.exit(1)
