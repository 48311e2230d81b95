// Font files found through fontconfig, as the Linux desktop finds them.
#include <fontconfig/fontconfig.h>
#include <strings.h>

#include "engine/sdl/sdl_text.h"

namespace {

constexpr const char* kFallbackFace = "DejaVu Sans";

struct Match {
  std::string file;
  std::string family;
};

Match MatchFace(const std::string& face) {
  Match match;
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return match;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  if (FcPattern* found = FcFontMatch(nullptr, pattern, &result)) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(found, FC_FILE, 0, &value) == FcResultMatch && value != nullptr) {
      match.file = reinterpret_cast<const char*>(value);
    }
    if (FcPatternGetString(found, FC_FAMILY, 0, &value) == FcResultMatch && value != nullptr) {
      match.family = reinterpret_cast<const char*>(value);
    }
    FcPatternDestroy(found);
  }
  FcPatternDestroy(pattern);
  return match;
}

}  // namespace

std::string FindFontFile(const std::string& face, std::string* family) {
  Match match = MatchFace(face);
  // fontconfig always offers something; take it only when it is the face asked for.
  if (match.file.empty() || strcasecmp(match.family.c_str(), face.c_str()) != 0) {
    Match fallback = MatchFace(kFallbackFace);
    if (!fallback.file.empty()) match = fallback;
  }
  if (family != nullptr) *family = match.family;
  return match.file;
}
