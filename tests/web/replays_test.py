#!/usr/bin/python3
"""Replays in the browser, played in headless Chromium: a game played in the page is kept as its
last replay, listed in the page's Replays part, downloaded, and verified by the desktop's
`swayfire-headless --replay`; it can be watched in the page. A replay recorded on the desktop,
opened as a file, plays true in the page to its recorded final score, and writes nothing to
storage. A damaged replay is refused with the line and what is wrong; none starts during a game.

  replays_test.py BUILD_WEB --headless SWAYFIRE_HEADLESS --replays FOLDER [--files FILES]
                  [--out FOLDER]

FOLDER (--replays) holds replays recorded on the desktop (fuzz/corpus/replay); FILES the
desktop build's files/ (the menu's picture, to see that the menu is shown). Exit status 77
(skipped) when Chromium, its driver, Selenium or the built page is missing."""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
import pictures  # noqa: E402
from browser_test import MENU_LOWER_PART, SKIP, Check, Visit, likeness, phase, references  # noqa: E402

STORED_JS = """
  const s = Module.swayfire;
  return {scores: s.readText('/save/files/bullet.dds'), options: s.readText('/save/opt.ini'),
          replays: s.listReplays().map(name => [name, s.readReplay(name)])};"""


def verify(headless, path):
    """`swayfire-headless --replay PATH`: its exit status and the final score it printed."""
    run = subprocess.run([headless, "--replay", path], capture_output=True, text=True, timeout=120)
    found = re.search(r"^final score: (-?\d+)$", run.stdout, re.M)
    return run.returncode, int(found.group(1)) if found else None, run.stdout + run.stderr


def replay_line(visit):
    return visit.driver.find_element("id", "replay-line").text.strip()


def wait_element(visit, css, timeout=10):
    """The first element the CSS selector finds, once there is one."""
    end = time.monotonic() + timeout
    while True:
        found = visit.driver.find_elements("css selector", css)
        if found:
            return found[0]
        if time.monotonic() > end:
            raise TimeoutError("no %s within %.0f s" % (css, timeout))
        time.sleep(0.1)


def menu_shown(visit, check, refs, after):
    """The menu is on screen, not the last frame of what came before it."""
    visit.after_passes(30)
    pic = visit.shot("menu-after-" + after.split()[0])
    if "mainmenu_background.bmp" in refs:
        c = likeness(pic, refs["mainmenu_background.bmp"], MENU_LOWER_PART)
        check(c > 0.5, "the menu is shown after %s (its background's lower part: correlation %.2f)"
              % (after, c))


def open_file(visit, path):
    """The file given to the page's file picker, as a player chooses it."""
    visit.driver.find_element("id", "replay-file").send_keys(os.path.abspath(path))


def play_and_keep(visit, check, refs, downloads, headless):
    from selenium.webdriver.common.keys import Keys
    visit.open()
    visit.wait("the menu", lambda s: s["mode"] == "menu", 60)
    visit.focus()
    visit.press(Keys.RETURN)
    visit.wait("a survival game", lambda s: s["mode"] == "game", 10)
    end = time.monotonic() + 30
    while time.monotonic() < end and visit.status()["score"] <= 0:
        visit.press("a", "d", "w", "s", Keys.ARROW_LEFT)
    visit.press(Keys.ESCAPE)
    s = visit.wait("the menu after Escape", lambda s: s["mode"] == "menu", 10)
    played = s["score"]
    check(played > 0, "a survival game was played and left with Escape (score %d)" % played)

    driver = visit.driver
    driver.find_element("id", "replays-button").click()
    item = wait_element(visit, '#replays-list li[data-replay="last.replay"]')
    check("Last game: survival, score %d," % played in item.text,
          "the Replays part lists the last game with its score: %r" % item.text)

    driver.execute_cdp_cmd("Page.setDownloadBehavior", {"behavior": "allow", "downloadPath": downloads})
    item.find_element("xpath", ".//button[text()='Download']").click()
    path = os.path.join(downloads, "swayfire-last.replay")
    end = time.monotonic() + 20
    while time.monotonic() < end and not os.path.isfile(path):
        time.sleep(0.1)
    check(os.path.isfile(path), "Download gives the last game's replay: %r" % os.listdir(downloads))
    if os.path.isfile(path):
        status, score, said = verify(headless, path)
        check(status == 0 and score == played,
              "the desktop verifies the browser's replay to its score %d (status %d, %r)"
              % (played, status, said.strip()[-200:]))

    # Watch it in the page, then back to the game.
    item.find_element("xpath", ".//button[text()='Watch']").click()
    s = visit.wait("the replay playing", lambda s: s["mode"] == "replay" and s["replayPass"] > 30, 30)
    check(s["replayPasses"] > 30 and s["replayDiffers"] == -1,
          "Watch plays the last game in the page (status %r)" % s)
    check("Watching last game" in replay_line(visit),
          "the page says which replay plays: %r" % replay_line(visit))
    visit.press(Keys.ESCAPE)
    visit.wait("the menu after the replay", lambda s: s["mode"] == "menu", 30)
    check(replay_line(visit) == "", "the replay's line goes with it: %r" % replay_line(visit))
    menu_shown(visit, check, refs, "watching")
    visit.console_errors("playing, keeping and watching a game")
    return True


