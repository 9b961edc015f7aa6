#include "extract/zlibwapi_win.h"

#include <string>

#include "app/main_window.h"
#include "util/codepage.h"
#include "util/unique_resource.h"

namespace zlibwapi {
namespace {

UniqueModule LoadZlibwapi() {
  // The run directory first, by full path, so a DLL of the same name elsewhere cannot stand in.
  const std::u16string local = TextToUtf16(RunDirectory() + "\\zlibwapi.dll");
  if (HMODULE h = ::LoadLibraryExW(reinterpret_cast<const wchar_t*>(local.c_str()), nullptr,
                                   LOAD_WITH_ALTERED_SEARCH_PATH)) {
    return UniqueModule(h);
  }
  return UniqueModule(::LoadLibraryW(L"zlibwapi.dll"));
}

template <typename F>
bool BindOne(HMODULE module, const char* name, [[maybe_unused]] int stackBytes, F& slot) {
  FARPROC proc = ::GetProcAddress(module, name);
#if defined(_M_IX86) || defined(__i386__)
  // A __stdcall export that kept its decoration.
  if (!proc) proc = ::GetProcAddress(module, (std::string(name) + "@" + std::to_string(stackBytes)).c_str());
#endif
  if (!proc) return false;
  // Through void(*)(): the one function-pointer cast that -Wcast-function-type lets pass.
  slot = reinterpret_cast<F>(reinterpret_cast<void (*)()>(proc));
  return true;
}

void ReportMissing(const wchar_t* what, const char* function) {
  std::wstring message = what;
  for (const char* p = function; *p; ++p) message += static_cast<wchar_t>(*p);
  message += L"\n模式2无法提取图标。请将 zlibwapi.dll 放在程序目录或系统的 DLL 搜索路径中。";
  ::MessageBoxW(::GetActiveWindow(), message.c_str(), L"Fennlow", MB_OK | MB_ICONERROR);
}

}  // namespace

const Api* Bind() {
  static UniqueModule module;
  static Api api{};
  static bool bound = false;
  if (bound) return &api;

  UniqueModule loaded = LoadZlibwapi();
  if (!loaded) {
    ReportMissing(L"找不到 zlibwapi.dll，无法调用其函数 ", "unzOpenBuffer");
    return nullptr;
  }
  Api candidate{};
  const HMODULE h = loaded.get();
  const char* missing = nullptr;
  auto bind = [&](const char* name, int stackBytes, auto& slot) {
    if (!missing && !BindOne(h, name, stackBytes, slot)) missing = name;
  };
  bind("unzOpenBuffer", 8, candidate.unzOpenBuffer);
  bind("unzGetGlobalInfo", 8, candidate.unzGetGlobalInfo);
  bind("unzGetGlobalComment", 12, candidate.unzGetGlobalComment);
  bind("unzGetCurrentFileInfo", 32, candidate.unzGetCurrentFileInfo);
  bind("unzOpenCurrentFile", 4, candidate.unzOpenCurrentFile);
  bind("unzReadCurrentFile", 12, candidate.unzReadCurrentFile);
  bind("unzCloseCurrentFile", 4, candidate.unzCloseCurrentFile);
  bind("unzGoToNextFile", 4, candidate.unzGoToNextFile);
  bind("unzClose", 4, candidate.unzClose);
  if (missing) {
    ReportMissing(L"zlibwapi.dll 中找不到函数 ", missing);
    return nullptr;
  }
  module = std::move(loaded);
  api = candidate;
  bound = true;
  return &api;
}

}  // namespace zlibwapi
