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
      (double passes, int mode, int selection, int paused, int score, int level),
      { Module['swayfire'].publish(passes, mode, selection, paused, score, level); });

EM_JS(void, swayfire_save_soon, (), { Module['swayfire'].saveSoon(); });

EM_JS(void, swayfire_download, (const char* name, const void* data, int size, const char* type), {
  var blob = new Blob([HEAPU8.slice(data, data + size)], {
    type:
      UTF8ToString(type)
  });
  var link = document.createElement('a');
  link.href = URL.createObjectURL(blob);
  link.download = UTF8ToString(name);
  link.style.display = 'none';
  document.body.appendChild(link);
  link.click();
  link.remove();
  setTimeout(
      function() { URL.revokeObjectURL(link.href); }, 60000);
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
                   status.paused ? 1 : 0, status.score, status.level);
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
