// The Windows-1252 codec of the script files: every byte both ways, and
// text it cannot hold refused with its character and line.
#include <gtest/gtest.h>

#include <QStringDecoder>

#include "script/windows1252.h"

using zorv::script::DecodeWindows1252;
using zorv::script::EncodeWindows1252;

namespace {

std::string AllBytes() {
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    return bytes;
}

} // namespace

TEST(Windows1252, EveryByteDecodesAsTheSystemsConverterDoesAndEncodesBack) {
    const std::string bytes = AllBytes();
    const std::u16string text = DecodeWindows1252(bytes);
    ASSERT_EQ(text.size(), 256u);
    QStringDecoder system("windows-1252");
    ASSERT_TRUE(system.isValid());
    const QString expected =
        system.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(static_cast<unsigned>(text[b]), expected.at(b).unicode()) << "byte " << b;

    const auto encoded = EncodeWindows1252(text);
    EXPECT_FALSE(encoded.refused);
    EXPECT_EQ(encoded.bytes, bytes);
}

TEST(Windows1252, WesternEuropeanCharactersHaveTheirBytes) {
    struct Case {
        char16_t character;
        unsigned char byte;
    };
    const Case cases[] = {{u'é', 0xE9}, {u'€', 0x80}, {u'œ', 0x9C}, {u'\u00A0', 0xA0}, {u'Ÿ', 0x9F},
                          {u'‰', 0x89}, {u'™', 0x99}, {u'ž', 0x9E}, {u'ÿ', 0xFF},      {u'\r', 0x0D}};
    for (const Case& c : cases) {
        const auto encoded = EncodeWindows1252(std::u16string(1, c.character));
        ASSERT_FALSE(encoded.refused) << static_cast<unsigned>(c.character);
        EXPECT_EQ(encoded.bytes, std::string(1, static_cast<char>(c.byte)));
        EXPECT_EQ(DecodeWindows1252(encoded.bytes), std::u16string(1, c.character));
    }
}

TEST(Windows1252, TheFirstCharacterOutsideIsRefusedWithItsLineAndNoBytes) {
    struct Case {
        std::u16string text;
        char32_t character;
        std::size_t line;
    };
    const Case cases[] = {
        {u"→", U'→', 1},         {u"a\r\nb\r\n c → d Ω", U'→', 3},
        {u"a\nb\n\n😀", U'😀', 4}, {u"é\r\nΩ\r\n→", U'Ω', 2},
        {u"\u0100", 0x100, 1},   {std::u16string(1, char16_t{0xD800}) + u"x", 0xD800, 1},
    };
    for (const Case& c : cases) {
        const auto encoded = EncodeWindows1252(c.text);
        ASSERT_TRUE(encoded.refused);
        EXPECT_EQ(encoded.refused->character, c.character);
        EXPECT_EQ(encoded.refused->line, c.line);
        EXPECT_TRUE(encoded.bytes.empty());
    }
}
