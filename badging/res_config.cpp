#include "badging/res_config.h"

#include <array>
#include <cctype>
#include <unordered_map>
#include <cstring>
#include <vector>

#include "badging/locale_data.h"

namespace apk {
namespace {

constexpr std::uint8_t kMaskLayoutDir = 0xC0;
constexpr std::uint8_t kMaskScreenSize = 0x0F;
constexpr std::uint8_t kMaskScreenLong = 0x30;
constexpr std::uint8_t kMaskScreenRound = 0x03;
constexpr std::uint8_t kMaskWideColorGamut = 0x03;
constexpr std::uint8_t kMaskHdr = 0x0C;
constexpr std::uint8_t kMaskUiModeType = 0x0F;
constexpr std::uint8_t kMaskUiModeNight = 0x30;
constexpr std::uint8_t kMaskKeysHidden = 0x03;
constexpr std::uint8_t kKeysHiddenNo = 1;
constexpr std::uint8_t kKeysHiddenSoft = 3;
constexpr std::uint8_t kMaskNavHidden = 0x0C;

constexpr char kTagalog[2] = {'t', 'l'};
constexpr char kFilipino[2] = {'\xAD', '\x05'};  // "fil" packed
constexpr char kEnglish[2] = {'e', 'n'};
constexpr char kUnitedStates[2] = {'U', 'S'};

bool Same2(const char a[2], const char b[2]) { return a[0] == b[0] && a[1] == b[1]; }

bool LangsEquivalent(const char a[2], const char b[2]) {
  return Same2(a, b) || (Same2(a, kTagalog) && Same2(b, kFilipino)) || (Same2(a, kFilipino) && Same2(b, kTagalog));
}

// Two-letter codes are stored as they are; three-letter ones packed into 15 bits with the top bit set.
std::string Unpack(const char in[2], char base) {
  const auto b0 = static_cast<std::uint8_t>(in[0]);
  const auto b1 = static_cast<std::uint8_t>(in[1]);
  if (b0 & 0x80) {
    const int first = b1 & 0x1f;
    const int second = ((b1 & 0xe0) >> 5) + ((b0 & 0x03) << 3);
    const int third = (b0 & 0x7c) >> 2;
    return {static_cast<char>(first + base), static_cast<char>(second + base), static_cast<char>(third + base)};
  }
  if (b0 == 0) return {};
  return {in[0], in[1]};
}

void Pack(const char* text, std::size_t size, char base, char out[2]) {
  if (size == 2) {
    out[0] = text[0];
    out[1] = text[1];
    return;
  }
  const int first = (text[0] - base) & 0x7f;
  const int second = (text[1] - base) & 0x7f;
  const int third = (text[2] - base) & 0x7f;
  out[0] = static_cast<char>(0x80 | (third << 2) | (second >> 3));
  out[1] = static_cast<char>((second << 5) | first);
}

std::string JoinLocale(const std::string& language, const std::string& region) {
  return region.empty() ? language : language + "-" + region;
}

// The locale, then its parents up to the bare language; stops early at a member of stop.
std::vector<std::string> Ancestors(const std::string& language, std::string locale, const std::string& script,
                                   const std::vector<std::string>& stop, int* stopIndex) {
  std::vector<std::string> out;
  *stopIndex = -1;
  for (int guard = 0; guard < 16 && !locale.empty(); ++guard) {
    out.push_back(locale);
    for (std::size_t i = 0; i < stop.size(); ++i) {
      if (stop[i] == locale) {
        *stopIndex = static_cast<int>(i);
        return out;
      }
    }
    const std::size_t dash = locale.find('-');
    locale = dash == std::string::npos ? std::string() : ParentLocale(language, locale.substr(dash + 1), script);
  }
  return out;
}

unsigned PackedRegion(const std::string& locale) {
  const std::size_t dash = locale.find('-');
  if (dash == std::string::npos) return 0;
  const std::string region = locale.substr(dash + 1);
  char packed[2];
  Pack(region.data(), region.size() == 3 ? 3 : 2, '0', packed);
  return (static_cast<unsigned>(static_cast<std::uint8_t>(packed[0])) << 8) | static_cast<std::uint8_t>(packed[1]);
}

// +1 when region a serves the request better than region b, -1 when worse, 0 when the same.
int CompareRegions(const char a[2], const char b[2], const ResConfig& r) {
  if (Same2(a, b)) return 0;
  const std::string language = r.languageString();
  const std::string script(r.localeScript, strnlen(r.localeScript, 4));
  std::string left = JoinLocale(language, Unpack(a, '0'));
  std::string right = JoinLocale(language, Unpack(b, '0'));
  const std::string request = JoinLocale(language, r.regionString());
  // es-US and es-MX stand in for Latin American Spanish unless both are special or the other is it.
  const auto special = [](const std::string& l) { return l == "es-US" || l == "es-MX"; };
  if (special(left) && !special(right) && right != "es-419") {
    left = "es-419";
  } else if (special(right) && !special(left) && left != "es-419") {
    right = "es-419";
  }
  int index = -1;
  const std::vector<std::string> requestAncestors = Ancestors(language, request, script, {left, right}, &index);
  if (index == 0) return 1;
  if (index == 1) return -1;
  const auto distance = [&](const std::string& supported) {
    int at = -1;
    const std::size_t count = Ancestors(language, supported, script, requestAncestors, &at).size();
    return static_cast<long>(count) + at - 1;
  };
  const long leftDistance = distance(left);
  const long rightDistance = distance(right);
  if (leftDistance != rightDistance) return leftDistance < rightDistance ? 1 : -1;
  const auto regionOf = [](const std::string& l) {
    const std::size_t dash = l.find('-');
    return dash == std::string::npos ? std::string() : l.substr(dash + 1);
  };
  const bool leftRepresentative = IsRepresentativeLocale(language, regionOf(left), script);
  const bool rightRepresentative = IsRepresentativeLocale(language, regionOf(right), script);
  if (leftRepresentative != rightRepresentative) return leftRepresentative ? 1 : -1;
  // No way to tell: the lower region code wins, for stability.
  return PackedRegion(left) < PackedRegion(right) ? 1 : -1;
}

// The likely script of a stored locale, remembered per language and region: matching asks for it
// once per candidate and request.
std::array<char, 4> CachedLikelyScript(const char language[2], const char region[2]) {
  static std::unordered_map<std::uint32_t, std::array<char, 4>> cache;
  const std::uint32_t key = (static_cast<std::uint32_t>(static_cast<std::uint8_t>(language[0])) << 24) |
                            (static_cast<std::uint32_t>(static_cast<std::uint8_t>(language[1])) << 16) |
                            (static_cast<std::uint32_t>(static_cast<std::uint8_t>(region[0])) << 8) |
                            static_cast<std::uint8_t>(region[1]);
  const auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  std::array<char, 4> script{};
  const std::string text = LikelyScript(Unpack(language, 'a'), Unpack(region, '0'));
  if (text.size() == 4) std::memcpy(script.data(), text.data(), 4);
  cache.emplace(key, script);
  return script;
}

bool CloseToUsEnglish(const char region[2]) {
  // Like US English when "en" comes before "en-001" among the locale's ancestors.
  int index = -1;
  Ancestors("en", JoinLocale("en", Unpack(region, '0')), "Latn", {"en", "en-001"}, &index);
  return index == 0;
}

}  // namespace

ResConfig ResConfig::Parse(ByteView bytes) {
  ResConfig c;
  std::size_t size = bytes.size() >= 4 ? bytes.u32(0, "configuration") : 0;
  if (size > bytes.size()) size = bytes.size();
  const ByteView v(bytes.data(), size);
  auto u8 = [&](std::size_t at) -> std::uint8_t { return v.has(at, 1) ? v.u8(at, "configuration") : 0; };
  auto u16 = [&](std::size_t at) -> std::uint16_t { return v.has(at, 2) ? v.u16(at, "configuration") : 0; };
  auto chars = [&](std::size_t at, char* out, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<char>(u8(at + i));
  };
  c.mcc = u16(4);
  c.mnc = u16(6);
  chars(8, c.language, 2);
  chars(10, c.country, 2);
  c.orientation = u8(12);
  c.touchscreen = u8(13);
  c.density = u16(14);
  c.keyboard = u8(16);
  c.navigation = u8(17);
  c.inputFlags = u8(18);
  c.inputPad0 = u8(19);
  c.screenWidth = u16(20);
  c.screenHeight = u16(22);
  c.sdkVersion = u16(24);
  c.minorVersion = u16(26);
  c.screenLayout = u8(28);
  c.uiMode = u8(29);
  c.smallestScreenWidthDp = u16(30);
  c.screenWidthDp = u16(32);
  c.screenHeightDp = u16(34);
  chars(36, c.localeScript, 4);
  chars(40, c.localeVariant, 8);
  c.screenLayout2 = u8(48);
  c.colorMode = u8(49);
  c.screenConfigPad2 = u16(50);
  c.localeScriptWasComputed = u8(52) != 0;
  chars(53, c.localeNumberingSystem, 8);
  if (c.hasLocale() && c.localeScript[0] == 0 && !c.localeScriptWasComputed) {
    const std::array<char, 4> script = CachedLikelyScript(c.language, c.country);
    std::memcpy(c.likelyScript, script.data(), 4);
  }
  return c;
}

ResConfig ResConfig::BadgingRequest() {
  ResConfig c;
  c.orientation = kOrientationPortrait;
  c.density = kDensityMedium;
  c.sdkVersion = 10000;
  c.screenWidthDp = 320;
  c.screenHeightDp = 480;
  c.smallestScreenWidthDp = 320;
  c.screenLayout = kScreenSizeNormal;
  c.setBcp47("en-US");
  return c;
}

std::string ResConfig::languageString() const { return Unpack(language, 'a'); }
std::string ResConfig::regionString() const { return Unpack(country, '0'); }

std::string ResConfig::bcp47() const {
  if (language[0] == 0 && country[0] == 0) return {};
  std::string out;
  if (language[0] != 0) out = languageString();
  if (localeScript[0] != 0 && !localeScriptWasComputed) {
    if (!out.empty()) out += '-';
    out.append(localeScript, 4);
  }
  if (country[0] != 0) {
    if (!out.empty()) out += '-';
    out += regionString();
  }
  if (localeVariant[0] != 0) {
    if (!out.empty()) out += '-';
    out.append(localeVariant, strnlen(localeVariant, sizeof(localeVariant)));
  }
  if (localeNumberingSystem[0] != 0 && !out.empty()) {
    out += "-u-nu-";
    out.append(localeNumberingSystem, strnlen(localeNumberingSystem, sizeof(localeNumberingSystem)));
  }
  // A stored script may hold a zero byte; the tag ends there, as a C string would.
  const std::size_t nul = out.find('\0');
  if (nul != std::string::npos) out.resize(nul);
  return out;
}

void ResConfig::clearLocale() {
  std::memset(language, 0, sizeof(language));
  std::memset(country, 0, sizeof(country));
  std::memset(localeScript, 0, sizeof(localeScript));
  std::memset(localeVariant, 0, sizeof(localeVariant));
  std::memset(localeNumberingSystem, 0, sizeof(localeNumberingSystem));
  localeScriptWasComputed = false;
}

void ResConfig::setBcp47(const std::string& tag) {
  clearLocale();
  enum class State { kBase, kUnicode, kIgnore } state = State::kBase;
  enum class Key { kNone, kExpectKey, kIgnoreKey, kNumbering } key = Key::kNone;
  std::size_t start = 0;
  for (;;) {
    const std::size_t dash = tag.find('-', start);
    const std::size_t size = (dash == std::string::npos ? tag.size() : dash) - start;
    const char* part = tag.data() + start;
    if (state == State::kUnicode) {
      if (size == 1) {
        state = State::kIgnore;
      } else if (size == 2) {
        if (key == Key::kNone || key == Key::kExpectKey) {
          key = (std::tolower(static_cast<unsigned char>(part[0])) == 'n' &&
                 std::tolower(static_cast<unsigned char>(part[1])) == 'u')
                    ? Key::kNumbering
                    : Key::kIgnoreKey;
        } else {
          state = State::kIgnore;
        }
      } else if (size >= 3 && size <= 8) {
        if (key == Key::kNumbering) {
          if (localeNumberingSystem[0] == 0) {
            for (std::size_t i = 0; i < size; ++i)
              localeNumberingSystem[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(part[i])));
            key = Key::kExpectKey;
          } else {
            state = State::kIgnore;
          }
        } else if (key == Key::kIgnoreKey) {
          key = Key::kExpectKey;
        } else if (key == Key::kExpectKey) {
          state = State::kIgnore;
        }
      } else {
        state = State::kIgnore;
      }
    } else if (size == 0) {
      state = State::kIgnore;
    } else if (size == 1) {
      state = (part[0] == 'u' || part[0] == 'U') ? State::kUnicode : State::kIgnore;
    } else if (size == 2 || size == 3) {
      if (language[0] != 0) {
        Pack(part, size, '0', country);
      } else {
        Pack(part, size, 'a', language);
      }
    } else if (size == 4 && !(part[0] >= '0' && part[0] <= '9')) {
      localeScript[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(part[0])));
      for (std::size_t i = 1; i < 4; ++i) localeScript[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(part[i])));
    } else if (size >= 4 && size <= 8) {
      for (std::size_t i = 0; i < size; ++i) localeVariant[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(part[i])));
    } else {
      state = State::kIgnore;
    }
    if (state == State::kIgnore || dash == std::string::npos) break;
    start = dash + 1;
  }
  localeScriptWasComputed = localeScript[0] == 0;
  if (localeScriptWasComputed) {
    const std::array<char, 4> script = CachedLikelyScript(language, country);
    std::memcpy(localeScript, script.data(), 4);
  }
}

