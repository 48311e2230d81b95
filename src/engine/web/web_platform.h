// The services around the engine in the browser: the page stands for the window frmMain (its
// title is the caption), clocks from performance.now(), the beep, the player's folder in browser
// storage, and fatal messages shown on the page.
#pragma once

#include <functional>
#include <string>

#include "engine/common/close_request.h"
#include "engine/engine.h"
#include "engine/web/web_audio.h"
#include "engine/web/web_input.h"
#include "engine/web/web_page.h"

class WebPlatform : public Platform {
 public:
  // appFolder: the folder of the player's files, kept in browser storage.
  WebPlatform(WebPage& page, WebInput& input, WebAudio& audio, std::string appFolder)
      : page_(page), input_(input), audio_(audio), appFolder_(std::move(appFolder)) {}

  WindowHandle MainWindow() override { return &page_; }
  void SetCaption(const std::string& caption) override { WebPage::SetTitle(caption); }
  void SetCloseHandler(std::function<void(int16_t& cancel)> handler) override {
    close_.SetHandler(std::move(handler));
  }
  // A page is never closed by the game: unloading only runs the handler and marks it done.
  void UnloadWindow() override;
  bool WindowUnloaded() override { return close_.Closed(); }

  uint32_t GetTickCount() override;
  double TimeOfDay() override;
  void DoEvents() override { input_.Pump(); }
  void Beep() override { audio_.Beep(); }
  void Sleep(uint32_t milliseconds) override { page_.Sleep(milliseconds); }
  void ReportFatal(const std::string& message) override;
  // A score the game could not save is the page's storage message; anything else it tells (a
  // score file repaired) is a note on the page.
  void ShowWarning(const std::string& title, const std::string& text) override;
  void BeginPass() override { page_.CountPass(); }
  bool LostFocus() override { return input_.TakeFocusLoss(); }

  std::string AppFolder() override { return appFolder_; }
  std::string ExeName() override { return "swayfire"; }
  int VersionMajor() override;
  int VersionMinor() override;

 private:
  WebPage& page_;
  WebInput& input_;
  WebAudio& audio_;
  std::string appFolder_;
  CloseRequest close_;
};
