#pragma once
// A resource configuration (ResTable_config) with the packaging tool's matching and ranking rules.
#include <cstdint>
#include <string>

#include "badging/byte_view.h"

namespace apk {

struct ResConfig {
  static constexpr std::uint16_t kDensityMedium = 160;
  static constexpr std::uint16_t kDensityAny = 0xFFFE;   // anydpi
  static constexpr std::uint16_t kDensityNone = 0xFFFF;  // nodpi
  static constexpr std::uint8_t kOrientationPortrait = 1;
  static constexpr std::uint8_t kScreenSizeNormal = 0x02;

  std::uint16_t mcc = 0, mnc = 0;
  char language[2] = {0, 0};
  char country[2] = {0, 0};
  std::uint8_t orientation = 0, touchscreen = 0;
  std::uint16_t density = 0;
  std::uint8_t keyboard = 0, navigation = 0, inputFlags = 0, inputPad0 = 0;
  std::uint16_t screenWidth = 0, screenHeight = 0;
  std::uint16_t sdkVersion = 0, minorVersion = 0;
  std::uint8_t screenLayout = 0, uiMode = 0;
  std::uint16_t smallestScreenWidthDp = 0;
  std::uint16_t screenWidthDp = 0, screenHeightDp = 0;
  char localeScript[4] = {0, 0, 0, 0};
  char localeVariant[8] = {0, 0, 0, 0, 0, 0, 0, 0};
  std::uint8_t screenLayout2 = 0, colorMode = 0;
  std::uint16_t screenConfigPad2 = 0;
  bool localeScriptWasComputed = false;
  char localeNumberingSystem[8] = {0, 0, 0, 0, 0, 0, 0, 0};
  // Not stored: the likely script of a stored locale without one, worked out once when parsed.
  char likelyScript[4] = {0, 0, 0, 0};

  // Reads a stored configuration; fields beyond its recorded size (or the bytes given) stay zero.
  static ResConfig Parse(ByteView bytes);
  // The request the packaging tool's badging uses: en-US, portrait, normal 320x480dp, mdpi, SDK 10000.
  static ResConfig BadgingRequest();

  [[nodiscard]] bool hasLocale() const { return language[0] || language[1] || country[0] || country[1]; }
  // BCP 47 tag as the locale list prints it ("" for no locale).
  [[nodiscard]] std::string bcp47() const;
  // Replaces the locale with a BCP 47 tag and computes its script when none is given.
  void setBcp47(const std::string& tag);
  [[nodiscard]] std::string languageString() const;
  [[nodiscard]] std::string regionString() const;

  // Whether this resource configuration can serve the requested one.
  [[nodiscard]] bool match(const ResConfig& requested) const;
  // Whether this configuration serves the request better than other (both already match).
  [[nodiscard]] bool isBetterThan(const ResConfig& other, const ResConfig& requested) const;

 private:
  [[nodiscard]] bool isLocaleBetterThan(const ResConfig& other, const ResConfig& requested) const;
  void clearLocale();
};

}  // namespace apk
