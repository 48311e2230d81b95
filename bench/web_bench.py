#!/usr/bin/python3
"""The browser build's figures, in headless Chromium (WebGL on SwiftShader) served from 127.0.0.1:
passes per second over 10 s of a survival game, the pass interval's 99th percentile, the download
size of build-web/ (each file gzipped), and the time from navigation to the first splash frame.

  web_bench.py [BUILD_WEB]     (make bench-web)

Each figure is printed with its target and whether it is met."""
import gzip
import os
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web"))
import harness  # noqa: E402

MB = 1000 * 1000

# Runs in the page before its own scripts: after every animation frame and timer callback (the
# ways a browser main loop runs) and the promise jobs they start (a loop that awaits the next frame
# runs its pass in those), notes how many passes the game has run. Passes run in one turn count as
# one interval from the previous pass and the rest as no time at all.
PASS_SAMPLER_JS = """
(() => {
  const sampler = window.__passSampler = {intervals: [], last: null, lastTime: 0, on: false};
  function note() {
    if (!sampler.on || typeof window.swayfireStatus !== 'function') return;
    const passes = window.swayfireStatus().passes, now = performance.now();
    if (sampler.last !== null && passes > sampler.last) {
      sampler.intervals.push(now - sampler.lastTime);
      for (let k = sampler.last + 1; k < passes; ++k) sampler.intervals.push(0);
    }
    if (sampler.last === null || passes > sampler.last) { sampler.last = passes; sampler.lastTime = now; }
  }
  // A message is a task of its own: it runs once the callback's promise jobs are all done.
  const channel = new MessageChannel();
  channel.port1.onmessage = note;
  const later = () => channel.port2.postMessage(0);
  const raf = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = cb => raf(t => { try { return cb(t); } finally { later(); } });
  const timeout = window.setTimeout.bind(window);
  window.setTimeout = (cb, ms, ...rest) => typeof cb !== 'function' ? timeout(cb, ms, ...rest)
      : timeout((...a) => { try { return cb(...a); } finally { later(); } }, ms, ...rest);
})();
"""

MEASURE_PASSES_JS = """
const done = arguments[arguments.length - 1];
const seconds = arguments[0];
const sampler = window.__passSampler;
const p0 = window.swayfireStatus().passes, t0 = performance.now();
sampler.intervals = []; sampler.last = null; sampler.on = true;
setTimeout(() => {
  const p1 = window.swayfireStatus().passes, t1 = performance.now();
  sampler.on = false;
  done({passes: p1 - p0, ms: t1 - t0, intervals: sampler.intervals, mode: window.swayfireStatus().mode});
}, seconds * 1000);
"""


def download_size(folder):
    total = 0
    for root, _, names in os.walk(folder):
        for name in names:
            with open(os.path.join(root, name), "rb") as f:
                total += len(gzip.compress(f.read(), 9))
    return total


def percentile(values, p):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(p / 100.0 * (len(ordered) - 1))))]


def row(name, value, target, met):
    verdict = "" if met is None else ("met" if met else "MISSED")
    print("  %-40s %-22s %-24s %s" % (name, value, target, verdict), flush=True)


def first_frames(driver, server, loads=3):
    """navigation -> first splash frame (the page's firstFrameMs counts from navigation start),
    each load with an empty cache, as on a first visit."""
    times = []
    for _ in range(loads):
        driver.execute_cdp_cmd("Network.clearBrowserCache", {})
        driver.get(server.url(harness.BLANK_PATH))
        driver.get(server.url())
        s = harness.wait_for(driver, "the first splash frame", lambda s: s.get("firstFrameMs") is not None, 60)
        times.append(s["firstFrameMs"])
    return times


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "build-web"
    reason = harness.cannot_play(folder)
    if reason:
        print("web_bench: cannot measure: " + reason)
        return 0  # the other benchmarks still run
    size = download_size(folder)
    with harness.Server(folder) as server, tempfile.TemporaryDirectory(prefix="swayfire-bench-") as profile:
        driver = harness.start_chromium(profile)
        try:
            version = driver.capabilities.get("browserVersion", "?")
            driver.execute_cdp_cmd("Network.enable", {})
            frames = first_frames(driver, server)
            driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": PASS_SAMPLER_JS})
            driver.get(server.url())
            harness.wait_for(driver, "the menu", lambda s: s["mode"] == "menu", 30)
            from selenium.webdriver.common.action_chains import ActionChains
            from selenium.webdriver.common.keys import Keys
            ActionChains(driver).move_to_element(driver.find_element("id", "screen")).click() \
                .key_down(Keys.RETURN).pause(0.1).key_up(Keys.RETURN).perform()
            harness.wait_for(driver, "a survival game", lambda s: s["mode"] == "game", 5)
            time.sleep(1)
            run = driver.execute_async_script(MEASURE_PASSES_JS, 10)
        finally:
            driver.quit()
    rate = run["passes"] * 1000.0 / run["ms"]
    intervals = run["intervals"] or [0]
    print("Swayfire in the browser: headless Chromium %s, SwiftShader, served from 127.0.0.1" % version)
    row("passes per second (10 s, %s)" % run["mode"], "%.2f" % rate, "60.0 +- 0.5", abs(rate - 60) <= 0.5)
    row("pass interval, 99th percentile", "%.1f ms" % percentile(intervals, 99),
        "(median %.1f ms, max %.1f)" % (statistics.median(intervals), max(intervals)), None)
    row("download size of build-web/ (gzip -9)", "%.2f MB" % (size / MB), "<= 6 MB", size <= 6 * MB)
    first = statistics.median(frames)
    row("navigation to first splash frame", "%.0f ms" % first,
        "<= 1500 ms (median of %d)" % len(frames), first <= 1500)
    print("  first splash frame of each cold load: %s ms" % ", ".join("%.0f" % t for t in frames))
    return 0


if __name__ == "__main__":
    sys.exit(main())
