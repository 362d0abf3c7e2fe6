"""Every window as a screen reader reads it through the accessibility bus
(AT-SPI), against the simulator: every control named, the value panels'
numbers and the status bar readable, a window role for every window, each tab
reported where it is drawn, polling started by the check box's action, and
the traffic monitor taking clicks beside the settings window. Runs in a D-Bus
session of its own (dbus-run-session) and starts its own X server."""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import time
import warnings

import gi

gi.require_version('Atspi', '2.0')
from gi.repository import Atspi, Gio, GLib  # noqa: E402

warnings.filterwarnings('ignore', category=DeprecationWarning)  # the action getters of libatspi 2.46
R = Atspi.Role
WINDOW_ROLES = {R.FRAME, R.DIALOG, R.WINDOW, R.ALERT}
CONTROL_ROLES = {R.PUSH_BUTTON, R.TOGGLE_BUTTON, R.CHECK_BOX, R.RADIO_BUTTON, R.COMBO_BOX, R.TEXT, R.SPIN_BUTTON,
                 R.PAGE_TAB, R.MENU_ITEM, R.CHECK_MENU_ITEM, R.RADIO_MENU_ITEM, R.TABLE, R.LIST}
PANELS = ['odchylka', 'teplota vody', 'venkovní teplota', 'útlum', 'žádaná']
problems = []


def check(condition, text):
    if not condition:
        problems.append(text)


def wait_for(what, probe, patience=60):  # seconds: the program runs under the sanitizers
    end = time.monotonic() + patience
    while time.monotonic() < end:
        found = probe()
        if found:
            return found
        time.sleep(0.2)
    raise AssertionError('gave up waiting for ' + what)


def children(acc):
    return [c for c in (acc.get_child_at_index(i) for i in range(acc.get_child_count())) if c]


def descendants(acc):
    for child in children(acc):
        yield child
        yield from descendants(child)


def shown(acc):
    return acc.get_state_set().contains(Atspi.StateType.SHOWING)


def box(acc):
    e = acc.get_extents(Atspi.CoordType.SCREEN)
    return e.x, e.y, e.x + e.width, e.y + e.height


def text_of(acc):
    return Atspi.Text.get_text(acc, 0, -1) if 'Text' in acc.get_interfaces() else None


def spoken_name(acc):
    """The name, or the names of the labels that label it (a combo box)."""
    labels = [r.get_target(i).get_name() for r in acc.get_relation_set()
              if r.get_relation_type() == Atspi.RelationType.LABELLED_BY for i in range(r.get_n_targets())]
    return acc.get_name() or ' '.join(labels).strip()


def find(root, role, name=None):
    return wait_for('%s %s' % (role.value_nick, name), lambda: next(
        (a for a in descendants(root) if a.get_role() == role and name in (None, a.get_name())), None))


def press_key(keysym):
    Atspi.generate_keyboard_event(keysym, None, Atspi.KeySynthType.SYM)
    time.sleep(0.3)