bool ResConfig::match(const ResConfig& s) const {
  if (mcc != 0 && mcc != s.mcc) return false;
  if (mnc != 0 && mnc != s.mnc) return false;
  if (hasLocale()) {
    if (!LangsEquivalent(language, s.language)) return false;
    bool countriesMustMatch = false;
    char script[4] = {0, 0, 0, 0};
    if (s.localeScript[0] == 0) {
      countriesMustMatch = true;
    } else if (localeScript[0] == 0 && !localeScriptWasComputed) {
      const std::array<char, 4> computed =
          likelyScript[0] != 0 ? std::array<char, 4>{likelyScript[0], likelyScript[1], likelyScript[2], likelyScript[3]}
                               : CachedLikelyScript(language, country);
      if (computed[0] == 0) {
        countriesMustMatch = true;
      } else {
        std::memcpy(script, computed.data(), 4);
      }
    } else {
      std::memcpy(script, localeScript, 4);
    }
    if (countriesMustMatch) {
      if (country[0] != 0 && !Same2(country, s.country)) return false;
    } else if (std::memcmp(script, s.localeScript, 4) != 0) {
      return false;
    }
  }
  if (screenLayout || uiMode || smallestScreenWidthDp) {
    const int layoutDir = screenLayout & kMaskLayoutDir;
    if (layoutDir != 0 && layoutDir != (s.screenLayout & kMaskLayoutDir)) return false;
    const int size = screenLayout & kMaskScreenSize;
    if (size != 0 && size > (s.screenLayout & kMaskScreenSize)) return false;
    const int screenLong = screenLayout & kMaskScreenLong;
    if (screenLong != 0 && screenLong != (s.screenLayout & kMaskScreenLong)) return false;
    const int modeType = uiMode & kMaskUiModeType;
    if (modeType != 0 && modeType != (s.uiMode & kMaskUiModeType)) return false;
    const int night = uiMode & kMaskUiModeNight;
    if (night != 0 && night != (s.uiMode & kMaskUiModeNight)) return false;
    if (smallestScreenWidthDp != 0 && smallestScreenWidthDp > s.smallestScreenWidthDp) return false;
  }
  if (screenLayout2 || colorMode || screenConfigPad2) {
    const int round = screenLayout2 & kMaskScreenRound;
    if (round != 0 && round != (s.screenLayout2 & kMaskScreenRound)) return false;
    const int hdr = colorMode & kMaskHdr;
    if (hdr != 0 && hdr != (s.colorMode & kMaskHdr)) return false;
    const int wide = colorMode & kMaskWideColorGamut;
    if (wide != 0 && wide != (s.colorMode & kMaskWideColorGamut)) return false;
  }
  if (screenWidthDp != 0 && screenWidthDp > s.screenWidthDp) return false;
  if (screenHeightDp != 0 && screenHeightDp > s.screenHeightDp) return false;
  // Density always matches: any bucket can be scaled.
  if (orientation != 0 && orientation != s.orientation) return false;
  if (touchscreen != 0 && touchscreen != s.touchscreen) return false;
  if (keyboard || navigation || inputFlags || inputPad0) {
    const int keysHidden = inputFlags & kMaskKeysHidden;
    const int setKeysHidden = s.inputFlags & kMaskKeysHidden;
    // A request for "keys soft" is also served by "keys exposed".
    if (keysHidden != 0 && keysHidden != setKeysHidden && (keysHidden != kKeysHiddenNo || setKeysHidden != kKeysHiddenSoft)) {
      return false;
    }
    const int navHidden = inputFlags & kMaskNavHidden;
    if (navHidden != 0 && navHidden != (s.inputFlags & kMaskNavHidden)) return false;
    if (keyboard != 0 && keyboard != s.keyboard) return false;
    if (navigation != 0 && navigation != s.navigation) return false;
  }
  if (screenWidth != 0 && screenWidth > s.screenWidth) return false;
  if (screenHeight != 0 && screenHeight > s.screenHeight) return false;
  if (sdkVersion != 0 && sdkVersion > s.sdkVersion) return false;
  if (minorVersion != 0 && minorVersion != s.minorVersion) return false;
  return true;
}

