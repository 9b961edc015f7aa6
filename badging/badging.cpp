#include "badging/badging.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <vector>

#include "badging/apk_error.h"
#include "badging/attribute_reader.h"
#include "badging/binary_xml.h"

namespace apk {
namespace {

constexpr std::uint32_t kLabelAttr = 0x01010001;
constexpr std::uint32_t kIconAttr = 0x01010002;
constexpr std::uint32_t kNameAttr = 0x01010003;
constexpr std::uint32_t kVersionCodeAttr = 0x0101021b;
constexpr std::uint32_t kVersionNameAttr = 0x0101021c;
constexpr std::uint32_t kMinSdkVersionAttr = 0x0101020c;
constexpr std::uint32_t kMaxSdkVersionAttr = 0x01010271;
constexpr std::uint32_t kTargetSdkVersionAttr = 0x01010270;
constexpr std::uint32_t kBannerAttr = 0x010103f2;
constexpr std::uint32_t kScreenOrientationAttr = 0x0101001e;
constexpr std::uint32_t kTestOnlyAttr = 0x01010272;
constexpr std::uint32_t kCompileSdkVersionAttr = 0x01010572;
constexpr std::uint32_t kCompileSdkVersionCodenameAttr = 0x01010573;

// Backslash, line feed and double quote are escaped; nothing else is touched.
std::string ForOutput(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c == '\0') break;
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '"') {
      out += "\\\"";
    } else {
      out += c;
    }
  }
  return out;
}

bool EndsWithNoCase(const std::string& text, const char* suffix) {
  const std::size_t n = std::char_traits<char>::length(suffix);
  if (text.size() < n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (std::tolower(static_cast<unsigned char>(text[text.size() - n + i])) != suffix[i]) return false;
  }
  return true;
}

// A component name relative to the package: ".Main" and "Main" both gain the package prefix.
std::string ComponentName(const std::string& package, const std::string& name) {
  const std::size_t dot = name.find('.');
  if (dot == 0) return package + name;
  if (dot == std::string::npos) return package + "." + name;
  return name;
}

class Badging {
 public:
  Badging(const XmlDocument& doc, const ResourceTable& table) : doc_(doc), table_(table), attrs_(doc, table) {}

  BadgingResult run();

 private:
  // Ends the dump the way the packaging tool bails out: what was printed stays printed.
  struct Bail {
    std::string message;
  };
  [[noreturn]] static void Fail(const std::string& message) { throw Bail{message}; }

  void manifestElement(const XmlEvent& e);
  void applicationElement(const XmlEvent& e);
  void usesSdkElement(const XmlEvent& e);
  void activityElement(const XmlEvent& e);
  void endOfActivity();
  void finish();

  const XmlDocument& doc_;
  const ResourceTable& table_;
  AttributeReader attrs_;
  std::string out_;
  std::string error_;  // sticky, as in the packaging tool
  std::vector<std::string> locales_;
  std::vector<int> densities_;
  ResConfig config_ = ResConfig::BadgingRequest();

  std::string package_;
  bool withinApplication_ = false;
  bool withinActivity_ = false;
  bool withinIntentFilter_ = false;
  bool isMainActivity_ = false;
  bool isLauncherActivity_ = false;
  std::string activityName_, activityLabel_, activityIcon_;
};

BadgingResult Badging::run() {
  std::set<std::string> locales;
  std::set<int> densities;
  table_.forEachConfiguration([&](const ResConfig& c) {
    locales.insert(c.bcp47());
    densities.insert(c.density == 0 ? 160 : c.density);
  });
  locales_.assign(locales.begin(), locales.end());
  densities_.assign(densities.begin(), densities.end());

  try {
    int depth = 0;
    for (const XmlEvent& e : doc_.events()) {
      if (e.kind == XmlEvent::Kind::kEnd) {
        --depth;
        if (depth < 2) {
          withinApplication_ = false;
        } else if (depth < 3) {
          endOfActivity();
        } else if (depth < 4) {
          withinIntentFilter_ = false;
        }
        continue;
      }
      ++depth;
      const std::string tag = CutAtNul(doc_.string(e.name));
      if (depth == 1) {
        if (tag != "manifest") Fail("manifest does not start with <manifest> tag");
        manifestElement(e);
      } else if (depth == 2) {
        withinApplication_ = false;
        if (tag == "application") {
          applicationElement(e);
        } else if (tag == "uses-sdk") {
          usesSdkElement(e);
        }
      } else if (depth == 3) {
        if (withinApplication_ && tag == "activity") activityElement(e);
      } else if (depth == 4) {
        if (tag == "intent-filter") withinIntentFilter_ = true;
      } else if (depth == 5 && withinIntentFilter_) {
        if (tag == "action") {
          const std::string action = attrs_.string(e, kNameAttr, &error_);
          if (!error_.empty()) Fail("ERROR getting 'android:name' attribute: " + error_);
          if (withinActivity_ && action == "android.intent.action.MAIN") isMainActivity_ = true;
        }
        if (tag == "category") {
          const std::string category = attrs_.string(e, kNameAttr, &error_);
          if (!error_.empty()) Fail("ERROR getting 'name' attribute: " + error_);
          if (withinActivity_ && category == "android.intent.category.LAUNCHER") isLauncherActivity_ = true;
        }
      }
    }
    finish();
  } catch (const Bail& bail) {
    return {out_, bail.message};
  }
  return {out_, {}};
}

