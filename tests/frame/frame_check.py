"""The frame check: what each front end shows, read where it is shown, against the scene's own
drawing of the same moment, made afresh in memory. Pixel for pixel, outside the legend's text.

    python3 tests/frame/frame_check.py FrameCheck.test_x11        (host preset: ASCENDA_FRAME_X11,
    python3 tests/frame/frame_check.py FrameCheck.test_wayland     ASCENDA_FRAME_WAYLAND: the test
    python3 tests/frame/frame_check.py FrameCheck.test_chromium    builds with the freeze hook;
    python3 tests/frame/frame_check.py FrameCheck.test_firefox     web preset: ASCENDA_WEB_BUILD)

Each front end runs its rows of CASES in turn on one saver: the step is done while the passes run,
the passes go on until the picture has changed a few times, then the hook freezes them and the
screen must come to equal the reference within a few seconds.
"""

import glob
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools', 'web'))
import browser  # noqa: E402

# (front end, case): every row is one comparison after that step.
CASES = [
    ('x11', 'start'),
    ('x11', 'resize'),
    ('wayland', 'start'),
    ('wayland', 'resize'),            # the output's mode changes
    ('wayland', 'rotation'),
    ('wayland', 'scale change'),
    ('wayland', 'output added'),      # a second output comes, before the first in sway's layout
    ('chromium', 'start'),
    ('chromium', 'resize'),
    ('chromium', 'floors lowered'),
    ('chromium', 'colours off'),
    ('chromium', 'output change'),    # the window moves to a larger screen of twice the pixel ratio
    ('firefox', 'start'),
    ('firefox', 'floors lowered'),
    ('firefox', 'colours off'),
]
# The address's settings: many people, fast lifts and short pauses, so that people soon ride up to
# the floors that Floors lowered then takes away.
QUERY = '?cars=4&people=85&speed=100&lift-pause=1&pass-pause=10&pass-interval=100'
# Whether anyone stands above floor 4 (anything but the slabs' and the fill's colours left of the
# buttons and above floor 4's slab).
ANYONE_ABOVE_FLOOR_4 = """(() => {
  const {scale, screenFactor} = Module.sceneExtent, device = (world) => Math.trunc(world * screenFactor / scale);
  const right = device(140 * scale / 4 - 60), bottom = device(190 * scale / 4 - 450);
  const data = Module.sceneContext.getImageData(0, 0, right, bottom).data;
  const back = new Set(['0,0,128', '0,0,96']);
  for (let index = 0; index < data.length; index += 4)
    if (!back.has(data[index] + ',' + data[index + 1] + ',' + data[index + 2]))
      return true;
  return false;
})()"""
SETTLE_S = 5  # the screen may lag behind the freeze this long
# Tall glyphs (the legend's bars) reach a little above the line the font gives its text.
TEXT_OVERHANG = 4


def read_ppm(data):
    """(width, height, rgb bytes, comment lines) of a binary PPM with 8-bit channels."""
    fields, comments, position = [], [], 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        if data[position:position + 1] == b'#':
            end = data.index(b'\n', position)
            comments.append(data[position + 1:end].decode().strip())
            position = end + 1
            continue
        end = position
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[position:end])
        position = end
    if fields[0] != b'P6' or fields[3] != b'255':
        raise ValueError('not an 8-bit binary PPM: %r' % fields)
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[position + 1:position + 1 + width * height * 3], comments


def differences(reference, shown, text):
    """Pixels that differ outside the legend's text (right of its corner, and below it less the
    overhang): (count, box)."""
    width, height, expected, _ = reference
    shown_width, shown_height, actual, _ = shown
    if (shown_width, shown_height) != (width, height):
        return width * height, 'the screen is %dx%d, the reference %dx%d' % (shown_width, shown_height, width, height)
    count, box = 0, None
    text_x, text_y = text
    for y in range(height):
        row = slice(y * width * 3, (y + 1) * width * 3)
        if expected[row] == actual[row]:
            continue
        for x in range(width):
            if text_x >= 0 and x >= text_x and y >= text_y - TEXT_OVERHANG:
                break
            at = (y * width + x) * 3
            if expected[at:at + 3] != actual[at:at + 3]:
                count += 1
                box = (min(box[0], x), min(box[1], y), max(box[2], x), max(box[3], y)) if box else (x, y, x, y)
    return count, box


def poll(condition, timeout, what):
    return browser.wait_until(condition, timeout, what)


class NativeSaver:
    """A saver test build on its display: frozen and thawed by its signals."""

    def __init__(self, folder):
        self.folder = folder
        self.reference_path = os.path.join(folder, 'reference.ppm')
        self.process = None

    def freeze(self):
        if os.path.exists(self.reference_path):
            os.remove(self.reference_path)
        self.process.send_signal(signal.SIGUSR1)
        data = poll(lambda: os.path.exists(self.reference_path) and open(self.reference_path, 'rb').read(), 10,
                    'the reference')
        self.reference = read_ppm(data)
        text = next((comment.split()[1:] for comment in self.reference[3] if comment.startswith('text ')),
                    ['-1', '-1'])
        self.text = (int(text[0]), int(text[1]))

    def compare(self):
        return differences(self.reference, self.screen(), self.text)

    def picture(self):
        return self.screen()[2]

    def thaw(self):
        self.process.send_signal(signal.SIGUSR2)

    def close(self):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            self.process.wait(10)


