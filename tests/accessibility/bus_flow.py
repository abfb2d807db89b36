"""The windowed program driven over the AT-SPI bus as a screen reader drives it.

Started by run_bus_test.sh inside a private session bus with the accessibility bus running
and DISPLAY, XDG_CONFIG_HOME and TMPDIR pointing at scratch places:

    bus_flow.py PROGRAM                      (English: LANG=C)
    bus_flow.py PROGRAM LANGUAGE CATALOG     (LANG and LANGUAGE set for that language)

Starts the program and checks the names of the main window's commands and captions: the
English texts, or their translations in the windows' catalog (a .ts file). In English it
then goes on, only through the accessibility objects: inserts a row through the row-name
dialog, renames it (input box, then the question box), starts the generation, reads and
zooms the preview picture, goes back, and closes the main window; last it checks the
settings file. In another language it closes the main window after the names. Every wait
polls with a time limit; the program is ended on any failure.
"""

import ctypes
import ctypes.util
import os
import subprocess
import sys
import time
import xml.etree.ElementTree

import pyatspi
from gi.repository import GLib

TIMEOUT = 30  # seconds for any one thing to appear


class FlowError(Exception):
    pass


def pump_events():
    """Lets the client take in the bus's events, which keep its cached objects current."""
    while GLib.MainContext.default().iteration(False):
        pass


def wait_for(probe, what, timeout=TIMEOUT):
    """Polls `probe` until it returns something true; objects may vanish while it looks."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        pump_events()
        try:
            found = probe()
            if found:
                return found
        except Exception:  # an object went away while it was read: look again
            pass
        time.sleep(0.1)
    raise FlowError("timed out waiting for " + what)


def showing(acc):
    return acc.getState().contains(pyatspi.STATE_SHOWING)


def descendants(root):
    """Every object below root, breadth first."""
    queue = [root]
    while queue:
        acc = queue.pop(0)
        for i in range(acc.childCount):
            child = acc.getChildAtIndex(i)
            if child is not None:
                yield child
                queue.append(child)


def find(root, role, name=None, show=True):
    for acc in descendants(root):
        if acc.getRoleName() == role and (name is None or acc.name == name):
            if not show or showing(acc):
                return acc
    return None


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    # The list of applications is read once and then kept up by events; read it afresh.
    desktop.clearCache()
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def window(app, role, name):
    for i in range(app.childCount):
        acc = app.getChildAtIndex(i)
        if acc is not None and acc.getRoleName() == role and acc.name == name and showing(acc):
            return acc
    return None


def press(button):
    action = button.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    index = names.index("Press") if "Press" in names else 0
    action.doAction(index)


def type_into(text_field, text):
    text_field.queryEditableText().setTextContents(text)


def text_of(text_field):
    return text_field.queryText().getText(0, -1)


def tree_rows(tree):
    return [tree.getChildAtIndex(i) for i in range(tree.childCount)]


def x_window(title):
    """The one shown X window with this title."""
    ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % title],
                         capture_output=True, text=True, timeout=10).stdout.split()
    if len(ids) != 1:
        raise FlowError("expected one shown window titled %s, found %s" % (title, ids))
    return ids


def keys(*names):
    """Key presses on the display, to the window that has the input focus."""
    subprocess.run(["xdotool", "key", *names], check=True, timeout=10)


class FocusWatch:
    """Records the objects that assistive technology is told have taken the focus."""

    def __init__(self):
        self.focused = []
        pyatspi.Registry.registerEventListener(self._on_event, "object:state-changed:focused")

    def _on_event(self, event):
        if event.detail1:
            self.focused.append((event.source.getRoleName(), event.source.name))

    def seen(self, role, name):
        pump_events()
        return (role, name) in self.focused


def close_window(title):
    """Asks the window to close as a window manager's close box does (WM_DELETE_WINDOW)."""
    ids = x_window(title)
    x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.c_void_p]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                    ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                    ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]

    class Event(ctypes.Union):
        _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

    display = x11.XOpenDisplay(None)
    if not display:
        raise FlowError("cannot open the display")
    try:
        event = Event()
        event.xclient.type = 33  # ClientMessage
        event.xclient.window = int(ids[0])
        event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.xclient.format = 32
        event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        event.xclient.data[1] = 0  # CurrentTime
        x11.XSendEvent(display, int(ids[0]), 0, 0, ctypes.byref(event))
        x11.XFlush(display)
    finally:
        x11.XCloseDisplay(display)


