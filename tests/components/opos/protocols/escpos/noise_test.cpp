// Whatever arrives, nothing crashes and nothing is buffered without bound:
// random bytes through the decoder and the status stream, random text
// through the escape parser and the translator.
#include <gtest/gtest.h>

#include <random>

#include "protocols/escpos/decoder.h"
#include "protocols/escpos/escape_translation.h"
#include "protocols/escpos/status_stream.h"

using namespace zorv::opos::escpos;

namespace {

std::string RandomBytes(std::mt19937& random, size_t size) {
    std::uniform_int_distribution<int> byte(0, 255);
    std::string out(size, '\0');
    for (char& c : out)
        c = static_cast<char>(byte(random));
    return out;
}

TEST(EscPosNoise, RandomBytesDecodeWithoutCrashOrGrowth) {
    std::mt19937 random(13);
    Decoder decoder;
    StatusStream stream;
    size_t commands = 0;
    for (int chunk = 0; chunk < 128; ++chunk) {
        const std::string bytes = RandomBytes(random, 4096);
        commands += decoder.Feed(bytes).size();
        stream.Feed(bytes);
        // The largest command the decoder waits for is a raster image of 8 MB.
        ASSERT_LE(decoder.Pending(), 8u * 1024 * 1024 + 8);
        ASSERT_LT(stream.Pending(), 4u);
    }
    EXPECT_GT(commands, 0u);
}

TEST(EscPosNoise, RandomPrintDataTranslatesOrFailsWithAReason) {
    std::mt19937 random(10);
    // Mostly escape-sequence characters, so that sequences do occur.
    const std::u16string alphabet = u"\x1B|!0123456789abcdefhilnprstuvBCEFLNPRT \u20AC\n";
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    for (int round = 0; round < 2000; ++round) {
        std::u16string data(64, u' ');
        for (char16_t& c : data)
            c = alphabet[pick(random)];
        const Translation t = TranslatePrintData(data, {});
        EXPECT_TRUE(t.ok() || !t.error.empty());
        std::u16string joined;
        for (const auto& token : zorv::opos::print::ParseEscapes(data))
            if (token.kind == zorv::opos::print::TokenKind::Text ||
                token.kind == zorv::opos::print::TokenKind::Unknown)
                joined += token.text;
        EXPECT_LE(joined.size(), data.size());
    }
}

} // namespace