def click(acc):
    left, top, right, bottom = box(acc)
    Atspi.generate_mouse_event((left + right) // 2, (top + bottom) // 2, 'b1c')


class Program:
    def __init__(self, app):
        self.app = app
        session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        address = session.call_sync('org.a11y.Bus', '/org/a11y/bus', 'org.a11y.Bus', 'GetAddress', None, None,
                                    Gio.DBusCallFlags.NONE, -1, None).unpack()[0]
        self.bus = Gio.DBusConnection.new_for_address_sync(address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
                                                           | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)

    def windows(self):
        """The windows on screen: a window once shown stays on the bus hidden."""
        self.app.clear_cache()
        return [w for w in children(self.app) if shown(w)]

    def window(self, name, role=None):
        return wait_for('window ' + name, lambda: next(
            (w for w in self.windows() if w.get_name() == name and role in (None, w.get_role())), None))

    def closed(self, window):
        wait_for('closing ' + window.get_name(), lambda: all(w.path != window.path for w in self.windows()))

    def act(self, acc, action):
        """Starts an action without waiting for its end: one that opens a
        modal window ends when the window closes."""
        names = [Atspi.Action.get_action_name(acc, i) for i in range(Atspi.Action.get_n_actions(acc))]
        check(action in names, '%s %s has no action %s' % (acc.get_role_name(), acc.get_name(), action))
        self.bus.call(acc.app.bus_name, acc.path, 'org.a11y.atspi.Action', 'DoAction',
                      GLib.Variant('(i)', (names.index(action) if action in names else 0,)), None,
                      Gio.DBusCallFlags.NONE, -1)
        self.bus.flush_sync()

    def press(self, root, name, role=R.PUSH_BUTTON):
        self.act(find(root, role, name), 'Press')

    def open(self, root, name, title, role=None, opener=R.MENU_ITEM):
        self.press(root, name, opener)
        return self.window(title, role)

    def open_from_menu(self, window, button, downs, title):
        self.act(find(window, R.PUSH_BUTTON, button), 'ShowMenu')
        time.sleep(1)
        for key in [0xff54] * downs + [0xff0d]:  # Down, Return
            press_key(key)
        return self.window(title)


def read_window(window, title):
    check(window.get_role() in WINDOW_ROLES, '%s has the role %s' % (title, window.get_role_name()))
    for acc in descendants(window):
        if acc.get_role() in CONTROL_ROLES and shown(acc) and acc.get_parent().get_role() != R.COMBO_BOX:
            check(spoken_name(acc), '%s: a %s without a name' % (title, acc.get_role_name()))


def read_main_window(kv36, main):
    read_window(main, 'main window')
    panels = [a for a in descendants(main) if a.get_role() == R.LABEL and text_of(a) is not None]
    check(sorted(p.get_name() for p in panels) == PANELS, 'value panels: %s' % [p.get_name() for p in panels])
    kv36.act(find(main, R.CHECK_BOX, 'aut. čtení'), 'Toggle')
    # No log file is named yet: polling goes on when its dialog is cancelled.
    save = wait_for('the log file dialog', lambda: next((w for w in kv36.windows() if w.get_role() == R.DIALOG), None))
    read_window(save, 'log file dialog')
    kv36.act(next(a for a in descendants(save) if a.get_name() in ('Zrušit', 'Cancel')), 'Press')
    try:
        wait_for('polled values', lambda: panels and all(re.match(r'^-?\d+[.,]\d$', text_of(p)) for p in panels), 20)
    except AssertionError:
        problems.append('panels read %s while polling' % [text_of(p) for p in panels])
    check(any(a.get_name() for a in descendants(find(main, R.STATUS_BAR))), 'the status bar reads nothing')


def read_tab_bars(kv36, window):
    left, top, right, bottom = box(window)
    for bar in [a for a in descendants(window) if a.get_role() == R.PAGE_TAB_LIST]:
        tabs = [box(t) for t in children(bar)]
        for i, (x1, y1, x2, y2) in enumerate(tabs):
            name = children(bar)[i].get_name()
            check(left <= x1 and top <= y1 and x2 <= right and y2 <= bottom, 'tab %s lies outside its window' % name)
            check(all(x2 <= a or b <= x1 or y2 <= c or d <= y1 for a, c, b, d in tabs[:i]), 'tab %s overlaps' % name)
    # A click where a tab is reported, and a tab's action, each select that tab.
    for day, select in (('Úterý', click), ('Středa', lambda tab: kv36.act(tab, 'Press'))):
        tab = find(window, R.PAGE_TAB, day)
        select(tab)
        wait_for(day + ' selected', lambda: tab.get_state_set().contains(Atspi.StateType.SELECTED), 10)


def read_dialog(kv36, dialog, title, close='OK', inner=lambda dialog: None):
    read_window(dialog, title)
    inner(dialog)
    kv36.press(dialog, close)
    kv36.closed(dialog)


def read_compare_dialog(kv36, settings, set_file):
    chooser = kv36.open_from_menu(settings, 'Soubor', 3, 'Porovnat se sadou parametrů')
    name = next(a for a in descendants(chooser) if shown(a) and 'EditableText' in a.get_interfaces())
    Atspi.EditableText.set_text_contents(name, set_file)
    kv36.act(next(a for a in descendants(chooser) if a.get_name() in ('Otevřít', 'Open')), 'Press')
    compared = kv36.window('Porovnání se souborem')
    labels = [a.get_name() for a in descendants(compared) if a.get_role() == R.LABEL]
    check(any(set_file in label for label in labels), 'the compare dialog hides the file: %s' % labels)
    check(any(re.match('Shodné|Počet rozdílných polí', label) for label in labels), 'it hides the result: %s' % labels)
    read_dialog(kv36, compared, 'compare dialog', 'Zavřít')


def read_settings_window(kv36, main, monitor, set_file):
    settings = kv36.open(main, 'Nastavení regulátoru', 'QZR 17', R.DIALOG)
    progress = find(settings, R.PROGRESS_BAR)
    wait_for('the automatic read', lambda: not shown(progress))
    read_tab_bars(kv36, settings)
    # A click, as the window system delivers it, on the monitor beside it.
    pause = find(monitor, R.CHECK_BOX, 'Pozastavit')
    click(pause)
    wait_for('the monitor paused', lambda: pause.get_state_set().contains(Atspi.StateType.CHECKED), 10)
    read_compare_dialog(kv36, settings, set_file)
    report = kv36.open_from_menu(settings, 'Soubor', 4, 'Protokol o nastavení')
    read_dialog(kv36, report, 'report preview', 'Zavřít')
    read_dialog(kv36, settings, 'settings window', 'Zpět')


def read_program(kv36, set_file):
    main = kv36.window('QZR 17', R.FRAME)
    read_main_window(kv36, main)
    monitor = kv36.open(main, 'Provoz na sběrnici', 'Provoz na sběrnici')
    read_window(monitor, 'traffic monitor')
    read_settings_window(kv36, main, monitor, set_file)
    read_dialog(kv36, kv36.open(main, 'Komunikační port', 'Komunikační port'), 'link window', 'OK',
                lambda link: read_dialog(kv36, kv36.open(link, 'Porty v počítači...', 'Porty v počítači',
                                                         opener=R.PUSH_BUTTON), 'port chooser', 'Zavřít'))
    for menu_item, title in (('Nastavení ukládání', 'Nastavení'), ('Identifikace', 'Identifikace'),
                             ('O aplikaci', 'O aplikaci')):
        read_dialog(kv36, kv36.open(main, menu_item, title), title)


def start_x_server():
    """On a display it picks itself, free of races with servers starting beside it."""
    read, write = os.pipe()
    server = subprocess.Popen(['Xvfb', '-displayfd', str(write), '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
                              pass_fds=(write,))
    os.close(write)
    with os.fdopen(read) as number:
        return server, ':' + number.readline().strip()


def run(args, work):
    x_server, display = start_x_server()
    # The registry, started on demand, types keys on this display.
    Gio.bus_get_sync(Gio.BusType.SESSION, None).call_sync(
        'org.freedesktop.DBus', '/org/freedesktop/DBus', 'org.freedesktop.DBus', 'UpdateActivationEnvironment',
        GLib.Variant('(a{ss})', ({'DISPLAY': display},)), None, Gio.DBusCallFlags.NONE, -1, None)
    env = dict(os.environ, DISPLAY=display, XDG_CONFIG_HOME=work, KV36_PORT_DIR=work, QT_QPA_PLATFORM='xcb',
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1', ASAN_OPTIONS='detect_leaks=0')
    simulator = subprocess.Popen([args.simulator, '--com', '1'], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                 env=env)
    program = None
    try:
        wait_for('the simulator', lambda: os.path.lexists(os.path.join(work, 'COM1')))
        set_file = os.path.join(work, 'sada.qzr')
        subprocess.run([args.ctl, '--port', 'COM1', 'dump', set_file], env=env, check=True, stdout=subprocess.DEVNULL)
        program = subprocess.Popen([args.program], env=env)
        app = wait_for('the program on the bus', lambda: next(
            (a for a in children(Atspi.get_desktop(0)) if a.get_name() == 'KV-36'), None))
        try:
            read_program(Program(app), set_file)
        except (AssertionError, StopIteration) as stopped:
            problems.append('%s %s' % (type(stopped).__name__, stopped))
        if problems:  # what the screen showed, for the one who reads the failure
            subprocess.run(['import', '-display', display, '-window', 'root', 'tst_accessibility.png'], check=False)
    finally:
        for process in (program, simulator, x_server):
            if process:
                process.kill()
                process.wait()


def main():
    parser = argparse.ArgumentParser()
    for option in ('--program', '--simulator', '--ctl'):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as work:
        run(args, work)
    for problem in problems:
        print('FAIL:', problem)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
