#!/usr/bin/python3
"""The browser build played in a real headless Chromium (WebGL on SwiftShader), served from
127.0.0.1: the page loads without console errors; the splash and then the menu are drawn; keys
move the cursor and start a survival game; firing, P and Escape work; the exit entry ends the game
and the page says so; the score file written on one visit is read back on the next (same browser
profile), and a record reset there is written back; with IndexedDB gone, the game still plays and
the page says that scores cannot be saved. With storage full, the game plays on, the page says
so once and takes it back once storage has room; entries of the wrong shape in storage are
repaired or skipped, told in the console, and the game starts.

  browser_test.py BUILD_WEB [--files FILES] [--out FOLDER]

BUILD_WEB is the folder `make web` writes; FILES the desktop build's files/ (the same generated
pictures, to compare the screenshots with); the screenshots are saved into FOLDER. Exit status 77
(skipped) when Chromium, its driver, Selenium or the built page is missing."""
import argparse
import os
import sys
import tempfile
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
import pictures  # noqa: E402

SKIP = 77


def storage_message(why):
    return "Scores cannot be saved in this browser (%s); they are kept until you leave the page." % why


NO_STORAGE = "this browser keeps no files for the page"
FULL_STORAGE = "the browser's storage for this page is full"
ENDED_MESSAGE = "Swayfire has ended. Play again starts it afresh, with your scores."
# The survival record as the menu draws it: "BEST SCORE" at (385, 170), the number below it.
RECORD_BOX = (405, 180, 100, 22)


class Check:
    def __init__(self):
        self.failures = []

    def __call__(self, ok, what):
        print(("ok:   " if ok else "FAIL: ") + what, flush=True)
        if not ok:
            self.failures.append(what)
        return ok


