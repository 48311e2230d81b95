#include "engine/web/web_engine.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "engine/common/local_time.h"

namespace {

void AppendBytes(void* context, void* data, int size) {
  auto* bytes = static_cast<std::vector<uint8_t>*>(context);
  bytes->insert(bytes->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
}

}  // namespace

WebEngine::WebEngine(WebPage& page, WebInput& input, WebAudio& audio, Paths& paths,
                     std::string canvas, std::string fontFile)
    : KeysAndSoundsEngine(input.Keys(), audio, paths),
      page_(page),
      input_(input),
      audio_(audio),
      paths_(paths),
      canvas_(std::move(canvas)),
      text_(std::move(fontFile)) {}

WebEngine::~WebEngine() {
  Shutdown();
}

void WebEngine::Initialize(WindowHandle window, const std::string& appFolder, float, float, bool,
                           int16_t, int16_t, int16_t) {
  if (window != static_cast<WindowHandle>(&page_)) {
    throw EngineError("the engine was given a window that is not the game's");
  }
  // Full screen waits for the player's F11: a page may enter it only from a key press or click.
  paths_.SetAppFolder(appFolder);
  frame_.Open(canvas_);
}

void WebEngine::BeginFrame(int16_t, int16_t, int16_t) {
  frame_.Clear();
}

// One drawn frame per display refresh at most: a pass that comes before the browser has shown the
// last drawn frame skips its drawing (the rules of the pass still run in full). Chosen as the
// last frame ends, not at BeginFrame: the menu draws its frames without one.
void WebEngine::ChooseDrawing() {
  const int refreshes = WebPage::Refreshes();
  const bool drawing = refreshes != drawnAtRefresh_;
  frame_.SetDrawing(drawing);
  if (drawing) drawnAtRefresh_ = refreshes;
}

void WebEngine::Pace() {
  // The display's refreshes pace the passes: a slow refresh is made up by the passes due running
  // back to back. Only when no refresh comes at all for a while (a hidden page) does a timer go on.
  // A timer for every late refresh would be worse: a browser drawing in software gets so busy
  // with them that it shows a handful of frames a second.
  constexpr double kTimerAfter = 1000.0 * PassSchedule::kMaxLag / PassSchedule::kSecond;  // ms
  schedule_.AwaitNextPass([] { return static_cast<int64_t>(WebPage::Now() * 1e6); },
                          [this](int64_t) { page_.WaitForRefresh(kTimerAfter); });
}

// The browser shows the canvas when the game gives it its turn: the frame is copied to the canvas
// now and appears at the next display refresh. The loop itself is the game's own (ASYNCIFY), not
// one pass per animation frame: the game code, its splash wait included, stays as on the desktop,
// and on a display faster than 60 Hz the passes still come 60 a second.
void WebEngine::EndFrame() {
  frame_.Present();
  Pace();
  input_.Pump();
  ChooseDrawing();
}

void WebEngine::TakeScreenshot() {
  std::vector<uint8_t> pixels = frame_.ReadFrame();
  if (pixels.empty()) return;
  for (size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 255;  // the frame is opaque
  std::vector<uint8_t> png;
  if (stbi_write_png_to_func(AppendBytes, &png, GlFrame::kWidth, GlFrame::kHeight, 4, pixels.data(),
                             GlFrame::kWidth * 4) == 0) {
    std::fprintf(stderr, "swayfire: warning: cannot save the screenshot: PNG encoding failed\n");
    return;
  }
  WebPage::Download(ScreenshotName(), png.data(), png.size(), "image/png");
}

void WebEngine::CreateFont(const std::string& name, const std::string&, int16_t size, int16_t,
                           int16_t) {
  text_.CreateFont(name, size);
}

void WebEngine::DrawText(const std::string& font, float x, float y, float width, float,
                         const std::string& text, int32_t color, int16_t alignment) {
  text_.Draw(frame_, font, x, y, width, text, color, alignment);
}

void WebEngine::Shutdown() {
  text_.ReleaseTextures();
  audio_.FreeSounds();
}
