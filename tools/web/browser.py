"""Serves the web build on 127.0.0.1 and drives Debian's Chromium, headless, over the DevTools
protocol, or Debian's Firefox ESR, headless, over WebDriver BiDi (both with Debian's
python3-websocket). Used by the page's tests, tools/run.sh --web, the CPU measurement and the
README's picture:

    browser.py serve FOLDER [PORT]                  serves FOLDER until interrupted
    browser.py screenshot FOLDER FILE QUERY WIDTH HEIGHT SECONDS [--panel]
                                                    the page after SECONDS of running, with
                                                    its settings panel open if asked
    browser.py measure FOLDER QUERY WIDTH HEIGHT SECONDS [FOLDER QUERY]
                                                    CPU share of Chromium's processes, once
                                                    the page's canvas fills the window; with
                                                    a second page, that one's measured next,
                                                    and the two renderers' ratio printed
    browser.py measure-4k FOLDER QUERY FLOOR_FOLDER FLOOR_QUERY SECONDS
                                                    the page at 3840 x 2160 at pixel ratios 1
                                                    and 2, then the floor page at ratio 2
"""

import argparse
import base64
import functools
import http.server
import json
import os
import shutil
import subprocess
import tempfile
import threading
import time
import urllib.parse
import urllib.request

import websocket

CHROMIUM = os.environ.get('ASCENDA_CHROMIUM', '/usr/bin/chromium')
FIREFOX = os.environ.get('ASCENDA_FIREFOX', '/usr/bin/firefox-esr')
FLAGS = ['--headless', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync', '--disable-extensions', '--hide-scrollbars',
         '--mute-audio', '--remote-debugging-port=0']


# True once the module has started the saver on the page's canvas.
STARTED = ("typeof Module === 'object' && Module.calledRun === true && "
           "document.getElementById('building').width > 0")


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    """Serves the folder as a static host does, and as real hosts and networks misbehave when the
    server (a Server) asks: redirecting a path to another, answering 404 for a file, dropping the
    connection for one, or sending a file's headers and then nothing until released."""

    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, '.wasm': 'application/wasm',
                      '.js': 'text/javascript', '.webmanifest': 'application/manifest+json'}

    def do_GET(self):
        site = self.server.site
        address = urllib.parse.urlsplit(self.path)
        name = address.path.rsplit('/', 1)[-1]
        if address.path in site.redirects:
            self.send_response(301)
            self.send_header('Location', site.redirects[address.path] + ('?' + address.query if address.query else ''))
            self.send_header('Content-Length', '0')
            self.end_headers()
        elif name in site.missing:
            self.send_error(404)
        elif name in site.dropped:
            self.close_connection = True  # not a byte of answer
        elif name in site.stalled:
            self.send_response(200)
            self.send_header('Content-Type', self.guess_type(name))
            self.send_header('Content-Length', '100000')
            self.end_headers()
            self.wfile.flush()
            site.released.wait(120)
            self.close_connection = True
        else:
            super().do_GET()

    def log_message(self, *arguments):
        pass


class Server:
    """The folder served on 127.0.0.1 at a free port, until closed. `redirects` ({'/index.html': '/'}),
    `missing`, `dropped` and `stalled` (file names) make it misbehave as above; they may change while
    it serves."""

    def __init__(self, folder, port=0, handler=QuietHandler):
        self.redirects = {}
        self.missing = set()
        self.dropped = set()
        self.stalled = set()
        self.released = threading.Event()
        self.httpd = http.server.ThreadingHTTPServer(('127.0.0.1', port), functools.partial(handler, directory=folder))
        self.httpd.site = self
        self.url = 'http://127.0.0.1:%d/' % self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def release(self):
        """Ends every stalled answer, and stalls nothing more."""
        self.stalled.clear()
        self.released.set()
        self.released = threading.Event()

    def close(self):
        self.release()
        self.httpd.shutdown()
        self.httpd.server_close()


def wait_until(condition, timeout, what):
    """Polls condition() until it returns something true; raises TimeoutError naming `what`."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise TimeoutError('%s: not within %g s (last: %r)' % (what, timeout, result))
        time.sleep(0.1)


class Page:
    """What the tests ask of either browser's one page."""

    # The ceilings only bound a failing wait; a loaded machine may take many times what a quiet one does.
    def wait_for(self, expression, timeout=30):
        """Polls a JavaScript expression in the page until it is true; returns its value."""
        return wait_until(lambda: self.evaluate(expression), timeout, expression)

    def open(self, url, timeout=60):
        """Loads the page and waits until the module has started the saver on its canvas, in the new
        document: a busy browser may still answer from the one it replaces, whose saver has long
        started."""
        self.evaluate('window.ascendaLeft = true')
        self.navigate(url)
        self.wait_for('!window.ascendaLeft && ' + STARTED, timeout)

    def screenshot(self, path):
        with open(path, 'wb') as picture:
            picture.write(self.screenshot_data())

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.close()


