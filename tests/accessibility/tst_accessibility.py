"""Every window of the program as a screen reader reads it through the
desktop's accessibility bus (AT-SPI), against the regulator simulator: every
control has a name, the value panels' numbers and the status bar's text are
readable, every window has a window role, the tab bars report each tab where
it is drawn, and the check box "aut. čtení" toggled through its action starts
polling. Run inside a D-Bus session of its own (dbus-run-session); it starts
its own X server.
"""
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

# The action names are what the bridge exports; their newer getter is not in
# every libatspi.
warnings.filterwarnings('ignore', category=DeprecationWarning)

WINDOW_ROLES = {Atspi.Role.FRAME, Atspi.Role.DIALOG, Atspi.Role.WINDOW, Atspi.Role.ALERT}
CONTROL_ROLES = {Atspi.Role.PUSH_BUTTON, Atspi.Role.TOGGLE_BUTTON, Atspi.Role.CHECK_BOX, Atspi.Role.RADIO_BUTTON,
                 Atspi.Role.COMBO_BOX, Atspi.Role.TEXT, Atspi.Role.PASSWORD_TEXT, Atspi.Role.SPIN_BUTTON,
                 Atspi.Role.PAGE_TAB, Atspi.Role.MENU_ITEM, Atspi.Role.CHECK_MENU_ITEM, Atspi.Role.RADIO_MENU_ITEM,
                 Atspi.Role.SLIDER, Atspi.Role.TABLE, Atspi.Role.LIST, Atspi.Role.TREE_TABLE}
SHOWN_NUMBER = re.compile(r'^-?\d+[.,]\d$')
PATIENCE = 60  # seconds; the program runs under the sanitizers
problems = []
read = {'windows': 0, 'controls': 0}


def check(condition, text):
    if not condition:
        problems.append(text)
    return condition


def wait_for(what, probe, patience=PATIENCE):
    end = time.monotonic() + patience
    while time.monotonic() < end:
        found = probe()
        if found:
            return found
        time.sleep(0.2)
    raise AssertionError('gave up waiting for ' + what)


def children(acc):
    return [c for c in (acc.get_child_at_index(i) for i in range(acc.get_child_count())) if c is not None]


def descendants(acc):
    for child in children(acc):
        yield child
        yield from descendants(child)


def shown(acc):
    states = acc.get_state_set()
    return states.contains(Atspi.StateType.SHOWING) and states.contains(Atspi.StateType.VISIBLE)


def extents(acc):
    return acc.get_extents(Atspi.CoordType.SCREEN)


def inside(inner, outer):
    return (outer.x <= inner.x and outer.y <= inner.y and inner.x + inner.width <= outer.x + outer.width
            and inner.y + inner.height <= outer.y + outer.height)


def overlap(one, other):
    return (one.x < other.x + other.width and other.x < one.x + one.width and one.y < other.y + other.height
            and other.y < one.y + one.height)


def text_of(acc):
    return Atspi.Text.get_text(acc, 0, -1) if 'Text' in acc.get_interfaces() else None


def spoken_name(acc):
    """The name, or for a control named by its labels (a combo box) theirs."""
    if acc.get_name():
        return acc.get_name()
    for relation in acc.get_relation_set():
        if relation.get_relation_type() == Atspi.RelationType.LABELLED_BY:
            names = [relation.get_target(i).get_name() for i in range(relation.get_n_targets())]
            if any(names):
                return ' '.join(names)
    return ''


class Program:
    def __init__(self, app):
        self.app = app
        session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        address = session.call_sync('org.a11y.Bus', '/org/a11y/bus', 'org.a11y.Bus', 'GetAddress', None,
                                    GLib.VariantType('(s)'), Gio.DBusCallFlags.NONE, -1, None).unpack()[0]
        self.bus = Gio.DBusConnection.new_for_address_sync(
            address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION,
            None, None)

    def windows(self):
        """The windows on screen; a window once shown stays on the bus hidden."""
        self.app.clear_cache()
        return [w for w in children(self.app) if shown(w)]

    def window(self, name, role=None):
        def probe():
            return next((w for w in self.windows() if w.get_name() == name
                         and (role is None or w.get_role() == role)), None)
        return wait_for('window ' + name, probe)

    def window_gone(self, window):
        wait_for('closing ' + window.get_name(), lambda: not any(w.path == window.path for w in self.windows()))

    def act(self, acc, action):
        """Does an action without waiting for its end: one that opens a
        modal window ends only when the window closes."""
        names = [Atspi.Action.get_action_name(acc, i) for i in range(Atspi.Action.get_n_actions(acc))]
        if not check(action in names, '%s "%s" has no action %s' % (acc.get_role_name(), acc.get_name(), action)):
            return
        self.bus.call(acc.app.bus_name, acc.path, 'org.a11y.atspi.Action', 'DoAction',
                      GLib.Variant('(i)', (names.index(action),)), None, Gio.DBusCallFlags.NONE, -1, None, None)
        self.bus.flush_sync(None)


def find(root, role, name=None):
    return wait_for('%s "%s"' % (role.value_nick, name),
                    lambda: next((a for a in descendants(root) if a.get_role() == role
                                  and (name is None or a.get_name() == name)), None))


