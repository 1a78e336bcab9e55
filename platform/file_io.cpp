#include "platform/file_io.h"

// What the writer does the same on every system.

namespace inkrun::platform {

void writeFileAtomically(const std::string& path, std::string_view bytes) {
    AtomicFileWriter writer(path);
    writer.write(bytes);
    writer.commit();
}

}  // namespace inkrun::platform
