#include "platform/file_io.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <stdexcept>

#include "platform/ansi_codec.h"
#include "platform/file_error.h"
#include "platform/file_io_backend.h"
#include "platform/file_io_testing.h"
#include "platform/file_lookup.h"
#include "platform/folder.h"
#include "platform/temporary_name.h"

// What the file layer does the same on every system: the read loop, the writer's buffering and
// states, and writing into a stream. The system's half is behind file_io_backend.h.

namespace inkrun::platform {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;

std::atomic<std::uint64_t> memoryLimitForTests{0};

[[noreturn]] void tooLargeToRead(const std::string& path, std::uint64_t size, const std::string& why) {
    throw FileError("read", path, "at " + describeSize(size) + " it is larger than " + why);
}

std::string readToEnd(detail::FileToRead& opened, const std::string& path,
                      const std::optional<ReadLimit>& limit = std::nullopt) {
    if (limit && opened.size > limit->bytes) throw FileError("read", path, limit->reason);
    // Asked for before any memory is: an allocator may abort rather than fail on a huge request.
    const std::uint64_t testLimit = memoryLimitForTests.load();
    if (const std::uint64_t most = testLimit ? testLimit : detail::memoryLimit(); opened.size >= most)
        tooLargeToRead(path, opened.size, "the " + roundedSize(most) + " of memory this program can have");
    std::string content;
    try {
        std::size_t capacity = static_cast<std::size_t>(opened.size) + 1;
        for (;;) {
            if (content.size() == capacity) capacity += capacity / 2 + 4096;
            if (limit) capacity = static_cast<std::size_t>(std::min<std::uint64_t>(capacity, limit->bytes + 1));
            const std::size_t used = content.size();
            content.resize(capacity);
            const std::size_t got = detail::readSome(opened.file.get(), content.data() + used, capacity - used, path);
            content.resize(used + got);
            if (limit && content.size() > limit->bytes) throw FileError("read", path, limit->reason);  // it grew
            if (got == 0) return content;
        }
    } catch (const std::bad_alloc&) {
        tooLargeToRead(path, std::max<std::uint64_t>(opened.size, content.size()), "the memory available");
    } catch (const std::length_error&) {
        tooLargeToRead(path, std::max<std::uint64_t>(opened.size, content.size()), "the memory available");
    }
}

// Bytes go straight to a reader or a device: there is nothing to rename or sync.
class StreamInto final : public detail::Replacement {
public:
    StreamInto(detail::NativeFile stream, const std::string& target, std::optional<int> descriptor)
        : stream_(std::move(stream)), target_(target), descriptor_(descriptor) {}

    void write(std::span<const std::string_view> pieces) override {
        detail::writeAllPieces(stream_.get(), pieces, target_);
    }
    void commit() override {
        if (const unsigned long error = stream_.close()) throw FileError("write", target_, detail::reasonOf(error));
    }
    std::optional<int> descriptor() const override { return descriptor_; }

private:
    detail::NativeFile stream_;
    std::string target_;
    std::optional<int> descriptor_;
};

}  // namespace

std::string readWholeFile(const std::string& path, const std::optional<ReadLimit>& limit) {
    detail::FileToRead opened = detail::openToRead(path);
    return readToEnd(opened, path, limit);
}

std::string readWholeFile(const Folder& folder, const std::string& name, HiddenFiles hidden,
                          const std::optional<ReadLimit>& limit) {
    const std::string path = folder.pathOf(name);
    detail::FileToRead opened = detail::openToRead(folder, name, path, hidden);
    return readToEnd(opened, path, limit);
}

std::string readTextFile(const std::string& path) {
    std::string bytes = readWholeFile(path);
    if (isAscii(bytes)) return bytes;  // already UTF-8: not held a second time
    try {
        return decodeAnsi(bytes);
    } catch (const std::bad_alloc&) {
        tooLargeToRead(path, bytes.size(), "the memory available to hold it as text");
    } catch (const std::length_error&) {
        tooLargeToRead(path, bytes.size(), "the memory available to hold it as text");
    }
}

