// The order of an NTFS folder's listing, for names of Windows-1252: the file system compares
// names by its upper-case table, made from the system's when the volume was formatted, one
// UTF-16 unit at a time.

#include <cstdint>
#include <utility>

#include "platform/ansi_codec.h"
#include "platform/name_order.h"

namespace inkrun::platform {
namespace {

// Windows' upper case of the characters of Windows-1252 (checked against the system's table in
// the Windows tests); "µ", "ß" and every other character stand as they are.
char32_t upperCase(char32_t c) {
    if ((c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
    switch (c) {
    case 0xFF: return 0x178;   // ÿ
    case 0x153: return 0x152;  // œ
    case 0x161: return 0x160;  // š
    case 0x17E: return 0x17D;  // ž
    case 0x192: return 0x191;  // ƒ
    default: return c;
    }
}

// Reads `name` as UTF-16 units, upper-cased: a byte that is not UTF-8 stands for itself.
class Units {
public:
    explicit Units(std::string_view name) : name_(name) {}
    bool done() const { return pending_ == 0 && at_ == name_.size(); }
    std::uint32_t next() {
        if (pending_) return std::exchange(pending_, 0);
        char32_t c = static_cast<unsigned char>(name_[at_]);
        std::size_t length = 1;
        if (c >= 0x80) {
            try {
                length = decodeUtf8Character(name_, at_, c);
            } catch (const UnencodableCharacter&) {
                c = static_cast<unsigned char>(name_[at_]);
                length = 1;
            }
        }
        at_ += length;
        if (c < 0x10000) return upperCase(c);
        pending_ = 0xDC00 + ((c - 0x10000) & 0x3FF);
        return 0xD800 + ((c - 0x10000) >> 10);
    }

private:
    std::string_view name_;
    std::size_t at_ = 0;
    std::uint32_t pending_ = 0;
};

}  // namespace

bool tableNtfsListsBefore(std::string_view a, std::string_view b) {
    Units left(a), right(b);
    while (!left.done() && !right.done()) {
        const std::uint32_t x = left.next(), y = right.next();
        if (x != y) return x < y;
    }
    if (left.done() != right.done()) return left.done();
    return a < b;  // UTF-8 in byte order is in code point order
}

}  // namespace inkrun::platform
