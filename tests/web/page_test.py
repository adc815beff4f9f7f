"""The page in headless Chromium, served on 127.0.0.1: what a visitor sees and can change.

    ASCENDA_WEB_BUILD=build/web python3 tests/web/page_test.py [PageTest.test_name]
"""

import os
import re
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools', 'web'))
import browser  # noqa: E402

BACK, FILL = (0, 0, 128), (0, 0, 96)  # the default background, and the paint's dimmed fill of it
CAR_COLOURS = {(128, 128, 0), (0, 128, 0), (128, 0, 0)}  # idle, up, down
OLIVE = (128, 128, 0)
SCALE, ORIGIN_X, ORIGIN_Y = 25, 140 * 25 // 4, 190 * 25 // 4  # the default scale's origins, world units

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


class Layout:
    """Where the scene puts things on a canvas of this many device pixels, default scale."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.factor = min(width, height * 4 // 3) // 67 + 1

    def device(self, world):
        return world * self.factor // SCALE

    def shaft_x(self, lift):
        return self.device(ORIGIN_X + 150 * lift + 100)

    def legend_top(self):
        return self.device(ORIGIN_Y - 20)


class PageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = browser.Server(os.environ.get('ASCENDA_WEB_BUILD', 'build/web'))
        cls.browser = browser.Browser()

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()
        cls.server.close()

    def open(self, query='', width=1024, height=768):
        self.browser.set_size(width, height)
        self.browser.open(self.server.url + query)

    def colours(self, left, top, width, height):
        counts = self.browser.evaluate(COUNT_COLOURS % (left, top, width, height))
        return {tuple(int(channel) for channel in key.split(',')): count for key, count in counts.items()}

    def layout(self):
        size = self.browser.evaluate("[document.getElementById('building').width, "
                                     "document.getElementById('building').height]")
        return Layout(*size)

    def shows_car(self, lift):
        layout = self.layout()
        return bool(CAR_COLOURS & set(self.colours(layout.shaft_x(lift), 0, 1, layout.legend_top())))

    def legend(self):
        return self.browser.wait_for("document.getElementById('building').getAttribute('aria-label')"
                                     ".match(/People= *\\d+ \\| Waiting= *\\d+/)?.[0]")

    def test_loads_without_errors_and_draws_the_building(self):
        self.open()
        self.assertIn('People=50', self.legend())
        layout = self.layout()
        lifts_area = self.colours(layout.shaft_x(0) - layout.device(55), 0, layout.device(300), layout.legend_top())
        browser.wait_until(lambda: self.shows_car(0) and self.shows_car(1), 5, 'both cars drawn')
        whole = self.colours(0, 0, layout.width, layout.height)
        self.assertGreater(whole.get(BACK, 0), layout.width * 10, 'floor slabs')
        self.assertGreater(whole.get(FILL, 0), layout.width * 10, 'dimmed background')
        self.assertTrue(CAR_COLOURS & set(lifts_area), 'a car')
        # What is drawn reaches the screen: the page's picture changes as the cars move.
        first = self.browser.screenshot_data()
        browser.wait_until(lambda: self.browser.screenshot_data() != first, 5, 'the picture on screen to change')
        # The people's pass runs too: within a few of its ticks someone calls a lift.
        self.browser.wait_for("/Waiting= *[1-9]|Ave Wait= *[1-9]/"
                              ".test(document.getElementById('building').getAttribute('aria-label'))", 10)
        self.assertEqual(self.browser.errors, [])

    def test_address_sets_lifts_and_people_and_the_panel_changes_them_at_once(self):
        self.open('?cars=4&people=100')
        self.assertIn('People=100', self.legend())
        browser.wait_until(lambda: all(self.shows_car(lift) for lift in range(4)), 5, 'four cars')
        self.assertFalse(self.shows_car(4))
        self.assertTrue(self.browser.evaluate("document.getElementById('ignored').hidden"))
        address = self.browser.evaluate("""(() => {
            const lifts = document.querySelector('#panel [name=cars]');
            lifts.value = '5';
            lifts.dispatchEvent(new Event('input', {bubbles: true}));
            return location.search; })()""")
        self.assertEqual(address, '?people=100&cars=5')
        browser.wait_until(lambda: self.shows_car(4), 5, 'the fifth car')
        self.assertEqual(self.browser.errors, [])

    def test_malformed_or_out_of_range_parameters_fall_back_and_the_panel_says_so(self):
        self.open('?cars=banana&people=5&scale=30')
        note = self.browser.evaluate("document.getElementById('panel').hidden || "
                                     "document.getElementById('ignored').textContent")
        self.assertIn('cars=banana', note)
        self.assertIn('people=5', note)
        self.assertNotIn('scale', note)
        self.assertEqual(self.browser.evaluate("document.querySelector('#panel [name=cars]').value"), '2')
        self.assertEqual(self.browser.evaluate("document.querySelector('#panel [name=scale]').value"), '30')
        self.assertIn('People=50', self.legend())
        browser.wait_until(lambda: self.shows_car(1), 5, 'the second car')
        self.assertFalse(self.shows_car(2))

    def test_growing_the_window_keeps_floor_one_and_the_legend_in_view(self):
        self.open()
        for width, height, ratio in ((1920, 1080, 1), (960, 540, 2)):
            self.browser.set_size(width, height, ratio)
            self.browser.wait_for("document.getElementById('building').width === 1920 && "
                                  "document.getElementById('building').height === 1080")
            layout = self.layout()
            slab = self.colours(0, layout.device(ORIGIN_Y - 100), layout.device(ORIGIN_X - 50), 1)
            self.assertGreater(slab.get(BACK, 0), layout.device(ORIGIN_X - 50) // 2, 'floor 1 at %d' % ratio)
            legend_rows = (0, layout.legend_top(), layout.width, layout.height - layout.legend_top())
            browser.wait_until(lambda: self.colours(*legend_rows).get(OLIVE, 0) > 100, 5, 'the legend')

    def test_a_key_leaves_full_screen(self):
        self.open()
        self.browser.evaluate("document.getElementById('fullscreen-button').click()", gesture=True)
        self.browser.wait_for('document.fullscreenElement !== null')
        self.browser.send('Input.dispatchKeyEvent', type='keyDown', key='a', text='a')
        self.browser.wait_for('document.fullscreenElement === null')


if __name__ == '__main__':
    unittest.main()