std::unique_ptr<detail::Replacement> detail::streamInto(NativeFile stream, const std::string& target,
                                                        std::optional<int> descriptor) {
    return std::make_unique<StreamInto>(std::move(stream), target, descriptor);
}

AtomicFileWriter::AtomicFileWriter(std::string targetPath, StreamTarget streams)
    : target_(std::move(targetPath)), file_(detail::openReplacement(target_, streams)),
      descriptor_(file_->descriptor()) {}

AtomicFileWriter::AtomicFileWriter(const Folder& folder, const std::string& name, StreamTarget streams)
    : target_(folder.pathOf(name)), file_(detail::openReplacement(folder, name, target_, streams)),
      descriptor_(file_->descriptor()) {}

AtomicFileWriter::~AtomicFileWriter() = default;

void AtomicFileWriter::write(std::string_view bytes) {
    requireOpen();
    // Taken at the first write: a writer fed only pieces, or one of many open at once, needs none.
    if (buffer_.capacity() < kBufferSize) buffer_.reserve(kBufferSize);
    if (buffer_.size() + bytes.size() <= kBufferSize) {
        buffer_.append(bytes);
        return;
    }
    flushBuffer();
    if (bytes.size() >= kBufferSize) pass({&bytes, 1});
    else buffer_.append(bytes);
}

void AtomicFileWriter::writePieces(std::span<const std::string_view> pieces) {
    requireOpen();
    flushBuffer();
    pass(pieces);
}

void AtomicFileWriter::commit() {
    if (committed_) return;
    if (!file_) throw FileError("write", target_, "an earlier error stopped the write");
    flushBuffer();
    try {
        file_->commit();
    } catch (const WrittenWithWarning&) {
        committed_ = true;
        file_.reset();
        throw;
    } catch (...) {
        abandon();
        throw;
    }
    committed_ = true;
    file_.reset();
}

void AtomicFileWriter::requireOpen() const {
    if (!file_)
        throw FileError("write", target_,
                        committed_ ? "the file is already written" : "an earlier error stopped the write");
}

void AtomicFileWriter::pass(std::span<const std::string_view> pieces) {
    try {
        file_->write(pieces);
    } catch (...) {
        abandon();
        throw;
    }
}

void AtomicFileWriter::flushBuffer() {
    if (buffer_.empty()) return;
    const std::string_view buffered = buffer_;
    pass({&buffered, 1});
    buffer_.clear();
}

void AtomicFileWriter::abandon() noexcept {
    file_.reset();  // the system's half removes what it made
    buffer_.clear();
    buffer_.shrink_to_fit();
}

namespace testing {
void limitMemoryForReadsTo(std::uint64_t bytes) noexcept { memoryLimitForTests = bytes; }
}  // namespace testing

void renameLetterCase(const std::string& directory, const std::string& stored, const std::string& wanted,
                      char separator) {
    Folder::open(directory, "rename", separator).renameLetterCase(stored, wanted);
}

void Folder::renameLetterCase(const std::string& stored, const std::string& wanted) const {
    const auto spelledAsWanted = [&] {
        const std::vector<std::string> names = caseVariants(wanted);
        return std::find(names.begin(), names.end(), wanted) != names.end();
    };
    if (detail::renameEntry(*this, stored, wanted) == 0 && spelledAsWanted()) return;
    std::string between;
    const unsigned long error = underFreshTemporaryName(detail::kNameInUse, [&](const std::string& name) {
        between = name;
        return detail::renameEntry(*this, stored, between);
    });
    if (error != 0) throw FileError("rename", pathOf(stored), detail::reasonOf(error));
    if (const unsigned long result = detail::renameEntry(*this, between, wanted)) {
        detail::renameEntry(*this, between, stored);
        throw FileError("rename", pathOf(stored), detail::reasonOf(result));
    }
}

void writeFileAtomically(const std::string& path, std::string_view bytes) {
    AtomicFileWriter writer(path);
    writer.write(bytes);
    writer.commit();
}

}  // namespace inkrun::platform