void Badging::manifestElement(const XmlEvent& e) {
  package_ = attrs_.string(e, "package");
  out_ += "package: name='" + ForOutput(package_) + "' ";
  const std::int32_t versionCode = attrs_.integer(e, kVersionCodeAttr, -1, &error_);
  if (!error_.empty()) Fail("ERROR getting 'android:versionCode' attribute: " + error_);
  out_ += versionCode > 0 ? "versionCode='" + std::to_string(versionCode) + "' " : std::string("versionCode='' ");
  const std::string versionName = attrs_.resolved(e, kVersionNameAttr, &error_);
  if (!error_.empty()) Fail("ERROR getting 'android:versionName' attribute: " + error_);
  out_ += "versionName='" + ForOutput(versionName) + "'";
  const std::string split = attrs_.string(e, "split");
  if (!split.empty()) out_ += " split='" + ForOutput(split) + "'";
  // These two are printed without escaping.
  const std::string buildName = attrs_.string(e, "platformBuildVersionName");
  if (!buildName.empty()) out_ += " platformBuildVersionName='" + buildName + "'";
  const std::string buildCode = attrs_.string(e, "platformBuildVersionCode");
  if (!buildCode.empty()) out_ += " platformBuildVersionCode='" + buildCode + "'";
  const std::int32_t compileSdk = attrs_.integer(e, kCompileSdkVersionAttr, -1, &error_);
  if (!error_.empty()) Fail("ERROR getting 'android:compileSdkVersion' attribute: " + error_);
  if (compileSdk > 0) out_ += " compileSdkVersion='" + std::to_string(compileSdk) + "'";
  // An error here is not checked at once; it surfaces at the next check, as in the packaging tool.
  const std::string codename = attrs_.resolved(e, kCompileSdkVersionCodenameAttr, &error_);
  if (!codename.empty()) out_ += " compileSdkVersionCodename='" + ForOutput(codename) + "'";
  out_ += "\n";
}

void Badging::applicationElement(const XmlEvent& e) {
  withinApplication_ = true;
  std::string label;
  for (const std::string& locale : locales_) {
    ResConfig request = config_;
    request.setBcp47(locale);
    attrs_.setRequest(request);
    const std::string text = attrs_.resolved(e, kLabelAttr, &error_);
    if (text.empty()) continue;
    if (locale.empty()) {
      label = text;
      out_ += "application-label:'" + ForOutput(text) + "'\n";
    } else {
      if (label.empty()) label = text;
      out_ += "application-label-" + locale + ":'" + ForOutput(text) + "'\n";
    }
  }

  for (const int density : densities_) {
    ResConfig request = config_;
    request.density = static_cast<std::uint16_t>(density);
    attrs_.setRequest(request);
    const std::string icon = attrs_.resolved(e, kIconAttr, &error_);
    if (!icon.empty()) out_ += "application-icon-" + std::to_string(density) + ":'" + ForOutput(icon) + "'\n";
  }
  attrs_.setRequest(config_);

  // Our addition: the sharpest bitmap, so that the last icon line always names a picture.
  Value iconValue;
  if (attrs_.rawValue(e, kIconAttr, iconValue) && iconValue.dataType == kTypeReference) {
    if (const auto best = BestIconBitmap(table_, config_, iconValue.data)) {
      out_ += "application-icon-best:'" + ForOutput(*best) + "'\n";
    }
  }

  const std::string icon = attrs_.resolved(e, kIconAttr, &error_);
  if (!error_.empty()) Fail("ERROR getting 'android:icon' attribute: " + error_);
  attrs_.integer(e, kTestOnlyAttr, 0, &error_);
  if (!error_.empty()) Fail("ERROR getting 'android:testOnly' attribute: " + error_);
  const std::string banner = attrs_.resolved(e, kBannerAttr, &error_);
  if (!error_.empty()) Fail("ERROR getting 'android:banner' attribute: " + error_);
  out_ += "application: label='" + ForOutput(label) + "' icon='" + ForOutput(icon) + "'";
  if (!banner.empty()) out_ += " banner='" + ForOutput(banner) + "'";
  out_ += "\n";
}

