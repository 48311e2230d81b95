// The INI files of the desktop (IniUtility, atomic writes included) on the browser's virtual file
// system, with each write sent on to browser storage (IndexedDB) right after the pass that made
// it.
#pragma once

#include "engine/web/web_page.h"
#include "io/ini_utility.h"

class SavingUtility : public Utility {
 public:
  explicit SavingUtility(Utility& files) : files_(files) {}

  void Setup(int16_t value) override { files_.Setup(value); }
  std::string ReadIni(const std::string& section, const std::string& key, const std::string& file,
                      int16_t a) override {
    return files_.ReadIni(section, key, file, a);
  }
  void WriteIni(const std::string& section, const std::string& key, const std::string& value,
                const std::string& file, int16_t a) override {
    files_.WriteIni(section, key, value, file, a);
    WebPage::SaveSoon();
  }
  void WriteIniUnless(const std::string& section, const std::string& key, const std::string& value,
                      const std::string& file,
                      const std::function<bool(const std::string&)>& keep) override {
    files_.WriteIniUnless(section, key, value, file, keep);
    WebPage::SaveSoon();
  }
  float Distance(float x1, float y1, float x2, float y2) override {
    return files_.Distance(x1, y1, x2, y2);
  }

 private:
  Utility& files_;
};
