#!/usr/bin/env python3
"""screen-regions.py: looks at rectangles of the X screen every 20 ms through
one display connection (an `import` per look costs 40-100 ms of processor
time, which a timed or watched install would pay for).

  screen-regions.py change X Y W H TIMEOUT
      waits until the rectangle looks different from its first look; prints
      the time of the look that saw it (seconds since the epoch) and the mean
      time between looks in ms. Exit 1 when nothing changed within TIMEOUT.
  screen-regions.py watch TIMEOUT SX SY SW SH NAME:X:Y:W:H...
      until the stop rectangle S changes, counts how many different looks
      each named rectangle had; prints "NAME COUNT" lines. Exit 1 on timeout.
"""
import ctypes
import sys
import time

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
    sys.exit("screen-regions: no X display")
root = x11.XDefaultRootWindow(display)
ALL_PLANES, Z_PIXMAP = 0xFFFFFFFFFFFFFFFF, 2


def look(x, y, w, h):
    image = x11.XGetImage(display, root, x, y, w, h, ALL_PLANES, Z_PIXMAP)
    if not image:
        sys.exit("screen-regions: a rectangle is off the screen")
    pixels = ctypes.string_at(image.contents.data, image.contents.bytes_per_line * h)
    x11.XDestroyImage(image)
    return pixels


def change(x, y, w, h, timeout):
    first, start, looks = look(x, y, w, h), time.time(), 0
    while True:
        time.sleep(0.02)
        now, seen = look(x, y, w, h), time.time()
        looks += 1
        if now != first:
            print(f"{seen:.3f} {(seen - start) * 1000 / looks:.0f}")
            return 0
        if seen - start > timeout:
            return 1


def watch(timeout, stop, named):
    first, start = look(*stop), time.time()
    seen = {name: set() for name, _ in named}
    while look(*stop) == first:
        if time.time() - start > timeout:
            return 1
        for name, rect in named:
            seen[name].add(hash(look(*rect)))
        time.sleep(0.02)
    for name, _ in named:
        print(name, len(seen[name]))
    return 0


if sys.argv[1] == "change":
    sys.exit(change(*(int(v) for v in sys.argv[2:6]), float(sys.argv[6])))
if sys.argv[1] == "watch":
    named = [(a.split(":")[0], tuple(int(v) for v in a.split(":")[1:])) for a in sys.argv[7:]]
    sys.exit(watch(float(sys.argv[2]), tuple(int(v) for v in sys.argv[3:7]), named))
sys.exit("usage: screen-regions.py change|watch ...")
