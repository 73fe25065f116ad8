#!/usr/bin/python3
"""Reads the running editor the way a screen reader does: through the AT-SPI bus.

Starts its own X server (Xvfb), session bus and accessibility bus, runs lexora-editor in a temporary
home, and walks the application's tree in each state of the table below. A state fails on an
interactive node with an empty or class-like name, a showing node outside its window, more than one
focused node, a focus event for a node that does not hold the keyboard focus, or a details panel
without links. Every process it starts is ended before it returns.
"""
import os
import re
import signal
import subprocess
import sys
import tempfile
import time

EDITOR = sys.argv[1] if len(sys.argv) > 1 else 'lexora-editor'
started = []


def start(args, env, **kw):
    proc = subprocess.Popen(args, env=env, start_new_session=True, **kw)
    started.append(proc)
    return proc


def stop_all():
    for proc in reversed(started):
        for sig in (signal.SIGTERM, signal.SIGKILL):
            try:
                os.killpg(proc.pid, sig)
            except ProcessLookupError:
                break
            try:
                proc.wait(timeout=3)
                break
            except subprocess.TimeoutExpired:
                continue
    started.clear()


def fail(reason):
    print('FAIL: ' + reason)
    stop_all()
    sys.exit(1)


def start_buses(home):
    env = dict(os.environ, HOME=home, XDG_RUNTIME_DIR=home)
    read_fd, write_fd = os.pipe()
    try:
        start(['Xvfb', '-displayfd', str(write_fd), '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
              env, pass_fds=(write_fd,), stderr=subprocess.DEVNULL)
    except OSError as error:
        fail('Xvfb cannot start: %s' % error)
    os.close(write_fd)
    with os.fdopen(read_fd) as pipe:
        display = pipe.readline().strip()
    if not display:
        fail('Xvfb did not report a display')
    env['DISPLAY'] = ':' + display
    try:
        bus = start(['dbus-daemon', '--session', '--nofork', '--print-address=1'], env,
                    stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    except OSError as error:
        fail('the session bus cannot start: %s' % error)
    address = bus.stdout.readline().strip()
    if not address:
        fail('the session bus did not report its address')
    env['DBUS_SESSION_BUS_ADDRESS'] = address
    launcher = '/usr/libexec/at-spi-bus-launcher'
    if not os.path.exists(launcher):
        fail('%s is missing (package at-spi2-core)' % launcher)
    start([launcher, '--launch-immediately'], env, stderr=subprocess.DEVNULL)
    for _ in range(50):
        probe = subprocess.run(['dbus-send', '--session', '--print-reply', '--dest=org.a11y.Bus', '/org/a11y/bus',
                                'org.a11y.Bus.GetAddress'], env=env, capture_output=True, text=True)
        if probe.returncode == 0 and 'unix:' in probe.stdout:
            break
        time.sleep(0.1)
    else:
        fail('the accessibility bus did not start')
    env['QT_LINUX_ACCESSIBILITY_ALWAYS_ON'] = '1'
    env['QT_ACCESSIBILITY'] = '1'
    env['QT_QPA_PLATFORM'] = 'xcb'
    env.pop('QT_QPA_PLATFORMTHEME', None)
    os.environ.clear()
    os.environ.update(env)
    return env


# Controls whose states a reader announces: (role, name, states wanted, states not wanted).
CONTROLS = [
    ('text', 'Word', {'single-line', 'editable', 'focusable'}, {'multi-line'}),  # Return adds the word
]

INTERACTIVE = {'push button', 'toggle button', 'radio button', 'check box', 'combo box', 'spin button', 'text',
               'entry', 'list', 'list item', 'link', 'menu item', 'page tab', 'slider', 'tree', 'tree table',
               'table', 'table cell', 'dialog', 'frame', 'menu', 'popup menu', 'tool bar'}
CLASS_LIKE = re.compile(r'^(Q[A-Z]\w*|[A-Z][a-z]+(?:[A-Z][a-z0-9]*)+|\w+_\w+)$')


class Probe:
    def __init__(self, env):
        import pyatspi
        from gi.repository import Atspi, GLib
        self.pyatspi, self.Atspi, self.GLib = pyatspi, Atspi, GLib
        self.env = env
        self.problems = []
        self.events = []
        # A reader follows the focus by its state changes; the older focus: events alone go unheard.
        pyatspi.Registry.registerEventListener(self.heard, 'object:state-changed:focused')

    def heard(self, event):
        if event.detail1 == 1:
            self.events.append(event.source)

    def pump(self, seconds):
        context = self.GLib.MainContext.default()
        end = time.time() + seconds
        while time.time() < end:
            while context.iteration(False):
                pass
            time.sleep(0.02)

    def app(self, timeout=15):
        end = time.time() + timeout
        while time.time() < end:
            desktop = self.pyatspi.Registry.getDesktop(0)
            for i in range(desktop.childCount):
                child = desktop.getChildAtIndex(i)
                if child is not None and child.name == 'lexora-editor' and child.childCount > 0:
                    return child
            self.pump(0.1)
        fail('lexora-editor did not appear on the accessibility bus')

    def has(self, node, state):
        return node.getState().contains(state)

    def label(self, node):
        return '%s %r' % (node.getRoleName(), node.name)

    def rect(self, node):
        try:
            e = node.queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
            return (e.x, e.y, e.width, e.height)
        except Exception:
            return None

    def walk(self, node, found, window=None):
        """Collects the showing nodes below node whose ancestors all show; a list stops at its first hidden item."""
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is None:
                continue
            showing = self.has(child, self.pyatspi.STATE_SHOWING)
            if not showing:
                if child.getRole() == self.pyatspi.ROLE_LIST_ITEM:
                    break
                continue
            own_window = window if window is not None else child
            found.append((child, own_window))
            self.walk(child, found, own_window)
        return found

    def window(self, title_part):
        app = self.app()
        for _ in range(50):
            for i in range(app.childCount):
                child = app.getChildAtIndex(i)
                if child is not None and title_part in child.name and self.has(child, self.pyatspi.STATE_SHOWING):
                    return child
            self.pump(0.1)
        fail('no window named like %r' % title_part)

    def check_tree(self, state):
        nodes = self.walk(self.app(), [])
        focused = []
        for node, window in nodes:
            role = node.getRoleName()
            name = node.name or ''
            if role in INTERACTIVE and (not name.strip() or name != name.strip() or CLASS_LIKE.match(name)):
                if not (role in ('list', 'table', 'tree') and node.parent.getRoleName() == 'combo box'):
                    self.problem(state, 'interactive node without a proper name: %s' % self.label(node))
            if role == 'dialog' and node.parent.getRole() != self.pyatspi.ROLE_APPLICATION:
                self.problem(state, 'a dialog inside a window: %s' % self.label(node))
            if self.has(node, self.pyatspi.STATE_FOCUSED):
                focused.append(node)
            if node is not window:
                outer, inner = self.rect(window), self.rect(node)
                if outer and inner and inner[2] > 0 and inner[3] > 0:
                    wide = min(inner[0] + inner[2], outer[0] + outer[2]) - max(inner[0], outer[0])
                    high = min(inner[1] + inner[3], outer[1] + outer[3]) - max(inner[1], outer[1])
                    if wide <= 0 or high <= 0 or wide * high * 2 < inner[2] * inner[3]:
                        self.problem(state, 'showing outside its window %s: %s at %s' % (
                            self.label(window), self.label(node), inner))
        if len(focused) > 1:
            self.problem(state, 'several nodes claim the focus: %s' % ', '.join(self.label(n) for n in focused))
        self.check_controls(nodes, state)
        return nodes

    def check_controls(self, nodes, state):
        """Checks the controls of CONTROLS that the tree shows in this state."""
        for role, name, wanted, unwanted in CONTROLS:
            node = next((n for n, _ in nodes if n.getRoleName() == role and n.name == name), None)
            if node is None:
                continue
            states = {s.value_nick for s in node.getState().get_states()}
            if not wanted <= states or unwanted & states:
                self.problem(state, '%s reports %s, wants %s and not %s' % (
                    self.label(node), sorted(states), sorted(wanted), sorted(unwanted)))

    def problem(self, state, text):
        self.problems.append('[%s] %s' % (state, text))

    def key(self, keysym, state):
        """Presses a key and checks that every focus event it causes names the node focused afterwards; returns
        the nodes those events named, as a reader would announce them."""
        self.events.clear()
        self.Atspi.generate_keyboard_event(keysym, None, self.Atspi.KeySynthType.SYM)
        self.pump(0.35)
        holders = [n for n, _ in self.walk(self.app(), []) if self.has(n, self.pyatspi.STATE_FOCUSED)]
        for source in self.events:
            try:
                if not self.has(source, self.pyatspi.STATE_FOCUSED) or len(holders) > 1:
                    self.problem(state, 'focus event for %s while the keyboard focus is on %s' % (
                        self.label(source), ', '.join(self.label(n) for n in holders)))
            except Exception:
                pass
        heard = list(self.events)
        self.events.clear()
        return heard

    def find(self, nodes, role, name_part):
        for node, _ in nodes:
            if node.getRoleName() == role and name_part in (node.name or ''):
                return node
        return None

    def press(self, nodes, role, name, state):
        node = self.find(nodes, role, name)
        if node is None:
            fail('[%s] no %s named %r to press' % (state, role, name))
        action = node.queryAction()
        try:
            action.doAction(0)
        except Exception:
            pass  # a button that runs a modal dialog answers only when the dialog closes
        self.pump(0.8)

    def command(self, nodes, name, state):
        """Runs a host command through its toolbar button (shown, or kept in the toolbar's overflow)."""
        for node, _ in nodes:
            if node.getRoleName() != 'tool bar':
                continue
            for i in range(node.childCount):
                button = node.getChildAtIndex(i)
                if button is not None and button.name == name:
                    try:
                        button.queryAction().doAction(0)
                    except Exception:
                        pass
                    self.pump(0.8)
                    return
        fail('[%s] no toolbar command %r' % (state, name))

    def run_editor(self, *options):
        home = tempfile.mkdtemp(prefix='a11y-home-')
        env = dict(self.env, HOME=home)
        return start([EDITOR, *options], env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def close_editor(self, proc):
        started.remove(proc)
        os.killpg(proc.pid, signal.SIGKILL)
        proc.wait()
        self.pump(0.3)

    def links(self, panel):
        """The panel's hypertext links as (start, end, uri, link object), or None without hypertext."""
        try:
            hypertext = panel.queryHypertext()
            count = hypertext.getNLinks()
        except Exception:
            return None
        found = []
        for i in range(count):
            link = hypertext.getLink(i)
            found.append((link.startIndex, link.endIndex, link.getURI(0), link.getObject(0),
                          hypertext.getLinkIndex(link.startIndex)))
        return found

    def check_links(self, nodes, state):
        """Each link covers the text it shows in the panel's Text, leads to a link object named by the field it
        changes and the value shown ("part of speech: verb"), and is found again from its first character."""
        panel = self.find(nodes, self.panel_role(nodes), 'Word details')
        if panel is None:
            self.problem(state, 'no details panel named "Word details"')
            return None
        links = self.links(panel)
        if not links:
            self.problem(state, 'details links missing: %s has no hypertext links' % self.label(panel))
            return panel
        text = panel.queryText()
        for index, (start, end, uri, target, found_again) in enumerate(links):
            shown = text.getText(start, end).replace('\xa0', ' ').strip()
            name = target.name if target is not None else ''
            role = target.getRoleName() if target is not None else ''
            if not uri or not shown or role != 'link' or name != '%s: %s' % (uri.split('_', 1)[-1].replace(
                    '_', ' ').lstrip('0123456789 '), shown) or found_again != index:
                self.problem(state, 'details links wrong: link %d to %r at %d-%d shows %r, leads to %s %r, found again '
                             'as %d' % (index, uri, start, end, shown, role, name, found_again))
        if not any(target.name.startswith('part of speech: ') for _, _, _, target, _ in links):
            self.problem(state, 'details links wrong: no part-of-speech link')
        return panel

    def panel_role(self, nodes):
        for node, _ in nodes:
            if node.name == 'Word details':
                return node.getRoleName()
        return ''


def main():
    home = tempfile.mkdtemp(prefix='a11y-')
    env = start_buses(home)
    probe = Probe(env)
    ps = probe.pyatspi
    began = time.time()

    editor = probe.run_editor()
    probe.app()
    probe.pump(1.0)
    probe.check_tree('collapsed')
    for letter in 'depend':
        probe.key(ord(letter), 'collapsed, typing')

    nodes = probe.walk(probe.app(), [])
    probe.command(nodes, 'More or Less', 'expanded')
    nodes = probe.check_tree('expanded')
    more = [n for n, _ in nodes if n.getRoleName() == 'push button' and 'details' in (n.name or '').lower()]
    if not more or not probe.has(more[0], ps.STATE_EXPANDED):
        probe.problem('expanded', 'the More/Less button does not report the expanded state')
    panel = probe.check_links(nodes, 'expanded')
    count, words = probe.find(nodes, 'label', 'Word count'), probe.find(nodes, 'list', 'Words')
    try:
        value = count.queryValue().currentValue
    except Exception:
        value = None
    if words is None or value != words.childCount:
        probe.problem('expanded', 'the word count has the value %r for a list of %s words' % (
            value, words.childCount if words else 'no'))

    if panel is not None:
        panel.queryComponent().grabFocus()
        probe.pump(0.3)
        # Tab selects the first link: a reader hears that link named, and it is the link the selection covers.
        heard = probe.key(0xff09, 'expanded, Tab in details')
        selection = panel.queryText().getSelection(0)
        selected = [target for start, end, _, target, _ in probe.links(panel) or [] if (start, end) == tuple(selection)]
        if not selected or not heard or heard[-1].getRoleName() != 'link' or heard[-1].name != selected[0].name:
            probe.problem('expanded, Tab in details', 'Tab does not land on a named link: selection %s, heard %s' % (
                tuple(selection), ', '.join(probe.label(n) for n in heard) or 'nothing'))
        probe.key(0xff0d, 'dialog')  # Return follows the part-of-speech link
        dialog = probe.window('Part')
        probe.check_tree('dialog')
        radios = [n for n, _ in probe.walk(dialog, []) if n.getRoleName() == 'radio button']
        checked = [n for n in radios if probe.has(n, ps.STATE_CHECKED)]
        if checked and not probe.has(checked[0], ps.STATE_FOCUSED):
            probe.problem('dialog', 'the checked choice %s does not have the focus' % probe.label(checked[0]))
        probe.key(0xff1b, 'dialog')  # Escape
    probe.close_editor(editor)

    editor = probe.run_editor('--advanced')
    probe.app()
    probe.pump(1.0)
    nodes = probe.walk(probe.app(), [])
    probe.command(nodes, 'More or Less', 'advanced')
    nodes = probe.check_tree('advanced')
    panels = [n for n, _ in nodes if n.name == 'Word details']
    if len(panels) != 1:
        probe.problem('advanced', '%d details panels showing' % len(panels))
    panel = probe.check_links(nodes, 'advanced')
    links = probe.links(panel) if panel is not None else None
    if links:
        # The context menu of a link: a child of the application, heard when it opens, the focus back after it.
        probe.events.clear()
        x, y, wide, high = probe.rect(links[0][3])
        probe.Atspi.generate_mouse_event(x + wide // 2, y + high // 2, 'b3c')
        probe.pump(0.8)
        app = probe.app()
        menus = [app.getChildAtIndex(i) for i in range(app.childCount)]
        menus = [m for m in menus if m is not None and m.getRoleName() == 'popup menu']
        heard = [n.getRoleName() for n in probe.events]
        if not menus or menus[0].childCount == 0 or 'popup menu' not in heard:
            probe.problem('advanced, context menu', 'the context menu is not announced in the application: heard %s'
                          % heard)
        elif not menus[0].name.startswith('Actions on part of speech: '):
            probe.problem('advanced, context menu', 'the context menu does not say which link it acts on: %s'
                          % probe.label(menus[0]))
        probe.check_tree('advanced, context menu')
        heard = probe.key(0xff1b, 'advanced, context menu')  # Escape
        if not heard or heard[-1].name != 'Word details':
            probe.problem('advanced, context menu', 'closing the menu does not announce the focus back on the panel')
    probe.command(nodes, 'Test Prediction', 'test window')
    window = probe.window('Test Prediction')
    probe.check_tree('test window')
    for letter in 'te':
        probe.key(ord(letter), 'test window, typing')
    probe.close_editor(editor)

    stop_all()
    print('walked in %.1f s' % (time.time() - began))
    failed = False
    for line in probe.problems:
        gap = known_gap(line)
        if gap:
            KNOWN_GAPS[gap] = True
            print('XFAIL (known gap, not yet fixed): ' + line)
        else:
            failed = True
            print('FAIL: ' + line)
    # A known gap that no longer shows is fixed: it must come off the list, so that it stays fixed.
    for gap, seen in KNOWN_GAPS.items():
        if not seen:
            failed = True
            print('XPASS: "%s" no longer happens; take it off KNOWN_GAPS' % gap)
    return 1 if failed else 0


# What the bridge of Qt 6.4 cannot yet be made to say; each is a problem the walk still reports, kept apart so
# that everything else fails the test. None is left.
KNOWN_GAPS = {}


def known_gap(line):
    for gap in KNOWN_GAPS:
        if gap in line:
            return gap
    return None


if __name__ == '__main__':
    try:
        sys.exit(main())
    finally:
        stop_all()
