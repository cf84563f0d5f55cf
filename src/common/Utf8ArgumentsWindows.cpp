#include <windows.h>

#include <shellapi.h>

#include <cwchar>

#include "common/Utf8Arguments.h"

namespace vantrel {

namespace {

std::string Utf8(const wchar_t* text) {
    const auto length = static_cast<int>(std::wcslen(text));
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text, length, result.data(), size, nullptr, nullptr);
    return result;
}

}  // namespace

Utf8Arguments::Utf8Arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide != nullptr && count == argc) {
        for (int i = 0; i < count; ++i)
            texts_.push_back(Utf8(wide[i]));
    } else {
        texts_.assign(argv, argv + argc);
    }
    if (wide != nullptr)
        ::LocalFree(wide);
    ::SetConsoleOutputCP(CP_UTF8);
    Point();
}

}  // namespace vantrel