class Visit:
    """One open page: keys, status, screenshots and the console, with the checks they feed."""

    def __init__(self, driver, server, out, check):
        self.driver, self.server, self.out, self.check = driver, server, out, check

    def open(self, path="/index.html"):
        self.driver.get(self.server.url(path))

    def status(self):
        return harness.status(self.driver)

    def wait(self, what, predicate, timeout=10):
        """The status once predicate holds; a step that never comes ends the visit (TimeoutError)."""
        return harness.wait_for(self.driver, what, predicate, timeout)

    def after_passes(self, count, timeout=20):
        """Waits until the game has run `count` more passes (this machine may be slow and busy)."""
        start = self.status()["passes"]
        return self.wait("%d passes" % count, lambda s: s["passes"] >= start + count, timeout)

    def hold_for_passes(self, count=3, longest=2.0):
        """Keeps the keys as they are until the game has run a few passes (or the time is up:
        the game may have ended), so that it sees them however slow this machine is."""
        start, end = self.status()["passes"], time.monotonic() + longest
        while self.status()["passes"] < start + count and time.monotonic() < end:
            time.sleep(0.02)

    def press(self, *keys):
        """Each key down for a few passes, then up: one press as the game counts them."""
        from selenium.webdriver.common.action_chains import ActionChains
        for key in keys:
            ActionChains(self.driver).key_down(key).perform()
            self.hold_for_passes()
            ActionChains(self.driver).key_up(key).perform()
            self.hold_for_passes(1)

    def chord(self, held, pressed):
        """`pressed` pressed while `held` is held down."""
        from selenium.webdriver.common.action_chains import ActionChains
        ActionChains(self.driver).key_down(held).perform()
        self.hold_for_passes()
        self.press(pressed)
        ActionChains(self.driver).key_up(held).perform()

    def focus(self):
        from selenium.webdriver.common.action_chains import ActionChains
        ActionChains(self.driver).move_to_element(self.canvas()).click().perform()

    def canvas(self):
        return self.driver.find_element("id", "screen")

    def shot(self, name):
        """The canvas as the player sees it, without the letterbox; saved as NAME.png."""
        from selenium.common.exceptions import TimeoutException
        for attempt in range(2):  # a busy machine can stall the page for seconds
            try:
                data = self.canvas().screenshot_as_png
                break
            except TimeoutException:
                if attempt == 1:
                    raise TimeoutError("no screenshot of %s: the page shows no new frame" % name)
        with open(os.path.join(self.out, name + ".png"), "wb") as f:
            f.write(data)
        pic = pictures.read_png(data)
        w, h = pic.width, pic.height
        if abs(w * 3 - h * 4) > 4:  # the element is wider or taller than the 4:3 picture in it
            cw, ch = (h * 4 // 3, h) if w * 3 > h * 4 else (w, w * 3 // 4)
            pic = pic.crop((w - cw) // 2, (h - ch) // 2, cw, ch)
        return pic

    def frames_per_second(self, enough=15, windows=4):
        """How often the browser gets to draw the page (requestAnimationFrame) in a second: the
        best of a few one-second windows, since a busy two-core machine may starve the browser
        for a moment (its wasm compiler and software GPU share those cores). A game loop that
        kept the browser from drawing would show too few frames in every window."""
        counts = []
        while len(counts) < windows and (not counts or max(counts) < enough):
            counts.append(self.driver.execute_async_script("""
                const done = arguments[0], t0 = performance.now();
                let frames = 0;
                (function frame() {
                  if (performance.now() - t0 < 1000) { ++frames; requestAnimationFrame(frame); }
                  else done(frames);
                })();"""))
        return max(counts), counts

    def message(self):
        return self.driver.find_element("id", "message").text.strip()

    def console_errors(self, what):
        """Checks that nothing was logged as an error since the last call; prints the warnings."""
        entries = harness.console(self.driver)
        errors = [text for level, text in entries if level == "SEVERE"]
        print_warnings(entries)
        self.check(not errors, "%s: no console errors%s" % (what, "".join("\n      " + e[:300] for e in errors)))


def print_warnings(entries, where=""):
    for level, text in entries:
        if level in ("WARNING", "SEVERE"):
            print("      console %s%s: %s" % (level, where, text[:300]))


def thumb(pic):
    return pic.thumbnail(32, 24)


def part(pic, box):
    """A box given in the game's 640 x 480 pixels, cut out of a picture of any size."""
    k = pic.width / 640.0
    return pic.crop(int(box[0] * k), int(box[1] * k), int(box[2] * k), int(box[3] * k))


def record_box(pic):
    return part(pic, RECORD_BOX)


def references(folders):
    """The menu's and the game's background pictures, when the generated files are at hand."""
    found = {}
    for name in ("mainmenu_background.bmp", "background.bmp"):
        for folder in folders:
            path = os.path.join(folder, name) if folder else ""
            if path and os.path.isfile(path):
                found[name] = pictures.read_bmp24(path)
                break
    return found


def likeness(pic, reference, box=(0, 0, 640, 480)):
    """How much a part of the screen (in the game's 640 x 480 pixels) looks like the same part of a
    picture: the correlation of their thumbnails."""
    return pictures.correlation(thumb(part(pic, box)), thumb(part(reference, box)))


# Below the menu's entries: its background's horizon and grid, under the keys' pictures.
MENU_LOWER_PART = (0, 300, 640, 180)


# IndexedDB as Emscripten's IDBFS keeps it: one database per mount, one store "FILE_DATA", keyed
# by path, each file {timestamp, mode, contents}. These run on the blank page of the same origin.
FIND_SCORE_FILE_JS = """
const done = arguments[arguments.length - 1];
const newM1 = arguments[0];
(async () => {
  for (const info of await indexedDB.databases()) {
    const db = await new Promise((ok, no) => {
      const r = indexedDB.open(info.name); r.onsuccess = () => ok(r.result); r.onerror = () => no(r.error);
    });
    if (!db.objectStoreNames.contains('FILE_DATA')) { db.close(); continue; }
    const mode = newM1 === null ? 'readonly' : 'readwrite';
    const store = db.transaction('FILE_DATA', mode).objectStore('FILE_DATA');
    const keys = await new Promise(ok => { const r = store.getAllKeys(); r.onsuccess = () => ok(r.result); });
    const key = keys.find(k => String(k).endsWith('files/bullet.dds'));
    if (key === undefined) { db.close(); continue; }
    const entry = await new Promise(ok => { const r = store.get(key); r.onsuccess = () => ok(r.result); });
    const text = new TextDecoder().decode(entry.contents);
    if (newM1 !== null) {
      entry.contents = new TextEncoder().encode(text.replace(/^M1=.*$/m, 'M1=' + newM1));
      entry.timestamp = new Date();
      await new Promise((ok, no) => {
        const t = store.transaction; store.put(entry, key); t.oncomplete = ok; t.onerror = () => no(t.error);
      });
    }
    db.close();
    return done({database: info.name, key: String(key), text: text});
  }
  done(null);
})().catch(e => done({error: String(e)}));
"""


def score_file(visit, new_m1=None):
    """The stored score file (text as found), optionally with its M1 record changed afterwards."""
    visit.open(harness.BLANK_PATH)
    return visit.driver.execute_async_script(FIND_SCORE_FILE_JS, new_m1)


def record_shows(visit, name):
    """The menu after the splash has dissolved into it: its screenshot and the record's ink."""
    visit.wait("the menu", lambda s: s["mode"] == "menu", 30)
    visit.after_passes(110)  # the logo fades out over the menu's first 100 passes
    pic = visit.shot(name)
    return pic, record_box(pic).bright_mask()


def first_visit(visit, check, refs):
    started = time.monotonic()
    visit.open()
    s = visit.wait("the splash", lambda s: s["mode"] == "splash", 60)
    splash = visit.shot("1-splash")
    print("      splash after %.1f s (status %r)" % (time.monotonic() - started, s))
    visit.focus()
    loading = visit.driver.find_element("id", "loading")
    check(not loading.is_displayed(), "the loading bar is hidden once the game runs")
    help_text = visit.driver.find_element("id", "help").text
    check("P" in help_text and "F11" in help_text, "the help line names the keys: %r" % help_text)
    s = visit.wait("the menu after the splash", lambda s: s["mode"] == "menu", 10)
    check(s.get("storage") == "ok", "storage works in a normal profile (status %r)" % s.get("storage"))
    check(visit.message() == "", "no message on the page while all is well: %r" % visit.message())
    menu, zero_record = record_shows(visit, "2-menu")
    st, mt = thumb(splash), thumb(menu)
    check(pictures.spread(st) > 8, "the splash is drawn (grey-level spread %.1f)" % pictures.spread(st))
    check(pictures.spread(mt) > 8, "the menu is drawn (grey-level spread %.1f)" % pictures.spread(mt))
    check(pictures.correlation(st, mt) < 0.8,
          "the splash and the menu are different pictures (correlation %.2f)" % pictures.correlation(st, mt))
    if "mainmenu_background.bmp" in refs:
        bg = refs["mainmenu_background.bmp"]
        c_menu, c_splash = likeness(menu, bg, MENU_LOWER_PART), likeness(splash, bg, MENU_LOWER_PART)
        check(c_menu > 0.5 and c_menu > c_splash + 0.2,
              "the menu is drawn over its background picture (lower part: correlation %.2f, the "
              "splash's %.2f)" % (c_menu, c_splash))

    from selenium.webdriver.common.keys import Keys
    # Help: over the page, made from the README's how-to-play; while it is open the game hears
    # no key (Down would move the cursor, Escape would jump to the exit entry).
    visit.driver.find_element("id", "help-button").click()
    panel = visit.driver.find_element("id", "help-panel")
    visit.wait("the help text", lambda s: "ENEMIES LEFT" in panel.text, 10)
    check(panel.is_displayed() and "ENEMIES LEFT" in panel.text and "Alt+Enter" in panel.text,
          "Help shows how to play: %r" % panel.text[:80])
    visit.press(Keys.ARROW_DOWN)
    s = visit.after_passes(20)
    check(s.get("menuSelection") == 0, "the game hears no key while Help is open (status %r)" % s)
    visit.press(Keys.ESCAPE)
    s = visit.after_passes(20)
    check(not panel.is_displayed(), "Escape closes Help")
    check(s.get("menuSelection") == 0 and s.get("mode") == "menu",
          "the Escape that closes Help does not reach the game (status %r)" % s)
    visit.driver.find_element("id", "help-button").click()
    visit.wait("Help again", lambda s: panel.is_displayed(), 10)
    panel.click()
    check(not panel.is_displayed(), "a click closes Help")
    visit.focus()
    moves = [(Keys.ARROW_DOWN, 1), (Keys.ARROW_DOWN, 2), (Keys.ARROW_DOWN, 0), (Keys.ARROW_UP, 2),
             (Keys.ARROW_UP, 1), (Keys.ARROW_UP, 0)]
    seen = []
    for key, expected in moves:
        visit.press(key)
        seen.append(visit.wait("the cursor on entry %d" % expected,
                               lambda s, e=expected: s["menuSelection"] == e, 10).get("menuSelection"))
    check(seen == [e for _, e in moves], "Down and Up move the cursor, wrapping at both ends: %r" % seen)

    visit.press(Keys.RETURN)
    s = visit.wait("a survival game", lambda s: s["mode"] == "game", 10)
    check(s.get("mode") == "game" and s.get("score") == 0 and not s.get("paused"),
          "Enter on SURVIVAL starts a game (status %r)" % s)
    visit.after_passes(30)
    # The game's loop must leave the browser its turns to show the frames it draws. (Measured in
    # a game, not in the menu: the menu's field of 374 turning arrows is the heaviest picture for
    # the software GPU used here, which on a busy two-core machine shows it only some 10 times a
    # second while the passes keep their 60 a second.)
    fps, counts = visit.frames_per_second()
    check(fps >= 15, "the browser shows the game's frames (animation frames in a second: %r)" % counts)
    game = visit.shot("3-game")
    gt = thumb(game)
    check(pictures.correlation(gt, mt) < 0.8,
          "the game does not look like the menu (correlation %.2f)" % pictures.correlation(gt, mt))
    if "background.bmp" in refs:
        c = likeness(game, refs["background.bmp"])
        c_menu = likeness(menu, refs["background.bmp"])
        check(c > 0.5 and c > c_menu + 0.2,
              "the game is drawn over its background picture (correlation %.2f, the menu's %.2f)"
              % (c, c_menu))

    # The player's shots fly in four directions; enemies come from the edges: hits score.
    end = time.monotonic() + 30
    while time.monotonic() < end and (visit.status() or {}).get("score", 0) <= 0:
        visit.press("a", "d", "w", "s")
    s = visit.status()
    check(s["mode"] == "game" and s["score"] > 0, "A D W S fire and the shots hit (score %d)" % s["score"])
    # How much the running game changes in 40 passes, and then the paused one.
    firing = thumb(visit.shot("4-firing"))
    visit.after_passes(40)
    moving = pictures.mean_difference(firing, thumb(visit.shot("4-firing-later")))

    visit.press("p")
    s = visit.wait("the pause", lambda s: s["paused"], 10)
    before = visit.shot("5-paused")
    s = visit.after_passes(40)
    after = visit.shot("6-still-paused")
    d = pictures.mean_difference(thumb(before), thumb(after))
    check(s["paused"] and s["mode"] == "game", "P pauses the game while the passes go on")
    check(d < 1.5 and d < moving / 2,
          "the paused game stands still (mean change %.2f of 255 in 40 passes; running: %.2f)"
          % (d, moving))
    # The pause veils the game in light blue: the screen gets much lighter.
    lighter = pictures.mean(thumb(before)) - pictures.mean(firing)
    check(lighter > 20, "the pause shows over the game (%.0f grey levels lighter)" % lighter)
    visit.press("p")
    s = visit.wait("the end of the pause", lambda s: not s["paused"], 10)
    check(not s.get("paused") and s.get("mode") == "game", "P again resumes the game")

    visit.press(Keys.ESCAPE)
    s = visit.wait("the menu after Escape", lambda s: s["mode"] == "menu", 10)
    check(s.get("mode") == "menu", "Escape leaves the game for the menu (status %r)" % s)
    visit.press(Keys.ESCAPE)
    s = visit.wait("the exit entry", lambda s: s["menuSelection"] == 2, 10)
    check(s.get("menuSelection") == 2, "Escape in the menu moves the cursor to the exit entry")
    visit.press(Keys.RETURN)
    s = visit.wait("the end", lambda s: s["mode"] == "ended", 10)
    check(s.get("mode") == "ended", "the exit entry ends the game (status %r)" % s)
    time.sleep(0.3)
    check(visit.message() == ENDED_MESSAGE, "the page says the game has ended: %r" % visit.message())
    visit.console_errors("the first visit")
    again = visit.driver.find_element("id", "play-again")
    check(again.is_displayed(), "the page offers Play again after the exit entry")
    again.click()
    s = visit.wait("the menu after Play again", lambda s: s["mode"] == "menu", 60)
    check(s.get("mode") == "menu", "Play again starts the game afresh (status %r)" % s)
    return zero_record


def second_visit(visit, check, zero_record):
    # The stored score file, as the first visit left it (Escape scores nothing: M1 is still 0).
    found = score_file(visit, new_m1="1111")
    text = (found or {}).get("text", "")
    check(found is not None and "error" not in found and "[SCORE]" in text and "M1=0" in text.split(),
          "the first visit stored its score file in IndexedDB: %r" % (found if not text else text[:60]))
    # A record of 1111 in storage shows in the menu of the next visit.
    visit.open()
    _, record = record_shows(visit, "7-record-read-back")
    changed = pictures.mask_difference(record, zero_record)
    check(changed > 30, "the stored record shows on the next visit (%d record pixels changed)" % changed)
    # R held with E pressed on SURVIVAL resets it: the menu shows 0 again and storage has it.
    visit.focus()
    visit.chord("r", "e")
    visit.after_passes(20)
    pic = visit.shot("8-record-reset")
    back = pictures.mask_difference(record_box(pic).bright_mask(), zero_record)
    check(back * 3 < changed, "R+E resets the shown record (%d of %d pixels off the zero)" % (back, changed))
    visit.console_errors("the second visit")
    found = score_file(visit)
    text = (found or {}).get("text", "")
    check("M1=0" in text.split(), "the reset record is written back to storage: %r" % text[:60])
    options_written(visit, check)


OPTIONS_JS = "return Module.swayfire.readText('/save/opt.ini');"


def options_written(visit, check):
    """The page's options are the game's opt.ini in storage, as a desktop player writes it."""
    visit.open()
    visit.wait("the menu", lambda s: s["mode"] == "menu", 60)
    driver = visit.driver
    driver.find_element("id", "options-button").click()
    sound = driver.find_element("id", "option-sound")
    full = driver.find_element("id", "option-full-screen")
    check(sound.is_selected() and not full.is_selected(),
          "Options show the first start's opt.ini: sound on, a window")
    sound.click()
    full.click()
    text = driver.execute_script(OPTIONS_JS) or ""
    check(text.split() == ["[OPTIONS]", "FS=True", "SND=False"], "Options write opt.ini: %r" % text)
    time.sleep(1)  # the write-back to IndexedDB
    visit.open()
    s = visit.wait("the menu after the options", lambda s: s["mode"] == "menu", 60)
    check(s.get("mode") == "menu", "the game starts with the options written by the page")
    driver.find_element("id", "options-button").click()
    check(not driver.find_element("id", "option-sound").is_selected()
          and driver.find_element("id", "option-full-screen").is_selected(),
          "the next visit reads the options back from storage")
    driver.find_element("id", "option-sound").click()
    driver.find_element("id", "option-full-screen").click()
    text = driver.execute_script(OPTIONS_JS) or ""
    check("SND=True" in text.split() and "FS=False" in text.split(),
          "sound on is written exactly as SND=True: %r" % text)
    time.sleep(1)

# Chromium checks an origin's quota when its storage is first used in a session: a quota of one
# byte set before then makes every IndexedDB write abort with QuotaExceededError, and lifting it
# lets writes through again at once.
def set_quota(visit, size=None):
    origin = visit.server.url("")
    params = {"origin": origin} if size is None else {"origin": origin, "quotaSize": size}
    visit.driver.execute_cdp_cmd("Storage.overrideQuotaForOrigin", params)


def reset_record(visit):
    """R held with E pressed on SURVIVAL: the game writes its score file."""
    visit.focus()
    visit.chord("r", "e")


def full_storage(visit, check):
    """A page whose storage is full from the start (an origin of its own, so fresh storage)."""
    set_quota(visit, 1)
    visit.open()
    s = visit.wait("the menu with full storage", lambda s: s["mode"] == "menu", 60)
    # The first start writes opt.ini and the score file, and storage refuses them.
    s = visit.wait("the storage message", lambda s: s["storage"] != "ok", 15)
    check(s.get("storageProblem") == FULL_STORAGE, "the status says storage is full: %r" % s.get("storageProblem"))
    check(visit.message() == storage_message(FULL_STORAGE),
          "the page says scores cannot be saved, and why: %r" % visit.message())
    for attempt in range(2):  # each reset is one more refused save
        reset_record(visit)
        s = visit.after_passes(60, timeout=15)
        check(s["mode"] == "menu", "the game runs on after R+E with full storage (status %r)" % s)
    from selenium.webdriver.common.keys import Keys
    visit.press(Keys.RETURN)
    s = visit.wait("a game with full storage", lambda s: s["mode"] == "game", 10)
    s = visit.after_passes(60, timeout=15)
    check(s["mode"] == "game", "and a survival game plays (status %r)" % s)
    check(s.get("storageMessages") == 1 and visit.message() == storage_message(FULL_STORAGE),
          "the page said it once (%r times) and still says it" % s.get("storageMessages"))
    # Room again: the next save goes through and the message goes.
    set_quota(visit)
    visit.press(Keys.ESCAPE)
    visit.wait("the menu again", lambda s: s["mode"] == "menu", 10)
    reset_record(visit)
    s = visit.wait("storage working again", lambda s: s["storage"] == "ok", 15)
    check(s.get("storage") == "ok" and visit.message() == "",
          "once storage has room, a save goes through and the message goes: %r" % visit.message())
    visit.console_errors("the visit with full storage")
    found = score_file(visit)
    check("M1=0" in (found or {}).get("text", "").split(),
          "and the score file is in storage: %r" % found)


# Entries of the wrong shape in the store Emscripten's IDBFS keeps for /save (version 21, with an
# index on the timestamp), planted before the game's first load on this origin.
PLANT_JS = """
const done = arguments[arguments.length - 1];
const text = s => new TextEncoder().encode(s);
const folder = 16877, file = 33206;
const entries = [
  ['/save/files', {timestamp: new Date(), mode: folder}],
  ['/save/files/bullet.dds', {timestamp: new Date(), mode: folder}],
  ['/save/files/bullet.dds/inside', {timestamp: new Date(), mode: file, contents: text('x')}],
  ['/save/opt.ini', {timestamp: '2024-05-06T07:08:09Z', mode: file,
                     contents: text('[OPTIONS]\\r\\nFS=False\\r\\nSND=False\\r\\n')}],
  ['/save/opt.ini/under', {timestamp: new Date(), mode: file, contents: text('y')}],
  ['/save/notes.txt', {timestamp: 1700000000000, mode: file, contents: 'plain text'}],
  ['/save/odd.bin', {timestamp: new Date(), mode: file, contents: {not: 'bytes'}}],
];
const r = indexedDB.open('/save', 21);
r.onupgradeneeded = () => {
  r.result.createObjectStore('FILE_DATA').createIndex('timestamp', 'timestamp', {unique: false});
};
r.onerror = () => done('cannot open: ' + r.error);
r.onsuccess = () => {
  const db = r.result;
  const t = db.transaction('FILE_DATA', 'readwrite');
  for (const [key, value] of entries) t.objectStore('FILE_DATA').put(value, key);
  t.oncomplete = () => { db.close(); done('planted'); };
  t.onabort = () => done('not planted: ' + t.error);
};
"""

STORED_JS = """
const done = arguments[arguments.length - 1];
const r = indexedDB.open('/save');
r.onsuccess = () => {
  const store = r.result.transaction('FILE_DATA').objectStore('FILE_DATA');
  const all = {};
  store.openCursor().onsuccess = e => {
    const c = e.target.result;
    if (!c) { r.result.close(); return done(all); }
    const v = c.value;
    all[c.key] = {date: v.timestamp instanceof Date, dir: (v.mode & 61440) === 16384,
                  text: v.contents instanceof Uint8Array ? new TextDecoder().decode(v.contents) : null};
    c.continue();
  };
};
r.onerror = () => done(null);
"""


def damaged_entries(visit, check):
    visit.open(harness.BLANK_PATH)
    planted = visit.driver.execute_async_script(PLANT_JS)
    check(planted == "planted", "entries of the wrong shape planted in IndexedDB: %r" % planted)
    harness.console(visit.driver)
    visit.open()
    s = visit.wait("the menu over damaged entries", lambda s: s["mode"] == "menu", 60)
    check(s.get("mode") == "menu", "the game starts over entries of the wrong shape")
    told = [text for level, text in harness.console(visit.driver) if "swayfire: saved files" in text]
    for text in told:
        print("      console: " + text[:200])
    for key, what in [("/save/files/bullet.dds", "skipped"), ("/save/files/bullet.dds/inside", "skipped"),
                      ("/save/opt.ini/under", "skipped"), ("/save/odd.bin", "skipped"),
                      ("/save/opt.ini", "repaired"), ("/save/notes.txt", "repaired")]:
        check(any(what + ' \\"' + key + '\\"' in t or what + ' "' + key + '"' in t for t in told),
              "the console tells that %s was %s" % (key, what))
    s = visit.after_passes(30)
    check(s.get("storage") == "ok" and visit.message() == "",
          "storage works: no message on the page (%r, %r)" % (s.get("storage"), visit.message()))
    options = visit.driver.execute_script(OPTIONS_JS) or ""
    check("SND=False" in options.split(), "opt.ini with a text timestamp is read: %r" % options)
    reset_record(visit)
    s = visit.after_passes(30)
    check(s.get("storage") == "ok", "R+E saves (status %r)" % s.get("storage"))
    time.sleep(0.5)  # the write-back
    visit.open(harness.BLANK_PATH)
    stored = visit.driver.execute_async_script(STORED_JS) or {}
    score = stored.get("/save/files/bullet.dds") or {}
    check(not score.get("dir") and "[SCORE]" in (score.get("text") or ""),
          "the score file is stored where the folder was: %r" % {k: v for k, v in score.items() if k != "text"})
    check(all(stored.get(k, {}).get("date") for k in ("/save/opt.ini", "/save/notes.txt")),
          "the repaired entries are stored with dates")


# IndexedDB that takes every request and never answers (as some private modes do).
SILENT_STORAGE_JS = """
indexedDB.open = function() { return {}; };
"""


def silent_storage(visit, check):
    script = visit.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument",
                                          {"source": SILENT_STORAGE_JS})
    try:
        visit.open()
        s = visit.wait("the menu with silent storage", lambda s: s["mode"] == "menu", 60)
    finally:
        visit.driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument",
                                     {"identifier": script["identifier"]})
    check(s.get("storageProblem") == "browser storage did not answer",
          "storage that never answers: the game starts, and the status says why: %r" % s.get("storageProblem"))
    reset_record(visit)
    s = visit.after_passes(60, timeout=15)
    check(s["mode"] == "menu" and visit.message() == storage_message("browser storage did not answer"),
          "the game runs on after R+E, and the page says scores cannot be saved: %r" % visit.message())


