#!/usr/bin/env python3
"""A real X11 drag source for the end-to-end tests.

Shows a small GTK window offering files as text/uri-list and drags them with
the X server's own pointer (xdotool: button down on the window, moves in
steps, button up at the target), so the program under Wine receives them
through the XDND protocol, exactly as from a Linux file manager.

Usage: drag_source.py REQUEST_FILE
The request file holds lines "from X Y", "to X Y" and "file /unix/path"
(any number), and optionally "rest MS": how long the pointer rests on the
target before the button comes up (300 by default). When the drag has ended, REQUEST_FILE.done receives one line:
"ended accepted", "ended refused REASON" (GTK's drag result, e.g. no-target)
or "error TEXT". Ends by itself within
30 seconds whatever happens.
"""
import subprocess
import sys
import urllib.parse

import gi

gi.require_version("Gdk", "3.0")
gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, GLib, Gtk  # noqa: E402

STEPS = 12
STEP_MS = 40


def read_request(path):
    start, target, files, rest_ms = None, None, [], 300
    with open(path, encoding="utf-8") as request:
        for line in request.read().splitlines():
            kind, _, rest = line.partition(" ")
            if kind == "from":
                start = tuple(int(v) for v in rest.split())
            elif kind == "to":
                target = tuple(int(v) for v in rest.split())
            elif kind == "file":
                files.append(rest)
            elif kind == "rest":
                rest_ms = int(rest)
    if not start or not target or not files:
        raise ValueError("request needs from, to and at least one file")
    return start, target, files, rest_ms


def xdotool(*args):
    subprocess.run(["xdotool", *[str(a) for a in args]], check=True, timeout=5)


class DragSource:
    def __init__(self, request):
        self.done_path = request + ".done"
        self.start, self.target, files, self.rest_ms = read_request(request)
        self.uris = ["file://" + urllib.parse.quote(f) for f in files]
        self.result = None
        self.finished = False
        self.step = 0

        self.window = Gtk.Window(title="tilerack drag source")
        self.window.set_decorated(False)
        self.window.set_default_size(120, 90)
        self.window.move(self.start[0] - 60, self.start[1] - 45)
        box = Gtk.EventBox()
        box.add(Gtk.Label(label="%d file(s)" % len(self.uris)))
        box.drag_source_set(Gdk.ModifierType.BUTTON1_MASK,
                            [Gtk.TargetEntry.new("text/uri-list", 0, 0)], Gdk.DragAction.COPY)
        box.connect("drag-data-get", self.on_data_get)
        box.connect("drag-failed", self.on_failed)
        box.connect("drag-end", self.on_end)
        self.window.add(box)
        self.window.connect("map-event", self.on_mapped)
        self.window.show_all()
        GLib.timeout_add_seconds(30, self.on_timeout)

    def on_data_get(self, _widget, _context, data, _info, _time):
        data.set_uris(self.uris)

    def on_failed(self, _widget, _context, result):
        self.result = "ended refused " + result.value_nick
        return True  # no animation back to the source

    def on_end(self, _widget, _context):
        # drag-failed, when it comes, comes first.
        GLib.timeout_add(200, self.finish, self.result or "ended accepted")

    def on_mapped(self, *_args):
        # Give the window a moment to be drawn where the pointer will press.
        GLib.timeout_add(300, self.press)
        return False

    def press(self):
        try:
            xdotool("mousemove", self.start[0], self.start[1])
            xdotool("mousedown", 1)
        except Exception as error:  # noqa: BLE001 - reported to the test
            self.finish("error " + str(error))
            return False
        GLib.timeout_add(STEP_MS, self.move)
        return False

    def move(self):
        self.step += 1
        x = self.start[0] + (self.target[0] - self.start[0]) * self.step // STEPS
        y = self.start[1] + (self.target[1] - self.start[1]) * self.step // STEPS
        try:
            xdotool("mousemove", x, y)
            if self.step < STEPS:
                return True
            # Rest on the target so it answers the last position, then release.
            GLib.timeout_add(self.rest_ms, self.release)
        except Exception as error:  # noqa: BLE001
            self.finish("error " + str(error))
        return False

    def release(self):
        try:
            xdotool("mouseup", 1)
        except Exception as error:  # noqa: BLE001
            self.finish("error " + str(error))
        return False

    def on_timeout(self):
        self.finish(self.result or "error the drag did not end in time")
        return False

    def finish(self, line):
        if self.finished:
            return False
        self.finished = True
        with open(self.done_path, "w", encoding="utf-8") as done:
            done.write(line + "\n")
        Gtk.main_quit()
        return False


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        DragSource(sys.argv[1])
    except Exception as error:  # noqa: BLE001
        with open(sys.argv[1] + ".done", "w", encoding="utf-8") as done:
            done.write("error %s\n" % error)
        return 1
    Gtk.main()
    return 0


if __name__ == "__main__":
    sys.exit(main())
