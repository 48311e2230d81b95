#include "engine/web/web_page.h"

#include <emscripten.h>

#include <cstdlib>

// Resolves at the browser's next display refresh, or after `latest` milliseconds when the browser
// draws slower than that (a busy machine, software drawing): the passes then go on by the clock.
// The animation frame stays asked for even when the clock comes first: a page with no frame asked
// for is drawn far less often by a busy browser, and the game would look frozen while it runs.
// A hidden page has no refreshes and slow timers; the game is paused by the focus loss meanwhile.
EM_ASYNC_JS(void, swayfire_wait_for_refresh, (double latest), {
  await new Promise(function(resolve) {
    var timer = setTimeout(resolve, latest);
    requestAnimationFrame(function() {
      clearTimeout(timer);
      resolve();
    });
  });
});

// Counts the browser's display refreshes, from the first question on.
EM_JS(int, swayfire_refreshes, (), {
  var swayfire = Module['swayfire'];
  if (!swayfire.counting) {
    swayfire.counting = true;
    swayfire.refreshes = 0;
    var count = function() {
      swayfire.refreshes++;
      requestAnimationFrame(count);
    };
    requestAnimationFrame(count);
  }
  return swayfire.refreshes;
});

EM_JS(char*, swayfire_take_events, (), {
  var text = Module['swayfire'].takeEvents();
  if (!text) return 0;
  var size = lengthBytesUTF8(text) + 1;
  var buffer = _malloc(size);
  stringToUTF8(text, buffer, size);
  return buffer;
});

EM_JS(void, swayfire_publish,
      (double passes, int mode, int selection, int paused, int score, int level, double replayPass,
       double replayPasses, double replayDiffers),
      {
        Module['swayfire'].publish(passes, mode, selection, paused, score, level, replayPass,
                                   replayPasses, replayDiffers);
      });

// The request as two strings in one buffer: the name, a zero, the text, a zero.
EM_JS(char*, swayfire_take_watch_request, (), {
  var request = Module['swayfire'].takeWatchRequest();
  if (!request) return 0;
  var nameSize = lengthBytesUTF8(request.name) + 1;
  var buffer = _malloc(nameSize + lengthBytesUTF8(request.text) + 1);
  if (!buffer) return 0;
  stringToUTF8(request.name, buffer, nameSize);
  stringToUTF8(request.text, buffer + nameSize, lengthBytesUTF8(request.text) + 1);
  return buffer;
});

EM_JS(void, swayfire_replays_changed, (), { Module['swayfire'].replaysChanged(); });

EM_JS(void, swayfire_replay_refused, (const char* why),
      { Module['swayfire'].replayRefused(UTF8ToString(why)); });

EM_JS(void, swayfire_save_soon, (), { Module['swayfire'].saveSoon(); });

EM_JS(void, swayfire_download, (const char* name, const void* data, int size, const char* type), {
  Module['swayfire'].download(UTF8ToString(name), HEAPU8.slice(data, data + size),
                              UTF8ToString(type));
});

EM_JS(void, swayfire_set_title, (const char* title), { document.title = UTF8ToString(title); });

EM_JS(void, swayfire_storage_failed, (const char* why),
      { Module['swayfire'].storageFailed(UTF8ToString(why), true); });

EM_JS(void, swayfire_notice, (const char* title, const char* text),
      { Module['swayfire'].notice(UTF8ToString(title), UTF8ToString(text)); });

EM_JS(void, swayfire_ended, (int normally), { Module['swayfire'].ended(normally); });

EM_JS(void, swayfire_fatal, (const char* text), { Module['swayfire'].fatal(UTF8ToString(text)); });

void WebPage::Publish() {
  const PageStatus status = source_ ? source_() : PageStatus{};
  swayfire_publish(static_cast<double>(passes_), status.mode, status.menuSelection,
                   status.paused ? 1 : 0, status.score, status.level,
                   static_cast<double>(status.replayPass), static_cast<double>(status.replayPasses),
                   static_cast<double>(status.replayDiffers));
}

void WebPage::WaitForRefresh(double latest) {
  Publish();
  swayfire_wait_for_refresh(latest);
}

void WebPage::Sleep(uint32_t milliseconds) {
  Publish();
  emscripten_sleep(milliseconds);
}

int WebPage::Refreshes() {
  return swayfire_refreshes();
}

double WebPage::Now() {
  return emscripten_get_now();
}

std::string WebPage::TakeEvents() {
  char* text = swayfire_take_events();
  if (text == nullptr) return "";
  std::string events(text);
  std::free(text);
  return events;
}

void WebPage::SaveSoon() {
  swayfire_save_soon();
}

void WebPage::Download(const std::string& name, const void* data, size_t size,
                       const std::string& type) {
  swayfire_download(name.c_str(), data, static_cast<int>(size), type.c_str());
}

void WebPage::SetTitle(const std::string& title) {
  swayfire_set_title(title.c_str());
}

bool WebPage::TakeWatchRequest(WatchRequest& request) {
  char* buffer = swayfire_take_watch_request();
  if (buffer == nullptr) return false;
  request.name = buffer;
  request.text = buffer + request.name.size() + 1;
  std::free(buffer);
  return true;
}

void WebPage::ReplaysChanged() {
  swayfire_replays_changed();
}

void WebPage::ReplayRefused(const std::string& why) {
  swayfire_replay_refused(why.c_str());
}

void WebPage::Ended(bool normally) {
  swayfire_ended(normally ? 1 : 0);
}

void WebPage::StorageFailed(const std::string& why) {
  swayfire_storage_failed(why.c_str());
}

void WebPage::Notice(const std::string& title, const std::string& text) {
  swayfire_notice(title.c_str(), text.c_str());
}

void WebPage::Fatal(const std::string& message) {
  swayfire_fatal(message.c_str());
}