class X11Saver(NativeSaver):
    """`ascenda` in its own window on a private Xvfb (no window manager: the window is at 0, 0)."""

    def __init__(self, folder):
        super().__init__(folder)
        self.display = ':%d' % (200 + os.getpid() % 500)
        self.server = subprocess.Popen(['Xvfb', self.display, '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        environment = dict(os.environ, DISPLAY=self.display, ASCENDA_FRAME_REFERENCE=self.reference_path)
        poll(lambda: subprocess.run(['xdpyinfo'], env=environment, capture_output=True).returncode == 0, 15,
             'Xvfb')
        self.environment = environment
        self.process = subprocess.Popen([os.environ['ASCENDA_FRAME_X11'], '--cars', '4', '--people', '85'],
                                        env=environment)
        self.window = poll(lambda: self.xdotool('search', '--name', '^Ascenda Vintra$'), 15, 'the window')

    def xdotool(self, *arguments):
        return subprocess.run(['xdotool'] + list(arguments), env=self.environment, capture_output=True,
                              text=True).stdout.strip()

    def step(self, case):
        if case == 'resize':
            self.xdotool('windowsize', self.window, '800', '600')

    def screen(self):
        data = subprocess.run(['import', '-window', self.window, '-depth', '8', 'ppm:-'], env=self.environment,
                              capture_output=True).stdout
        return read_ppm(data) if data else (0, 0, b'', [])

    def close(self):
        super().close()
        self.server.terminate()
        self.server.wait(10)


class WaylandSaver(NativeSaver):
    """`ascenda-wayland` in a private headless sway, as nobody when run as root; read with grim."""

    def __init__(self, folder):
        super().__init__(folder)
        os.chmod(folder, 0o777)
        self.runtime = os.path.join(folder, 'runtime')
        os.mkdir(self.runtime, 0o700)
        self.as_user = []
        if os.geteuid() == 0:
            self.as_user = ['setpriv', '--reuid=nobody', '--regid=nogroup', '--clear-groups', '--']
            shutil.chown(self.runtime, 'nobody', 'nogroup')
        with open(os.path.join(folder, 'config'), 'w') as config:
            config.write('output HEADLESS-1 mode 1024x768\n')
        saver = os.path.join(folder, 'ascenda-wayland')
        shutil.copy(os.environ['ASCENDA_FRAME_WAYLAND'], saver)
        self.sway = self.spawn(['env', 'WLR_BACKENDS=headless', 'WLR_RENDERER=pixman', 'WLR_LIBINPUT_NO_DEVICES=1',
                                'sway', '-c', os.path.join(folder, 'config')])
        poll(lambda: glob.glob(os.path.join(self.runtime, 'sway-ipc.*.sock')) and
             os.path.exists(os.path.join(self.runtime, 'wayland-1')), 15, 'sway')
        self.process = self.spawn(['env', 'WAYLAND_DISPLAY=wayland-1', 'ASCENDA_FRAME_REFERENCE=' +
                                   self.reference_path, saver, '--cars', '4', '--people', '85'])
        self.output = 'HEADLESS-1'

    def spawn(self, command):
        return subprocess.Popen(self.as_user + ['env', 'XDG_RUNTIME_DIR=' + self.runtime] + command,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def run(self, command):
        return subprocess.run(self.as_user + ['env', 'XDG_RUNTIME_DIR=' + self.runtime,
                                              'SWAYSOCK=' + glob.glob(os.path.join(self.runtime, 'sway-ipc.*.sock'))[0],
                                              'WAYLAND_DISPLAY=wayland-1'] + command, capture_output=True)

    def step(self, case):
        if case == 'resize':
            self.run(['swaymsg', 'output', self.output, 'mode', '800x600'])
        elif case == 'rotation':
            self.run(['swaymsg', 'output', self.output, 'transform', '90'])
        elif case == 'scale change':
            self.run(['swaymsg', 'output', self.output, 'scale', '2'])
        elif case == 'output added':
            self.run(['swaymsg', 'create_output'])

    def screen(self):
        shot = self.run(['grim', '-t', 'ppm', '-o', self.output, '-'])
        return read_ppm(shot.stdout) if shot.returncode == 0 and shot.stdout else (0, 0, b'', [])

    def close(self):
        super().close()
        self.sway.terminate()
        self.sway.wait(10)


class PageSaver:
    """The page in a headless browser, its canvas read back; the module's hook freezes it."""

    COMPARE = """(() => {
      const canvas = Module.sceneCanvas, width = canvas.width, height = canvas.height;
      const shown = Module.sceneContext.getImageData(0, 0, width, height).data;
      const [textX, textTop] = Module.ccall('AscendaReferenceText', 'string', [], []).split(' ').map(Number);
      const heap = typeof HEAPU8 !== 'undefined' ? HEAPU8 : Module.HEAPU8;
      const textY = textTop - %d;
      let count = 0, box = null;
      for (let y = 0; y < height; ++y) {
        const at = Module.ccall('AscendaReferenceRow', 'number', ['number'], [y]);
        if (!at)
          return {count: -1, box: 'no reference row ' + y};
        for (let x = 0; x < width && !(textX >= 0 && x >= textX && y >= textY); ++x) {
          const i = y * width * 4 + x * 4, r = at + x * 4;
          if (shown[i] !== heap[r] || shown[i + 1] !== heap[r + 1] || shown[i + 2] !== heap[r + 2]) {
            ++count;
            box = box ? [Math.min(box[0], x), Math.min(box[1], y), Math.max(box[2], x), Math.max(box[3], y)]
                      : [x, y, x, y];
          }
        }
      }
      return {count, box};
    })()"""

    COMPARE = COMPARE % TEXT_OVERHANG

    def __init__(self, name):
        self.server = browser.Server(os.environ.get('ASCENDA_WEB_BUILD', 'build/web'))
        self.page = browser.Browser() if name == 'chromium' else browser.Firefox()
        self.page.set_size(1024, 768)
        self.page.open(self.server.url + QUERY)

    def step(self, case):
        if case == 'resize':
            self.page.set_size(800, 600)
            self.page.wait_for("document.getElementById('building').width === 800")
        elif case == 'output change':
            self.page.set_size(1024, 768, 2)
            self.page.wait_for("document.getElementById('building').width === 2048")
        elif case == 'floors lowered':
            self.page.wait_for(ANYONE_ABOVE_FLOOR_4, 60)
            self.set('floors', '4')
        elif case == 'colours off':
            self.set('colours', False)

    def set(self, name, value):
        """Changes a setting in the panel as a person would, and waits until the page took it."""
        self.page.evaluate("""(() => {
          const input = document.querySelector('#panel [name=%s]');
          if (input.type === 'checkbox') input.checked = %s; else input.value = %s;
          input.dispatchEvent(new Event(input.type === 'checkbox' ? 'input' : 'change', {bubbles: true}));
          return true;
        })()""" % (name, 'true' if value is True else 'false', '"%s"' % value))
        self.page.wait_for("new URLSearchParams(location.search).get('%s') === '%s'"
                           % (name, value if value not in (True, False) else int(value)))

    def freeze(self):
        self.page.evaluate("Module.ccall('AscendaFreeze', null, ['number'], [1])")

    def thaw(self):
        self.page.evaluate("Module.ccall('AscendaFreeze', null, ['number'], [0])")

    def compare(self):
        result = self.page.evaluate(self.COMPARE)
        return result['count'], result['box']

    def picture(self):
        # A hash of the canvas: its bytes are too many to carry over the protocol each time.
        return self.page.evaluate("""(() => {
          const data = Module.sceneContext.getImageData(0, 0, Module.sceneCanvas.width,
                                                        Module.sceneCanvas.height).data;
          let hash = 0;
          for (let index = 0; index < data.length; ++index)
            hash = (hash * 31 + data[index]) | 0;
          return hash;
        })()""")

    def close(self):
        self.page.close()
        self.server.close()


class FrameCheck(unittest.TestCase):

    def run_cases(self, front_end, make_saver):
        folder = tempfile.mkdtemp(prefix='ascenda-frame-')
        saver = None
        try:
            saver = make_saver(folder)
            for _, case in [row for row in CASES if row[0] == front_end]:
                with self.subTest(case=case):
                    saver.step(case)
                    self.run_a_while(saver)
                    self.check(saver, front_end, case, folder)
        finally:
            if saver:
                saver.close()
            shutil.rmtree(folder, ignore_errors=True)

    @staticmethod
    def run_a_while(saver):
        """Until the picture has changed three times: cars have moved, people have stepped."""
        for _ in range(3):
            before = saver.picture()
            poll(lambda: saver.picture() != before, 15, 'the picture to change')

    def check(self, saver, front_end, case, folder):
        saver.freeze()
        try:
            deadline = time.monotonic() + SETTLE_S
            found = saver.compare()
            while found[0] != 0 and time.monotonic() < deadline:
                time.sleep(0.1)
                found = saver.compare()
            self.assertEqual(found[0], 0, '%s after %s: %s pixels differ from the fresh drawing, within %s'
                             % (front_end, case, found[0], found[1]))
        finally:
            saver.thaw()

    def test_x11(self):
        self.run_cases('x11', X11Saver)

    def test_wayland(self):
        self.run_cases('wayland', WaylandSaver)

    def test_chromium(self):
        self.run_cases('chromium', lambda folder: PageSaver('chromium'))

    def test_firefox(self):
        self.run_cases('firefox', lambda folder: PageSaver('firefox'))


if __name__ == '__main__':
    unittest.main()