def stop(process, profile):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
    shutil.rmtree(profile, ignore_errors=True)


class Browser(Page):
    """One headless Chromium with a fresh profile and one page, at the given window size."""

    def __init__(self, width=1024, height=768, url='about:blank'):
        self.profile = tempfile.mkdtemp(prefix='ascenda-chromium-')
        flags = FLAGS + ['--user-data-dir=' + self.profile, '--window-size=%d,%d' % (width, height)]
        if os.geteuid() == 0:
            flags.append('--no-sandbox')  # Chromium's sandbox refuses to run as root
        self.process = subprocess.Popen([CHROMIUM] + flags + [url], stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL, start_new_session=True)
        self.errors = []
        self.next_id = 0
        try:
            port = int(wait_until(self.read_port, 20, 'Chromium DevTools port'))
            pages = wait_until(lambda: [target for target in self.list_targets(port) if target['type'] == 'page'],
                               10, 'Chromium page')
            self.socket = websocket.create_connection(pages[0]['webSocketDebuggerUrl'], timeout=30,
                                                      suppress_origin=True)
            for domain in ('Page', 'Runtime', 'Log'):
                self.send(domain + '.enable')
        except BaseException:
            self.close()
            raise

    def read_port(self):
        try:
            with open(os.path.join(self.profile, 'DevToolsActivePort')) as port_file:
                return port_file.readline().strip()
        except OSError:
            return None

    @staticmethod
    def list_targets(port):
        with urllib.request.urlopen('http://127.0.0.1:%d/json/list' % port, timeout=5) as answer:
            return json.load(answer)

    def send(self, method, **params):
        """Sends one DevTools command and returns its result; notes errors reported meanwhile."""
        self.next_id += 1
        self.socket.send(json.dumps({'id': self.next_id, 'method': method, 'params': params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get('id') == self.next_id:
                if 'error' in message:
                    raise RuntimeError('%s: %s' % (method, message['error']))
                return message.get('result', {})
            self.note_event(message)

    def note_event(self, message):
        method, params = message.get('method'), message.get('params', {})
        if method == 'Runtime.exceptionThrown':
            self.errors.append(params['exceptionDetails'].get('exception', {}).get('description', 'exception'))
        elif method == 'Runtime.consoleAPICalled' and params.get('type') in ('error', 'assert'):
            self.errors.append(' '.join(str(argument.get('value')) for argument in params.get('args', [])))
        elif method == 'Log.entryAdded' and params['entry'].get('level') == 'error':
            self.errors.append(params['entry'].get('text'))

    def evaluate(self, expression, gesture=False):
        result = self.send('Runtime.evaluate', expression=expression, returnByValue=True, awaitPromise=True,
                           userGesture=gesture)
        if 'exceptionDetails' in result:
            raise RuntimeError('%s: %s' % (expression, result['exceptionDetails']))
        return result['result'].get('value')

    def set_size(self, width, height, pixel_ratio=1):
        self.send('Emulation.setDeviceMetricsOverride', width=width, height=height, deviceScaleFactor=pixel_ratio,
                  mobile=False)

    def navigate(self, url):
        self.send('Page.navigate', url=url)

    def screenshot_data(self):
        """The page as it is on screen, a PNG file's bytes."""
        return base64.b64decode(self.send('Page.captureScreenshot', format='png')['data'])

    def processes(self):
        """{pid: kind} of this browser's processes: 'browser', 'renderer', 'gpu-process', ..."""
        found = {}
        for name in filter(str.isdigit, os.listdir('/proc')):
            try:
                with open('/proc/%s/cmdline' % name, 'rb') as command_file:
                    command = command_file.read().decode(errors='replace').replace('\0', ' ').split()
            except OSError:
                continue
            if any(self.profile in part for part in command):
                kinds = [part[len('--type='):] for part in command if part.startswith('--type=')]
                found[int(name)] = kinds[0] if kinds else 'browser'
        return found

    def close(self):
        if getattr(self, 'socket', None):
            self.socket.close()
        stop(self.process, self.profile)


# Firefox's own background work, which would reach for the network and report its failure.
FIREFOX_PREFERENCES = {
    'app.update.disabledForTesting': True, 'browser.shell.checkDefaultBrowser': False,
    'datareporting.policy.dataSubmissionEnabled': False, 'toolkit.telemetry.reportingpolicy.firstRun': False,
    'messaging-system.rsexperimentloader.enabled': False, 'app.normandy.enabled': False,
    'browser.region.network.url': '', 'extensions.update.enabled': False,
    'network.captive-portal-service.enabled': False, 'network.connectivity-service.enabled': False,
}


class Firefox(Page):
    """One headless Firefox with a fresh profile and one page, driven over WebDriver BiDi."""

    def __init__(self, width=1024, height=768):
        self.profile = tempfile.mkdtemp(prefix='ascenda-firefox-')
        with open(os.path.join(self.profile, 'user.js'), 'w') as preferences:
            for name, value in FIREFOX_PREFERENCES.items():
                preferences.write('user_pref(%s, %s);\n' % (json.dumps(name), json.dumps(value)))
        self.process = subprocess.Popen(
            [FIREFOX, '--headless', '--no-remote', '--profile', self.profile, '--remote-debugging-port=0',
             '--width=%d' % width, '--height=%d' % height, 'about:blank'],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        self.errors = []
        self.next_id = 0
        try:
            port = wait_until(self.read_port, 30, 'Firefox WebDriver BiDi port')
            self.socket = websocket.create_connection('ws://127.0.0.1:%d/session' % port, timeout=30,
                                                      suppress_origin=True)
            self.send('session.new', capabilities={})
            self.context = self.send('browsingContext.getTree')['contexts'][0]['context']
            self.send('session.subscribe', events=['log.entryAdded'])
        except BaseException:
            self.close()
            raise

    def read_port(self):
        try:
            with open(os.path.join(self.profile, 'WebDriverBiDiServer.json')) as port_file:
                return json.load(port_file)['ws_port']
        except (OSError, ValueError, KeyError):
            return None

    def send(self, method, **params):
        """Sends one BiDi command and returns its result; notes errors logged meanwhile."""
        self.next_id += 1
        self.socket.send(json.dumps({'id': self.next_id, 'method': method, 'params': params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get('id') == self.next_id:
                if message.get('type') == 'error':
                    raise RuntimeError('%s: %s %s' % (method, message.get('error'), message.get('message')))
                return message.get('result', {})
            if message.get('method') == 'log.entryAdded' and message['params'].get('level') == 'error':
                self.errors.append(message['params'].get('text'))

    def evaluate(self, expression, gesture=False):
        # Returned as JSON text: BiDi's own serialisation of values is richer than the tests need.
        wrapped = '(async () => JSON.stringify(await (%s)))()' % expression
        result = self.send('script.evaluate', expression=wrapped, target={'context': self.context},
                           awaitPromise=True, userActivation=gesture)
        if result.get('type') == 'exception':
            raise RuntimeError('%s: %s' % (expression, result['exceptionDetails'].get('text')))
        value = result['result']
        return json.loads(value['value']) if value.get('type') == 'string' else None

    def set_size(self, width, height, pixel_ratio=1):
        self.send('browsingContext.setViewport', context=self.context, viewport={'width': width, 'height': height},
                  devicePixelRatio=pixel_ratio)

    def navigate(self, url):
        self.send('browsingContext.navigate', context=self.context, url=url, wait='interactive')

    def screenshot_data(self):
        return base64.b64decode(self.send('browsingContext.captureScreenshot', context=self.context)['data'])

    def close(self):
        if getattr(self, 'socket', None):
            try:
                self.send('browser.close')
            except Exception:  # already gone: stopped below either way
                pass
            self.socket.close()
        stop(self.process, self.profile)


def cpu_ns(pid):
    """CPU time of a process and all its threads, living or ended, in nanoseconds; 0 once it has gone.
    (The scheduler's own count, /proc/PID/schedstat, holds the main thread alone: a renderer's
    compositor, IO and worker threads would go uncounted.)"""
    try:
        with open('/proc/%d/stat' % pid) as stat:
            fields = stat.read().rsplit(')', 1)[1].split()
    except OSError:
        return 0
    user_ticks, system_ticks = int(fields[11]), int(fields[12])
    return (user_ticks + system_ticks) * 1000000000 // os.sysconf('SC_CLK_TCK')


def measure(folder, query, width, height, seconds, pixel_ratio=1):
    """Prints the CPU share of one core that each of Chromium's processes takes while the page runs."""
    server = Server(folder)
    try:
        # Started on the page, so that no renderer of an earlier page runs beside the page's.
        with Browser(width, height, server.url + query) as chromium:
            # The window's size includes room for a frame that headless Chromium does not draw:
            # the page is given the size asked for exactly.
            chromium.set_size(width, height, pixel_ratio)
            # Only a started page sizes its canvas to the window (the bare canvas to its CSS pixels).
            chromium.wait_for("document.getElementById('building')?.width >= %d" % width, 10)
            errors = chromium.errors
            # Measured with DevTools reporting nothing, and past Chromium's own start-up work in a
            # fresh profile.
            for domain in ('Page', 'Runtime', 'Log'):
                chromium.send(domain + '.disable')
            time.sleep(10)
            processes = chromium.processes()
            before = {pid: cpu_ns(pid) for pid in processes}
            time.sleep(seconds)
            used = {pid: cpu_ns(pid) - before[pid] for pid in processes}
            print('CPU share of one core over %d s (%s at %d x %d, pixel ratio %g, headless Chromium):'
                  % (seconds, query, width, height, pixel_ratio))
            # The busiest renderer is the page's; a spare one idles beside it.
            for pid, kind in sorted(processes.items(), key=lambda item: -used[item[0]]):
                print('  %-14s %6.2f %% (%d ms CPU)' % (kind, used[pid] / seconds / 1e7, used[pid] / 1e6), flush=True)
            if errors:
                print('page errors: %s' % errors)
            return max(used[pid] for pid, kind in processes.items() if kind == 'renderer') / seconds / 1e7
    finally:
        server.close()


def compare(folder, query, floor_folder, floor_query, width, height, seconds):
    """Measures the page, then the floor page, and prints their renderers' ratio."""
    page = measure(folder, query, width, height, seconds)
    floor = measure(floor_folder, floor_query, width, height, seconds)
    print('renderer: page %.2f %%, floor %.2f %%, ratio %.2f' % (page, floor, page / floor))


def compare_4k(folder, query, floor_folder, floor_query, seconds):
    """Measures the page at 3840 x 2160 at pixel ratios 1 and 2, then the floor page at ratio 2, and
    prints the renderers' shares and ratios, all from the same run."""
    ratio_1 = measure(folder, query, 3840, 2160, seconds, 1)
    ratio_2 = measure(folder, query, 3840, 2160, seconds, 2)
    floor = measure(floor_folder, floor_query, 3840, 2160, seconds, 2)
    print('renderer at 3840 x 2160: page %.2f %% at ratio 1, %.2f %% at ratio 2 (%.2f times), floor %.2f %% '
          'at ratio 2 (page at ratio 2: %.2f times the floor)' % (ratio_1, ratio_2, ratio_2 / ratio_1, floor,
                                                                  ratio_2 / floor))


def take_screenshot(folder, path, query, width, height, seconds, panel=False):
    server = Server(folder)
    try:
        with Browser(width, height) as chromium:
            chromium.set_size(width, height)
            chromium.open(server.url + query)
            time.sleep(seconds)  # a picture of the building at work, not a test: let it run
            if panel:
                chromium.evaluate("document.getElementById('settings-button').click()")
                # The building makes room for the panel and is drawn afresh: its people are back
                # within a pass or two.
                time.sleep(2)
            chromium.screenshot(path)
    finally:
        server.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    commands = parser.add_subparsers(dest='command', required=True)
    serve = commands.add_parser('serve')
    serve.add_argument('folder')
    serve.add_argument('port', type=int, nargs='?', default=8000)
    four_k = commands.add_parser('measure-4k')
    for argument in ('folder', 'query', 'floor_folder', 'floor_query'):
        four_k.add_argument(argument)
    four_k.add_argument('seconds', type=int)
    for name in ('screenshot', 'measure'):
        command = commands.add_parser(name)
        command.add_argument('folder')
        if name == 'screenshot':
            command.add_argument('file')
        for argument, kind in (('query', str), ('width', int), ('height', int), ('seconds', int)):
            command.add_argument(argument, type=kind)
        if name == 'screenshot':
            command.add_argument('--panel', action='store_true')
        else:
            command.add_argument('floor_folder', nargs='?')
            command.add_argument('floor_query', nargs='?')
    arguments = parser.parse_args()
    if arguments.command == 'serve':
        server = Server(arguments.folder, arguments.port)
        print('Serving %s at %s (Ctrl-C ends it)' % (arguments.folder, server.url), flush=True)
        try:
            threading.Event().wait()
        except KeyboardInterrupt:
            server.close()
    elif arguments.command == 'screenshot':
        take_screenshot(arguments.folder, arguments.file, arguments.query, arguments.width, arguments.height,
                        arguments.seconds, arguments.panel)
    elif arguments.command == 'measure-4k':
        compare_4k(arguments.folder, arguments.query, arguments.floor_folder, arguments.floor_query,
                   arguments.seconds)
    elif arguments.floor_folder:
        compare(arguments.folder, arguments.query, arguments.floor_folder, arguments.floor_query or '',
                arguments.width, arguments.height, arguments.seconds)
    else:
        measure(arguments.folder, arguments.query, arguments.width, arguments.height, arguments.seconds)


if __name__ == '__main__':
    main()