def refusals(visit, check, refs, folder, work):
    from selenium.webdriver.common.keys import Keys
    cut = os.path.join(work, "cut.replay")
    with open(os.path.join(folder, "level-1-cleared.replay")) as source:
        lines = source.read().split("\n")
    with open(cut, "w") as f:
        f.write("\n".join(lines[:len(lines) // 2]))
    open_file(visit, cut)
    visit.wait("the refusal", lambda s: "cannot be watched: cut.replay" in replay_line(visit), 10)
    line = replay_line(visit)
    check(re.search(r"cut\.replay: line \d+: ", line) is not None and visit.status()["mode"] == "menu",
          "a cut replay is refused with its line, and the game goes on: %r" % line)
    other = os.path.join(folder, "other-version.replay")
    open_file(visit, other)
    visit.wait("the version's refusal",
               lambda s: "cannot be watched: other-version.replay" in replay_line(visit), 10)
    line = replay_line(visit)
    check("0.9" in line and "1." in line, "a replay of other rules names both versions: %r" % line)

    visit.focus()
    visit.press(Keys.RETURN)
    visit.wait("a game", lambda s: s["mode"] == "game", 10)
    open_file(visit, os.path.join(folder, "level-1-cleared.replay"))
    visit.wait("the refusal in a game", lambda s: "leave your game first" in replay_line(visit), 10)
    visit.after_passes(30)
    check(visit.status()["mode"] == "game", "a replay never ends a game being played")
    visit.press(Keys.ESCAPE)
    visit.wait("the menu", lambda s: s["mode"] == "menu", 10)
    menu_shown(visit, check, refs, "leaving a game")


def desktop_replay(visit, check, folder, headless):
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.keys import Keys
    path = os.path.join(folder, "level-1-cleared.replay")
    status, expected, said = verify(headless, path)
    check(status == 0 and expected is not None, "the desktop replay verifies on the desktop: %r" % said)
    before = visit.driver.execute_script(STORED_JS)
    open_file(visit, path)
    visit.wait("the desktop replay", lambda s: s["mode"] == "replay", 30)
    visit.focus()
    ActionChains(visit.driver).key_down("f").perform()  # four times faster
    try:
        visit.wait("a third of the replay", lambda s: s["replayPass"] * 3 >= s["replayPasses"], 120)
        early = visit.shot("replay-fast")
        s = visit.wait("the replay's end",
                       lambda s: s["replayPasses"] > 0 and s["replayPass"] >= s["replayPasses"], 180)
    finally:
        ActionChains(visit.driver).key_up("f").perform()
    check(s["replayDiffers"] == -1 and s["score"] == expected,
          "the desktop's replay plays true in the page: final score %d of %d (status %r)"
          % (s["score"], expected, s))
    visit.wait("the line's ending", lambda s: "final score" in replay_line(visit), 5)
    check("level-1-cleared.replay: final score %d, as recorded" % expected in replay_line(visit),
          "the page says how it ended: %r" % replay_line(visit))
    # Frames drawn but never shown would leave the same picture on screen all along.
    change = pictures.mean_difference(early.thumbnail(160, 120),
                                      visit.shot("replay-end").thumbnail(160, 120))
    check(change > 0.5, "played four times faster, the replay is shown as it goes (the picture "
          "changed by %.1f of 255 from a third of it to its end)" % change)
    visit.press(Keys.ESCAPE)
    visit.wait("the menu after the replay", lambda s: s["mode"] == "menu", 30)
    after = visit.driver.execute_script(STORED_JS)
    check(after == before, "watching wrote nothing: scores, options and replays are as they were")
    visit.console_errors("watching a desktop replay")


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("build_web")
    ap.add_argument("--headless", required=True)
    ap.add_argument("--replays", required=True)
    ap.add_argument("--files", default="")
    ap.add_argument("--out", default="replays-test-output")
    a = ap.parse_args()
    reason = harness.cannot_play(a.build_web)
    if reason:
        print("replays_test: skipped: " + reason)
        return SKIP
    os.makedirs(a.out, exist_ok=True)
    refs = references([os.path.join(a.build_web, "files"), a.files])
    check = Check()
    started = time.monotonic()
    with harness.Server(a.build_web) as server, \
            tempfile.TemporaryDirectory(prefix="swayfire-replays-") as work:
        profile, downloads = os.path.join(work, "profile"), os.path.join(work, "downloads")
        os.makedirs(downloads)
        driver = harness.start_chromium(profile)
        try:
            visit = Visit(driver, server, a.out, check)
            if phase(check, "playing a game", play_and_keep, visit, check, refs, downloads,
                     a.headless):
                phase(check, "damaged replays", refusals, visit, check, refs, a.replays, work)
                phase(check, "a desktop replay", desktop_replay, visit, check, a.replays, a.headless)
        finally:
            driver.quit()
    print("replays_test: %d failure(s) in %.0f s; screenshots in %s"
          % (len(check.failures), time.monotonic() - started, os.path.abspath(a.out)))
    return 1 if check.failures else 0


if __name__ == "__main__":
    sys.exit(main())
