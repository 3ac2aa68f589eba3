// The three C exports of the Unicode CSV library, as the library defines them and the editor calls
// them.
#pragma once

#include <string_view>

#ifdef _WIN32
#define TESSARY_CSVLIST_CALL __stdcall
#define TESSARY_CSVLIST_EXPORT __declspec(dllexport)
#else
#define TESSARY_CSVLIST_CALL
#define TESSARY_CSVLIST_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

// A path as the system spells it: UTF-8 bytes on Linux, UTF-16 on Windows; zero-terminated,
// whole (never cut to a byte count).
#ifdef _WIN32
typedef wchar_t TessaryNativePathChar;
#else
typedef char TessaryNativePathChar;
#endif

// owner is the calling program's main window (a QWidget* in this program), or null; the
// library only places its window by it. Results are none: the caller has nothing to act on.
// "OpenForm": makes the library's window ready (the second argument is reserved, 0).
typedef void(TESSARY_CSVLIST_CALL* TessaryCsvOpenForm)(void* owner, int reserved);
// "Start": reads the file and shows it in the window.
typedef void(TESSARY_CSVLIST_CALL* TessaryCsvStart)(void* owner, const TessaryNativePathChar* path);
// "CloseForm": closes and destroys the window; the library may be unloaded afterwards.
typedef void(TESSARY_CSVLIST_CALL* TessaryCsvCloseForm)(void* owner);
}

namespace tessary {

// The library's file, looked up beside the program's executable only.
#ifdef _WIN32
inline constexpr std::string_view kCsvListUtfLibrary = "CsvListUtf.dll";
#else
inline constexpr std::string_view kCsvListUtfLibrary = "CsvListUtf.so";
#endif
inline constexpr std::string_view kCsvOpenFormExport = "OpenForm";
inline constexpr std::string_view kCsvStartExport = "Start";
inline constexpr std::string_view kCsvCloseFormExport = "CloseForm";

}  // namespace tessary
