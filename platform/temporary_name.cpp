#include "platform/temporary_name.h"

#include <random>

namespace inkrun::platform {

namespace {

constexpr std::string_view kPrefix = ".inkrun-";
constexpr std::string_view kSuffix = ".tmp";
constexpr std::size_t kRandomLength = 8;
constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

}  // namespace

std::string randomTemporaryName() {
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::string name(kPrefix);
    for (std::size_t i = 0; i < kRandomLength; ++i) name.push_back(kAlphabet[pick(generator)]);
    name.append(kSuffix);
    return name;
}

bool isTemporaryName(std::string_view name) {
    if (name.size() != kPrefix.size() + kRandomLength + kSuffix.size()) return false;
    if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) return false;
    const std::string_view random = name.substr(kPrefix.size(), kRandomLength);
    return random.find_first_not_of(kAlphabet) == std::string_view::npos;
}

}  // namespace inkrun::platform
