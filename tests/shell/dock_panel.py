#!/usr/bin/python3
"""A desktop panel for the window tests: a dock window along the bottom edge of the screen
that reserves its height with a strut, as a task bar does, so that the window manager's work
area leaves it out. Runs until it is killed.

    dock_panel.py HEIGHT
"""
import sys

from Xlib import X, Xatom, Xutil, display

height = int(sys.argv[1])
screen_display = display.Display()
screen = screen_display.screen()
width, total = screen.width_in_pixels, screen.height_in_pixels
panel = screen.root.create_window(0, total - height, width, height, 0, screen.root_depth,
                                  X.InputOutput, background_pixel=0x404040)
atom = screen_display.intern_atom
panel.change_property(atom('_NET_WM_WINDOW_TYPE'), Xatom.ATOM, 32,
                      [atom('_NET_WM_WINDOW_TYPE_DOCK')])
# left, right, top, bottom, then the start and end of each along its edge
panel.change_property(atom('_NET_WM_STRUT_PARTIAL'), Xatom.CARDINAL, 32,
                      [0, 0, 0, height, 0, 0, 0, 0, 0, 0, 0, width - 1])
panel.change_property(atom('_NET_WM_STRUT'), Xatom.CARDINAL, 32, [0, 0, 0, height])
panel.set_wm_name('panel')
# Placed where it asks to be, not where the window manager would put a new window.
panel.set_wm_normal_hints(flags=Xutil.USPosition | Xutil.USSize, x=0, y=total - height,
                          width=width, height=height)
panel.map()
screen_display.flush()
while True:
    screen_display.next_event()