def check(condition, message):
    if not condition:
        raise FlowError(message)


EDITOR = "quill::editor::CategoryEditorWindow"
PLAN = "quill::editor::PlanCommands"

# The main window's commands and captions as (role, context, English text); a screen reader
# hears each caption without its "&".
MAIN_WINDOW_NAMES = [
    ("push button", EDITOR, "&Start Creating Template"),
    ("push button", EDITOR, "&Help"),
    ("push button", EDITOR, "&Insert Below"),
    ("push button", EDITOR, "&Delete Selected"),
    ("push button", EDITOR, "&Rename Selected"),
    ("push button", EDITOR, "Res&tore Default"),
    ("push button", PLAN, "Undo"),
    ("push button", PLAN, "Redo"),
    ("push button", PLAN, "Import categories from a CSV file"),
    ("push button", PLAN, "Export categories to a CSV file"),
    ("panel", EDITOR, "Projected Income"),
    ("panel", EDITOR, "Actual Income"),
    ("panel", EDITOR, "Personal budget data:"),
    ("label", EDITOR, "Income:"),
    ("label", EDITOR, "Extra income:"),
    ("text", EDITOR, "Projected income"),
    ("text", EDITOR, "Projected extra income"),
    ("text", EDITOR, "Actual income"),
    ("text", EDITOR, "Actual extra income"),
    ("tree", EDITOR, "Personal budget data"),
]


def translations(catalog):
    """The translation of each (context, English text) in a .ts catalog."""
    found = {}
    for context in xml.etree.ElementTree.parse(catalog).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            found[(name, message.findtext("source"))] = message.findtext("translation")
    return found


def check_main_window_names(app, translated):
    """The main window's names, in English or as `translated` gives them; returns the
    window. In another language no English name is left."""
    def name(context, text):
        shown = translated[(context, text)] if translated is not None else text
        return shown.replace("&", "")

    title = name(EDITOR, "Quillmere budget editor")
    editor = wait_for(lambda: window(app, "frame", title), "the editor named " + title)
    for role, context, text in MAIN_WINDOW_NAMES:
        expected = name(context, text)
        wait_for(lambda: find(editor, role, expected, show=False),
                 "the %s named %r" % (role, expected))
        if translated is not None and expected != text.replace("&", ""):
            check(find(editor, role, text.replace("&", ""), show=False) is None,
                  "the %s %r is still English" % (role, text))
    return editor


def flow(program, language=None, catalog=None):
    log = open(os.path.join(os.environ["TMPDIR"], "..", "program.log"), "w")
    process = subprocess.Popen([program], stdout=log, stderr=subprocess.STDOUT)
    try:
        if language is None:
            run(process)
        else:
            run_names_only(process, language, translations(catalog))
    except Exception:
        process.kill()
        process.wait(timeout=10)
        log.close()
        with open(log.name) as text:
            sys.stderr.write("program output:\n" + text.read())
        raise


def end_by_close_box(process):
    close_window("Quillmere")
    try:
        code = process.wait(timeout=TIMEOUT)
    except subprocess.TimeoutExpired:
        raise FlowError("the program did not end after its window closed")
    check(code == 0, "the program ended with %d" % code)


def run_names_only(process, language, translated):
    app = wait_for(lambda: application(process.pid), "the program on the accessibility bus")
    check_main_window_names(app, translated)
    end_by_close_box(process)
    print("the names over the accessibility bus are in the catalog's %s" % language)


