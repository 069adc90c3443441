// BMP files: refused when they are not BMP or too large, scaled to the
// paper, dithered unless already black and white.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

#include "protocols/escpos/bmp_reader.h"

using namespace zorv::opos::escpos;

namespace {

std::string Bmp(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes.toStdString();
}

QImage Filled(int width, int height, QColor color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

TEST(EscPosBmpReader, RefusesWhatIsNotABmpOrTooLarge) {
    EXPECT_NE(ReadBmp("\x89PNG\r\n\x1A\n and more bytes here ....", 384).error.find("not a BMP"),
              std::string::npos);
    EXPECT_FALSE(ReadBmp("", 384).ok());
    std::string huge = Bmp(Filled(4, 4, Qt::black));
    huge[18] = '\x00';
    huge[19] = '\x00';
    huge[20] = '\x01'; // 65536 pixels wide
    EXPECT_NE(ReadBmp(huge, 384).error.find("too large"), std::string::npos);
    std::string broken = Bmp(Filled(4, 4, Qt::black)).substr(0, 30);
    EXPECT_FALSE(ReadBmp(broken, 384).ok());
    EXPECT_NE(ReadBmpFile("/nonexistent/logo.bmp", 384).error.find("cannot read"), std::string::npos);
}

TEST(EscPosBmpReader, WideImagesAreScaledToThePaper) {
    const ReadBitmap loaded = ReadBmp(Bmp(Filled(1000, 100, Qt::black)), 576);
    ASSERT_TRUE(loaded.ok()) << loaded.error;
    EXPECT_EQ(loaded.image.width, 576);
    EXPECT_EQ(loaded.image.height, 58);
    const ReadBitmap narrow = ReadBmp(Bmp(Filled(100, 10, Qt::black)), 576);
    EXPECT_EQ(narrow.image.width, 100);
}

TEST(EscPosBmpReader, GreyIsDitheredBlackAndWhiteIsKept) {
    const ReadBitmap grey = ReadBmp(Bmp(Filled(32, 32, QColor(128, 128, 128))), 384);
    ASSERT_TRUE(grey.ok());
    const auto black = std::count(grey.image.dots.begin(), grey.image.dots.end(), 1);
    EXPECT_GT(black, 300);
    EXPECT_LT(black, 724);
    QImage mono = Filled(16, 2, Qt::white);
    mono.setPixelColor(3, 1, Qt::black);
    const ReadBitmap kept = ReadBmp(Bmp(mono.convertToFormat(QImage::Format_Mono)), 384);
    ASSERT_TRUE(kept.ok()) << kept.error;
    EXPECT_EQ(std::count(kept.image.dots.begin(), kept.image.dots.end(), 1), 1);
    EXPECT_EQ(kept.image.dots[16 + 3], 1);
}

TEST(EscPosBmpReader, ReadsFromDisk) {
    QTemporaryDir dir;
    const QString path = dir.filePath("logo.bmp");
    ASSERT_TRUE(Filled(8, 8, Qt::black).save(path, "BMP"));
    const ReadBitmap loaded = ReadBmpFile(path.toStdString(), 384);
    ASSERT_TRUE(loaded.ok()) << loaded.error;
    EXPECT_EQ(std::count(loaded.image.dots.begin(), loaded.image.dots.end(), 1), 64);
}

} // namespace