BREAK_STORAGE_JS = """
Object.defineProperty(window, 'indexedDB', {get() { return undefined; }, configurable: true});
"""


def broken_storage(visit, check):
    visit.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": BREAK_STORAGE_JS})
    visit.open()
    s = visit.wait("the menu without IndexedDB", lambda s: s["mode"] == "menu", 60)
    check(s.get("mode") == "menu", "without IndexedDB the game still reaches the menu")
    check(s.get("storage") == "unavailable", "the status says storage is unavailable: %r" % s.get("storage"))
    check(visit.message() == storage_message(NO_STORAGE),
          "the page says scores cannot be saved, and why: %r" % visit.message())
    from selenium.webdriver.common.keys import Keys
    visit.focus()
    visit.press(Keys.RETURN)
    visit.wait("a game without IndexedDB", lambda s: s["mode"] == "game", 10)
    s = visit.after_passes(30)
    check(s["mode"] == "game", "and a survival game plays (status %r)" % s)
    visit.shot("9-no-storage")
    # Without storage the sound switch works for this visit: the game's sound output goes silent.
    driver = visit.driver
    driver.find_element("id", "options-button").click()
    driver.find_element("id", "option-sound").click()
    gain = driver.execute_script("return AL.currentCtx ? AL.currentCtx.gain.gain.value : null")
    check(gain == 0, "without storage, switching sound off silences this visit (gain %r)" % gain)
    driver.find_element("id", "option-sound").click()
    gain = driver.execute_script("return AL.currentCtx ? AL.currentCtx.gain.gain.value : null")
    check(gain == 1, "and switching it on again is heard (gain %r)" % gain)
    print_warnings(harness.console(visit.driver), " (no storage)")


