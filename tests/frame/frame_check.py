"""The frame check: each front end's picture, read where it is shown, against the scene's drawing
of the same moment made afresh in memory, pixel for pixel outside the legend's text. For each row
of CASES: the step, the passes run on until the picture has changed three times, then the hook
freezes them and the screen must equal the reference within SETTLE_S."""

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

CASES = [  # (front end, step)
    ('x11', 'start'), ('x11', 'resize'),
    ('wayland', 'start'), ('wayland', 'resize'), ('wayland', 'rotation'), ('wayland', 'scale change'),
    ('wayland', 'output added'),
    ('chromium', 'start'), ('chromium', 'resize'), ('chromium', 'floors lowered'), ('chromium', 'colours off'),
    ('chromium', 'output change'),  # to a larger screen of twice the pixel ratio
    ('firefox', 'start'), ('firefox', 'floors lowered'), ('firefox', 'colours off'),
]
# Fast lifts and short pauses: people soon stand on the floors that Floors lowered takes away.
SETTINGS = ['cars=4', 'people=85', 'speed=100', 'lift-pause=1', 'pass-pause=10', 'pass-interval=100']
SETTLE_S = 30  # a ceiling: the compositor or the browser shows the frozen frame within a second when quiet
TEXT_OVERHANG = 4  # rows: tall glyphs (the legend's bars) reach above the font's line
ANYONE_ABOVE_FLOOR_4 = """(() => {
  const {scale, screenFactor} = Module.sceneExtent, device = (world) => Math.trunc(world * screenFactor / scale);
  const data = Module.sceneContext.getImageData(0, 0, device(35 * scale - 60), device(47.5 * scale - 450)).data;
  for (let index = 0; index < data.length; index += 4)  // left of the buttons: anything but slab or fill
    if (data[index] || data[index + 1] || (data[index + 2] !== 128 && data[index + 2] !== 96)) return true;
  return false;
})()"""
COMPARE = """(() => {
  const width = Module.sceneCanvas.width, height = Module.sceneCanvas.height;
  const shown = Module.sceneContext.getImageData(0, 0, width, height).data;
  const [textX, textY] = Module.ccall('AscendaReferenceText', 'string', [], []).split(' ').map(Number);
  const heap = typeof HEAPU8 !== 'undefined' ? HEAPU8 : Module.HEAPU8;
  let count = 0, box = null;
  for (let y = 0; y < height; ++y) {
    const row = Module.ccall('AscendaReferenceRow', 'number', ['number'], [y]);
    for (let x = 0; x < width && !(textX >= 0 && x >= textX && y >= textY - %d); ++x) {
      const at = (y * width + x) * 4, reference = row + x * 4;
      if ([0, 1, 2].some((channel) => shown[at + channel] !== heap[reference + channel])) {
        ++count;
        box = box ? [Math.min(box[0], x), Math.min(box[1], y), Math.max(box[2], x), Math.max(box[3], y)] : [x, y, x, y];
      }
    }
  }
  return [count, box];
})()""" % TEXT_OVERHANG


def read_ppm(data):
    """(width, height, pixels, text corner) of an 8-bit binary PPM; the corner from a '# text X Y'."""
    fields, text = [], (-1, -1)
    while len(fields) < 4:
        line, data = data.split(b'\n', 1)
        if line.startswith(b'# text '):
            text = tuple(int(number) for number in line.split()[2:4])
        elif not line.startswith(b'#'):
            fields += line.split()
    return int(fields[1]), int(fields[2]), data, text


def differences(reference, shown):
    """(count, box) of the pixels that differ outside the legend's text."""
    width, height, expected, (text_x, text_y) = reference
    if shown[:2] != (width, height):
        return width * height, 'the screen is %dx%d' % shown[:2]
    count, box = 0, None
    for y in (y for y in range(height) if expected[y * width * 3:(y + 1) * width * 3] !=
              shown[2][y * width * 3:(y + 1) * width * 3]):
        for x in range(text_x if 0 <= text_x and y >= text_y - TEXT_OVERHANG else width):
            at = (y * width + x) * 3
            if expected[at:at + 3] != shown[2][at:at + 3]:
                count += 1
                box = (min(box[0], x), min(box[1], y), max(box[2], x), max(box[3], y)) if box else (x, y, x, y)
    return count, box


