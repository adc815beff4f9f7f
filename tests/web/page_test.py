"""The page in headless Chromium, and its loading and address in headless Firefox, served on
127.0.0.1: what a visitor sees and can change.

    ASCENDA_WEB_BUILD=build/web python3 tests/web/page_test.py [PageTest.test_name]
"""

import os
import re
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools', 'web'))
import browser  # noqa: E402

BACK, FILL = (0, 0, 128), (0, 0, 96)  # the default background, and the paint's dimmed fill of it
CAR_COLOURS = {(128, 128, 0), (0, 128, 0), (128, 0, 0)}  # idle, up, down
LIFT_PERIOD = 501 - 5 * 80  # ms, at the default speed
# Seconds a test waits for what the page shows within a second on a quiet machine: it only bounds a
# failing test, and a loaded machine may take many times longer.
EVENT_TIMEOUT = 30
LEGEND_X = 10  # the legend's left edge, in the scene's units
# The newest whole offline copy's page.js; '' while there is none.
KEPT_SCRIPT = """caches.keys().then(async names => { for (const name of names.filter(name => name.startsWith('ascenda '))
  .sort().reverse()) { const cache = await caches.open(name); if (await cache.match('.whole'))
  return (await cache.match('page.js')).text(); } return ''; })"""
# The page's, its script's and its module's marks of an update.
UPDATED = "[document.title, window.siteUpdated === true, window.moduleUpdated === true]"

# The colours the scene has drawn in a rectangle of device pixels, as {(red, green, blue): count}.
COUNT_COLOURS = """(() => {
  const data = Module.sceneContext.getImageData(%d, %d, %d, %d).data;
  const counts = {};
  for (let index = 0; index < data.length; index += 4) {
    const key = data[index] + ',' + data[index + 1] + ',' + data[index + 2];
    counts[key] = (counts[key] || 0) + 1;
  }
  return counts;
})()"""


# Sets the number of lifts in the panel as a slider's move does; gives the address then.
SET_LIFTS = """(() => { const lifts = document.querySelector('#panel [name=cars]');
  lifts.value = '%d'; lifts.dispatchEvent(new Event('input', {bubbles: true})); return location.search; })()"""

# Records where the scene fills rectangles, and in which of the browser's tasks: [[task, left,
# top], ...] in `drawLog`, from `drawStart` on the page's own clock. A task is one run of the page's
# timer (or any other callback); a microtask marks its end, so a task counts once however long the
# machine keeps it waiting halfway, and two tasks count twice however close together they run.
RECORD_DRAWING = """(() => {
  window.drawLog = [];
  window.drawStart = performance.now();
  let task = 0, inTask = false;
  const context = Module.sceneContext, fill = Object.getPrototypeOf(context).fillRect;
  context.fillRect = function(left, top, width, height) {
    if (!inTask) {
      inTask = true;
      ++task;
      queueMicrotask(() => { inTask = false; });
    }
    drawLog.push([task, left, top]);
    return fill.call(this, left, top, width, height);
  };
  return true;
})()"""
# The tasks that drew in a column of device pixels [left, right) above `bottom` since the
# recording began.
COUNT_TASKS = """((left, right, bottom) => {
  const tasks = new Set();
  for (const [task, x, y] of drawLog) {
    if (x >= left && x < right && y < bottom)
      tasks.add(task);
  }
  return tasks.size;
})(%d, %d, %d)"""
# Milliseconds on the page's own clock since the recording began.
RECORDED_MS = 'performance.now() - drawStart'


def wait_recorded(page, milliseconds):
    """Waits until the page's own clock has run `milliseconds` since the recording began; a busy
    machine may take longer in real time, never less. Returns the span the page saw."""
    page.wait_for('%s >= %d' % (RECORDED_MS, milliseconds), timeout=milliseconds / 1000 * 5 + 30)
    return page.evaluate(RECORDED_MS)