def press_key(keysym):
    Atspi.generate_keyboard_event(keysym, None, Atspi.KeySynthType.SYM)
    time.sleep(0.3)


def read_window(window, title):
    """What every window must give a screen reader."""
    check(window.get_role() in WINDOW_ROLES, '%s has the role %s' % (title, window.get_role_name()))
    read['windows'] += 1
    for acc in descendants(window):
        if acc.get_role() not in CONTROL_ROLES or not shown(acc):
            continue
        if acc.get_role() == Atspi.Role.TEXT and acc.get_parent().get_role() == Atspi.Role.COMBO_BOX:
            continue  # the edit of a combo box is read as the box
        read['controls'] += 1
        check(spoken_name(acc), '%s: a %s without a name' % (title, acc.get_role_name()))


def read_main_window(program, main):
    read_window(main, 'main window')
    panels = [a for a in descendants(main) if a.get_role() == Atspi.Role.LABEL and text_of(a) is not None]
    names = sorted(p.get_name() for p in panels)
    check(names == sorted(['teplota vody', 'venkovní teplota', 'žádaná', 'útlum', 'odchylka']),
          'value panels read as %s' % names)
    automatic = find(main, Atspi.Role.CHECK_BOX, 'aut. čtení')
    program.act(automatic, 'Toggle')
    # No log file is named yet: the save dialog asks for one; cancelled,
    # polling goes on without a log.
    save = wait_for('the log file dialog', lambda: next((w for w in program.windows() if w.path != main.path
                                                          and w.get_name() != 'Provoz na sběrnici'), None))
    read_window(save, 'log file dialog')
    cancel = next(a for a in descendants(save) if a.get_role() == Atspi.Role.PUSH_BUTTON
                  and a.get_name() in ('Zrušit', 'Cancel'))
    program.act(cancel, 'Press')
    program.window_gone(save)
    try:
        wait_for('polled values in the panels', lambda: panels and all(SHOWN_NUMBER.match(text_of(p) or '')
                                                                           for p in panels), 20)
    except AssertionError:
        problems.append('panels read %s after polling started' % [text_of(p) for p in panels])
    status = find(main, Atspi.Role.STATUS_BAR)
    check(any(a.get_name() for a in descendants(status)), 'the status bar reads nothing')


def read_tab_bars(program, window, title):
    bars = [a for a in descendants(window) if a.get_role() == Atspi.Role.PAGE_TAB_LIST]
    check(len(bars) == 2, '%s has %d tab bars' % (title, len(bars)))
    frame = extents(window)
    for bar in bars:
        tabs = [t for t in children(bar) if t.get_role() == Atspi.Role.PAGE_TAB]
        for i, tab in enumerate(tabs):
            check(inside(extents(tab), frame), '%s: tab "%s" is reported outside the window' % (title, tab.get_name()))
            for other in tabs[:i]:
                check(not overlap(extents(tab), extents(other)),
                      '%s: tabs "%s" and "%s" are reported in one place' % (title, tab.get_name(), other.get_name()))
    tuesday = find(window, Atspi.Role.PAGE_TAB, 'Úterý')
    program.act(tuesday, 'Press')
    wait_for('Úterý selected', lambda: tuesday.get_state_set().contains(Atspi.StateType.SELECTED), 10)


def open_from_menu_button(program, window, button, downs):
    program.act(find(window, Atspi.Role.PUSH_BUTTON, button), 'ShowMenu')
    time.sleep(1)
    for _ in range(downs):
        press_key(0xff54)  # Down
    press_key(0xff0d)  # Return


def read_compare_dialog(program, settings, set_file):
    open_from_menu_button(program, settings, 'Soubor', 3)
    chooser = program.window('Porovnat se sadou parametrů')
    file_name = next(a for a in descendants(chooser) if a.get_role() == Atspi.Role.TEXT and shown(a)
                     and 'EditableText' in a.get_interfaces())
    Atspi.EditableText.set_text_contents(file_name, set_file)
    program.act(next(a for a in descendants(chooser) if a.get_role() == Atspi.Role.PUSH_BUTTON
                     and a.get_name() in ('Otevřít', 'Open')), 'Press')
    compared = program.window('Porovnání se souborem')
    read_window(compared, 'compare dialog')
    labels = [a.get_name() for a in descendants(compared) if a.get_role() == Atspi.Role.LABEL]
    check(any(set_file in label for label in labels), 'the compare dialog hides the file: %s' % labels)
    check(any(label == 'Shodné' or label.startswith('Počet rozdílných polí') for label in labels),
          'the compare dialog hides its result: %s' % labels)
    program.act(find(compared, Atspi.Role.PUSH_BUTTON, 'Zavřít'), 'Press')
    program.window_gone(compared)