def run(process):
    app = wait_for(lambda: application(process.pid), "the program on the accessibility bus")

    # The main window: a frame with a name of its own, the category tree, the commands, the
    # captions, all with their English names.
    editor = check_main_window_names(app, None)
    tree = wait_for(lambda: find(editor, "tree", "Personal budget data"), "the category tree")

    # Insert Below on the selected first group: the row-name dialog, typed into, OK.
    press(wait_for(lambda: find(editor, "push button", "Insert Below"), "Insert Below"))
    dialog = wait_for(lambda: window(app, "dialog", "Enter new row name"), "the row-name dialog")
    name_box = wait_for(lambda: find(dialog, "text", "Name of the new row"), "the name box")
    type_into(name_box, "Savings")
    wait_for(lambda: text_of(name_box) == "Savings", "the typed name")
    press(find(dialog, "push button", "OK"))
    wait_for(lambda: window(app, "dialog", "Enter new row name") is None, "the dialog to close")
    savings = wait_for(lambda: [r for r in tree_rows(tree) if r.name == "Savings"],
                       "the new row in the tree")[0]
    check(savings.description == "Group without rows",
          "the new row is described as %r" % savings.description)

    # Rename Selected: the input box, then the question, answered Yes.
    press(find(editor, "push button", "Rename Selected"))
    rename = wait_for(lambda: window(app, "dialog", "Rename Selected Row"), "the rename box")
    box = wait_for(lambda: find(rename, "text"), "the rename box's text")
    type_into(box, "Holidays")
    wait_for(lambda: text_of(box) == "Holidays", "the typed new name")
    press(find(rename, "push button", "OK"))
    question = wait_for(lambda: window(app, "alert", "Question"), "the rename question")
    press(wait_for(lambda: find(question, "push button", "Yes"), "Yes"))
    wait_for(lambda: [r for r in tree_rows(tree) if r.name == "Holidays"], "the renamed row")

    # F2 in the list: the in-place editor takes the focus as a text named for the row;
    # Escape leaves the name as it is. There is no window manager to give the window the
    # input focus, so it is given directly.
    watch = FocusWatch()
    subprocess.run(["xdotool", "windowfocus", "--sync", x_window("Quillmere")[0]], timeout=10)
    tree.queryComponent().grabFocus()
    wait_for(lambda: watch.seen("tree", "Personal budget data"), "the focus in the list")
    keys("F2")
    wait_for(lambda: watch.seen("text", "Rename Holidays"), "the in-place editor's focus")
    keys("Escape")
    wait_for(lambda: watch.seen("tree", "Personal budget data") and
             watch.focused[-1][0] == "tree", "the focus back in the list")

    # Start Creating Template: the preview replaces the editor.
    press(find(editor, "push button", "Start Creating Template"))
    preview = wait_for(lambda: window(app, "frame", "Quillmere sheet preview"), "the preview",
                       timeout=90)
    wait_for(lambda: not showing(editor), "the editor to hide")
    picture = wait_for(lambda: find(preview, "image", "Budget sheet picture"), "the picture")
    check(picture.description.startswith("Zoom 100%. Projected balance $3,100, actual balance "
                                         "$2,820, difference -$280"),
          "the picture is described as %r" % picture.description)
    for name in ("Horizontal position of the picture", "Vertical position of the picture"):
        bar = wait_for(lambda: find(preview, "scroll bar", name, show=False), name)
        check(bar.getState().contains(pyatspi.STATE_FOCUSABLE) or
              not bar.getState().contains(pyatspi.STATE_ENABLED), name + " takes no focus")

    press(find(preview, "push button", "Zoom Out"))
    wait_for(lambda: picture.description.startswith("Zoom 75%."), "the zoom in the description")

    # "< Back", then the main window's close box.
    press(find(preview, "push button", "< Back"))
    wait_for(lambda: showing(editor), "the editor to come back")
    wait_for(lambda: window(app, "frame", "Quillmere sheet preview") is None,
             "the preview to hide")
    end_by_close_box(process)

    settings = os.path.join(os.environ["XDG_CONFIG_HOME"], "Tarnwick.ini")
    with open(settings, encoding="utf-8") as ini:
        stored = ini.read()
    check("=Holidays" in stored, "the renamed row is not stored:\n" + stored)
    print("the round over the accessibility bus passed")


if __name__ == "__main__":
    try:
        flow(*sys.argv[1:4])
    except FlowError as error:
        print("FAIL:", error, file=sys.stderr)
        sys.exit(1)