class Layout:
    """Where the scene puts things on a canvas of this many device pixels, drawn at this scale and
    screen factor (as the module tells the page)."""

    def __init__(self, width, height, scale, factor):
        self.width, self.height, self.scale, self.factor = width, height, scale, factor
        self.origin_x, self.origin_y = 140 * scale // 4, 190 * scale // 4

    def device(self, world):
        return world * self.factor // self.scale

    def shaft_x(self, lift):
        return self.device(self.origin_x + 150 * lift + 100)

    def shaft_right(self, lift):
        return self.shaft_x(lift) + self.device(55)

    def legend_top(self):
        return self.device(self.origin_y - 20)

    def shaft_rows(self, floors=10):
        """The rows a car's box covers from floor 1 to the top floor: top, height."""
        top = self.device(self.origin_y - 100 * floors) - self.device(40)
        return top, self.device(self.origin_y - 100) + self.device(40) - top


class PageCases:
    """What every browser must do; a subclass names the browser."""

    @classmethod
    def setUpClass(cls):
        cls.server = browser.Server(os.environ.get('ASCENDA_WEB_BUILD', 'build/web'))
        cls.browser = cls.start_browser()

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()
        cls.server.close()

    def open(self, query='', width=1024, height=768, pixel_ratio=1):
        self.browser.set_size(width, height, pixel_ratio)
        self.browser.open(self.server.url + query)

    def colours(self, left, top, width, height):
        counts = self.browser.evaluate(COUNT_COLOURS % (left, top, width, height))
        return {tuple(int(channel) for channel in key.split(',')): count for key, count in counts.items()}

    def layout(self):
        return Layout(*self.browser.evaluate("[document.getElementById('building').width, "
                                             "document.getElementById('building').height, "
                                             "Module.sceneExtent.scale, Module.sceneExtent.screenFactor]"))

    def shows_car(self, lift):
        layout = self.layout()
        return bool(CAR_COLOURS & set(self.colours(layout.shaft_x(lift), 0, 1, layout.legend_top())))

    def legend_pixels(self, layout):
        """The legend's text pixels below the ground line: olive, or olive blended into the background."""
        colours = self.colours(0, layout.legend_top(), layout.width, layout.height - layout.legend_top())
        return sum(count for (red, green, _), count in colours.items() if red > 30 and red == green)

    def legend(self):
        return self.browser.wait_for("document.getElementById('building').getAttribute('aria-label')"
                                     ".match(/People= *\\d+ \\| Waiting= *\\d+/)?.[0]")

    def test_loads_without_errors_and_draws_the_building(self):
        self.open()
        self.assertIn('People=50', self.legend())
        layout = self.layout()
        browser.wait_until(lambda: self.shows_car(0) and self.shows_car(1), EVENT_TIMEOUT, 'both cars drawn')
        lifts_area = self.colours(layout.shaft_x(0) - layout.device(55), 0, layout.device(300), layout.legend_top())
        whole = self.colours(0, 0, layout.width, layout.height)
        self.assertGreater(whole.get(BACK, 0), layout.width * 10, 'floor slabs')
        self.assertGreater(whole.get(FILL, 0), layout.width * 10, 'dimmed background')
        self.assertTrue(CAR_COLOURS & set(lifts_area), 'a car')
        # What is drawn reaches the screen: the page's picture changes as the cars move.
        first = self.browser.screenshot_data()
        browser.wait_until(lambda: self.browser.screenshot_data() != first, EVENT_TIMEOUT, 'the picture on screen to change')
        # The people's pass runs too: within a few of its ticks someone calls a lift.
        self.browser.wait_for("/Waiting= *[1-9]|Ave Wait= *[1-9]/"
                              ".test(document.getElementById('building').getAttribute('aria-label'))", 10)
        self.assertEqual(self.browser.errors, [])

    def test_address_sets_lifts_and_people_and_the_panel_changes_them_at_once(self):
        self.open('?cars=4&people=100')
        self.assertIn('People=100', self.legend())
        browser.wait_until(lambda: all(self.shows_car(lift) for lift in range(4)), EVENT_TIMEOUT, 'four cars')
        self.assertFalse(self.shows_car(4))
        self.assertTrue(self.browser.evaluate("document.getElementById('note').hidden"))
        # The panel opens beside the building, which makes room for it: a change is watched as it is made.
        self.browser.evaluate("document.getElementById('settings-button').click()")
        self.browser.wait_for("document.getElementById('building').width < 1024")
        address = self.browser.evaluate(SET_LIFTS % 5)
        self.assertEqual(address, '?people=100&cars=5')
        browser.wait_until(lambda: self.shows_car(4), EVENT_TIMEOUT, 'the fifth car')
        panel_left = self.browser.evaluate("document.getElementById('panel').getBoundingClientRect().left")
        self.assertLess(self.layout().shaft_right(4), panel_left)
        self.assertEqual(self.browser.errors, [])

    def test_malformed_or_out_of_range_parameters_fall_back_and_the_panel_says_so(self):
        self.open('?cars=4&cars=banana&people=5&scale=30&scale=500&driver=Auto%20ground&driver=Smartest&nosuch=1&'
                  'driver=SMART&' + '&'.join(['x%d=1' % n for n in range(200)]))
        note = self.browser.evaluate("document.getElementById('panel').hidden || "
                                     "document.getElementById('note-text').textContent")
        # In the panel's words, with the range, and what the page uses: the last valid value.
        self.assertIn('Lifts: “banana” is not 1 to 10; using 4.', note)
        self.assertRegex(note, 'People: “5” is not \\d+ to \\d+; using 50.')
        self.assertIn('“nosuch” is not a setting.', note)
        # An intelligence by name in any case and blanks; the note names every form it takes.
        self.assertIn('Intelligence: “Smartest” is not 0 to 3, or Primitive, Auto ground, Random or Smart in any '
                      'case; using Smart.', note)
        self.assertIn('Scale: “500” is not fit or 20 to 50; using 30.', note)
        # Whole sentences up to 300 characters, then how many more: 205 in all.
        left_out = re.search(r' … and (\d+) more not taken\.$', note)
        self.assertTrue(left_out and len(note) < 340, note[-60:])
        self.assertEqual(note.count(' is not ') + int(left_out.group(1)), 205)
        # The address is what the page uses, the intelligence by name; the note goes when dismissed.
        self.assertEqual(self.browser.evaluate('location.search'), '?cars=4&driver=smart&scale=30')
        self.assertEqual(self.browser.evaluate("document.querySelector('#panel [name=scale]').value"), '30')
        self.assertIn('People=50', self.legend())
        browser.wait_until(lambda: self.shows_car(3), EVENT_TIMEOUT, 'the fourth car')
        self.assertFalse(self.shows_car(4))
        self.browser.evaluate("document.getElementById('note-dismiss').focus(), "
                              "document.getElementById('note-dismiss').click()")
        self.assertTrue(self.browser.evaluate("document.getElementById('note').hidden"))
        # The keyboard goes on from the first setting, not from the page's start.
        self.assertEqual(self.browser.evaluate("document.activeElement.name"), 'people')

    def test_any_failure_to_load_says_so_and_trying_again_works(self):
        failed = "document.getElementById('failure')?.hidden === false && document.getElementById('failure-text')" \
                 ".textContent.startsWith('The building could not be loaded')"
        for fault in ('dropped', 'stalled', 'missing'):
            # A server of its own each time: at another port, nothing of the last is kept by the browser.
            server = browser.Server(os.environ.get('ASCENDA_WEB_BUILD', 'build/web'))
            try:
                with self.subTest(fault=fault):
                    self.browser.errors.clear()
                    getattr(server, fault).add('ascenda.wasm')
                    self.browser.navigate(server.url)
                    if fault == 'stalled':
                        self.browser.wait_for("document.getElementById('loading')?.hidden === false")
                    # Nothing arrives: the page gives up after 15 s.
                    self.browser.wait_for(failed, 15 + EVENT_TIMEOUT if fault == 'stalled' else EVENT_TIMEOUT)
                    self.assertTrue(self.browser.evaluate("document.querySelector('.controls').hidden && "
                                                          "document.activeElement.id === 'retry'"))
                    # No error but the browser's own note of a file that did not arrive.
                    self.assertEqual([error for error in self.browser.errors if 'Failed to load' not in error], [])
                    server.release()
                    server.dropped = server.missing = set()
                    self.browser.evaluate("document.getElementById('retry').click()")
                    self.browser.wait_for(browser.STARTED, 2 * EVENT_TIMEOUT)
                    self.assertTrue(self.browser.evaluate("document.getElementById('loading').hidden"))
            finally:
                server.close()

    def test_on_a_redirecting_host_the_offline_copy_is_one_version_the_newest(self):
        with tempfile.TemporaryDirectory(prefix='ascenda-site-') as site:
            subprocess.run(['cmake', '--install', os.environ.get('ASCENDA_WEB_BUILD', 'build/web'), '--prefix', site],
                           check=True, stdout=subprocess.DEVNULL)
            server = browser.Server(site)
            # As many hosts do; and before the worker is there, and after, with its copy kept.
            server.redirects['/index.html'] = '/'
            try:
                for visit in ('before', 'after'):
                    self.browser.open(server.url + 'index.html?cars=3')
                    self.assertIn('Ascenda', self.browser.wait_for(KEPT_SCRIPT), visit)
                self.assertTrue(self.browser.evaluate("navigator.serviceWorker.controller !== null"))
                # An update reaches the next visit that has a network, on a host that redirects the
                # other way, and becomes the one copy kept.
                server.redirects = {'/': '/index.html'}
                for name, old, new in (('index.html', '<title>Ascenda Vintra</title>', '<title>Updated</title>'),
                                       ('index.html', '?v=', '?v=updated'), ('page.js', "'use strict';", 'siteUpdated = true;'),
                                       ('ascenda.js', 'var Module', 'moduleUpdated = true;var Module')):
                    path = os.path.join(site, name)
                    copied, text = os.stat(path).st_mtime, open(path).read()
                    with open(path, 'w') as changed:
                        changed.write(text.replace(old, new, 1))
                    os.utime(path, (copied + 2, copied + 2))  # the server compares whole seconds
                self.browser.open(server.url)
                self.assertEqual(self.browser.evaluate(UPDATED), ['Updated', True, True], 'the update, online')
                self.browser.wait_for(KEPT_SCRIPT + ".then(text => text.includes('siteUpdated'))")
            finally:
                server.close()
            # ... so that with no server at all, both addresses show the building, all of it new (an
            # address not visited before: the browser keeps redirects it has seen).
            self.browser.errors.clear()
            for address in ('', 'index.html?cars=4'):
                self.browser.open(server.url + address)
                self.assertEqual(self.browser.evaluate(UPDATED), ['Updated', True, True], 'offline: ' + address)
            browser.wait_until(lambda: self.shows_car(3), EVENT_TIMEOUT, 'the fourth car, offline')
            self.assertEqual(self.browser.errors, [])


