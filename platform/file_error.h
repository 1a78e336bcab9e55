#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace inkrun::platform {

// A failure to touch a file, phrased for the user:
// "Could not write /home/ann/jobs/Inkrun.scr: Permission denied". The message shows the path
// with its control characters escaped; path() keeps it as given.
class FileError : public std::runtime_error {
public:
    FileError(std::string action, std::string path, std::string reason);

    const std::string& action() const { return action_; }
    const std::string& path() const { return path_; }
    const std::string& reason() const { return reason_; }

private:
    std::string action_;
    std::string path_;
    std::string reason_;
};

// What stands under a file's name is no ordinary file: a directory, a FIFO, a device, a link
// that leads nowhere or round in a loop, or a hidden or system file where those do not count.
class NotAnOrdinaryFile : public FileError {
public:
    using FileError::FileError;
};

// The file is written and in place, but a step after it failed (an old file that could not be
// removed, a sync that could not be confirmed). The text says both.
class WrittenWithWarning : public std::runtime_error {
public:
    WrittenWithWarning(std::string path, const std::string& text) : std::runtime_error(text), path_(std::move(path)) {}

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// The operating system's text for an errno value.
std::string systemReason(int errorNumber);

// A size for a message: "1.0 GiB", "512 bytes"; and with every byte: "1.0 GiB (1,073,741,824 bytes)".
std::string roundedSize(std::uint64_t bytes);
std::string describeSize(std::uint64_t bytes);
// A number with its thousands grouped, whatever the locale: "1,000,000".
std::string groupedDigits(std::uint64_t number);

}  // namespace inkrun::platform
