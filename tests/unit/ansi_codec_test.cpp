#include "platform/ansi_codec.h"

#include <gtest/gtest.h>

namespace inkrun::platform {
namespace {

UnencodableCharacter encodeFailure(std::string_view utf8) {
    try {
        encodeAnsi(utf8);
    } catch (const UnencodableCharacter& error) {
        return error;
    }
    ADD_FAILURE() << "no error for " << utf8;
    return UnencodableCharacter(0, "", 0);
}

TEST(AnsiCodec, EveryByteRoundTrips) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
    EXPECT_EQ(encodeAnsi(decodeAnsi(all)), all);
    for (int byte = 0; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        EXPECT_EQ(encodeAnsi(decodeAnsi(one)), one) << "byte " << byte;
    }
}

TEST(AnsiCodec, KnownMappings) {
    EXPECT_EQ(decodeAnsi("\x80"), "\u20AC");
    EXPECT_EQ(decodeAnsi("\xA0"), "\u00A0");
    EXPECT_EQ(decodeAnsi("\xE9"), "\u00E9");
    EXPECT_EQ(decodeAnsi("\x9F"), "\u0178");
    EXPECT_EQ(decodeAnsi("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(encodeAnsi("\u20AC"), "\x80");
    EXPECT_EQ(encodeAnsi("\u00A0"), "\xA0");
    EXPECT_EQ(encodeAnsi("caf\u00E9 \u2013 \u2122"), "caf\xE9 \x96 \x99");
}

TEST(AnsiCodec, AsciiRunsAroundHighBytesSurviveBothWays) {
    // Long enough that the word-at-a-time scan and the byte tail both run.
    const std::string bytes = std::string(21, 'a') + "\xE9" + std::string(9, 'b') + "\x80\x80" + "c";
    const std::string text = decodeAnsi(bytes);
    EXPECT_EQ(text, std::string(21, 'a') + "\u00E9" + std::string(9, 'b') + "\u20AC\u20AC" + "c");
    EXPECT_EQ(encodeAnsi(text), bytes);
}

TEST(AnsiCodec, CharacterOutsideTheCodePageIsReportedWhereItIs) {
    const UnencodableCharacter omega = encodeFailure("ab\u00E9\u03A9z");
    EXPECT_EQ(omega.codePoint(), U'\u03A9');
    EXPECT_EQ(omega.character(), "\u03A9");
    EXPECT_EQ(omega.offset(), 4u);
    EXPECT_EQ(omega.describe(), "the character \"\u03A9\" (U+03A9)");

    const UnencodableCharacter cjk = encodeFailure("x\u6F22");
    EXPECT_EQ(cjk.codePoint(), U'\u6F22');
    EXPECT_EQ(cjk.offset(), 1u);

    const UnencodableCharacter emoji = encodeFailure(std::string(40, 'a') + "\U0001F600");
    EXPECT_EQ(emoji.codePoint(), U'\U0001F600');
    EXPECT_EQ(emoji.character(), "\U0001F600");
    EXPECT_EQ(emoji.offset(), 40u);
    EXPECT_EQ(emoji.describe(), "the character \"\U0001F600\" (U+1F600)");

    // A C1 control the code page does not keep.
    EXPECT_EQ(encodeFailure("\u0080").codePoint(), U'\u0080');

    // Encoded where it stands, a long text is done a piece at a time; the place is the whole text's.
    std::string text = std::string(70'000, 'a') + "\u00E9\u03A9";
    try {
        encodeAnsiInPlace(text);
        ADD_FAILURE() << "encoded \u03A9";
    } catch (const UnencodableCharacter& e) {
        EXPECT_EQ(e.offset(), 70'002u);
    }
}

TEST(AnsiCodec, MalformedUtf8IsRefused) {
    for (const std::string bad : {"\xFF", "\xC3", "a\xC3(", "\x80", "\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80",
                                  "\xF4\x90\x80\x80", "\xE2\x82"}) {
        const UnencodableCharacter error = encodeFailure(bad);
        EXPECT_EQ(error.codePoint(), U'\uFFFD') << error.character();
    }
    const UnencodableCharacter cut = encodeFailure("ok\xE2\x82");
    EXPECT_EQ(cut.offset(), 2u);
    EXPECT_EQ(cut.character(), "\\xE2\\x82");
}

}  // namespace
}  // namespace inkrun::platform
