#include <windows.h>
// shellapi.h needs the types of windows.h first.
#include <shellapi.h>

#include "common/ProgramArguments.h"
#include "common/WideText.h"

namespace vantrel {

ProgramArguments::ProgramArguments(int argc, char** argv) {
    int wideCount = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &wideCount);
    if (wide != nullptr && wideCount == argc) {
        for (int i = 0; i < wideCount; ++i)
            texts_.push_back(Utf8FromWide(wide[i]));
    } else {
        texts_.assign(argv, argv + argc);
    }
    if (wide != nullptr)
        ::LocalFree(wide);
    for (const std::string& text : texts_)
        pointers_.push_back(text.c_str());
    ::SetConsoleOutputCP(CP_UTF8);
}

}  // namespace vantrel
