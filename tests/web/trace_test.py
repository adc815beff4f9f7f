"""The WebAssembly build against the native one: the runner's trace line for line under Node.js,
and the page's files small enough to load quickly.

    ASCENDA_WEB_BUILD=build/web ASCENDA_HOST_SIM=build/host/ascenda-sim python3 tests/web/trace_test.py
"""

import os
import re
import subprocess
import tempfile
import unittest

WEB_BUILD = os.environ.get('ASCENDA_WEB_BUILD', 'build/web')
HOST_SIM = os.environ.get('ASCENDA_HOST_SIM', 'build/host/ascenda-sim')
NODE = os.environ.get('ASCENDA_NODE', 'node')
SITE_LIMIT = 400 * 1024

# Each intelligence, the tables' limits and the fastest and slowest clocks.
SETTINGS = [
    ['--minutes', '10'],
    ['--people', '100', '--cars', '10', '--capacity', '10', '--driver', 'smart', '--minutes', '10'],
    ['--driver', 'random', '--floors', '25', '--speed', '100', '--pass-interval', '100', '--minutes', '2'],
    ['--driver', 'auto-ground', '--people', '10', '--cars', '1', '--capacity', '1', '--lift-pause', '1',
     '--pass-pause', '300', '--temper', '50', '--speed', '1', '--pass-interval', '2000', '--minutes', '60'],
]


def trace(command, settings):
    return subprocess.run(command + ['--trace', '--quiet'] + settings, check=True, stdout=subprocess.PIPE,
                          timeout=300).stdout.decode().splitlines()


class WebBuildTest(unittest.TestCase):
    def test_trace_matches_the_native_runner_line_for_line(self):
        for settings in SETTINGS:
            with self.subTest(settings=' '.join(settings)):
                native = trace([HOST_SIM], settings)
                web = trace([NODE, os.path.join(WEB_BUILD, 'node', 'ascenda-sim.js')], settings)
                self.assertGreater(len(native), 1000)
                first = next((index for index, pair in enumerate(zip(native, web)) if pair[0] != pair[1]), None)
                self.assertIsNone(first, 'line %d differs:\n  native %s\n  web    %s' % (
                    (first or 0) + 1, native[first or 0][:200], web[first or 0][:200]))
                self.assertEqual(len(web), len(native))

    def test_page_and_module_are_under_400_kb(self):
        # The site as it is published, every file of it; the offline copy keeps each one the page uses.
        with tempfile.TemporaryDirectory() as site:
            subprocess.run(['cmake', '--install', WEB_BUILD, '--prefix', site], check=True, stdout=subprocess.DEVNULL)
            names = set(os.listdir(site))
            size = sum(os.path.getsize(os.path.join(site, name)) for name in names)
            with open(os.path.join(site, 'sw.js')) as worker:
                kept = set(re.findall(r"'([\w.-]+\.\w+)'", worker.read().split('const FILES', 1)[1].split(';', 1)[0]))
        self.assertLess(size, SITE_LIMIT)
        self.assertEqual(names - kept, {'index.html', 'sw.js'})
        self.assertLessEqual(kept, names)


if __name__ == '__main__':
    unittest.main()