def read_settings_window(program, main, set_file):
    program.act(find(main, Atspi.Role.MENU_ITEM, 'Nastavení regulátoru'), 'Press')
    settings = program.window('QZR 17', Atspi.Role.DIALOG)
    progress = find(settings, Atspi.Role.PROGRESS_BAR)
    wait_for('the automatic read', lambda: not shown(progress))
    read_window(settings, 'settings window')
    read_tab_bars(program, settings, 'settings window')
    read_compare_dialog(program, settings, set_file)
    open_from_menu_button(program, settings, 'Soubor', 4)
    report = program.window('Protokol o nastavení')
    read_window(report, 'report preview')
    program.act(find(report, Atspi.Role.PUSH_BUTTON, 'Zavřít'), 'Press')
    program.window_gone(report)
    program.act(find(settings, Atspi.Role.PUSH_BUTTON, 'Zpět'), 'Press')
    program.window_gone(settings)


def read_dialog(program, main, menu_item, title, close, inner=None):
    program.act(find(main, Atspi.Role.MENU_ITEM, menu_item), 'Press')
    dialog = program.window(title)
    read_window(dialog, title)
    if inner:
        inner(dialog)
    program.act(find(dialog, Atspi.Role.PUSH_BUTTON, close), 'Press')
    program.window_gone(dialog)


def read_port_chooser(program, link):
    program.act(find(link, Atspi.Role.PUSH_BUTTON, 'Porty v počítači...'), 'Press')
    chooser = program.window('Porty v počítači')
    read_window(chooser, 'port chooser')
    program.act(find(chooser, Atspi.Role.PUSH_BUTTON, 'Zavřít'), 'Press')
    program.window_gone(chooser)


def start_x_server():
    """An X server on a display number it chose itself, free of races with
    other servers starting at the same time."""
    read, write = os.pipe()
    server = subprocess.Popen(['Xvfb', '-displayfd', str(write), '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
                              pass_fds=(write,))
    os.close(write)
    number = b''
    while not number.endswith(b'\n'):
        chunk = os.read(read, 16)
        if not chunk:
            raise AssertionError('the X server did not start')
        number += chunk
    os.close(read)
    return server, ':' + number.decode().strip()


def run(args, work):
    x_server, display = start_x_server()
    # The accessibility bus and its registry start on demand; the registry
    # types keys on this display.
    Gio.bus_get_sync(Gio.BusType.SESSION, None).call_sync(
        'org.freedesktop.DBus', '/org/freedesktop/DBus', 'org.freedesktop.DBus', 'UpdateActivationEnvironment',
        GLib.Variant('(a{ss})', ({'DISPLAY': display},)), None, Gio.DBusCallFlags.NONE, -1, None)
    env = dict(os.environ, DISPLAY=display, XDG_CONFIG_HOME=os.path.join(work, 'config'),
               KV36_PORT_DIR=os.path.join(work, 'ports'), QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1',
               QT_QPA_PLATFORM='xcb', ASAN_OPTIONS='detect_leaks=0')
    env.pop('XAUTHORITY', None)
    os.makedirs(env['KV36_PORT_DIR'])
    simulator = subprocess.Popen([args.simulator, '--com', '1'], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                 env=env)
    program = None
    try:
        wait_for('the simulator', lambda: os.path.lexists(os.path.join(env['KV36_PORT_DIR'], 'COM1')))
        set_file = os.path.join(work, 'sada.qzr')
        subprocess.run([args.ctl, '--port', 'COM1', 'dump', set_file], env=env, check=True,
                       stdout=subprocess.DEVNULL)
        program = subprocess.Popen([args.program], env=env)
        desktop = Atspi.get_desktop(0)
        app = wait_for('the program on the bus', lambda: next((a for a in children(desktop)
                                                               if a.get_name() == 'KV-36'), None))
        kv36 = Program(app)
        try:
            main = kv36.window('QZR 17', Atspi.Role.FRAME)
            read_main_window(kv36, main)
            kv36.act(find(main, Atspi.Role.MENU_ITEM, 'Provoz na sběrnici'), 'Press')
            read_window(kv36.window('Provoz na sběrnici'), 'traffic monitor')
            read_settings_window(kv36, main, set_file)
            read_dialog(kv36, main, 'Komunikační port', 'Komunikační port', 'OK',
                        lambda link: read_port_chooser(kv36, link))
            read_dialog(kv36, main, 'Nastavení ukládání', 'Nastavení', 'OK')
            read_dialog(kv36, main, 'Identifikace', 'Identifikace', 'OK')
            read_dialog(kv36, main, 'O aplikaci', 'O aplikaci', 'OK')
        except AssertionError as stopped:
            problems.append(str(stopped))
        if problems:
            # What the screen showed, for the one who reads the failure.
            subprocess.run(['import', '-display', display, '-window', 'root', 'tst_accessibility.png'], check=False)
    finally:
        if program:
            program.kill()
            program.wait()
        simulator.kill()
        simulator.wait()
        x_server.kill()
        x_server.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--program', required=True)
    parser.add_argument('--simulator', required=True)
    parser.add_argument('--ctl', required=True)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as work:
        try:
            run(args, work)
        except AssertionError as stopped:
            problems.append(str(stopped))
    for problem in problems:
        print('FAIL:', problem)
    print('%d windows and %d controls read, %d problems' % (read['windows'], read['controls'], len(problems)))
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