class FirefoxPageTest(PageCases, unittest.TestCase):
    start_browser = browser.Firefox


class PageTest(PageCases, unittest.TestCase):
    start_browser = browser.Browser

    def test_phone_screens_show_every_shaft_floor_one_and_the_legend_beside_the_open_panel(self):
        for width, height, ratio in ((390, 844, 3), (844, 390, 1)):
            with self.subTest(size='%d x %d' % (width, height)):
                self.open('?cars=10', width, height, ratio)
                self.legend()
                # The canvas takes the screen's size when the page has laid itself out, which a busy
                # phone may do after the first legend.
                self.browser.wait_for("document.getElementById('building').height === %d" % (height * ratio))
                layout = self.layout()
                # On its side, the building is fitted to the room left of the buttons.
                self.assertLessEqual(layout.width, width * ratio)
                top, rows = layout.shaft_rows()
                right = layout.shaft_right(9)
                self.assertTrue(top >= 0 and right < layout.width, 'every shaft inside')
                for box in self.browser.evaluate("[...document.querySelectorAll('.controls button')].map(button => "
                                                 "button.getBoundingClientRect()).map(box => [box.left, box.top, box.right, box.bottom])"):
                    left, box_top, box_right, bottom = (edge * ratio for edge in box)
                    self.assertFalse(any(left < layout.shaft_right(lift) and box_right > layout.shaft_x(lift) for lift in
                                         range(10)) and box_top < top + rows and bottom > top, 'a button over a shaft')
                for lift in range(10):
                    self.assertNotIn(FILL, self.colours(layout.shaft_x(lift), top, 1, rows), 'shaft %d' % lift)
                browser.wait_until(lambda: self.legend_pixels(layout) > 100, EVENT_TIMEOUT, 'the legend')
                self.assertGreaterEqual(self.browser.evaluate(
                    "parseFloat(Module.sceneContext.font) / devicePixelRatio"), 11, 'the legend\'s CSS pixels')
                self.browser.evaluate("document.getElementById('settings-button').click()")
                left, panel_top = self.browser.evaluate("(() => { const box = document.getElementById('panel')"
                                                        ".getBoundingClientRect(); return [box.left, box.top]; })()")
                self.assertTrue(panel_top * ratio >= top + rows or left * ratio > layout.shaft_right(1),
                                'the panel clear of the shafts')
                if height > width:  # the sheet opens just below the building's lowest row, in CSS pixels
                    self.assertAlmostEqual(panel_top, self.browser.evaluate(
                        "Module.sceneExtent.bottom / devicePixelRatio + "
                        "parseFloat(getComputedStyle(document.documentElement).fontSize) / 2"), delta=1)
                # Every control a finger can reach is big enough for it.
                small = self.browser.evaluate(
                    "[...document.querySelectorAll('button, input:not([type=checkbox]), select, label')]"
                    ".filter(element => element.getClientRects().length > 0 && "
                    "element.getBoundingClientRect().height < 44).map(element => element.outerHTML.slice(0, 60))")
                self.assertEqual(small, [])
                self.browser.evaluate("document.querySelector('#panel [name=floors]').focus()")
                self.browser.send('Input.dispatchKeyEvent', type='keyDown', key='Escape', code='Escape',
                                  windowsVirtualKeyCode=27)
                self.browser.wait_for("document.getElementById('panel').hidden")
                self.assertEqual(self.browser.evaluate("document.activeElement.id"), 'settings-button')

    def test_resizing_and_a_settings_change_keep_whole_shafts_floor_one_and_the_legend(self):
        self.open()
        for width, height, ratio in ((1024, 600, 1), (1920, 1080, 1), (960, 540, 2)):
            self.browser.set_size(width, height, ratio)
            self.browser.wait_for("document.getElementById('building').width === %d && "
                                  "document.getElementById('building').height === %d" % (width * ratio, height * ratio))
            layout = self.layout()
            slab = self.colours(0, layout.device(layout.origin_y - 100), layout.device(layout.origin_x - 50), 1)
            self.assertGreater(slab.get(BACK, 0), layout.device(layout.origin_x - 50) // 2, 'floor 1 at %d' % ratio)
            browser.wait_until(lambda: self.legend_pixels(layout) > 100, EVENT_TIMEOUT, 'the legend')
        # Floors typed digit by digit are judged once the typing ends, not at "1".
        self.browser.evaluate("document.getElementById('settings-button').click()")
        self.browser.evaluate("document.querySelector('#panel [name=floors]').select()")
        for digit in '12':
            self.browser.send('Input.insertText', text=digit)
            self.assertEqual(self.browser.evaluate("document.getElementById('rejected').textContent"), '')
        self.browser.wait_for("location.search === '?floors=12'")
        layout = self.layout()
        top, rows = layout.shaft_rows(12)
        for lift in range(2):
            shaft = self.colours(layout.shaft_x(lift), top, 1, rows)
            self.assertNotIn(FILL, shaft, 'a gap in shaft %d' % (lift + 1))
        # A new people tick takes effect at once: people drawn every 1.5 s, not every 0.5 s.
        self.browser.evaluate(RECORD_DRAWING)
        self.browser.evaluate("""(() => { const tick = document.querySelector('#panel [name=pass-interval]');
            tick.value = '1500'; tick.dispatchEvent(new Event('change', {bubbles: true})); return true; })()""")
        span = wait_recorded(self.browser, 4400)
        people = self.browser.evaluate(COUNT_TASKS % (0, layout.device(layout.origin_x - 60), layout.legend_top()))
        # The change's own repaint, and passes that keep the new period: at most one more than the
        # span holds, as none runs sooner than a quarter period early. The old tick gives nine.
        self.assertTrue(1 <= people <= span / 1500 + 2, (people, span))
        # "Copy link" puts the address of what is shown on the clipboard.
        self.browser.send('Emulation.setFocusEmulationEnabled', enabled=True)
        self.browser.send('Browser.grantPermissions', permissions=['clipboardReadWrite', 'clipboardSanitizedWrite'])
        self.browser.evaluate("document.getElementById('copy-button').click()", gesture=True)
        self.browser.wait_for("document.getElementById('copied').textContent === 'Link copied'")
        self.assertEqual(self.browser.evaluate("navigator.clipboard.readText()"),
                         self.server.url + '?floors=12&pass-interval=1500')
        self.browser.evaluate(SET_LIFTS % 3)
        self.assertEqual(self.browser.evaluate("document.getElementById('copied').textContent"), '')

    def test_copy_link_where_the_clipboard_is_refused_offers_the_address_to_copy_by_hand(self):
        self.open('?cars=7')
        self.browser.send('Browser.setPermission', permission={'name': 'clipboard-write'}, setting='denied')
        self.browser.evaluate("document.getElementById('settings-button').click()")
        self.browser.evaluate("document.getElementById('copy-button').click()", gesture=True)
        self.browser.wait_for("document.getElementById('copied').textContent.includes('refused')")
        shown = "(() => { const link = document.getElementById('link'); return [link.hidden, link.value, " \
                "document.activeElement === link && link.selectionStart === 0 && link.selectionEnd === link.value.length]; })()"
        self.assertEqual(self.browser.evaluate(shown), [False, self.server.url + '?cars=7', True])
        # It follows the address, still selected for copying.
        self.browser.evaluate(SET_LIFTS % 1)
        self.assertEqual(self.browser.evaluate(shown), [False, self.server.url + '?cars=1', True])

    def test_4k_at_ratio_2_draws_a_4k_canvas_enlarged_sharply_and_the_legend_at_every_device_pixel(self):
        layer = "(() => { const layer = Module.legendLayer, box = layer?.getBoundingClientRect(); " \
                "return layer && !layer.hidden && [layer.width / box.width, layer.height / box.height, box.left, box.top]; })()"
        self.open('?cars=10', 3840, 2160, 2)
        # The element takes the size of the canvas it shows once a frame of it is made.
        self.browser.wait_for("document.getElementById('building').width * document.getElementById('building').height"
                              " === 3840 * 2160")
        layout = self.layout()
        self.assertEqual(self.browser.evaluate("getComputedStyle(Module.canvas).imageRendering"), 'pixelated')
        # The legend again over the canvas's, where the canvas draws it, at two pixels a CSS pixel.
        self.assertEqual(self.browser.wait_for(layer), [2, 2, layout.device(LEGEND_X), layout.legend_top()])
        self.assertGreater(self.browser.evaluate("Module.legendLayer.getContext('2d').getImageData(0, 0, 400, 80).data"
                                                 ".filter((red, index) => index % 4 === 0 && red === 128).length"), 100)
        # Where the canvas has every device pixel, there is no layer.
        self.browser.set_size(1920, 1080, 2)
        self.browser.wait_for("document.getElementById('building').width === 3840 && Module.legendLayer.hidden")
        self.assertEqual(self.browser.evaluate("getComputedStyle(Module.canvas).imageRendering"), 'auto')

    def test_full_screen_ends_by_the_savers_input_rule_and_can_be_entered_again(self):
        """The page's column of the input table every front end follows."""
        self.open()
        mouse, key, touch = 'Input.dispatchMouseEvent', 'Input.dispatchKeyEvent', 'Input.dispatchTouchEvent'
        move = lambda x: (mouse, dict(type='mouseMoved', x=x, y=100))
        cases = (
            ('a key', [(key, dict(type='keyDown', key='a', code='KeyA', text='a'))], True),
            ('a key released that was pressed before', [(key, dict(type='keyUp', key='a', code='KeyA'))], False),
            ('a button', [(mouse, dict(type='mousePressed', x=100, y=100, button='left', clickCount=1)),
                          (mouse, dict(type='mouseReleased', x=100, y=100, button='left', clickCount=1))], True),
            ('the wheel', [(mouse, dict(type='mouseWheel', x=100, y=100, deltaX=0, deltaY=120))], True),
            ('a touch', [(touch, dict(type='touchStart', touchPoints=[dict(x=100, y=100)])),
                         (touch, dict(type='touchEnd', touchPoints=[]))], True),
            ('the pointer within the slack', [move(100), move(101)], False),
            ('the pointer beyond it', [move(100), move(102)], True),
        )
        for name, events, ends in cases:
            with self.subTest(name):
                # Entered once the page has had the change event, which starts the pointer's rest anew:
                # where it is then, as the browser may report it again when the page's layout changes.
                self.browser.send(mouse, type='mouseMoved', x=100, y=100)
                self.browser.evaluate("window.entered = false; document.addEventListener('fullscreenchange', "
                                      "() => { window.entered = true; }, {once: true}); true")
                self.browser.evaluate("document.getElementById('fullscreen-button').click()", gesture=True)
                self.browser.wait_for('window.entered && document.fullscreenElement !== null')
                for method, params in events:
                    self.browser.send(method, **params)
                if ends:
                    self.browser.wait_for('document.fullscreenElement === null')
                    continue
                # Two frames later the events have long been handled: still full screen.
                self.assertTrue(self.browser.evaluate(
                    'new Promise(done => requestAnimationFrame(() => requestAnimationFrame(() => '
                    'done(document.fullscreenElement !== null))))'))
                self.browser.evaluate('document.exitFullscreen().then(() => true)')
                self.browser.wait_for('document.fullscreenElement === null')
        # Left by a key, the page gives the focus back to the button rather than to its start.
        self.browser.evaluate("document.getElementById('fullscreen-button').click()", gesture=True)
        self.browser.wait_for('document.fullscreenElement !== null')
        self.browser.send('Input.dispatchKeyEvent', type='keyDown', key='b', code='KeyB', text='b')
        self.browser.wait_for("document.fullscreenElement === null && document.activeElement.id === 'fullscreen-button'")

    def test_without_webassembly_the_page_says_so(self):
        script = self.browser.send('Page.addScriptToEvaluateOnNewDocument',
                                   source='delete globalThis.WebAssembly')['identifier']
        try:
            self.browser.navigate(self.server.url)
            self.browser.wait_for("document.getElementById('failure-text')?.textContent.includes('WebAssembly') && "
                                  "document.getElementById('retry').hidden")
        finally:
            self.browser.send('Page.removeScriptToEvaluateOnNewDocument', identifier=script)

    def test_the_page_can_be_installed_with_its_icons_and_says_what_it_needs_without_scripts(self):
        self.open()
        self.browser.wait_for("navigator.serviceWorker.ready.then(() => true)")
        self.assertEqual(self.browser.send('Page.getInstallabilityErrors')['installabilityErrors'], [])
        manifest = self.browser.send('Page.getAppManifest')
        self.assertEqual(manifest['errors'], [])
        icons = [(icon['url'], icon['sizes']) for icon in manifest['manifest']['icons']] + [
            (self.server.url + 'favicon.png', '32x32'), (self.server.url + 'apple-touch-icon.png', '180x180')]
        for url, size in icons:
            self.assertEqual(self.browser.evaluate("fetch('%s').then(answer => answer.blob()).then(createImageBitmap)"
                                                   ".then(image => image.width + 'x' + image.height)" % url), size, url)
        self.browser.send('Emulation.setScriptExecutionDisabled', value=True)
        self.browser.navigate(self.server.url + '?nocache')
        self.browser.wait_for("document.querySelector('noscript p')?.getClientRects().length > 0")
        self.browser.send('Emulation.setScriptExecutionDisabled', value=False)

    def test_keeps_the_pace_and_does_not_race_after_a_minute_hidden(self):
        self.open()
        layout = self.layout()
        button_left = layout.device(layout.origin_x) - layout.device(15)  # the call buttons' column
        buttons = (button_left, button_left + 1, layout.height)
        self.browser.evaluate(RECORD_DRAWING)
        span = wait_recorded(self.browser, 10000)
        lift_passes = self.browser.evaluate(COUNT_TASKS % buttons)
        expected = span / LIFT_PERIOD
        # Above: a schedule that keeps its period runs at most one pass more than the span holds.
        # Below: a pass is dropped only when the browser holds the timer back by a whole period,
        # which even a loaded machine does not do for one pass in five.
        self.assertTrue(0.8 * expected <= lift_passes <= expected + 1, (lift_passes, span))
        # The people and legend passes ride along with lift passes: the browser makes one frame for
        # them, not one each (apart, they would add about thirty frames in these ten seconds).
        frames = self.browser.evaluate(COUNT_TASKS % (0, layout.width, layout.height))
        self.assertLessEqual(frames, lift_passes, 'frames beside lift passes')
        # Hidden behind another tab for a minute, the browser wakes the page's timer seldom; back
        # in view, the page goes on at its pace and never runs the missed passes.
        page = next(target['targetId'] for target in self.browser.send('Target.getTargets')['targetInfos']
                    if target['type'] == 'page')
        cover = self.browser.send('Target.createTarget', url='about:blank')['targetId']
        try:
            self.browser.wait_for("document.hidden")
            self.browser.evaluate(RECORD_DRAWING)
            # A hidden page's timer wakes about once a second: some sixty passes, not six hundred.
            wait_recorded(self.browser, 60000)
            self.assertLess(self.browser.evaluate(COUNT_TASKS % buttons), 120, 'lift passes while hidden')
        finally:
            self.browser.send('Target.activateTarget', targetId=page)
            self.browser.send('Target.closeTarget', targetId=cover)
        self.browser.wait_for("!document.hidden")
        self.browser.evaluate(RECORD_DRAWING)
        span = wait_recorded(self.browser, 2000)
        # The minute's missed passes are not run: the overdue pass once, and at most one more than
        # the span holds.
        self.assertLessEqual(self.browser.evaluate(COUNT_TASKS % buttons), span / LIFT_PERIOD + 2)


if __name__ == '__main__':
    unittest.main()
