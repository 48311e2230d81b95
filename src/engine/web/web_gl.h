// Drawing with WebGL2: every frame is drawn into a 640 x 480 texture (the frame), then copied to
// the canvas in one step; the page scales the canvas to the window with repeated pixels. Sprites
// are textured quads, gathered into one draw call for as long as they share a texture.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class GlFrame {
 public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;

  struct Color {
    uint8_t r, g, b, a;
  };
  struct Point {
    float x, y;
  };

  GlFrame() = default;
  GlFrame(const GlFrame&) = delete;
  GlFrame& operator=(const GlFrame&) = delete;
  ~GlFrame();

  // Makes the WebGL2 context on the canvas; throws EngineError when the browser has none.
  void Open(const std::string& canvasSelector);
  bool IsOpen() const { return context_ != 0; }
  // Textures hold this weakly: once it has expired the context is gone and so are they.
  std::weak_ptr<void> Life() const { return life_; }

  // A texture of RGBA pixels (4 bytes each, rows top down, not premultiplied); 0 when it fails.
  unsigned CreateTexture(const uint8_t* rgba, int width, int height);
  static void DeleteTexture(unsigned texture);

  // Whether this pass's frame is drawn at all. A pass whose frame no display refresh would show
  // (the browser draws slower than the game runs) skips its drawing, so the browser, which may be
  // drawing in software, keeps the time to show the frames that are drawn.
  void SetDrawing(bool drawing) { drawing_ = drawing; }

  // Fills the frame with black.
  void Clear();
  // The quad with the given corners (top-left, top-right, bottom-right, bottom-left, in frame
  // pixels) showing the texture's part between (u0, v0) and (u1, v1), times the colour.
  void Quad(unsigned texture, const Point corners[4], float u0, float v0, float u1, float v1,
            Color color);
  // Copies the frame to the canvas.
  void Present();
  // The frame's pixels: RGBA, rows top down.
  std::vector<uint8_t> ReadFrame();

 private:
  struct Vertex {
    float x, y, u, v;
    Color color;
  };
  void Flush();

  intptr_t context_ = 0;
  bool drawing_ = true;
  unsigned program_ = 0;
  unsigned buffer_ = 0;
  unsigned vertexArray_ = 0;
  unsigned frameTexture_ = 0;
  unsigned framebuffer_ = 0;
  unsigned batchTexture_ = 0;
  std::vector<Vertex> batch_;
  std::shared_ptr<int> life_;
};