class NativeSaver:
    """A saver's test build (its freeze hook) on a private Xvfb, or in a private headless sway."""

    def __init__(self, kind, folder):
        self.reference = os.path.join(folder, 'reference.ppm')
        options = [word for setting in SETTINGS[:2] for word in ('--' + setting).split('=')]
        self.as_user, self.helpers = [], []
        if kind == 'x11':
            reader, writer = os.pipe()  # Xvfb picks a free display and tells its number here
            self.helpers.append(subprocess.Popen(['Xvfb', '-displayfd', str(writer), '-screen', '0', '1280x1024x24'],
                                                 pass_fds=[writer], stderr=subprocess.DEVNULL))
            os.close(writer)
            with os.fdopen(reader) as number:
                environment = ['DISPLAY=:' + number.readline().strip()]
            saver = os.environ['ASCENDA_FRAME_X11']
        else:
            os.chmod(folder, 0o777)
            runtime = os.path.join(folder, 'runtime')
            os.mkdir(runtime, 0o700)
            if os.geteuid() == 0:  # sway will not run as root
                self.as_user = ['setpriv', '--reuid=nobody', '--regid=nogroup', '--clear-groups', '--']
                shutil.chown(runtime, 'nobody', 'nogroup')
            with open(os.path.join(folder, 'config'), 'w') as config:
                config.write('output HEADLESS-1 mode 1024x768\n')
            environment = ['XDG_RUNTIME_DIR=' + runtime, 'WAYLAND_DISPLAY=wayland-1']
            self.helpers.append(self.spawn(['sway', '-c', os.path.join(folder, 'config')], environment + [
                'WLR_BACKENDS=headless', 'WLR_RENDERER=pixman', 'WLR_LIBINPUT_NO_DEVICES=1']))
            browser.wait_until(lambda: glob.glob(runtime + '/sway-ipc.*') and glob.glob(runtime + '/wayland-1'), 15,
                               'sway')
            environment.append('SWAYSOCK=' + glob.glob(runtime + '/sway-ipc.*')[0])
            saver = shutil.copy(os.environ['ASCENDA_FRAME_WAYLAND'], folder)
        self.kind, self.environment = kind, environment
        self.process = self.spawn([saver] + options, environment + ['ASCENDA_FRAME_REFERENCE=' + self.reference])
        if kind == 'x11':
            self.window = browser.wait_until(lambda: self.run(['xdotool', 'search', '--name', '^Ascenda Vintra$'])
                                             .stdout.split(), 15, 'the window')[0].decode()

    def spawn(self, command, environment):
        return subprocess.Popen(self.as_user + ['env'] + environment + command, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def run(self, command, environment=None):
        return subprocess.run(self.as_user + ['env'] + (environment or self.environment) + command, capture_output=True)

    def step(self, case):
        commands = {'resize': ['output', 'HEADLESS-1', 'mode', '800x600'], 'output added': ['create_output'],
                    'rotation': ['output', 'HEADLESS-1', 'transform', '90'],
                    'scale change': ['output', '*', 'scale', '2']}
        if self.kind == 'x11' and case == 'resize':
            self.run(['xdotool', 'windowsize', self.window, '800', '600'])
        elif case in commands:
            self.run(['swaymsg'] + commands[case])

    def picture(self):
        shot = self.run(['import', '-window', self.window, '-depth', '8', 'ppm:-'] if self.kind == 'x11' else
                        ['grim', '-t', 'ppm', '-o', 'HEADLESS-1', '-']).stdout
        return read_ppm(shot)[:3] if shot else (0, 0, b'')

    def freeze(self):
        if os.path.exists(self.reference):
            os.remove(self.reference)
        self.process.send_signal(signal.SIGUSR1)
        self.expected = read_ppm(browser.wait_until(
            lambda: os.path.exists(self.reference) and open(self.reference, 'rb').read(), 30, 'the reference'))

    def compare(self):
        return differences(self.expected, self.picture())

    def thaw(self):
        self.process.send_signal(signal.SIGUSR2)

    def close(self):
        for process in [self.process] + self.helpers:
            process.terminate()
            process.wait(10)


class PageSaver:
    """The page in headless Chromium or Firefox, its canvas read back; the module freezes it."""

    def __init__(self, kind, folder):
        self.server = browser.Server(os.environ.get('ASCENDA_WEB_BUILD', 'build/web'))
        self.page = browser.Browser() if kind == 'chromium' else browser.Firefox()
        self.page.set_size(1024, 768)
        self.page.open(self.server.url + '?' + '&'.join(SETTINGS))

    def step(self, case):
        if case in ('resize', 'output change'):
            self.page.set_size(*((800, 600, 1) if case == 'resize' else (1024, 768, 2)))
            self.page.wait_for("Module.sceneCanvas.width === %d" % (800 if case == 'resize' else 2048))
        elif case in ('floors lowered', 'colours off'):
            if case == 'floors lowered':
                self.page.wait_for(ANYONE_ABOVE_FLOOR_4, 60)
            # As a person changes it in the panel; the address says once the page took it.
            name, value = ('floors', '4') if case == 'floors lowered' else ('colours', '0')
            self.page.evaluate("""(() => { const input = document.querySelector('#panel [name=%s]');
              input.value = '%s'; input.checked = false;
              input.dispatchEvent(new Event(input.type === 'checkbox' ? 'input' : 'change', {bubbles: true}));
              return true; })()""" % (name, value))
            self.page.wait_for("new URLSearchParams(location.search).get('%s') === '%s'" % (name, value))

    def picture(self):
        return self.page.evaluate("""Module.sceneContext.getImageData(0, 0, Module.sceneCanvas.width,
            Module.sceneCanvas.height).data.reduce((hash, byte) => (hash * 31 + byte) | 0, 0)""")

    def freeze(self):
        self.page.evaluate("Module.ccall('AscendaFreeze', null, ['number'], [1])")

    def compare(self):
        return self.page.evaluate(COMPARE)

    def thaw(self):
        self.page.evaluate("Module.ccall('AscendaFreeze', null, ['number'], [0])")

    def close(self):
        self.page.close()
        self.server.close()


class FrameCheck(unittest.TestCase):

    def run_cases(self, kind, saver_class):
        folder = tempfile.mkdtemp(prefix='ascenda-frame-')
        saver = None
        try:
            saver = saver_class(kind, folder)
            for case in [case for front_end, case in CASES if front_end == kind]:
                with self.subTest(case=case):
                    saver.step(case)
                    for _ in range(3):
                        before = saver.picture()
                        browser.wait_until(lambda: saver.picture() != before, 15, 'the picture to change')
                    saver.freeze()
                    deadline, found = time.monotonic() + SETTLE_S, saver.compare()
                    while found[0] != 0 and time.monotonic() < deadline:
                        time.sleep(0.1)
                        found = saver.compare()
                    saver.thaw()
                    self.assertEqual(found[0], 0, '%s after %s: %s pixels differ from the fresh drawing, within %s'
                                     % (kind, case, found[0], found[1]))
        finally:
            if saver:
                saver.close()
            shutil.rmtree(folder, ignore_errors=True)

    def test_x11(self):
        self.run_cases('x11', NativeSaver)

    def test_wayland(self):
        self.run_cases('wayland', NativeSaver)

    def test_chromium(self):
        self.run_cases('chromium', PageSaver)

    def test_firefox(self):
        self.run_cases('firefox', PageSaver)


if __name__ == '__main__':
    unittest.main()
