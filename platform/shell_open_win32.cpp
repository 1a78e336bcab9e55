#include "platform/shell_open.h"

#include "platform/windows_api.h"
#include <shellapi.h>

#include "platform/ansi_codec.h"

namespace inkrun::platform {

// ShellExecuteA answers at once: there is nothing to wait for.
int startOpeningDocument(const std::string& path, std::function<void(int result)>) noexcept {
    try {
        const std::string ansi = encodeAnsi(path);
        HINSTANCE result = ShellExecuteA(nullptr, "Open", ansi.c_str(), "", "C:\\", SW_SHOWNORMAL);
        return static_cast<int>(reinterpret_cast<INT_PTR>(result));
    } catch (...) {
        // A name outside the code page cannot reach ShellExecuteA at all.
        return 0;
    }
}

}  // namespace inkrun::platform