bool ResConfig::isLocaleBetterThan(const ResConfig& o, const ResConfig& r) const {
  if (!r.hasLocale()) return false;
  if (!hasLocale() && !o.hasLocale()) return false;
  if (!LangsEquivalent(language, o.language)) {
    // No-language resources are where US English traditionally lives.
    if (Same2(r.language, kEnglish)) {
      if (Same2(r.country, kUnitedStates)) {
        if (language[0] != 0) return country[0] == 0 || Same2(country, kUnitedStates);
        return !(o.country[0] == 0 || Same2(o.country, kUnitedStates));
      }
      if (CloseToUsEnglish(r.country)) {
        if (language[0] != 0) return CloseToUsEnglish(country);
        return !CloseToUsEnglish(o.country);
      }
    }
    return language[0] != 0;
  }
  const int region = CompareRegions(country, o.country, r);
  if (region != 0) return region > 0;
  const bool variantMatches = std::memcmp(localeVariant, r.localeVariant, sizeof(localeVariant)) == 0;
  const bool otherVariantMatches = std::memcmp(o.localeVariant, r.localeVariant, sizeof(localeVariant)) == 0;
  if (variantMatches != otherVariantMatches) return variantMatches;
  const bool numberingMatches = std::memcmp(localeNumberingSystem, r.localeNumberingSystem, sizeof(localeNumberingSystem)) == 0;
  const bool otherNumberingMatches =
      std::memcmp(o.localeNumberingSystem, r.localeNumberingSystem, sizeof(localeNumberingSystem)) == 0;
  if (numberingMatches != otherNumberingMatches) return numberingMatches;
  return Same2(language, r.language) && !Same2(o.language, r.language);
}

