// The system's "VBScript.RegExp" automation object, reached by late binding: every member is looked
// up by name at run time, as a script host would.
#include <cmath>
#include <limits>

#include "regex/automation_win.h"
#include "regex/regexp_engine.h"
#include "util/com_ptr.h"

namespace {

std::int32_t TruncateToInt32(std::optional<double> value) {
  if (!value || std::isnan(*value)) return 0;
  const double t = std::trunc(*value);
  if (t <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) return std::numeric_limits<std::int32_t>::min();
  if (t >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(t);
}

ComPtr<IDispatch> ItemOf(IDispatch* collection, Variant index) {
  Variant item;
  if (FAILED(GetProperty(collection, L"Item", item, index.get(), 1))) return nullptr;
  return item.ToDispatch();
}

class VbscriptRegExpEngine final : public RegExpEngine {
 public:
  explicit VbscriptRegExpEngine(ComPtr<IDispatch> regExp) : regExp_(std::move(regExp)) {}
  ~VbscriptRegExpEngine() override {
    // The object first, then its collection, then the subject.
    regExp_.reset();
    matches_.reset();
  }

  bool Execute(const RegExpSettings& settings, std::u16string_view pattern, std::u16string_view subject) override {
    matches_.reset();
    // Failures here are not checked: Execute fails afterwards if the object is unusable.
    PutProperty(regExp_.get(), L"IgnoreCase", *Variant::FromBool(settings.ignoreCase).get());
    PutProperty(regExp_.get(), L"Multiline", *Variant::FromBool(settings.multiline).get());
    PutProperty(regExp_.get(), L"Global", *Variant::FromBool(settings.global).get());
    PutProperty(regExp_.get(), L"Pattern", *Variant::FromString(Bstr(pattern)).get());
    subject_ = Variant::FromString(Bstr(subject));
    Variant result;
    VARIANT arg = *subject_.get();
    if (FAILED(CallMethod(regExp_.get(), L"Execute", result, &arg, 1))) return false;
    matches_ = result.ToDispatch();
    return static_cast<bool>(matches_);
  }

  [[nodiscard]] std::u16string Pattern() const override {
    Variant value;
    if (FAILED(GetProperty(regExp_.get(), L"Pattern", value))) return std::u16string();
    return value.ToString().value_or(std::u16string());
  }

  [[nodiscard]] std::optional<std::u16string> Replace(std::u16string_view replacement) const override {
    Variant text = Variant::FromString(Bstr(replacement));
    VARIANT args[2];
    args[0] = *subject_.get();  // by value (shallow: only read)
    ::VariantInit(&args[1]);
    args[1].vt = VT_BYREF | VT_VARIANT;  // the replacement goes by reference
    args[1].pvarVal = text.get();
    Variant result;
    if (FAILED(CallMethod(regExp_.get(), L"Replace", result, args, 2))) return std::nullopt;
    return result.ToString();
  }

  [[nodiscard]] std::int32_t MatchCount() const override {
    if (!matches_) return 0;
    Variant count;
    if (FAILED(GetProperty(matches_.get(), L"Count", count))) return 0;
    return TruncateToInt32(count.ToDouble());
  }

  [[nodiscard]] std::optional<RegExpMatch> Match(std::int32_t index) const override {
    const ComPtr<IDispatch> match = MatchObject(index);
    if (!match) return std::nullopt;
    Variant value;
    Variant firstIndex;
    if (FAILED(GetProperty(match.get(), L"Value", value)) || FAILED(GetProperty(match.get(), L"FirstIndex", firstIndex))) {
      return std::nullopt;
    }
    std::optional<std::u16string> text = value.ToString();
    if (!text) return std::nullopt;
    return RegExpMatch{std::move(*text), TruncateToInt32(firstIndex.ToDouble())};
  }

  [[nodiscard]] std::optional<std::u16string> SubMatch(std::int32_t index, std::int32_t group) const override {
    const ComPtr<IDispatch> match = MatchObject(index);
    if (!match || group < 0) return std::nullopt;
    Variant subMatches;
    if (FAILED(GetProperty(match.get(), L"SubMatches", subMatches))) return std::nullopt;
    const ComPtr<IDispatch> collection = subMatches.ToDispatch();
    Variant value;
    Variant at = Variant::FromDouble(group);
    if (FAILED(GetProperty(collection.get(), L"Item", value, at.get(), 1))) return std::nullopt;
    // A group that took no part is Empty, which converts to empty text.
    return value.ToString().value_or(std::u16string());
  }

  [[nodiscard]] std::int32_t SubMatchCount() const override {
    if (!matches_) return 0;
    const ComPtr<IDispatch> match = ItemOf(matches_.get(), Variant::FromInt(0));
    if (!match) return 0;
    Variant subMatches;
    if (FAILED(GetProperty(match.get(), L"SubMatches", subMatches))) return 0;
    const ComPtr<IDispatch> collection = subMatches.ToDispatch();
    Variant count;
    if (FAILED(GetProperty(collection.get(), L"Count", count))) return 0;
    return TruncateToInt32(count.ToDouble());
  }

 private:
  [[nodiscard]] ComPtr<IDispatch> MatchObject(std::int32_t index) const {
    if (!matches_ || index < 0) return nullptr;
    return ItemOf(matches_.get(), Variant::FromDouble(index));
  }

  ComPtr<IDispatch> regExp_;
  ComPtr<IDispatch> matches_;
  Variant subject_;
};

class ComPlatformScope final : public RegExpPlatformScope {
  ComScope scope_;
};

}  // namespace

std::unique_ptr<RegExpEngine> CreateSystemRegExpEngine() {
  CLSID clsid{};
  if (FAILED(::CLSIDFromProgID(L"VBScript.RegExp", &clsid))) return nullptr;
  ComPtr<IDispatch> object;
  if (FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IDispatch, object.put_void())) || !object) {
    return nullptr;
  }
  ::OleRun(object.get());  // the running state, as an automation host's creation leaves it
  return std::make_unique<VbscriptRegExpEngine>(std::move(object));
}

std::unique_ptr<RegExpPlatformScope> EnterRegExpPlatform() { return std::make_unique<ComPlatformScope>(); }
