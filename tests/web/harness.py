"""What the browser test and the browser figures share: the build-web/ folder served on
127.0.0.1, headless Chromium on SwiftShader, and the page's read-only status.

Needs Debian's chromium, chromium-driver and python3-selenium."""
import functools
import http.server
import os
import shutil
import threading
import time

CHROMIUM_ARGS = [
    "--headless=new",
    "--no-sandbox",  # root in a container has no user namespaces for the sandbox
    "--use-angle=swiftshader",
    "--enable-unsafe-swiftshader",
    "--autoplay-policy=no-user-gesture-required",
    "--window-size=900,720",
]

# A page of our own on the game's origin (so it sees the game's storage) that runs nothing.
BLANK_PATH = "/harness-blank.html"
BLANK_PAGE = b'<!doctype html><title>blank</title><link rel="icon" href="data:,">'


def missing_tools():
    """Why the browser cannot be driven here, or None."""
    try:
        import selenium  # noqa: F401
    except ImportError:
        return "python3-selenium is not installed (scripts/install-deps installs it)"
    if not chromium_path():
        return "chromium is not installed (scripts/install-deps installs it)"
    if not shutil.which("chromedriver"):
        return "chromedriver is not installed (Debian's chromium-driver; scripts/install-deps installs it)"
    return None


def cannot_play(build_web):
    """Why the page in BUILD_WEB cannot be played here (the tools, or no page built), or None."""
    reason = missing_tools()
    if reason is None and not os.path.isfile(os.path.join(build_web, "index.html")):
        reason = "no %s/index.html: build the page first (make web)" % build_web
    return reason


def chromium_path():
    return shutil.which("chromium") or shutil.which("chromium-browser")


class _Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript",
                      ".data": "application/octet-stream"}

    def do_GET(self):
        if self.path == BLANK_PATH:
            self.send_response(200)
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(BLANK_PAGE)))
            self.end_headers()
            self.wfile.write(BLANK_PAGE)
            return
        super().do_GET()

    def log_message(self, *args):
        pass

    def log_request(self, code="-", size="-"):
        code = str(getattr(code, "value", code))
        if code not in ("200", "304"):  # a missing favicon is a 404 here
            self.server.failed_requests.append("%s %s" % (code, self.path))


class Server:
    """build-web/ on a free port of 127.0.0.1, for as long as the `with` block lasts."""

    def __init__(self, folder):
        self.folder = folder

    def __enter__(self):
        self.httpd = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(_Handler, directory=self.folder))
        self.httpd.failed_requests = []
        self.port = self.httpd.server_address[1]
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()
        return self

    def url(self, path="/index.html"):
        return "http://127.0.0.1:%d%s" % (self.port, path)

    def failed_requests(self):
        return list(self.httpd.failed_requests)

    def __exit__(self, *exc):
        self.httpd.shutdown()
        self.httpd.server_close()
        self.thread.join(5)


def start_chromium(profile_dir):
    """Headless Chromium with its console log kept, on the given (reusable) profile folder."""
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service

    options = webdriver.ChromeOptions()
    options.binary_location = chromium_path()
    for arg in CHROMIUM_ARGS + ["--user-data-dir=" + profile_dir]:
        options.add_argument(arg)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    service = Service(executable_path=shutil.which("chromedriver"), log_path=os.devnull)
    driver = webdriver.Chrome(service=service, options=options)
    # Generous: on a busy machine a page with a game in it can stall for seconds.
    driver.set_page_load_timeout(120)
    driver.set_script_timeout(60)
    return driver


STATUS_JS = ("return typeof window.swayfireStatus === 'function' ? "
             "JSON.parse(JSON.stringify(window.swayfireStatus())) : null;")


def status(driver):
    """The page's status object, or None before the page has one."""
    return driver.execute_script(STATUS_JS)


def wait_for(driver, what, predicate, timeout):
    """Polls the status until predicate(status) holds; the last status, or raises TimeoutError."""
    end = time.monotonic() + timeout
    last = None
    while True:
        last = status(driver)
        if last is not None and predicate(last):
            return last
        if time.monotonic() > end:
            raise TimeoutError("%s: not within %.0f s (status %r)" % (what, timeout, last))
        time.sleep(0.05)


def console(driver):
    """The console messages since the last call, as (level, text)."""
    return [(e.get("level", ""), e.get("message", "")) for e in driver.get_log("browser")]