bool ResConfig::isBetterThan(const ResConfig& o, const ResConfig& r) const {
  if (mcc || mnc || o.mcc || o.mnc) {
    if (mcc != o.mcc && r.mcc) return mcc != 0;
    if (mnc != o.mnc && r.mnc) return mnc != 0;
  }
  if (isLocaleBetterThan(o, r)) return true;
  if (screenLayout || o.screenLayout) {
    if (((screenLayout ^ o.screenLayout) & kMaskLayoutDir) != 0 && (r.screenLayout & kMaskLayoutDir)) {
      return (screenLayout & kMaskLayoutDir) > (o.screenLayout & kMaskLayoutDir);
    }
  }
  if (smallestScreenWidthDp || o.smallestScreenWidthDp) {
    if (smallestScreenWidthDp != o.smallestScreenWidthDp) return smallestScreenWidthDp > o.smallestScreenWidthDp;
  }
  if (screenWidthDp || screenHeightDp || o.screenWidthDp || o.screenHeightDp) {
    int myDelta = 0;
    int otherDelta = 0;
    if (r.screenWidthDp) {
      myDelta += r.screenWidthDp - screenWidthDp;
      otherDelta += r.screenWidthDp - o.screenWidthDp;
    }
    if (r.screenHeightDp) {
      myDelta += r.screenHeightDp - screenHeightDp;
      otherDelta += r.screenHeightDp - o.screenHeightDp;
    }
    if (myDelta != otherDelta) return myDelta < otherDelta;
  }
  if (screenLayout || o.screenLayout) {
    if (((screenLayout ^ o.screenLayout) & kMaskScreenSize) != 0 && (r.screenLayout & kMaskScreenSize)) {
      const int mySize = screenLayout & kMaskScreenSize;
      const int otherSize = o.screenLayout & kMaskScreenSize;
      int fixedMine = mySize;
      int fixedOther = otherSize;
      // Undefined counts as normal when the request is at least normal.
      if ((r.screenLayout & kMaskScreenSize) >= kScreenSizeNormal) {
        if (fixedMine == 0) fixedMine = kScreenSizeNormal;
        if (fixedOther == 0) fixedOther = kScreenSizeNormal;
      }
      if (fixedMine == fixedOther) return mySize != 0;
      return fixedMine > fixedOther;
    }
    if (((screenLayout ^ o.screenLayout) & kMaskScreenLong) != 0 && (r.screenLayout & kMaskScreenLong)) {
      return (screenLayout & kMaskScreenLong) != 0;
    }
  }
  if (screenLayout2 || o.screenLayout2) {
    if (((screenLayout2 ^ o.screenLayout2) & kMaskScreenRound) != 0 && (r.screenLayout2 & kMaskScreenRound)) {
      return (screenLayout2 & kMaskScreenRound) != 0;
    }
  }
  if (colorMode || o.colorMode) {
    if (((colorMode ^ o.colorMode) & kMaskWideColorGamut) != 0 && (r.colorMode & kMaskWideColorGamut)) {
      return (colorMode & kMaskWideColorGamut) != 0;
    }
    if (((colorMode ^ o.colorMode) & kMaskHdr) != 0 && (r.colorMode & kMaskHdr)) return (colorMode & kMaskHdr) != 0;
  }
  if (orientation != o.orientation && r.orientation) return orientation != 0;
  if (uiMode || o.uiMode) {
    if (((uiMode ^ o.uiMode) & kMaskUiModeType) != 0 && (r.uiMode & kMaskUiModeType)) return (uiMode & kMaskUiModeType) != 0;
    if (((uiMode ^ o.uiMode) & kMaskUiModeNight) != 0 && (r.uiMode & kMaskUiModeNight)) return (uiMode & kMaskUiModeNight) != 0;
  }
  if (orientation || touchscreen || density || o.orientation || o.touchscreen || o.density) {
    if (density != o.density) {
      const int mine = density ? density : kDensityMedium;
      const int other = o.density ? o.density : kDensityMedium;
      // anydpi always beats scaling a bucket.
      if (mine == kDensityAny) return true;
      if (other == kDensityAny) return false;
      int requested = r.density;
      if (requested == 0 || requested == kDensityAny) requested = kDensityMedium;
      int high = mine;
      int low = other;
      bool iAmBigger = true;
      if (low > high) {
        std::swap(high, low);
        iAmBigger = false;
      }
      if (requested >= high) return iAmBigger;
      if (low >= requested) return !iAmBigger;
      // Scaling down counts as twice as good as scaling up.
      if (static_cast<long long>(2 * low - requested) * high > static_cast<long long>(requested) * requested) return !iAmBigger;
      return iAmBigger;
    }
    if (touchscreen != o.touchscreen && r.touchscreen) return touchscreen != 0;
  }
  if (keyboard || navigation || inputFlags || inputPad0 || o.keyboard || o.navigation || o.inputFlags || o.inputPad0) {
    const int keysHidden = inputFlags & kMaskKeysHidden;
    const int otherKeysHidden = o.inputFlags & kMaskKeysHidden;
    if (keysHidden != otherKeysHidden) {
      const int requested = r.inputFlags & kMaskKeysHidden;
      if (requested) {
        if (!keysHidden) return false;
        if (!otherKeysHidden) return true;
        if (requested == keysHidden) return true;
        if (requested == otherKeysHidden) return false;
      }
    }
    const int navHidden = inputFlags & kMaskNavHidden;
    const int otherNavHidden = o.inputFlags & kMaskNavHidden;
    if (navHidden != otherNavHidden && (r.inputFlags & kMaskNavHidden)) {
      if (!navHidden) return false;
      if (!otherNavHidden) return true;
    }
    if (keyboard != o.keyboard && r.keyboard) return keyboard != 0;
    if (navigation != o.navigation && r.navigation) return navigation != 0;
  }
  if (screenWidth || screenHeight || o.screenWidth || o.screenHeight) {
    int myDelta = 0;
    int otherDelta = 0;
    if (r.screenWidth) {
      myDelta += r.screenWidth - screenWidth;
      otherDelta += r.screenWidth - o.screenWidth;
    }
    if (r.screenHeight) {
      myDelta += r.screenHeight - screenHeight;
      otherDelta += r.screenHeight - o.screenHeight;
    }
    if (myDelta != otherDelta) return myDelta < otherDelta;
  }
  if (sdkVersion || minorVersion || o.sdkVersion || o.minorVersion) {
    if (sdkVersion != o.sdkVersion && r.sdkVersion) return sdkVersion > o.sdkVersion;
    if (minorVersion != o.minorVersion && r.minorVersion) return minorVersion != 0;
  }
  return false;
}

}  // namespace apk
