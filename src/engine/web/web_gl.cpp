#include "engine/web/web_gl.h"

#include <GLES3/gl3.h>
#include <emscripten/html5.h>

#include <cstring>

#include "engine/engine.h"

namespace {

constexpr size_t kBatchQuads = 2048;

const char* const kVertexShader = R"(#version 300 es
uniform vec2 uScale;
in vec2 aPosition;
in vec2 aTexCoord;
in vec4 aColor;
out vec2 vTexCoord;
out vec4 vColor;
void main() {
  // Frame pixels, y down, to clip space.
  gl_Position = vec4(aPosition * uScale + vec2(-1.0, 1.0), 0.0, 1.0);
  vTexCoord = aTexCoord;
  vColor = aColor;
}
)";

const char* const kFragmentShader = R"(#version 300 es
precision mediump float;
uniform sampler2D uTexture;
in vec2 vTexCoord;
in vec4 vColor;
out vec4 fragColor;
void main() {
  fragColor = texture(uTexture, vTexCoord) * vColor;
  // A fully clear texel changes nothing under the blending used; a software GPU (a browser
  // without a graphics card) is spared its blend.
  if (fragColor.a == 0.0) discard;
}
)";

GLuint Compile(GLenum type, const char* source) {
  GLuint shader = glCreateShader(type);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[512] = {};
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    throw EngineError(std::string("cannot compile a WebGL shader: ") + log);
  }
  return shader;
}

void NearestClamped() {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

}  // namespace

GlFrame::~GlFrame() {
  life_.reset();
  if (context_ != 0) emscripten_webgl_destroy_context(context_);
}

void GlFrame::Open(const std::string& canvasSelector) {
  if (context_ != 0) return;
  emscripten_set_canvas_element_size(canvasSelector.c_str(), kWidth, kHeight);
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.majorVersion = 2;
  attributes.minorVersion = 0;
  attributes.alpha = false;
  attributes.depth = false;
  attributes.stencil = false;
  attributes.antialias = false;
  // The canvas need not keep its pixels once shown: every frame is copied to it whole, and the
  // frame itself stays in its own texture (for screenshots). Not keeping them saves the browser a
  // copy at every refresh.
  attributes.preserveDrawingBuffer = false;
  const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
      emscripten_webgl_create_context(canvasSelector.c_str(), &attributes);
  if (context <= 0)
    throw EngineError("this browser cannot draw the game: WebGL 2 is not available");
  context_ = context;
  emscripten_webgl_make_context_current(context);

  program_ = glCreateProgram();
  glAttachShader(program_, Compile(GL_VERTEX_SHADER, kVertexShader));
  glAttachShader(program_, Compile(GL_FRAGMENT_SHADER, kFragmentShader));
  glBindAttribLocation(program_, 0, "aPosition");
  glBindAttribLocation(program_, 1, "aTexCoord");
  glBindAttribLocation(program_, 2, "aColor");
  glLinkProgram(program_);
  GLint linked = 0;
  glGetProgramiv(program_, GL_LINK_STATUS, &linked);
  if (!linked) throw EngineError("cannot link the WebGL program");
  glUseProgram(program_);
  glUniform2f(glGetUniformLocation(program_, "uScale"), 2.0f / kWidth, -2.0f / kHeight);
  glUniform1i(glGetUniformLocation(program_, "uTexture"), 0);

  glGenVertexArrays(1, &vertexArray_);
  glBindVertexArray(vertexArray_);
  glGenBuffers(1, &buffer_);
  glBindBuffer(GL_ARRAY_BUFFER, buffer_);
  glBufferData(GL_ARRAY_BUFFER, kBatchQuads * 6 * sizeof(Vertex), nullptr, GL_STREAM_DRAW);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                        reinterpret_cast<void*>(offsetof(Vertex, x)));
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                        reinterpret_cast<void*>(offsetof(Vertex, u)));
  glEnableVertexAttribArray(2);
  glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(Vertex),
                        reinterpret_cast<void*>(offsetof(Vertex, color)));

  // The frame: drawn at the game's own size, shown with repeated pixels, never smoothed.
  glGenTextures(1, &frameTexture_);
  glBindTexture(GL_TEXTURE_2D, frameTexture_);
  NearestClamped();
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kWidth, kHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glGenFramebuffers(1, &framebuffer_);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, frameTexture_, 0);
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    throw EngineError("cannot make the 640 x 480 frame to draw in (WebGL)");
  }
  glViewport(0, 0, kWidth, kHeight);
  // Blending as the desktop's: colour by the source's alpha, alpha added over.
  glEnable(GL_BLEND);
  glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  batch_.reserve(kBatchQuads * 6);
  life_ = std::make_shared<int>(0);
  Clear();
}

unsigned GlFrame::CreateTexture(const uint8_t* rgba, int width, int height) {
  if (context_ == 0 || width <= 0 || height <= 0) return 0;
  Flush();
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  NearestClamped();
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  batchTexture_ = 0;  // the batch binds its texture again
  return texture;
}

void GlFrame::DeleteTexture(unsigned texture) {
  if (texture != 0) glDeleteTextures(1, &texture);
}

void GlFrame::Clear() {
  if (context_ == 0 || !drawing_) return;
  batch_.clear();
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
}

void GlFrame::Quad(unsigned texture, const Point corners[4], float u0, float v0, float u1, float v1,
                   Color color) {
  if (context_ == 0 || texture == 0 || !drawing_) return;
  if (texture != batchTexture_ || batch_.size() + 6 > kBatchQuads * 6) {
    Flush();
    batchTexture_ = texture;
  }
  const Vertex topLeft{corners[0].x, corners[0].y, u0, v0, color};
  const Vertex topRight{corners[1].x, corners[1].y, u1, v0, color};
  const Vertex bottomRight{corners[2].x, corners[2].y, u1, v1, color};
  const Vertex bottomLeft{corners[3].x, corners[3].y, u0, v1, color};
  batch_.insert(batch_.end(), {topLeft, topRight, bottomRight, topLeft, bottomRight, bottomLeft});
}

void GlFrame::Flush() {
  if (batch_.empty()) return;
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glBindTexture(GL_TEXTURE_2D, batchTexture_);
  glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(batch_.size() * sizeof(Vertex)),
                  batch_.data());
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(batch_.size()));
  batch_.clear();
}

void GlFrame::Present() {
  if (context_ == 0 || !drawing_) return;
  Flush();
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glBlitFramebuffer(0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
}

std::vector<uint8_t> GlFrame::ReadFrame() {
  std::vector<uint8_t> pixels;
  if (context_ == 0) return pixels;
  Flush();
  std::vector<uint8_t> bottomUp(static_cast<size_t>(kWidth) * kHeight * 4);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
  // GL counts rows from the bottom; the frame was drawn with y down, so row 0 is its bottom.
  pixels.resize(bottomUp.size());
  const size_t row = static_cast<size_t>(kWidth) * 4;
  for (int y = 0; y < kHeight; ++y) {
    std::memcpy(&pixels[y * row], &bottomUp[(kHeight - 1 - y) * row], row);
  }
  return pixels;
}