void Badging::usesSdkElement(const XmlEvent& e) {
  std::int32_t code = attrs_.integer(e, kMinSdkVersionAttr, -1, &error_);
  if (!error_.empty()) {
    error_.clear();
    const std::string name = attrs_.resolved(e, kMinSdkVersionAttr, &error_);
    if (!error_.empty()) Fail("ERROR getting 'android:minSdkVersion' attribute: " + error_);
    out_ += "sdkVersion:'" + ForOutput(name) + "'\n";
  } else if (code != -1) {
    out_ += "sdkVersion:'" + std::to_string(code) + "'\n";
  }
  code = attrs_.integer(e, kMaxSdkVersionAttr, -1, nullptr);
  if (code != -1) out_ += "maxSdkVersion:'" + std::to_string(code) + "'\n";
  code = attrs_.integer(e, kTargetSdkVersionAttr, -1, &error_);
  if (!error_.empty()) {
    error_.clear();
    const std::string name = attrs_.resolved(e, kTargetSdkVersionAttr, &error_);
    if (!error_.empty()) Fail("ERROR getting 'android:targetSdkVersion' attribute: " + error_);
    out_ += "targetSdkVersion:'" + ForOutput(name) + "'\n";
  } else if (code != -1) {
    out_ += "targetSdkVersion:'" + std::to_string(code) + "'\n";
  }
}

void Badging::activityElement(const XmlEvent& e) {
  withinActivity_ = true;
  activityName_ = attrs_.string(e, kNameAttr, &error_);
  if (!error_.empty()) Fail("ERROR getting 'android:name' attribute: " + error_);
  activityLabel_ = attrs_.resolved(e, kLabelAttr, &error_);
  if (!error_.empty()) Fail("ERROR getting 'android:label' attribute: " + error_);
  activityIcon_ = attrs_.resolved(e, kIconAttr, &error_);
  if (!error_.empty()) Fail("ERROR getting 'android:icon' attribute: " + error_);
  attrs_.resolved(e, kBannerAttr, &error_);
  if (!error_.empty()) Fail("ERROR getting 'android:banner' attribute: " + error_);
  // Not printed, but a failed read is remembered and stops the next check, as in the packaging tool.
  attrs_.resolvedInteger(e, kScreenOrientationAttr, -1, &error_);
}

void Badging::endOfActivity() {
  if (withinActivity_ && isMainActivity_ && isLauncherActivity_) {
    const std::string name = ComponentName(package_, activityName_);
    out_ += "launchable-activity:";
    if (!name.empty()) out_ += " name='" + ForOutput(name) + "' ";
    out_ += " label='" + ForOutput(activityLabel_) + "' icon='" + ForOutput(activityIcon_) + "'\n";
  }
  withinActivity_ = false;
  isMainActivity_ = false;
  isLauncherActivity_ = false;
}

void Badging::finish() {
  out_ += "locales:";
  for (const std::string& locale : locales_) out_ += " '" + (locale.empty() ? std::string("--_--") : locale) + "'";
  out_ += "\ndensities:";
  for (const int density : densities_) out_ += " '" + std::to_string(density) + "'";
  out_ += "\n";
}

// Density buckets rank above nodpi and anydpi; within a tier the higher density wins.
int BitmapRank(const ResConfig& config) {
  if (config.density == ResConfig::kDensityAny || config.density == ResConfig::kDensityNone) return 0;
  return config.density == 0 ? ResConfig::kDensityMedium : config.density;
}

}  // namespace

std::optional<std::string> BestIconBitmap(const ResourceTable& table, const ResConfig& request, std::uint32_t resId) {
  struct Candidate {
    ResConfig config;
    std::string path;
  };
  std::vector<Candidate> candidates;
  std::vector<std::uint32_t> seen;
  // Depth-first through reference variants; each resource is visited once, so loops end.
  const auto visit = [&](const auto& self, std::uint32_t id, int depth) -> void {
    if (depth > kMaxReferenceHops || std::find(seen.begin(), seen.end(), id) != seen.end()) return;
    seen.push_back(id);
    table.forEachVariant(id, [&](const ResConfig& config, const Value& value) {
      if (!config.match(request)) return;
      if (value.dataType == kTypeReference && value.data != 0) {
        self(self, value.data, depth + 1);
      } else if (value.dataType == kTypeString) {
        const std::string path = CutAtNul(table.values().at(value.data).value_or(std::string()));
        if (EndsWithNoCase(path, ".png") || EndsWithNoCase(path, ".webp")) candidates.push_back({config, path});
      }
    });
  };
  visit(visit, resId, 0);

  const Candidate* best = nullptr;
  for (const Candidate& c : candidates) {
    if (best == nullptr || BitmapRank(c.config) > BitmapRank(best->config)) {
      best = &c;
    } else if (BitmapRank(c.config) == BitmapRank(best->config)) {
      ResConfig atDensity = request;
      atDensity.density = c.config.density;
      if (c.config.isBetterThan(best->config, atDensity)) best = &c;
    }
  }
  if (best == nullptr) return std::nullopt;
  return best->path;
}

BadgingResult DumpBadging(const ZipArchive& archive) {
  const ZipEntry* manifestEntry = archive.find("AndroidManifest.xml");
  if (manifestEntry == nullptr) return {{}, "dump failed because no AndroidManifest.xml found"};
  std::optional<ResourceTable> table;
  if (const ZipEntry* tableEntry = archive.find("resources.arsc")) {
    table.emplace(archive.read(*tableEntry, kMaxPartSize));
  } else {
    table.emplace();
  }
  const XmlDocument doc(archive.read(*manifestEntry, kMaxPartSize));
  return Badging(doc, *table).run();
}

}  // namespace apk