def phase(check, name, run, *args):
    """Runs one visit; a step that never comes (or breaks) fails it and ends it, not the others."""
    try:
        return run(*args)
    except Exception as error:
        where = [f for f in traceback.extract_tb(error.__traceback__) if f.filename == __file__]
        check(False, "%s stopped at line %s: %s: %s" % (name, where[-1].lineno if where else "?",
                                                        type(error).__name__, str(error).split("\n")[0]))
        print_warnings(harness.console(args[0].driver))
        return None


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("build_web")
    ap.add_argument("--files", default="")
    ap.add_argument("--out", default="browser-test-output")
    a = ap.parse_args()
    reason = harness.cannot_play(a.build_web)
    if reason:
        print("browser_test: skipped: " + reason)
        return SKIP
    os.makedirs(a.out, exist_ok=True)
    refs = references([os.path.join(a.build_web, "files"), a.files])
    check = Check()
    started = time.monotonic()
    with harness.Server(a.build_web) as server, tempfile.TemporaryDirectory(prefix="swayfire-browser-") as profile:
        driver = harness.start_chromium(profile)
        try:
            visit = Visit(driver, server, a.out, check)
            zero_record = phase(check, "the first visit", first_visit, visit, check, refs)
            if zero_record is not None:
                phase(check, "the second visit", second_visit, visit, check, zero_record)
            # Each on an origin of its own: fresh storage, its quota first used there.
            with harness.Server(a.build_web) as full_server:
                phase(check, "the visit with full storage", full_storage,
                      Visit(driver, full_server, a.out, check), check)
            with harness.Server(a.build_web) as damaged_server:
                phase(check, "the visit over damaged entries", damaged_entries,
                      Visit(driver, damaged_server, a.out, check), check)
            with harness.Server(a.build_web) as silent_server:
                phase(check, "the visit with silent storage", silent_storage,
                      Visit(driver, silent_server, a.out, check), check)
            phase(check, "the visit without storage", broken_storage, visit, check)
        finally:
            driver.quit()
        failed = server.failed_requests()
        check(not failed, "every request was served (a missing favicon counts): %r" % failed)
    print("browser_test: %d failure(s) in %.0f s; screenshots in %s"
          % (len(check.failures), time.monotonic() - started, os.path.abspath(a.out)))
    return 1 if check.failures else 0


if __name__ == "__main__":
    sys.exit(main())
